#include "reports/kernel/report_frame.h"

#include "records/record.h"
#include "records/report_output.h"

namespace reports {

ReportFrame::ReportFrame(std::string_view output_name, bool copy)
    : output_name_(records::TrimRight(output_name)), copy_(copy), open_(true) {
    std::string work_name;
    records::Prtout("", "START", work_name);
}

ReportFrame ReportFrame::ForOutputMode(std::string_view output_name, int16_t output_mode) {
    return ReportFrame(output_name, output_mode == kOutputModeCopy);
}

ReportFrame::ReportFrame(ReportFrame&& other) noexcept
    : output_name_(std::move(other.output_name_)),
      copy_(other.copy_),
      open_(other.open_),
      lines_(other.lines_),
      line_(std::move(other.line_)) {
    other.open_ = false;
}

ReportFrame::~ReportFrame() {
    if (!open_) return;
    std::string work_name;
    records::Prtout("", "END", work_name);
    if (copy_ && !output_name_.empty()) records::Acopy(records::kReportWorkFile, output_name_);
}

void ReportFrame::Line(std::string_view text) {
    records::Prtout(text);
    ++lines_;
}

void ReportFrame::Write(std::string_view layout, records::OutItems items) {
    records::WriteTo(line_, layout, items);
    Line(line_);
}

void ReportFrame::Stop(std::string_view reason) {
    Line(reason);
}

std::string UnreadableLine(std::string_view file, long record) {
    std::string line = " " + records::TrimRight(file);
    if (record > 0) line += " record " + std::to_string(record);
    return line + " could not be read.";
}

}  // namespace reports
