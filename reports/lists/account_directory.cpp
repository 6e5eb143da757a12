// The account directory and BALANCES.BAL.

#include "reports/lists/account_directory.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "records/account_file.h"
#include "records/account_records.h"
#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "records/security_types.h"
#include "records/sorts.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/parties.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {
namespace {

constexpr int kBalancesUnit = 16;
constexpr std::string_view kOrders = " IMCPA";
constexpr const char* kSortHeadings[] = {
    "(4X,'PORTFOLIO MANAGER : ',A4,68X,'SORTED BY ACCOUNT NUMBER')",
    "(4X,'PORTFOLIO MANAGER : ',A4,62X,'SORTED BY INVESTMENT OBJECTIVE')",
    "(4X,'PORTFOLIO MANAGER : ',A4,70X,'SORTED BY MARKET VALUE')",
    "(4X,'PORTFOLIO MANAGER : ',A4,78X,'SORTED BY CASH')",
    "(4X,'PORTFOLIO MANAGER : ',A4,70X,'SORTED BY PERCENT CASH')",
    "(4X,'PORTFOLIO MANAGER : ',A4,70X,'SORTED BY ACCOUNT NAME')",
};

bool Blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\0'; });
}

// One listed account.
struct Listed {
    std::string id, name, objective, executive, firm, opened, phone, custodian;
    double value = 0, cash = 0, percent = 0;
    bool unpriced = false;
};

// Market value and cash of the accounts' holdings as of one date: the
// price file is read once a run, each security's type once.
class DirectoryValuer {
public:
    DirectoryValuer(std::string date, float date_number, float program_number)
        : date_(std::move(date)),
          date_number_(date_number),
          program_number_(program_number),
          prices_(records::ReadPriceFile(date_)) {}

    // False in `priced` when a lot had no price or no security record.
    void Value(const std::string& account, double& value, double& cash, bool& priced) {
        value = cash = 0;
        priced = true;
        const HoldingsSource source = PrepareHoldings(account, date_number_, program_number_);
        LotIterator lots(source.file);
        int16_t record = 0;
        records::HoldingRecord lot;
        while (lots.Next(record, lot)) {
            if (lot.tax_lot == "S   ") continue;
            const bool cash_lot = lot.holding_key == 0;
            const int16_t security = cash_lot ? int16_t{1} : lot.security_record;
            const std::optional<char> type = TypeOf(security);
            double price = 1.0;
            if (!type) {
                // A lot whose security cannot be read has no price.
                priced = false;
                price = 0;
            } else if (*type != '1') {
                price = security >= 1 && static_cast<std::size_t>(security) <= prices_.size()
                            ? prices_[static_cast<std::size_t>(security - 1)]
                            : records::kNoPriceValue;
                if (*type == '4') price = 100.0;
                if (*type == 'S') price = 1.0;
                if (price < 0) {
                    priced = false;
                    price = 0;
                }
            }
            records::Drndn(price);
            double lot_value = cash_lot ? lot.cost : lot.quantity * price;
            const char t = type.value_or(' ');
            if (records::IsFixedIncomeType(t)) lot_value *= 0.01;
            if (t == 'R') lot_value *= 100.0;
            value += lot_value;
            if (t == '1' && lot.holding_key <= 0) cash += lot_value;
        }
    }

private:
    std::optional<char> TypeOf(int16_t security) {
        auto [it, added] = types_.try_emplace(security);
        if (added) {
            records::SecurityRecord sec;
            if (security >= 1 && records::ReadSecurity(security, sec)) it->second = sec.TypeCharacter();
        }
        return it->second;
    }

    std::string date_;
    float date_number_;
    float program_number_;
    std::vector<double> prices_;
    std::map<int16_t, std::optional<char>> types_;
};

// The broker of an account: executive, telephone digits and firm's short
// name from the broker's second record.
struct BrokerFacts {
    std::string executive, phone, firm;
};

std::map<std::string, long> BrokerTable() {
    std::map<std::string, long> table;
    for (const PartyIndexEntry& e : ReadPartyIndex(Party::kBroker).entries)
        if (!IsUnusedPartyId(e.id)) table.emplace(records::Fixed(e.id, 8), PartyFirstRecord(e.entry));
    return table;
}

BrokerFacts BrokerOf(const std::map<std::string, long>& table, const std::string& id) {
    BrokerFacts facts{"    N/A     ", std::string(12, ' '), "   N/A  "};
    const auto it = table.find(records::Fixed(id, 8));
    records::Record rec;
    if (it == table.end() || !ReadPartyRecord(Party::kBroker, it->second + 1, rec)) return facts;
    return {rec.Text(64, 12), rec.Text(76, 12), rec.Text(88, 8)};
}

std::string Amount(double value, bool dollar, bool not_available = false) {
    std::string text =
        not_available ? records::Fixed("             N/A", 32) : NumberText(value, "(F16.2)", 16, false);
    if (dollar) {
        int16_t n = 16, flag = 0;
        records::Putdol(text, n, flag);
    }
    return text.substr(0, 16);
}

std::string PercentText(double percent, bool not_available) {
    return not_available ? std::string("     N/A") : records::Write("('  ',F6.1)", {percent});
}

class Directory {
public:
    Directory(ReportFrame& frame, std::string program_date, std::string as_of)
        : frame_(frame), program_date_(std::move(program_date)), as_of_(std::move(as_of)) {}

    void Heading() {
        records::Pghead(page_, lines_, page_length_);
        std::string printed = program_date_, pricing = as_of_;
        const std::string printed_text = records::H2000(printed);
        const std::string pricing_text = records::H2000(pricing);
        frame_.Write("(59X,'ACCOUNT DIRECTORY')");
        frame_.Blank();
        frame_.Write("(1X,'DATE PRINTED: ',3A4,69X,'PRICING DATE: ',3A4)",
                     Items().Text(printed_text, 4, 3).Text(pricing_text, 4, 3));
        frame_.Blank();
        frame_.Write("(73X,'DATE') ");
        frame_.Write("(40X,'INV.   AE & BROKERAGE FIRM',7X,'ACCT',12X,'MARKET',21X,'PERCENT')");
        frame_.Write(
            "(1X,'ACCT.NO.  ACCOUNT NAME   ',13X,'OBJEC.',7X,'TEL. "
            "NO.',12X,'OPENED',12X,'VALUE',12X,'CASH',7X,"
            "'CASH')");
        frame_.Blank();
        frame_.Blank();
        lines_ = static_cast<int16_t>(lines_ + 10);
        first_of_page_ = true;
    }

    void SortHeading(int order, const std::string& manager) {
        frame_.Write(kSortHeadings[order - 1], Items().Text(manager, 4, 1));
        frame_.Blank();
        frame_.Blank();
        lines_ = static_cast<int16_t>(lines_ + 3);
    }

    void Entry(const Listed& a) {
        if (lines_ >= page_length_ - 4) Heading();
        const std::string value = Amount(a.value, first_of_page_, a.unpriced);
        const std::string cash = Amount(a.cash, first_of_page_);
        const std::string percent = PercentText(a.percent, a.unpriced);
        const std::string separator =
            !Blank(a.executive.substr(0, 4)) && !Blank(a.firm.substr(0, 4)) ? "-" : " ";
        std::string phone(13, ' ');
        if (a.phone.size() >= 8 && a.phone[7] != ' ' && a.phone[7] != '\0') records::Phone(a.phone, phone);
        std::string opened = a.opened;
        const std::string opened_text = records::H2000(opened);
        const bool no_objective = Blank(a.objective);
        Items items;
        items.Text(a.id, 4, 2).Text(a.name, 4, 7);
        if (!no_objective) items.Text(a.objective, 4, 1);
        items.Text(a.executive, 4, 3)
            .Text(separator, 1, 1)
            .Text(a.firm, 4, 2)
            .Text(opened_text, 4, 3)
            .Text(value, 16, 1)
            .Text(cash, 16, 1)
            .Text(percent, 8, 1);
        frame_.Write(no_objective ? "(1X,2A4,1X,7A4,2X,4X,2X,3A4,1X,A1,1X,2A4,1X,3A4,A16,A16,1X,A8,'%',11X)"
                                  : "(1X,2A4,1X,7A4,2X,A4,2X,3A4,1X,A1,1X,2A4,1X,3A4,A16,A16,1X,A8,'%',11X)",
                     items);
        frame_.Write("(56X,13A1)", Items().Text(phone, 1, 13));
        lines_ = static_cast<int16_t>(lines_ + 2);
        first_of_page_ = false;
    }

    void Totals(const std::string& manager, double value, double cash, bool unpriced) {
        frame_.Write("(1X,83X,'--------------  --------------   -------  ')");
        const double percent = value != 0 ? 100.0 * cash / value : 0.0;
        frame_.Write("(4X,'TOTALS FOR MANAGER: ',A4,54X,A16,A16,1X,A8,'%') ",
                     Items()
                         .Text(manager, 4, 1)
                         .Text(Amount(value, true, unpriced), 16, 1)
                         .Text(Amount(cash, true), 16, 1)
                         .Text(PercentText(percent, unpriced), 8, 1));
        frame_.Blank();
    }

private:
    ReportFrame& frame_;
    std::string program_date_, as_of_;
    int16_t page_ = 1, lines_ = 0, page_length_ = 0;
    bool first_of_page_ = true;
};

// The six characters MMDDYY of a date, each blank a "0".
std::string DateDigits(const std::string& date) {
    const std::string d = records::Fixed(date, 8);
    std::string digits = d.substr(0, 2) + d.substr(3, 2) + d.substr(6, 2);
    std::replace(digits.begin(), digits.end(), ' ', '0');
    return digits;
}

}  // namespace

void Clnregtr(std::string_view as_of_date, std::string_view manager, std::string_view sort_code,
              int16_t output_mode, std::string_view output_name) {
    if (output_mode <= 0) return;
    std::string program_date(8, ' ');
    float program_number = 0;
    {
        records::DirectFile common(records::kCommonFile, 128, false);
        records::Record rec;
        if (common.Read(records::kProgramDateRecord, rec)) {
            program_date = rec.Text(0, 8);
            program_number = rec.R4(8);
        }
    }
    const records::Options options = records::Rdopts();
    std::string as_of = records::Fixed(as_of_date, 8);
    int16_t mode = 2, error = 0;
    float as_of_number = 0;
    records::Ckdate(as_of, mode, error, as_of_number, 0, 1991231);
    const char first =
        static_cast<char>(std::toupper(static_cast<unsigned char>(records::Fixed(sort_code, 1)[0])));
    const std::size_t found = kOrders.find(first);
    const int order = found == std::string_view::npos ? 1 : static_cast<int>(found) + 1;
    const std::string requested = records::Fixed(manager, 4);
    const bool all =
        std::all_of(requested.begin(), requested.end(), [](char c) { return c == ' ' || c == '?'; });
    const std::string shown_manager = all ? "ALL " : requested;

    ReportFrame frame = ReportFrame::ForOutputMode(output_name, output_mode);
    Directory directory(frame, program_date, as_of);
    directory.Heading();
    directory.SortHeading(order, shown_manager);
    struct RemoveWorkFile {
        ~RemoveWorkFile() { records::Purge(kDirectoryWorkFile); }
    } remove_work_file;
    if (error != 0) {
        frame.Stop(records::Write("(1X,'illegal date ',2A4)", {std::string_view(as_of).substr(0, 4),
                                                               std::string_view(as_of).substr(4, 4)}));
        return;
    }
    if (!ManagerCodeAccepted(requested)) return;

    // Collect the accounts of the manager code in index order. A record
    // that cannot be read ends the scan; what was collected is printed.
    const AccountWalk walk = WalkAccounts();
    const std::map<std::string, long> brokers = BrokerTable();
    DirectoryValuer valuer(as_of, as_of_number, program_number);
    std::vector<Listed> listed;
    std::string stopped;
    if (!walk.count_read) stopped = UnreadableLine("ACCOUNT.IDX", 1);
    for (const AccountEntry& entry : walk.accounts) {
        if (IsUnusedKey(entry.id)) continue;
        records::AccountRecordSet set;
        if (!records::ReadAccountRecordSet(entry.entry, set)) {
            stopped = UnreadableLine("ACCOUNT.REC", entry.first_record);
            break;
        }
        const records::Record& r2 = set[1];
        const records::Record& r3 = set[2];
        const records::Record& r4 = set[3];
        if (!all && !ManagerMatches(requested, r2.Text(16, 4))) continue;
        Listed a;
        a.id = records::Fixed(entry.id, 8);
        a.name = r2.Text(52, 32);
        a.opened = r2.Text(120, 8);
        a.custodian = r3.Text(32, 8);
        a.objective = r4.Text(87, 4);
        bool priced = true;
        valuer.Value(a.id, a.value, a.cash, priced);
        a.unpriced = !priced;
        if (a.unpriced) a.value = records::kNoPriceValue;
        if (a.cash > -0.009999999776482582 && a.cash <= 0) a.cash = 0;
        a.percent = a.value != 0 ? 100.0 * a.cash / a.value : 0.0;
        const BrokerFacts broker = BrokerOf(brokers, r3.Text(72, 8));
        a.executive = broker.executive;
        a.phone = broker.phone;
        a.firm = broker.firm;
        if (order == 6 && records::OptionValue(options, records::Opt::kLastNameFirst) == 1)
            records::Reordr(a.name);
        listed.push_back(std::move(a));
    }
    if (stopped.empty() && walk.failed_record != 0)
        stopped = UnreadableLine("ACCOUNT.IDX", walk.failed_record);

    // The order; equal keys keep index order.
    auto by = [&](auto key, bool descending) {
        std::stable_sort(listed.begin(), listed.end(), [&](const Listed& x, const Listed& y) {
            return descending ? key(y) < key(x) : key(x) < key(y);
        });
    };
    switch (order) {
        case 2:
            by([](const Listed& a) { return a.objective + a.id; }, false);
            break;
        case 3:
            by([](const Listed& a) { return a.value; }, true);
            break;
        case 4:
            by([](const Listed& a) { return a.cash; }, true);
            break;
        case 5:
            by([](const Listed& a) { return a.percent; }, true);
            break;
        case 6:
            by([](const Listed& a) { return records::Fixed(a.name, 16); }, false);
            break;
        default:
            break;
    }

    if (!listed.empty()) {
        records::Openaw(kBalancesUnit, kBalancesFile);
        records::UnitGuard balances(kBalancesUnit);
        double value_total = 0, cash_total = 0;
        bool total_unpriced = false;
        const std::string date_digits = DateDigits(as_of);
        for (const Listed& a : listed) {
            if (a.unpriced) total_unpriced = true;
            if (!total_unpriced) value_total += a.value;
            cash_total += a.cash;
            records::WriteLine(
                kBalancesUnit,
                records::Write("(2A4,1X,6A1,F12.2)",
                               Items().Text(a.custodian, 4, 2).Text(date_digits, 1, 6).Number(a.value)));
            directory.Entry(a);
        }
        directory.Totals(shown_manager, value_total, cash_total, total_unpriced);
    }
    if (!stopped.empty()) frame.Stop(stopped);
}

}  // namespace reports
