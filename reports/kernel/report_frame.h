#pragma once

// The report frame: every report routine writes its lines between one
// "START" and one "END" of the line writer (OUTPUT.TMP) and then, when its
// caller asks for it, copies the work file into the named output file. The
// frame does both on every path out of the routine, early returns included,
// so a report never leaves without a finished work file. A run that cannot
// go on says why in a report line (Stop) before the frame ends.

#include <cstdint>
#include <string>
#include <string_view>

#include "records/layout.h"

namespace reports {

// Output mode 3 (the runner's file destination) copies the work file to
// the named file; modes 1 and 2 leave it alone.
inline constexpr int16_t kOutputModeCopy = 3;

class ReportFrame {
public:
    // Starts OUTPUT.TMP. copy: whether the end copies the work file into
    // output_name (blank padded names are trimmed by the record layer).
    ReportFrame(std::string_view output_name, bool copy);
    // For the routines that take an output mode: copies for mode 3 only.
    static ReportFrame ForOutputMode(std::string_view output_name, int16_t output_mode);
    // Ends the work file and copies it as asked.
    ~ReportFrame();
    ReportFrame(ReportFrame&& other) noexcept;
    ReportFrame(const ReportFrame&) = delete;
    ReportFrame& operator=(const ReportFrame&) = delete;
    ReportFrame& operator=(ReportFrame&&) = delete;

    // One report line, cut or padded to 132 characters by the line writer.
    void Line(std::string_view text);
    // One report line written under a layout.
    void Write(std::string_view layout, records::OutItems items = {});
    // A blank line.
    void Blank() { Line(""); }
    // The reason a run cannot go on, as the last line of the report (the
    // text as given: the report's own message, or UnreadableLine).
    void Stop(std::string_view reason);

    // Lines written through this frame.
    long lines() const { return lines_; }

private:
    std::string output_name_;
    bool copy_ = false;
    bool open_ = false;
    long lines_ = 0;
    std::string line_;  // the line Write builds, its room kept from line to line
};

// The line a report writes when a file or record it needs cannot be read,
// for instance " ACCOUNT.IDX record 1 could not be read." (record 0 names
// the file alone: " BROKER.REC could not be read."), in column 2 as the
// reports' own lines are.
std::string UnreadableLine(std::string_view file, long record = 0);

}  // namespace reports
