#pragma once

// What the member account import writes of a new account, and the record
// that remembers the last account identifier it gave out.
//
// A credit union member becomes an account with a fixed set of values:
// name and address from the member's block, the tax identification number,
// the custodian account number (the member's account number and suffix),
// the cash balance code and, when asked, a manager code built from it;
// everything else takes the values of a new account. The byte-level
// layout of the eight records is that of the account file (account_file.h);
// the bytes this import leaves zero or blank are given here record by
// record, since a new account's records are compared byte for byte with
// what the import has always written.
//
// COMMON.FIL record 29, bytes 0-7: the last identifier given out, six
// digits and two blanks ("000043  "); the rest of the record is kept.

#include <array>
#include <string>
#include <string_view>

#include "records/account_file.h"

namespace records {

inline constexpr int kLastMemberIdentifierRecord = 29;

// The fields of a new member account; texts are blank padded or cut to
// their widths.
struct NewMemberAccount {
    std::array<std::string, 5> lines;  // name and address lines 1-5, 32 each
    std::string manager_code;          // 4
    std::string tax_id;                // 12
    std::string date_opened;           // 8, MM/DD/YY
    std::string custodian_account;     // 32: the member descriptor
    std::string cash_balance_code;     // 4: "S   " or "C   "
    std::array<std::string, 4> notes;  // 60 each: the member's block as four lines
};

// R1 to R8 of the account. keep_r3 holds the R3 already stored at the
// account's place (bytes 126-127 are kept from it, as the import never
// writes them); zero bytes when there was none.
AccountRecordSet MemberAccountRecords(const NewMemberAccount& account, const Record& keep_r3);

// The 8 characters of COMMON.FIL record 29 as stored; false (text
// unchanged) when the record cannot be read.
bool ReadLastMemberIdentifier(std::string& text);
// Writes the 8 characters into record 29, keeping the rest of the record.
void WriteLastMemberIdentifier(std::string_view text);

}  // namespace records
