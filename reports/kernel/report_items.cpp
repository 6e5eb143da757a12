#include "reports/kernel/report_items.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "records/small_copy.h"

namespace reports {

Items& Items::Text(std::string_view text, std::size_t width, std::size_t count) {
    const std::size_t size = width * count;
    char* const room = Room(size);
    const std::size_t kept = std::min(text.size(), size);
    records::CopyShort(room, text.data(), kept);
    records::FillShort(room + kept, ' ', size - kept);
    if (count_ + count <= kInlineItems) {
        records::OutItem* const items = InlineItems() + count_;
        for (std::size_t i = 0; i < count; ++i)
            std::construct_at(items + i, std::string_view(room + i * width, width));
        count_ += count;
        return *this;
    }
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
    return records::OutItems(std::span<const records::OutItem>(InlineItems(), count_));
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
    if (more_items_.empty()) more_items_.assign(InlineItems(), InlineItems() + kInlineItems);
    more_items_.push_back(item);
}

char* Items::MoreRoom(std::size_t size) {
    return more_text_.emplace_back(std::make_unique<char[]>(size == 0 ? 1 : size)).get();
}

}  // namespace reports
