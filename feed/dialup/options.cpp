#include "feed/dialup/options.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/state.h"

namespace feed {
namespace {

constexpr int kParseFailed = 99;

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool TakesValue(std::string_view word) {
    return word == "TIMEOUT" || word == "OUTPUT" || word == "INPUT" || word == "LOG";
}

// Reads option words one at a time: a word runs to the next "," or "=", a
// value from after "=" to the next ",".
class OptionReader {
public:
    explicit OptionReader(std::string_view text) : text_(text) {}

    std::string_view NextWord() {
        const std::size_t end = std::min(text_.find_first_of(",=", pos_), text_.size());
        const std::string_view word = text_.substr(pos_, end - pos_);
        pos_ = end;
        return word;
    }
    bool AtEquals() const { return pos_ < text_.size() && text_[pos_] == '='; }
    std::string_view Value() {
        ++pos_;  // the "="
        const std::size_t end = std::min(text_.find(',', pos_), text_.size());
        const std::string_view value = text_.substr(pos_, end - pos_);
        pos_ = end;
        return value;
    }
    // Steps over the delimiter after a word or value; false at the end.
    bool StepOver() {
        if (pos_ >= text_.size()) return false;
        ++pos_;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The leading digits of a value as a number (none: 0).
int LeadingNumber(std::string_view value) {
    long long n = 0;
    for (char c : value) {
        if (c < '0' || c > '9') break;
        n = std::min<long long>(n * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(n);
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::vector<OptionWord> ScanOptionWords(std::string_view text) {
    std::vector<OptionWord> words;
    OptionReader reader(text);
    do {
        OptionWord w;
        w.word = Upper(reader.NextWord());
        if (TakesValue(w.word) && reader.AtEquals()) {
            w.has_value = true;
            w.value = reader.Value();
        }
        words.push_back(std::move(w));
    } while (reader.StepOver());
    return words;
}

bool HasOptionWord(std::string_view text, std::string_view word) {
    for (const OptionWord& w : ScanOptionWords(text))
        if (TrimBlanks(w.word) == word) return true;
    return false;
}

int md_parse_options(std::string_view text) {
    OptionState& options = State().options;
    OptionReader reader(text);
    do {
        const std::string word = Upper(reader.NextWord());
        if (word == "RESET") {
            options.line = options.block = options.status = options.debug = false;
            options.idle_check = 1;
            options.idle_minutes = 5;
            options.packet_counter = 0;
            options.input.name.clear();
            options.output.name.clear();
            options.log.name.clear();
        } else if (word == "DEBUG") {
            options.debug = true;
        } else if (word == "STATUS") {
            options.status = true;
        } else if (word == "BLOCK") {
            options.block = true;
        } else if (word == "LINE") {
            options.line = true;
        } else if (word == "NOICON") {
            options.icons = false;
        } else if (word == "CONNECT") {
            State().request.connect_requested = true;
        } else if (word == "TIMEOUT") {
            if (!reader.AtEquals()) {
                md_report_error(kErrTimeoutValue, " ");
                return kParseFailed;
            }
            const int minutes = LeadingNumber(reader.Value());
            options.idle_minutes = minutes;
            options.idle_check = minutes;
            md_send_message(kChannelStatus, minutes == 0
                                                ? std::string("No timeout")
                                                : "Timeout set to " + std::to_string(minutes) + " minutes");
        } else if (word == "OUTPUT" || word == "INPUT" || word == "LOG") {
            FileSlot& slot = word == "OUTPUT"  ? options.output
                             : word == "INPUT" ? options.input
                                               : options.log;
            slot.name.clear();
            if (!reader.AtEquals()) {
                md_report_error(kErrFileOption, " ");
                return kParseFailed;
            }
            slot.name = reader.Value();
            if (slot.name.empty()) {
                md_report_error(kErrFileOption, slot.name);
                return kParseFailed;
            }
        } else {
            md_report_error(kErrOptionWord, word);
            return kParseFailed;
        }
    } while (reader.StepOver());
    return 0;
}

}  // namespace feed
