// The executor of dialogue scripts: runs lines of the file in order, the
// bodies of LOOP and REPEAT, and follows jumps. A jump from inside a body
// first skips to the body's closer; when its label lies inside the body the
// body goes on there, otherwise the body ends and the enclosing executor
// follows the jump. Labels further down are found by reading ahead.

#include <string>

#include "feed/dialup/messages.h"
#include "feed/dialup/script.h"
#include "platform/clock.h"

namespace feed {
namespace {

// Reads the next line of the script without its line end. 1 for a line, 0
// at the end of the file, -1 for a line over the limit (a script error: a
// cut line could run a command that was never written).
int ReadScriptLine(std::string& line) {
    ScriptState& s = Script();
    line.clear();
    int c = std::fgetc(s.file);
    if (c == EOF) return 0;
    while (c != EOF && c != '\n') {
        line += static_cast<char>(c);
        c = std::fgetc(s.file);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kScriptLineLimit) {
        md_set_error_detail(s.file_name);
        md_script_error(kErrScriptLine);
        return -1;
    }
    return 1;
}

int OpenerRole(int row) {
    if (row == kRowLoop) return kBlockLoop;
    if (row == kRowRepeat) return kBlockRepeat;
    return 0;
}

int CloserRole(int row) {
    if (row == kRowEndloop) return kBlockLoop;
    if (row == kRowUntil) return kBlockRepeat;
    return 0;
}

long JumpTarget() {
    const ScriptState& s = Script();
    if (!s.jump.set) return -1;
    if (s.jump.label < 0) return s.jump.position;
    return s.labels[static_cast<std::size_t>(s.jump.label)].position;
}

void Seek(long position) {
    std::fseek(Script().file, position, SEEK_SET);
}

long Tell() {
    return std::ftell(Script().file);
}

std::int64_t NowMs() {
    return platform::GetClock().MonotonicMs();
}

}  // namespace

long md_exec_script(int block_type, int count) {
    ScriptState& s = Script();
    // Each body runs in a call of its own: a script nested without end
    // (a damaged or hostile file) would exhaust the stack, so the depth is
    // bounded as the GOSUB stack is.
    struct DepthGuard {
        std::size_t& depth;
        bool counted;
        ~DepthGuard() {
            if (counted) --depth;
        }
    } guard{s.block_depth, block_type != kBlockTop};
    if (guard.counted && ++s.block_depth > kBlockNestingLimit) {
        md_script_error(kErrNesting);
        return kExecError;
    }
    const long start = Tell();
    const std::int64_t started_ms = NowMs();
    enum class Mode { kRun, kSkip, kSearch };
    Mode mode = block_type == kBlockLoop && count <= 0 ? Mode::kSkip : Mode::kRun;
    int depth = 0;  // blocks opened while skipping
    std::string line;
    for (;;) {
        const long position = Tell();
        const int got = ReadScriptLine(line);
        if (got < 0) return kExecError;
        if (got == 0) {
            if (!s.jump.set) return kExecEnd;
            const std::string name =
                s.jump.label >= 0 ? s.labels[static_cast<std::size_t>(s.jump.label)].name.substr(0, 19) : "";
            md_set_error_detail("Unknown DIALOG label '" + name + "'");
            md_script_error(kErrLabel);
            return kExecError;
        }
        s.next_line = Tell();
        std::size_t cursor = 0;
        // Lines passed over are only read for their labels and keywords:
        // their guards and conditions are not tried, so skipping consumes
        // nothing of the received text.
        const int row = md_parse_line(line, cursor, position, mode == Mode::kRun);
        if (row < 0) return kExecError;

        if (mode == Mode::kSearch) {
            const long target = JumpTarget();
            if (target >= 0) {
                Seek(target);
                s.jump = {};
                mode = Mode::kRun;
            }
            continue;
        }
        if (mode == Mode::kSkip) {
            if (OpenerRole(row) != 0) {
                ++depth;
            } else if (CloserRole(row) != 0) {
                if (depth > 0) {
                    --depth;
                    continue;
                }
                if (CloserRole(row) != block_type) {
                    md_script_error(kErrBlock);
                    return kExecError;
                }
                const long target = JumpTarget();
                if (target >= start && target < position) {
                    Seek(target);
                    s.jump = {};
                    mode = Mode::kRun;
                    continue;
                }
                return s.next_line;
            }
            continue;
        }

        if (row == kRowComment) continue;
        md_send_message(kChannelScriptEcho, line);
        s.jump = {};
        if (ErrorCell() != 0) return kExecError;
        const std::string_view args = std::string_view(line).substr(cursor);

        if (const int closes = CloserRole(row); closes != 0) {
            if (closes != block_type) {
                md_script_error(kErrBlock);
                return kExecError;
            }
            if (row == kRowEndloop) {
                if (--count > 0) {
                    Seek(start);
                    continue;
                }
                return s.next_line;
            }
            const int tenths = md_eval_number(args);
            if (ErrorCell() != 0) return kExecError;
            if (tenths > (NowMs() - started_ms) / 100) {
                Seek(start);
                continue;
            }
            return s.next_line;
        }

        RunCommand(row, args);
        if (ErrorCell() != 0) return kExecError;
        if (row == kRowExit) {
            if (block_type == kBlockTop) return kExecExit;
            // EXIT ends the body it stands in: the enclosing executor goes
            // on after the body's closer.
            mode = Mode::kSkip;
            depth = 0;
            continue;
        }
        if (row == kRowLoop || row == kRowRepeat) {
            if (s.nested_result == kExecError || s.nested_result == kExecEnd) return s.nested_result;
            Seek(s.nested_result);
        }
        if (!s.jump.set) continue;
        if (block_type != kBlockTop) {
            mode = Mode::kSkip;
            depth = 0;
            continue;
        }
        const long target = JumpTarget();
        if (target >= 0) {
            Seek(target);
            s.jump = {};
        } else {
            mode = Mode::kSearch;
        }
    }
}

}  // namespace feed
