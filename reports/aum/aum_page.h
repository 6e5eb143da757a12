#pragma once

// The ASSETS UNDER MANAGEMENT page: one line per security of MSTRSUMM.CMP
// (quantity, average cost, cost, unit value, market value, short- and
// long-term gain, share of the total market value, accounts holding it),
// then the totals of its header record.

#include <cstdint>
#include <string_view>

#include "records/files.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// Prints the page from the summary file (MSTRSUMM.CMP, open). The security
// type code is handed to the heading and not printed.
void Aumprt(int16_t output_mode, std::string_view security_type, std::string_view type_title,
            std::string_view manager, const records::DirectFile& summaries, ReportFrame& frame);

// The heading: the page heading and the title block; lines goes up by 9.
void Aumhdr(int16_t& page, int16_t& lines, std::string_view pricing_date, int16_t& page_length,
            std::string_view program_date, int16_t output_mode, std::string_view security_type,
            std::string_view type_title, std::string_view manager, ReportFrame& frame);

}  // namespace reports
