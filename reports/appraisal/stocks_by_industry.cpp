#include "reports/appraisal/stocks_by_industry.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "records/appraisal_files.h"
#include "records/appraisal_summary.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/appraisal/summary_by_security_type.h"

namespace reports {

namespace {

constexpr int kChartKind = 3;

std::string_view Left(const std::string& text, std::size_t n) {
    return std::string_view(text).substr(0, std::min(n, text.size()));
}

std::string Blank() {
    return std::string(records::kReportLineWidth, ' ');
}

// The amount of a category as the holdings pages wrote it, "(F20.4)".
double Amount(const std::string& text) {
    double v = records::kNoPriceValue;
    if (!records::Read(Left(text, 20), "(F20.4)", {&v})) return records::kNoPriceValue;
    return v;
}

// The page's title and column words, from the common stocks total record.
struct Columns {
    std::string title = std::string(28, ' ');
    std::string underline = std::string(28, ' ');
    std::string first_word = " COMMON ";
    std::string second_word = " STOCKS ";
    std::string word_underline = " ------ ";
};

Columns ColumnsFor(const std::string& description, bool writing) {
    Columns c;
    c.title = records::Fixed(description, 28);
    const std::size_t length = static_cast<std::size_t>(std::max<int>(records::Len28(c.title), 0));
    const char dash = writing ? '-' : '_';
    c.underline = records::Fixed(std::string(length, dash), 28);
    if (c.title.find("COMMON STOCKS") == std::string::npos) {
        c.first_word = "  ASSET ";
        c.second_word = "  CLASS ";
        c.word_underline = std::string("  ") + std::string(5, dash) + " ";
    } else {
        c.word_underline = std::string(" ") + std::string(6, dash) + " ";
    }
    return c;
}

class CategoryPage {
public:
    CategoryPage(AppraisalRun& run, const records::AppraisalSummaryHeader& header,
                 const records::Options& opt)
        : run_(run) {
        p_ = SummaryPages(run, header, opt);
        p_.page = static_cast<int16_t>(records::OptionOn(opt, records::Opt::kNoPortfolioSummary) ? 1 : 2);
    }

    bool started() const { return started_; }
    AppraisalPages& pages() { return p_; }

    // The page heading (Apschd).
    void Apschd(const Columns& c) {
        if (p_.writing()) {
            records::Pghead(p_.page, p_.lines, p_.page_length);
        } else {
            if (started_) records::Peject();
            records::Headr3(p_.page, p_.lines, p_.page_length);
        }
        started_ = true;
        std::string centred = c.title;
        int16_t status = 0;
        if (!records::IsBlank(centred)) records::Center(centred, 28, status);
        p_.Print(records::Write("(52X,A28)", {std::string_view(centred)}));
        p_.Print(Blank());
        Add(2);
        const bool address = run_.current.address_word != 0;
        if (!address) {
            std::string date = p_.report_date;
            const std::string long_date = records::H2000(date);
            p_.Print(records::Write("(62X,A12)", {Left(long_date, 12)}));
            p_.Print(Blank());
            p_.Print(records::Write("(51X,A32)", {std::string_view(p_.name)}));
            Add(3);
        } else {
            const std::string id = records::Fixed(p_.account, 6);
            p_.Print(records::Write("(17X,A4,A2,': ',A32)",
                                    {std::string_view(id).substr(0, 4), std::string_view(id).substr(4, 2),
                                     std::string_view(run_.current.lines[0])}));
            Add(1);
            for (std::size_t k = 1; k < run_.current.lines.size(); ++k) {
                const std::string line = records::Fixed(run_.current.lines[k], 32);
                if (records::IsBlank(line)) continue;
                p_.Print(records::Write("(17X,A32)", {std::string_view(line)}));
                Add(1);
            }
        }
        p_.Print(Blank());
        p_.Print(Blank());
        p_.Print(records::Write("(65X,'                    % OF              % OF')"));
        p_.Print(records::Write("(65X,'MARKET            ',A8,'            TOTAL')",
                                {std::string_view(c.first_word)}));
        p_.Print(records::Write("(27X,A28,11X,'VALUE            ',A8,'          PORTFOLIO') ",
                                {std::string_view(c.title), std::string_view(c.second_word)}));
        p_.Print(records::Write("(27X,A28,11X,'-----            ',A8,'          ---------') ",
                                {std::string_view(c.underline), std::string_view(c.word_underline)}));
        p_.Print(Blank());
        p_.Print(Blank());
        Add(2);
    }

    void Add(int n) { p_.lines = static_cast<int16_t>(p_.lines + n); }

private:
    AppraisalRun& run_;
    AppraisalPages p_;
    bool started_ = false;
};

// The chart file of the account, made anew beside the earlier one and put
// in its place when the page is done, so that a run that cannot write it
// keeps the earlier file whole.
class ChartFile {
public:
    ChartFile(int kind, const std::string& account_name) : pie_(kind == kChartKind) {
        file_.emplace(pie_ ? kIndustryChartFile : kIndustrySummaryFile);
        if (pie_ && file_->ok())
            file_->WriteLine(
                records::Write("(1X,'COMMON STOCKS - ',A12)", {Left(records::Fixed(account_name, 32), 12)}));
    }
    void Slice(const std::string& description, float percent) {
        if (!file_->ok()) return;
        if (pie_)
            file_->WriteLine(
                records::Write("(1X,A28,4X,F10.1)", {Left(description, 28), static_cast<double>(percent)}));
        else
            file_->WriteLine(records::Write("(1X,F5.1)", {static_cast<double>(percent)}));
    }

private:
    bool pie_;
    std::optional<records::TextReplacement> file_;
};

}  // namespace

void Apstkcat(AppraisalRun& run, int16_t& step) {
    const records::Options opt = records::Rdopts();
    const SummaryControl control = ReadSummaryControl(run);
    AppraisalPages end_state;
    {
        const SummaryWorkFile work;
        records::AppraisalSummaryHeader header;
        if (work.ok()) header = work.header();
        CategoryPage page(run, header, opt);
        // The chart file is written for every account, so that it never
        // shows an earlier account's categories; without common stocks it
        // holds the title line alone.
        ChartFile chart(records::OptionValue(opt, records::Opt::kAppraisalExportType), header.name);
        const auto total =
            work.ok() && header.stock_records > 0 ? work.Line(header.stock_total_index + 1) : std::nullopt;
        if (total) {
            const double stock_total = Amount(total->texts[0]);
            const Columns columns = ColumnsFor(total->name, page.pages().writing());
            AppraisalPages& p = page.pages();
            for (int i = header.first_category_index; i < header.stock_total_index; ++i) {
                const auto l = work.Line(i + 1);
                if (!l) continue;
                const double amount = Amount(l->texts[0]);
                std::string percent = "  N/A   ";
                if (stock_total > 0 && amount != records::kNoPriceValue) {
                    const float share = static_cast<float>(amount / stock_total * 100.0);
                    percent = records::Write("(F5.1,'%  ')", {static_cast<double>(share)});
                    chart.Slice(l->name, share);
                }
                if (records::IsBlank(l->name)) continue;
                if (!page.started()) page.Apschd(columns);
                if (p.lines >= p.page_length - 4) page.Apschd(columns);
                p.Print(records::Write("(16X,A28,13X,A16,11X,A8,10X,A8)",
                                       {Left(l->name, 28), Left(l->texts[2], 16), std::string_view(percent),
                                        Left(l->texts[1], 8)}));
                page.Add(1);
            }
            if (page.started()) {
                if (const auto again = work.Line(header.stock_total_index + 1)) {
                    if (p.lines >= p.page_length) page.Apschd(columns);
                    p.Print(records::Write("(57X,'----------------',11X,'------',12X,'--------') "));
                    p.Print(records::Write("(21X,'TOTAL ',A28,2X,A16,11X,'100.0%',12X,A8)",
                                           {std::string_view(columns.title), Left(again->texts[2], 16),
                                            Left(again->texts[1], 8)}));
                    p.Print(records::Write("(57X,'================',11X,'======',12X,'========') "));
                    page.Add(3);
                }
            }
        }
        if (!page.pages().writing() && page.started()) records::Peject();
        end_state = page.pages();
    }
    // TEMPHSUM.FIL is emptied and deleted.
    {
        records::DirectFile file(records::kAppraisalSummaryFile, records::kWorkRecordLength,
                                 /*create=*/false);
        if (file.ok()) file.Write(1, records::Record(records::kWorkRecordLength));
    }
    records::Purge(records::kAppraisalSummaryFile);
    if (control.count > 0 && control.count > control.index) {
        step = kStepGather;
    } else {
        records::DirectFile file(records::kAppraisalControlFile, records::kWorkRecordLength);
        file.Write(1, records::FinishedControlHeader());
        step = kStepFinished;
    }
    records::Prmsg(end_state.lines, end_state.page_length, end_state.mode, Blank());
}

}  // namespace reports
