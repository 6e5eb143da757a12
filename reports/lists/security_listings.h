#pragma once

// The listings of the security master, in order of the securities' CUSIP
// numbers: the security list "SECURITY DATA BASE" (report code 182), one
// line per security with its price at the price date and at the end of
// the month before, type title, maturity, rate, industry class and
// automatic-pricing flag; and the bond list "BOND DATA BASE" (code 184),
// one line per fixed-income security with its terms from SECURITY.EXT.

#include <cstdint>
#include <string_view>

namespace reports {

// kind 0 (or below) the security list, 1 (or above) the bond list. The
// price date (MM/DD/YY) serves the security list only; a type filter that
// is not blank lists one security type (by the firm's two-character code).
// Writes OUTPUT.TMP and copies it into the output file. A price date or a
// type filter that does not read gives the report one line saying so.
void Allpos(int16_t kind, std::string_view price_date, std::string_view type_filter,
            std::string_view output_name);

}  // namespace reports
