#pragma once

// Pieces of the page headings that several reports print alike. The page
// top (page number and firm name) is the record layer's (Pghead, Hdr80,
// Headr2); each report's title and column captions stay with the report,
// as they stand at that report's own columns.

#include <string>
#include <string_view>

namespace reports {

// The manager code as a heading shows it: "ALL " for the all-managers
// pattern "????", otherwise the code in 4 positions.
std::string ManagerHeading(std::string_view manager);

// The "DATE PRINTED: " line of a heading after indent blanks, the date as
// headings print it (the 12 characters of H2000).
std::string DatePrintedLine(std::string_view printed_date, int indent);

}  // namespace reports
