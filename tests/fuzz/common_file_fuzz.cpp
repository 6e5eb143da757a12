// COMMON.FIL of arbitrary bytes through the readers of its records: the
// options, the printer words, the manager codes, the program date, the
// security-code check and the inspection of a damaged file.

#include "records/common_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FreshDataDir();
    fuzz::WriteFile(records::kCommonFile, std::string_view(reinterpret_cast<const char*>(data), size));
    (void)records::Rdopts();
    (void)records::Rdprto();
    (void)records::ReadManagerCodes();
    (void)records::ProgramDateText();
    (void)records::InspectCommonFile();
    int16_t position = 0, status = 0;
    records::Chksec("AB", position, status);
    return 0;
}
