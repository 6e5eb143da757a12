// The argument texts of script commands: output texts (quoted strings and
// variable words) and numbers.

#include <charconv>

#include "feed/dialup/messages.h"
#include "feed/dialup/script.h"
#include "feed/dialup/variables.h"

namespace feed {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool EndsText(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

std::string md_expand_text(std::string_view text, TextUse use) {
    // A copy of the password in another variable (SET %x = %remote_password)
    // is masked as well: the value, not the name, is what must not show.
    const std::string password = use == TextUse::kShown ? md_get_var("%remote_password") : std::string();
    std::string out;
    std::size_t pos = 0;
    while (out.size() < kScriptTextLimit) {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        if (pos >= text.size() || EndsText(text[pos]) || text[pos] == '#') break;
        if (text[pos] == '"') {
            ++pos;
            while (pos < text.size() && text[pos] != '"' && !EndsText(text[pos])) {
                const std::size_t before = pos;
                const char c = md_read_char(text, pos);
                if (pos == before) break;
                out += c;
            }
            if (pos < text.size() && text[pos] == '"') ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && !IsBlank(text[end]) && !EndsText(text[end])) ++end;
        const std::string_view word = text.substr(pos, end - pos);
        pos = end;
        const std::string value = md_get_var(word[0] == '%' ? std::string(word) : "%" + std::string(word));
        out += !password.empty() && value == password ? kPasswordMask : value;
    }
    if (out.size() > kScriptTextLimit) out.resize(kScriptTextLimit);
    return out;
}

int md_eval_number(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::size_t end = pos;
    while (end < text.size() && !IsBlank(text[end]) && !EndsText(text[end])) ++end;
    std::string word(text.substr(pos, end - pos));
    if (!word.empty() && word[0] == '%') word = md_get_var(word);
    const char* first = word.data();
    const char* last = word.data() + word.size();
    if (first != last && *first == '+') ++first;
    int value = 0;
    const auto [stop, ec] = std::from_chars(first, last, value);
    if (word.empty() || ec != std::errc() || stop != last) {
        md_set_error_detail(word);
        md_script_error(kErrNotNumber);
        return 0;
    }
    return value;
}

}  // namespace feed
