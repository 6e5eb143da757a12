#include "reports/appraisal/summary_against_target.h"

#include <algorithm>
#include <string_view>

#include "records/common_file.h"
#include "records/dates.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/appraisal/summary_by_security_type.h"

namespace reports {

namespace {

// The target byte of a group that has no target.
constexpr int kNoTarget = 157;
constexpr std::array<int, 22> kTargetOrder = {2,  4,  5,  6,  7,  33, 8,  10, 12, 13, 14,
                                              34, 16, 26, 24, 35, 18, 20, 22, 28, 29, 30};

std::string_view Left(const std::string& text, std::size_t n) {
    return std::string_view(text).substr(0, std::min(n, text.size()));
}

std::string Blank() {
    return std::string(records::kReportLineWidth, ' ');
}

// An income text of the holdings pages holds its amount in positions 1-9
// (and a blank in 10); its eight-character column takes positions 2-9, so
// that the units digit stays, unless position 1 is in use.
std::string Income8(const std::string& text) {
    const std::string t = records::Fixed(text, 9);
    return t[0] == ' ' ? t.substr(1, 8) : t.substr(0, 8);
}

void Apthd(AppraisalPages& p) {
    const bool cost = records::OptionOn(p.options, records::Opt::kYieldOnCost);
    const std::string_view basis = cost ? "COST" : "MKT ";
    const std::string_view close = cost ? "-" : " ";
    if (p.writing())
        records::Pghead(p.page, p.lines, p.page_length);
    else
        records::Headr2(p.page, p.lines, p.page_length);
    p.Print(records::Write("(51X,'SUMMARY OF INVESTMENT PORTFOLIO')"));
    p.Print(Blank());
    p.Print(records::Write("(63X,A8)", {std::string_view(p.report_date)}));
    p.Print(Blank());
    const bool address = p.shared != nullptr && p.shared->address_word != 0;
    if (!address) {
        p.Print(records::Write("(51X,A32)", {std::string_view(p.name)}));
    } else {
        const std::string id = records::Fixed(p.account, 6);
        p.Print(records::Write("(3X,A8,6X,A4,A2,': ',A32)",
                               {std::string_view(p.report_date), std::string_view(id).substr(0, 4),
                                std::string_view(id).substr(4, 2), std::string_view(p.shared->lines[0])}));
        p.lines = static_cast<int16_t>(p.lines + 1);
        for (std::size_t k = 1; k < p.shared->lines.size(); ++k) {
            const std::string line = records::Fixed(p.shared->lines[k], 32);
            if (records::IsBlank(line)) continue;
            p.Print(records::Write("(17X,A32)", {std::string_view(line)}));
            p.lines = static_cast<int16_t>(p.lines + 1);
        }
    }
    p.Print(Blank());
    p.Print(records::Write("(51X,'ACTUAL',6X,'TARGET',3X,'ESTIMATED',4X,'YIELD') "));
    p.Print(records::Write("(36X,'MARKET',10X,'% OF',8X,'% OF',6X,'ANNUAL',6X,'TO')"));
    p.Print(records::Write("(36X,'VALUE ',7X,'PORTFOLIO',3X,'PORTFOLIO',4X,'INCOME',6X,A4)", {basis}));
    p.Print(records::Write("(36X,'----- ',7X,'---------',3X,'---------',4X,'------',5X,' ---',A1)", {close}));
    // The page heading service has advanced the page number; it is not
    // advanced a second time.
    p.lines = static_cast<int16_t>(p.lines + 12);
}

void Aptln(AppraisalPages& p, const records::AppraisalSummaryLine& l, int target) {
    const std::string target_text = target == kNoTarget
                                        ? std::string(9, ' ')
                                        : records::Write("(3X,I3,'.0%')", {static_cast<long long>(target)});
    p.Print(Blank());
    p.Print(records::Write(
        "(1X,A28,A16,4X,A8,2X,A9,4X,A8,3X,A8) ",
        {Left(l.name, 28), Left(l.texts[2], 16), Left(l.texts[0], 8), std::string_view(target_text),
         std::string_view(Income8(l.texts[5])), Left(l.texts[4], 8)}));
}

}  // namespace

int TargetPosition(int type_number) {
    const auto it = std::find(kTargetOrder.begin(), kTargetOrder.end(), type_number);
    return it == kTargetOrder.end() ? 0 : static_cast<int>(it - kTargetOrder.begin()) + 1;
}

void Ctfnk3(AppraisalRun& run, int16_t& step, const std::array<int8_t, 23>& target) {
    const records::Options opt = records::Rdopts();
    step = kStepCategoryPage;
    if (records::OptionOn(opt, records::Opt::kNoPortfolioSummary)) return;

    const SummaryControl control = ReadSummaryControl(run);
    const SummaryWorkFile work;
    const records::AppraisalSummaryHeader header = work.HeaderOrEmpty();
    AppraisalPages p = SummaryPages(run, header, opt);
    const std::string accrued_name = records::Fixed("TOTAL ACCRUED INTEREST", 28);

    const int16_t c = header.count;
    if (control.read && work.ok() && header.stock_records >= 0 && c > 0) {
        Apthd(p);
        for (int i = 1; i != c && i < c; ++i) {
            if (i >= header.first_category_index && i <= header.stock_total_index) continue;
            const auto l = work.Line(i + 1);
            if (!l) continue;
            if (l->kind <= 0) break;
            int byte = kNoTarget;
            if (records::Fixed(l->name, 28) != accrued_name) {
                const int position = TargetPosition(l->last_type);
                byte = position > 0 ? target[static_cast<std::size_t>(position - 1)] : 0;
            }
            if (p.lines >= p.page_length) Apthd(p);
            Aptln(p, *l, byte);
            p.lines = static_cast<int16_t>(p.lines + 2);
        }
        if (const auto t = work.Line(c + 1); t && t->kind == 0) {
            if (p.lines >= p.page_length) Apthd(p);
            p.Print(
                records::Write("(28X,'----------------',6X,'------',6X,'------',4X,'--------',5X,'-----')"));
            p.Print(records::Write(
                "(1X,'TOTAL PORTFOLIO',13X,A16,5X,'100.0%',6X,'100.0%',4X,A8,3X,A8)",
                {Left(t->texts[1], 16), std::string_view(Income8(t->texts[4])), Left(t->texts[3], 8)}));
            p.Print(
                records::Write("(28X,'================',6X,'======',6X,'======',4X,'========',5X,'=====')"));
            p.lines = static_cast<int16_t>(p.lines + 4);
        }
        if (const auto after = work.Line(c + 2); after && after->kind > 0) {
            p.Print(records::Write("(1X)"));
            Aptln(p, *after, kNoTarget);
            p.lines = static_cast<int16_t>(p.lines + 2);
        }
    }
    if (records::OptionValue(opt, records::Opt::kAppendNotes) == 2) Apacct(run.current.index, 1, p);
}

}  // namespace reports
