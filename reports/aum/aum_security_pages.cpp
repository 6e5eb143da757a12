#include "reports/aum/aum_security_pages.h"

#include <cmath>
#include <string>
#include <vector>

#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_holdings_files.h"
#include "reports/aum/aum_page.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holding_periods.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

using records::kNoPriceValue;

// The N/A texts of the columns that cannot be computed.
constexpr const char* kValueNA = "         N/A";  // A12 value
constexpr const char* kGainNA = "       N/A  ";   // A12 gain
constexpr const char* kPercentNA = "    N/A";     // A7 percent
constexpr const char* kUnitNA = "     N/A";       // A8 unit value

std::string Fixed8(double value) {
    return records::Write("(F8.2)", {value});
}

std::string Percent7(double value) {
    return records::Write("(F7.1)", {value});
}

// The windowed YYMMDD number of a date text (0 for a blank one).
float DateNumber(const std::string& date) {
    return LotDateNumber(date);
}

bool IsCash(const std::string& symbol) {
    return symbol.compare(0, 4, "CASH") == 0;
}

// A sum that one unpriced lot makes unknown.
struct Sum {
    double value = 0;
    bool known = true;
    void Add(double v, bool priced) {
        if (priced)
            value += v;
        else
            known = false;
    }
    double Stored() const { return known ? value : kNoPriceValue; }
};

struct Page {
    ReportFrame& frame;
    int16_t page = 1;
    int16_t lines = 0;
    int16_t length = 58;
    void Line(std::string_view text) {
        frame.Line(text);
        ++lines;
    }
    void Write(std::string_view layout, records::OutItems items = {}) { Line(records::Write(layout, items)); }
};

}  // namespace

std::string GainText12(double gain) {
    return NumberColumn(gain, "(F10.0,'  ')", 10, true, 12);
}

void Xrefhdr(int16_t& page, int16_t& lines, std::string_view pricing_date, int16_t& page_length,
             std::string_view manager, std::string_view program_date, int16_t /*output_mode*/,
             std::string_view type_title, ReportFrame& frame) {
    std::string pricing = records::Fixed(pricing_date, 8);
    std::string printed = records::Fixed(program_date, 8);
    const std::string pricing_text = records::H2000(pricing);
    const std::string printed_text = records::H2000(printed);
    records::Pghead(page, lines, page_length);
    const std::string blank(132, ' ');
    frame.Write("(51X,'DETAILED SECURITY CROSS REFERENCE')");
    frame.Line(blank);
    frame.Write("(3X,'DATE PRINTED: ',3A4,23X,'SECURITY TYPE: ',5A4)",
                Items().Text(printed_text, 4, 3).Text(type_title, 4, 5));
    frame.Write("(100X,'PRICING DATE: ',3A4)", Items().Text(pricing_text, 4, 3));
    frame.Line(blank);
    frame.Write("('   PORTFOLIO MANAGER : ',A4,87X,'% OF ')", Items().Text(manager, 4, 1));
    frame.Write(
        "(3X,'ACCT              ',18X,'TRADE    SHARES/     AVG.','     TOTAL        MARKET     "
        "UNREALIZED','      %    TOTAL TAX')");
    frame.Write(
        "(1X,'   ID    ACCOUNT NAME                  DATE   FA','CE AMT.    COST      COST         VALUE     "
        "GAIN(LOSS',')     G/L   ACCT  LOT')");
    lines = 11;
}

namespace {

// A holdings record as the pages show it: cash has no lot code and no
// amounts under a cent, and a lot text with unprintable bytes is blank.
void CleanHolding(records::SecurityHolding& h, bool cash) {
    if (cash) {
        h.lot_code = "  ";
        if (h.market_value > -0.01 && h.market_value < 0.01) h.market_value = 0;
        if (h.cost > -0.01 && h.cost < 0.01) h.cost = 0;
    }
    for (char c : h.lot_text20)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) {
            h.lot_text20 = std::string(20, ' ');
            break;
        }
}

// The security's block heading, printed above its first lot: the rule, the
// description with the unit price and the yield or dividend rate, and the
// second description line.
void PrintSecurityHeading(Page& page, records::SecurityHolding& h, bool priced, bool cash,
                          const records::Options& options, const std::string& option_text, auto&& heading) {
    const std::string blank(132, ' ');
    if (page.lines >= page.length - 4) {
        heading();
        page.Line(blank);
    }
    std::string unit_text;
    double block_unit = 0;
    if (cash) {
        block_unit = 1.0;
    } else if (h.quantity != 0 && priced) {
        block_unit = h.market_value / h.quantity;
        if (h.valuation_kind == records::kValuedTimes100) block_unit *= 0.01;
        if (h.valuation_kind == records::kValuedPerHundred) block_unit *= 100;
    }
    unit_text = priced || cash ? Fixed8(block_unit) : kUnitNA;
    page.Line(blank);
    page.Write("(1X,124('-'))");
    if (h.valuation_kind == records::kValuedPerHundred) {
        double y = 0;
        std::string label = "MKT ";
        if (!records::OptionOn(options, records::Opt::kYieldOnCost)) {
            if (priced && block_unit > 0) y = h.rate / block_unit * 100;
        } else {
            label = "COST";
            if (h.cost > 0 && h.quantity > 0) y = h.rate / (h.cost / h.quantity);
        }
        if (!(y > 0)) y = 0;
        page.Write("(2X,8A4,1X,3A4,' PRICE= $',A8,29X,'YIELD TO ',A4,'=',F6.2)",
                   Items()
                       .Text(h.description1, 4, 8)
                       .Text(h.symbol, 4, 3)
                       .Text(unit_text, 8, 1)
                       .Text(label, 4, 1)
                       .Number(y));
    } else {
        std::string rate_text(19, ' ');
        if (!records::OptionOn(options, records::Opt::kNoCrossReferenceRate))
            rate_text = records::Write("('DIV. RATE =  ',F6.2)", {static_cast<double>(h.rate)});
        page.Write("(2X,8A4,1X,3A4,' PRICE= $',A8,30X,A19)", Items()
                                                                 .Text(h.description1, 4, 8)
                                                                 .Text(h.symbol, 4, 3)
                                                                 .Text(unit_text, 8, 1)
                                                                 .Text(rate_text, 19, 1));
    }
    if (!cash && h.security_type != "1   ")
        records::Ckdesc(h.description2, option_text, h.rate2, h.maturity_date);
    if (!records::IsBlank(h.description2)) page.Write("(4X,8A4)", Items().Text(h.description2, 4, 8));
}

// One lot's line, with its lot text and, at an account's first lot, its
// custodian account when the options ask for them.
void PrintLotLine(Page& page, const records::SecurityHolding& h, float g, bool priced, bool cash,
                  bool new_account, const records::Options& options, auto&& heading) {
    const std::string gain_text = priced ? GainText12(g) : kGainNA;
    const std::string value_text = priced ? Amount12(h.market_value) : kValueNA;
    std::string gain_percent(7, ' ');
    if (!priced)
        gain_percent = kPercentNA;
    else if (h.cost != 0)
        gain_percent = Percent7(100.0 * g / h.cost);
    double average = h.quantity != 0 ? h.cost / h.quantity : 0;
    if (h.valuation_kind == records::kValuedPerHundred) average *= 100;
    if (h.valuation_kind == records::kValuedTimes100) average *= 0.01;
    if (cash) average = 1.0;
    double shown_quantity = h.quantity;
    records::Drnd2(shown_quantity);
    const std::string quantity_text = NumberColumn(shown_quantity, "(F12.3)", 12, false, 12);
    const std::string cost_text = Amount12(h.cost);
    std::string percent_text = kPercentNA;
    if (h.percent_of_account != records::kNoRate) {
        double p = h.percent_of_account;
        if (p > -0.05 && p < 0) p = 0;
        percent_text = Percent7(p);
    }
    if (page.lines >= page.length - 4) heading();
    page.Write("(1X,A4,A2,'-',7A4,2A4,A12,A8,A12,2X,A12,2X,A12,A7,A7,3X,A2)",
               Items()
                   .Text(h.account_id, 4, 1)
                   .Text(h.account_id.substr(4), 2, 1)
                   .Text(h.account_title, 4, 7)
                   .Text(h.lot_date, 4, 2)
                   .Text(quantity_text, 12, 1)
                   .Text(Fixed8(average), 8, 1)
                   .Text(cost_text, 12, 1)
                   .Text(value_text, 12, 1)
                   .Text(gain_text, 12, 1)
                   .Text(gain_percent, 7, 1)
                   .Text(percent_text, 7, 1)
                   .Text(h.lot_code, 2, 1));
    if (records::OptionOn(options, records::Opt::kTransactionTexts) && !cash)
        page.Write("(4X,'ACCOUNT NO: ',5A4)", Items().Text(h.lot_text20, 4, 5));
    if (!records::OptionOn(options, records::Opt::kNoCrossReferenceCustodian) &&
        !records::IsBlank(h.custodian_account.substr(0, 4)) && new_account)
        page.Write("(1X,8A4)", Items().Text(h.custodian_account, 4, 8));
}

// The totals under a security of more than one lot.
void PrintSecurityTotals(Page& page, double quantity, double cost, const Sum& value, const Sum& gain,
                         auto&& heading) {
    const std::string blank(132, ' ');
    const std::string value_text = value.known ? Amount12(value.value) : kValueNA;
    const std::string gain_text = gain.known ? GainText12(gain.value) : kGainNA;
    double shown_quantity = quantity;
    records::Drnd2(shown_quantity);
    const std::string quantity_text = NumberColumn(shown_quantity, "(F12.3)", 12, false, 12);
    if (page.lines >= page.length - 4) {
        heading();
        page.Line(blank);
    }
    page.Write("(45X,' ----------         -----------   -----------   --    -------')");
    page.Write("(38X,'TOTALS',A12,8X,A12,2X,A12,2X,A12)", Items()
                                                              .Text(quantity_text, 12, 1)
                                                              .Text(Amount12(cost), 12, 1)
                                                              .Text(value_text, 12, 1)
                                                              .Text(gain_text, 12, 1));
}

// The report's totals over every issue.
void PrintReportTotals(Page& page, int issues, double cost, const Sum& value, const Sum& gain,
                       auto&& heading) {
    const std::string blank(132, ' ');
    const std::string gain_text = gain.known ? GainText12(gain.value) : kGainNA;
    const std::string value_text = value.known ? Amount12(value.value) : kValueNA;
    if (page.lines >= page.length - 4) {
        page.Write("(64X,11('-'),3X,11('-'),3X,9('-'))");
        heading();
        page.Line(blank);
    }
    page.Line(blank);
    page.Line(blank);
    page.Write(
        "(2X,'TOTALS FOR',1X,I3,' ISSUES :',39X,A12,2X,A12,2X,A12)",
        Items().Int(issues).Text(Amount12(cost), 12, 1).Text(value_text, 12, 1).Text(gain_text, 12, 1));
    page.Line(blank);
}

}  // namespace

void Secxref(std::string_view, std::string_view, std::string_view report_choice, int16_t output_mode,
             std::string_view security_type, std::string_view type_title, std::string_view accrued_switch,
             double accrued_total, const HoldingsIndex& index, ReportFrame& frame) {
    const records::Options options = records::Rdopts();
    const std::string option_text(options.begin(), options.end());
    const bool cross_reference = records::Fixed(report_choice, 4) != "Y   ";
    const std::string program_date = records::ProgramDateText();

    records::DirectFile summary_file(records::kSecuritySummaryFile, records::kSecuritySummaryRecordLength);
    summary_file.Truncate(0);
    const records::DirectFile work(records::kSecurityHoldingsFile, records::kSecurityHoldingsRecordLength,
                                   /*create=*/false);
    records::Record rec;
    Page page{frame};
    records::SecurityHoldingsHeader header;
    if (!work.Read(1, rec)) {
        frame.Line(UnreadableLine(records::kSecurityHoldingsFile, 1));
        return;
    }
    header = records::SecurityHoldingsHeader::Decode(rec);
    const std::string manager = ManagerHeading(header.manager);
    const float pricing_number = DateNumber(header.as_of_date);
    int16_t pricing_month = 0, pricing_day = 0, pricing_year = 0;
    records::Redate(header.as_of_date, pricing_month, pricing_day, pricing_year);
    const int pricing_window_year =
        pricing_year == 0 && pricing_month == 0 ? 0 : records::WindowYear(pricing_year);

    auto heading = [&] {
        Xrefhdr(page.page, page.lines, header.as_of_date, page.length, manager, program_date, output_mode,
                type_title, frame);
    };
    if (cross_reference) heading();

    Sum report_value, report_gain, report_short, report_long;
    double report_cost = 0;
    const int n = index.entry_count();
    if (header.record_count <= 0 || n == 0) return;
    const std::vector<int16_t> order = index.SortedEntries();

    for (int k = 0; k < n; ++k) {
        const HoldingsIndex::Entry& entry = index.entry(order[static_cast<std::size_t>(k)]);
        double quantity = 0, cost = 0;
        Sum value, gain, short_gain, long_gain;
        int lots = 0;
        int16_t accounts = 0;
        std::string previous(8, ' ');
        records::SecuritySummary summary;
        double unit_value = 0;
        bool unit_known = true;
        for (int32_t r = entry.first_record; r > 0; r = index.next_record(r)) {
            if (!work.Read(r, rec)) {
                frame.Line(UnreadableLine(records::kSecurityHoldingsFile, r));
                return;
            }
            records::SecurityHolding h = records::SecurityHolding::Decode(rec);
            const bool cash = IsCash(h.symbol);
            CleanHolding(h, cash);
            const bool new_account = h.account_id != previous;
            if (new_account) ++accounts;
            const bool priced = h.market_value != kNoPriceValue;
            ++lots;

            if (lots == 1 && cross_reference)
                PrintSecurityHeading(page, h, priced, cash, options, option_text, heading);

            const bool long_term = AumLongTerm(pricing_number, pricing_window_year, DateNumber(h.lot_date));

            quantity += h.quantity;
            cost += h.cost;
            report_cost += h.cost;
            if (!cash && h.quantity != 0 && priced) {
                unit_value = h.market_value / h.quantity;
            }
            if (!priced) unit_known = false;
            const float g = static_cast<float>(h.market_value - h.cost);
            (long_term ? long_gain : short_gain).Add(g, priced);
            (long_term ? report_long : report_short).Add(g, priced);
            gain.Add(g, priced);
            report_gain.Add(g, priced);
            value.Add(h.market_value, priced);
            report_value.Add(h.market_value, priced);

            if (cross_reference) PrintLotLine(page, h, g, priced, cash, new_account, options, heading);
            previous = h.account_id;

            summary.description1 = h.description1;
            summary.description2 = h.description2;
            summary.symbol = h.symbol;
            summary.security_number = h.security_number;
            summary.valuation_kind = h.valuation_kind;
            if (cash) unit_value = 1.0;
        }

        if (lots > 1 && cross_reference) PrintSecurityTotals(page, quantity, cost, value, gain, heading);

        // The summary: an unpriced lot makes the security's value, gains
        // and unit value unknown (the marker, which the page prints N/A).
        summary.unit_value = unit_known ? static_cast<float>(unit_value) : static_cast<float>(kNoPriceValue);
        summary.quantity = quantity;
        summary.cost = cost;
        summary.market_value = value.Stored();
        summary.short_term_gain = short_gain.Stored();
        summary.long_term_gain = long_gain.Stored();
        summary.accounts = accounts;
        summary_file.Write(k + 2, summary.Encode());
    }

    if (records::Fixed(accrued_switch, 4) == "Y   ") report_value.Add(accrued_total, true);
    if (cross_reference) PrintReportTotals(page, n, report_cost, report_value, report_gain, heading);

    records::SecuritySummaryHeader head;
    head.count = static_cast<int16_t>(n);
    head.pricing_date = header.as_of_date;
    head.market_value = report_value.Stored();
    head.cost = report_cost;
    head.short_term_gain = report_short.Stored();
    head.long_term_gain = report_long.Stored();
    summary_file.Write(1, head.Encode());

    if (!cross_reference) Aumprt(output_mode, security_type, type_title, manager, summary_file, frame);
}

}  // namespace reports
