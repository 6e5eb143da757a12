#pragma once

// The holdings pages of the account appraisal ("C L I E N T   A P P R A I
// S A L"), printed from the valued holdings of TEMP1.WRK that a gathering
// step has just written for one account or one composite group.
//
// The groups follow the appraisal type order; common stocks (type 18) are
// divided by industry category 1-99 (a category outside 1-99 prints under
// 99). Each holding gets a detail line and its optional lines, each group
// with more than one holding a rule and a total line; the accrued interest
// line stands after the groups of types 2 to 14; then the portfolio totals
// and, with option 52, the loan disbursement limit. The unmanaged lots
// (type 36) follow the totals and stay out of them. On the way the pages
// write TEMPHSUM.FIL for the summary pages, the option 72 export or chart
// file and, with option 52, the LDL.DAT records; the run's shared account
// data receives the asset-class totals and the per-group income and gain.
// At the end TEMP1.WRK is emptied and deleted.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/valuation.h"
#include "reports/appraisal/appraisal_page_parts.h"
#include "reports/appraisal/appraisal_run.h"

namespace reports {

// Slots of the run's group income and gain lists: pass one fills slots 0
// to 22 in the order of its type records (the accrued interest record
// counts and gets -999.99); the unmanaged group has slot 23 of its own.
inline constexpr std::size_t kUnmanagedGroupSlot = 23;

// Prints the client appraisal pages of the TEMP1.WRK in the data directory
// into OUTPUT.TMP (which the caller has started), in run.output_mode (2
// counts and writes only the files). order: the caller's TEMP1.WRK record
// numbers, taken when the work file's record order word is 2. classes: the
// asset-class table (COMMON.FIL record 14), by the record layer's type
// order. title_flag comes back as 1; the title does not change the pages.
// step comes back as kStepSummaryPage on every path; a work file that
// cannot be read as far as its count says so in a report line.
void Clntapr2(AppraisalRun& run, int16_t& step, const std::vector<int16_t>& order, int16_t& title_flag,
              const std::string& title, const engine::CategoryTable& classes);

// The points in which a report built on the appraisal pages prints or
// counts differently from the client appraisal; the defaults are the
// client appraisal's own. The mutual fund pages (Clntamu2) set their own.
struct AppraisalPageVariant {
    // The page heading and the subtitle and total routines.
    std::function<void(AppraisalPages&)> heading = Aphead;
    void (*type_subtitle)(int, std::string&, int16_t&, AppraisalPages&) = Aptype;
    void (*category_subtitle)(int, std::string&, int16_t&, AppraisalPages&) = Apcat;
    void (*type_total)(const std::string& type_name, const std::string& percent, const std::string& cost,
                       const std::string& market, const std::string& gain_percent, const std::string& income,
                       float yield, AppraisalPages&) = Aptotl;
    void (*category_total)(const std::string& percent, const std::string& cost, const std::string& market,
                           const std::string& gain_percent, const std::string& income, float yield,
                           AppraisalPages&) = Apctot;
    // Option 68 takes a holding's percentage of its type's market value.
    bool percent_of_type = true;
    // The percentage column is taken from the absolute market value.
    bool absolute_percent = false;
    // The quantity is blank at 0 or less (otherwise only at -99999 or less).
    bool blank_quantity_at_zero = false;
    // The unit cost comes from the total cost including reinvested
    // purchases rather than from the cost.
    bool unit_cost_from_basis = false;
    // Option 75 blanks the yield of holdings whose type code is "L".
    bool option75 = false;
    // The accrued interest line: printed only when above 0 (otherwise when
    // not 0), with its blank line before it (otherwise after it), and its
    // amount added to the "FI" asset class (otherwise to "CE").
    bool accrued_only_positive = false;
    bool accrued_blank_first = false;
    bool accrued_fixed_income = false;
    // The option 72 export or pie chart file.
    bool export_file = true;
};

// The appraisal page engine behind Clntapr2 and Clntamu2: prints the pages
// of the TEMP1.WRK in the data directory as Clntapr2 says, with the
// variant's differences. title_flag comes back as the heading left it.
void PrintAppraisalPages(AppraisalRun& run, const std::vector<int16_t>& order,
                         const engine::CategoryTable& classes, const AppraisalPageVariant& variant,
                         int16_t& title_flag);

}  // namespace reports
