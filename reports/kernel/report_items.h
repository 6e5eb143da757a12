#pragma once

// Items for the report layouts. The layouts print texts in words ("8A4"
// for a 32-character name, "13A1" for a telephone), one item per word;
// Items cuts a text into those words and keeps them alive for the write:
//   frame.Write("(5X,A4,A2,12X,8A4,4X,13A1)",
//               Items().Text(id, 4, 1).Text(id.substr(4), 2, 1).Text(name, 4, 8).Text(phone, 1, 13));
//
// A report builds one of these for nearly every line it prints, so the
// items and their texts live in room of the object's own while they fit;
// only a longer line takes memory from the heap. The items refer to that
// room, so a copy copies the texts into room of its own.

#include <array>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <string_view>
#include <vector>

#include "records/layout.h"

namespace reports {

class Items {
public:
    // Provided, not defaulted: a temporary Items() would otherwise be
    // zero-filled whole (items and text room) before every line.
    Items() {}
    Items(const Items& other) { Append(other); }
    Items& operator=(const Items& other);

    // The text blank padded or cut to width x count, as count items of
    // width characters.
    Items& Text(std::string_view text, std::size_t width, std::size_t count);
    Items& Int(long long value);
    Items& Number(double value);

    operator records::OutItems() const;

private:
    static constexpr std::size_t kInlineItems = 40;
    static constexpr std::size_t kInlineText = 320;

    // Inline: a line adds its items one after another, most within the
    // inline room.
    void Add(const records::OutItem& item) {
        if (count_ < kInlineItems)
            std::construct_at(InlineItems() + count_++, item);
        else
            AddMore(item);
    }
    // The inline items, constructed one by one as they are added (an item
    // is trivially copied and destroyed, so nothing needs ending).
    records::OutItem* InlineItems() { return std::launder(reinterpret_cast<records::OutItem*>(inline_items_)); }
    const records::OutItem* InlineItems() const {
        return std::launder(reinterpret_cast<const records::OutItem*>(inline_items_));
    }
    void AddMore(const records::OutItem& item);
    void Append(const Items& other);
    // Room for size characters that stays where it is for the object's life.
    char* Room(std::size_t size) {
        if (size <= kInlineText - text_used_) {
            char* const room = inline_text_.data() + text_used_;
            text_used_ += size;
            return room;
        }
        return MoreRoom(size);
    }
    char* MoreRoom(std::size_t size);

    static_assert(std::is_trivially_copyable_v<records::OutItem> &&
                  std::is_trivially_destructible_v<records::OutItem>);
    alignas(records::OutItem) unsigned char inline_items_[kInlineItems * sizeof(records::OutItem)];
    std::size_t count_ = 0;
    std::vector<records::OutItem> more_items_;  // all the items, once past the inline room
    std::array<char, kInlineText> inline_text_;
    std::size_t text_used_ = 0;
    std::vector<std::unique_ptr<char[]>> more_text_;  // texts past the inline room, one block each
};

}  // namespace reports
