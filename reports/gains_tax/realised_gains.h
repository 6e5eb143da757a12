#pragma once

// Realised gains and losses (report code 84): for one account, or every
// account of a manager code, the lots sold within a date range with cost,
// proceeds and the gain in its holding-period column, and account totals.
// With option 52 the run writes the 1099-B records of the same lots to
// A:IRSTAX in place of the lot lines.

#include <cstdint>
#include <string>
#include <string_view>

namespace reports {

// scope "A   ": every account whose manager code matches `manager` ("?"
// takes any character); any other scope the one account of `account`,
// which in "A" mode is overwritten with each account processed. Dates are
// MM/DD/YY. print_mode 3 copies the report into output_name. status is set
// 1, 2, 5 as the run goes and raised by 100 at its end; page restarts at 1
// with each account. transmitter (first 5) and payer_control (4) go to the
// tax file's payer record.
void Glprint(std::string_view scope, std::string_view manager, std::string& account, std::string_view start,
             std::string_view end, int16_t print_mode, int16_t& status, int16_t& page,
             std::string_view output_name, std::string_view transmitter, std::string_view payer_control);

}  // namespace reports
