// The layout engine: a layout text and a record text of arbitrary bytes.
// The layout is parsed; numbers and texts are written under it and the
// text is read back under it into every kind of target. Nothing may crash,
// hang or read outside the texts, and a field written into keeps its width.

#include <string>
#include <vector>

#include "records/layout.h"
#include "records/layout_parse.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 2);
    const std::string_view layout = parts[0];
    const std::string_view text = parts[1];

    const bool valid = records::IsValidLayout(layout);
    (void)records::layout_detail::ParseLayout(layout);
    if (!valid) return 0;

    int16_t i2 = 0;
    int32_t i4 = 0;
    int64_t i8 = 0;
    float f = 0;
    double d = 0;
    std::string s(12, ' ');
    records::Read(text, layout, {&i2, &i4, &i8, &f, &d, &s});
    records::Read(text, layout, {&d, &s, &i2});
    records::Read(text, layout, {&s});

    const std::vector<records::OutItem> items{123456789LL, -3.25, text.substr(0, 40), 7LL, 1e30};
    const auto written = records::WriteRecords(layout, items);
    fuzz::Require(written.size() < 100000);
    std::string field(30, ' ');
    records::WriteInto(field, layout, items);
    fuzz::Require(field.size() == 30);
    return 0;
}
