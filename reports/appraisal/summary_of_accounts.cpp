#include "reports/appraisal/summary_of_accounts.h"

#include <string>

#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/appraisal/account_valuations.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

constexpr std::size_t kRecordLength = 128;
constexpr const char* kValueNa = "       N/A      ";
constexpr const char* kPercentNa = "   N/A  ";
constexpr const char* kValueBlank = "                ";
constexpr const char* kPercentBlank = "        ";

std::string PercentText(double value) {
    return NumberColumn(value, "(F7.2,1X)", 7, true, 8);
}

struct Page {
    int16_t number = 1;
    int16_t lines = 0;
    int16_t length = 0;
};

void Acshed(ReportFrame& frame, Page& page, const std::string& pricing_date, const std::string& report_date,
            bool suppress_beginning) {
    records::Pghead(page.number, page.lines, page.length);
    frame.Write("(58X,'SUMMARY OF ACCOUNTS')");
    std::string pricing = pricing_date;
    frame.Write("(62X,3A4)", Items().Text(records::H2000(pricing), 4, 3));
    frame.Blank();
    std::string beginning = report_date;
    const std::string beginning_text = records::H2000(beginning);
    if (!suppress_beginning) {
        frame.Write("(36X,3A4,6X,'CURRENT',10X,'PROJECTED',17X,'GAIN',7X,'GAIN')",
                    Items().Text(beginning_text, 4, 3));
        frame.Write(
            "(10X,'ACCOUNT NAME',18X,'VALUE',10X,'VALUE',12X,'INCOME',5X,'YIELD',8X,'(LOSS)$',4X,'(LOSS)%')");
    } else {
        frame.Write("(36X,3A4,6X,'       ',10X,'PROJECTED',17X,'    ',7X,'    ')",
                    Items().Text(beginning_text, 4, 3));
        frame.Write(
            "(10X,'ACCOUNT NAME',18X,'     ',10X,'VALUE',12X,'INCOME',5X,'YIELD',8X,'       ',4X,'       ')");
    }
    frame.Blank();
    page.lines = static_cast<int16_t>(page.lines + 6);
}

// The six columns of an account or of the consolidated line.
struct Columns {
    std::string beginning = kValueNa, current = kValueNa, income = kValueNa;
    std::string yield = kPercentNa, gain = kValueNa, gain_percent = kPercentNa;
};

double GainPercent(double gain, double beginning) {
    return beginning != 0 ? gain * 100 / beginning : 0;
}

}  // namespace

void Accsum(std::string_view manager, std::string_view report_date, std::string_view pricing_date,
            std::string_view output_name, int16_t /*name_length*/) {
    const records::RunSettings settings = records::ReadRunSettings();
    const bool suppress_beginning =
        records::OptionOn(settings.options, records::Opt::kNoSummaryBeginningValue);
    const bool yield_on_cost = records::OptionOn(settings.options, records::Opt::kYieldOnCost);
    const std::string code = records::Fixed(manager, 4);
    std::string begin_date = records::Fixed(report_date, 8);
    std::string price_date = records::Fixed(pricing_date, 8);
    float begin_number = 0, price_number = 0;
    int16_t mode = 2, error = 0;
    if (!suppress_beginning)
        records::Ckdate(begin_date, mode, error, begin_number, 0, settings.program_number);
    mode = 2;
    error = 0;
    records::Ckdate(price_date, mode, error, price_number, 0, settings.program_number);

    ReportFrame frame(output_name, /*copy=*/true);
    records::Gcn();
    Page page;
    Acshed(frame, page, price_date, begin_date, suppress_beginning);

    const AccountWalk walk = WalkAccounts();
    if (!walk.count_read || walk.count <= 0) return;
    if (walk.failed_record > 0) frame.Line(UnreadableLine(records::kAccountIndex, walk.failed_record));

    const records::DirectFile accounts(records::kAccountRecords, kRecordLength, /*create=*/false);
    const ValuationFiles begin_files = ValuationFiles::Load(begin_date);
    const ValuationFiles price_files = ValuationFiles::Load(price_date, begin_files.securities);
    double total_begin = 0, total_current = 0, total_income = 0, total_cost = 0;
    bool any_begin_missing = false, any_current_missing = false;
    int selected = 0;
    for (const AccountEntry& entry : walk.accounts) {
        records::Record rec;
        if (!accounts.Read(entry.first_record + 1, rec)) continue;
        if (!ManagerMatches(code, rec.Text(16, 4))) continue;
        const std::string name = rec.Text(52, 32);
        ++selected;

        double begin = 0, current = 0, income = 0, yield = 0, cost = 0;
        int16_t begin_missing = 0, current_missing = 0;
        if (!suppress_beginning)
            Acsval(entry.id, begin_date, begin_number, settings.program_number, begin, income, yield,
                   begin_missing, cost, settings.options, &begin_files);
        Acsval(entry.id, price_date, price_number, settings.program_number, current, income, yield,
               current_missing, cost, settings.options, &price_files);
        // A flagged valuation prints N/A and stays out of the totals.
        if (!begin_missing) total_begin += begin;
        if (!current_missing) {
            total_current += current;
            total_income += income;
            total_cost += cost;
        }
        any_begin_missing = any_begin_missing || begin_missing;
        any_current_missing = any_current_missing || current_missing;

        Columns c;
        if (!begin_missing) c.beginning = Amount16(begin);
        if (!current_missing) {
            c.current = Amount16(current);
            c.income = Amount16(income);
            c.yield = PercentText(yield);
        }
        if (!begin_missing && !current_missing) {
            const double gain = current - begin;
            c.gain = Amount16(gain);
            c.gain_percent = PercentText(GainPercent(gain, begin));
        }
        if (suppress_beginning) {
            c.beginning = c.gain = kValueBlank;
            c.gain_percent = kPercentBlank;
        }
        if (page.lines > page.length) Acshed(frame, page, price_date, begin_date, suppress_beginning);
        frame.Write("(1X,8A4,A16,A16,A16,A8,A16,A8)", Items()
                                                          .Text(name, 4, 8)
                                                          .Text(c.beginning, 16, 1)
                                                          .Text(c.current, 16, 1)
                                                          .Text(c.income, 16, 1)
                                                          .Text(c.yield, 8, 1)
                                                          .Text(c.gain, 16, 1)
                                                          .Text(c.gain_percent, 8, 1));
        ++page.lines;
    }

    Columns t;
    if (!any_begin_missing) t.beginning = Amount16(total_begin);
    if (!any_current_missing) {
        t.current = Amount16(total_current);
        t.income = Amount16(total_income);
        const double base = yield_on_cost ? total_cost : total_current;
        t.yield = PercentText(base != 0 ? total_income * 100 / base : 0);
    }
    if (!any_begin_missing && !any_current_missing) {
        const double gain = total_current - total_begin;
        t.gain = Amount16(gain);
        t.gain_percent = PercentText(GainPercent(gain, total_begin));
    }
    if (suppress_beginning) {
        t.beginning = t.gain = kValueBlank;
        t.gain_percent = kPercentBlank;
    }
    frame.Blank();
    frame.Write("(1X,'CONSOLIDATED PORTFOLIO',10X,A16,A16,A16,A8,A16,A8)", Items()
                                                                               .Text(t.beginning, 16, 1)
                                                                               .Text(t.current, 16, 1)
                                                                               .Text(t.income, 16, 1)
                                                                               .Text(t.yield, 8, 1)
                                                                               .Text(t.gain, 16, 1)
                                                                               .Text(t.gain_percent, 8, 1));
    if (selected == 0) frame.Write("('No accounts for manager ',A4,' to report.')", Items().Text(code, 4, 1));
}

}  // namespace reports
