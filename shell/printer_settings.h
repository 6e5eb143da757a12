#pragma once

// The printer and page settings the program reads at start-up from COMMON.FIL
// (record 80): page length and top lines of printed reports, margins, print
// intensity and the report font. A record without its validity marks gives
// all zeros: automatic page length, no margins and the font "Courier".

#include <cstdint>
#include <string>

namespace shell {

struct PrinterSettings {
    int16_t PrinterPageLength = 0;  // lines a page; 0 or less: from the paper
    int16_t PrinterTopLines = 0;    // blank lines at the top of each page
    float LeftMargin = 0;           // inches
    float RightMargin = 0;          // inches
    int32_t PrinterIntensity = 0;   // 0-9; kept, not used by printing
    std::string PrinterFontName = "Courier";
};

extern PrinterSettings g_printer;

// The settings of the printer options record, as start-up takes them.
PrinterSettings ReadPrinterSettings();

}  // namespace shell
