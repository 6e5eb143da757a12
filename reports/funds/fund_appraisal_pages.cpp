#include "reports/funds/fund_appraisal_pages.h"

#include "records/chars.h"
#include "records/layout.h"
#include "reports/appraisal/appraisal_holdings_pages.h"

namespace reports {

namespace {

// The column words of the type totals: the gain percentage is not printed.
void TypeTotal(const std::string& type_name, const std::string& percent, const std::string& cost,
               const std::string& market, const std::string&, const std::string& income, float yield,
               AppraisalPages& pages) {
    Amtotl(type_name, percent, cost, market, income, yield, pages);
}

void CategoryTotal(const std::string& percent, const std::string& cost, const std::string& market,
                   const std::string&, const std::string& income, float yield, AppraisalPages& pages) {
    Amctot(percent, cost, market, income, yield, pages);
}

}  // namespace

void Clntamu2(AppraisalRun& run, int16_t& step, const std::vector<int16_t>& order, int16_t title_switch,
              const std::string& title, const engine::CategoryTable& classes) {
    AppraisalPageVariant fund;
    fund.heading = [title_switch, &title](AppraisalPages& pages) { Amhead(pages, title_switch, title); };
    fund.type_subtitle = Amtype;
    fund.category_subtitle = Amcat;
    fund.type_total = TypeTotal;
    fund.category_total = CategoryTotal;
    fund.percent_of_type = false;
    fund.absolute_percent = true;
    fund.blank_quantity_at_zero = true;
    fund.unit_cost_from_basis = true;
    fund.option75 = true;
    fund.accrued_only_positive = true;
    fund.accrued_blank_first = true;
    fund.accrued_fixed_income = true;
    fund.export_file = false;
    int16_t title_flag = 0;
    PrintAppraisalPages(run, order, classes, fund, title_flag);
    step = kStepSummaryPage;
}

void Amhead(AppraisalPages& p, int16_t title_switch, const std::string& title) {
    const std::string title_line =
        title_switch >= 1 ? records::Write("(47X,'M U T U A L   F U N D   A P P R A I S A L')")
                          : records::Write("(35X,A64)", {std::string_view(records::Fixed(title, 64))});
    const HeadingWords w = AppraisalHeadingTop(p, title_line, /*id_blank_line=*/false);
    const auto& rate = w.rate;
    if (!w.ytm) {
        p.Print(records::Write("(92X,'    ',A4,' ESTIMATED YIELD')", {rate[0]}));
        p.Print(records::Write(
            "(1X,'  PAR VALUE',25X,'   UNIT        AMOUNT    MARKET ','     MARKET       % OF   ',"
            "A8,' ANNUAL    TO')",
            {rate[1]}));
        p.Print(records::Write(
            "(1X,'  OR SHARES         DESCRIPTION ','       COST       INVESTED    PRICE       "
            "VALUE  ','    ASSETS    ',A4,'   INCOME   ',A4)",
            {rate[2], std::string_view(w.yield_word)}));
        p.Print(records::Write(
            "(1X,'  ---------         ----------- ','       ----       --------    -----       "
            "-----  ','    ------    ',A4,'   ------   ---',A1)",
            {rate[3], std::string_view(w.underline)}));
    } else {
        p.Print(records::Write("(92X,'          ESTIMATED YIELD')"));
        p.Print(records::Write(
            "(1X,'  PAR VALUE',25X,'   UNIT        AMOUNT    MARKET ','     MARKET       % OF   ',"
            "A8,'  ANNUAL   TO')",
            {rate[0]}));
        p.Print(records::Write(
            "(1X,'  OR SHARES         DESCRIPTION ','       COST       INVESTED    PRICE       "
            "VALUE  ','    ASSETS    ',A4,'    INCOME   ',A4)",
            {rate[1], std::string_view(w.yield_word)}));
        p.Print(records::Write(
            "(1X,'  ---------         ----------- ','       ----       --------    -----       "
            "-----  ','    ------    ',A4,'    ------   ---',A1)",
            {rate[2], std::string_view(w.underline)}));
    }
    AppraisalHeadingEnd(p);
}

void Amtype(int type, std::string& name, int16_t& status, AppraisalPages& p) {
    TypeSubtitle(type, name, status, p, /*two_lines=*/true);
}

void Amcat(int category, std::string& name, int16_t& status, AppraisalPages& p) {
    CategorySubtitle(category, name, status, p, /*count_outside_range=*/false);
}

void Amtotl(const std::string& type_name, const std::string& percent, const std::string& cost,
            const std::string& market, const std::string& income, float yield, AppraisalPages& p) {
    Aptotl(type_name, percent, cost, market, std::string(), income, yield, p);
}

void Amctot(const std::string& percent, const std::string& cost, const std::string& market,
            const std::string& income, float yield, AppraisalPages& p) {
    Apctot(percent, cost, market, std::string(), income, yield, p);
}

}  // namespace reports
