#include "reports/kernel/page_headings.h"

#include "records/layout.h"
#include "records/record.h"
#include "reports/kernel/report_items.h"

namespace reports {

std::string ManagerHeading(std::string_view manager) {
    const std::string code = records::Fixed(manager, 4);
    return code == "????" ? std::string("ALL ") : code;
}

std::string DatePrintedLine(std::string_view printed_date, int indent) {
    // Layouts are cached by their text, so each indent is parsed once.
    const std::string layout = "(" + std::to_string(indent) + "X,'DATE PRINTED: ',3A4)";
    return records::Write(layout, Items().Text(printed_date, 4, 3));
}

}  // namespace reports
