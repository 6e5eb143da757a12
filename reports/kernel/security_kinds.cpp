#include "reports/kernel/security_kinds.h"

namespace reports {

int SecurityTypeNumber(char type) {
    constexpr std::string_view kTypes = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::size_t place = type == '\0' ? std::string_view::npos : kTypes.find(type);
    return place == std::string_view::npos ? 37 : static_cast<int>(place) + 1;
}

}  // namespace reports
