#pragma once

// The options of COMMON.FIL's options record by name. Option n is byte n
// of the record (options[n - 1]); every reader and writer of an option goes
// through the functions below, so no code counts bytes by hand. Each name
// says what the option does; the comment gives the options dialog's text
// where the name shortens it.

#include <cstddef>

#include "records/common_file.h"

namespace records {

enum class Opt : int {
    kCusipFromSymbol = 1,       // default the CUSIP to the symbol entered before
    kCouponDueDescription = 2,  // second description line from coupon rate and due date
    kAutopostIncome = 3,        // autopost dividends, interest and capital distributions
    kReinvestAutoposted = 4,    // reinvest autoposted dividends
    kGainsAfterWorkingAppraisal = 5,
    kAccountAddress = 6,  // print the account address on the account appraisal (exactly 1)
    kBillInAdvance = 7,
    kTradeMemoType = 8,             // 1-4
    kReserved9 = 9,                 // "for future use"
    kLastNameFirst = 10,            // sort account lists by last name first (exactly 1)
    kNoCashEquivalentChanges = 11,  // portfolio changes leave out cash equivalents
    kMemoLetterheadOnInvoice = 12,
    kSortStocksWithoutSic = 13,   // position summary sorts common stocks without SIC code
    kNoSecFees = 14,              // asset allocation calculates no SEC fees
    kAllocationRounding = 15,     // rounding factor of asset allocation and income autopost, 1-3
    kRateOrYieldToMaturity = 16,  // appraisals: 1 dividend rate, 2 yield to maturity
    kChangeFromPriorMonth = 17,   // combined working appraisal
    kInitializePricesOnAutoprice = 18,
    kCenterPortfolioSummary = 19,  // 0-9
    kFeesAsExpense = 20,           // management fees and bank charges as a portfolio expense
    kCrossReferencePhones = 21,    // account phone numbers on the security cross reference
    kBillingDisclaimer = 22,       // on the type 1 billing invoice
    kBillingAgainstPerformance = 23,
    kBillOnLesserValue = 24,     // invoice on the lesser of two market values
    kNoSummaryIncomeYield = 25,  // portfolio summary without estimated annual income and yield
    kReserved26 = 26,            // "for future use" (a character)
    kReserved27 = 27,
    kReserved28 = 28,
    kPerformanceSummaryType = 29,  // 1 or 2; on: the summary page after the performance table
    kNoPageNumbers = 30,           // suppress page numbers on all reports
    kNoGainTotals = 31,            // realized gains without cost and proceeds totals
    kOpeningValue = 32,            // account opening value on the position summary
    kNoFirmName = 33,              // suppress the licensee name on all reports
    kCumulativeReturn = 34,        // performance summary: rate of return not annualized
    kCombinedValuesBeforeFee = 35,
    kTransactionTexts = 36,    // "invoke telephone switching": TR<acct>.EXT texts, wide layouts
    kNoPortfolioSummary = 37,  // suppress the summary of investment portfolio
    kChangeReportName = 38,
    kReserved39 = 39,
    kNoIndexPerformance = 40,    // suppress market index performance
    kNoZeroCash = 41,            // suppress zero cash on appraisals
    kCombineLotsOnSummary = 42,  // position summary: 1 combine tax lots, 2 separately
    kNoIndustryCategories = 43,  // account appraisal without industry categories
    kYieldOnCost = 44,           // appraisal yields on cost instead of market value
    kNoOfflineIncome = 45,       // off-line transactions post no income
    kUnmanagedInBody = 46,       // unmanaged assets in the main body of the appraisals
    kPortfolioSummaryType = 47,  // summary of investment portfolio: 1-2 by type, 3 by asset class
    kKeepZeroGains = 48,         // report zero capital gains on the realized gains
    kOfflineBuysSellsOnly = 49,
    kBondDetails = 50,                // second screen bond information on the appraisals
    kOfflineTaxLots = 51,             // assign a tax lot to new positions off line
    kLoanLimitAndExtracts = 52,       // "invoke loan disbursement limit": also the extract and tax files
    kSummaryIncomeGainPercents = 53,  // % income and % unrealized gain/loss on the portfolio summary
    kAppendNotes = 54,                // setup notes at the end of the account appraisal, 0-2
    kTimeWeightedReturn = 55,         // time weighted rate of return on the account appraisal
    kGenericAllocationModel = 56,
    kNoCrossReferenceRate = 57,  // detailed cross reference without the dividend rate
    kCashBalances = 58,          // opening and closing cash balances in portfolio changes
    kCashLinesForTrades = 59,    // off-line buys and sells post their cash transactions
    kFeesPerCombinedAccount = 60,
    kCommissionsCreditFee = 61,  // billing credits commissions to the management fee
    kNoSummaryItem4 = 62,        // type 1 performance summary without item 4
    kMaturingBondsNotCash = 63,  // appraisals do not report maturing bonds as cash equivalents
    kLotTexts = 64,              // additional date and description fields on trade screens (HL.EXT)
    kReserved65 = 65,
    kMoneyMarketFund = 66,  // off-line buys and sells of the designated money market fund
    kReserved67 = 67,
    kAssetClassPercent = 68,          // percentage by asset class on the account appraisal
    kDateFormat = 69,                 // 1 mm/dd/yy, 2 mmddccyy, 3 mm/dd/ccyy
    kThreeFiveYearReturns = 70,       // 3 and 5 year returns on the performance summary
    kAnnualizeMonthlyReturns = 71,    // monthly performance by account
    kAppraisalExportType = 72,        // 1-4
    kPerformanceExportType = 73,      // 0-2: 1 PERF.DAT, 2 GRAPHER.OUT
    kNoSummaryBeginningValue = 75,    // summary of accounts without beginning value and gain/loss
    kNoSecondReturnLine = 76,         // performance summary without the second line of 3 and 5 year returns
    kTradePriceRounding = 77,         // unit price on the trade screen: 1 system decimals, 2 the other rule
    kLedgerExportType = 78,           // 0-1
    kNoCommonStockSummary = 79,       // account appraisal without the common stock summary
    kCustodianAccountNumber = 80,     // on the account appraisal
    kSystemDecimals = 81,             // system rounding factor, 4-8
    kKeepLotsApart = 82,              // account appraisal does not combine tax lots
    kAccountNumber = 83,              // on the account appraisal
    kNoCrossReferenceCustodian = 84,  // detailed cross reference without custodian account number
    kObjectiveOnAppraisal = 85,
    kObjectiveOnPerformance = 86,
    kSalutationOnAppraisal = 87,
    kSalutationOnPerformance = 88,  // monthly performance and summary
    kStartupTutorial = 89,          // show the Getting Started text at start-up
};

// The option's byte index in the record.
constexpr std::size_t OptionIndex(Opt option) {
    return static_cast<std::size_t>(static_cast<int>(option) - 1);
}

// The option's byte value (0-255).
inline int OptionValue(const Options& options, Opt option) {
    return options[OptionIndex(option)];
}

// Whether the option's byte is at least at_least (1: the option is on).
inline bool OptionOn(const Options& options, Opt option, int at_least = 1) {
    return options[OptionIndex(option)] >= at_least;
}

inline void SetOption(Options& options, Opt option, int value) {
    options[OptionIndex(option)] = static_cast<unsigned char>(value);
}

}  // namespace records
