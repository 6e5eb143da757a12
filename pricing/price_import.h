#pragma once

// The import of a price file: every line of a text file of prices in one
// of the seven layouts (price_lines.h) whose security is in the security
// list is filed in the price file of the line's pricing date, record n for
// the security of entry n. The lines that cannot be filed for a fault of
// their own each get a page of the "PRICE FILE IMPORT ERROR REPORT"; a run
// without one gets a single page saying how many prices were filed. The
// report goes to the work file OUTPUT.TMP and, when an output file is
// named, into that file too.
//
// Lines whose security is not in the data directory are passed over
// without a word: price files list far more securities than one firm
// holds. Prices of 0 or below are not filed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pricing {

// Runs the import. import_file: the file's name (48 characters, blank
// padded); layout: 1 to 7; identification: "S   " to match the lines'
// identifiers against the symbols, anything else against the CUSIPs;
// output_file: the file (12 characters) that takes a copy of the report,
// blank for none. The lengths are not used. A file that does not exist, an
// empty security list or one whose SECURITY.IDX record 1 cannot be read
// imports nothing and writes no report.
void Tranfi(std::string_view import_file, int16_t name_length, int16_t layout,
            std::string_view identification, std::string_view output_file, int16_t output_length);

// The prices an import filed for one pricing date (MM/DD/YY, as the price
// file of the date is named from it).
struct FiledPrices {
    std::string date;
    long count = 0;
};
// Tranfi, also giving the prices it filed, a date each in the order the
// dates first came: a caller that finds some files could not be written
// says which prices went in.
void Tranfi(std::string_view import_file, int16_t name_length, int16_t layout,
            std::string_view identification, std::string_view output_file, int16_t output_length,
            std::vector<FiledPrices>& filed);

}  // namespace pricing
