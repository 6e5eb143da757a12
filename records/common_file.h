#pragma once

// COMMON.FIL, the program's parameter file: 128-byte records, each record
// number with a fixed meaning (program date, firm heading, manager codes,
// options, printer and page settings, ...).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace records {

inline constexpr const char* kCommonFile = "COMMON.FIL";

// Record numbers of COMMON.FIL.
enum CommonRecord : int {
    kProgramDateRecord = 2,
    kUpdateParameterRecord = 4,
    kPostDateRecord = 7,
    kManagerCodes1Record = 10,
    kFirmHeadingRecord = 13,
    kTypeCategoryRecord = 14,
    kOptionsRecord = 31,
    kPrinterSettingsRecord = 80,
};

// The options record: option n (1-90) in byte n.
using Options = std::array<unsigned char, 128>;
// The printer and page settings record as 64 words (word n at index n-1).
using PrinterWords = std::array<int16_t, 64>;

// Stores the program date (MM/DD/YY) and its date number in record 2.
// Returns 0 done, 1 the open failed, 2 the read or write failed, 3 the
// close failed.
int Setsdt(std::string_view date_text);

// Reads the options record; all zeros when it cannot be read.
Options Rdopts();
// Writes the options record.
void Wropts(const Options& options);
// Reads the printer and page settings; all zeros unless the validity
// marks 123 and 456 are in words 63 and 64.
PrinterWords Rdprto();
// Writes the printer and page settings, setting the validity marks in the
// caller's array first.
void Wrprto(PrinterWords& words);

// Checks a manager code against the table of 100 codes; see common_file.cpp.
// status: 0 found, 1 table never written, 2 no match, 3 no account of that
// manager.
void Chksec(std::string_view code, int16_t& position, int16_t& status);

}  // namespace records
