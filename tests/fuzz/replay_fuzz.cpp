// The replay of an account's transactions: TR<acct>.REC, TR<acct>.EXT,
// the stored lots HL<acct>.REC and HL<acct>.EXT, SECURITY.IDX,
// SECURITY.REC and COMMON.FIL (its options) of arbitrary bytes, replayed
// to the end and then up to a date, in read and write mode.

#include "engine/replay.h"
#include "records/file_names.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 8);
    fuzz::FreshDataDir();
    fuzz::WriteFile(records::Paknam("FUZ", "TR", ".REC"), parts[0]);
    fuzz::WriteFile(records::Paknam("FUZ", "TR", ".EXT"), parts[1]);
    fuzz::WriteFile(records::Paknam("FUZ", "HL", ".REC"), parts[2]);
    fuzz::WriteFile(records::Paknam("FUZ", "HL", ".EXT"), parts[3]);
    fuzz::WriteFile("SECURITY.IDX", parts[4]);
    fuzz::WriteFile("SECURITY.REC", parts[5]);
    fuzz::WriteFile("COMMON.FIL", parts[6]);
    const int16_t write_mode = static_cast<int16_t>(fuzz::Byte(parts[7], 0) & 1);
    const int16_t exclude_day = static_cast<int16_t>(fuzz::Byte(parts[7], 1) & 1);

    (void)engine::ReplayTransactions("FUZ", "FUZZREPL", engine::kEveryTransaction, 0, exclude_day);
    int16_t status = 0;
    engine::Creatt("FUZ", "FUZZREPL", 1050630.0f, write_mode, exclude_day, status);
    return 0;
}
