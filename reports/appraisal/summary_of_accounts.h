#pragma once

// The summary of accounts (report code 109): one line per account of the
// manager code with its value on the report date and on the pricing date,
// its projected income, yield and gain, then the CONSOLIDATED PORTFOLIO
// line.

#include <cstdint>
#include <string_view>

namespace reports {

// manager: 4 characters, "?" matches any character; report_date and
// pricing_date: MM/DD/YY; output_name: the file the report is copied into.
void Accsum(std::string_view manager, std::string_view report_date, std::string_view pricing_date,
            std::string_view output_name, int16_t name_length = 12);

}  // namespace reports
