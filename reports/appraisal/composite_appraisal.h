#pragma once

// The composite account appraisal (report code 201): the accounts of a
// group or super group (the account list file the request dialog writes)
// or every account whose manager code fits a pattern, valued as one
// portfolio as of one date. Consecutive lots of a security are combined
// while the lots are read, also from one account into the next; holdings
// of the same security held the same way are then merged across the
// accounts (Shelcm, Combin), and one client appraisal is printed for the
// set: the holdings pages titled by the group title, the summary page (or
// the summary by asset class) and the common stocks by industry category
// page. OUTPUT.TMP is copied to the output file on every run.
//
// Also here: the selection and the lot valuation that the composite working
// appraisal (Cohold, report code 202) shares.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/files.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/appraisal/composite_holdings.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// The most holding records one composite run writes: TEMP1.WRK's header
// counts them in 16 bits.
inline constexpr int kMaxCompositeHoldings = 32766;

// kind "S   ": the accounts of list_file; anything else every account whose
// manager code matches `manager` ("?" on either side matches any
// character). date MM/DD/YY; accrued "N   " leaves accrued interest out.
// group: the 32-character title of the set.
void Clntcom1(std::string_view kind, std::string_view manager, std::string_view date,
              std::string_view accrued, std::string_view list_file, int list_length,
              std::string_view output_name, int output_length, std::string_view group);

struct CompositeRunDates;

// The valuation pass of Clntcom1: the lots of the accounts (each id of
// ACCOUNT.IDX) into TEMP1.WRK, its header titled by group, and the holding
// arrays merged (Combin) and in print order. run gives the options and the
// program date and receives the market values by type. False when the run
// stops (a report line on frame says why; TEMP1.WRK is then deleted).
bool ValueCompositeAppraisal(AppraisalRun& run, ReportFrame& frame, const CompositeRunDates& dates,
                             const std::vector<std::string>& accounts, std::string_view group,
                             CompositeHoldings& holdings);

// ---- Shared with Cohold.

// The messages of a composite run's selection.
struct CompositeTexts {
    std::string no_accounts;  // ACCOUNT.IDX counts no account
    std::string file_error;   // ACCOUNT.IDX or ACCOUNT.REC cannot be read
};

struct CompositeSelection {
    std::vector<std::string> accounts;  // 8-character ids, in list or index order
    std::vector<std::string> notes;     // report lines: list ids that name no account
    std::string stop;                   // the reason the run cannot go on, or empty
};

// The accounts of a composite run. A list id that is not in ACCOUNT.IDX is
// passed over with a note (nothing is opened or created for it); a blank
// line of the list is passed over silently.
CompositeSelection SelectCompositeAccounts(std::string_view kind, std::string_view manager,
                                           std::string_view list_file, const CompositeTexts& texts);

// What a composite run reads of COMMON.FIL.
struct CompositeCommon {
    float program_date_number = 0;
    records::Options options{};
};
CompositeCommon ReadCompositeCommon();

// The files a composite run keeps open over all its lots.
struct CompositeFiles {
    explicit CompositeFiles(const std::string& report_date, const std::string& prior_date = "");
    RunSecurities securities;
    records::DirectFile prices;
    std::optional<records::DirectFile> prior_prices;
};

// One lot valued as of the report date.
struct CompositeLot {
    bool cash_symbol = false;  // the symbol is "CASH"
    bool cash = false;         // a cash lot or a security of type "1"
    long position = 0;         // SECURITY.REC record, 0 for none
    LotSecurity security;
    float maturity = 0;             // windowed YYMMDD, 0 for none
    int type = 0;                   // type number; a type the pages do not print files as "T"
    int16_t category = 99;          // 1-99
    bool unmanaged = false;         // lot code "S   " without option 46
    double quantity = 0;            // a cash lot's amount
    double amount = 0;              // cost, sign turned for a short lot but cash
    double price = 0;               // kNoPriceValue when missing
    double prior_price = 0;         // with a prior price file
    double market = 0;              // kNoPriceValue when missing
    bool per_hundred = false;       // priced per 100 of face value
    bool missing_price = false;     // a missing price that makes the run's total unknown
    bool extension_read = false;    // SECURITY.EXT was read for its type
    LotExtension extension;         // as read (when extension_read)
    double accrued = 0;             // the lot's accrued interest (0 without)
    double accrued_counted = 0;     // the part that enters the total accrued interest
    double maturity_days = 0;       // days to maturity (option 50), with
    bool in_average_years = false;  // whether the lot enters the average
};

struct CompositeRunDates {
    std::string report_date;  // MM/DD/YY
    float report_number = 0;  // windowed YYMMDD
    bool accrued = true;      // accrued interest asked for
    int decimals = 2;         // the system rounding
};

// Values a lot (the valuation both composite runs share).
CompositeLot ValueCompositeLot(const records::HoldingRecord& lot, const records::Options& opt,
                               const CompositeRunDates& dates, CompositeFiles& files);

// The accounts of a composite run into accounts, with the notes of the
// selection as report lines on frame. False when the run stops: a report
// line says why (the selection's stop, or "No accounts selected.").
bool SelectCompositeRun(ReportFrame& frame, std::string_view kind, std::string_view manager,
                        std::string_view list_file, const CompositeTexts& texts,
                        std::vector<std::string>& accounts);

// The dates of a composite run: the report date MM/DD/YY and its windowed
// number, accrued ("N   " leaves accrued interest out) and the system
// rounding of the options.
CompositeRunDates CompositeDates(std::string_view date, std::string_view accrued,
                                 const records::Options& options);

// The lots of one account as of the report date, each handed to lot in
// list order; lot returns false to stop the run. The holdings are rebuilt
// first when they must be (a rebuild that ends with a status says so in a
// report line); a holdings file whose header cannot be read is an account
// without lots. False when lot stops the run or the lot list breaks (a
// report line then ends with "; the " + report + " stops here.").
bool EachCompositeLot(ReportFrame& frame, const std::string& id, const CompositeRunDates& dates,
                      float program_number, const std::string& report,
                      const std::function<bool(records::HoldingRecord&)>& lot);

// The cash-equivalent move of a holding: its type becomes "1" and its
// moved flag is set when option 63 is clear, its type is not "R" and it
// matures within a year of the report date or matured after 1970.
bool MovesToCashEquivalentType(int type, float maturity, float report_number, const records::Options& opt);

}  // namespace reports
