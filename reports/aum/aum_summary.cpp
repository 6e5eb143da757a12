#include "reports/aum/aum_summary.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "records/aum_work.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/sorts.h"
#include "reports/appraisal/account_valuations.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

constexpr std::size_t kRecordLength = 128;
constexpr const char* kAmountNa = "          N/A ";
constexpr const char* kPercentNa = "  N/A ";

enum Order {
    kById = 1,
    kByName,
    kByEquities,
    kByFixedIncome,
    kByCashEquivalents,
    kByOtherAssets,
    kByMarketValue
};

constexpr const char* kOrderLines[] = {
    "(4X,'PORTFOLIO MANAGER: ',A4,68X,'SORTED BY ACCOUNT ID',/)",
    "(4X,'PORTFOLIO MANAGER: ',A4,70X,'SORTED BY ACCOUNT NAME',/)",
    "(4X,'PORTFOLIO MANAGER: ',A4,74X,'SORTED BY EQUITIES',/)",
    "(4X,'PORTFOLIO MANAGER: ',A4,70X,'SORTED BY FIXED INCOME',/)",
    "(4X,'PORTFOLIO MANAGER: ',A4,66X,'SORTED BY CASH EQUIVALENTS',/)",
    "(4X,'PORTFOLIO MANAGER: ',A4,70X,'SORTED BY OTHER ASSETS',/)",
    "(4X,'PORTFOLIO MANAGER: ',A4,70X,'SORTED BY MARKET VALUE',/)",
};

// The order of a sort code's first character; the characters the report
// cannot sort by (the dialog's "I" and "P" among them) keep index order.
int OrderOf(std::string_view sort_code) {
    std::string code = records::Fixed(sort_code, 4);
    int16_t n = 1;
    records::Upshft(code, n);
    n = 7;
    const int16_t at = records::Inset(code[0], " AEFCOM", n);
    return at >= 1 ? static_cast<int>(at) : static_cast<int>(kById);
}

struct Page {
    int16_t number = 1;
    int16_t lines = 0;
    int16_t length = 0;
    int16_t limit = 0;
};

void Aumhed(ReportFrame& frame, Page& page, const std::string& program_date, const std::string& report_date,
            int order, const std::string& shown) {
    records::Pghead(page.number, page.lines, page.length);
    std::string date = report_date;
    frame.Write("(47X,'SUMMARY OF ASSETS UNDER MANAGEMENT  ',3A4)", Items().Text(records::H2000(date), 4, 3));
    frame.Blank();
    std::string printed = program_date;
    frame.Line(DatePrintedLine(records::H2000(printed), 4));
    frame.Blank();
    for (const std::string& line : records::WriteRecords(kOrderLines[order - 1], Items().Text(shown, 4, 1)))
        frame.Line(line);
    frame.Blank();
    frame.Write(
        "(1X,'ACCOUNT',27X,'MARKET',8X,'CASH &',9X,'FIXED',22X,'OTHER',3X,'     %     %     %     %  ')");
    frame.Write(
        "(3X,'ID      ACCOUNT NAME',12X,'VALUE',6X,'EQUIVALENTS',7X,'INCOME',5X,'EQUITIES',8X,'ASSETS',3X,'  "
        " "
        "CASH  FIXD  EQTY  OTHR')");
    frame.Blank();
    page.lines = static_cast<int16_t>(page.lines + 11);
}

std::string AmountText(double value) {
    if (value < 0) return kAmountNa;
    return NumberColumn(value, "(F14.2)", 14, false, 14);
}

// The four shares of the market value; a market value of 0 has none.
struct Shares {
    std::string cash_equivalents = "      ", fixed_income = "      ", equities = "      ", other = "      ";
};

Shares SharesOf(double market, double cash_equivalents, double fixed_income, double equities, double other) {
    Shares s;
    if (market < 0) {
        s.cash_equivalents = s.fixed_income = s.equities = s.other = kPercentNa;
    } else if (market != 0) {
        auto share = [market](double part) {
            return records::Write("(F6.1)", {static_cast<double>(static_cast<float>(part * 100 / market))});
        };
        s.cash_equivalents = share(cash_equivalents);
        s.fixed_income = share(fixed_income);
        s.equities = share(equities);
        s.other = share(other);
    }
    return s;
}

constexpr const char* kAmountLine = "(1X,A4,A2,1X,5A4,1X,A14,A14,A14,A14,A14,2X,A6,A6,A6,A6)";

// Small amounts left over from rounding count as none.
double Tidy(double value) {
    return value > -0.01 && value < 0.01 ? 0 : value;
}

}  // namespace

void Sumaum(std::string_view report_date, std::string_view manager, std::string_view sort_code,
            std::string_view output_name, int16_t /*name_length*/) {
    const records::RunSettings settings = records::ReadRunSettings();
    const AssetClassTable classes = ReadAssetClasses();
    std::string date = records::Fixed(report_date, 8);
    float date_number = 0;
    int16_t mode = 2, error = 0;
    records::Ckdate(date, mode, error, date_number, 0, settings.program_number);
    const std::string code = records::Fixed(manager, 4);
    const int order = OrderOf(sort_code);
    const bool all = records::Match(code, "    ", 4) == 0;
    const std::string shown = all ? "ALL " : code;

    ReportFrame frame(output_name, /*copy=*/true);
    records::Gcn();
    Page page;
    Aumhed(frame, page, settings.program_date, date, order, shown);
    page.limit = static_cast<int16_t>(page.length - 4);
    if (!all && !ManagerCodeAccepted(code)) return;

    struct WorkFile {
        ~WorkFile() { records::Purge(records::kAumWorkFile); }
    } purge_at_end;
    records::DirectFile work(records::kAumWorkFile, records::kAumWorkRecordLength, /*create=*/true);

    const AccountWalk walk = WalkAccounts();
    if (!walk.count_read || walk.count <= 0) return;
    if (walk.failed_record > 0) {
        frame.Line(UnreadableLine(records::kAccountIndex, walk.failed_record));
        return;
    }
    const records::DirectFile accounts(records::kAccountRecords, kRecordLength, /*create=*/false);
    const ValuationFiles files = ValuationFiles::Load(date);
    std::vector<double> amount_keys;
    std::vector<std::string> name_keys;
    int16_t count = 0;
    for (const AccountEntry& entry : walk.accounts) {
        records::Record second, fourth;
        if (!accounts.Read(entry.first_record + 1, second)) {
            frame.Line(UnreadableLine(records::kAccountRecords, entry.first_record + 1));
            return;
        }
        if (!all && records::Match(second.Text(16, 4), code, 4) != 0) continue;
        if (!accounts.Read(entry.first_record + 3, fourth)) {
            frame.Line(UnreadableLine(records::kAccountRecords, entry.first_record + 3));
            return;
        }
        ++count;
        records::AumWorkRecord w;
        w.account = entry.id;
        w.name = second.Text(52, 32);
        w.field2 = second.Text(120, 8);
        w.field4 = fourth.Text(87, 4);
        int16_t missing = 0;
        Aumval(entry.id, date, date_number, settings.program_number, w.market_value, w.cash, w.equities,
               w.fixed_income, w.cash_equivalents, missing, classes, &files);
        if (missing > 0) w.market_value = records::kNoPriceValue;
        w.cash = Tidy(w.cash);
        w.other_assets = Tidy(w.market_value - (w.cash_equivalents + w.equities + w.fixed_income));
        if (order == kByName) {
            if (records::OptionValue(settings.options, records::Opt::kLastNameFirst) == 1)
                records::Reordr(w.name);
            name_keys.push_back(w.name.substr(0, 16));
        } else {
            const double keys[] = {
                0, 0, w.equities, w.fixed_income, w.cash_equivalents, w.other_assets, w.market_value};
            amount_keys.push_back(keys[order - 1]);
        }
        work.Write(count, w.Encode());
    }

    // Names ascending (compared as signed bytes), amounts largest first;
    // equal keys keep index order.
    std::vector<int> tags(static_cast<std::size_t>(count));
    std::iota(tags.begin(), tags.end(), 1);
    if (order == kByName) {
        std::stable_sort(tags.begin(), tags.end(), [&](int a, int b) {
            const std::string& x = name_keys[static_cast<std::size_t>(a - 1)];
            const std::string& y = name_keys[static_cast<std::size_t>(b - 1)];
            for (std::size_t i = 0; i < 16; ++i)
                if (x[i] != y[i]) return static_cast<signed char>(x[i]) < static_cast<signed char>(y[i]);
            return false;
        });
    } else if (order >= kByEquities) {
        std::stable_sort(tags.begin(), tags.end(), [&](int a, int b) {
            return amount_keys[static_cast<std::size_t>(a - 1)] >
                   amount_keys[static_cast<std::size_t>(b - 1)];
        });
    }

    double total_market = 0, total_equities = 0, total_fixed = 0, total_cash_eq = 0, total_other = 0;
    for (int tag : tags) {
        if (page.lines >= page.limit) Aumhed(frame, page, settings.program_date, date, order, shown);
        records::Record rec;
        if (!work.Read(tag, rec)) break;
        const records::AumWorkRecord w = records::AumWorkRecord::Decode(rec);
        const Shares shares =
            SharesOf(w.market_value, w.cash_equivalents, w.fixed_income, w.equities, w.other_assets);
        if (w.market_value < 0)
            total_market = records::kNoPriceValue;
        else if (total_market > records::kNoPriceValue)
            total_market += w.market_value;
        total_equities += w.equities;
        total_fixed += w.fixed_income;
        total_cash_eq += w.cash_equivalents;
        total_other += w.other_assets;
        frame.Write(kAmountLine, Items()
                                     .Text(w.account, 4, 1)
                                     .Text(w.account.substr(4), 2, 1)
                                     .Text(w.name, 4, 5)
                                     .Text(AmountText(w.market_value), 14, 1)
                                     .Text(AmountText(w.cash_equivalents), 14, 1)
                                     .Text(AmountText(w.fixed_income), 14, 1)
                                     .Text(AmountText(w.equities), 14, 1)
                                     .Text(AmountText(w.other_assets), 14, 1)
                                     .Text(shares.cash_equivalents, 6, 1)
                                     .Text(shares.fixed_income, 6, 1)
                                     .Text(shares.equities, 6, 1)
                                     .Text(shares.other, 6, 1));
        ++page.lines;
    }

    frame.Write(
        "(31X,'------------  ------------  ------------  ','------------  ------------','    ----  ----  "
        "----  "
        "----')");
    const Shares shares = SharesOf(total_market, total_cash_eq, total_fixed, total_equities, total_other);
    frame.Write(
        "(4X,'TOTAL FOR MANAGER: ',A4,2X,A14,A14,A14,A14,A14,2X,A6,A6,A6,A6)",
        Items()
            .Text(shown, 4, 1)
            .Text(total_market <= records::kNoPriceValue ? kAmountNa : AmountText(total_market), 14, 1)
            .Text(AmountText(total_cash_eq), 14, 1)
            .Text(AmountText(total_fixed), 14, 1)
            .Text(AmountText(total_equities), 14, 1)
            .Text(AmountText(total_other), 14, 1)
            .Text(shares.cash_equivalents, 6, 1)
            .Text(shares.fixed_income, 6, 1)
            .Text(shares.equities, 6, 1)
            .Text(shares.other, 6, 1));
    frame.Blank();
}

}  // namespace reports
