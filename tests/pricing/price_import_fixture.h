#pragma once

// A data directory for price imports: seven securities, the program date
// 01/20/98, a firm heading, and the sample price files of
// tests/fixtures/prices/ one call away.

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace pricing_test {

// Entry 2 is deleted; entry 3's CUSIP is "IBM"; entry 6 repeats the
// symbol IBM; entry 4 is the only type "J".
inline std::vector<fixtures::SecurityFields> SampleSecurities() {
    return {
        {.symbol = "IBM", .cusip = "459200101", .type = "C"},
        {.symbol = "$$$$", .cusip = "IBM", .type = "C"},
        {.symbol = "MSFT", .cusip = "IBM", .type = "C"},
        {.symbol = "BONDJ", .cusip = "912828AB1", .type = "J"},
        {.symbol = "XRX", .cusip = "984121103", .type = "C"},
        {.symbol = "IBM", .cusip = "IBMTWO", .type = "C"},
        {.symbol = "ABCDEFGHIJ", .cusip = "ABCDEFGHIJ", .type = "C"},
    };
}

// COMMON.FIL: the program date (record 2) and the firm heading with page
// length 58 and no top lines (record 13).
inline void WriteCommon(const std::string& program_date, float number) {
    records::Record date(128, 0);
    date.SetText(0, 8, program_date);
    date.SetR4(8, number);
    fixtures::WriteCommonRecord(2, date);
    records::Record firm(128, 0);
    firm.SetText(0, 50, "LEDRA TEST ADVISERS");
    firm.SetText(50, 10, "");
    firm.SetI16(60, 58);
    firm.SetI16(62, 0);
    fixtures::WriteCommonRecord(13, firm);
    fixtures::WriteCommonRecord(31, records::Record(128, 0));
}

inline void WriteSampleData() {
    fixtures::WriteSecurities(SampleSecurities());
    WriteCommon("01/20/98", 980120);
}

// Copies a sample price file of tests/fixtures/prices/ into the data
// directory under `as`.
inline void CopySample(const std::string& name, const std::string& as) {
    std::filesystem::copy_file(std::filesystem::path(LEDRA_TESTS_DIR) / "fixtures" / "prices" / name, as,
                               std::filesystem::copy_options::overwrite_existing);
}

// The lines of OUTPUT.TMP, trailing blanks dropped, each ended by "\n".
inline std::string ReportText(const std::string& name = "OUTPUT.TMP") {
    const records::DirectFile file(name, 132, false);
    std::string text;
    records::Record rec;
    for (long n = 1; file.Read(n, rec); ++n) text += records::TrimRight(rec.Text(0, 132)) + "\n";
    return text;
}

// The names of the files of the data directory, sorted.
inline std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator("."))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace pricing_test
