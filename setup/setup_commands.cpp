#include "setup/setup_commands.h"

#include "setup/group_editor_dialog.h"
#include "shell/command_ids.h"
#include "shell/commands.h"
#include "shell/main_frame.h"

namespace setup {

void RegisterSetupCommands() {
    shell::RegisterCommand(shell::kCmdGroups, [](shell::CMainFrame& frame) {
        CGroupEditorDlg dialog(&frame);
        dialog.DoModal();
    });
}

}  // namespace setup
