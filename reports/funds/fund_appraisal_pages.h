#pragma once

// The holdings pages of the mutual fund appraisal ("M U T U A L   F U N D
// A P P R A I S A L"), printed from the valued holdings that Mfvalu has
// just written into TEMP1.WRK for one account.
//
// They are printed by the client appraisal's page engine
// (PrintAppraisalPages, clntapr2.h) and so follow its groups, page breaks,
// totals and TEMPHSUM.FIL records; the variant Clntamu2 passes holds where
// they differ: the title (or the report title of option 38), the UNIT COST
// and AMOUNT INVESTED columns, the unit cost taken from the holding's total
// cost including reinvested purchases (item 32), % OF ASSETS from the
// absolute market value, a blank quantity at 0 or less, the accrued
// interest line only when above 0 (its amount also goes to the "FI" asset
// class), subtitles that count two lines, option 75 (no yield for "L"
// holdings) and no export or pie chart file.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/valuation.h"
#include "reports/appraisal/appraisal_page_parts.h"
#include "reports/appraisal/appraisal_run.h"

namespace reports {

// Prints the mutual fund appraisal pages of the TEMP1.WRK in the data
// directory into OUTPUT.TMP (which the caller has started), in
// run.output_mode (2 counts and writes only the files). order: the
// caller's TEMP1.WRK record numbers, taken when the work file's record
// order word is 2. title_switch 1 or more prints the mutual fund title,
// otherwise the 64 characters of title. classes: the asset-class table
// (COMMON.FIL record 14). step comes back as kStepSummaryPage on every
// path; a work file that cannot be read as far as its count says so in a
// report line.
void Clntamu2(AppraisalRun& run, int16_t& step, const std::vector<int16_t>& order, int16_t title_switch,
              const std::string& title, const engine::CategoryTable& classes);

// The page heading: the end-of-page message of the page before (not on the
// first page), the shared heading, the title (title_switch 1 or more) or
// the alternative title, the date with its four-digit year, the account
// block and the four column heading lines.
void Amhead(AppraisalPages& pages, int16_t title_switch, const std::string& title);

// The security type subtitle (TYPENAME.DAT) and the industry category
// subtitle (SCATNAME.DAT); each counts two lines. status 1 (nothing
// printed) for a number outside the name file's range.
void Amtype(int type, std::string& name, int16_t& status, AppraisalPages& pages);
void Amcat(int category, std::string& name, int16_t& status, AppraisalPages& pages);

// A type total (the first 16 characters of the name) and then a blank
// line; an industry category total.
void Amtotl(const std::string& type_name, const std::string& percent, const std::string& cost,
            const std::string& market, const std::string& income, float yield, AppraisalPages& pages);
void Amctot(const std::string& percent, const std::string& cost, const std::string& market,
            const std::string& income, float yield, AppraisalPages& pages);

}  // namespace reports
