// The security cross reference and its extract IECA.DAT over files of
// arbitrary bytes: ACCOUNT.IDX/REC, SECURITY.IDX/REC, COMMON.FIL (options,
// the broker/bank record 69) and the lots HLADAMS.REC of the sample firm's
// first account. The long form with option 52 writes the extract: every
// line of it is 80 characters, and the report is ended.

#include <fstream>
#include <string>

#include "records/common_file.h"
#include "records/cross_reference_files.h"
#include "records/options.h"
#include "records/record.h"
#include "reports/lists/security_cross_reference.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 7);
    fuzz::FreshDataDir();
    fuzz::WriteFile("ACCOUNT.IDX", parts[0]);
    fuzz::WriteFile("ACCOUNT.REC", parts[1]);
    fuzz::WriteFile("SECURITY.IDX", parts[2]);
    fuzz::WriteFile("SECURITY.REC", parts[3]);
    fuzz::WriteFile("COMMON.FIL", fuzz::ShortPages(parts[4]));
    fuzz::WriteFile("HLADAMS.REC", parts[5]);
    const std::string_view control = parts[6];
    if (fuzz::Byte(control, 0) & 1) {
        records::Options options = records::Rdopts();
        records::SetOption(options, records::Opt::kLoanLimitAndExtracts,
                           1);  // option 52: names, addresses and the extract
        records::Wropts(options);
    }
    const std::string symbol =
        records::Fixed(control.substr(std::min<std::size_t>(control.size(), 1), 12), 12);
    reports::Chlpos(static_cast<int16_t>(1 + (fuzz::Byte(control, 0) >> 1 & 1)), " 6/30/98", "????", symbol,
                    1, "XREF.TXT    ", "1234", records::Fixed("FIRST BANK", 40), "T   ");
    std::ifstream extract(records::kCrossReferenceExtractFile, std::ios::binary);
    std::string line;
    while (std::getline(extract, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        fuzz::Require(line.size() == 80);
    }
    return 0;
}
