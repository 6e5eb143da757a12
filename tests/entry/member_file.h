#pragma once

// Member files of a credit union for the import tests: one 431-column line
// per member, built from the fields at their columns (counted from 1).

#include <array>
#include <string>
#include <vector>

namespace fixtures {

// One deposit group: YYMMDD date, nine-digit amount with three implied
// decimals, two seven-digit rates with two.
struct MemberDeposit {
    std::string date;    // 6
    std::string amount;  // 9
    std::string rate1;   // 7
    std::string rate2;   // 7
};

struct MemberFields {
    std::string type = "1";                   // column 1
    std::string number;                       // 6-22
    std::string suffix;                       // 23-25
    std::string tax_id;                       // 37-45
    std::array<MemberDeposit, 4> deposits{};  // 66, 96, 126, 156
    std::array<std::string, 5> lines{};       // 187, 217, 247, 277, 307 (30 each)
    std::string zip;                          // 427-431
};

// The line of a member, 431 columns.
std::string MemberLine(const MemberFields& member);
// Puts text at a column (from 1) of a line.
void PutColumns(std::string& line, std::size_t column, const std::string& text);
// Writes the lines as a text file (CR LF).
void WriteMemberFile(const std::string& name, const std::vector<std::string>& lines);

}  // namespace fixtures
