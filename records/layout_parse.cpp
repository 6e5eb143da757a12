#include "records/layout_parse.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

namespace records::layout_detail {

namespace {

// Blanks outside literals carry no meaning and letters may be of either
// case; the parser sees the layout without those blanks and in upper case.
// Returns false for an unterminated literal.
bool Normalise(std::string_view layout, std::string& out) {
    out.clear();
    out.reserve(layout.size());
    bool inLiteral = false;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const char c = layout[i];
        if (inLiteral) {
            out += c;
            if (c == '\'') {
                if (i + 1 < layout.size() && layout[i + 1] == '\'') {
                    out += '\'';
                    ++i;
                } else {
                    inLiteral = false;
                }
            }
        } else if (c == '\'') {
            out += c;
            inLiteral = true;
        } else if (c != ' ' && c != '\t') {
            out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return !inLiteral;
}

class Parser {
public:
    Parser(std::string_view text, ParsedLayout& result) : text_(text), result_(result) {}

    bool Parse() {
        if (!Take('(')) return false;
        if (!ParseList(1)) return false;
        if (!Take(')')) return false;
        return pos_ == text_.size();
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char c) {
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }

    // An unsigned number of at most 9 digits; -1 when there is none.
    int32_t Number() {
        int32_t value = -1;
        int digits = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            if (++digits > 9) return -2;
            value = (value < 0 ? 0 : value * 10) + (text_[pos_] - '0');
            ++pos_;
        }
        return value;
    }

    // The items of one bracketed list, up to (not including) its ")".
    // Items are separated by commas, which may be left out next to "/".
    bool ParseList(int depth) {
        bool first = true;
        bool afterSlash = false;
        for (;;) {
            if (AtEnd()) return false;
            if (Peek() == ')') return true;
            if (!first) {
                const bool comma = Take(',');
                if (comma && Peek() == ')') return false;
                if (!comma && !afterSlash && Peek() != '/' && !IsSlashAhead()) return false;
            }
            first = false;
            if (!ParseItem(depth)) return false;
            afterSlash = result_.nodes.back().kind == Kind::NewRecord;
        }
    }

    // True when the next item is a repeated "/" ("2/").
    bool IsSlashAhead() const {
        std::size_t i = pos_;
        while (i < text_.size() && text_[i] >= '0' && text_[i] <= '9') ++i;
        return i > pos_ && i < text_.size() && text_[i] == '/';
    }

    bool ParseItem(int depth) {
        const int32_t count = Number();
        if (count == -2 || count == 0 || count > kMaxRepeat) return false;
        const bool counted = count > 0;
        const int32_t repeat = counted ? count : 1;
        Node node;
        node.repeat = repeat;
        const char c = Peek();
        if (c == '\0') return false;
        ++pos_;
        switch (c) {
            case '(': {
                if (depth >= kMaxDepth) return false;
                const auto open = static_cast<int32_t>(result_.nodes.size());
                node.kind = Kind::GroupOpen;
                result_.nodes.push_back(node);
                if (depth == 1) result_.revertTo = open;
                if (!ParseList(depth + 1) || !Take(')')) return false;
                Node close;
                close.kind = Kind::GroupClose;
                close.link = open;
                result_.nodes[static_cast<std::size_t>(open)].link =
                    static_cast<int32_t>(result_.nodes.size());
                result_.nodes.push_back(close);
                return true;
            }
            case 'I':
            case 'F': {
                node.kind = c == 'I' ? Kind::Integer : Kind::Fixed;
                node.width = Number();
                if (node.width < 1 || node.width > kMaxNumberWidth) return false;
                if (node.kind == Kind::Fixed) {
                    if (!Take('.')) return false;
                    node.decimals = Number();
                    if (node.decimals < 0 || node.decimals > kMaxNumberWidth) return false;
                } else if (Peek() == '.') {
                    return false;  // Iw.m is not part of the layouts
                }
                break;
            }
            case 'A': {
                node.kind = Kind::Text;
                node.width = Number();
                if (node.width == 0 || node.width == -2 || node.width > kMaxWidth) return false;
                break;
            }
            case 'X': {
                node.kind = Kind::Skip;
                node.width = repeat;
                node.repeat = 1;
                if (node.width > kMaxWidth) return false;
                break;
            }
            case '/':
                node.kind = Kind::NewRecord;
                break;
            case '\\':
                if (counted) return false;
                node.kind = Kind::KeepRecord;
                break;
            case '\'': {
                if (counted) return false;
                node.kind = Kind::Literal;
                node.literal = static_cast<uint32_t>(result_.literals.size());
                for (;;) {
                    if (AtEnd()) return false;
                    const char l = text_[pos_++];
                    if (l == '\'') {
                        if (Peek() != '\'') break;
                        ++pos_;
                    }
                    result_.literals += l;
                }
                node.literalSize = static_cast<uint32_t>(result_.literals.size()) - node.literal;
                break;
            }
            default:
                return false;
        }
        result_.nodes.push_back(node);
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    ParsedLayout& result_;
};

// The positions (and records) one pass through nodes [from, to) can make,
// saturated just above the limit.
int64_t PassPositions(const std::vector<Node>& nodes, std::size_t from, std::size_t to) {
    int64_t total = 0;
    for (std::size_t i = from; i < to && total <= kMaxPassPositions; ++i) {
        const Node& node = nodes[i];
        int64_t one = 0;
        switch (node.kind) {
            case Kind::GroupOpen: {
                const auto close = static_cast<std::size_t>(node.link);
                one = node.repeat * PassPositions(nodes, i + 1, close);
                i = close;
                break;
            }
            case Kind::Literal:
                one = node.literalSize;
                break;
            case Kind::Skip:
                one = node.width;
                break;
            case Kind::NewRecord:
                one = node.repeat;
                break;
            case Kind::Integer:
            case Kind::Fixed:
            case Kind::Text:
                one = static_cast<int64_t>(node.repeat) * std::max<int32_t>(node.width, 1);
                break;
            default:
                break;
        }
        total += std::min<int64_t>(one, kMaxPassPositions + 1);
    }
    return total;
}

// Unrolls nodes [from, to) into the flat pass: literal and blank texts
// gathered into the pending step, a data descriptor closes it. False when
// the pass holds "/" or grows past kMaxFlatData data descriptors.
bool Unroll(const ParsedLayout& layout, std::size_t from, std::size_t to, std::vector<Step>& steps,
            std::string& texts, Step& pending) {
    for (std::size_t i = from; i < to; ++i) {
        const Node& node = layout.nodes[i];
        switch (node.kind) {
            case Kind::GroupOpen: {
                const auto close = static_cast<std::size_t>(node.link);
                for (int32_t r = 0; r < node.repeat; ++r) {
                    if (!Unroll(layout, i + 1, close, steps, texts, pending)) return false;
                }
                i = close;
                break;
            }
            case Kind::GroupClose:
            case Kind::KeepRecord:
                break;
            case Kind::NewRecord:
                return false;
            case Kind::Literal:
                texts.append(layout.LiteralText(node));
                pending.textSize += node.literalSize;
                break;
            case Kind::Skip:
                texts.append(static_cast<std::size_t>(node.width), ' ');
                pending.textSize += static_cast<uint32_t>(node.width);
                break;
            case Kind::Integer:
            case Kind::Fixed:
            case Kind::Text:
                for (int32_t r = 0; r < node.repeat; ++r) {
                    if (steps.size() >= kMaxFlatData) return false;
                    pending.kind = node.kind;
                    pending.width = node.width;
                    pending.decimals = node.decimals;
                    steps.push_back(pending);
                    pending = Step{};
                    pending.text = static_cast<uint32_t>(texts.size());
                }
                break;
        }
    }
    return true;
}

// Builds the flat pass of a parsed layout, or leaves it empty.
void Flatten(ParsedLayout& layout) {
    std::vector<Step> steps;
    std::string texts;
    Step pending;
    if (!Unroll(layout, 0, layout.nodes.size(), steps, texts, pending)) return;
    pending.kind = Kind::Skip;
    steps.push_back(pending);
    layout.flatData = steps.size() - 1;
    layout.steps = std::move(steps);
    layout.stepTexts = std::move(texts);
}

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Bounds the cache so that a stream of distinct run-time layouts cannot
// grow it without end; the layouts in real use are a few hundred.
constexpr std::size_t kMaxCached = 4096;

}  // namespace

ParsedLayout ParseLayout(std::string_view layout) {
    ParsedLayout result;
    std::string text;
    if (!Normalise(layout, text)) return result;
    Parser parser(text, result);
    if (parser.Parse() && PassPositions(result.nodes, 0, result.nodes.size()) <= kMaxPassPositions) {
        result.valid = true;
        result.revertHasData = std::any_of(result.nodes.begin() + result.revertTo, result.nodes.end(),
                                           [](const Node& node) { return node.IsData(); });
        Flatten(result);
    } else {
        result = ParsedLayout();
    }
    return result;
}

const ParsedLayout& CachedLayoutSlow(std::string_view layout, RecentLayout& slot) {
    using Cache = std::unordered_map<std::string, ParsedLayout, TextHash, std::equal_to<>>;
    thread_local Cache cache;
    auto found = cache.find(layout);
    if (found == cache.end()) {
        if (cache.size() >= kMaxCached) {
            cache.clear();
            for (RecentLayout& r : recentLayouts) r = RecentLayout{};
        }
        found = cache.emplace(std::string(layout), ParseLayout(layout)).first;
    }
    // The map's entries stay where they are until it is cleared.
    slot = RecentLayout{layout.data(), layout.size(), &found->first, &found->second};
    return found->second;
}

}  // namespace records::layout_detail
