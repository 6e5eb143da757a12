#pragma once

// Account lists. Reports that run over several accounts take their accounts
// from a list: the whole ACCOUNT.IDX in entry order or sorted (Bldacl), or
// a text file of account identifiers that the user prepared (Rdaclst).
// Also here: the numbered-record files that appraisal routines append to
// (Wcuso), the read of an account's custodian account text (Wcurec), and
// the program-wide array of account objects that the account dialogs edit.

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

// The in-memory account object that the account page dialogs edit.
class CAccountEntry {
public:
    CAccountEntry() = default;
    // Keeps the characters of the typed identifier before its first blank,
    // at most 6.
    explicit CAccountEntry(std::string_view typed_identifier);

    std::string identifier;                       // up to 6 characters, no blanks
    int16_t fiscal_year_end_month = 12;           // R3 bytes 81-82
    int16_t invoice_letter_type = 2;              // R4 bytes 44-45
    int16_t management_fee_option = 1;            // R4 bytes 46-47
    std::string reserved = std::string(20, ' ');  // R4 bytes 17-36
};

// The program-wide array of account objects: empty at start-up, its
// objects deleted at exit; the account dialogs fill and empty it.
std::vector<std::unique_ptr<CAccountEntry>>& AccountArray();

// The position (from 0) of the first object in the account array whose
// identifier equals the text byte for byte; -1 when there is none.
int FindAccountEntry(std::string_view identifier);

}  // namespace records
