// The menus of the main frame, as the menu resources list them. The main
// menu carries the program's commands with File and Help; the menu shown
// while child windows are open adds the Edit and Window menus and the
// commands of the active window (Close, Print, Print Preview). The
// "Modules" item is in the resource and is removed when the frame is made.
// Captions are the widgets' texts: "&&" stands for one "&".

#include "platform/constants.h"
#include "shell/command_ids.h"
#include "shell/main_frame.h"

namespace shell {
namespace {

using namespace platform;

MenuItem FileMenu(bool child) {
    std::vector<MenuItem> items{Command(ID_FILE_NEW, "New"), Command(ID_FILE_OPEN, "Open...")};
    if (child) {
        items.push_back(Command(ID_FILE_CLOSE, "Close"));
        items.push_back(Separator());
        items.push_back(Command(ID_FILE_PRINT, "Print..."));
        items.push_back(Command(ID_FILE_PRINT_PREVIEW, "Print Preview"));
    }
    items.push_back(Command(ID_FILE_PRINT_SETUP, "Print Setup..."));
    items.push_back(Separator());
    items.push_back(Command(ID_APP_EXIT, "Exit"));
    return Popup("File", std::move(items));
}

MenuItem EditMenu() {
    return Popup("Edit", {Command(kCmdEditUndo, "Undo"), Separator(), Command(kCmdEditCut, "Cut"),
                          Command(kCmdEditCopy, "Copy"), Command(kCmdEditPaste, "Paste")});
}

MenuItem WindowMenu() {
    return Popup("Window", {Command(ID_WINDOW_CASCADE, "Cascade"), Command(ID_WINDOW_TILE_HORZ, "Tile"),
                            Command(ID_WINDOW_ARRANGE, "Arrange Icons"), WindowList()});
}

MenuItem HelpMenu() {
    return Popup("Help", {Command(ID_APP_ABOUT, "About TREL1...")});
}

// The program's own menus, between File (and Edit) and Window (and Help).
std::vector<MenuItem> ProgramMenus() {
    return {
        Popup("Transactions", {Command(kCmdTransactionEditor, "Transaction Editor"), Separator(),
                               Command(kCmdTrades, "Trades"), Command(kCmdCash, "Cash"),
                               Command(kCmdTransfers, "Transfers")}),
        Popup("Setup", {Command(kCmdSetupBroker, "Broker"), Command(kCmdSetupCustodian, "Custodian"),
                        Command(kCmdSetupAccount, "Account"), Command(kCmdSetupSecurity, "Security"),
                        Separator(), Command(kCmdImportMemberAccounts, "Import Member Accounts")}),
        Popup("Pricing", {Command(kCmdPricingManual, "Manual"), Command(kCmdPricingAuto, "Auto"),
                          Command(kCmdPricingImport, "Import")}),
        Popup("Trade Reports",
              {Command(kCmdTransactionLedger, "Transaction Ledger"),
               Command(kCmdSecurityCrossReference, "Security Cross Reference"),
               Command(kCmdAccountDirectory, "Account Directory"), Command(kCmdGainsLosses, "Gains (Losses)"),
               Command(kCmdIncomeSummary, "Income Summary"),
               Command(kCmdCommissionByBroker, "Commission by Broker"),
               Command(kCmdMaturityAlert, "Maturity and Expiration Alert"),
               Command(kCmdDetailedCrossReference, "Detailed Security Cross Reference"),
               Command(kCmdBlockSizeComputation, "Block Size Computation"),
               Command(kCmdForm1099B, "Form 1099B"), Command(kCmdTradeMemorandum, "Trade Memorandum"),
               Command(kCmdCommissionsByAccount, "Commissions by Account"),
               Command(kCmdCommissionDetailByBroker, "Commission Detail by Broker"),
               Command(kCmdPortfolioChanges, "Portfolio Changes")}),
        Popup("Position Reports", {Command(kCmdWorkingAppraisal, "Working Appraisal"),
                                   Command(kCmdPositionSummary, "Position Summary"),
                                   Command(kCmdAccountAppraisal, "Account Appraisal"),
                                   Command(kCmdInvestmentHistory, "Investment History"),
                                   Command(kCmdMutualFundAppraisal, "Mutual Fund Appraisal"),
                                   Command(kCmdAssetsUnderManagement, "Assets Under Management"),
                                   Command(kCmdSummaryOfAssets, "Summary of Assets Under Management"),
                                   Command(kCmdSummaryOfAccounts, "Summary of Accounts"),
                                   Command(kCmdMemberStatement, "Member Statement")}),
        Popup("Performance Reports", {Command(kCmdPerformanceModule, "Performance Module")}),
        Popup("Composite Reports", {Command(kCmdCompositeAccountAppraisal, "Account Appraisal"),
                                    Command(kCmdCompositeWorkingAppraisal, "Working Appraisal"),
                                    Command(kCmdCompositeGainsLosses, "Gains (Losses)"),
                                    Command(kCmdCompositeTransactionLedger, "Transaction Ledger")}),
        Popup("Fixed Income Reports",
              {Command(kCmdFixedIncomeAppraisal, "Fixed Income Appraisal"),
               Command(kCmdMaturityAnalysis, "Maturity Analysis"),
               Command(kCmdRatingAnalysis, "Rating Analysis"), Command(kCmdCouponAnalysis, "Coupon Analysis"),
               Command(kCmdYieldAnalysis, "Yield Analysis"),
               Command(kCmdIncomeFlowFixed, "Income Flow Analysis (fixed)"),
               Command(kCmdIncomeFlowOther, "Income Flow Analysis (other)"),
               Command(kCmdFixedIncomeSummary, "Fixed Income Summary")}),
        Popup("List Reports",
              {Command(kCmdAccountList, "Account List"), Command(kCmdSecurityList, "Security List"),
               Command(kCmdBrokerList, "Broker List"), Command(kCmdBondList, "Bond List"),
               Command(kCmdCustodianList, "Custodian List"),
               Command(kCmdAccountListSummary, "Account List (Summary)")}),
        Popup("Charts", {Command(kCmdCharts, "Charts")}),
        Popup("Utilities",
              {Command(kCmdOptions, "Options"), Command(kCmdUpdateDataBase, "Update Data Base"),
               Command(kCmdInitializeTempFiles, "Initialize Temp Files"), Separator(),
               Command(kCmdCopyAccount, "Copy Account"),
               Command(kCmdSecurityIndustryCategory, "Security Industry Category"),
               Command(kCmdSecurityType, "Security Type"), Command(kCmdGroups, "Groups"),
               Command(kCmdHistoricalPortfolioValues, "Historical Portfolio Values"),
               Command(kCmdPortfolioManagerCodes, "Portfolio Manager Codes"), Separator(),
               Command(kCmdPrinterOptions, "Printer Options"), Command(kCmdLetterhead, "Letterhead")}),
        Popup(
            "Modules",
            {Popup("Billing", {Command(kCmdFeeSchedule, "Fee Schedule"), Command(kCmdInvoice, "Invoice"),
                               Command(kCmdBillingNotes, "Notes"), Command(kCmdBillingSummary, "Summary"),
                               Command(kCmdBillingUpdate, "Update")}),
             Popup("Block Trades", {Command(kCmdBlockDefine, "Define"), Command(kCmdBlockEdit, "Edit"),
                                    Command(kCmdBlockAllocate, "Allocate"), Command(kCmdBlockPost, "Post")}),
             Popup("Information Export", {Command(kCmdInformationExport, "Export")}),
             Popup(
                 "Transaction Download",
                 {Command(kCmdEditTransactions, "Edit Transactions"),
                  Command(kCmdDeleteTransactions, "Delete Transactions"),
                  Popup("Import Transactions",
                        {Command(kCmdImportBearStearns, "Bear Stearns"),
                         Popup("DataLynx", {Command(kCmdImportDataLynx, "Import"),
                                            Command(kCmdGenerateExtracts, "Generate Extracts")}),
                         Command(kCmdImportDstSystems, "DST Systems Inc."),
                         Command(kCmdImportFidelity, "Fidelity"),
                         Command(kCmdImportJackWhite, "Jack White && Company"),
                         Command(kCmdImportRydex, "Rydex"), Command(kCmdImportSchwab, "Schwab"),
                         Command(kCmdImportSmithBarney, "Smith Barney"),
                         Command(kCmdImportVanguard, "Vanguard"), Command(kCmdImportWaterhouse, "Waterhouse"),
                         Command(kCmdImportCreditUnion, "Credit Union"),
                         Command(kCmdImportAmericanSkandia, "American Skandia")}),
                  Popup("Map Transaction Codes",
                        {Command(kCmdMapBearStearns, "Bear Stearns"), Command(kCmdMapDataLynx, "DataLynx"),
                         Command(kCmdMapDstSystems, "DST Systems Inc."), Command(kCmdMapFidelity, "Fidelity"),
                         Command(kCmdMapJackWhite, "Jack White && Company"), Command(kCmdMapRydex, "Rydex"),
                         Command(kCmdMapSchwab, "Schwab"), Command(kCmdMapSmithBarney, "Smith Barney"),
                         Command(kCmdMapVanguard, "Vanguard"), Command(kCmdMapWaterhouse, "Waterhouse"),
                         Command(kCmdMapAmericanSkandia, "American Skandia")}),
                  Command(kCmdTransactionReport, "Transaction Report"),
                  Command(kCmdPostTransactions, "Post Transactions")}),
             Popup("Income Autopost",
                   {Command(kCmdInputIncomeDistributions, "Input Income Distributions"),
                    Command(kCmdSecuritiesWithPayableDates, "Securites with Payable Dates"),
                    Command(kCmdPostIncome, "Post Income"), Command(kCmdInitialPostDate, "Initial Date")}),
             Popup("Asset Allocation", {Command(kCmdInputAssetAllocation, "Input/Modify"),
                                        Command(kCmdAssetAllocationReport, "Asset Allocation Report"),
                                        Command(kCmdPostAssetAllocation, "Post"),
                                        Command(kCmdDeleteAssetAllocation, "Delete Asset Allocation")}),
             Popup("Stock Splits", {Command(kCmdModifyStockSplits, "Modify Stock Splits"),
                                    Command(kCmdStockSplitReport, "Stock Split Report"),
                                    Command(kCmdPostSplits, "Post Splits")})}),
        Popup("Tools", {Popup("Find", {Command(kCmdFindAccount, "Account ID"),
                                       Command(kCmdFindCustodian, "Custodian ID"),
                                       Command(kCmdFindSecurity, "Security ID")})}),
    };
}

}  // namespace

MenuTable MainMenu() {
    MenuTable menu{FileMenu(false)};
    for (MenuItem& item : ProgramMenus()) menu.push_back(std::move(item));
    menu.push_back(HelpMenu());
    return menu;
}

MenuTable ChildMenu() {
    MenuTable menu{FileMenu(true), EditMenu()};
    for (MenuItem& item : ProgramMenus()) menu.push_back(std::move(item));
    menu.push_back(WindowMenu());
    menu.push_back(HelpMenu());
    return menu;
}

}  // namespace shell
