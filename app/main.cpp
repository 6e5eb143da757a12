// Ledra: starts the program on a data directory, the first argument or the
// current directory; a directory that does not exist yet is created.

#include <QApplication>
#include <cstdio>
#include <filesystem>

#include "platform/message_box.h"
#include "pricing/pricing_dialogs.h"
#include "setup/setup_commands.h"
#include "shell/app.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);  // takes the Qt options out of argv
    const std::filesystem::path data_directory = argc > 1 ? argv[1] : ".";
    if (const std::string error = shell::EnterDataDirectory(data_directory); !error.empty()) {
        std::fprintf(stderr, "Ledra: %s\n", error.c_str());
        platform::MessageBox(error, "Ledra", platform::MB_OK | platform::MB_ICONSTOP);
        return 1;
    }
    // The set-up and pricing subsystems register their commands and
    // dialogs before the frame is made.
    setup::RegisterSetupCommands();
    pricing::RegisterPricingDialogs();
    shell::CLedraApp app;
    if (!app.InitInstance()) return 1;
    return app.Run();
}
