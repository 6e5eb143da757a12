#pragma once

// COMMON.FIL, the program's parameter file: 128-byte records, each record
// number with a fixed meaning (program date, firm heading, manager codes,
// options, printer and page settings, ...).

#include <array>
#include <cstdint>
#include <optional>
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
    kManagerCodes2Record = 81,
    kManagerCodes3Record = 82,
    kManagerCodes4Record = 83,
};

// The options record: option n (1-90) in byte n. Options are read and set
// by name (records/options.h).
using Options = std::array<unsigned char, 128>;
// The printer and page settings record as 64 words (word n at index n-1).
using PrinterWords = std::array<int16_t, 64>;

// Validity marks of the printer and page settings record (words 63, 64).
inline constexpr int16_t kPrinterMark1 = 123;
inline constexpr int16_t kPrinterMark2 = 456;

// Number of portfolio manager codes in the table (records 10, 81-83).
inline constexpr int kManagerCodeCount = 100;

// Stores the program date (MM/DD/YY) and its date number in record 2,
// keeping the rest of the record. Returns 0 done, 1 the open failed, 2 the
// read or write failed (also when the text does not read as a date; the
// record is then left as it was), 3 the close failed.
int Setsdt(std::string_view date_text);

// The program date text (record 2, bytes 1-8, MM/DD/YY); blanks when the
// record cannot be read.
std::string ProgramDateText();

// Reads the options record; all zeros when it cannot be read.
Options Rdopts();

// What a report run takes from COMMON.FIL at its start, in one open: the
// program date text and number (blanks and 0 when record 2 cannot be read)
// and the options (all zeros when record 31 cannot be read).
struct RunSettings {
    std::string program_date = std::string(8, ' ');
    float program_number = 0;
    Options options{};
};
RunSettings ReadRunSettings();
// Writes the options record; false when it could not be written.
bool Wropts(const Options& options);
// Reads the printer and page settings; all zeros unless the validity
// marks 123 and 456 are in words 63 and 64.
PrinterWords Rdprto();
// Writes the printer and page settings, setting the validity marks in the
// caller's array first; failures are not reported.
void Wrprto(PrinterWords& words);

// Reads the 100 manager codes (records 10 and 81-83). The table starts as
// zero bytes every call, so codes that cannot be read count as never
// written.
std::array<std::string, kManagerCodeCount> ReadManagerCodes();

// COMMON.FIL as it stands, read without changing it, for the start-up's
// check for damage: whether it exists, its size, and the records the
// start-up reads when the file holds them whole.
struct CommonFileContents {
    bool exists = false;
    std::uintmax_t size = 0;
    std::optional<std::string> date_text;  // bytes 1-8 of record 2
    std::optional<Options> options;        // record 31
};
CommonFileContents InspectCommonFile();

// The name a damaged COMMON.FIL is kept under before anything writes to it.
inline constexpr const char* kDamagedCommonFile = "COMMON.FIL.BAD";
// Copies COMMON.FIL to COMMON.FIL.BAD, replacing an older copy; false when
// the copy could not be made.
bool KeepDamagedCommonFile();

// Status of Chksec.
enum ChksecStatus : int16_t {
    kChksecFound = 0,
    kChksecNoTable = 1,    // the table was never written
    kChksecNoMatch = 2,    // no table code matches
    kChksecNoAccount = 3,  // exact code, but no account has it
};

// Checks a 4-character manager code against the table of 100 codes.
// position (in/out): on an exact match the code's table position (1-100);
// when it came in as -999 nothing more is checked, otherwise ACCOUNT.REC
// must hold an account of that manager. A table code with "?" in some
// places matches a code that agrees in the others. status: ChksecStatus;
// position is 0 unless the status is 0.
void Chksec(std::string_view code, int16_t& position, int16_t& status);

}  // namespace records
