// The report display window.

#include "shell/display_view.h"

#include <QFontMetrics>
#include <QMdiArea>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <vector>

#include "platform/text.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/report_output.h"
#include "shell/app.h"
#include "shell/dispatch.h"
#include "shell/main_frame.h"
#include "shell/print_view.h"
#include "shell/printer_settings.h"
#include "shell/report_paging.h"
#include "shell/runner.h"

namespace shell {
namespace {

using namespace platform;

constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 30;
// Option 89 (byte 89 of the options record): show the start-up text.

}  // namespace

std::string ReportTitle(int report_code) {
    static const std::map<int, std::string> titles = {
        {44, "Download Client Information"},
        {81, "Transaction Ledger"},
        {82, "Security Cross Reference"},
        {83, "Account Directory"},
        {84, "Gain/Loss Report"},
        {85, "Income Summary"},
        {87, "Maturity and Expiration Alerts"},
        {88, "Detailed Security Cross Reference"},
        {90, "Member Statement"},
        {91, "Form 1099B"},
        {92, "Trade Memorandum"},
        {93, "Commissions by Account"},
        {94, "Commission Datail be Broker"},
        {95, "Portfolio Changes"},
        {101, "Working Appraisal"},
        {102, "Position Summary"},
        {103, "Account Appraisal"},
        {104, "Investment History"},
        {106, "Mutual Fund Appraisal"},
        {107, "Assets Under Management"},
        {108, "Summary of Assets Under Management"},
        {109, "Summary of Accounts"},
        {121, "Performance Report"},
        {181, "Account List"},
        {182, "Security List"},
        {183, "Broker List"},
        {184, "Bond List"},
        {185, "Custodian List"},
        {186, "Account List (Summary)"},
        {201, "Composite Account Appraisal"},
        {202, "Composite Working Appraisal"},
        {203, "Composite Gain/Loss Report"},
        {204, "Composite Transaction Ledger"},
        {221, "Fixed Income Appraisal"},
        {222, "Maturity Analysis"},
        {223, "Rating Analysis"},
        {224, "Coupon Analysis"},
        {225, "Yield Analysis"},
        {226, "Income Flow Analysis (fixed)"},
        {227, "Income Flow Analysis (other)"},
        {228, "Fixed Income Summary"},
        {281, "Import Bear Stearns"},
        {282, "Import Data Lynx"},
        {283, "Import DST Systems"},
        {284, "Import Fidelity"},
        {285, "Import Jack White"},
        {286, "Import Rydex"},
        {287, "Import Schwabb"},
        {288, "Import Smith Barney"},
        {289, "Import Vanguard"},
        {290, "Import Waterhouse"},
        {291, "Import Credit Unions"},
        {322, "Asset Allocation Report"},
        {323, "Post Asset Allocation"},
        {341, "Account ID Search"},
        {342, "Custodian ID Search"},
        {343, "Security ID Search"},
        {361, "Stock Split"},
        {362, "Stock Split"},
        {363, "Stock Split"},
    };
    auto it = titles.find(report_code);
    return it == titles.end() ? std::string() : it->second;
}

std::string ReportWindowTitle(int report_code) {
    if (std::string title = ReportTitle(report_code); !title.empty()) return title;
    const auto& commands = DispatchedCommands();
    const auto command =
        std::find_if(commands.begin(), commands.end(),
                     [report_code](const DispatchedCommand& c) { return c.Code() == report_code; });
    if (command == commands.end()) return "Report";
    // Menu captions as shown: "&&" is one "&".
    auto shown = [](const std::string& caption) {
        std::string text;
        for (std::size_t i = 0; i < caption.size(); ++i) {
            if (caption[i] == '&' && i + 1 < caption.size()) ++i;
            text += caption[i];
        }
        return text;
    };
    std::function<std::string(const std::vector<MenuItem>&, const std::string&)> find =
        [&](const std::vector<MenuItem>& items, const std::string& menu) -> std::string {
        for (const MenuItem& item : items) {
            if (item.type == MenuItem::Type::Popup) {
                if (std::string found = find(item.items, shown(item.caption)); !found.empty()) return found;
            } else if (item.type == MenuItem::Type::Command && item.id == command->id) {
                const std::string name = shown(item.caption);
                return name.find(' ') == std::string::npos && !menu.empty() ? menu + " " + name : name;
            }
        }
        return {};
    };
    const std::string name = find(MainMenu(), "");
    return name.empty() ? "Report" : name;
}

CDisplayNew::CDisplayNew() : startup_pending_copy_(g_app_state.startup_text_pending != 0) {
    Bind(kDoneButton, Notify::Clicked, &CDisplayNew::OnDone);
    Bind(kHorizontalBar, Notify::Scroll, [this](const Notification& n) { OnScroll(n); });
    Bind(kVerticalBar, Notify::Scroll, [this](const Notification& n) { OnScroll(n); });
    Bind(ID_FILE_PRINT, Notify::Clicked, [this] { PrintDisplayWindow(*this, /*preview=*/false); });
    Bind(ID_FILE_PRINT_PREVIEW, Notify::Clicked, [this] { PrintDisplayWindow(*this, /*preview=*/true); });
}

std::string CDisplayNew::WindowFileName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "O%6.6d.TMP", number);
    return name;
}

void CDisplayNew::TakeOutputFile(int number) {
    if (number < 0) return;
    std::error_code error;
    std::filesystem::remove(WindowFileName(number), error);
    std::filesystem::rename(records::kReportWorkFile, WindowFileName(number), error);
}

void CDisplayNew::RemoveOutputFile(int number) {
    if (number < 0) return;
    std::error_code error;
    std::filesystem::remove(WindowFileName(number), error);
}

void CDisplayNew::OnInitialUpdate() {
    first_draw_ = true;
    const QRect client = GetClientRect();
    const int w = client.width(), h = client.height();

    CreateControl(Button(kDoneButton, "Done"),
                  QRect((w - kButtonWidth) / 2, h - 40, kButtonWidth, kButtonHeight));
    CreateControl(ScrollBar(kHorizontalBar, kHorizontal | kHidden), QRect(10, h - 70, 100, 20));
    CreateControl(ScrollBar(kVerticalBar, kHidden), QRect(w - 30, 10, 20, 100));
    GetDlgItem(kHorizontalBar).SetScrollRange(0, 0);
    GetDlgItem(kHorizontalBar).SetScrollPos(0);
    GetDlgItem(kVerticalBar).SetScrollRange(1, 1);
    GetDlgItem(kVerticalBar).SetScrollPos(1);

    // The start-up text is what the window shows while it is pending and
    // the report globals point the window at a line file.
    const bool reads_file = g_report.LineSource == kLinesFromReportFile;
    startup_window_ = startup_pending_copy_ && reads_file;
    if (startup_window_) {
        CreateControl(CheckBox(kDisableBox, "Disable"),
                      QRect((w - kButtonWidth) / 2 - 90, h - 40, kButtonWidth, kButtonHeight));
        if (ChildFrame* frame = GetParentFrame()) frame->ShowWindow(SW_SHOWMAXIMIZED);
        // The face decides over the pitch, as the font mapper the texts
        // were written for did: the start-up text reads in Arial.
        font_ = QFont("Arial");
        font_.setPixelSize(18);
        font_.setWeight(QFont::Bold);
        font_.setStyleHint(QFont::SansSerif);
    } else {
        font_ = QFont(QString::fromStdString(g_printer.PrinterFontName));
        font_.setPixelSize(16);
        font_.setWeight(QFont::Normal);
        font_.setStyleHint(QFont::TypeWriter);
        font_.setFixedPitch(true);
    }

    if (!startup_window_) FitReportWidth();

    SaveSelection(saved_selection_);

    if (reads_file) {
        if (startup_window_) {
            // startup.rpt is made anew from startup.txt for this window.
            records::Purge(records::kStartupReport);
            records::Strtrp(records::kStartupWindow);
            window_number_ = kStartupNumber;
            g_app_state.startup_text_pending = 0;
        } else {
            window_number_ = g_report.ReportWindowNumber++;
            TakeOutputFile(window_number_);
        }
        file_open_ = true;
    }

    if (file_open_) {
        std::string line;
        for (long n = 1; GetLine(n, line); ++n) {
            line_count_ = n;
            widest_line_ = std::max<long>(widest_line_, static_cast<long>(line.size()));
        }
    }

    // A report window of the output switch is titled by its report; the
    // empty window of a new document keeps the document's name.
    if (startup_window_ || reads_file) {
        const std::string title =
            startup_window_ ? kStartupWindowTitle : ReportWindowTitle(g_report.ReportCode);
        SetWindowText(title);
        if (ChildFrame* frame = GetParentFrame()) frame->SetWindowText(title);
    }
    if (CMainFrame* main = TheMainFrame()) main->RemoveModulesMenu();
    initialised_ = true;
}

void CDisplayNew::FitReportWidth() {
    ChildFrame* frame = GetParentFrame();
    QWidget* outer = frame ? frame->GetWidget() : nullptr;
    if (!outer || outer->isMaximized()) return;
    // All 132 columns at the window's font beside the vertical bar's room
    // and the margins the drawing keeps, within the main frame's area.
    const int text_width = kReportColumns * std::max(1, QFontMetrics(font_).averageCharWidth());
    const int wanted_client = text_width + 20 + 30;
    const int border = outer->width() - GetClientRect().width();
    int wanted = wanted_client + std::max(0, border);
    if (CMainFrame* main = TheMainFrame())
        if (const QMdiArea* area = main->GetMdiArea(); area && area->contentsRect().width() > 0)
            wanted = std::min(wanted, area->contentsRect().width());
    if (wanted > outer->width()) outer->resize(wanted, outer->height());
}

bool CDisplayNew::GetLine(long n, std::string& text) const {
    return file_open_ && ReadReportLine(window_number_, n, text);
}

void CDisplayNew::PlaceButtons(int width, int height) {
    GetDlgItem(kDoneButton).MoveWindow((width - kButtonWidth) / 2, height - 40, kButtonWidth, kButtonHeight);
    if (startup_window_)
        GetDlgItem(kDisableBox)
            .MoveWindow((width - kButtonWidth) / 2 - 90, height - 40, kButtonWidth, kButtonHeight);
}

void CDisplayNew::OnDraw(QPainter& painter) {
    const QRect client = GetClientRect();
    const int w = client.width(), h = client.height();
    painter.fillRect(client, Qt::white);
    if (first_draw_) {
        first_draw_ = false;
        PlaceButtons(w, h);
    }
    painter.setFont(font_);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font_);
    const int char_height = std::max(1, metrics.height());
    const int char_width = std::max(1, metrics.averageCharWidth());
    int text_width = w - 20;
    int text_height = h - 50;

    bool horizontal = widest_line_ * char_width > text_width;
    if (horizontal) text_height -= 30;
    const bool vertical = line_count_ * char_height > text_height;
    if (vertical) {
        text_width -= 30;
        if (!horizontal && widest_line_ * char_width > text_width) {
            horizontal = true;
            text_height -= 30;
        }
    }

    Control hbar = GetDlgItem(kHorizontalBar);
    if (horizontal) {
        hbar.MoveWindow(10, h - 70, text_width, 20);
        hbar.ShowWindow(SW_SHOW);
        hbar.EnableWindow(true);
        hbar.SetScrollRange(0, std::max<long>(0, widest_line_ - text_width / char_width));
    } else {
        hbar.ShowWindow(SW_HIDE);
        hbar.EnableWindow(false);
        hbar.SetScrollPos(0);
    }

    lines_per_screen_ = std::max(0, text_height / char_height);

    Control vbar = GetDlgItem(kVerticalBar);
    if (vertical) {
        vbar.MoveWindow(w - 30, 10, 20, h - 60 - (horizontal ? 30 : 0));
        vbar.ShowWindow(SW_SHOW);
        vbar.EnableWindow(true);
        vbar.SetScrollRange(1, std::max<long>(1, line_count_ - lines_per_screen_ + 1));
    } else {
        vbar.ShowWindow(SW_HIDE);
        vbar.EnableWindow(false);
        vbar.SetScrollPos(1);
    }

    const long first_line = std::max(1, vbar.GetScrollPos());
    const std::size_t first_column = static_cast<std::size_t>(std::max(0, hbar.GetScrollPos()));
    const std::size_t columns = static_cast<std::size_t>(std::max(0, text_width / char_width));
    std::string line;
    for (long n = first_line; n < first_line + lines_per_screen_ && n <= line_count_; ++n) {
        if (!GetLine(n, line)) break;
        std::string shown = first_column < line.size() ? line.substr(first_column, columns) : std::string();
        if (shown.empty()) shown.push_back(' ');
        const int y = 10 + static_cast<int>(n - first_line) * char_height;
        painter.drawText(10, y + metrics.ascent(), platform::ToQtDisplay(shown));
    }
}

void CDisplayNew::OnSize(int width, int height) {
    if (!initialised_) return;
    PlaceButtons(width, height);
    Invalidate();
}

void CDisplayNew::OnScroll(const Notification& n) {
    Control bar = GetDlgItem(n.id);
    const int page = n.id == kHorizontalBar ? 20 : std::max(1, lines_per_screen_);
    if (MoveScrollBar(bar, n, page)) Invalidate();
}

void CDisplayNew::OnDone() {
    if (startup_window_ && IsDlgButtonChecked(kDisableBox)) {
        records::Options options = records::Rdopts();
        records::SetOption(options, records::Opt::kStartupTutorial, 0);
        bool saved = false;
        std::vector<records::FailedWrite> failed;
        {
            records::KeepFailedWrites keep;
            saved = records::Wropts(options);
            failed = records::TakeFailedWrites();
        }
        // The window closes all the same: the text shows again at the next
        // start.
        if (!saved)
            ShowNotSaved("The choice to disable the tutorial", records::kCommonFile, failed, GetSafeHwnd());
    }
    if (ChildFrame* frame = GetParentFrame()) frame->PostClose();
}

void CDisplayNew::OnDestroy() {
    if (!file_open_) return;
    // The start-up text stays on disk; a report window's file goes.
    records::Clsdel(window_number_);
    file_open_ = false;
}

}  // namespace shell
