#include "reports/appraisal/appraisal_page_parts.h"

#include "records/account_records.h"
#include "records/chars.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/security_types.h"

namespace reports {

namespace {

constexpr int kCommonStockType = 18;

// The 28-character name in record n of a name table: blanks when it
// cannot be read.
std::string NameRecord(bool (*read)(long, records::Record&), long n) {
    bool found = false;
    return records::NameInRecord(read, n, found);
}

}  // namespace

void AppraisalPages::Print(const std::string& text) const {
    if (writing()) records::Prtout(text);
}

HeadingWords AppraisalHeadingTop(AppraisalPages& p, const std::string& title_line, bool id_blank_line) {
    std::string date = p.report_date;
    const std::string long_date = records::H2000(date);
    const std::string blank(records::kReportLineWidth, ' ');
    if (p.lines > 0) records::Prmsg(p.lines, p.page_length, p.mode, blank);

    HeadingWords words;
    const bool cost_yield = records::OptionOn(p.options, records::Opt::kYieldOnCost);
    words.yield_word = cost_yield ? "COST" : "MKT ";
    words.underline = cost_yield ? (p.writing() ? "-" : "_") : " ";

    const bool first = p.page < 0;
    p.page = static_cast<int16_t>(std::abs(p.page));
    if (!p.writing()) {
        // The counting pass: the shared heading of the unit-4 reports.
        if (first)
            records::Headr3(p.page, p.lines, p.page_length);
        else
            records::Headr2(p.page, p.lines, p.page_length);
    } else {
        records::Pghead(p.page, p.lines, p.page_length);
    }

    p.Print(title_line);
    p.Print(blank);
    p.Print(records::Write("(62X,A12)", {std::string_view(long_date).substr(0, 12)}));
    p.Print(blank);

    const bool address = p.shared != nullptr && p.shared->address_word != 0;
    if (!address) {
        // The title block and the name line count as the address block's
        // id line and blank line do, so that a page ends at its length.
        p.Print(records::Write("(51X,A32)", {std::string_view(p.name)}));
        p.lines = static_cast<int16_t>(p.lines + 5);
    } else {
        const std::string id = records::Fixed(p.account, 6);
        p.Print(records::Write("(17X,A4,A2,': ',A32)",
                               {std::string_view(id).substr(0, 4), std::string_view(id).substr(4, 2),
                                std::string_view(p.shared->lines[0])}));
        if (id_blank_line) {
            p.lines = static_cast<int16_t>(p.lines + 1);
            p.Print(blank);
        }
        // The identifier line and the title block above it.
        p.lines = static_cast<int16_t>(p.lines + 5);
        for (std::size_t k = 1; k < p.shared->lines.size(); ++k) {
            const std::string line = records::Fixed(p.shared->lines[k], 32);
            if (records::IsBlank(line)) continue;
            p.Print(records::Write("(17X,A32)", {std::string_view(line)}));
            p.lines = static_cast<int16_t>(p.lines + 1);
        }
    }

    // The rate column's words: T/W ROR under option 55.
    const bool time_weighted = records::OptionOn(p.options, records::Opt::kTimeWeightedReturn);
    words.ytm = records::OptionValue(p.options, records::Opt::kRateOrYieldToMaturity) == 2;
    if (!words.ytm) {
        words.rate = {"IND.", "DIV/INT ", "RATE", "----"};
        if (time_weighted) words.rate = {"    ", "   T/W  ", " ROR", " ---"};
    } else {
        words.rate = {"DIV/INT/", "YTM ", "--- ", ""};
        if (time_weighted) words.rate = {"   T/W  ", " ROR", " ---", ""};
    }
    p.Print(blank);
    p.lines = static_cast<int16_t>(p.lines + 1);
    return words;
}

void AppraisalHeadingEnd(AppraisalPages& p) {
    p.Print(std::string(records::kReportLineWidth, ' '));
    p.lines = static_cast<int16_t>(p.lines + 5);
}

namespace {

// The four column lines of the client appraisal heading.
std::vector<std::string> ClientColumnLines(const AppraisalPages& p, const HeadingWords& w) {
    std::vector<std::string> lines;
    const auto& rate = w.rate;
    // Column words: the percentage column reads % OF ASSET CLASS under
    // option 68.
    const char* percent[4] = {"      ", " % OF ", "ASSETS", "------"};
    if (records::OptionOn(p.options, records::Opt::kAssetClassPercent)) {
        percent[0] = "% OF  ";
        percent[1] = "ASSET ";
        percent[2] = "CLASS ";
        percent[3] = "----- ";
    }
    if (!w.ytm) {
        lines.push_back(records::Write("(86X,A6,4X,A4,' ESTIMATED YLD')", {percent[0], rate[0]}));
        lines.push_back(records::Write(
            "(1X,'  PAR VALUE',25X,'   UNIT        TOTAL     MARKET ','     MARKET      ',A6,'  ',"
            "A8,' ANNUAL   TO')",
            {percent[1], rate[1]}));
        lines.push_back(records::Write(
            "(1X,'  OR SHARES         DESCRIPTION ','       COST         COST      PRICE       "
            "VALUE  ','    ',A6,'    ',A4,'   INCOME   ',A4)",
            {percent[2], rate[2], std::string_view(w.yield_word)}));
        lines.push_back(records::Write(
            "(1X,'  ---------         ----------- ','       ----         ----      -----       "
            "-----  ','    ',A6,'    ',A4,'   ------   ---',A1)",
            {percent[3], rate[3], std::string_view(w.underline)}));
    } else {
        lines.push_back(records::Write("(86X,A6,'          ESTIMATED YLD')", {percent[0]}));
        lines.push_back(records::Write(
            "(1X,'  PAR VALUE',25X,'   UNIT        TOTAL     MARKET ','     MARKET      ',A6,'  ',"
            "A8,'  ANNUAL  TO')",
            {percent[1], rate[0]}));
        lines.push_back(records::Write(
            "(1X,'  OR SHARES         DESCRIPTION ','       COST         COST      PRICE       "
            "VALUE  ','    ',A6,'    ',A4,'    INCOME   ',A4)",
            {percent[2], rate[1], std::string_view(w.yield_word)}));
        lines.push_back(records::Write(
            "(1X,'  ---------         ----------- ','       ----         ----      -----       "
            "-----  ','    ',A6,'    ',A4,'    ------   ---',A1)",
            {percent[3], rate[2], std::string_view(w.underline)}));
    }
    return lines;
}

}  // namespace

void Aphead(AppraisalPages& p) {
    p.title_flag = 1;
    static const std::string kTitle = records::Write("(52X,'C L I E N T   A P P R A I S A L')");
    const HeadingWords w = AppraisalHeadingTop(p, kTitle, /*id_blank_line=*/true);
    if (p.heading_lines.empty()) p.heading_lines = ClientColumnLines(p, w);
    for (const std::string& line : p.heading_lines) p.Print(line);
    AppraisalHeadingEnd(p);
}

void TypeSubtitle(int type, std::string& name, int16_t& status, AppraisalPages& p, bool two_lines) {
    status = 0;
    if (type < 1 || type > records::kTypeNumberCount) {
        status = 1;
        return;
    }
    name = NameRecord(records::ReadTypeNameRecord, type + 1);
    const int length = records::Len28(name);
    const std::string blank(records::kReportLineWidth, ' ');
    p.Print(blank);
    p.Print(records::Write("(21X,A28)", {std::string_view(name)}));
    p.Print(
        records::Write("(21X,A)", {std::string_view(std::string(static_cast<std::size_t>(length), '-'))}));
    if (type != kCommonStockType) p.Print(blank);
    const int counted = two_lines ? 2 : (type != kCommonStockType ? 4 : 3);
    p.lines = static_cast<int16_t>(p.lines + counted);
}

void CategorySubtitle(int category, std::string& name, int16_t& status, AppraisalPages& p,
                      bool count_outside_range) {
    status = 0;
    const bool inside = category >= 1 && category <= records::kCategoryCount;
    if (inside || count_outside_range) p.lines = static_cast<int16_t>(p.lines + 2);
    if (!inside) {
        status = 1;
        return;
    }
    name = NameRecord(records::ReadCategoryNameRecord, category + 1);
    p.Print(std::string(records::kReportLineWidth, ' '));
    p.Print(records::Write("(21X,A28)", {std::string_view(name)}));
}

void Aptype(int type, std::string& name, int16_t& status, AppraisalPages& p) {
    TypeSubtitle(type, name, status, p, /*two_lines=*/false);
}

void Apcat(int category, std::string& name, int16_t& status, AppraisalPages& p) {
    CategorySubtitle(category, name, status, p, /*count_outside_range=*/true);
}

void Aptotl(const std::string& type_name, const std::string& percent, const std::string& cost,
            const std::string& market, const std::string&, const std::string& income, float yield,
            AppraisalPages& p) {
    p.lines = static_cast<int16_t>(p.lines + 2);
    const std::string name = records::Fixed(type_name, 16);
    const std::string c = records::Fixed(cost, 16), m = records::Fixed(market, 16);
    const std::string pc = records::Fixed(percent, 8), in = records::Fixed(income, 10);
    p.Print(records::Write("(21X,'TOTAL ',A16,1X,A16,8X,A16,1X,A8,7X,A10,F5.1,'%')",
                           {std::string_view(name), std::string_view(c), std::string_view(m),
                            std::string_view(pc), std::string_view(in), static_cast<double>(yield)}));
    p.Print(std::string(records::kReportLineWidth, ' '));
}

void Apctot(const std::string& percent, const std::string& cost, const std::string& market,
            const std::string&, const std::string& income, float yield, AppraisalPages& p) {
    p.lines = static_cast<int16_t>(p.lines + 1);
    const std::string c = records::Fixed(cost, 16), m = records::Fixed(market, 16);
    const std::string pc = records::Fixed(percent, 8), in = records::Fixed(income, 10);
    p.Print(records::Write("(21X,'TOTAL ',17X,A16,8X,A16,1X,A8,7X,A10,F5.1,'%')",
                           {std::string_view(c), std::string_view(m), std::string_view(pc),
                            std::string_view(in), static_cast<double>(yield)}));
}

void Apacct(int account_number, int16_t flag, AppraisalPages& p) {
    const std::string blank(records::kReportLineWidth, ' ');
    p.Print(blank);
    p.Print(blank);
    p.lines = static_cast<int16_t>(p.lines + 2);
    const long r = flag > 0 ? 8L * account_number - 3 : 8L * account_number - 11;
    const records::DirectFile accounts(records::kAccountRecords, records::kAccountRecordLength,
                                       /*create=*/false);
    p.lines = static_cast<int16_t>(p.lines + 1);
    if (p.lines > p.page_length - 5 && records::OptionValue(p.options, records::Opt::kAppendNotes) == 1)
        Aphead(p);
    records::Record first, second;
    if (!accounts.ok() || !accounts.Read(r, first) || !accounts.Read(r + 1, second)) return;
    for (const records::Record* rec : {&first, &second})
        for (std::size_t half = 0; half < 2; ++half)
            p.Print(records::Write("(11X,A60)", {std::string_view(rec->Text(60 * half, 60))}));
}

}  // namespace reports
