#include "shell/child_frames.h"

#include "shell/app.h"
#include "shell/chart_view.h"

namespace shell {

void CChildFrame::PreCreateWindow(platform::FrameStyle& style) {
    if (g_app_state.tran_list_pending) {
        style.maximize_box = false;
        style.sizing_border = false;
    }
    platform::ChildFrame::PreCreateWindow(style);
}

bool CChildFrame::OnCreate() {
    if (!platform::ChildFrame::OnCreate()) return false;
    g_app_state.tran_list_pending = 0;
    return true;
}

void CChildFrameChart::PreCreateWindow(platform::FrameStyle& style) {
    platform::ChildFrame::PreCreateWindow(style);
}

bool CChildFrameChart::OnCreate() {
    if (!platform::ChildFrame::OnCreate()) return false;
    auto* view = dynamic_cast<CChartView*>(GetView());
    return !view || view->OnCreate() == 0;
}

}  // namespace shell
