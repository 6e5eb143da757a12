#include "feed/dialup/variables.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

#include "feed/dialup/messages.h"

namespace feed {
namespace {

constexpr int kValueSyntaxError = -148;

struct Variable {
    std::string name;
    std::vector<std::string> elements;
    std::size_t index = 0;
};

std::vector<Variable>& Store() {
    static std::vector<Variable> store;
    return store;
}

bool g_escapes = true;
int g_saved_nonfatal = 0;

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view NameOf(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && !IsSeparator(text[end]) && text[end] != '\0') ++end;
    return text.substr(0, end);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

Variable* Find(std::string_view name) {
    for (Variable& v : Store())
        if (SameName(v.name, name)) return &v;
    return nullptr;
}

bool Persistent(std::string_view name) {
    return name.size() > 1 && name[1] == '!';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Collects element text up to the value text limit over all elements.
class ValueBuilder {
public:
    void Append(std::string& element, std::string_view text) {
        const std::size_t room = kValueTextLimit - std::min(used_, kValueTextLimit);
        const std::size_t n = std::min(room, text.size());
        element.append(text.substr(0, n));
        used_ += n;
    }

private:
    std::size_t used_ = 0;
};

// Parses a value text into its elements; nothing on a syntax error.
std::optional<std::vector<std::string>> ParseValue(std::string_view text) {
    std::vector<std::string> list;
    std::string joined;
    ValueBuilder builder;
    bool in_list = false;
    bool list_seen = false;
    bool collected = false;
    std::size_t pos = 0;
    while (true) {
        while (pos < text.size() && IsSeparator(text[pos])) ++pos;
        if (pos >= text.size() || text[pos] == '\0') break;
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            std::string piece;
            bool closed = false;
            while (pos < text.size()) {
                if (text[pos] == '"') {
                    closed = true;
                    ++pos;
                    break;
                }
                const std::size_t before = pos;
                const char ch = md_read_char(text, pos);
                if (pos == before) break;  // end of the text or a LF
                piece += ch;
            }
            if (!closed) return std::nullopt;
            if (in_list) {
                std::string element;
                builder.Append(element, piece);
                list.push_back(std::move(element));
            } else {
                builder.Append(joined, piece);
            }
            collected = true;
        } else if (c == '%') {
            const std::string_view name = NameOf(text.substr(pos));
            pos += name.size();
            const std::string value = md_get_var(name);
            if (in_list) {
                std::string element;
                builder.Append(element, value);
                list.push_back(std::move(element));
            } else {
                builder.Append(joined, value);
            }
            collected = true;
        } else if (c == '#') {
            break;
        } else if (c == '{') {
            if (collected || in_list || list_seen) return std::nullopt;
            in_list = true;
            list_seen = true;
            ++pos;
        } else if (c == '|' && in_list) {
            ++pos;
        } else if (c == '}') {
            if (!in_list) return std::nullopt;
            in_list = false;
            ++pos;
        } else {
            if (in_list) return std::nullopt;
            std::string word;
            while (pos < text.size()) {
                const std::size_t before = pos;
                const char ch = md_read_char(text, pos);
                if (pos == before) break;
                word += ch;
            }
            while (!word.empty() && IsSeparator(word.back())) word.pop_back();
            builder.Append(joined, word);
            collected = true;
            break;
        }
    }
    if (in_list) return std::nullopt;
    if (!joined.empty()) list.push_back(std::move(joined));
    // An empty element closes a value: elements after one are not reached.
    const auto empty = std::find_if(list.begin(), list.end(), [](const std::string& e) { return e.empty(); });
    list.erase(empty, list.end());
    return list;
}

}  // namespace

char md_read_char(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] == '\0' || text[pos] == '\n') return 0;
    const char c = text[pos++];
    if (c != '\\' || !g_escapes) return c;
    if (pos >= text.size() || text[pos] == '\0' || text[pos] == '\n') return c;
    const char e = text[pos++];
    switch (e) {
        case 'b':
            return '\b';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'x': {
            if (pos + 2 > text.size()) return e;
            const int hi = HexDigit(text[pos]);
            const int lo = HexDigit(text[pos + 1]);
            if (hi < 0 || lo < 0) return e;
            pos += 2;
            return static_cast<char>(hi * 16 + lo);
        }
        default:
            break;
    }
    if (e >= '0' && e <= '7') {
        int value = e - '0';
        for (int i = 0; i < 2 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7'; ++i)
            value = value * 8 + (text[pos++] - '0');
        return static_cast<char>(value);
    }
    return e;
}

std::string md_get_var(std::string_view name) {
    name = NameOf(name);
    if (name.empty()) return {};
    if (SameName(name, "%ERRNO")) return std::to_string(g_saved_nonfatal);
    if (SameName(name, "%VERSION")) return "1B";
    const Variable* v = Find(name);
    if (!v || v->index >= v->elements.size()) return {};
    return v->elements[v->index];
}

bool md_set_var(std::string_view name, std::string_view value_text) {
    name = NameOf(name);
    std::optional<std::vector<std::string>> value = ParseValue(value_text);
    if (!value) {
        ErrorCell() = kValueSyntaxError;
        return false;
    }
    if (SameName(name, "%ERRNO")) {
        int code = 0;
        const std::string first = value->empty() ? std::string() : value->front();
        std::from_chars(first.data(), first.data() + first.size(), code);
        ErrorCell() = code;
        return true;
    }
    SetVarElements(name, std::move(*value));
    return true;
}

void SetVarElements(std::string_view name, std::vector<std::string> elements) {
    name = NameOf(name);
    if (name.empty()) return;
    Variable* v = Find(name);
    if (!v) {
        Store().push_back({std::string(name), {}, 0});
        v = &Store().back();
    }
    v->elements = std::move(elements);
    v->index = 0;
}

std::optional<std::vector<std::string>> GetVarElements(std::string_view name) {
    const Variable* v = Find(NameOf(name));
    if (!v) return std::nullopt;
    return v->elements;
}

int md_shift_var(std::string_view name, bool backwards) {
    Variable* v = Find(NameOf(name));
    if (!v) return -1;
    const std::size_t end = v->elements.size();
    if (backwards)
        v->index = v->index > 0 ? v->index - 1 : end;
    else
        v->index = v->index < end ? v->index + 1 : 0;
    return 0;
}

void md_clear_vars(std::string_view name) {
    name = NameOf(name);
    std::erase_if(Store(), [&](const Variable& v) {
        if (Persistent(v.name)) return false;
        return name.empty() || SameName(v.name, name);
    });
}

bool EscapesOn() {
    return g_escapes;
}

bool SetEscapes(bool on) {
    return std::exchange(g_escapes, on);
}

int& SavedNonFatalError() {
    return g_saved_nonfatal;
}

}  // namespace feed
