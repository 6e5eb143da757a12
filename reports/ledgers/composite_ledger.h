#pragma once

// The composite transaction ledger (report code 204): the transactions of
// many accounts, the accounts of a manager pattern or those of an account
// list file (a group or super group), in one list by trade date, with the
// net amount, net purchases and net sales of the list.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/account_records.h"
#include "reports/kernel/report_frame.h"
#include "reports/ledgers/ledger_code_table.h"

namespace reports {

// kind: "S   " the accounts of the account list file, anything else every
// account whose manager code matches the pattern. codes: five 4-character
// words. description: the selection, printed under the title. The report
// is copied into output_name.
void Mcmtrn(std::string_view kind, std::string_view manager, std::string_view start_date,
            std::string_view end_date, std::string_view security_type, std::string_view codes,
            std::string_view transaction_type, std::string_view list_file, int16_t list_length,
            std::string_view output_name, int16_t output_length, std::string_view description);

// One collected transaction: its trade date, record number in its
// TR<acct>.REC and the place of its account in the selection.
struct CompositeEntry {
    double key = 0;
    int record = 0;
    int account = 0;
    std::size_t item = 0;  // its record among the collected records
};

// Shell sort by trade date: the gap halves from n / 2 to 1; an entry moves
// back a gap at a time while the one before it has a strictly greater key.
void Mcmsrt(std::vector<CompositeEntry>& entries);

// The identifier of ACCOUNT.IDX entry n (blanks when it cannot be read).
std::string Mcmidx(int entry);

// What the printing needs of the run.
struct CompositeRun {
    LedgerFilter filter;
    bool capital_distribution = false;
    std::string start_date = std::string(8, ' ');
    std::string end_date = std::string(8, ' ');
    std::string description = std::string(32, ' ');
    std::string options_word = std::string(4, ' ');  // the options record's first word
    std::vector<int> entries;                        // index entry of each selected account
    // The collected records, kept as they were read: printing takes them
    // from here rather than opening each account's file again for every
    // line of a list that the dates interleave.
    std::vector<records::TransactionRecord> transactions;
};

// Prints the sorted list: headings, the lines of each transaction and the
// totals.
void Mcmprt(ReportFrame& frame, const CompositeRun& run, const std::vector<CompositeEntry>& entries);

// Page heading and column headings; adds 9 to the lines Pghead counted.
void Mcmhdr(ReportFrame& frame, const CompositeRun& run, std::string_view type_title, int16_t& page,
            int16_t& lines, int16_t& length);

}  // namespace reports
