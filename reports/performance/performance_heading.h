#pragma once

// The page heading of the performance table.

#include <array>
#include <cstdint>
#include <string>

namespace reports {

// What the heading prints and the page state it moves on. Texts are blank
// padded or cut to their widths where they are printed.
struct PerformanceHeading {
    int16_t page = 0;                              // raised by the shared page heading
    int16_t lines = 0;                             // lines used on the page
    int16_t page_length = 0;                       // handed back by the shared page heading
    std::string start_date = std::string(8, ' ');  // MM/DD/YY
    std::string end_date = std::string(8, ' ');
    std::string title = std::string(42, ' ');  // the centred account title
    std::string frequency = "M   ";            // "M   " or "Q   "
    // The three heading texts of each market index; the first six
    // characters of each are printed in the NET, VALUATION and DATE lines.
    std::array<std::string, 3> index1{};
    std::array<std::string, 3> index2{};
    int16_t index_selector = 0;                      // 0 two indexes, 1 the first, 2 none
    int16_t output_mode = 1;                         // 2: continuing a composite's output
    int16_t choice = 0;                              // asset-class choice 0-5
    std::string description = std::string(32, ' ');  // the security's, choice 5
};

// Prints the heading through the line writer: the shared 132-column page
// heading, the report title (with " BY ASSET CLASS" or " BY SECURITY"),
// the class or security line, the dates, the account title and the three
// column heading lines for the chosen indexes. Every line after the shared
// heading is added to the lines used. Output mode 2 prints nothing: a
// composite's pages continue the output already open.
void Mprfhead(PerformanceHeading& heading);

}  // namespace reports
