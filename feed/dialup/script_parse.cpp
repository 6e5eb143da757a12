// Reading one line of a dialogue script: its labels, its guards over the
// received text, an IF condition, and the keyword that names its command.

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "feed/dialup/messages.h"
#include "feed/dialup/script.h"
#include "feed/dialup/variables.h"

namespace feed {
namespace {

// The keywords in ASCII order, so that a binary search finds them.
constexpr std::array<const char*, kKeywordRows> kKeywords = {
    "#",      "BREAK", "CLRBUF", "DELAY", "DISPLAY", "ENDLOOP", "EXIT",  "GOSUB",  "GOTO",
    "HANGUP", "IF",    "LOOP",   "PORT",  "PRINT",   "PROMPT",  "READ",  "REPEAT", "RESET",
    "RETURN", "SET",   "SHIFT",  "TRACE", "UNSHIFT", "UNTIL",   "WRITE", "XMIT",
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void SkipBlanks(std::string_view line, std::size_t& cursor) {
    while (cursor < line.size() && IsBlank(line[cursor])) ++cursor;
}

std::string_view NextWord(std::string_view line, std::size_t cursor) {
    std::size_t end = cursor;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    return line.substr(cursor, end - cursor);
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

// <0, 0, >0 as a sorts before, with or after b, case ignored.
int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(Upper(a[i]));
        const unsigned char y = static_cast<unsigned char>(Upper(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int FindKeyword(std::string_view word) {
    int low = 0;
    int high = kKeywordRows - 1;
    while (low <= high) {
        const int mid = (low + high) / 2;
        const int order = CompareNoCase(word, kKeywords[mid]);
        if (order == 0) return mid;
        if (order < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return -1;
}

bool ValidLabel(std::string_view name) {
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

// One element of a guard pattern.
struct PatternItem {
    enum Kind { kAny, kRest, kSkipTo, kChar } kind;
    char c = 0;
};

std::vector<PatternItem> CompilePattern(std::string_view pattern) {
    std::vector<PatternItem> items;
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const char c = pattern[pos];
        if (c == '?') {
            items.push_back({PatternItem::kAny});
            ++pos;
        } else if (c == '*') {
            ++pos;
            if (pos >= pattern.size()) {
                items.push_back({PatternItem::kRest});
                break;
            }
            items.push_back({PatternItem::kSkipTo, md_read_char(pattern, pos)});
        } else {
            const std::size_t before = pos;
            const char ch = md_read_char(pattern, pos);
            if (pos == before) break;
            items.push_back({PatternItem::kChar, ch});
        }
    }
    return items;
}

// Matches the items from `start`; on success `end` is one past the last
// character matched.
bool MatchAt(const std::deque<char>& text, std::size_t start, const std::vector<PatternItem>& items,
             std::size_t& end) {
    std::size_t i = start;
    for (const PatternItem& item : items) {
        switch (item.kind) {
            case PatternItem::kRest:
                end = i;
                return true;
            case PatternItem::kAny:
                if (i >= text.size()) return false;
                ++i;
                break;
            case PatternItem::kSkipTo:
                while (i < text.size() && Upper(text[i]) != Upper(item.c)) ++i;
                if (i >= text.size()) return false;
                ++i;
                break;
            case PatternItem::kChar:
                if (i >= text.size() || Upper(text[i]) != Upper(item.c)) return false;
                ++i;
                break;
        }
    }
    end = i;
    return true;
}

// The guard at the cursor ("/" pattern "/"), the cursor moving past it;
// nothing when its closing "/" is missing.
std::optional<std::string_view> TakeGuard(std::string_view line, std::size_t& cursor) {
    std::size_t pos = cursor + 1;
    while (pos < line.size() && line[pos] != '/') pos += line[pos] == '\\' ? 2 : 1;
    if (pos >= line.size()) return std::nullopt;
    const std::string_view pattern = line.substr(cursor + 1, pos - cursor - 1);
    cursor = pos + 1;
    return pattern;
}

}  // namespace

int md_find_label(std::string_view name, long position) {
    if (!ValidLabel(name)) return -1;
    std::vector<ScriptLabel>& labels = Script().labels;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!EqualNoCase(labels[i].name, name)) continue;
        if (position >= 0 && labels[i].position < 0) labels[i].position = position;
        return static_cast<int>(i);
    }
    labels.push_back({std::string(name), position});
    return static_cast<int>(labels.size() - 1);
}

int md_set_jump(int entry) {
    if (entry < 0) return md_script_error(kErrLabel);
    Script().jump = {true, entry, -1};
    return 0;
}

int md_match_pattern(std::string_view pattern) {
    std::deque<char>& received = Script().received;
    const std::vector<PatternItem> items = CompilePattern(pattern);
    for (std::size_t start = 0; start <= received.size(); ++start) {
        std::size_t end = 0;
        if (!MatchAt(received, start, items, end)) continue;
        received.erase(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(end));
        return 1;
    }
    return 0;
}

int md_eval_if(std::string_view line, std::size_t& cursor) {
    auto fail = [&] {
        cursor = line.size();
        md_script_error(kErrIfSyntax);
        return -1;
    };
    SkipBlanks(line, cursor);
    std::size_t end = cursor;
    while (end < line.size() && !IsBlank(line[end]) && line[end] != '!' && line[end] != '=') ++end;
    const std::string name(line.substr(cursor, end - cursor));
    cursor = end;
    SkipBlanks(line, cursor);
    bool negate = false;
    if (cursor < line.size() && line[cursor] == '!') {
        negate = true;
        ++cursor;
    }
    if (cursor >= line.size() || line[cursor] != '=') return fail();
    ++cursor;
    SkipBlanks(line, cursor);
    if (cursor >= line.size() || line[cursor] != '"') return fail();
    ++cursor;
    std::string text;
    bool closed = false;
    while (cursor < line.size()) {
        if (line[cursor] == '"') {
            closed = true;
            ++cursor;
            break;
        }
        const std::size_t before = cursor;
        const char c = md_read_char(line, cursor);
        if (cursor == before) break;
        text += c;
    }
    if (!closed) return fail();
    SkipBlanks(line, cursor);
    const bool equal = EqualNoCase(md_get_var(name), text);
    return negate ? !equal : equal;
}

int md_parse_line(std::string_view line, std::size_t& cursor, long position, bool evaluate) {
    cursor = 0;
    SkipBlanks(line, cursor);
    if (cursor >= line.size() || line[cursor] == '#') return kRowComment;
    // Labels: leading words ending with ":".
    for (;;) {
        const std::string_view word = NextWord(line, cursor);
        if (word.size() < 2 || word.back() != ':') break;
        if (md_find_label(word.substr(0, word.size() - 1), position) < 0) break;
        cursor += word.size();
        SkipBlanks(line, cursor);
    }
    // Guards: the line runs when one of them matches. Once one matched, the
    // others are not tried, so they consume nothing.
    bool guarded = false;
    bool matched = false;
    while (cursor < line.size() && line[cursor] == '/') {
        const std::optional<std::string_view> pattern = TakeGuard(line, cursor);
        if (!pattern) {
            md_script_error(kErrGuard);
            return -1;
        }
        guarded = true;
        if (evaluate && !matched) matched = md_match_pattern(*pattern) != 0;
        SkipBlanks(line, cursor);
    }
    if (guarded && evaluate && !matched) return kRowComment;
    for (;;) {
        const std::string_view word = NextWord(line, cursor);
        if (word.empty() || word[0] == '#') return kRowComment;
        const int row = FindKeyword(word);
        if (row < 0) {
            md_set_error_detail(word);
            md_script_error(kErrKeyword);
            return -1;
        }
        cursor += word.size();
        SkipBlanks(line, cursor);
        if (row != kRowIf) return row;
        const int truth = md_eval_if(line, cursor);
        if (truth < 0) return -1;
        if (evaluate && !truth) return kRowComment;
    }
}

}  // namespace feed
