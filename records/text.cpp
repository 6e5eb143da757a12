#include "records/record.h"

namespace records {

std::string Fixed(std::string_view s, std::size_t n) {
    std::string out(s.substr(0, n < s.size() ? n : s.size()));
    out.resize(n, ' ');
    return out;
}

std::string TrimRight(std::string_view s) {
    std::size_t end = s.size();
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\0')) --end;
    return std::string(s.substr(0, end));
}

std::string Trim(std::string_view s) {
    std::size_t begin = 0;
    while (begin < s.size() && s[begin] == ' ') ++begin;
    return TrimRight(s.substr(begin));
}

bool IsBlank(std::string_view s) {
    for (char c : s)
        if (c != ' ') return false;
    return true;
}

}  // namespace records
