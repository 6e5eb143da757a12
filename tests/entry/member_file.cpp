#include "member_file.h"

#include <fstream>

namespace fixtures {

void PutColumns(std::string& line, std::size_t column, const std::string& text) {
    line.replace(column - 1, text.size(), text);
}

std::string MemberLine(const MemberFields& m) {
    std::string line(431, ' ');
    PutColumns(line, 1, m.type);
    PutColumns(line, 6, m.number);
    PutColumns(line, 23, m.suffix);
    PutColumns(line, 37, m.tax_id);
    for (std::size_t g = 0; g < 4; ++g) {
        const MemberDeposit& d = m.deposits[g];
        const std::size_t at = 66 + 30 * g;
        PutColumns(line, at, d.date);
        PutColumns(line, at + 6, d.amount);
        PutColumns(line, at + 15, d.rate1);
        PutColumns(line, at + 22, d.rate2);
    }
    for (std::size_t i = 0; i < 5; ++i) PutColumns(line, 187 + 30 * i, m.lines[i]);
    PutColumns(line, 427, m.zip);
    return line.substr(0, 431);
}

void WriteMemberFile(const std::string& name, const std::vector<std::string>& lines) {
    std::ofstream out(name, std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
}

}  // namespace fixtures
