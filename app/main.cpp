// Ledra: starts the program on a data directory, the first argument or the
// current directory; a directory named that does not exist yet is created
// when the user agrees.

#include <QApplication>
#include <filesystem>

#include "entry/entry_commands.h"
#include "entry/report_table.h"
#include "entry/tran_list.h"
#include "feed/dispatcher/rospa32.h"
#include "pricing/price_download_dialog.h"
#include "pricing/pricing_dialogs.h"
#include "pricing/report_table.h"
#include "reports/report_table.h"
#include "setup/setup_commands.h"
#include "shell/app.h"
#include "shell/data_directory.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);  // takes the Qt options out of argv
    const std::filesystem::path data_directory = argc > 1 ? argv[1] : ".";
    if (const int status = shell::OpenDataDirectory(data_directory, argc > 1); status != 0) return status;
    // The set-up, entry and pricing subsystems register their commands and
    // dialogs before the frame is made, and the reports, entry and pricing
    // their rows of the report runner's table.
    setup::RegisterSetupCommands();
    entry::RegisterEntryCommands();
    pricing::RegisterPricingDialogs();
    reports::RegisterReports();
    entry::RegisterEntryReports();
    pricing::RegisterPricingReports();
    pricing::SetFeedEntry(&ol_DataRequest);
    shell::CLedraApp app;
    app.SetViewFactory(shell::kTranListTemplate, entry::MakeTranList);
    if (!app.InitInstance()) return 1;
    return app.Run();
}
