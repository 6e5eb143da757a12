#pragma once

// The Charts command (report code 141): the chart dialog asks which chart
// and which type; on OK a chart window opens (template 3), or, when its
// chart data file cannot be drawn, the window's error message shows and no
// window stays open. Cancel opens nothing.

namespace shell {

class CMainFrame;

void OnChartCommand(CMainFrame& frame);

}  // namespace shell
