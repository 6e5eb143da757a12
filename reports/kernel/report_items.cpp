#include "reports/kernel/report_items.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace reports {

Items& Items::Text(std::string_view text, std::size_t width, std::size_t count) {
    const std::size_t size = width * count;
    char* const room = Room(size);
    const std::size_t kept = std::min(text.size(), size);
    if (kept > 0) std::memcpy(room, text.data(), kept);
    std::memset(room + kept, ' ', size - kept);
    for (std::size_t i = 0; i < count; ++i) Add(std::string_view(room + i * width, width));
    return *this;
}

Items& Items::Int(long long value) {
    Add(value);
    return *this;
}

Items& Items::Number(double value) {
    Add(value);
    return *this;
}

Items::operator records::OutItems() const {
    if (!more_items_.empty()) return records::OutItems(more_items_);
    return records::OutItems(std::span<const records::OutItem>(inline_items_.data(), count_));
}

Items& Items::operator=(const Items& other) {
    if (this == &other) return *this;
    count_ = 0;
    more_items_.clear();
    text_used_ = 0;
    more_text_.clear();
    Append(other);
    return *this;
}

void Items::Append(const Items& other) {
    const records::OutItems items = other;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (const auto* text = std::get_if<std::string_view>(&items[i])) {
            char* const room = Room(text->size());
            if (!text->empty()) std::memcpy(room, text->data(), text->size());
            Add(std::string_view(room, text->size()));
        } else {
            Add(items[i]);
        }
    }
}

void Items::AddMore(const records::OutItem& item) {
    if (more_items_.empty()) more_items_.assign(inline_items_.begin(), inline_items_.end());
    more_items_.push_back(item);
}

char* Items::Room(std::size_t size) {
    if (size <= kInlineText - text_used_) {
        char* const room = inline_text_.data() + text_used_;
        text_used_ += size;
        return room;
    }
    return more_text_.emplace_back(std::make_unique<char[]>(size == 0 ? 1 : size)).get();
}

}  // namespace reports
