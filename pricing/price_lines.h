#pragma once

// The lines of price import files. A price file from a custodian, a broker
// or a pricing service holds one security's price a line in one of seven
// layouts; ParsePriceLine takes one line's bytes and the layout code and
// gives the line's identifiers, pricing date and price, or says that the
// line does not convert. It opens no file and keeps no state between lines,
// so the import, its tests and the fuzz target call the same code.
//
// Columns below are 1-based positions of the line. Numeric fields are read
// under Fw.d edit descriptors: an explicit point is used as written,
// otherwise the last d digits are decimals, and blanks are ignored.

#include <cstdint>
#include <string>
#include <string_view>

namespace pricing {

// Layout codes, the positions of the layouts in the import dialog's list.
enum PriceLayout : int16_t {
    kLayoutGeneric1 = 1,  // "TREL Generic 1": symbol, MM/DD/YY, F12.4
    kLayoutSchwab = 2,    // "Schwab / Smith Barney": fixed columns, program date
    kLayoutGeneric3 = 3,  // "Generic 3": comma separated, program date
    kLayoutGeneric4 = 4,  // "Generic 4": the same format as layout 2
    kLayoutGeneric5 = 5,  // "Generic 5": fixed columns, YYMMDD
    kLayoutFidelity = 6,  // "Fidelity": fixed columns, program date
    kLayoutDst = 7,       // "DST": fixed columns, YYMMDD, price digits without a point
};
inline constexpr int16_t kLayoutCount = 7;

// The longest line the import looks at.
inline constexpr std::size_t kWorkingLineWidth = 384;

// How many characters of a line a layout reads; the rest is ignored.
std::size_t ReadWidth(int16_t layout);

// The working line of layouts 1 to 4 and 6: the first `width` bytes of the
// line, blank padded to 384; a tab in columns 1-8 becomes blanks up to
// column 9, a tab further on is dropped, and any other byte below 32 or
// above 126 becomes a blank. The result is always 384 characters.
std::string CleanLine(std::string_view line, std::size_t width);

// One line's fields.
struct PriceLine {
    std::string identifier = std::string(12, ' ');  // matched against symbols or CUSIPs
    std::string second = std::string(12, ' ');      // layouts 1, 5 and 6: the line's other identifier
    std::string date = std::string(8, ' ');         // MM/DD/YY as the line gives it; blank: the program date
    double price = 0;                               // not for layout 7
    std::string dst_digits;                         // layout 7: the nine price digits, see DstPrice
    bool failed = false;                            // a field that does not convert
};

// Parses one line (without its line end) of the layout; a layout outside
// 1 to 7 fails every line. Layouts 2, 3, 4 and 6 carry no date: the date
// stays blank and the import uses the program date. A price field that is
// blank, or lies beyond the end of the line, fails the line: it has no
// price to file.
PriceLine ParsePriceLine(std::string_view line, int16_t layout);

// The layout-3 fields of a cleaned line: the identifier is the nine
// characters two places after the line's second comma (the place after the
// comma holding an opening quote), then three blanks; the price is the
// field after the ninth comma that follows a blank or a double quote, up to
// the next comma and at most nine characters, with a point put after its
// last non-blank character when it has none, read from its first seven
// characters under F7.4. The failure flag is set to 1 when the ninth such
// comma is missing, the price field is blank or does not convert, and left
// alone otherwise; the identifier is left alone when the line has fewer
// than two commas.
void Tfcsv(std::string_view line, std::string& identifier, double& price, int16_t& failed);

// The price of layout 7's nine digits: for a security of type "J" read as
// ddd.dddddd, for any other type as ddddd.dddd. False when the digits do
// not convert.
bool DstPrice(std::string_view digits, bool type_j, double& price);

}  // namespace pricing
