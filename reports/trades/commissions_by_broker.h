#pragma once

// Commissions by broker (report code 86).

#include <cstdint>
#include <string_view>

namespace reports {

// Totals the commissions of every account of the manager code per broker
// (selection "A   ", or "S   " with a broker BRSORT.DAT lacks) or for the
// one broker (selection "S   "), in the month, as-of and year-to-date
// columns, on 80-column pages. BRSORT.DAT is rebuilt first. Both output
// modes copy the work file to output_name.
void Btotcom(std::string_view report_date, std::string_view selection, std::string_view broker,
             std::string_view manager, int16_t output_mode, std::string_view output_name);

}  // namespace reports
