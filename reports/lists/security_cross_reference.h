#pragma once

// The security cross reference "Security Cross Reference" (report code
// 82): for one security, every account of the manager code that holds it,
// one line per lot with quantity, unit cost, total cost, market value and
// unrealized gain at the report date, per-account totals of two or more
// lots, and the totals of all long and all short holdings. The short form
// lists the accounts that hold none of it. With option 52 the long form
// also prints each holder's name and address and writes the extract
// IECA.DAT; the run keeps the broker/bank fields in COMMON.FIL record 69.

#include <cstdint>
#include <string_view>

namespace reports {

// long_report 1 for the long form, 2 for the short form; the report date
// MM/DD/YY; the manager pattern ("?" matches any character); the 12-
// character symbol; output mode 3 copies OUTPUT.TMP into output_name. The
// broker/bank number (4), name (40) and tag (4) serve option 52.
void Chlpos(int16_t long_report, std::string_view report_date, std::string_view manager,
            std::string_view symbol, int16_t output_mode, std::string_view output_name,
            std::string_view broker_number, std::string_view broker_name, std::string_view broker_tag);

}  // namespace reports
