#include "reports/appraisal/position_summary.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/lookups.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/security_file.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

constexpr std::size_t kRecordLength = 128;
constexpr double kNoPrice = records::kNoPriceValue;
constexpr const char* kValueNa = "       N/A   ";
constexpr const char* kPercentNa = " N/A ";
constexpr const char* kPriceNa = "      N/A ";

struct Settings {
    float program_number = 0;
    records::Options options{};
};

struct Page {
    int16_t number = 1;
    int16_t lines = 0;
    int16_t length = 0;
    // True while the page has room for another line (the last five lines
    // of a page are kept free).
    bool Room() const { return length - 5 > lines; }
};

// The account being listed.
struct Account {
    std::string id = std::string(8, ' ');
    std::string name = std::string(32, ' ');
    std::string opening = std::string(12, ' ');
};

struct Run {
    std::string date;          // MM/DD/YY
    std::string heading_date;  // 12 characters
    float date_number = 0;
    Settings settings;
    std::vector<double> prices;
    bool opening_value = false;  // option 32
};

// A security as the report reads it; nullopt when it cannot be read (a
// number of 0 or below, past the file, never written).
std::optional<records::SecurityRecord> ReadSecurity(const records::DirectFile& file, long number) {
    records::Record rec;
    if (number < 1 || !file.Read(number, rec)) return std::nullopt;
    if (rec.NeverWritten()) return std::nullopt;
    return records::SecurityRecord::Decode(rec);
}

std::string PercentText(double value) {
    return BracketedText(value, "(F6.1,'  ')", 6);
}

bool IsCash(std::string_view symbol) {
    return records::Fixed(symbol, 4) == "CASH";
}

void AccountLine(ReportFrame& frame, const Run& run, const Account& a) {
    if (run.opening_value)
        frame.Write(
            "(1X,'ACCOUNT NAME: ',A4,A2,' - ',8A4,2X,'OPENING VALUE:',A12)",
            Items().Text(a.id, 4, 1).Text(a.id.substr(4), 2, 1).Text(a.name, 4, 8).Text(a.opening, 12, 1));
    else
        frame.Write("(1X,'ACCOUNT NAME: ',A4,A2,' - ',8A4)",
                    Items().Text(a.id, 4, 1).Text(a.id.substr(4), 2, 1).Text(a.name, 4, 8));
}

void ColumnHeadings(ReportFrame& frame) {
    frame.Write(
        "(1X,'# SHARES /   SECURITY',20X,' PURCHASE',2X,'  UNIT ','  MARKET',4X,'  "
        "MARKET',5X,'UNREALIZED',4X,"
        "'UNREALIZED')");
    frame.Write(
        "(1X,'FACE VALUE','   DESCRIPTION',17X,'   DATE  ',2X,'  COST ','   "
        "PRICE',6X,'VALUES',4X,'GAIN(LOSS) "
        "$',2X,'GAIN(LOSS) %')");
}

// A continuation page: its heading adds nothing to the lines used beyond
// the page heading's own.
void NewPage(ReportFrame& frame, const Run& run, Page& page, const Account& a) {
    records::Pghead(page.number, page.lines, page.length);
    frame.Blank();
    frame.Write("(59X,'POSITION SUMMARY')");
    frame.Write("(1X,'DATE: ',3A4)", Items().Text(run.heading_date, 4, 3));
    frame.Blank();
    AccountLine(frame, run, a);
    frame.Blank();
    ColumnHeadings(frame);
    frame.Blank();
}

// A holding of the list: its ordering key and its lot's record.
struct Entry {
    double key = 0;
    int16_t record = 0;
};

// Adds the other lots of the symbol that would print on their own (not
// "S" lots) into the current one and takes them off the list.
void Hldmrg(int16_t current, std::vector<Entry>& list, const records::DirectFile& holdings,
            const std::string& symbol, double& quantity, double& cost) {
    for (Entry& e : list) {
        if (e.record <= 0 || e.record == current) continue;
        records::Record rec;
        if (!holdings.Read(e.record, rec)) return;
        const records::HoldingRecord other = records::HoldingRecord::Decode(rec);
        if (other.symbol != symbol || records::Fixed(other.tax_lot, 1) == "S") continue;
        quantity += other.quantity;
        cost += other.cost;
        e.record = 0;
    }
}

struct Totals {
    double cash = 0, market = 0, cost = 0;
    bool missing_price = false;
};

// One lot's line (and its second line). False when the lot prints nothing.
void HoldingLines(ReportFrame& frame, const Run& run, Page& page, const Account& a,
                  const records::HoldingRecord& lot, double quantity, double cost,
                  const std::optional<records::SecurityRecord>& security, Totals& totals) {
    const char type = security ? security->TypeCharacter() : ' ';
    const std::string description1 = security ? security->description1 : std::string(32, ' ');
    const std::string description2 = security ? security->description2 : std::string(32, ' ');
    const std::string due_date = security ? records::Fixed(security->due_date, 8) : std::string(8, ' ');
    const float coupon = security ? security->rate : records::kNoRate;

    float unit = quantity != 0 ? static_cast<float>(cost / quantity) : 0.0f;
    const long number = lot.security_record;
    double price = security && number >= 1 && static_cast<std::size_t>(number) <= run.prices.size()
                       ? run.prices[static_cast<std::size_t>(number - 1)]
                       : kNoPrice;
    if (security && (type == '1' || type == 'S')) price = 1.0;
    if (security && type == '4') price = 100.0;
    const bool per_hundred = IsFixedIncomeType(type);
    if (per_hundred) {
        if (price > kNoPrice) price *= 0.01;
        unit *= 100;
    }
    if (!(price > kNoPrice)) totals.missing_price = true;
    double value = price > kNoPrice ? quantity * price : kNoPrice;
    if (per_hundred && price > kNoPrice) price *= 100;
    if (type == 'R') {
        unit = static_cast<float>(unit * 0.01);
        if (value > kNoPrice) value *= 100;
    }
    if (unit < 0) unit = -unit;
    if (quantity < 0) cost = -cost;
    if (value > kNoPrice) totals.market += value;
    totals.cost += cost;
    const double gain = value - cost;
    const double percent = cost != 0 ? static_cast<float>(gain / cost * 100) : 0.0f;

    const std::string quantity_text = NumberText(quantity, "(F10.0)", 10, false);
    std::string value_text = NumberText(value, "(F11.0,' ')", 11, false);
    std::string gain_text = NumberText(gain, "(F11.0,' ')", 11, true);
    std::string percent_text = PercentText(percent);
    if (value == kNoPrice) {
        value_text = gain_text = kValueNa;
        percent_text = kPercentNa;
    }
    if (!page.Room()) NewPage(frame, run, page, a);
    // Items keep views of their own texts, so each write builds its own.
    Items items;
    items.Text(quantity_text, 10, 1).Text(description1, 4, 7).Text(lot.open_date, 4, 2).Number(unit);
    if (price >= 0) {
        items.Number(price).Text(value_text, 11, 1).Text(gain_text, 12, 1).Text(percent_text, 7, 1);
        frame.Write("(2X,A10,2X,7A4,1X,2A4,F8.2,F10.2,A11,3X,A12,5X,A7)", items);
    } else {
        items.Text(kPriceNa, 10, 1).Text(value_text, 11, 1).Text(gain_text, 12, 1).Text(percent_text, 7, 1);
        frame.Write("(2X,A10,2X,7A4,1X,2A4,F8.2,A10,A11,3X,A12,5X,A7)", items);
    }
    if (!page.Room()) page.lines = page.length;
    bool second = true;
    if (!records::IsBlank(description2))
        frame.Write("(14X,7A4)", Items().Text(description2, 4, 7));
    else if (records::OptionOn(run.settings.options, records::Opt::kCouponDueDescription) &&
             !records::IsBlank(due_date.substr(0, 4)) && type != '1' && !IsCash(lot.symbol)) {
        if (coupon == records::kNoRate)
            frame.Write("(26X,2A4)", Items().Text(due_date, 4, 2));
        else
            frame.Write("(16X,F7.3,'%  ',2A4)", Items().Number(coupon).Text(due_date, 4, 2));
    } else {
        second = false;
    }
    if (second) ++page.lines;
    if (!page.Room()) NewPage(frame, run, page, a);
    ++page.lines;
}

void TotalLines(ReportFrame& frame, const Run& run, Page& page, const Account& a, Totals& totals) {
    totals.market += totals.cash;
    totals.cost += totals.cash;
    const double gain = totals.market - totals.cost;
    const double percent = totals.cost != 0 ? gain / totals.cost * 100 : 0;
    std::string percent_text = PercentText(percent);
    const std::string cost_text = NumberText(totals.cost, "(F16.2)", 16, false);
    if (!page.Room()) NewPage(frame, run, page, a);
    std::string market_text = NumberText(totals.market, "(F12.0,' ')", 12, false);
    std::string gain_text = NumberText(gain, "(F12.0,' ')", 12, true);
    if (totals.missing_price) {
        market_text = gain_text = kValueNa;
        percent_text = kPercentNa;
    }
    frame.Blank();
    frame.Write("(66X,'   -----------',1X,'   -----------','     -------')");
    frame.Write("(31X,'TOTAL COST',1X,'$',A16,2X,'TOTAL',1X,'$',A12,2X,A13,5X,A7)",
                Items()
                    .Text(cost_text, 16, 1)
                    .Text(market_text, 12, 1)
                    .Text(gain_text, 13, 1)
                    .Text(percent_text, 7, 1));
    frame.Write("(66X,'   ===========',1X,'   ===========','     =======')");
    frame.Blank();
    page.lines = static_cast<int16_t>(page.lines + 5);
    if (!page.Room()) NewPage(frame, run, page, a);
}

// Lists one account. The page and line count carry on into the next account
// only when the account has no holdings.
void ListAccount(ReportFrame& frame, const Run& run, Page& page, Account& a) {
    records::Pghead(page.number, page.lines, page.length);
    page.lines = static_cast<int16_t>(page.lines + 6);
    const HoldingsSource source =
        PrepareHoldings(a.id, run.date_number, run.settings.program_number, run.date);
    const records::DirectFile securities(records::kSecurityRecords, kRecordLength, /*create=*/false);

    // Collecting: the list of lots with their keys, and the cash.
    Totals totals;
    std::vector<Entry> list;
    {
        LotIterator lots(source.file);
        if (lots.end() == LotIterator::End::kReadFailed || lots.header().first_lot < 0) {
            frame.Write("(19X,'*** No transactions in account ',A4,A2,' ***')",
                        Items().Text(a.id, 4, 1).Text(a.id.substr(4), 2, 1));
            frame.Blank();
            frame.Blank();
            frame.Blank();
            return;
        }
        int16_t record = 0;
        records::HoldingRecord lot;
        while (lots.Next(record, lot)) {
            const auto security = ReadSecurity(securities, lot.security_record);
            std::string symbol = security ? security->cusip : std::string(12, ' ');
            if (records::IsBlank(symbol)) symbol = lot.symbol;
            float due = 0;
            if (security) {
                int16_t month = 0, day = 0, year = 0;
                records::Redate(security->due_date, month, day, year);
                due = static_cast<float>(year * 10000 + month * 100 + day);
            }
            double key = Hldkey(security ? security->type : "    ", due, symbol);
            if (IsCash(lot.symbol)) {
                key = 0;
                totals.cash += lot.cost;
            }
            list.push_back({key, record});
        }
    }
    const std::string cash_text = NumberText(totals.cash, "(F12.2)", 12, false);

    frame.Write("(59X,'POSITION SUMMARY')");
    frame.Blank();
    frame.Write("(1X,'DATE: ',3A4)", Items().Text(run.heading_date, 4, 3));
    frame.Blank();
    AccountLine(frame, run, a);
    frame.Blank();
    if (page.Room()) {
        ColumnHeadings(frame);
        frame.Blank();
        frame.Write("(13X,' CASH  ',51X,A12)", Items().Text(cash_text, 12, 1));
        frame.Blank();
    }
    page.lines = static_cast<int16_t>(page.lines + 2);

    // Printing.
    if (records::OptionOn(run.settings.options, records::Opt::kSortStocksWithoutSic))
        std::stable_sort(list.begin(), list.end(),
                         [](const Entry& x, const Entry& y) { return x.key < y.key; });
    const records::DirectFile holdings(source.file, kRecordLength, /*create=*/false);
    const bool combine = records::OptionValue(run.settings.options, records::Opt::kCombineLotsOnSummary) == 1;
    for (const Entry& entry : list) {
        if (entry.record <= 0) continue;
        records::Record rec;
        if (!holdings.Read(entry.record, rec)) {
            frame.Line(UnreadableLine(source.file, entry.record));
            break;
        }
        const records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
        if (IsCash(lot.symbol) || records::Fixed(lot.tax_lot, 1) == "S") continue;
        double quantity = lot.quantity, cost = lot.cost;
        if (combine) Hldmrg(entry.record, list, holdings, lot.symbol, quantity, cost);
        HoldingLines(frame, run, page, a, lot, quantity, cost, ReadSecurity(securities, lot.security_record),
                     totals);
    }
    TotalLines(frame, run, page, a, totals);
    page.number = 1;
    page.lines = 0;
}

}  // namespace

double Hldkey(std::string_view type, float due_date, std::string_view symbol) {
    static constexpr std::string_view kTypes = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    const char c = type.empty() ? ' ' : type[0];
    const std::size_t at = kTypes.find(c);
    const double t = at == std::string_view::npos ? 38 : static_cast<double>(at + 1);
    const double date = records::WidenDate(due_date);
    if (date != 0) return t * 1e14 + date;
    const std::string s = records::Fixed(symbol, 6);
    double sum = 0;
    for (std::size_t k = 0; k < 6; ++k) sum = sum * 100 + static_cast<unsigned char>(s[k]);
    return t * 1e14 + sum;
}

void Prhlrec(std::string_view scope, std::string_view manager, std::string& account,
             std::string_view report_date, int16_t output_mode, std::string_view output_name,
             int16_t /*name_length*/) {
    if (output_mode <= 0) return;
    Run run;
    run.date = records::Fixed(report_date, 8);
    std::string heading = run.date;
    run.heading_date = records::H2000(heading);
    records::Gcn();
    ReportFrame frame = ReportFrame::ForOutputMode(output_name, output_mode);
    {
        const records::DirectFile common(records::kCommonFile, kRecordLength, /*create=*/false);
        records::Record rec;
        if (!common.Read(records::kProgramDateRecord, rec)) {
            frame.Stop(UnreadableLine(records::kCommonFile, records::kProgramDateRecord));
            return;
        }
        run.settings.program_number = rec.R4(8);
        if (!common.Read(records::kOptionsRecord, rec)) {
            frame.Stop(UnreadableLine(records::kCommonFile, records::kOptionsRecord));
            return;
        }
        for (std::size_t i = 0; i < run.settings.options.size() && i < rec.size(); ++i)
            run.settings.options[i] = rec.data()[i];
    }
    run.opening_value = records::OptionOn(run.settings.options, records::Opt::kOpeningValue);
    int16_t mode = 2, error = 0;
    records::Ckdate(run.date, mode, error, run.date_number, 0, 1991231);
    run.prices = records::ReadPriceFile(run.date);

    const std::string code = records::Fixed(manager, 4);
    std::vector<AccountEntry> chosen;
    if (records::Fixed(scope, 1) == "A") {
        const AccountWalk walk = WalkAccounts();
        if (!walk.count_read) {
            frame.Stop(UnreadableLine(records::kAccountIndex, 1));
            return;
        }
        chosen = walk.accounts;
        if (walk.failed_record > 0) frame.Line(UnreadableLine(records::kAccountIndex, walk.failed_record));
    } else {
        const std::string id = records::Fixed(account, 8);
        const records::AccountPlace place = records::Jncltx(id);
        if (place.place == 0) {
            frame.Write("(1X,'Account ',2A4,' is not in the account index.')", Items().Text(id, 4, 2));
            return;
        }
        const int entry = 16 * (place.index_record - 2) + place.place;
        chosen.push_back({id, entry, records::AccountBaseRecord(entry)});
    }

    const records::DirectFile accounts(records::kAccountRecords, kRecordLength, /*create=*/false);
    Page page;
    for (const AccountEntry& entry : chosen) {
        Account a;
        a.id = records::Fixed(entry.id, 8);
        account = a.id;
        records::Record second, fourth;
        if (!accounts.Read(entry.first_record + 1, second)) {
            frame.Stop(UnreadableLine(records::kAccountRecords, entry.first_record + 1));
            return;
        }
        if (!accounts.Read(entry.first_record + 3, fourth)) {
            frame.Stop(UnreadableLine(records::kAccountRecords, entry.first_record + 3));
            return;
        }
        if (!ManagerMatches(code, second.Text(16, 4))) continue;
        a.name = second.Text(52, 32);
        a.opening = NumberText(fourth.R8(8), "(F12.2)", 12, false);
        ListAccount(frame, run, page, a);
    }
}

}  // namespace reports
