#pragma once

// Security types and the keys built from them.
//
// Each security carries a one-character type. Its index is the position of
// the character in "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ" (1 to 36; "W",
// agency bonds, is 33). Reports print a title per type from TYPENAME.DAT
// (the title of index p in record p + 1, bytes 1-28), group holdings by
// type and sort them by numeric keys built from the type, a date and the
// symbol. Industry categories 1 to 99 have names in SCATNAME.DAT (category
// k in record k + 1, bytes 1-28). The firm may show the 22 types under
// two-character codes of its own (COMMON.FIL record 27), which imports
// convert to and from the one-character types.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"

namespace records {

inline constexpr const char* kTypeNameFile = "TYPENAME.DAT";
inline constexpr const char* kCategoryNameFile = "SCATNAME.DAT";
inline constexpr int kCategoryCount = 99;
inline constexpr std::size_t kCategoryNameWidth = 28;

// The fixed-income types 3 4 5 6 7 B D F W X Y, quoted per 100 of face
// value: a holding's market value is price / 100 x quantity.
bool IsFixedIncomeType(char type);

// The 22 types the firm may name, in the order of its lists: list line k
// shows the type kTypeOrder[k] under the two-character code k of COMMON.FIL
// record 27 (bytes 1-44; the dialogs write bytes 45-128 blank) with the
// 28-character name of its TYPENAME.DAT record (bytes 1-28, blanks after).
inline constexpr std::string_view kTypeOrder = "13456W79BCDXFPNYHJLRST";
inline constexpr int kListedTypeCount = 22;
inline constexpr int kTypeCodesRecord = 27;
inline constexpr std::size_t kTypeCodeWidth = 2;
inline constexpr std::size_t kTypeNameWidth = 28;

// The TYPENAME.DAT record of a type character (its Itypsc index + 1).
int TypeNameRecord(char type);

// The codes and names of the 22 listed types, in list order, each at its
// width (codes 2, names 28) as stored; a record that cannot be read gives
// blanks.
struct TypeNames {
    std::vector<std::string> codes =
        std::vector<std::string>(kListedTypeCount, std::string(kTypeCodeWidth, ' '));
    std::vector<std::string> names =
        std::vector<std::string>(kListedTypeCount, std::string(kTypeNameWidth, ' '));
};
// The table every reader of the type table takes: the data directory's
// own, or where it holds none (HasTypeTable) the standard table
// (StandardTypeNames), which nothing writes there. A type list of a
// folder without a table so names every line, as a new folder's does.
// A listed type whose record TYPENAME.DAT does not hold (the file missing
// or too short) takes the standard name of its code, found among the
// standard codes, or a blank name for a code the standard table has not.
TypeNames ReadTypeNames();
// The code list of COMMON.FIL record 27 that Cvtypc converts through
// (bytes 1-46: the 22 codes and the blank 23rd), on the same rule: the
// standard codes where the directory holds no type table; blanks when the
// record of a table cannot be read.
inline constexpr std::size_t kTypeCodeListWidth = 46;
std::string TypeCodeList();
// TYPENAME.DAT record r (128 bytes) on the same rule: where the directory
// holds no type table, the record the standard table is written as (a
// listed type's name and blanks; zeros for a record between them; none
// past the last listed type's). Where it holds one, the file's record; a
// record the file does not hold is the one the table is written as with
// the standard names of the firm's codes (ReadTypeNames), on the same
// pattern. False when there is none. No file is made.
bool ReadTypeNameRecord(long r, Record& rec);
// Writes COMMON.FIL record 27 (128 blanks with the 22 codes in bytes 1-44)
// and the 22 TYPENAME.DAT records (name, then blanks), each code and name
// blank padded or cut to its width. Records of other types are not
// touched. False when a write failed.
bool WriteTypeNames(const TypeNames& types);

// The type table a new firm starts with: a code and a name for each of the
// 22 listed types, so that the type lists say which line is a common stock
// and which a corporate bond. Its asset classes (COMMON.FIL record 14) and
// income classes (record 25) are the readers' built-in tables, so neither
// record is written for it.
TypeNames StandardTypeNames();
// Whether the data directory holds a type table: COMMON.FIL record 27 or
// one of TYPENAME.DAT's records 1 to 37 (the titles of all 36 type
// characters) holding a byte other than a blank or a zero byte, that is
// anything typed. A file that an open created empty holds none, and
// neither does a table written with every code and name blank.
bool HasTypeTable();
// Writes the standard type table when the directory holds none; a table
// the firm has, whole or in part, is left as it is. True when written.
bool StartTypeTable();

// The index (1 to 36) of the word's first character among the type
// characters; 28 (the index of "R") for any other character.
void Itypsc(std::string_view word, int16_t& index);
int16_t Itypsc(std::string_view word);

// Converts between the one-character types and the firm's two-character
// codes. code_list is COMMON.FIL record 27: 23 two-character codes (46
// characters), code k standing for the k-th type of "1 3 4 5 6 W 7 9 B C D
// X F P N Y H J L R S T" and the 23rd blank. Mode above 1: the first two
// characters of firm_code give type_out (the type and three blanks; blanks
// when the code is not among the first 22). Mode 1 or below: the first
// character of type_in gives firm_code_out (two characters; blanks when the
// type is not among the 22).
void Cvtypc(std::string_view code_list, std::string_view firm_code, std::string& type_out,
            std::string_view type_in, std::string& firm_code_out, int16_t mode);

// The 20-character title of a security type from TYPENAME.DAT, read on the
// type table's rule (ReadTypeNameRecord: the standard title where the
// directory holds no table, the standard name of the firm's code for the
// type where its TYPENAME.DAT lacks the type's record).
// For type "W" with an agency code of 1 or more one of the built-in agency
// titles takes its place. status 0 done; 1 when the type is not a type
// character or its record cannot be read (title unchanged, but the agency
// title of a "W" is still given).
void Gtitle(std::string_view type, std::string& title, int16_t agency, int16_t& status);
// The same with all 28 characters of the title; an agency title is
// followed by 8 blanks.
void Gtitl2(std::string_view type, std::string& title, int16_t agency, int16_t& status);
// Gtitle as the holdings appraisal calls it.
void Ptyp63(std::string_view type, std::string& title, int16_t agency, int16_t& status);

// Reads the 99 industry category names (28 characters each) from
// SCATNAME.DAT records 2 to 100 (unit 6), stopping at the first record that
// cannot be read; names not read keep their content. names is resized to 99.
void Siccat(std::vector<std::string>& names);
// Writes the 99 names to records 2 to 100, each blank padded or cut to 28
// characters; the rest of each record keeps its bytes.
void Wrscat(const std::vector<std::string>& names);

// SCATNAME.DAT record r (128 bytes); false when it cannot be read. No
// file is made.
bool ReadCategoryNameRecord(long r, Record& rec);
// The 28-character name in record r of a name table, read by `read`
// (ReadTypeNameRecord or ReadCategoryNameRecord), as a report titles with
// it: bytes never written read as blanks; 28 blanks, found false, when the
// record cannot be read.
std::string NameInRecord(bool (*read)(long, Record&), long r, bool& found);

// Merge key of a holding: a x 10^14 + b x 10^12 + the character codes of the
// symbol's first 8 characters, character i weighted 10^(2(8 - i)). The first
// character weighs as much as a, so the key is for equality, not order.
void Gtpcd3(double& key, int a, int b, std::string_view symbol);
// Order key of a holding: a x 10^14 + b x 10^12 + the date number widened
// to eight digits (below 800000 plus 20,000,000, above plus 19,000,000), or,
// when the date is 0, negative or 800000, the character codes of the
// symbol's first 6 characters, character i weighted 10^(2(6 - i)).
void Gtpcd2(double& key, int a, int b, float date_number, std::string_view symbol);

// The fields of a holding record of TEMP1.WRK (256-byte records, the
// valued holdings work file of the position reports) that Combin adds up.
// Offsets count from 0.
struct HoldingMergeFields {
    std::size_t quantity = 26;          // R8
    std::size_t cost = 110;             // R8
    std::size_t market_value = 118;     // R8, kNoPriceValue when unpriced
    std::size_t face_value_flag = 126;  // I2, 1 when priced per 100 of face value
    std::size_t change = 128;           // R4, -999.99 when there is none
};

inline constexpr const char* kHoldingsWorkFile = "TEMP1.WRK";
// The "no figure" marker of the R4 change field.
inline constexpr float kNoChangeValue = -999.99f;

// Merges holdings of equal merge key in TEMP1.WRK (unit 7). keys and
// records are the caller's holding list, sorted by key: for each entry with
// a record number above 0, every later entry with the same key is added
// into it (quantity, cost, market value and change; a missing market value
// or change on either side leaves it missing; the face-value flag is 1 when
// either has it), its record number is set to 0 and the merged record is
// written back whole. The first n entries are used.
void Combin(int n, const std::vector<double>& keys, std::vector<int16_t>& records,
            const HoldingMergeFields& fields = {});

}  // namespace records
