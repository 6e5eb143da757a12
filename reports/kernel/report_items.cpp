#include "reports/kernel/report_items.h"

#include "records/record.h"

namespace reports {

Items& Items::Text(std::string_view text, std::size_t width, std::size_t count) {
    const std::string& whole = texts_.emplace_back(records::Fixed(text, width * count));
    for (std::size_t i = 0; i < count; ++i)
        items_.emplace_back(std::string_view(whole).substr(i * width, width));
    return *this;
}

Items& Items::Int(long long value) {
    items_.emplace_back(value);
    return *this;
}

Items& Items::Number(double value) {
    items_.emplace_back(value);
    return *this;
}

}  // namespace reports
