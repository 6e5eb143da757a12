// The date check of typed and stored dates: a text of arbitrary bytes
// through CheckDateText, Ckdate, Chkdat, Redate, H2000 and the day count.
// A date that passes must come back as MM/DD/YY within the limits.

#include <array>
#include <string>

#include "records/dates.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 2);
    // Routines beneath read COMMON.FIL: in a directory of our own, not the caller's.
    (void)fuzz::DataDir();
    const float low = 0.0f, high = 1501231.0f;

    {
        std::string date(parts[0]);
        float number = 0;
        std::array<int16_t, 3> date_parts{};
        if (records::CheckDateText(date, number, low, high, &date_parts) == records::DateCheck::kValid)
            fuzz::Require(date.size() >= 8 && number >= low && number <= high);
    }
    for (int16_t start_mode : {0, 1, 3}) {
        std::string date(parts[0]);
        int16_t mode = start_mode, error = 0;
        float number = 0;
        records::Ckdate(date, mode, error, number, low, high);
        std::string soft(parts[0]);
        std::array<int16_t, 3> date_parts{};
        mode = start_mode;
        error = 0;
        records::Chkdat(soft, mode, error, number, low, high, start_mode, date_parts);
    }
    int16_t month = 0, day = 0, year = 0;
    if (records::Redate(parts[0], month, day, year)) {
        std::string text(8, ' ');
        records::Wrdate(text, month, day, year);
    }
    std::string windowed(parts[0]);
    (void)records::H2000(windowed);
    for (int16_t mode : {0, 1, 2}) (void)records::Daycb(parts[0], parts[1], mode);
    return 0;
}
