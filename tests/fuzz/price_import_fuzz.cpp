// The price file import: an import file of arbitrary bytes with
// SECURITY.IDX, SECURITY.REC and COMMON.FIL, imported under every layout
// by symbol and by CUSIP into the day's price file, with a report copy.

#include "pricing/price_import.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 5);
    fuzz::FreshDataDir();
    fuzz::WriteFile("PRICES.TXT", parts[0]);
    fuzz::WriteFile("SECURITY.IDX", parts[1]);
    fuzz::WriteFile("SECURITY.REC", parts[2]);
    fuzz::WriteFile("COMMON.FIL", parts[3]);
    const int16_t layout = static_cast<int16_t>(1 + fuzz::Byte(parts[4], 0) % 7);
    const char* identification = fuzz::Byte(parts[4], 1) & 1 ? "S   " : "C   ";
    pricing::Tranfi("PRICES.TXT", 10, layout, identification, "IMPORT.RPT  ", 12);
    return 0;
}
