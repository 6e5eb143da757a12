// The transaction list readers: a transaction source of arbitrary bytes
// (an account's transaction file, a block trade file, an off-line file)
// loaded by symbol and by date, and every line of the list formatted.

#include <string>
#include <vector>

#include "records/files.h"
#include "records/record_services.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 2);
    fuzz::FreshDataDir();
    fuzz::WriteFile("SOURCE.DAT", parts[0]);
    const int layout = fuzz::Byte(parts[1], 0) % 3;
    const std::size_t length = layout == records::kAccountLayout ? 128 : 512;
    const std::string_view symbol = parts[1].size() > 1 ? parts[1].substr(1, 12) : std::string_view("CASH");

    records::OpenDirect(records::kTransactionListUnit, "SOURCE.DAT", length);
    records::UnitGuard guard(records::kTransactionListUnit);
    for (const char* code : {"S   ", "D   "}) {
        std::vector<int16_t> list;
        int16_t count = 0, pages = 0, overflow = 0, total = 0;
        records::Ldtrns(list, count, 0.0f, pages, symbol, code, overflow, total, layout);
        fuzz::Require(count >= 0 && static_cast<std::size_t>(count) <= list.size() + 1);
        for (int index = 0; index <= count + 1 && index < 400; ++index) {
            std::string line;
            records::Trnlin(list, index, layout, line);
        }
    }
    return 0;
}
