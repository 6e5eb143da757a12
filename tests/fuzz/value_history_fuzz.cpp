// The value history HL<acct>.DAT of arbitrary bytes: the damage check, a
// year read and written back, an extension of the file and a past month's
// adjustment. None may crash, and none may grow the file without bound: a
// damaged header is refused, and a sound one adds at most the years
// between its last year and the year posted.

#include <filesystem>

#include "engine/value_history.h"
#include "records/file_names.h"
#include "records/files.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 2);
    fuzz::FreshDataDir();
    const std::string name = records::Paknam("FUZ", "HL", ".DAT");
    fuzz::WriteFile(name, parts[0]);
    // The year and month posted: from the second part, within the years
    // a posting can name.
    const int16_t year = static_cast<int16_t>(80 + fuzz::Byte(parts[1], 0) % 80);
    const int16_t month = static_cast<int16_t>(fuzz::Byte(parts[1], 1) % 14);

    (void)engine::HistoryDamaged("FUZ", year);
    int16_t record = 0, year_out = 0;
    engine::MonthlyValues market{}, flows{}, incomes{};
    if (engine::Rperf("FUZ", year, record, year_out, market, flows, incomes) == engine::kHistoryDone)
        engine::Wperf("FUZ", year, record, year_out, market, flows, incomes);
    engine::Hladja("FUZ", month, year, 100.0, 50.0, 25.0, static_cast<int16_t>(fuzz::Byte(parts[1], 2) & 1));
    {
        records::Open(5, name);
        records::UnitGuard guard(5);
        engine::Hlapnd("FUZ", static_cast<int16_t>(year + 1), 5);
    }
    // At most 200 years of four 128-byte records, a header and what the
    // input already held.
    fuzz::Require(std::filesystem::file_size(name) <= parts[0].size() + 128 * (1 + 4 * 200));
    return 0;
}
