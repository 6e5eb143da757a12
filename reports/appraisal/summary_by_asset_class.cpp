#include "reports/appraisal/summary_by_asset_class.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "records/amounts.h"
#include "records/common_file.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/appraisal/summary_by_security_type.h"
#include "reports/kernel/amount_texts.h"

namespace reports {

namespace {

std::string_view Left(const std::string& text, std::size_t n) {
    return std::string_view(text).substr(0, std::min(n, text.size()));
}

std::string Blank() {
    return std::string(records::kReportLineWidth, ' ');
}

const char* const kTypeCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
constexpr std::array<const char*, 4> kClassCodes = {"CE", "FI", "EQ", "O "};
constexpr std::array<const char*, 4> kClassLabels = {"CASH EQUIVALENTS", "FIXED INCOME    ",
                                                     "EQUITIES        ", "OTHER           "};
constexpr std::array<int, 4> kUnderlines = {16, 12, 8, 5};

// The class of a group by the type number of its last holding.
std::string ClassOf(const engine::CategoryTable& classes, int16_t type_number) {
    if (type_number < 1 || type_number > 37) return "O ";
    return engine::CategoryOf(classes, std::string_view(kTypeCharacters + type_number - 1, 1));
}

// A printed amount read back as a number: separators dropped, a bracketed
// amount negative, a whole amount (no point) taken in whole units. False
// for a text that does not read (for instance "N/A").
bool AmountOfText(const std::string& text, double& value) {
    std::string digits;
    bool negative = false;
    for (char c : text) {
        if (c == ',' || c == ')') continue;
        if (c == '(') {
            negative = true;
            continue;
        }
        digits += c;
    }
    const std::size_t first = digits.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    digits = digits.substr(first, digits.find_last_not_of(' ') - first + 1);
    if (digits.find('.') == std::string::npos) digits += '.';
    if (digits.size() > 15) return false;
    double v = 0;
    if (!records::Read(std::string(15 - digits.size(), ' ') + digits, "(F15.2)", {&v})) return false;
    value = negative ? -v : v;
    return true;
}

}  // namespace

void Apsumac(AppraisalRun& run, int16_t& step, const engine::CategoryTable& classes) {
    const records::Options opt = records::Rdopts();
    step = kStepCategoryPage;
    if (records::OptionOn(opt, records::Opt::kNoPortfolioSummary)) return;

    const bool market_only = records::OptionOn(opt, records::Opt::kNoSummaryIncomeYield);
    const bool by_class = records::OptionValue(opt, records::Opt::kPortfolioSummaryType) == 3;
    const SummaryControl control = ReadSummaryControl(run);
    const SummaryWorkFile work;
    const records::AppraisalSummaryHeader header = work.HeaderOrEmpty();
    AppraisalPages p = SummaryPages(run, header, opt);
    auto heading = [&] {
        if (market_only)
            Apshd2(p);
        else
            Apshd1(p, /*with_gain_columns=*/false);
    };
    auto type_line = [&](const records::AppraisalSummaryLine& l, const std::string& percent) {
        if (market_only)
            Apsln3(p, l.name, percent, l.texts[2]);
        else
            Apsln1(p, l.name, percent, l.texts[2], l.texts[4], l.texts[5]);
        p.lines = static_cast<int16_t>(p.lines + 2);
    };

    const int16_t n = header.count;
    // A composite runs without a control file by design: it is one account.
    if ((control.read || run.composite) && work.ok() && header.stock_records >= 0 && n > 0) {
        heading();
        const AssetClassTotals& totals = run.classes;
        double portfolio = 0;
        for (double v : totals.market_value) portfolio += v;
        for (std::size_t c = 0; c < kClassCodes.size(); ++c) {
            int members = 0;
            for (int k = 1; k <= n - 1; ++k) {
                if (k >= header.first_category_index && k <= header.stock_total_index) continue;
                const auto l = work.Line(k + 1);
                if (!l) continue;
                if (l->kind <= 0) break;
                if (ClassOf(classes, l->last_type) != kClassCodes[c]) continue;
                if (++members == 1) {
                    p.Print(Blank());
                    p.Print(records::Write("(1X,A16)", {std::string_view(kClassLabels[c])}));
                    p.Print(records::Write(
                        "(1X,A16)", {std::string_view(records::Fixed(
                                        std::string(static_cast<std::size_t>(kUnderlines[c]), '-'), 16))}));
                    p.lines = static_cast<int16_t>(p.lines + 3);
                }
                if (p.lines >= p.page_length) heading();
                std::string percent = l->texts[0];
                double market = 0;
                if (by_class && AmountOfText(l->texts[2], market) && market != 0 &&
                    totals.market_value[c] != 0)
                    percent = records::Write("(F6.1,'% ')", {market / totals.market_value[c] * 100.0});
                type_line(*l, percent);
            }
            if (members < 2) continue;
            const double class_market = totals.market_value[c];
            const double share = by_class ? 100.0 : portfolio != 0 ? class_market / portfolio * 100.0 : 0.0;
            const double base =
                records::OptionOn(opt, records::Opt::kYieldOnCost) ? totals.cost[c] : class_market;
            const double yield = base > 0 ? totals.annual_income_unrounded[c] * 100.0 / base : 0.0;
            double market_value = class_market;
            std::string market_text;
            records::Form16(market_value, 0.0, market_text);
            // The whole amount stands in positions 1-11 and its point in 12,
            // which the column (A11) leaves off.
            const std::string income_text = NumberText(totals.annual_income[c], "(F12.0,' ')", 11, false);
            if (!market_only)
                p.Print(records::Write("(51X,'----------------',10X,'------',5X,'---------',5X,' -----')"));
            else
                p.Print(records::Write("(61X,'----------------',10X,'------')"));
            p.Print(records::Write("(18X,'TOTAL ',A16,12X,A16,2X,F12.1,'%',2X,A11,F11.1,'%') ",
                                   {std::string_view(kClassLabels[c]), Left(market_text, 16), share,
                                    Left(income_text, 11), yield}));
            p.lines = static_cast<int16_t>(p.lines + 2);
        }

        const std::string hundred = by_class ? "      " : "100.0%";
        const std::string dashes = by_class ? "      " : "------";
        const std::string equals = by_class ? "      " : "======";
        if (const auto t = work.Line(n + 1); t && t->kind == 0) {
            if (p.lines >= p.page_length) heading();
            p.Print(Blank());
            if (!market_only) {
                p.Print(records::Write("(51X,'----------------',10X,A6,5X,'---------',5X,' -----')",
                                       {std::string_view(dashes)}));
                p.Print(records::Write("(19X,'TOTAL PORTFOLIO',18X,A16,9X,A6,4X,A9,5X,A8)",
                                       {Left(t->texts[1], 16), std::string_view(hundred),
                                        Left(t->texts[4], 9), Left(t->texts[3], 8)}));
                p.Print(records::Write("(51X,'================',10X,A6,5X,'=========',5X,' =====')",
                                       {std::string_view(equals)}));
            } else {
                p.Print(records::Write("(61X,'----------------',10X,A6)", {std::string_view(dashes)}));
                p.Print(records::Write("(29X,'TOTAL PORTFOLIO',18X,A16,9X,A6)",
                                       {Left(t->texts[1], 16), std::string_view(hundred)}));
                p.Print(records::Write("(61X,'================',10X,A6)", {std::string_view(equals)}));
            }
            p.lines = static_cast<int16_t>(p.lines + 4);
        }
        if (const auto after = work.Line(n + 2); after && after->kind > 0) {
            p.Print(records::Write("(1X)"));
            type_line(*after, after->texts[0]);
        }
    }
    if (records::OptionValue(opt, records::Opt::kAppendNotes) == 2) Apacct(run.current.index, 1, p);
    if (!p.writing()) records::Peject();
    records::Prmsg(p.lines, p.page_length, p.mode, Blank());
}

}  // namespace reports
