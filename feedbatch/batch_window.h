#pragma once

// The batch program's main window "ORLIN 32": a list box (id 1) of what the
// data feed and the program report, kept to the 999 newest lines, and the
// system menu with the About item. What reaches the window (copy-data
// records, the close box, the system menu, its end) goes to the program.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/plain_window.h"

namespace feedbatch {

class BatchProgram;

inline constexpr int kLogListId = 1;
// The list keeps this many of the newest lines; the log file keeps them all.
inline constexpr int kLogListLimit = 999;

class BatchWindow : public platform::PlainWindow {
public:
    explicit BatchWindow(BatchProgram& program) : program_(program) {}

    // Makes the window and its list box (not yet shown).
    bool Make(std::string_view title);

    // Appends a line to the list and scrolls it to the top of the list.
    void AppendLine(std::string_view text);
    // The lines of the list; after the window has gone, those it held last.
    std::vector<std::string> Lines() const;
    // The index of the first visible line of the list.
    int TopIndex() const;

    void OnSize(int width, int height) override;
    bool OnCopyData(platform::WindowHandle from, const platform::CopyDataRecord& record) override;
    void OnClose() override;
    void OnSysCommand(int id) override;
    void OnDestroy() override;

private:
    BatchProgram& program_;
    int char_width_ = 8;
    int char_height_ = 16;
    std::deque<std::string> lines_;
};

}  // namespace feedbatch
