#pragma once

// The summary of assets under management (report code 108): one line per
// account of the manager code with its market value on the report date
// split into cash equivalents, fixed income, equities and other assets and
// their shares in percent, in the order asked for, then the total for the
// manager.

#include <cstdint>
#include <string_view>

namespace reports {

// report_date MM/DD/YY; manager: 4 characters, "?" matches any character,
// four blanks or "????" take every account; sort_code: its first character
// picks the order (blank account ID, "A" name, "E" equities, "F" fixed
// income, "C" cash equivalents, "O" other assets, "M" market value; any
// other prints in index order).
void Sumaum(std::string_view report_date, std::string_view manager, std::string_view sort_code,
            std::string_view output_name, int16_t name_length = 12);

}  // namespace reports
