#include "setup/security_text.h"

#include <algorithm>

namespace setup {

std::string ShownText(std::string_view field) {
    field = field.substr(0, field.find('\0'));
    const std::size_t last = field.find_last_not_of(' ');
    return std::string(last == std::string_view::npos ? std::string_view() : field.substr(0, last + 1));
}

std::string Blanked(std::string_view field) {
    std::string text(field);
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

}  // namespace setup
