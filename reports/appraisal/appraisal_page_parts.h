#pragma once

// The fixed pieces of the client appraisal pages: the page heading
// (Aphead), the security type and industry category subtitles (Aptype,
// Apcat), the type and category total lines (Aptotl, Apctot) and the
// account's note lines (Apacct). Every line goes through the line writer
// as a 132-character line; every routine keeps the page's line count up to
// date and, in the counting pass (output mode 2), counts its lines but
// writes none.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "reports/appraisal/appraisal_run.h"

namespace reports {

// The state of the appraisal pages that the heading and the subtitle and
// total routines share.
struct AppraisalPages {
    int16_t page = 0;         // the page word; negative before the first heading
    int16_t lines = 0;        // lines used on the page
    int16_t page_length = 0;  // from the page heading
    int16_t mode = 1;         // output mode; 2 counts without writing
    records::Options options{};
    std::string report_date = std::string(8, ' ');  // MM/DD/YY
    std::string account = std::string(8, ' ');
    std::string name = std::string(32, ' ');  // the account name as the heading centres it
    // The shared account data: its address word and name and address lines.
    const AppraisalAccount* shared = nullptr;
    int16_t title_flag = 0;
    // The column lines of the client appraisal heading, made at the first
    // heading (they follow from the options and the mode alone).
    std::vector<std::string> heading_lines;

    bool writing() const { return mode != kOutputModeCount; }
    // One report line, unless the pages only count.
    void Print(const std::string& text) const;
};

// Prints one page heading: the end-of-page message of the page before (not
// on the first page), the shared heading, the title, the date with its
// four-digit year, the account block and the column words.
void Aphead(AppraisalPages& pages);

// The security type subtitle: the 28-character name of type number 1-37
// from TYPENAME.DAT (record type + 1) and its underline. A name that cannot
// be read prints as blanks. status 1 (nothing printed) only for a type
// number outside 1-37.
void Aptype(int type, std::string& name, int16_t& status, AppraisalPages& pages);

// The industry category subtitle from SCATNAME.DAT (record category + 1),
// for categories 1-99; the line count grows by 2 in every case.
void Apcat(int category, std::string& name, int16_t& status, AppraisalPages& pages);

// A type total: the first 16 characters of the type name, cost (16),
// market value (16), percentage (8), income (10) and the yield; then a
// blank line. The gain percentage is taken and not printed.
void Aptotl(const std::string& type_name, const std::string& percent, const std::string& cost,
            const std::string& market, const std::string& gain_percent, const std::string& income,
            float yield, AppraisalPages& pages);

// An industry category total.
void Apctot(const std::string& percent, const std::string& cost, const std::string& market,
            const std::string& gain_percent, const std::string& income, float yield, AppraisalPages& pages);

// What the page headings of the appraisal pages share (Aphead
// and the mutual fund pages' Amhead). AppraisalHeadingTop prints the
// end-of-page message of the page before (not on the first page), the
// shared heading, title_line, the date with its four-digit year, the
// account block (with a blank line after the identifier line when
// id_blank_line) and the blank line above the column words, and gives back
// the words the column lines take. AppraisalHeadingEnd prints the blank
// line below them and counts the column block.
struct HeadingWords {
    bool ytm = false;                   // option 16 is 2: the rate column is DIV/INT/ YTM
    std::array<const char*, 4> rate{};  // the rate column's words, top down
    std::string yield_word;             // "COST" with option 44, else "MKT "
    std::string underline;              // under the yield word
};
HeadingWords AppraisalHeadingTop(AppraisalPages& p, const std::string& title_line, bool id_blank_line);
void AppraisalHeadingEnd(AppraisalPages& p);

// The type subtitle and the category subtitle that Aptype and Apcat print;
// two_lines counts the type subtitle as two lines (else three, and one
// more for the blank line under a type other than common stocks);
// count_outside_range counts a category's two lines even when it is
// outside 1-99.
void TypeSubtitle(int type, std::string& name, int16_t& status, AppraisalPages& p, bool two_lines);
void CategorySubtitle(int category, std::string& name, int16_t& status, AppraisalPages& p,
                      bool count_outside_range);

// The account's four note lines (ACCOUNT.REC records r and r + 1, two
// 60-character notes each; r = 8k - 3 when flag is above 0, else 8k - 11),
// after two blank lines; a page heading first when the page is full and
// option 54 is 1. A record that cannot be read ends the block.
void Apacct(int account_number, int16_t flag, AppraisalPages& pages);

}  // namespace reports
