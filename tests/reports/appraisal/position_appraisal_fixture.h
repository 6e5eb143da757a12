#pragma once

// What the data directories of the appraisal tests share (the account
// appraisal's aafix and the mutual fund appraisal's mffix): the allocation
// code of a security record, the options, a COMMON.FIL record and the
// type names.

#include <string>
#include <utility>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "records/security_types.h"
#include "tests/fixtures/report_data.h"

namespace apfix {

// An allocation code ("ST", "IT", "LT", "IG", "CG", "AG", "IH") as the
// security record's first word holds it.
inline int16_t Allocation(const char* code) {
    return static_cast<int16_t>(static_cast<unsigned char>(code[0]) |
                                (static_cast<unsigned char>(code[1]) << 8));
}

// Sets the given options, every other option 0.
inline void SetOptions(const std::vector<std::pair<records::Opt, unsigned char>>& options) {
    records::Options record{};
    for (const auto& [n, value] : options) records::SetOption(record, n, value);
    records::Wropts(record);
}

// Writes the bytes of COMMON.FIL record n from offset 0 (the rest of the
// record kept, or blank when it was not there).
inline void WriteCommonRecord(long n, const std::string& text) {
    records::DirectFile common(records::kCommonFile, 128);
    records::Record rec;
    if (!common.Read(n, rec)) rec = records::Record(128, ' ');
    for (std::size_t i = 0; i < text.size() && i < 128; ++i)
        rec.data()[i] = static_cast<unsigned char>(text[i]);
    common.Write(n, rec);
}

// The names of the types the appraisal tests hold.
inline void WriteTypeNames() {
    fixtures::WriteNameFile(records::kTypeNameFile, {{2, "CASH AND EQUIVALENTS"},
                                                     {5, "MUNICIPAL BONDS"},
                                                     {6, "CORPORATE NOTES"},
                                                     {18, "COMMON STOCKS"},
                                                     {26, "EQUITY FUNDS"},
                                                     {36, "ASSETS HELD AWAY"}});
}

}  // namespace apfix
