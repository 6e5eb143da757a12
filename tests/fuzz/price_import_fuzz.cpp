// The price file import: an import file of arbitrary bytes with
// SECURITY.IDX, SECURITY.REC and COMMON.FIL, imported under every layout
// by symbol and by CUSIP into the day's price file, with a report copy
// when the control part asks for one.
//
// Every line of an import file is read on its own and each line the import
// refuses takes a page of the error report (its heading, and the top lines
// COMMON.FIL asks for, each a write), so an input of a hundred kilobytes
// of short lines spent its time writing thousands of pages: the import
// file is cut to its first lines, and COMMON.FIL's pages are kept short
// (fuzz::ShortPages). That keeps every path a line can take and lets the
// target run some five times faster.

#include <string_view>

#include "pricing/price_import.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr std::size_t kMostLines = 48;

std::string_view FirstLines(std::string_view text) {
    std::size_t at = 0;
    for (std::size_t lines = 0; lines < kMostLines; ++lines) {
        at = text.find('\n', at);
        if (at == std::string_view::npos) return text;
        ++at;
    }
    return text.substr(0, at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 5);
    fuzz::FreshDataDir();
    fuzz::WriteFile("PRICES.TXT", FirstLines(parts[0]));
    fuzz::WriteFile("SECURITY.IDX", parts[1]);
    fuzz::WriteFile("SECURITY.REC", parts[2]);
    fuzz::WriteFile("COMMON.FIL", fuzz::ShortPages(parts[3]));
    const int16_t layout = static_cast<int16_t>(1 + fuzz::Byte(parts[4], 0) % 7);
    const char* identification = fuzz::Byte(parts[4], 1) & 1 ? "S   " : "C   ";
    const char* copy = fuzz::Byte(parts[4], 1) & 2 ? "IMPORT.RPT  " : "            ";
    pricing::Tranfi("PRICES.TXT", 10, layout, identification, copy, 12);
    return 0;
}
