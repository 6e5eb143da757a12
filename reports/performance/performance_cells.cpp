#include "reports/performance/performance_cells.h"

#include <algorithm>

#include "records/layout.h"
#include "reports/kernel/amount_texts.h"

namespace reports {

namespace {

constexpr std::size_t kWorkWidth = 32;

std::string WorkText() {
    return std::string(kWorkWidth, ' ');
}

}  // namespace

void Mprftxt(std::string& text, int n) {
    if (n <= 0) return;
    const std::size_t count = std::min<std::size_t>({static_cast<std::size_t>(n), 12, text.size()});
    std::size_t first = 0;
    while (first < count && text[first] == ' ') ++first;
    if (first == count || first == 0) return;
    if (text[first] == '-' || text[first] == '0') return;
    text[first - 1] = '+';
}

std::string Mprfnum(double amount, int16_t sign) {
    std::string text = WorkText();
    if (amount == kNoAmount) {
        records::WriteInto(text, "('        N/A ')", {});
        return text;
    }
    text = NumberText(amount, "(F12.0)", 12, false);
    if (sign > 0) Mprftxt(text, 12);
    return text;
}

std::string Mprfpct(float percent) {
    std::string text = WorkText();
    if (percent == kNoReturn) {
        records::WriteInto(text, "('   N/A')", {});
        return text;
    }
    records::WriteInto(text, "(F6.1)", {static_cast<double>(percent)});
    Mprftxt(text, 6);
    return text;
}

std::string Mprfamt(float amount) {
    std::string text = WorkText();
    if (amount == kNoReturn) {
        records::WriteInto(text, "('    N/A ')", {});
        return text;
    }
    records::WriteInto(text, "(F8.2)", {static_cast<double>(amount)});
    return text;
}

std::vector<records::OutItem> Words(const std::string& text, std::size_t width) {
    std::vector<records::OutItem> items;
    for (std::size_t at = 0; at < text.size(); at += width)
        items.emplace_back(std::string_view(text).substr(at, width));
    return items;
}

}  // namespace reports
