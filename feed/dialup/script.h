#pragma once

// Dialogue scripts: text files of command lines that drive the modem, dial
// and log in (dialup.dlg by default) or end the call (the exit dialogue). A
// line is
//
//   [label: ...] [/guard/ ...] [IF %var [!]= "text"] KEYWORD arguments
//
// Labels end with ":" and a blank. Guards are patterns matched against what
// READ has collected ("?" any character, "*c" skips to the character c, "*"
// at the end matches at once, "\" escapes); a line with guards runs when one
// of them matches, consuming the received text up to the match. Blocks:
// LOOP n ... ENDLOOP runs its body n times; REPEAT ... UNTIL t runs it until
// t tenths of a second have passed since REPEAT. GOTO and GOSUB jump to a
// label (a jump out of a block leaves the block), RETURN back after the
// GOSUB. Every failing command reports its code, closes the port and stops
// the script. Bodies nest up to kBlockNestingLimit deep; a deeper one is an
// error of its own (-153), as a GOSUB beyond six is.
//
// Commands (script_commands.cpp): #, BREAK, CLRBUF, DELAY, DISPLAY, PRINT,
// EXIT, GOSUB, GOTO, HANGUP, IF, LOOP, ENDLOOP, PORT, PROMPT, READ, REPEAT,
// UNTIL, RESET, SHIFT, UNSHIFT, RETURN, SET, TRACE, WRITE, XMIT.

#include <cstdio>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace feed {

inline constexpr int kErrScriptOpen = -106;   // the script file cannot be opened
inline constexpr int kErrScriptExit = -141;   // EXIT with a text (the detail)
inline constexpr int kErrLabel = -142;        // a label the script does not hold, or an invalid name
inline constexpr int kErrLabelExtra = -143;   // words after the label of GOTO or GOSUB
inline constexpr int kErrNotNumber = -144;    // a number argument that is not a number
inline constexpr int kErrGuard = -145;        // a guard without its closing "/"
inline constexpr int kErrSetSyntax = -147;    // SET without "="
inline constexpr int kErrValueSyntax = -148;  // value syntax, PROMPT without a variable, SHIFT of no variable
inline constexpr int kErrScriptLine = -149;   // a script line longer than 127 characters
inline constexpr int kErrIfSyntax = -150;     // IF syntax
inline constexpr int kErrKeyword = -151;      // a word that is not a keyword
inline constexpr int kErrBlock = -152;        // ENDLOOP or UNTIL that does not close the running block
inline constexpr int kErrNesting = -153;      // LOOP and REPEAT bodies nested beyond kBlockNestingLimit
inline constexpr int kErrReturnStack = -154;  // GOSUB nesting beyond six, or RETURN without GOSUB
inline constexpr int kErrSetVariable = -183;  // setting a variable failed

inline constexpr std::size_t kScriptLineLimit = 127;
inline constexpr std::size_t kScriptTextLimit = 131;
inline constexpr std::size_t kReceiveBufferSize = 128;
inline constexpr std::size_t kReturnStackDepth = 6;
// LOOP and REPEAT bodies run one inside the other up to this depth: far
// beyond any real dialogue, and well within the stack the nested runs need.
inline constexpr std::size_t kBlockNestingLimit = 256;

// Message channels of the scripts beside those of messages.h.
inline constexpr int kChannelPrompt = 4;
inline constexpr int kChannelDialogueEnd = 7;
inline constexpr int kChannelScriptEcho = 8;

// Rows of the keyword table, in its ASCII order.
enum KeywordRow {
    kRowComment,
    kRowBreak,
    kRowClrbuf,
    kRowDelay,
    kRowDisplay,
    kRowEndloop,
    kRowExit,
    kRowGosub,
    kRowGoto,
    kRowHangup,
    kRowIf,
    kRowLoop,
    kRowPort,
    kRowPrint,
    kRowPrompt,
    kRowRead,
    kRowRepeat,
    kRowReset,
    kRowReturn,
    kRowSet,
    kRowShift,
    kRowTrace,
    kRowUnshift,
    kRowUntil,
    kRowWrite,
    kRowXmit,
    kKeywordRows
};

// Block roles: LOOP/ENDLOOP 1, REPEAT/UNTIL 2.
inline constexpr int kBlockTop = 0;
inline constexpr int kBlockLoop = 1;
inline constexpr int kBlockRepeat = 2;

// Results of the executor besides a file position (>= 0).
inline constexpr long kExecError = -1;
inline constexpr long kExecEnd = -2;   // the end of the file
inline constexpr long kExecExit = -3;  // EXIT at the top level

struct ScriptLabel {
    std::string name;
    long position = -1;  // -1 while only referred to
};

struct ScriptJump {
    bool set = false;
    int label = -1;      // the label entry, or -1 for a RETURN
    long position = -1;  // of a RETURN
};

// The state of the running script.
struct ScriptState {
    std::FILE* file = nullptr;
    std::string file_name;
    std::vector<ScriptLabel> labels;
    ScriptJump jump;
    std::vector<long> return_stack;
    std::deque<char> received;    // what READ collected, oldest first
    long next_line = 0;           // the position after the line being run
    long nested_result = 0;       // what the body of LOOP or REPEAT ended with
    std::size_t block_depth = 0;  // LOOP and REPEAT bodies running, one inside the other
};

ScriptState& Script();

// Runs one script file (found as named, beside the parameter file, or the
// copy shipped beside the library). 0 when it reached its end or EXIT
// without error, else the error code.
int md_run_script(std::string_view name);

// Runs lines: block type 0 to the end of the file, 1 a LOOP body `count`
// times, 2 a REPEAT body. The position after the block's closer, or one of
// kExecError, kExecEnd, kExecExit.
long md_exec_script(int block_type, int count);

// Parses a line: records labels, evaluates guards and IF (with `evaluate`;
// otherwise only checks their form), finds the keyword. The keyword row
// (kRowComment for a line that does nothing), with `cursor` at the
// arguments; or -1 after a reported error.
int md_parse_line(std::string_view line, std::size_t& cursor, long position, bool evaluate = true);

// The label entry of a name, recording its position when it is defined
// here (`position` >= 0) and not known before; -1 for an invalid name.
int md_find_label(std::string_view name, long position);
// Sets the pending jump to a label entry; -142 for no entry.
int md_set_jump(int entry);

// 1 when the guard pattern matches the received text (consuming it up to
// the match), else 0.
int md_match_pattern(std::string_view pattern);

// The truth of an IF condition; `cursor` moves past it. -1 after a reported
// error (-150).
int md_eval_if(std::string_view line, std::size_t& cursor);

// The error exit of the commands: reports the code, empties the receive
// buffer (for codes from -141 up), closes the port and leaves the code in
// the error cell. Returns the code.
int md_script_error(int code);

// What an expanded text is for: the line (values as they are), or a text
// the caller or a log sees (a trace, a message, an error text), where any
// variable holding the remote password shows as "********" so that the
// password is never written down.
enum class TextUse { kLine, kShown };
inline constexpr const char* kPasswordMask = "********";

// The expanded output text of a command argument: quoted strings with
// escapes and variable words, at most 131 characters.
std::string md_expand_text(std::string_view text, TextUse use = TextUse::kLine);

// A decimal number, or the number a variable (beginning with "%") holds.
// Not a number: script error -144 and 0.
int md_eval_number(std::string_view text);

// Runs the command of a keyword row with the rest of its line.
void RunCommand(int row, std::string_view args);

// The character delay of WRITE and XMIT, in microseconds.
long long& CharacterDelay();

}  // namespace feed
