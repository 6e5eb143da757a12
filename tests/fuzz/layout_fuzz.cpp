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
    // Routines beneath read COMMON.FIL: in a directory of our own, not the caller's.
    (void)fuzz::DataDir();
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

    // The layouts are the program's own texts: one whose repeat counts
    // multiply past a million would write that many records, which is what
    // it asks for, so such layouts are only read under.
    double product = 1;
    for (std::size_t i = 0; i < layout.size();) {
        if (layout[i] < '0' || layout[i] > '9') {
            ++i;
            continue;
        }
        double n = 0;
        for (; i < layout.size() && layout[i] >= '0' && layout[i] <= '9'; ++i) n = n * 10 + (layout[i] - '0');
        product *= n > 1 ? n : 1;
    }
    if (product > 1e6) return 0;

    const std::vector<records::OutItem> items{123456789LL, -3.25, text.substr(0, 40), 7LL, 1e30};
    (void)records::WriteRecords(layout, items);
    std::string field(30, ' ');
    records::WriteInto(field, layout, items);
    fuzz::Require(field.size() == 30);
    return 0;
}
