#pragma once

// The report display window (template 0). When a report has run for the
// display it takes the report work file OUTPUT.TMP over as "O%6.6d.TMP" of
// its window number, shows the 132-character lines a screenful at a time
// with scroll bars and deletes the file when it closes. The same view shows
// the start-up text (startup.txt, converted to startup.rpt) in a large bold
// font, with a Disable box that turns the start-up text off. A window opened
// while the report globals name no report file (a new document) is empty.

#include <QFont>
#include <string>

#include "platform/view.h"
#include "shell/report_globals.h"

namespace shell {

class CDisplayNew : public platform::View {
public:
    static constexpr int kDoneButton = 50;
    static constexpr int kHorizontalBar = 51;
    static constexpr int kVerticalBar = 52;
    static constexpr int kDisableBox = 53;
    // The window number of the start-up text; no number yet.
    static constexpr int kStartupNumber = -2;
    static constexpr int kNoNumber = -1;

    CDisplayNew();

    void OnInitialUpdate() override;
    void OnDraw(QPainter& painter) override;
    void OnSize(int width, int height) override;
    void OnDestroy() override;

    // Line n (from 1) of the window's file, trailing blanks cut; false when
    // the line cannot be read in full.
    bool GetLine(long n, std::string& text) const;
    bool TextLine(long n, std::string& text) const override { return GetLine(n, text); }

    // The report file of a window number: "O000007.TMP".
    static std::string WindowFileName(int number);
    // Renames OUTPUT.TMP to the window's file (replacing an old one); does
    // nothing for a negative number.
    static void TakeOutputFile(int number);
    static void RemoveOutputFile(int number);

    bool IsStartupWindow() const { return startup_window_; }
    int WindowNumber() const { return window_number_; }
    long LineCount() const { return line_count_; }
    long WidestLine() const { return widest_line_; }
    int LinesPerScreen() const { return lines_per_screen_; }
    const ReportSelection& SavedSelection() const { return saved_selection_; }

private:
    void OnDone();
    void OnScroll(const platform::Notification& n);
    void PlaceButtons(int width, int height);
    // Widens the frame so that a report's 132 columns show whole.
    void FitReportWidth();
    static constexpr int kReportColumns = 132;

    QFont font_;
    long line_count_ = 0;
    int lines_per_screen_ = 0;
    long widest_line_ = 0;
    int window_number_ = kNoNumber;
    ReportSelection saved_selection_;
    bool startup_pending_copy_ = false;
    bool startup_window_ = false;
    bool first_draw_ = false;
    bool file_open_ = false;
    bool initialised_ = false;
};

// The title of a report display window by report code; empty for a code
// without one.
std::string ReportTitle(int report_code);
// The title of a report window: the report's title, else the name of the
// menu command that runs the code (an item of one word with its menu's:
// "Pricing Import"), so that no window goes without one.
std::string ReportWindowTitle(int report_code);
// The title of the start-up text window.
inline constexpr const char* kStartupWindowTitle = "Getting Started Tutorial";

}  // namespace shell
