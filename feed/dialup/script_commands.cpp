// The commands of the dialogue-script language: what each keyword does with
// the rest of its line. Every failure ends through md_script_error, which
// reports the code, closes the port and stops the script.

#include <cctype>
#include <string>
#include <vector>

#include "feed/dialup/messages.h"
#include "feed/dialup/script.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/variables.h"

namespace feed {
namespace {

constexpr std::size_t kReadCount = 9;
constexpr long long kDelayUnitUs = 100000;  // a tenth of a second
constexpr int kPromptAnswerLength = 75;
// CLRBUF reads what the line still holds, but no more than an input queue's
// worth, so that a line that never falls silent cannot hold the script.
constexpr std::size_t kClearLimit = 2048;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        std::size_t end = pos;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        if (end > pos) words.emplace_back(text.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Appends received characters to the receive buffer, dropping the oldest
// when it is full.
void Collect(std::string_view text) {
    std::deque<char>& received = Script().received;
    for (const char c : text) {
        if (received.size() >= kReceiveBufferSize) received.pop_front();
        received.push_back(c);
    }
}

// Reads once from the port into the receive buffer. The number of
// characters read, or -1 on a read error (left in the error cell).
int ReadOnce() {
    char buffer[kReadCount];
    std::size_t count = kReadCount;
    if (md_port_read(buffer, count) != 0) return -1;
    if (count == 0) return 0;
    const std::string_view text(buffer, count);
    md_send_message(kChannelReceiveTrace, text);
    Collect(text);
    return static_cast<int>(count);
}

void ClearBuffer() {
    const int saved = ErrorCell();
    std::size_t read = 0;
    while (read < kClearLimit) {
        const int n = ReadOnce();
        if (n <= 0) break;
        read += static_cast<std::size_t>(n);
    }
    ErrorCell() = saved;
    Script().received.clear();
}

void Break(std::string_view args) {
    if (const int failed = md_send_line_break(); failed != 0) {
        md_script_error(failed);
        return;
    }
    if (!args.empty() && (args[0] == 'C' || args[0] == 'c')) ClearBuffer();
}

void Delay(std::string_view args) {
    const int tenths = md_eval_number(args);
    if (ErrorCell() != 0) return;
    CharacterDelay() = tenths > 0 ? tenths * kDelayUnitUs : 0;
}

void Display(std::string_view args) {
    bool newline = true;
    if (args.size() >= 2 && args[0] == '-' && (args[1] == 'n' || args[1] == 'N') &&
        (args.size() == 2 || IsBlank(args[2]))) {
        newline = false;
        args.remove_prefix(2);
    }
    std::string text = md_expand_text(args, TextUse::kShown);
    if (newline) text += '\n';
    md_send_message(kChannelStatus, text);
}

void Exit(std::string_view args) {
    const std::string text = md_expand_text(args, TextUse::kShown);
    if (!text.empty()) {
        md_set_error_detail(text);
        md_script_error(kErrScriptExit);
        return;
    }
    md_send_message(kChannelDialogueEnd, "");
}

void Jump(std::string_view args, int row) {
    const std::string text =
        !args.empty() && (args[0] == '%' || args[0] == '"') ? md_expand_text(args) : std::string(args);
    const std::vector<std::string> words = Words(text);
    if (words.empty()) {
        md_set_error_detail("Unknown DIALOG label ''");
        md_script_error(kErrLabel);
        return;
    }
    if (words.size() > 1 && words[1][0] != '#') {
        md_set_error_detail(text);
        md_script_error(kErrLabelExtra);
        return;
    }
    ScriptState& s = Script();
    if (row == kRowGosub) {
        if (s.return_stack.size() >= kReturnStackDepth) {
            md_script_error(kErrReturnStack);
            return;
        }
        s.return_stack.push_back(s.next_line);
    }
    const int entry = md_find_label(words[0], -1);
    if (entry < 0) md_set_error_detail("Unknown DIALOG label '" + words[0].substr(0, 19) + "'");
    md_set_jump(entry);
}

void Hangup() {
    md_drop_dtr();
    md_close_port();
    md_open_port();
    ErrorCell() = 0;
}

void Loop(std::string_view args) {
    const int count = md_eval_number(args);
    if (ErrorCell() != 0) return;
    Script().nested_result = md_exec_script(kBlockLoop, count);
}

void Port(std::string_view args) {
    const std::vector<std::string> words = Words(args);
    bool fatal = true;
    std::size_t i = 0;
    for (; i < words.size() && words[i][0] == '-'; ++i) {
        const std::string option = Upper(words[i]);
        if (option == "-FATAL") {
            fatal = true;
        } else if (option == "-NONFATAL") {
            fatal = false;
        } else if (option == "-SPEED" || option == "-LINE_SPEED") {
            if (++i < words.size()) SetVarElements("%LINE_SPEED", {words[i]});
        } else {
            break;
        }
    }
    if (i >= words.size() || words[i][0] == '#') {
        md_script_error(kErrPortOpen);
        return;
    }
    const std::string port = words[i][0] == '%' ? md_get_var(words[i]) : words[i];
    SetVarElements("%PORT", port.empty() ? std::vector<std::string>{} : std::vector<std::string>{port});
    const int opened = md_open_port();
    if (opened == 0) Script().received.clear();
    if (!fatal) {
        SavedNonFatalError() = opened;
        ErrorCell() = 0;
    } else if (opened != 0) {
        md_script_error(opened);
    }
}

void Prompt(std::string_view args) {
    std::size_t pos = 0;
    std::string variable;
    while (pos < args.size()) {
        while (pos < args.size() && IsBlank(args[pos])) ++pos;
        std::size_t end = pos;
        while (end < args.size() && !IsBlank(args[end])) ++end;
        const std::string_view word = args.substr(pos, end - pos);
        pos = end;
        if (!word.empty() && word[0] == '%') {
            variable = word;
            break;
        }
    }
    if (variable.empty()) {
        md_script_error(kErrValueSyntax);
        return;
    }
    if (pos < args.size()) ++pos;  // the blank that ends the name
    const std::string text(args.substr(pos, kScriptTextLimit));
    md_send_message(kChannelPrompt, text, kPromptAnswerLength);
    if (!md_set_var(variable, text)) md_script_error(kErrSetVariable);
}

void Read() {
    if (ReadOnce() < 0) md_script_error(ErrorCell());
}

void Shift(std::string_view args, int row) {
    for (const std::string& name : Words(args)) {
        if (name[0] == '#') break;
        if (md_shift_var(name, row == kRowUnshift) < 0) {
            md_set_error_detail(name);
            md_script_error(kErrValueSyntax);
            return;
        }
    }
}

void Return() {
    ScriptState& s = Script();
    if (s.return_stack.empty()) {
        md_script_error(kErrReturnStack);
        return;
    }
    s.jump = {true, -1, s.return_stack.back()};
    s.return_stack.pop_back();
}

void Set(std::string_view args) {
    const std::size_t equals = args.find('=');
    if (equals == std::string_view::npos) {
        md_script_error(kErrSetSyntax);
        return;
    }
    const std::vector<std::string> name = Words(args.substr(0, equals));
    if (!md_set_var(name.empty() ? std::string() : name[0], args.substr(equals + 1)))
        md_script_error(ErrorCell());
}

void Trace(std::string_view args) {
    if (!args.empty() && args[0] == '%') {
        const std::vector<std::string> words = Words(args);
        SetVarElements("%trace_control", {md_get_var(words[0])});
    } else if (!md_set_var("%trace_control", args)) {
        md_script_error(kErrSetVariable);
        return;
    }
    md_send_message(kChannelTraceControl, md_get_var("%trace_control"));
}

void Write(std::string_view args) {
    const std::string text = md_expand_text(args);
    md_send_message(kChannelSendTrace, md_expand_text(args, TextUse::kShown));
    int failed = 0;
    if (CharacterDelay() == 0) {
        failed = md_port_write(text);
    } else {
        for (const char c : text) {
            failed = md_port_write(std::string_view(&c, 1));
            if (failed != 0) break;
            md_sleep_us(CharacterDelay());
        }
    }
    if (failed != 0) md_script_error(failed);
}

}  // namespace

long long& CharacterDelay() {
    static long long delay_us = 0;
    return delay_us;
}

void RunCommand(int row, std::string_view args) {
    switch (row) {
        case kRowBreak:
            return Break(args);
        case kRowClrbuf:
            return ClearBuffer();
        case kRowDelay:
            return Delay(args);
        case kRowDisplay:
        case kRowPrint:
            return Display(args);
        case kRowExit:
            return Exit(args);
        case kRowGosub:
        case kRowGoto:
            return Jump(args, row);
        case kRowHangup:
            return Hangup();
        case kRowLoop:
            return Loop(args);
        case kRowPort:
            return Port(args);
        case kRowPrompt:
            return Prompt(args);
        case kRowRead:
            return Read();
        case kRowRepeat:
            Script().nested_result = md_exec_script(kBlockRepeat, 0);
            return;
        case kRowReset:
        case kRowShift:
        case kRowUnshift:
            return Shift(args, row);
        case kRowReturn:
            return Return();
        case kRowSet:
            return Set(args);
        case kRowTrace:
            return Trace(args);
        case kRowWrite:
        case kRowXmit:
            return Write(args);
        default:
            return;  // "#", and the closers handled by the executor
    }
}

}  // namespace feed
