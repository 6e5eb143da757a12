// The main frame: its making, closing and the windows of the templates.

#include "shell/main_frame.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <array>

#include "records/common_file.h"
#include "records/record_services.h"
#include "shell/colors.h"
#include "shell/command_ids.h"
#include "shell/field_helpers.h"
#include "shell/key_filters.h"
#include "shell/report_globals.h"
#include "shell/tran_selection.h"

namespace shell {
namespace {

CMainFrame* g_main_frame = nullptr;

// The unit the frame reads ACCOUNT.IDX on.
constexpr int kAccountIndexUnit = 6;

// The first account of ACCOUNT.IDX (trailing blanks cut), or a single blank
// when the index holds none.
std::string FirstAccount() {
    std::string account = " ";
    if (records::Opnfil(kAccountIndexUnit, 128, "Account.idx") != 0) return account;
    std::array<int16_t, 64> words{};
    std::string record;
    if (records::Rdrecw(kAccountIndexUnit, 1, words) == 0 && words[0] > 0 &&
        records::Rdrec(kAccountIndexUnit, 2, record) == 0) {
        account = TrimField(record, 8);
    }
    records::Clsfil(kAccountIndexUnit);
    return account;
}

}  // namespace

CMainFrame* TheMainFrame() {
    return g_main_frame;
}

CMdiBackgroundWnd::CMdiBackgroundWnd() = default;

void CMdiBackgroundWnd::SubclassWindow(platform::MainFrame& frame) {
    if (bitmap_.isNull()) bitmap_ = platform::DrawPicture(platform::Picture::Background);
    frame.SetBackgroundPainter([this](QPainter& painter, const QRect& area) { OnEraseBkgnd(painter, area); });
}

void CMdiBackgroundWnd::OnEraseBkgnd(QPainter& painter, const QRect& area) const {
    painter.fillRect(area, Qt::white);
    painter.drawPixmap(area.left() + (area.width() - bitmap_.width()) / 2,
                       area.top() + (area.height() - bitmap_.height()) / 2, bitmap_);
}

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
    if (g_main_frame == this) g_main_frame = nullptr;
}

bool CMainFrame::LoadFrame(const platform::DocTemplateList& templates) {
    templates_ = &templates;
    if (!Create(kTitle, MainMenu(), ChildMenu())) return false;
    if (OnCreate() != 0) {
        platform::MainFrame::DestroyWindow();
        return false;
    }
    return true;
}

int CMainFrame::OnCreate() {
    background_.SubclassWindow(*this);
    if (!CreateToolBar()) return -1;
    LoadColors();
    InstallDialogColoring();
    CreateStatusBar();

    // Today is the program date until the user types another.
    const std::string today = TodayText();
    records::Setsdt(today);
    g_report.SystemDate = today;
    g_report.EndDate = today;
    g_report.StartDate = "01/01" + today.substr(5);
    SetDlgItemText(kSystemDateEdit, today);

    SetTranSelection(kTranSortByDate, "", g_report.StartDate, FirstAccount());

    g_number_entry_flag = 1;
    g_report.PerformanceSelection = 0;
    g_main_frame = this;
    for (const auto& [id, action] : RegisteredCommands()) BindCommand(id, action);

    RemoveModulesMenu();
    return 0;
}

void CMainFrame::CreateStatusBar() {
    QMainWindow* w = GetMainWindow();
    if (!w) return;
    // The message pane, then the CAP, NUM and SCRL indicators.
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(w->statusBar());
        pane->setObjectName(indicator);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(indicator) + 12);
        w->statusBar()->addPermanentWidget(pane);
    }
    SetMessageText("Ready");
}

void CMainFrame::RemoveModulesMenu() {
    DeleteTopLevelMenu(kModulesMenu);
}

platform::ChildFrame* CMainFrame::OpenTemplateWindow(int position, bool visible) {
    const platform::DocTemplate* doc_template = templates_ ? templates_->Get(position) : nullptr;
    return doc_template ? OpenView(*doc_template, visible) : nullptr;
}

void CMainFrame::BindCommand(int id, CommandFunction action) {
    if (action)
        Bind(id, platform::Notify::Clicked, [this, action] { action(*this); });
    else
        Bind(id, platform::Notify::Clicked, platform::Window::Handler());
    EnableCommand(id, true);  // shows the new state in the menus and the tool bar
}

void CMainFrame::OnClose() {
    platform::MainFrame::OnClose();
    // The colours are stored only when the frame did close.
    if (!IsWindow()) SaveColors();
}

void CMainFrame::DestroyWindow() {
    if (g_main_frame == this) g_main_frame = nullptr;
    platform::MainFrame::DestroyWindow();
}

}  // namespace shell
