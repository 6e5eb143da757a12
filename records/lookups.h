#pragma once

// Account and security look-ups: find an account identifier or a security
// symbol in its index and read the fields of its records that the callers
// use, and find a lot of an account's stored holdings.
//
// Account files: ACCOUNT.IDX (16 keys of 8 characters a record) and
// ACCOUNT.REC, whose eight 128-byte records R1 to R8 of account entry k are
// records 8k - 7 to 8k. The account name that look-ups, lists and report
// headings use is the short name of R2. Security files: SECURITY.IDX (10
// keys of 12 characters a record) and SECURITY.REC, record e for entry e.
//
// Every look-up opens and closes its own files (units as noted), except
// Gettyp, which works on the caller's open units. A failing open or read
// counts as "not found"; texts come back blank and numbers zero.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/common_file.h"
#include "records/index_slot.h"
#include "records/performance_control.h"

namespace records {

// ---- Securities

// What Gettyp reads of a security.
struct SecurityType {
    int entry = 0;                           // 0 when the symbol is not in the index
    std::string type = std::string(4, ' ');  // type character and three blanks
    std::string cusip = std::string(12, ' ');
    std::string maturity = std::string(8, ' ');  // MM/DD/YY
    float rate = -999.99f;                       // coupon or dividend rate; -999.99 none
};

// Finds the symbol in the SECURITY.IDX open on index_unit and reads its
// record from the SECURITY.REC open on record_unit. Leaves both units open.
SecurityType Gettyp(std::string_view symbol, int index_unit, int record_unit);

// What Cksym reads of a security.
struct SecurityDescription {
    int entry = 0;                                    // 0 when the symbol is not found
    std::string cusip = std::string(12, ' ');         // bytes 1-12
    std::string description1 = std::string(32, ' ');  // bytes 13-44
    std::string description2 = std::string(32, ' ');  // bytes 45-76
    std::string type = std::string(4, ' ');           // bytes 77-80
    std::string category = std::string(4, ' ');       // bytes 81-84
    std::string maturity = std::string(8, ' ');       // bytes 89-96
    float rate = -999.99f;                            // bytes 97-100
};

// Finds the symbol in SECURITY.IDX (unit 7) and reads its SECURITY.REC
// record (unit 8). A blank second description line is generated from the
// coupon rate and the maturity date ("  12.500%  06/15/10" and blanks) when
// option 2 is on, the maturity date is not blank, the symbol does not begin
// with "CASH", the type is not "1" and the rate is not -999.99.
SecurityDescription Cksym(std::string_view symbol, const Options& options);

// ---- Accounts

// An account as the walks through ACCOUNT.IDX return it (Gtclnt).
struct AccountSummary {
    int count = 0;                              // entries in ACCOUNT.IDX
    std::string account = std::string(8, ' ');  // the key at the position
    std::string name = std::string(32, ' ');    // R2 bytes 53-84 (short name)
    std::string manager = std::string(4, ' ');  // R2 bytes 17-20
};

// Adds 1 to position and returns the account at that entry with the entry
// count. An empty or unreadable index gives position and count 0. A
// deleted ("$$$$") key comes back as it is; callers pass over it.
AccountSummary Gtclnt(int& position);

// Gtclt2 returns further fields of the account.
struct AccountDetail : AccountSummary {
    std::string custodian_account = std::string(32, ' ');  // R3 bytes 33-64
    std::string broker = std::string(8, ' ');              // R3 bytes 73-80
    std::string objective = std::string(4, ' ');           // R4 bytes 88-91
};

// As Gtclnt, with the custodian account number, the broker identifier and
// the investment objective.
AccountDetail Gtclt2(int& position);

// Ckclnt's result. entry counts one further than the index entry k (so the
// account's first record is 8 x entry - 15); 0 when absent.
struct AccountEntry {
    int entry = 0;
    std::string name = std::string(32, ' ');  // blank when absent
};

// Finds the account identifier in ACCOUNT.IDX and reads its name (unit 6).
AccountEntry Ckclnt(std::string_view account);

// Jncltx's result: where the key stands in ACCOUNT.IDX.
struct AccountPlace {
    int place = 0;         // 1-16 within its index record; 0 when absent
    int index_record = 0;  // the index record holding the key; 0 when absent
    std::string name = std::string(32, ' ');
};

// Finds the account identifier in ACCOUNT.IDX and reads its name (unit 6).
AccountPlace Jncltx(std::string_view account);

// Reads the named account's performance fields (unit 6) into the fields
// of the account record of PCONTROL.FIL (records/performance_control.h)
// that the account supplies: position, title, manager code, opening date,
// initial value (0 unless read), index base levels, carry-in figures,
// figures B and C, fiscal year-end month, the four fields of R7 and the
// two index slots. A read that fails ends the reading; the fields not
// read keep their defaults.
PerformanceAccount Ckct75(std::string_view account);
// The same for the account of entry n (1 on) of ACCOUNT.IDX, without a
// search of the index; position 0 when entry is below 1.
PerformanceAccount ReadPerformanceFields(int entry);

// The members that a composite account (entry n of ACCOUNT.IDX) lists in
// its own third and fourth ACCOUNT.REC records: its combined accounts 1 to
// 10 (1-5 in R4, 6-10 in R3, six characters each, as the account file
// stores them), padded to 8 characters, the first blank one ending the
// list. read is false (and no member given) when a record could not be
// read.
std::vector<std::string> CompositeMembers(int entry, bool& read);

// ---- Lots of an account's stored holdings (HL<acct>.REC)

// The open date and cost of a lot.
struct LotOpening {
    std::string open_date = std::string(8, ' ');  // MM/DD/YY
    double cost = 0;
};

// Walks the lots of HL<acct>.REC (unit 10) for the first lot with this
// symbol (12 characters) and tax lot code (4); nothing when there is none.
std::optional<LotOpening> Getco(std::string_view account, std::string_view symbol, std::string_view tax_lot);

// Fills a transaction's free texts from the account's stored lot: when the
// whole of text (20 characters) is blank and the symbol does not begin
// with "CASH", the memo of the first lot of HL<acct>.REC (unit 16) with this
// symbol and tax lot code goes into text; with option 64 set, that lot's
// record of HL<acct>.EXT gives date (8) and description (32). Without such
// a lot, or when a record cannot be read, the texts stay as they were.
void Ftele(std::string_view account, std::string_view symbol, std::string_view tax_lot, std::string& text,
           std::string& date, std::string& description, const Options& options);

}  // namespace records
