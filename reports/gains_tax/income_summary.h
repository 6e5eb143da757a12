#pragma once

// The income summary (report code 85): for one account, or every account
// of a manager code, the income and expense transactions of a date range
// summed by security into sections (dividend, interest, government
// obligations, municipal bond interest, unknown securities, other income
// with the capital gains distributions, other expense). With option 52 the
// run writes the 1099-DIV records to A:IRSTAX and prints only the accounts
// with dividend income of 10.00 or more.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace reports {

// The income class of each security type, in the type order below: "DI",
// "II" or blank.
inline constexpr std::string_view kIncomeClassTypes = "13456W79BCDXFPNYHJLRSTZ";
using IncomeClassTable = std::array<std::string, 23>;

// The built-in table, and the table of COMMON.FIL record 25 when its
// marker after the 23 entries is -999 and its first 22 entries are "DI",
// "II" or blank (otherwise the built-in one).
IncomeClassTable BuiltInIncomeClasses();
IncomeClassTable ReadIncomeClasses();

// scope "A   ": every account whose manager code matches (a "?" in
// `manager` takes any character); else the one account. print_mode 3
// copies the report into output_name. correction "Y   " marks the tax
// file's records as corrections.
void Taxre(std::string_view scope, std::string_view manager, std::string_view account, std::string_view start,
           std::string_view end, int16_t& status, int16_t print_mode, std::string_view output_name,
           int16_t output_length, std::string_view transmitter, std::string_view payer_control,
           std::string_view correction);

}  // namespace reports
