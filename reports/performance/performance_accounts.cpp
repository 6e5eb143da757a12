#include "reports/performance/performance_accounts.h"

#include <memory>
#include <optional>
#include <vector>

#include "records/chars.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/index_slot.h"
#include "records/layout.h"
#include "records/lookups.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/report_frame.h"
#include "reports/performance/asset_class_returns.h"
#include "reports/performance/performance_summary.h"
#include "reports/performance/performance_table.h"

namespace reports {

namespace {

constexpr std::size_t kCommonLength = 128;

bool Blank(std::string_view s) {
    for (char c : s)
        if (c != ' ' && c != '\0') return false;
    return true;
}

// What the driver reads of COMMON.FIL: the program date (record 2) and
// the two default market indexes (record 37). A record that cannot be read
// ends the reading; what was not read stays blank.
struct CommonFields {
    std::string program_date = std::string(8, ' ');
    float program_number = 0;
    std::array<records::IndexSlot, 2> indexes{};
};

CommonFields ReadCommonFields() {
    CommonFields c;
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    records::Record rec;
    if (!common.Read(records::kProgramDateRecord, rec)) return c;
    c.program_date = rec.Text(0, 8);
    c.program_number = rec.R4(8);
    if (!common.Read(37, rec)) return c;
    for (std::size_t s = 0; s < 2; ++s) {
        const std::size_t base = 36 * s;
        c.indexes[s].symbol = rec.Text(base, 12);
        for (std::size_t h = 0; h < 3; ++h) c.indexes[s].headers[h] = rec.Text(base + 12 + 8 * h, 8);
    }
    return c;
}

// The date number of an opening date, 0 when it does not read.
float OpeningNumber(std::string_view date) {
    int16_t month = 0, day = 0, year = 0;
    if (Blank(date) || !records::Redate(date, month, day, year)) return 0;
    return records::WindowedDateNumber(month, day, year);
}

// An identifier with "$$$$" in either half names a deleted account.
bool DeletedIdentifier(std::string_view id) {
    const std::string key = records::Fixed(id, 8);
    return key.compare(0, 4, "$$$$") == 0 || key.compare(4, 4, "$$$$") == 0;
}

class Driver {
public:
    explicit Driver(PerformanceDriverRun& run) : r_(run) {}
    void Run();

private:
    void Say(const std::string& line) {
        if (r_.output_mode != 2) records::Prtout(line);
    }
    void RunComposite();
    void RunAccounts();
    void PrintAccount(const records::PerformanceAccount& account);
    void End();

    PerformanceDriverRun& r_;
    CommonFields common_;
    std::optional<ReportFrame> frame_;
    PerformancePage page_;
};

void Driver::Run() {
    r_.selection = records::Fixed(r_.selection, 4);
    r_.manager = records::Fixed(r_.manager, 4);
    r_.account = records::Fixed(r_.account, 8);
    r_.frequency = records::Fixed(r_.frequency, 4) == "Q   " ? "Q   " : "M   ";
    common_ = ReadCommonFields();
    if (r_.output_mode <= 0) return;
    if (r_.output_mode != 2) frame_.emplace(ReportFrame::ForOutputMode(r_.output_name, r_.output_mode));
    if (r_.mode > 0)
        RunComposite();
    else
        RunAccounts();
    End();
}

// The composite account that Combpf has written into slot 1.
void Driver::RunComposite() {
    records::PerformanceAccount account;
    if (!records::ReadPerformanceAccount(records::kPerformanceCompositeSlot, account)) {
        Say(UnreadableLine(records::kPerformanceControlFile, 11));
        return;
    }
    PrintAccount(account);
}

void Driver::RunAccounts() {
    // Nothing on this road names a security, so a security's performance
    // has nothing to report.
    if (r_.choice == 5) {
        Say(" NO SECURITY WAS CHOSEN: THERE IS NO SECURITY PERFORMANCE TO REPORT");
        return;
    }
    // The by-account reports collect every account of the manager pattern.
    if (r_.sub_kind == 1 || r_.sub_kind == 2) r_.selection = "A   ";
    const bool single = r_.selection == "S   ";

    // The accounts of the run, in index order.
    std::vector<records::PerformanceAccount> accounts;
    float low = 0;
    if (single) {
        records::PerformanceAccount a = records::Ckct75(r_.account);
        if (a.position == 0) {
            Say(records::Write("(1X,'ACCOUNT ',A8,' IS NOT IN ACCOUNT.IDX')",
                               {std::string_view(r_.account)}));
            return;
        }
        a.account = r_.account;
        low = OpeningNumber(a.opening_date);
        accounts.push_back(std::move(a));
    }

    // The dates, checked once for the run; a refused date is left as it was
    // typed and the run goes on.
    float end_number = 0, start_number = 0;
    int16_t mode = 0, error = 0, status = 0;
    records::Ckdate(r_.end, mode, error, end_number, low, common_.program_number);
    Mprfstep(common_.program_date, common_.program_number, r_.start, start_number, r_.end, end_number, status,
             r_.selection, low, r_.sub_kind);
    int16_t end_month = 0, end_day = 0, end_year = 0;
    records::Redate(r_.end, end_month, end_day, end_year);

    long failed_record = 0;
    if (!single) {
        const AccountWalk walk = WalkAccounts();
        if (!walk.count_read) {
            Say(UnreadableLine(records::kAccountIndex, 1));
            return;
        }
        failed_record = walk.failed_record;
        for (const AccountEntry& e : walk.accounts) {
            if (DeletedIdentifier(e.id)) continue;
            records::PerformanceAccount a = Mprfcls(e.entry);
            if (!ManagerMatches(r_.manager, a.manager)) continue;
            // The by-account pages leave out an account opened after the end.
            if ((r_.sub_kind == 1 || r_.sub_kind == 2) && end_number < OpeningNumber(a.opening_date))
                continue;
            a.account = records::Fixed(e.id, 8);
            accounts.push_back(std::move(a));
        }
    }

    if (accounts.empty()) {
        Say(records::Write("(1X,'NO ACCOUNT OF MANAGER CODE ',A4,' TO REPORT')",
                           {std::string_view(r_.manager)}));
    } else if (r_.sub_kind == 1 || r_.sub_kind == 2) {
        page_.lines = 0;
        page_.page = 1;
        if (r_.sub_kind == 1)
            Prfsumac(page_.page, page_.lines, common_.program_date, r_.end, r_.output_mode,
                     page_.page_length);
        else
            Prfmon(page_.page, page_.lines, r_.end, r_.output_mode, page_.page_length);
    }

    // The slot: 10 for one account, the manager code's table position for
    // a manager run.
    int16_t slot = records::kPerformanceSingleSlot;
    if (!single) {
        const int position = ManagerCodePosition(r_.manager);
        slot =
            static_cast<int16_t>(position >= 1 && position <= records::kPerformanceSlotCount ? position : 1);
    }
    const int count = static_cast<int>(accounts.size());
    for (int k = 0; k < count; ++k) {
        records::PerformanceAccount& a = accounts[static_cast<std::size_t>(k)];
        const bool last = k + 1 == count;
        a.last_month = 0;
        a.last_year = 0;
        // A manager run's cursor counts the accounts taken, so the last one
        // is seen at the end of the walk (the by-account pages add the
        // index lines after it).
        a.index_position = static_cast<int16_t>(single ? 0 : k + 1);
        a.index_count = static_cast<int16_t>(single ? 0 : count);
        a.end_date = records::Fixed(r_.end, 8);
        a.end_date_copy = a.end_date;
        a.end_date_number = end_number;
        a.status = static_cast<int16_t>(single ? 2 : last ? 1 : 0);
        a.selection = single ? "S   " : "A   ";
        a.end_day = end_day;
        a.end_month = end_month;
        a.history = r_.history;
        a.choice = r_.choice;
        if (!single) r_.account = a.account;

        records::PerformanceHeader h;
        h.slot = slot;
        h.slot_flags[static_cast<std::size_t>(slot - 1)] = 1;
        h.remaining = static_cast<int16_t>(count - k - 1);
        h.written = 1;
        h.manager = r_.manager;
        h.frequency = r_.frequency;
        h.output_mode = r_.output_mode;
        h.start_date = records::Fixed(r_.start, 8);
        records::WritePerformanceAccount(slot, a);
        records::WritePerformanceHeader(h);
        PrintAccount(a);
    }
    if (failed_record != 0) Say(UnreadableLine(records::kAccountIndex, failed_record));
}

void Driver::PrintAccount(const records::PerformanceAccount& account) {
    // The account's market indexes; an unknown first index drops both, no
    // first index takes the firm's two.
    std::array<records::IndexSlot, 2> indexes{account.index1, account.index2};
    if (records::Fndsym(indexes[0].symbol) == 0) indexes = {};
    if (Blank(indexes[0].symbol.substr(0, 4))) indexes = common_.indexes;

    PerformanceTableRequest rq;
    rq.frequency = r_.frequency;
    rq.indexes = indexes;
    rq.output_mode = r_.output_mode;
    rq.mode = static_cast<int16_t>(r_.mode > 0 ? 1 : 0);
    rq.options = r_.options;
    rq.sub_kind = r_.sub_kind;
    rq.choice = r_.choice;
    auto series = std::make_unique<MonthlySeries>();
    PerformanceTableResult result;
    Mnappr(rq, page_, *series, result);
    if (r_.choice != 4) return;

    // With all classes the table prints nothing: the account's page is the
    // summary by asset class from the series the table leaves.
    AssetClassSummaryRequest sq;
    sq.index_symbols = {common_.indexes[0].symbol, common_.indexes[1].symbol};
    sq.output_mode = r_.output_mode;
    sq.mode = rq.mode;
    sq.initial_value = account.initial_value;
    sq.first = result;
    sq.title = records::Fixed(account.title, 42);
    Sumac(sq, page_, *series);
}

void Driver::End() {
    if (r_.sub_kind > 0 && r_.output_mode == 2) records::Peject();
    frame_.reset();
    if (r_.output_mode == 2) records::Peject();
    records::WritePerformanceFinished();
}

}  // namespace

records::PerformanceAccount Mprfcls(int entry) {
    return records::ReadPerformanceFields(entry);
}

bool Mprfstep(std::string_view /*program_date*/, float program_number, std::string& start,
              float& start_number, std::string& end, float& end_number, int16_t& /*status*/,
              std::string_view selection, float low, int16_t sub_kind) {
    bool accepted = true;
    const bool manager_run = records::Fixed(selection, 1) == "A";
    if (sub_kind <= 0 && !(manager_run && Blank(start))) {
        int16_t mode = 0, error = 0;
        records::Ckdate(start, mode, error, start_number, low, program_number);
        accepted = accepted && error == 0;
    }
    int16_t mode = 0, error = 0;
    records::Ckdate(end, mode, error, end_number, start_number, program_number);
    return accepted && error == 0;
}

void Mprfacct(PerformanceDriverRun& run) {
    Driver(run).Run();
}

}  // namespace reports
