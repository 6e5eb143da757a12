#pragma once

// The steps that trade, cash and transfer posting share: the messages of
// their common checks, the account and security look-ups, the security
// master fields, the number and date checks of a form field, the
// extension-file creator, the filing of one transaction record with the
// copies that let a failed posting be undone, and the filing followed by a
// rebuild of the stored holdings that trade and transfer posting end with.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/entry_form.h"
#include "records/account_records.h"
#include "records/common_file.h"

namespace engine {

// The messages of the checks the posting routines share.
inline constexpr std::string_view kInvalidAccount = "Invalid account identifier.";
inline constexpr std::string_view kInvalidSecurity = "Invalid security identifier.";
inline constexpr std::string_view kInvalidCode = "Invalid transaction code.";
inline constexpr std::string_view kLotSold = "This lot has been partially or totally sold/covered.";
// Failures of posting itself, on flag 9.
inline constexpr std::string_view kRecordNotInUse = "No transaction in this record.";
inline constexpr std::string_view kNotFiled = "Files could not be written; nothing was posted.";

// The latest date a transaction, settlement, record or purchase date may
// carry: 12/31/2099 in the windowed form.
inline constexpr float kLatestDate = 1991231.0f;

// ---- Look-ups

// What posting takes from an account's records.
struct FoundAccount {
    int16_t entry = 0;                         // index position + 1; 0 when not found
    std::string name = std::string(32, ' ');   // R2 bytes 53-84
    std::string broker = std::string(8, ' ');  // R3 bytes 73-80
    std::string opened = std::string(8, ' ');  // R2 bytes 121-128, the opening date MM/DD/YY
    std::string words = std::string(12, ' ');  // R6 bytes 61-72
};

// Finds the account identifier (8 characters, both words compared) in
// ACCOUNT.IDX and reads its fields from ACCOUNT.REC. A deleted ("$$$$")
// entry is never found. Not found (also when the index cannot be read):
// entry 0 and blank fields.
void Fndact(std::string_view account, FoundAccount& found);

// The entry of the symbol (12 characters, all compared) in SECURITY.IDX,
// which is its record number in SECURITY.REC; 0 when absent, deleted or
// unreadable.
void Fndsec(std::string_view symbol, int16_t& record);

// The leading fields of a SECURITY.REC record, as posting keeps them while
// it files a transaction.
struct SecurityMaster {
    // Bytes 1-12 are the field Security Data keeps as the CUSIP (the
    // identifier itself under option 1); the look-ups read them as the
    // record's symbol, and the holding key takes its first six characters
    // only to order lots that have no date.
    std::string symbol = std::string(12, ' ');        // bytes 1-12
    std::string description1 = std::string(32, ' ');  // bytes 13-44
    std::string description2 = std::string(32, ' ');  // bytes 45-76
    std::string type = std::string(4, ' ');           // bytes 77-80, type character and blanks
    std::string subclass = std::string(4, ' ');       // bytes 81-84
    std::string third = std::string(4, ' ');          // bytes 85-88
    std::string date = std::string(8, ' ');           // bytes 89-96, MM/DD/YY
    float date_number = 0;                            // the date as YYMMDD (year < 51 as 100 + YY)

    // The holding key of the security's lots (records::Gtprcd over the
    // type character, the subclass, the date and the first 12 bytes).
    double HoldingKey() const;
};

// Reads SECURITY.REC record `record` into master; false, with master as it
// was, when the record number is below 1 or the record cannot be read.
bool ReadSecurityMaster(int16_t record, SecurityMaster& master);

// ---- Checks of form fields

// Reads field n as a number and checks its range (Cknum4 for a float,
// Cknum8 for a double); a failure rejects field n with its message.
template <class T>
void CheckNumber(EntryForm& form, int n, T& value) {
    if (!ReadEntryNumber(form.Field(n), value)) {
        form.Reject(n, kValueMustBeNumeric);
        return;
    }
    int16_t flag = 0;
    std::string message;
    if constexpr (std::is_same_v<T, float>)
        Cknum4(value, flag, message);
    else
        Cknum8(value, flag, message);
    if (flag != 0) form.Reject(n, message);
}

// Runs the dated check of Ckdatm on a date between low and high; a failure
// rejects field n with the check's message, or with `message` where the
// form has one of its own for the field.
void CheckDate(EntryForm& form, int n, std::string& date, float& number, float low, float high);
void CheckDate(EntryForm& form, int n, std::string& date, float& number, float low, float high,
               std::string_view message);

// ---- Filing

// Makes sure the named file exists (creating it empty) and writes `prefill`
// records of 128 blanks from record 1 on.
void Crtext(std::string_view name, int prefill);

// True when option 36 or option 64 asks for TR<acct>.EXT.
bool ExtensionFileWanted(const records::Options& options);

// COMMON.FIL record 2: the program date text and its YYMMDD number (0 when
// the record cannot be read).
struct ProgramDate {
    std::string text = std::string(8, ' ');
    float number = 0;
};
ProgramDate ReadProgramDate();

// The YYMMDD number of the account's opening date, the low bound of a
// transaction date.
float OpeningDateNumber(const FoundAccount& account);

// Copies of whole files taken before a posting writes, so that a posting
// that fails half way can put every file back as it was.
class FileSnapshots {
public:
    // Takes the file's bytes, or notes that it does not exist. A name
    // already kept is not taken again.
    void Keep(std::string_view name);
    // Puts every kept file back: its bytes (written beside it and renamed
    // over it), or no file when there was none. False when one could not
    // be put back.
    bool Restore() const;

private:
    struct Snapshot {
        std::string name;
        bool existed = false;
        std::vector<unsigned char> bytes;
    };
    std::vector<Snapshot> snapshots_;
};

// The transaction in use at the record: a record from 2 to the last record
// in use that is not deleted. False when there is none.
bool ReadStoredTransaction(std::string_view account, int32_t record, records::TransactionRecord& transaction);

// Files one transaction in TR<acct>.REC. An add takes the record after the
// last one in use (1 when the header cannot be read) and moves the header
// on; a change writes the transaction and a deletion 128 blanks at the
// record. With with_extension, TR<acct>.EXT gets the same record number:
// bytes 1-20 and 29-60 zero, bytes 21-28 extension_date (8 bytes), or 128
// blanks for a deletion; bytes 61-128 keep what the record held. With
// keep_tail, bytes 125-128 of the transaction record keep what the record
// held. False when a write failed.
bool FileTransaction(std::string_view account, PostingMode mode, int32_t& record,
                     const records::TransactionRecord& transaction, std::string_view extension_date,
                     bool with_extension, bool keep_tail);

// Keeps copies of the account's transaction files (and of the stored
// holdings and gains, which a rebuild replaces).
void KeepTransactionFiles(FileSnapshots& snapshots, std::string_view account, bool with_extension);
void KeepHoldingsFiles(FileSnapshots& snapshots, std::string_view account);

// Files the transaction (FileTransaction, keeping bytes 125-128, with
// TR<acct>.EXT when the options ask for it) and rebuilds the account's
// stored holdings and gains (Rbldhl), all or nothing: when a write fails
// or the rebuild refuses the result, the transaction files and the stored
// holdings and gains are put back, record is given back its value and flag
// 9 says why (kNotFiled, or kLotSold for a sale or withdrawal the lots do
// not cover). True when the transaction was posted.
bool FileAndRebuild(std::string_view account, PostingMode mode, int32_t& record,
                    const records::TransactionRecord& transaction, std::string_view extension_date,
                    const records::Options& options, EntryForm& form);

}  // namespace engine
