#pragma once

// The page writer of the assets under management run: one pass over the
// securities of MSTRSUMM.HLD in key order (the first eight characters of
// their symbols). For each security it totals its lots and writes a summary
// record of MSTRSUMM.CMP; for the cross reference (any report choice but
// "Y   ") it prints, during the same pass, a block per security with one
// line per lot and the security's totals, then the grand totals. For the
// assets under management page ("Y   ") it prints nothing itself and
// hands over to Aumprt.

#include <cstdint>
#include <string_view>

#include "reports/aum/aum_index.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// The pass. spare1 and spare2 have no effect. accrued_total is added to
// the grand market value when accrued_switch is "Y   ". The index is the
// run's holdings index of MSTRSUMM.HLD.
void Secxref(std::string_view spare1, std::string_view spare2, std::string_view report_choice,
             int16_t output_mode, std::string_view security_type, std::string_view type_title,
             std::string_view accrued_switch, double accrued_total, const HoldingsIndex& index,
             ReportFrame& frame);

// The heading of the cross reference: the page heading and the title block;
// lines comes back as 11.
void Xrefhdr(int16_t& page, int16_t& lines, std::string_view pricing_date, int16_t& page_length,
             std::string_view manager, std::string_view program_date, int16_t output_mode,
             std::string_view type_title, ReportFrame& frame);

// The gain column of the pages: whole units under "(F10.0,'  ')" with
// separators and, when negative, brackets (12 characters). Amounts print
// in the shared 12-position column (Amount12).
std::string GainText12(double gain);

}  // namespace reports
