#pragma once

// The pages of one account of the transaction ledger: heading, opening
// balance, a line per listed transaction with its security, transfer and
// accrued-interest lines, and the closing balance or net amount. With
// option 78 each listed line also goes to TRANSACT.TRN as a
// LedgerExportLine.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/layout.h"
#include "reports/kernel/report_frame.h"
#include "reports/ledgers/ledger_code_table.h"

namespace reports {

inline constexpr const char* kLedgerExportFile = "TRANSACT.TRN";

// The lines of the page heading, made once a run (the account's name line
// and the filter line when they change).
struct LedgerHeading {
    bool made = false;
    std::string title = records::Write("(58X,'TRANSACTION  LEDGER')");
    std::string dates;
    std::string name;  // the name the name line was made for
    std::string name_line;
    bool filter_made = false;
    std::string type_title;  // the type title the filter line was made for
    std::string filter;
    std::string columns1 =
        records::Write("(1X,'TRANSACTION',13X,'SECURITY',4X,'TRANSACTION',33X,'UNIT',20X,'NET',4X,'TRAN')");
    std::string columns2 = records::Write(
        "(4X,'DATE',4X,'TRANSACTION',5X,'ID',7X,'DESCRIPTION',20X,'QUANTITY',5X,'PRICE',3X,'COMMISS',8X,'"
        "AMOUNT',"
        "2X,'TYPE')");
};

// What the ledger keeps for the whole run.
struct LedgerRun {
    records::Options options{};
    LedgerFilter filter;
    std::string start_date = std::string(8, ' ');  // MM/DD/YY as checked
    std::string end_date = std::string(8, ' ');
    // TRANSACT.TRN while the export is on (option 78), opened at the first
    // account and kept to the end of the run.
    std::unique_ptr<records::TextFile> export_file;
    // The last account whose opening balance was worked out without a
    // replay of its transactions, while no replay has followed it.
    std::string replay_pending;
    // Record 1 of SECURITY.REC is of type "1": 0 until read, then 1 or -1.
    int cash_security_checked = 0;
    LedgerHeading heading;
};

// One account's ledger. transactions: the records of its TR<acct>.REC
// (record n at (n - 1) x 128); selection: the record numbers of the
// selected transactions in trade-date order; name: the centred account
// name; balance: in the opening balance, out the closing balance (or the
// net amount of a filtered ledger).
void Ldgact(ReportFrame& frame, LedgerRun& run, std::span<const unsigned char> transactions,
            std::string_view account, std::string_view name, const std::vector<int16_t>& selection,
            double& balance);

// The page state of one account.
struct LedgerPage {
    int16_t page = 1;
    int16_t lines = 0;
    int16_t length = 0;
};

// The page heading of the ledger; adds 9 to the lines Pghead counted.
void Ldghed(ReportFrame& frame, LedgerPage& page, LedgerRun& run, std::string_view name,
            std::string_view type_title);

// A line of TRANSACT.TRN (45 characters): the first 8 characters of the
// custodian account number, the trade date as MMDDYY (blanks as "0"),
// "dep" for FI and "wdl" for FO (blanks otherwise), "ca", "cash" and the
// amount without its sign, fields separated by commas.
std::string LedgerExportLine(std::string_view custodian_account, std::string_view trade_date,
                             std::string_view code, double amount);

}  // namespace reports
