// The keys of every dialog of the program, walked through the tables the
// dialogs are built from: within one dialog no key (Alt and a letter) is
// shared by two controls, and every push button has one. Each dialog is
// built from its table alone (nothing of the data directory is read), with
// all of its controls, also those a report code or a mode hides, since the
// program shows them in turns. A child window's form is walked with the
// menu bar that shows above it, whose keys it shares. A new dialog joins
// the list below; the scripts that drive a dialog check its keys as it
// runs, too.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "entry/block_size_dialog.h"
#include "entry/block_trade_dialog.h"
#include "entry/cash_dialog.h"
#include "entry/import_transactions_dialog.h"
#include "entry/map_codes_dialog.h"
#include "entry/trades_dialog.h"
#include "entry/tran_edit_select_dialog.h"
#include "entry/tran_list.h"
#include "entry/transfers_dialog.h"
#include "platform/dialog_keys.h"
#include "platform/main_frame.h"
#include "platform/property_sheet.h"
#include "platform/view.h"
#include "pricing/import_price_file_dialog.h"
#include "pricing/manual_pricing_dialog.h"
#include "pricing/price_download_dialog.h"
#include "setup/account_billing_dialog.h"
#include "setup/account_info_sheet.h"
#include "setup/asset_allocation_dialog.h"
#include "setup/billing_notes_dialog.h"
#include "setup/broker_data_dialog.h"
#include "setup/broker_info_dialog.h"
#include "setup/copy_account_dialog.h"
#include "setup/fee_schedule_dialog.h"
#include "setup/group_editor_dialog.h"
#include "setup/historical_data_dialog.h"
#include "setup/income_distribution_dialogs.h"
#include "setup/industry_categories_dialog.h"
#include "setup/invoice_dialog.h"
#include "setup/manager_codes_dialog.h"
#include "setup/security_data_dialog.h"
#include "setup/security_page1_dialog.h"
#include "setup/security_page2_dialog.h"
#include "setup/security_types_dialog.h"
#include "setup/stock_split_dialogs.h"
#include "shell/about_dialog.h"
#include "shell/chart_select_dialog.h"
#include "shell/color_dialog.h"
#include "shell/ledger_dialog.h"
#include "shell/letterhead_dialog.h"
#include "shell/main_frame.h"
#include "shell/message_list.h"
#include "shell/options_dialog.h"
#include "shell/performance_dialog.h"
#include "shell/printer_options_dialog.h"
#include "shell/report_options_dialog.h"
#include "shell/report_request_dialog.h"
#include "shell/tax_disk.h"

namespace {

using platform::DialogTemplate;

// The faults of a table built as a plain dialog.
std::vector<std::string> TableFaults(const DialogTemplate& table) {
    platform::Dialog built(table);
    if (!built.Create()) return {"could not be built"};
    std::vector<std::string> faults = platform::KeyFaults(built);
    built.DestroyWindow();
    return faults;
}

// The faults of a form built as the view of a child window, under the
// menu bar the program shows while a child window is active: Alt and a
// letter of that bar opens its menu, so the form leaves those letters.
std::vector<std::string> FormFaults(const DialogTemplate& table) {
    const platform::DocTemplate form("Form",
                                     [&table] { return std::make_unique<platform::FormView>(table); });
    platform::MainFrame main;
    if (!main.Create("Walk", shell::MainMenu(), shell::ChildMenu())) return {"no main window"};
    const platform::ChildFrame* frame = main.OpenView(form);
    std::vector<std::string> faults =
        frame ? platform::KeyFaults(*frame->GetView()) : std::vector<std::string>{"could not be built"};
    main.DestroyWindow();
    return faults;
}

// The faults of a property sheet with plain pages of its pages' tables.
std::vector<std::string> SheetFaults(const platform::PropertySheet& sheet) {
    platform::PropertySheet built(sheet.TemplateId(), sheet.Template().caption);
    std::vector<std::unique_ptr<platform::PropertyPage>> pages;
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        pages.push_back(std::make_unique<platform::PropertyPage>(sheet.GetPage(i)->Template()));
        built.AddPage(pages.back().get());
    }
    if (!built.Create()) return {"could not be built"};
    std::vector<std::string> faults = platform::KeyFaults(built);
    built.DestroyWindow();
    return faults;
}

struct Walked {
    std::string name;
    std::function<std::vector<std::string>()> faults;
    // The faults the window cannot help, each with its reason beside it.
    std::vector<std::string> unavoidable = {};
};

template <class D, class... Args>
Walked Of(std::string name, Args... args) {
    return {std::move(name), [=] {
                const D dialog(args...);
                return TableFaults(dialog.Template());
            }};
}

std::vector<Walked> EveryDialog() {
    using namespace shell;
    using namespace entry;
    using namespace setup;
    using namespace pricing;
    return {
        // The shell.
        Of<CAboutDlg>("About"),
        Of<CChartSelectDlg>("Charts"),
        Of<CColorSelectDlg>("Colour selection"),
        Of<CTransactionLedgerDlg>("Transaction Ledger"),
        Of<CLetterheadDlg>("Letterhead"),
        Of<CReportErrorsDlg>("Report errors"),
        Of<COptionsDlg>("Options"),
        Of<CPerformanceReportsDlg>("Performance reports"),
        Of<CPrinterOptionsDlg>("Printer options"),
        Of<CReportOptionsDlg>("Report options"),
        Of<CReportRequestDlg>("Report request"),
        Of<CCheckDriveADlg>("Tax disk"),
        // Transaction entry.
        Of<CBlockSizeDlg>("Block size computation"),
        Of<CBlockTradeDlg>("Block trade", records::BlockDefinition{}),
        Of<CCashDlg>("Cash"),
        Of<CImportTransactionsDlg>("Import transactions"),
        Of<CMapTransactionCodesDlg>("Map transaction codes"),
        Of<CTradesDlg>("Trades"),
        Of<CTranEditSelectDlg>("Transaction Editor"),
        Of<CTransfersDlg>("Transfers"),
        // Under the seventeen menus of the bar "Done" and "Add Allocation"
        // have one free letter between them, N: "Done", always shown,
        // takes it.
        {"Transactions list",
         [] { return FormFaults(CTranList().Template()); },
         {"push button \"Add Allocation\" has no key"}},
        // Set-up, utilities and modules.
        Of<CAccountBillingDlg>("Account billing"),
        {"Account information", [] { return SheetFaults(CAccountInfoSheet("ACCOUNT1")); }},
        Of<CInputAssetAllocationDlg>("Asset allocation"),
        Of<CBillingNotesDlg>("Billing notes"),
        Of<CBrokerDataDlg>("Account, broker and custodian data"),
        Of<CBrokerInfoDlg>("Broker information", static_cast<platform::Window*>(nullptr)),
        Of<CCopyAccountDlg>("Copy account"),
        Of<CFeeScheduleDlg>("Fee schedule"),
        Of<CGroupEditorDlg>("Group editor"),
        Of<CHistoricalDataDlg>("Historical data"),
        Of<CIncomeDistInitDlg>("Income distributions, first"),
        Of<CIncomeDistributionsDlg>("Income distributions", int16_t{1998}, std::string("IBM")),
        Of<CInitialPostDateDlg>("Initial post date"),
        Of<CSicCategoriesDlg>("Industry categories"),
        Of<CClientInvoicesDlg>("Client invoices"),
        Of<CManagerCodesDlg>("Portfolio Manager Codes"),
        Of<CSecurityDataDlg>("Security data"),
        {"Security information page 1",
         [] {
             CSecurityDataDlg data;
             return TableFaults(CSecurityInfoPage1Dlg(data).Template());
         }},
        {"Security information page 2",
         [] {
             CSecurityDataDlg data;
             return TableFaults(CSecurityInfoPage2Dlg(data).Template());
         }},
        Of<CSecurityTypesDlg>("Security types"),
        Of<CStockSplitDlg>("Stock split"),
        Of<CStockSplitsDlg>("Stock splits", std::string("1998"), std::string("IBM")),
        Of<CStockSplitEditDlg>("Stock split edit", std::string("06/01/98"), std::string("06/15/98"), 2.0f),
        // Pricing.
        Of<CImportPriceFileDlg>("Import price file"),
        Of<CManualPricingDlg>("Manual pricing"),
        Of<CPriceDownloadDlg>("Price download"),
    };
}

TEST(DialogKeys, EveryDialogHasUniqueKeysAndAKeyOnEveryPushButton) {
    for (const Walked& dialog : EveryDialog()) {
        const std::vector<std::string> faults = dialog.faults();
        const auto has = [](const std::vector<std::string>& list, const std::string& fault) {
            return std::find(list.begin(), list.end(), fault) != list.end();
        };
        for (const std::string& fault : faults)
            if (!has(dialog.unavoidable, fault)) ADD_FAILURE() << dialog.name << ": " << fault;
        for (const std::string& fault : dialog.unavoidable)
            if (!has(faults, fault)) ADD_FAILURE() << dialog.name << ": no longer " << fault;
    }
}

}  // namespace
