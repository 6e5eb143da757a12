#pragma once

// The program-wide message list: checks and runs append their problems as
// lines, and at the end the list is shown, numbered, in the report errors
// window (dialog 142), a window of eight lines with a scroll bar, titled
// after the report or function that produced it. It opens modal, on top of
// the dialog that found the problems, and takes the input until Done. The
// same window can page through a report line file instead (LineSource 1).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog.h"

namespace shell {

void AddMessage(std::string_view text);
int GetMessageCount();
// The lines as they stand (numbered once ShowMessageList has run).
const std::vector<std::string>& GetMessages();
// Numbers the lines "1.", "2.", ... in place (a line numbered by an earlier
// call keeps its one number), sets LineSource to the
// message list and shows the errors window until Done (which empties the
// list); nothing when the list is empty.
void ShowMessageList();
// Closes the errors window and empties the list.
void ClearMessageList();

class CReportErrorsDlg : public platform::Dialog {
public:
    static constexpr int kLines = 8;
    static constexpr int kScrollBar = 1195;
    // The static texts of the eight lines, top to bottom.
    static constexpr std::array<int, kLines> kLineIds = {1177, 2, 3, 4, 5, 6, 1178, 1179};
    // Characters of a report line shown from the horizontal offset.
    static constexpr std::size_t kShownWidth = 85;

    CReportErrorsDlg();

    bool OnInitDialog() override;
    // Done, Escape and the close box close the window and empty the list.
    void OnOK() override;
    void OnCancel() override;

    // Fills the eight line strings for the scroll position and offset, and
    // puts them into the static texts.
    void ShowLines();
    void Refresh();
    const std::array<std::string, kLines>& Lines() const { return lines_; }

private:
    void OnVScroll(const platform::Notification& n);

    std::array<std::string, kLines> lines_;
    int line_count_ = 0;
    std::size_t offset_ = 0;
};

// The one errors window of the program (open or not).
CReportErrorsDlg& ReportErrorsDialog();

// The caption of the errors window for a report code; empty for a code
// that keeps the resource's caption.
std::string ErrorsCaption(int report_code);

}  // namespace shell
