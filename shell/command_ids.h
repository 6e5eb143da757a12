#pragma once

// Resource numbers of the program's shell: the command ids of the menus and
// the tool bar, the main frame's controls and the dialog ids of the shell's
// own dialogs. They keep the numbers the program's menus and dialogs were
// made with, so that a test script that names a command by number and a
// handler bound to it agree.

namespace shell {

enum CommandId : int {
    // Transactions
    kCmdTransactionEditor = 32775,
    kCmdCash = 32861,
    kCmdTrades = 32862,
    kCmdTransfers = 32863,
    // Setup
    kCmdSetupBroker = 32780,
    kCmdSetupAccount = 32781,
    kCmdSetupSecurity = 32782,
    kCmdSetupCustodian = 32884,
    kCmdImportMemberAccounts = 32956,
    // Pricing
    kCmdPricingManual = 32787,
    kCmdPricingAuto = 32788,
    kCmdPricingImport = 32947,
    // Trade Reports
    kCmdTransactionLedger = 32792,
    kCmdSecurityCrossReference = 32793,
    kCmdAccountDirectory = 32794,
    kCmdGainsLosses = 32795,
    kCmdIncomeSummary = 32796,
    kCmdCommissionByBroker = 32815,
    kCmdMaturityAlert = 32860,
    kCmdDetailedCrossReference = 32881,
    kCmdBlockSizeComputation = 32948,
    kCmdForm1099B = 32952,
    kCmdTradeMemorandum = 32953,
    kCmdCommissionsByAccount = 32966,
    kCmdCommissionDetailByBroker = 32967,
    kCmdPortfolioChanges = 32969,
    // Position Reports
    kCmdWorkingAppraisal = 32798,
    kCmdPositionSummary = 32799,
    kCmdAccountAppraisal = 32800,
    kCmdInvestmentHistory = 32801,
    kCmdMutualFundAppraisal = 32878,
    kCmdAssetsUnderManagement = 32882,
    kCmdSummaryOfAssets = 32965,
    kCmdSummaryOfAccounts = 32968,
    kCmdMemberStatement = 32951,
    // Performance Reports, Charts
    kCmdPerformanceModule = 32804,
    kCmdCharts = 32809,
    // Utilities
    kCmdOptions = 32830,
    kCmdUpdateDataBase = 32831,
    kCmdColors = 32832,
    kCmdInitializeTempFiles = 32849,
    kCmdCopyAccount = 32880,
    kCmdSecurityIndustryCategory = 32886,
    kCmdSecurityType = 32887,
    kCmdGroups = 32897,
    kCmdHistoricalPortfolioValues = 32924,
    kCmdPortfolioManagerCodes = 32925,
    kCmdPrinterOptions = 32946,
    kCmdLetterhead = 32950,
    // List Reports
    kCmdAccountList = 32858,
    kCmdSecurityList = 32859,
    kCmdBrokerList = 32850,
    kCmdBondList = 32877,
    kCmdCustodianList = 32885,
    kCmdAccountListSummary = 32964,
    // Composite Reports
    kCmdCompositeAccountAppraisal = 32865,
    kCmdCompositeWorkingAppraisal = 32866,
    kCmdCompositeGainsLosses = 32867,
    kCmdCompositeTransactionLedger = 32868,
    // Fixed Income Reports
    kCmdFixedIncomeAppraisal = 32869,
    kCmdMaturityAnalysis = 32870,
    kCmdRatingAnalysis = 32871,
    kCmdCouponAnalysis = 32872,
    kCmdYieldAnalysis = 32873,
    kCmdIncomeFlowFixed = 32874,
    kCmdIncomeFlowOther = 32875,
    kCmdFixedIncomeSummary = 32876,
    // Modules / Billing
    kCmdFeeSchedule = 32903,
    kCmdInvoice = 32899,
    kCmdBillingNotes = 32901,
    kCmdBillingSummary = 32900,
    kCmdBillingUpdate = 32902,
    // Modules / Information Export
    kCmdInformationExport = 32922,
    // Modules / Transaction Download
    kCmdEditTransactions = 32892,
    kCmdDeleteTransactions = 32895,
    kCmdTransactionReport = 32893,
    kCmdPostTransactions = 32894,
    kCmdImportBearStearns = 32926,
    kCmdImportDataLynx = 32927,
    kCmdImportDstSystems = 32928,
    kCmdImportFidelity = 32929,
    kCmdImportJackWhite = 32930,
    kCmdImportRydex = 32931,
    kCmdImportSchwab = 32932,
    kCmdImportSmithBarney = 32933,
    kCmdImportVanguard = 32934,
    kCmdImportWaterhouse = 32935,
    kCmdImportCreditUnion = 32955,
    kCmdImportAmericanSkandia = 32970,
    kCmdGenerateExtracts = 32963,
    kCmdMapBearStearns = 32936,
    kCmdMapDataLynx = 32937,
    kCmdMapDstSystems = 32938,
    kCmdMapFidelity = 32939,
    kCmdMapJackWhite = 32940,
    kCmdMapRydex = 32941,
    kCmdMapSchwab = 32942,
    kCmdMapSmithBarney = 32943,
    kCmdMapVanguard = 32944,
    kCmdMapWaterhouse = 32945,
    kCmdMapAmericanSkandia = 32972,
    // Modules / Income Autopost
    kCmdInputIncomeDistributions = 32904,
    kCmdSecuritiesWithPayableDates = 32906,
    kCmdPostIncome = 32907,
    kCmdInitialPostDate = 32908,
    // Modules / Asset Allocation
    kCmdInputAssetAllocation = 32911,
    kCmdAssetAllocationReport = 32912,
    kCmdPostAssetAllocation = 32913,
    kCmdDeleteAssetAllocation = 32949,
    // Modules / Stock Splits
    kCmdModifyStockSplits = 32909,
    kCmdStockSplitReport = 32962,
    kCmdPostSplits = 32910,
    // Modules / Block Trades
    kCmdBlockDefine = 32914,
    kCmdBlockAllocate = 32915,
    kCmdBlockEdit = 32916,
    kCmdBlockPost = 32917,
    // Tools / Find
    kCmdFindAccount = 32958,
    kCmdFindCustodian = 32960,
    kCmdFindSecurity = 32961,
    // Tool bar buttons (no menu item)
    kCmdToolManualPricing = 32786,
    kCmdToolTransactionEditor = 32810,
    kCmdToolTransactionLedger = 32811,
    kCmdToolGainsLosses = 32812,
    kCmdToolAccount = 32833,
    kCmdToolBroker = 32834,
    kCmdToolSecurity = 32835,
    kCmdToolManualPricing2 = 32836,
    kCmdToolAutoPricing = 32837,
    kCmdToolCharts = 32838,
    kCmdToolCrossReference = 32843,
    kCmdToolWorkingAppraisal = 32845,
    kCmdToolAccountAppraisal = 32846,
    kCmdToolPerformance = 32847,
    kCmdToolPositionSummary = 32848,
};

// The framework's Edit menu commands; nothing handles them, so they show
// disabled.
enum EditCommandId : int {
    kCmdEditUndo = 0xE12B,
    kCmdEditCut = 0xE123,
    kCmdEditCopy = 0xE122,
    kCmdEditPaste = 0xE125,
};

// The system-date edit in the main frame's tool bar.
inline constexpr int kSystemDateEdit = 61447;

// Dialog resources of the shell.
inline constexpr int kAboutDialogId = 100;
inline constexpr int kColorSelectDialogId = 134;
inline constexpr int kReportErrorsDialogId = 142;

}  // namespace shell
