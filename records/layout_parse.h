#pragma once

// The parsed form of a layout string and the per-thread cache that keeps
// each layout's parse. Private to the layout engine.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/small_copy.h"

namespace records::layout_detail {

enum class Kind : uint8_t {
    Skip,        // nX: width blanks out, width positions skipped in
    Integer,     // Iw
    Fixed,       // Fw.d
    Text,        // Aw, or A (width < 0)
    Literal,     // quoted text, in ParsedLayout::literals
    NewRecord,   // "/", repeat times
    GroupOpen,   // "r(": link is the matching GroupClose
    GroupClose,  // ")": link is the matching GroupOpen
    KeepRecord,  // "\": no effect on the text
};

struct Node {
    Kind kind = Kind::Skip;
    int32_t repeat = 1;
    int32_t width = 0;
    int32_t decimals = 0;
    int32_t link = 0;      // groups: index of the matching bracket
    uint32_t literal = 0;  // literals: offset into ParsedLayout::literals
    uint32_t literalSize = 0;

    bool IsData() const { return kind == Kind::Integer || kind == Kind::Fixed || kind == Kind::Text; }
};

// Limits that keep a mistyped or hostile layout from exhausting memory:
// widths, repeat counts, nesting and the positions one pass through the
// layout can produce are bounded.
inline constexpr int32_t kMaxWidth = 4096;
inline constexpr int32_t kMaxNumberWidth = 255;
inline constexpr int32_t kMaxRepeat = 32767;
inline constexpr int kMaxDepth = 32;
inline constexpr int64_t kMaxPassPositions = 1'000'000;

// One step of a layout's flat pass (ParsedLayout::steps): the literals and
// blanks that come before a data descriptor, joined into one text, then the
// descriptor itself.
struct Step {
    uint32_t text = 0;  // offset into ParsedLayout::stepTexts
    uint32_t textSize = 0;
    Kind kind = Kind::Skip;  // Integer, Fixed or Text; Skip in the last step: text only
    int32_t width = 0;
    int32_t decimals = 0;
};

// The most data descriptors a flat pass unrolls.
inline constexpr std::size_t kMaxFlatData = 512;

struct ParsedLayout {
    bool valid = false;
    std::vector<Node> nodes;     // the items inside the outermost brackets
    std::string literals;        // literal texts, quotes already undoubled
    int32_t revertTo = 0;        // where the layout restarts when items remain
    bool revertHasData = false;  // an I, F or A lies from revertTo on

    // The layout's first pass unrolled (repeat counts and groups written
    // out), for the writes whose items it takes without reverting: as many
    // items as data descriptors or fewer. The last step holds the text after
    // the last descriptor. Empty for a layout that holds "/" or more than
    // kMaxFlatData data descriptors in a pass: those take the walk.
    std::vector<Step> steps;
    std::string stepTexts;
    std::size_t flatData = 0;  // data descriptors in the flat pass
    bool Flat() const { return !steps.empty(); }
    // A layout of one F descriptor between texts, as every number column
    // is: its whole pass is steps[0] and steps[1].
    bool OneFixed() const { return steps.size() == 2 && steps[0].kind == Kind::Fixed; }

    std::string_view LiteralText(const Node& node) const {
        return std::string_view(literals).substr(node.literal, node.literalSize);
    }
};

// Parses a layout text; the result's valid flag tells whether it parsed.
ParsedLayout ParseLayout(std::string_view layout);

// In front of the cache, a small table keyed by where the text lives and
// its length: nearly every layout is a literal of the program, passed
// again and again from the same address, so a hit costs a comparison of
// the text with the cached one instead of hashing it. The comparison keeps
// a text rebuilt in a reused buffer from finding another's parse.
struct RecentLayout {
    const char* data = nullptr;
    std::size_t size = 0;
    const std::string* text = nullptr;  // the cache's copy of the text
    const ParsedLayout* parsed = nullptr;
};
inline constexpr std::size_t kRecentLayouts = 256;
inline thread_local RecentLayout recentLayouts[kRecentLayouts];

// CachedLayout past the table: finds or parses the layout in the cache and
// puts it in the slot.
const ParsedLayout& CachedLayoutSlow(std::string_view layout, RecentLayout& slot);

// The cached parse of a layout text (parsed on first use). The reference
// stays valid until the next call of CachedLayout on the same thread.
inline const ParsedLayout& CachedLayout(std::string_view layout) {
    const auto address = reinterpret_cast<std::uintptr_t>(layout.data());
    RecentLayout& slot = recentLayouts[((address >> 3) ^ (address >> 11) ^ layout.size()) % kRecentLayouts];
    if (slot.parsed != nullptr && slot.data == layout.data() && slot.size == layout.size() &&
        EqualShort(slot.text->data(), layout.data(), layout.size()))
        return *slot.parsed;
    return CachedLayoutSlow(layout, slot);
}

}  // namespace records::layout_detail
