#include "reports/appraisal/summary_by_security_type.h"

#include <array>
#include <cmath>
#include <string_view>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/appraisal/appraisal_holdings_pages.h"
#include "reports/performance/period_returns.h"

namespace reports {

namespace {

using records::AppraisalSummaryLine;

std::string_view Left(const std::string& text, std::size_t n) {
    return std::string_view(text).substr(0, std::min(n, text.size()));
}

std::string Blank() {
    return std::string(records::kReportLineWidth, ' ');
}

void AddLines(AppraisalPages& p, int n) {
    p.lines = static_cast<int16_t>(p.lines + n);
}

// The page heading service and the title, date and account block that
// every summary heading starts with.
void SummaryHeadingTop(AppraisalPages& p) {
    if (p.writing())
        records::Pghead(p.page, p.lines, p.page_length);
    else
        records::Headr2(p.page, p.lines, p.page_length);
    std::string date = p.report_date;
    const std::string long_date = records::H2000(date);
    p.Print(records::Write("(52X,'SUMMARY OF INVESTMENT PORTFOLIO')"));
    p.Print(Blank());
    p.Print(records::Write("(62X,A12)", {Left(long_date, 12)}));
    p.Print(Blank());
    const bool address = p.shared != nullptr && p.shared->address_word != 0;
    if (!address) {
        p.Print(records::Write("(51X,A32)", {std::string_view(p.name)}));
        return;
    }
    const std::string id = records::Fixed(p.account, 6);
    p.Print(records::Write("(17X,A4,A2,': ',A32)",
                           {std::string_view(id).substr(0, 4), std::string_view(id).substr(4, 2),
                            std::string_view(p.shared->lines[0])}));
    AddLines(p, 1);
    for (std::size_t k = 1; k < p.shared->lines.size(); ++k) {
        const std::string line = records::Fixed(p.shared->lines[k], 32);
        if (records::IsBlank(line)) continue;
        p.Print(records::Write("(17X,A32)", {std::string_view(line)}));
        AddLines(p, 1);
    }
}

// A percentage of the type tables: "(F8.1,'%')", nine blanks for an entry
// that is not available.
std::string TablePercent(float value) {
    if (value == kSummaryNotAvailable) return std::string(9, ' ');
    return records::Write("(F8.1,'%')", {static_cast<double>(value)});
}

// part / total x 100: 0 for a zero total, not available for an entry that
// is not.
float ShareOf(float part, double total) {
    if (part == kSummaryNotAvailable) return kSummaryNotAvailable;
    if (total == 0) return 0;
    return static_cast<float>(part / total * 100.0);
}

// A rate of return as "(F5.1,'%')", "  N/A " when not available.
std::string Rate(float value) {
    if (value == kSummaryNotAvailable) return "  N/A ";
    return records::Write("(F5.1,'%')", {static_cast<double>(value)});
}

// The generic asset allocation model: ST, IT, LT income, income & growth,
// conservative growth, aggressive growth, inflation hedge; and the
// inflation plus figure.
struct ModelRow {
    const char* code;
    const char* label;  // 20 characters
    std::array<int, 7> shares;
    int inflation_plus;
};
constexpr std::array<ModelRow, 4> kModel = {{
    {"CI  ", "CONSERVATIVE INCOME ", {7, 15, 33, 25, 10, 0, 10}, 5},
    {"TR  ", "TOTAL RETURN        ", {5, 5, 15, 35, 20, 10, 10}, 8},
    {"CG  ", "CONSERVATIVE GROWTH ", {5, 5, 10, 20, 25, 25, 5}, 5},
    {"AG  ", "AGGRESIVE GROWTH    ", {2, 3, 5, 20, 20, 40, 10}, 14},
}};

std::string ModelLine(std::string_view label, const std::array<int, 7>& s) {
    return records::Write(
        "(2X,A20,4X,I3,'%',1X,I3,'%',1X,I3,'%',2X,I3,'%',7X,I3,'%',7X,I3,'%',7X,I3,'%')",
        {label, static_cast<long long>(s[0]), static_cast<long long>(s[1]), static_cast<long long>(s[2]),
         static_cast<long long>(s[3]), static_cast<long long>(s[4]), static_cast<long long>(s[5]),
         static_cast<long long>(s[6])});
}

void ModelHeads(AppraisalPages& p) {
    p.Print(records::Write(
        "(2X,'ACCOUNT TYPE',16X,'INCOME',4X,'INCOME &',3X,'CONSERV.',4X,'AGGRES.',3X,'INFLATION') "));
    p.Print(records::Write(
        "(2X,'& OBJECTIVE',14X,'ST   IT   LT',2X,'GROWTH',5X,'GROWTH',5X,'GROWTH',6X,'HEDGE') "));
}

// The performance and allocation section.
void Apperf(AppraisalPages& p, const records::AppraisalSummaryHeader& header, const AppraisalReturns& r) {
    const records::Options& opt = p.options;
    if (records::OptionOn(opt, records::Opt::kTimeWeightedReturn)) {
        if (p.writing()) {
            for (int i = 0; i < 3; ++i) p.Print(Blank());
            p.Print(records::Write("(12X,'PORTFOLIO PERFORMANCE',20X,'S&P 500 PERFORMANCE')"));
            p.Print(Blank());
            p.Print(records::Write("(8X,'LAST',6X,'LAST',8X,'SINCE',15X,'LAST',6X,'LAST',5X,'SINCE') "));
            p.Print(records::Write(
                "(8X,'6 MOS',4X,'12 MOS',5X,'INCEPTION',13X,'6 MOS',4X,'12 MOS',2X,'INCEPTION')"));
            p.Print(records::Write(
                "(8X,'-----',4X,'------',5X,'---------',13X,'-----',4X,'------',2X,'---------')"));
            const std::array<std::string, 6> t = {Rate(r.six_months),          Rate(r.twelve_months),
                                                  Rate(r.since_start),         Rate(r.index_six_months),
                                                  Rate(r.index_twelve_months), Rate(r.index_since_start)};
            p.Print(records::Write("(7X,A6,4X,A6,6X,A6,14X,A6,4X,A6,3X,A6)",
                                   {std::string_view(t[0]), std::string_view(t[1]), std::string_view(t[2]),
                                    std::string_view(t[3]), std::string_view(t[4]), std::string_view(t[5])}));
        } else if (p.lines >= p.page_length - 10) {
            records::Headr2(p.page, p.lines, p.page_length);
        }
        AddLines(p, 10);
    }
    if (!records::OptionOn(opt, records::Opt::kGenericAllocationModel)) return;
    if (!p.writing()) {
        records::Headr2(p.page, p.lines, p.page_length);
        AddLines(p, 12);
        return;
    }
    const std::string objective(reinterpret_cast<const char*>(header.work_word.data()), 4);
    const ModelRow* row = nullptr;
    for (const ModelRow& m : kModel)
        if (objective == m.code) row = &m;
    int printed = 0;
    auto line = [&](const std::string& text) {
        p.Print(text);
        ++printed;
    };
    line(Blank());
    line(records::Write("(27X,'GENERIC ASSET ALLOCATION MODEL')"));
    line(Blank());
    line(records::Write("(38X,A8)", {std::string_view(p.report_date)}));
    line(Blank());
    line(records::Write("(26X,A32)", {std::string_view(p.name)}));
    line(Blank());
    line(Blank());
    ModelHeads(p);
    printed += 2;
    line(Blank());
    if (row != nullptr) {
        line(ModelLine(row->label, row->shares));
        line(records::Write("(2X,'INFLATION PLUS ',I3,'%')", {static_cast<long long>(row->inflation_plus)}));
    }
    line(Blank());
    line(Blank());
    line(records::Write("(33X,'CURRENT PORTFOLIO')"));
    line(Blank());
    ModelHeads(p);
    printed += 2;
    line(Blank());
    if (row != nullptr) {
        std::array<int, 7> current{};
        for (std::size_t c = 0; c < current.size(); ++c) current[c] = header.allocation[c];
        line(ModelLine(row->label, current));
    }
    AddLines(p, printed);
}

}  // namespace

SummaryControl ReadSummaryControl(AppraisalRun& run) {
    SummaryControl c;
    const records::DirectFile control(records::kAppraisalControlFile, records::kWorkRecordLength,
                                      /*create=*/false);
    records::Record rec;
    if (!control.ok() || !control.Read(1, rec)) return c;
    c.read = true;
    c.slot = records::AppraisalControlHeader::Decode(rec).slot;
    if (c.slot <= 0) return c;
    if (!control.Read(c.slot + 1, rec)) {
        c.read = false;
        return c;
    }
    const records::AppraisalControlAccount account = records::AppraisalControlAccount::Decode(rec);
    run.current.id = account.account;
    c.index = account.index;
    c.count = account.count;
    return c;
}

SummaryWorkFile::SummaryWorkFile()
    : file_(records::kAppraisalSummaryFile, records::kWorkRecordLength, /*create=*/false) {
    records::Record rec;
    if (file_.ok() && file_.Read(1, rec)) header_ = records::AppraisalSummaryHeader::Decode(rec);
}

std::optional<AppraisalSummaryLine> SummaryWorkFile::Line(long n) const {
    records::Record rec;
    if (!file_.ok() || !file_.Read(n, rec)) return std::nullopt;
    return AppraisalSummaryLine::Decode(rec);
}

AppraisalPages SummaryPages(const AppraisalRun& run, const records::AppraisalSummaryHeader& header,
                            const records::Options& options) {
    AppraisalPages p;
    p.page = 1;
    p.lines = 0;
    p.mode = run.output_mode;
    p.options = options;
    p.report_date = records::Fixed(header.report_date, 8);
    p.account = records::Fixed(run.current.id, 8);
    p.name = records::Fixed(header.heading_name, 32);
    p.shared = &run.current;
    return p;
}

void Apshd1(AppraisalPages& p, bool with_gain_columns) {
    SummaryHeadingTop(p);
    const bool by_class = records::OptionValue(p.options, records::Opt::kPortfolioSummaryType) == 3;
    const bool cost = records::OptionOn(p.options, records::Opt::kYieldOnCost);
    const std::string_view a11 = by_class ? "ASSET CLASS" : " PORTFOLIO ";
    const std::string_view u11 = by_class ? "-----------" : " --------- ";
    const std::string_view basis = cost ? "COST" : "MKT ";
    const std::string_view close = cost ? "-" : " ";
    p.Print(Blank());
    if (!with_gain_columns) {
        p.Print(records::Write("(88X,'ESTIMATED',6X,'YIELD')"));
        p.Print(records::Write("(59X,'MARKET',12X,'% OF',9X,'ANNUAL',9X,'TO')"));
        p.Print(records::Write("(59X,'VALUE ',9X,A11,5X,'INCOME',8X,A4)", {a11, basis}));
        p.Print(records::Write("(59X,'----- ',9X,A11,5X,'------',7X,' ---',A1)", {u11, close}));
    } else {
        p.Print(records::Write("(81X,'ESTIMATED',26X,'YIELD')"));
        p.Print(records::Write("(52X,'MARKET',12X,'% OF',9X,'ANNUAL',7X,'% OF',6X,'% OF',7X,'TO')"));
        p.Print(records::Write("(52X,'VALUE ',9X,A11,5X,'INCOME',6X,'INCOME',2X,'UNREAL G/L',4X,A4)",
                               {a11, basis}));
        p.Print(records::Write("(52X,'----- ',9X,A11,5X,'------',6X,'------',2X,'----------',4X,'---',A1)",
                               {u11, close}));
    }
    AddLines(p, 5);
}

void Apshd2(AppraisalPages& p) {
    SummaryHeadingTop(p);
    p.Print(Blank());
    p.Print(records::Write("(1X)"));
    p.Print(records::Write("(69X,'MARKET',12X,'% OF')"));
    p.Print(records::Write("(69X,'VALUE ',10X,'PORTFOLIO')"));
    p.Print(records::Write("(68X,'------',10X,'---------')"));
    AddLines(p, 12);
}

namespace {

void TypeLineSpacing(AppraisalPages& p) {
    if (records::OptionValue(p.options, records::Opt::kPortfolioSummaryType) <= 1) p.Print(Blank());
}

}  // namespace

void Apsln1(AppraisalPages& p, const std::string& name, const std::string& percent, const std::string& market,
            const std::string& yield, const std::string& income) {
    TypeLineSpacing(p);
    p.Print(records::Write(
        "(13X,A28,11X,A16,8X,A8,3X,A9,5X,A8)",
        {Left(name, 28), Left(market, 16), Left(percent, 8), Left(income, 9), Left(yield, 8)}));
}

void Apsln2(AppraisalPages& p, const std::string& name, const std::string& percent, const std::string& market,
            const std::string& yield, const std::string& income, float income_percent, float gain_percent,
            bool gain_not_available) {
    TypeLineSpacing(p);
    const std::string income_text = TablePercent(income_percent);
    std::string gain_text = TablePercent(gain_percent);
    if (gain_not_available && gain_percent != kSummaryNotAvailable) gain_text = "     N/A ";
    p.Print(records::Write("(13X,A28,4X,A16,8X,A8,3X,A9,3X,A9,A9,4X,A8)",
                           {Left(name, 28), Left(market, 16), Left(percent, 8), Left(income, 9),
                            std::string_view(income_text), std::string_view(gain_text), Left(yield, 8)}));
}

void Apsln3(AppraisalPages& p, const std::string& name, const std::string& percent,
            const std::string& market) {
    TypeLineSpacing(p);
    p.Print(records::Write("(13X,A28,21X,A16,8X,A8)", {Left(name, 28), Left(market, 16), Left(percent, 8)}));
}

void Clntapr3(AppraisalRun& run, int16_t& step) {
    const records::Options opt = records::Rdopts();
    step = kStepCategoryPage;
    if (records::OptionOn(opt, records::Opt::kNoPortfolioSummary)) return;

    // Totals of the type tables.
    double income_total = 0, gain_total = 0;
    bool gain_not_available = false;
    for (std::size_t j = 0; j < run.group_income.size(); ++j) {
        if (run.group_income[j] != kSummaryNotAvailable) income_total += run.group_income[j];
        if (run.group_gain[j] != kSummaryNotAvailable) {
            gain_total += run.group_gain[j];
            if (run.group_gain[j] < 0) gain_not_available = true;
        }
    }
    gain_total += run.total_accrued;
    if (gain_total <= 0) gain_not_available = true;
    const std::string gain_total_text = gain_not_available ? "  N/A " : "100.0%";

    const SummaryControl control = ReadSummaryControl(run);
    const SummaryWorkFile work;
    const records::AppraisalSummaryHeader header = work.HeaderOrEmpty();
    AppraisalPages p = SummaryPages(run, header, opt);
    const int type_layout = records::OptionOn(opt, records::Opt::kNoSummaryIncomeYield)        ? 3
                            : records::OptionOn(opt, records::Opt::kSummaryIncomeGainPercents) ? 2
                                                                                               : 1;
    auto heading = [&] {
        if (type_layout == 3)
            Apshd2(p);
        else
            Apshd1(p, type_layout == 2);
    };
    auto type_line = [&](const AppraisalSummaryLine& l, float income_part, float gain_part) {
        const auto& t = l.texts;
        if (type_layout == 3)
            Apsln3(p, l.name, t[0], t[2]);
        else if (type_layout == 1)
            Apsln1(p, l.name, t[0], t[2], t[4], t[5]);
        else
            Apsln2(p, l.name, t[0], t[2], t[4], t[5], ShareOf(income_part, income_total),
                   ShareOf(gain_part, gain_total), gain_not_available);
        AddLines(p, 2);
    };

    const int16_t n = header.count;
    // A composite runs without a control file by design: it is one account.
    if ((control.read || run.composite) && work.ok() && header.stock_records >= 0 && n > 0) {
        heading();
        std::size_t j = 0;
        for (int k = 1; k <= n - 1; ++k) {
            if (k >= header.first_category_index && k <= header.stock_total_index) continue;
            const auto l = work.Line(k + 1);
            if (!l) continue;
            if (l->kind <= 0) break;
            const float income = j < kUnmanagedGroupSlot ? run.group_income[j] : kSummaryNotAvailable;
            const float gain = j < kUnmanagedGroupSlot ? run.group_gain[j] : kSummaryNotAvailable;
            ++j;
            if (p.lines >= p.page_length) heading();
            type_line(*l, income, gain);
        }
        const auto totals = work.Line(n + 1);
        if (totals && totals->kind == 0) {
            if (p.lines >= p.page_length) heading();
            const auto& t = totals->texts;
            if (type_layout == 3) {
                p.Print(records::Write("(61X,'----------------',10X,'------')"));
                p.Print(records::Write("(29X,'TOTAL PORTFOLIO',18X,A16,9X,'100.0%')", {Left(t[1], 16)}));
                p.Print(records::Write("(61X,'================',10X,'======')"));
            } else if (type_layout == 1) {
                p.Print(records::Write("(51X,'----------------',10X,'------',5X,'--------',6X,' -----')"));
                p.Print(records::Write("(19X,'TOTAL PORTFOLIO',18X,A16,9X,'100.0%',4X,A9,5X,A8)",
                                       {Left(t[1], 16), Left(t[4], 9), Left(t[3], 8)}));
                p.Print(records::Write("(51X,'================',10X,'======',5X,'========',6X,' =====')"));
            } else {
                p.Print(
                    records::Write("(44X,'----------------',10X,'------',5X,'--------',6X,'------',3X,"
                                   "'------',6X,'-----')"));
                p.Print(records::Write(
                    "(19X,'TOTAL PORTFOLIO',11X,A16,9X,'100.0%',4X,A9,6X,'100.0%',3X,A6,4X,A8)",
                    {Left(t[1], 16), Left(t[4], 9), std::string_view(gain_total_text), Left(t[3], 8)}));
                p.Print(
                    records::Write("(44X,'================',10X,'======',5X,'========',6X,'======',3X,"
                                   "'======',6X,'=====')"));
            }
            AddLines(p, 4);
        }
        if (const auto after = work.Line(n + 2); after && after->kind > 0) {
            p.Print(records::Write("(1X)"));
            type_line(*after, run.group_income[kUnmanagedGroupSlot], run.group_gain[kUnmanagedGroupSlot]);
        }
    }

    // The rates of return of the whole portfolio, set to not available
    // first so that a figure Mnappr2 cannot give (or a composite, which has
    // no value history) prints "N/A".
    AppraisalReturns returns;
    if (records::OptionOn(opt, records::Opt::kTimeWeightedReturn) && !run.composite) {
        AppraisalPerformanceRequest request = HoldingPerformanceRequest(
            run.current.id, std::string(12, ' '), header.report_date, run.index_periods);
        request.start_date = records::Fixed(run.current.date_opened, 8);
        request.opening_value = run.current.opening_value;
        request.begin_index_level = run.current.index2_level;
        request.begin_figure = 0;
        returns = Mnappr2(request, opt);
    }
    Apperf(p, header, returns);
    if (records::OptionValue(opt, records::Opt::kAppendNotes) == 2) Apacct(run.current.index, 1, p);
    if (!p.writing()) records::Peject();
    records::Prmsg(p.lines, p.page_length, p.mode, Blank());
}

}  // namespace reports
