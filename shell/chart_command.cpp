#include "shell/chart_command.h"

#include "shell/app.h"
#include "shell/chart_select_dialog.h"
#include "shell/main_frame.h"

namespace shell {

void OnChartCommand(CMainFrame& frame) {
    CChartSelectDlg dialog(&frame);
    if (dialog.DoModal() != platform::IDOK) return;
    // The chart view fills its chart as the window is made; a chart that
    // cannot be drawn has shown its message and left no window.
    frame.OpenTemplateWindow(kChartTemplate);
}

}  // namespace shell
