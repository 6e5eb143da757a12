// One price import line of arbitrary bytes through the line parser of
// every layout, the layout-3 fields, layout 7's price digits and the
// pricing date check. None may crash, hang or read outside the line, and
// the fixed-width fields must keep their widths whatever the line holds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pricing/price_dates.h"
#include "pricing/price_lines.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    // The date check reads COMMON.FIL: in a directory of our own, not the caller's.
    (void)fuzz::DataDir();

    for (int16_t layout = 0; layout <= pricing::kLayoutCount + 1; ++layout) {
        const pricing::PriceLine p = pricing::ParsePriceLine(line, layout);
        Require(p.identifier.size() == 12 && p.second.size() == 12 && p.date.size() == 8);
        if (layout == pricing::kLayoutDst && !p.failed) Require(p.dst_digits.size() == 9);
    }

    const std::string cleaned = pricing::CleanLine(line, pricing::kWorkingLineWidth);
    Require(cleaned.size() == pricing::kWorkingLineWidth);
    for (char c : cleaned) Require(c >= 32 && c <= 126);

    std::string identifier(12, ' ');
    double price = 0;
    int16_t failed = 0;
    pricing::Tfcsv(cleaned, identifier, price, failed);
    Require(identifier.size() == 12);
    // The layout-3 fields take any text, cleaned or not.
    pricing::Tfcsv(line, identifier, price, failed);
    Require(identifier.size() == 12);

    double dst = 0;
    pricing::DstPrice(line.substr(0, 9), true, dst);
    pricing::DstPrice(line.substr(0, 9), false, dst);

    std::string date(line.substr(0, 8));
    int16_t mode = 0, date_failed = 0;
    float number = 0;
    pricing::Tfdate(date, mode, date_failed, number, 0.0f, 1501231.0f);
    if (date_failed == 0) Require(date.size() == 8 && number >= 510101.0f && number <= 1501231.0f);
    return 0;
}
