#pragma once

// The maturity and expiration alert (report code 87): every lot of the
// selected accounts whose security can be called, put, or matures within a
// year of the report date, listed by security in four time sections
// (within 1, 2 and 3 months, and 4 to 12 months).
//
// Eomatre selects the lots (Matbld) into the work file MATRE.HLD and then
// lists them (Matprt, headings by Mathdr). MATRE.HLD is a work file of one
// run, 128-byte records:
//   record 1: the window ends W1-W4 (4-byte reals, bytes 0-15) and the
//             report date text (bytes 16-23);
//   records 2 to L + 1, one lot each (bytes 0-93): alert date (4-byte real
//             YYMMDD, 0-3), the security's SECURITY.REC bytes 1-12 (4-15),
//             the lot's symbol (16-27), account name (28-59), account
//             identifier (60-67), trade date (68-75), face amount (8-byte
//             real, 76-83), net amount (84-91) and the security position
//             (16-bit, 92-93).
// The file is never cleared: records of an earlier run beyond L stay and
// are not read.

#include <cstdint>
#include <string>
#include <string_view>

#include "records/files.h"
#include "reports/kernel/report_frame.h"

namespace reports {

inline constexpr const char* kMaturityWorkFile = "MATRE.HLD";
inline constexpr std::size_t kMaturityLotBytes = 94;

// The window ends of a report date: W1 to W3 one, two and three months
// ahead (a month end goes to the end of each month, any other day keeps
// its day, even where the month is shorter), W4 one year ahead. YYMMDD
// numbers with a year below 51 counted as 100 + YY.
struct MaturityWindow {
    float report = 0;  // R
    float ends[4] = {0, 0, 0, 0};
};
MaturityWindow MaturityWindowEnds(std::string_view report_date);

// The date number of a call, put or maturity date; 0 for a date without a
// month (blank, zero bytes or unreadable), which never falls in a window.
float AlertDateNumber(std::string_view date);

// The files a run keeps open: MATRE.HLD, SECURITY.REC and SECURITY.EXT.
struct MaturityFiles {
    records::DirectFile work{kMaturityWorkFile, 128};
    records::DirectFile securities{"SECURITY.REC", 128, /*create=*/false};
    records::DirectFile extensions{"SECURITY.EXT", 128, /*create=*/false};
};

// Appends the account's qualifying lots to MATRE.HLD: records counter + 1
// on, counter raised for each.
void Matbld(MaturityFiles& files, std::string_view account, std::string_view name,
            const MaturityWindow& window, long& counter);

// Lists the L lot records of MATRE.HLD; program_date is the "DATE
// PRINTED" text.
void Matprt(ReportFrame& frame, MaturityFiles& files, long lots, std::string_view program_date);

// One page heading; lines used and page as the listing keeps them.
void Mathdr(int16_t& page, int16_t& lines, std::string_view program_date, int16_t& page_length,
            std::string_view report_date);

// The report routine of code 87.
void Eomatre(std::string_view report_date, std::string_view manager, std::string_view output_name,
             int name_length = 12);

}  // namespace reports
