// Realised gains and losses.

#include "reports/gains_tax/realised_gains.h"

#include <memory>
#include <vector>

#include "records/account_records.h"
#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/sorts.h"
#include "reports/gains_tax/gain_lines.h"
#include "reports/gains_tax/gain_security_book.h"
#include "reports/gains_tax/tax_record_file.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holding_periods.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

const std::string kBlank16(16, ' ');

// What one run keeps.
struct GainRun {
    ReportFrame& frame;
    const records::Options& options;
    const DateRange& dates;
    TaxRecordFile* tax = nullptr;
    GainSecurityBook securities;
    int16_t& page;
    int16_t lines = 0;
    int16_t page_length = 0;
};

void PageHeading(GainRun& run, const GainAccount& account, const std::string& start_text,
                 const std::string& end_text) {
    records::Pghead(run.page, run.lines, run.page_length);
    ReportFrame& f = run.frame;
    f.Write("(56X,'REALIZED GAINS & LOSSES')");
    f.Blank();
    f.Write("(1X,'ACCOUNT: ',2A4,'- ',8A4,3X,3A4,' - ',3A4)", Items()
                                                                  .Text(account.payee.id, 4, 2)
                                                                  .Text(account.short_name, 4, 8)
                                                                  .Text(start_text, 4, 3)
                                                                  .Text(end_text, 4, 3));
    f.Blank();
    f.Write("(83X,'--------------- GAIN (LOSS) ---------------')");
    f.Blank();
    f.Write("(32X,'DATE     DATE')");
    f.Write(
        "('QUANTITY     DESCRIPTION',4X,'   BOUGHT    SOLD           COST        PROCEEDS',7X,"
        "'SHORT-TERM        MID-TERM        LONG-TERM')");
    f.Blank();
    run.lines = static_cast<int16_t>(run.lines + 8);
}

void NoGains(ReportFrame& frame, const std::string& id) {
    frame.Blank();
    frame.Write("(1X,'No gains (losses) for ',A4,A2,' to report.')",
                Items().Text(id, 4, 1).Text(id.substr(4), 2, 1));
}

// An account's gains file read whole with one read: record n is there when
// the file holds it whole.
class GainsFileImage {
public:
    explicit GainsFileImage(const std::string& name) {
        records::DirectFile file(name, records::kAccountRecordLength, /*create=*/false);
        if (!file.ReadWhole(bytes_)) bytes_.clear();
    }
    bool Read(long n, records::Record& rec) const {
        const std::size_t length = records::kAccountRecordLength;
        if (n < 1 || static_cast<std::size_t>(n) * length > bytes_.size()) return false;
        const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>((n - 1) * length);
        rec.bytes().assign(first, first + static_cast<std::ptrdiff_t>(length));
        return true;
    }

private:
    std::vector<unsigned char> bytes_;
};

// One account's lots, totals and footnote.
void ReportAccount(GainRun& run, const GainAccount& account) {
    const std::string& id = account.payee.id;
    run.page = 1;
    run.lines = 0;
    const GainsFileImage gains(records::Paknam(id, "GL", ".REC"));
    records::Record rec;
    const int count = gains.Read(1, rec) ? records::GainsHeader::Decode(rec).count : 0;

    // The lots sold within the range, in date-sold order. A record that
    // cannot be read ends the account's lots.
    std::vector<float> keys;
    std::vector<int16_t> tags;
    for (int n = 2; n <= count + 1; ++n) {
        if (!gains.Read(n, rec)) break;
        const float sold = rec.R4(0);
        if (sold < run.dates.start_number || sold > run.dates.end_number) continue;
        keys.push_back(sold);
        tags.push_back(static_cast<int16_t>(n));
    }
    records::Shell(static_cast<int>(keys.size()), keys, tags);

    std::string start = run.dates.start, end = run.dates.end;
    const std::string start_text = records::H2000(start);
    const std::string end_text = records::H2000(end);
    const std::string_view option_code(reinterpret_cast<const char*>(run.options.data()), 4);

    double cost_total = 0, proceeds_total = 0;
    double class_totals[3] = {0, 0, 0};
    bool reacquired_mark = false;
    bool any = false;
    for (const int16_t n : tags) {
        if (!gains.Read(n, rec)) break;
        const records::GainRecord lot = records::GainRecord::Decode(rec);
        const records::SecurityRecord* security = run.securities.Find(lot.symbol);
        const std::string type = security ? security->type : std::string(4, ' ');
        if (type == "1   ") continue;
        if (lot.quantity <= 0) continue;
        const auto [proceeds, cost, gain] = RoundLot(lot);
        if (records::OptionValue(run.options, records::Opt::kKeepZeroGains) == 0 && gain > -0.01 &&
            gain < 0.01)
            continue;

        if (!any)
            PageHeading(run, account, start_text, end_text);
        else if (!run.tax && run.lines + 4 >= run.page_length)
            PageHeading(run, account, start_text, end_text);
        any = true;
        cost_total += cost;
        proceeds_total += proceeds;

        if (run.tax) {
            run.tax->WriteLot(account.payee, proceeds, gain, lot.quantity, lot.symbol,
                              security ? security->cusip : std::string(12, ' '), lot.sale_date);
            continue;
        }

        const bool reacquired = lot.short_cover != 0;
        const HoldingClass holding = ClassifyHolding(lot.open_date, lot.sale_date, reacquired);
        const int column = static_cast<int>(holding);
        class_totals[column] += gain;
        std::string columns[3] = {kBlank16, kBlank16, kBlank16};
        columns[column] = GainAmount(gain, column == 2 ? 15 : 16, true);
        const SaleDate sold = SaleDateOf(lot.sale_date);
        if (reacquired) reacquired_mark = true;
        const char* layout = reacquired ? "(A8,1X,5A4,1X,2A4,1X,I2,'/',I2,'/',I2,'* ',A14,A16,A16,A16,A15)"
                                        : "(A8,1X,5A4,1X,2A4,1X,I2,'/',I2,'/',I2,2X,A14,A16,A16,A16,A15)";
        run.frame.Write(layout, Items()
                                    .Text(GainQuantity(lot.quantity), 8, 1)
                                    .Text(lot.description1, 4, 5)
                                    .Text(lot.open_date, 4, 2)
                                    .Int(sold.month)
                                    .Int(sold.day)
                                    .Int(sold.year)
                                    .Text(GainAmount(cost, 14, false), 14, 1)
                                    .Text(GainAmount(proceeds, 16, false), 16, 1)
                                    .Text(columns[0], 16, 1)
                                    .Text(columns[1], 16, 1)
                                    .Text(columns[2], 15, 1));
        ++run.lines;
        std::string second = lot.description2;
        if (records::Fixed(lot.symbol, 4) != "CASH" && security)
            records::Ckdesc(second, option_code, security->rate, security->due_date);
        if (!records::IsBlank(records::Fixed(second, 32))) {
            run.frame.Write("(7X,8A4)", Items().Text(second, 4, 8));
            ++run.lines;
        }
    }

    if (!any) {
        NoGains(run.frame, id);
        return;
    }
    if (cost_total > 0.001) {
        run.frame.Blank();
        if (records::OptionOn(run.options, records::Opt::kNoGainTotals))
            run.frame.Write("(29X,'TOTALS:',43X,A16,A16,A15)",
                            Items()
                                .Text(GainAmount(class_totals[0], 16, true), 16, 1)
                                .Text(GainAmount(class_totals[1], 16, true), 16, 1)
                                .Text(GainAmount(class_totals[2], 15, true), 15, 1));
        else
            run.frame.Write("(29X,'TOTALS:',13X,A14,A16,A16,A16,A15)",
                            Items()
                                .Text(GainAmount(cost_total, 14, false), 14, 1)
                                .Text(GainAmount(proceeds_total, 16, false), 16, 1)
                                .Text(GainAmount(class_totals[0], 16, true), 16, 1)
                                .Text(GainAmount(class_totals[1], 16, true), 16, 1)
                                .Text(GainAmount(class_totals[2], 15, true), 15, 1));
    }
    if (reacquired_mark) {
        run.frame.Blank();
        run.frame.Blank();
        run.frame.Blank();
        run.frame.Write("(14X,'* DATE SECURITY REACQUIRED')");
        run.frame.Blank();
    }
    run.lines = static_cast<int16_t>(run.lines + 2);
}

}  // namespace

void Glprint(std::string_view scope, std::string_view manager, std::string& account, std::string_view start,
             std::string_view end, int16_t print_mode, int16_t& status, int16_t& page,
             std::string_view output_name, std::string_view transmitter, std::string_view payer_control) {
    status = 1;
    page = 1;
    const records::Options options = records::Rdopts();
    const ProgramDate program = ReadProgramDate();
    const bool all = records::Fixed(scope, 4) == "A   ";

    // The accounts of the run: every account of the index in "A" mode (the
    // manager code is compared once its records are read), else the one.
    AccountWalk walk = RunAccounts(all, account);
    const bool index_read = walk.count_read;
    std::vector<AccountEntry> accounts = std::move(walk.accounts);
    status = 2;
    const DateRange dates = CheckReportDates(start, end, program);

    ReportFrame frame = ReportFrame::ForOutputMode(output_name, print_mode);
    std::unique_ptr<TaxRecordFile> tax;
    if (records::OptionOn(options, records::Opt::kLoanLimitAndExtracts)) {
        TaxFileSetup setup;
        setup.form = TaxForm::k1099B;
        setup.transmitter = records::Fixed(transmitter, 5);
        setup.payer_control = records::Fixed(payer_control, 4);
        setup.payment_year = SaleDateOf(dates.end_number).year;
        tax = std::make_unique<TaxRecordFile>(setup, frame);
    }
    status = 5;

    GainRun run{frame, options, dates, tax.get(), GainSecurityBook(), page};
    if (!index_read) frame.Stop(UnreadableLine(records::kAccountIndex, 1));
    bool reported = false;
    for (const AccountEntry& entry : accounts) {
        GainAccount data;
        if (!ReadGainAccount(entry.entry, entry.id, data)) {
            // The account's records cannot be read: the run ends, saying so.
            if (tax) tax->Finish();
            frame.Stop(UnreadableLine(records::kAccountRecords, entry.first_record));
            status = static_cast<int16_t>(status + 100);
            return;
        }
        if (all && !ManagerMatches(manager, data.manager)) continue;
        if (all) account = data.payee.id;
        reported = true;
        ReportAccount(run, data);
        page = 1;
    }
    if (!reported && index_read) {
        if (all)
            frame.Write("('No accounts for manager ',A4,' to report.')", Items().Text(manager, 4, 1));
        else
            NoGains(frame, records::Fixed(account, 8));
    }
    if (tax) tax->Finish();
    status = static_cast<int16_t>(status + 100);
}

}  // namespace reports
