#pragma once

// The report globals: the current report selection that the report dialogs
// fill and the report runner hands to the report routines, the report code
// of the last command, the output destination and the dates of the date
// bar. They live for the whole run in one plain struct instance, g_report;
// texts are ordinary strings here and become blank-padded fixed-width fields
// only on the way into the record-and-report layer.
//
// ReportSelection is the part that dialogs save before they run other
// dialogs and restore afterwards (SaveSelection, RestoreSelection): copying
// it whole gives every field back from its own place.

#include <cstdint>
#include <string>

namespace shell {

// Output destinations of a report.
enum OutputDestinationKind : int32_t {
    kOutputPrint = 0,
    kOutputPreview = 1,
    kOutputFile = 2,
    kOutputDisplay = 3,
};

// What the report display windows and the errors window read.
enum LineSourceKind : int32_t {
    kLinesFromReportFile = 1,
    kLinesFromMessageList = 2,
};

struct ReportSelection {
    int32_t SelectionScope = 0;  // 1 all accounts, 2 selected accounts or a group
    int32_t ReportFlag1 = 0;
    int32_t ReportFlag2 = 0;
    int32_t ReportFlag3 = 0;      // the invoice run's "Update Balance Due"
    std::string SelectedAccount;  // for the Find reports: the search text
    std::string SelectedSecurity;
    std::string ManagerCode;
    std::string StartDate;   // MM/DD/YY
    std::string EndDate;     // MM/DD/YY
    std::string SystemDate;  // the program date as the date bar shows it
    std::string CrossRefName;
    std::string CrossRefNumber;
    std::string CrossRefTag;
    std::string TaxTransmitterCode;
    std::string PayerNameControl;
    std::string ListFileName;
    std::string LedgerSecurityType = std::string(4, ' ');
    std::string LedgerTranCodes = std::string(20, ' ');
    std::string LedgerTranType = std::string(4, ' ');
    int32_t ReportCode = 0;  // command group x 20 + item
    std::string SortOption = std::string(4, ' ');
    int32_t PerformancePeriod = 0;  // 0 monthly, 1 quarterly
    int32_t PerformanceAssetClass = 0;
    int16_t ReportVariant = 0;
    int16_t PerformanceReportIndex = 0;
    int16_t SplitYear = 0;
    // The import dialog (codes 44 and 281-292): the transfer date of the
    // credit union's deposits. The import file is ListFileName, the entry
    // kind (1 buy, 2 transfer) or the cash balance flag ReportFlag1, the
    // column digit the first two bytes of LedgerSecurityType, the starting
    // account identifier SelectedAccount.
    std::string TransferDate;
    // The block size request (code 89): the broker and the five values of
    // the computation. The dates are StartDate (settlement) and EndDate
    // (pricing), the symbol SelectedSecurity, the manager ManagerCode.
    std::string BlockBroker;
    double BlockCommission = 0;  // per unit
    double BlockUnitPrice = 0;
    float BlockPercentage = 0;           // of each portfolio
    std::string BlockPostFlag = "N   ";  // "Y   " post the block trades
    std::string BlockLotType = "O   ";   // "R   " round lots, "O   " odd
};

struct ReportGlobals : ReportSelection {
    int16_t CommandGroup = 0;       // 1 to 18, set just before a dispatch
    int32_t OutputDestination = 0;  // OutputDestinationKind
    std::string OutputFileName;
    std::string GroupDescription;
    int32_t PerformanceKind = 0;       // 0 to 4
    int16_t PerformanceSelection = 0;  // cleared when the main frame is made
    int32_t LineSource = 0;            // LineSourceKind
    // The next report window number; every display window and print run
    // takes one, and numbers are never reused within a run. 32 bits wide,
    // so that a long session never wraps to negative numbers (which name no
    // file, so their files would be left on disk).
    int32_t ReportWindowNumber = 0;
    // The transaction list opens on the downloaded transactions (Edit
    // Transactions) or on the block trade (Block Trades Edit) instead of a
    // selection; set by those commands, read and cleared by the list.
    int32_t EditDownloadedFlag = 0;
    int32_t EditBlockFlag = 0;
};

// The one instance, alive for the whole run.
extern ReportGlobals g_report;

// Copies the report selection into the record, or back from it.
void SaveSelection(ReportSelection& record);
void RestoreSelection(const ReportSelection& record);

}  // namespace shell
