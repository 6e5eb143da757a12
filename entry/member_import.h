#pragma once

// The member account import. A credit union's member file holds one
// fixed-width text line of 431 characters per member: the member's account
// number and suffix, tax identification number, four deposits and a name
// and address block. Mdwnacct reads it in one of two modes:
//
// - member mode (mode 0 or less) sets every member up as a new account
//   (index key, the eight account records, a holdings-history file of zero
//   values for the year of the program date) under running six-digit
//   identifiers and prints the "DOWNLOAD CLIENT DATA REPORT";
// - deposit mode (mode 1 or more) finds each member's account by its
//   custodian account number and appends each deposit to OFFLINET.DAT as a
//   transaction in a fixed security, with a cash line beside it when
//   option 59 asks for one, and prints the "DOWNLOAD DEPOSIT DATA REPORT".
//
// Plain C++ on the record layer (no Qt): the report runner calls it for
// codes 44 (member mode) and 291 (deposit mode); Nxtacid gives the import
// dialog its proposed starting identifier.

#include <cstdint>
#include <string>
#include <string_view>

namespace entry {

inline constexpr std::size_t kMemberLineLength = 431;
// The most member lines one run reads.
inline constexpr long kMaxMemberLines = 32000;
// The most keys ACCOUNT.IDX can count (its count is a 16-bit word).
inline constexpr int kMaxAccountKeys = 32767;
// The security every deposit is entered in.
inline constexpr const char* kDepositSymbol = "IBM";

// The report line of a run that had to stop before the end of the file.
inline constexpr const char* kImportStoppedLine = " *** Import stopped: file not read to its end.";

// The import. Texts are blank-padded fields: the member file name (48),
// the transaction code ("B   " or "SI  "), the transfer date (MM/DD/YY,
// used with "SI" only), the set-manager-code flag ("Y   " puts the cash
// balance code into the manager code at column 1-4) and the output file
// name (12), which receives a copy of the report. starting_id is the first
// identifier to give out in member mode; it comes back past the last one
// given out.
void Mdwnacct(int16_t mode, std::string_view member_file, std::string_view tran_code,
              std::string_view transfer_date, std::string_view set_manager_flag, int16_t column,
              int16_t& starting_id, std::string_view output_name);

// The starting identifier proposed for the next member-mode run: one past
// the identifier in COMMON.FIL record 29 (1 when none was given out yet).
// error 1 with the message (blank padded to 80) when the stored text does
// not give a number from 1 to 10000; the number is then not to be used.
void Nxtacid(int16_t& starting_id, int16_t& error, std::string& message);

// A deposit date YYMMDD as MM/DD/YY.
std::string Ymddat(std::string_view yymmdd);

}  // namespace entry
