#pragma once

// Account lists. Reports that run over several accounts take their accounts
// from a list: the whole ACCOUNT.IDX in entry order or sorted (Bldacl), or
// a text file of account identifiers that the user prepared (Rdaclst).
// Also here: the numbered-record files that appraisal routines append to
// (Wcuso), the read of an account's custodian account text (Wcurec), and
// the program-wide array of account objects that the account dialogs edit.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "records/common_file.h"

namespace records {

// Reads an account-list text file (unit 14): the first 8 characters of
// every line, blank padded, until the end of the file. Every line is read,
// however long the list.
void Rdaclst(std::vector<std::string>& identifiers, int& count, std::string_view file_name);

// Sort orders of Bldacl.
enum AccountListKind : int16_t {
    kListByIdentifier = 1,        // the 8-character identifier
    kListByShortName = 2,         // the account short name, R2 bytes 53-84
    kListByCustodianAccount = 3,  // the first 16 characters of the custodian account number, R3 bytes 33-48
    kListByBrokerName = 4,        // the name of the account's broker (BROKER.REC)
    kListByCustodianName = 5,     // the name of the account's custodian (CUSTDN.REC)
};

// In-memory room of one sorted run: a longer list is also sorted in runs
// written to SORT1.DAT, SORT2.DAT, ... for the callers that merge them.
inline constexpr int kAccountRunSize = 2000;
inline constexpr int kAccountNameRunSize = 1250;  // kinds 2, 4 and 5
inline constexpr int kMaxAccountRuns = 8;

// Lists every account of ACCOUNT.IDX whose key is neither deleted ("$$$$")
// nor blank (on its first four characters), sorted ascending byte by byte on
// the key of the kind (any other kind sorts by identifier). With option 10
// set, kinds 2 and 4 sort the name last word first. The list (identifiers
// with the first ACCOUNT.REC record 8p - 7 of entry p) is always complete
// and sorted. A list longer than one run (2000 entries, 1250 for kinds 2, 4
// and 5) is also written as sorted runs to SORT1.DAT to SORTr.DAT (tag =
// the entry number p), r returned in runs. status 1 when the index cannot
// be read or the list needs more than 8 runs; 0 otherwise.
void Bldacl(std::vector<std::string>& identifiers, int& count, std::vector<long>& first_records, int kind,
            const Options& options, int16_t& status, int& runs);

// Appends a record to a numbered-record file (unit 5): 128-byte records
// ending in CR LF, record 1 holding the number of the last record written
// as six digits, 120 blanks, CR LF. The caller's record (blank padded or
// cut to 128) gets CR LF as its last two bytes and is written after the
// last one.
void Wcuso(std::string_view file_name, std::string_view record);

// The 32-character custodian account text (R3 bytes 33-64) of account
// entry k when flag is above 0, else of entry k - 1; read from ACCOUNT.REC
// on unit 7. field keeps its content when the record cannot be read.
void Wcurec(int entry, int16_t flag, std::string& field);

// The in-memory account object that the account dialogs edit: one field
// per field of the account records (ACCOUNT.REC, see account_file.h). Texts
// are held without their trailing blanks; numbers in their stored form.
class CAccountEntry {
public:
    CAccountEntry() = default;
    // A new account: keeps the characters of the typed identifier before
    // its first blank, at most 6; the account opens on the program date
    // (COMMON.FIL record 2) and takes the defaults below.
    explicit CAccountEntry(std::string_view typed_identifier);

    std::string identifier;  // up to 6 characters, no blanks

    // R1 and R3: name and address.
    std::string name;
    std::array<std::string, 4> address;  // lines 1-3 in R1, line 4 in R3
    // R2.
    std::string manager_code;
    std::string salutation;
    std::string short_name;
    std::string tax_id;
    std::string home_phone;
    std::string business_phone;
    std::string date_opened;  // MM/DD/YY
    // R3.
    std::string custodian1;  // the custodian account number, first half
    std::string custodian2;  // and second half
    std::string custodian_id;
    std::string broker_id;
    int16_t fiscal_year_end_month = 12;
    std::string cash_balance_code;  // "S", "C", "N" or empty
    // R4.
    float index1_price = 0;
    float index2_price = 0;
    double opening_value = 0;
    // R4 bytes 16-35: the performance start month, year and value and 8
    // reserved bytes, which the performance routines own. They are carried
    // byte for byte; a new account holds zeros (a start month of 0 means
    // "not started"), never blanks, which would read as month 8224.
    std::array<unsigned char, 20> performance_start{};
    std::string management_fee_code = "0";
    float setup_charge = 0;
    int16_t billing_frequency = 3;  // 1 annually ... 6 every 4 months
    int16_t invoice_letter_type = 2;
    int16_t management_fee_option = 1;
    std::array<std::string, 10> combined;  // combined accounts 1-10
    std::string investment_objective;
    // R4 bytes 111-114: the fiscal-year-to-date return the performance
    // summary stores; carried byte for byte, zeros for a new account.
    std::array<unsigned char, 4> fiscal_ytd_return{};
    // R5 and R6.
    std::array<std::string, 4> notes;
    // R8.
    std::array<std::string, 2> index_symbol;
    std::array<std::array<std::string, 3>, 2> column_headers;  // [index][header]
};

// The program-wide array of account objects: empty at start-up, its
// objects deleted at exit; the account dialogs fill and empty it.
std::vector<std::unique_ptr<CAccountEntry>>& AccountArray();

// The position (from 0) of the first object in the account array whose
// identifier equals the text byte for byte; -1 when there is none.
int FindAccountEntry(std::string_view identifier);

}  // namespace records
