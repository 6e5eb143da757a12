#pragma once

// The transaction code table and the transaction filter shared by the
// transaction ledger, the composite transaction ledger and the member
// statement.
//
// The table has 23 entries: the 21 transaction codes, a second "S" entry
// that a look-up never reaches (entry 20) and entry 21, which no code
// matches and which stands for a code that is not in the table (blank
// description, no signs). The interest codes IP and IS carry no units, so
// their units sign is 0 while their quantity sign and value factor are not.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/options.h"

namespace reports {

struct LedgerCode {
    int index = 21;                                 // 1-23
    std::string_view code = "  ";                   // two characters
    std::string_view description = "            ";  // 12 characters
    int cash_sign = 0;                              // sign of the amount in the cash balance
    int quantity_sign = 0;                          // the ledger's quantity sign
    int units_sign = 0;                             // the composite's units sign
    int value_factor = 0;                           // the composite's asset value factor
};

inline constexpr int kUnlistedCodeEntry = 21;

// Entry 1-23 of the table.
const LedgerCode& LedgerCodeEntry(int index);

// Looks up the first two characters of a transaction code (entries 1-23 in
// order, entry 21 never matched; not found gives entry 21). MI reads
// "CAPITAL DIST" when capital_distribution is set (option 3 at 1 or more).
LedgerCode LedgerCodeTable(std::string_view code, bool capital_distribution);

// Option 3 of the options record: miscellaneous income is a capital
// distribution.
inline bool CapitalDistribution(const records::Options& options) {
    return records::OptionOn(options, records::Opt::kAutopostIncome);
}

// A code written as a 4-character word: two characters and two blanks.
inline std::string CodeWord(std::string_view code) {
    std::string word(4, ' ');
    word.replace(0, std::min<std::size_t>(code.size(), 4), code.substr(0, 4));
    return word;
}

// The selection of the three reports: transaction codes, transaction type
// and security type, as the dialog hands them over.
struct LedgerFilter {
    std::array<std::string, 5> codes{std::string(4, ' '), std::string(4, ' '), std::string(4, ' '),
                                     std::string(4, ' '), std::string(4, ' ')};
    int code_count = 0;                                  // the words before the first blank one
    std::string codes_text = std::string(20, ' ');       // " ALL", or the codes cut to three characters
    std::string transaction_type = std::string(4, ' ');  // blank: every type
    std::string security_type = std::string(4, ' ');     // one-character type and blanks; blank: every type

    bool has_codes() const { return code_count > 0; }
    bool has_security_type() const { return security_type[0] != ' '; }
    bool has_transaction_type() const { return transaction_type != "    "; }
    // No filter at all: the ledger carries a cash balance.
    bool unfiltered() const { return !has_codes() && !has_security_type() && !has_transaction_type(); }

    // The transaction's code is one of the chosen ones (as a 4-character
    // word).
    bool CodeChosen(std::string_view code) const;
    // The code filter of the selection: a chosen code, or a chosen "IP"
    // taking a B or SI, a chosen "IS" an S or SO, whose accrued interest is
    // not 0. True when no code is chosen.
    bool PassesCodes(const records::TransactionRecord& transaction) const;
    bool PassesTransactionType(const records::TransactionRecord& transaction) const;
};

// A start or end date of the three reports as Chkdat checks it, between
// low and date number 1991231; the date text is rewritten as checked.
// Its date number.
float CheckedDate(std::string& date, float low);

// Builds the filter: "!   " in any argument stands for blanks; the code
// list (20 characters, five words) ends at its first blank word; the
// two-character security type is turned into its one-character type
// through the type codes of COMMON.FIL record 27 (46 characters).
LedgerFilter MakeLedgerFilter(std::string_view security_type, std::string_view codes,
                              std::string_view transaction_type, std::string_view type_codes);

// The security type word (4 characters) of a SECURITY.REC record.
std::string SecurityTypeWord(const records::Record& security);

// A 4-character word that sorts at or below four blanks (a blank word,
// or one of zero bytes).
inline bool SortsAtOrBelowBlanks(const char* word) {
    for (int i = 0; i < 4; ++i)
        if (word[i] != ' ') return static_cast<unsigned char>(word[i]) < static_cast<unsigned char>(' ');
    return true;
}

// A transaction's 20-character note, each 4-character word that sorts at
// or below a blank word turned to blanks (a never-written field of zero
// bytes prints blank).
std::string NoteText(const records::TransactionRecord& transaction);
// The same into a text kept by the caller, so a listing allocates once.
void NoteTextInto(std::string& note, const records::TransactionRecord& transaction);

}  // namespace reports
