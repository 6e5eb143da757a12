// The code table and the transaction filter of the ledgers and the member
// statement.

#include "reports/ledgers/ledger_code_table.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/security_types.h"

namespace reports {

namespace {

constexpr float kLatestDate = 1991231;

const std::array<LedgerCode, 23>& Table() {
    static const std::array<LedgerCode, 23> table = {{
        {1, "B ", "PURCHASE    ", -1, +1, 1, 1},   {2, "S ", "SALE        ", +1, -1, -1, -1},
        {3, "SS", "SHORT SALE  ", +1, -1, -1, -1}, {4, "CS", "COVER SHORT ", -1, +1, 1, 1},
        {5, "FI", "CASH RECVD  ", +1, 0, 0, 0},    {6, "FO", "CASH WTHDRWL", -1, 0, 0, 0},
        {7, "SI", "SEC RECVD   ", 0, +1, 1, 1},    {8, "SO", "SEC WTHDRWL ", 0, -1, -1, -1},
        {9, "DI", "DIV INCOME  ", +1, 0, 0, 0},    {10, "DE", "DIV EXPENSE ", -1, 0, 0, 0},
        {11, "II", "INT INCOME  ", +1, 0, 0, 0},   {12, "IE", "INT EXPENSE ", -1, 0, 0, 0},
        {13, "MF", "MGT FEE     ", -1, 0, 0, 0},   {14, "BC", "BANK CHGS   ", -1, 0, 0, 0},
        {15, "MI", "MISC INCOME ", +1, 0, 0, 0},   {16, "ME", "MISC EXPENSE", -1, 0, 0, 0},
        {17, "AI", "ADJ TO CASH ", +1, 0, 0, 0},   {18, "AO", "ADJ TO CASH ", -1, 0, 0, 0},
        {19, "SP", "STOCK SPLIT ", -1, +1, 1, 1},  {20, "S ", "SALE        ", +1, -1, -1, -1},
        {21, "  ", "            ", 0, 0, 0, 0},    {22, "IP", "BND PRCH INT", -1, +1, 0, 1},
        {23, "IS", "BND SALE INT", +1, -1, 0, -1},
    }};
    return table;
}

bool IsBlankWord(std::string_view word) {
    return word == "    ";
}

// "!   " stands for a blank argument.
std::string Argument(std::string_view text) {
    std::string word = records::Fixed(text, 4);
    return word == "!   " ? std::string(4, ' ') : word;
}

}  // namespace

const LedgerCode& LedgerCodeEntry(int index) {
    return Table()[static_cast<std::size_t>(std::clamp(index, 1, 23) - 1)];
}

LedgerCode LedgerCodeTable(std::string_view code, bool capital_distribution) {
    // The code's first two characters, blank padded.
    const char first = !code.empty() ? code[0] : ' ';
    const char second = code.size() > 1 ? code[1] : ' ';
    LedgerCode found = LedgerCodeEntry(kUnlistedCodeEntry);
    for (const LedgerCode& entry : Table()) {
        if (entry.index == kUnlistedCodeEntry) continue;
        if (entry.code[0] == first && entry.code[1] == second) {
            found = entry;
            break;
        }
    }
    if (found.index == 15 && capital_distribution) found.description = "CAPITAL DIST";
    return found;
}

bool LedgerFilter::CodeChosen(std::string_view code) const {
    const std::string word = records::Fixed(code, 4);
    for (int k = 0; k < code_count; ++k)
        if (codes[static_cast<std::size_t>(k)] == word) return true;
    return false;
}

bool LedgerFilter::PassesCodes(const records::TransactionRecord& t) const {
    if (!has_codes()) return true;
    const std::string code = records::Fixed(t.code, 4);
    const bool interest = t.bond_interest != 0;
    for (int k = 0; k < code_count; ++k) {
        const std::string& chosen = codes[static_cast<std::size_t>(k)];
        if (chosen == "IP  " && interest && (code == "B   " || code == "SI  ")) return true;
        if (chosen == "IS  " && interest && (code == "S   " || code == "SO  ")) return true;
        if (chosen == code) return true;
    }
    return false;
}

bool LedgerFilter::PassesTransactionType(const records::TransactionRecord& t) const {
    return !has_transaction_type() || records::Fixed(t.type, 4) == transaction_type;
}

float CheckedDate(std::string& date, float low) {
    int16_t mode = 0, error = 0;
    float number = 0;
    std::array<int16_t, 3> parts{};
    records::Chkdat(date, mode, error, number, low, kLatestDate, 0, parts);
    return number;
}

LedgerFilter MakeLedgerFilter(std::string_view security_type, std::string_view codes,
                              std::string_view transaction_type, std::string_view type_codes) {
    LedgerFilter filter;
    const std::string list = records::Fixed(codes, 20);
    for (std::size_t k = 0; k < 5; ++k) filter.codes[k] = Argument(list.substr(4 * k, 4));
    while (filter.code_count < 5 && !IsBlankWord(filter.codes[static_cast<std::size_t>(filter.code_count)]))
        ++filter.code_count;
    if (filter.code_count == 0) {
        filter.codes_text = records::Fixed(" ALL", 20);
    } else {
        // The heading shows each code cut to three characters and a blank.
        filter.codes_text.clear();
        for (const std::string& code : filter.codes) filter.codes_text += code.substr(0, 3) + " ";
    }
    filter.transaction_type = Argument(transaction_type);
    const std::string type = Argument(security_type);
    if (!IsBlankWord(type)) {
        std::string type_out(4, ' ');
        std::string unused(2, ' ');
        records::Cvtypc(records::Fixed(type_codes, 46), type, type_out, " ", unused, 2);
        filter.security_type = records::Fixed(type_out, 4);
    }
    return filter;
}

std::string SecurityTypeWord(const records::Record& security) {
    return security.Text(76, 4);
}

std::string NoteText(const records::TransactionRecord& transaction) {
    std::string note;
    NoteTextInto(note, transaction);
    return note;
}

void NoteTextInto(std::string& note, const records::TransactionRecord& transaction) {
    note.assign(reinterpret_cast<const char*>(transaction.extra.data()), transaction.extra.size());
    for (std::size_t k = 0; k + 4 <= note.size(); k += 4)
        if (SortsAtOrBelowBlanks(note.data() + k)) std::memset(note.data() + k, ' ', 4);
}

}  // namespace reports
