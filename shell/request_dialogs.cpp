// No report code has a request dialog yet: every report command ends as
// "not available" until the dialogs are built.

#include "shell/request_dialogs.h"

namespace shell {

bool RunRequestDialog(int /*code*/, CMainFrame& /*frame*/) {
    return false;
}

bool HasRequestDialog(int /*code*/) {
    return false;
}

}  // namespace shell
