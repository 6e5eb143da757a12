// The dialogue-script interpreter and its commands: output texts and
// numbers, value syntax and SHIFT/UNSHIFT, guards, IF, LOOP, REPEAT/UNTIL,
// GOTO, GOSUB/RETURN, EXIT and the exit dialogue, the commands that talk to
// the line, and every script error with its code.

#include "feed/dialup/script.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed/dialup/messages.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/variables.h"
#include "tests/feed/dialup/line_fixture.h"

namespace feedtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Strings = std::vector<std::string>;

// A script of `loops` nested LOOP 1 bodies holding `repeats` nested REPEAT
// bodies (each ended at once by UNTIL 0), with a DISPLAY at the bottom.
std::string Nested(int loops, int repeats) {
    std::string script;
    for (int i = 0; i < loops; ++i) script += "LOOP 1\n";
    for (int i = 0; i < repeats; ++i) script += "REPEAT\n";
    script += "DISPLAY \"deepest\"\n";
    for (int i = 0; i < repeats; ++i) script += "UNTIL 0\n";
    for (int i = 0; i < loops; ++i) script += "ENDLOOP\n";
    return script + "DISPLAY \"after\"\n";
}

class FeedScriptTest : public RawLineTest {
protected:
    // Runs a script written to t.dlg; the texts it displayed are kept.
    int Run(const std::string& script, const std::string& name = "t.dlg") {
        WriteFile(Dir() / name, script);
        MessageRecorder::Messages().clear();
        feed::ErrorCell() = 0;
        return feed::md_run_script(name);
    }
    // The DISPLAY and PRINT texts, without their newlines.
    static Strings Shown() {
        Strings shown;
        for (std::string text : MessageRecorder::On(feed::kChannelStatus)) {
            if (!text.empty() && text.back() == '\n') text.pop_back();
            shown.push_back(text);
        }
        return shown;
    }

    MessageRecorder recorder_;
};

TEST_F(FeedScriptTest, OutputTextsAndNumbers) {
    feed::md_set_var("%a", "\"x\"");
    feed::md_set_var("%n", "\"12\"");
    struct Case {
        const char* text;
        std::string expanded;
    };
    const std::vector<Case> cases = {
        {"\"AT\" %a \"\\r\"", "ATx\r"},
        {"a n", "x12"},  // variable words with or without "%"
        {"\"say \\\"hi\\\"\" # comment", "say \"hi\""},
        {"%nosuch \"!\"", "!"},
        {"\"open", "open"},
        {"\"tab\\there\"", "tab\there"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(feed::md_expand_text(c.text), c.expanded);
    }
    EXPECT_EQ(feed::md_expand_text("\"" + std::string(200, 'z') + "\"").size(), 131u);

    struct Number {
        const char* text;
        int value;
        int cell;
    };
    const std::vector<Number> numbers = {
        {"5", 5, 0},     {" 42 # note", 42, 0}, {"-3", -3, 0},   {"%n", 12, 0},
        {"%a", 0, -144}, {"", 0, -144},         {"4x", 0, -144},
    };
    for (const Number& n : numbers) {
        SCOPED_TRACE(n.text);
        feed::ErrorCell() = 0;
        EXPECT_EQ(feed::md_eval_number(n.text), n.value);
        EXPECT_EQ(feed::ErrorCell(), n.cell);
    }
}

TEST_F(FeedScriptTest, ValuesAndShifting) {
    EXPECT_EQ(Run("SET %a = {\"x\" | \"y\"}\n"
                  "DISPLAY \"1 \" %a\n"
                  "SHIFT %a\n"
                  "DISPLAY \"2 \" %a\n"
                  "SHIFT %a\n"
                  "DISPLAY \"3 \" %a\n"
                  "SHIFT %a\n"
                  "DISPLAY \"4 \" %a\n"
                  "UNSHIFT %a\n"
                  "DISPLAY \"5 \" %a\n"
                  "UNSHIFT %a\n"
                  "DISPLAY \"6 \" %a\n"
                  "RESET %a\n"
                  "DISPLAY \"7 \" %a\n"
                  "UNSHIFT %a\n"
                  "SET %b = \"AT\" %a\n"
                  "SET %c = hello world   \n"
                  "SET %d = \"abc\" # a note\n"
                  "DISPLAY %b \"|\" %c \"|\" %d\n"
                  "SET %e = \"kept\"\n"
                  "SET %e = {\"a\" \"b\"\n"),
              -148);
    EXPECT_THAT(Shown(), ElementsAre("1 x", "2 y", "3 ", "4 x", "5 ", "6 y", "7 ", "ATy|hello world|abc"));
    // The failed SET kept the old value; the script's variables are gone
    // with its end (no %KEEP).
    EXPECT_EQ(feed::md_get_var("%e"), "");
    EXPECT_EQ(Run("SET %KEEP = \"1\"\nSET %e = \"kept\"\nSET %e = {\"a\" \"b\"\n"), -148);
    EXPECT_EQ(feed::md_get_var("%e"), "kept");
    // SHIFT of a list of names stops at the first that is no variable.
    EXPECT_EQ(Run("SET %KEEP = \"1\"\nSET %a = {\"x\" \"y\"}\nSET %b = {\"p\" \"q\"}\nSHIFT %a %nosuch %b\n"),
              -148);
    EXPECT_EQ(feed::md_get_var("%a"), "y");
    EXPECT_EQ(feed::md_get_var("%b"), "p");
}

TEST_F(FeedScriptTest, Guards) {
    struct Case {
        std::string received;
        const char* pattern;
        bool matches;
        std::string left;
    };
    const std::vector<Case> cases = {
        {"ATZ OK", "OK", true, ""},
        {"ATZ ok\r\n", "OK", true, "\r\n"},
        {"CONNECT 9600\r\n", "CONNECT", true, " 9600\r\n"},
        {"abc", "a?c", true, ""},
        {"axxxcd", "a*c", true, "d"},
        {"abc", "b*", true, "c"},
        {"abc", "*", true, "abc"},
        {"", "*", true, ""},
        {"a/b", "a\\/b", true, ""},
        {"line\r", "e\\r", true, ""},
        {"abc", "x", false, "abc"},
        {"ab", "abc", false, "ab"},
        {"abd", "a*c", false, "abd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.received + " / " + c.pattern);
        feed::Script().received.assign(c.received.begin(), c.received.end());
        EXPECT_EQ(feed::md_match_pattern(c.pattern), c.matches ? 1 : 0);
        EXPECT_EQ(std::string(feed::Script().received.begin(), feed::Script().received.end()), c.left);
    }
    // In a script: the first guard for OK consumes the reply; a second no
    // longer matches; a line runs when any of its guards matches.
    ASSERT_EQ(feed::md_open_port(), 0);
    line_.Send("ATZ OK");
    EXPECT_EQ(Run("READ\n"
                  "/OK/ DISPLAY \"first\"\n"
                  "/OK/ DISPLAY \"second\"\n"
                  "/none/ /*/ DISPLAY \"either\"\n"
                  "/none/ DISPLAY \"never\"\n"),
              0);
    EXPECT_THAT(Shown(), ElementsAre("first", "either"));
}

TEST_F(FeedScriptTest, ControlFlow) {
    struct Case {
        const char* name;
        std::string script;
        Strings shown;
    };
    const std::vector<Case> cases = {
        {"LOOP 0 skips, LOOP 1 once, LOOP 3 three times",
         "LOOP 0\nDISPLAY \"zero\"\nENDLOOP\nLOOP 1\nDISPLAY \"one\"\nENDLOOP\n"
         "LOOP 3\nDISPLAY \"three\"\nENDLOOP\nDISPLAY \"end\"\n",
         {"one", "three", "three", "three", "end"}},
        {"LOOP from a variable, nested",
         "SET %n = \"2\"\nLOOP %n\nDISPLAY \"outer\"\nLOOP 2\nDISPLAY \"inner\"\nENDLOOP\nENDLOOP\n",
         {"outer", "inner", "inner", "outer", "inner", "inner"}},
        {"GOTO forward and back by recorded position",
         "SET %left = {\"1\" \"2\"}\n"
         "again:\nDISPLAY \"pass \" %left\nSHIFT %left\nIF %left = \"\" GOTO done\nGOTO again\n"
         "DISPLAY \"skipped\"\ndone: DISPLAY \"done\"\n",
         {"pass 1", "pass 2", "done"}},
        {"GOTO out of a LOOP leaves it",
         "LOOP 3\nDISPLAY \"in\"\nGOTO out\nDISPLAY \"not\"\nENDLOOP\nDISPLAY \"not either\"\nout:\nDISPLAY "
         "\"out\"\n",
         {"in", "out"}},
        {"GOTO inside the same body stays in it",
         "LOOP 2\nGOTO inner\nDISPLAY \"skipped\"\ninner: DISPLAY \"inner\"\nENDLOOP\nDISPLAY \"after\"\n",
         {"inner", "inner", "after"}},
        {"GOSUB and RETURN, six deep",
         "GOSUB s1\nDISPLAY \"back\"\nEXIT\n"
         "s1: GOSUB s2\nRETURN\ns2: GOSUB s3\nRETURN\ns3: GOSUB s4\nRETURN\ns4: GOSUB s5\nRETURN\n"
         "s5: GOSUB s6\nRETURN\ns6: DISPLAY \"deepest\"\nRETURN\n",
         {"deepest", "back"}},
        {"EXIT ends the script", "DISPLAY \"a\"\nEXIT\nDISPLAY \"b\"\n", {"a"}},
        {"EXIT in a body ends the body",
         "LOOP 3\nDISPLAY \"in\"\nEXIT\nDISPLAY \"not\"\nENDLOOP\nDISPLAY \"after\"\n",
         {"in", "after"}},
        {"IF with = and !=",
         "SET %a = \"y\"\nIF %a != \"x\" DISPLAY \"no\"\nIF %a = \"Y\" DISPLAY \"yes\"\n"
         "SET %a = \"X\"\nIF %a != \"x\" DISPLAY \"never\"\nIF %a=\"x\" GOTO end\nDISPLAY \"skipped\"\n"
         "end: DISPLAY \"end\"\n",
         {"no", "yes", "end"}},
        {"labels, comments and blank lines",
         "SET %once = {\"1\"}\n# a comment\n\n   \nfirst: second: DISPLAY \"x\"\nSHIFT %once\n"
         "IF %once = \"\" GOTO second # again\n",
         {"x", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Run(c.script), 0);
        EXPECT_EQ(Shown(), c.shown);
    }
}

TEST_F(FeedScriptTest, RepeatUntilRunsForItsTime) {
    ASSERT_EQ(feed::md_open_port(), 0);
    const std::int64_t before = NowMs();
    // Each empty READ waits 250 ms and checks the carrier (50 ms).
    EXPECT_EQ(Run("SET %KEEP = \"1\"\nSET %n = {\"\"}\nREPEAT\nREAD\nUNTIL 10\nDISPLAY \"done\"\n"), 0);
    const std::int64_t spent = NowMs() - before;
    EXPECT_GE(spent, 1000);
    EXPECT_LT(spent, 1000 + 300);
    EXPECT_THAT(Shown(), ElementsAre("done"));
    // A guard ends it early.
    line_.on_silence = [&] { line_.Send("CONNECT 9600\r\n"); };
    EXPECT_EQ(Run("REPEAT\nREAD\n/CONNECT/ GOTO up\nUNTIL 600\nEXIT \"no connect\"\nup: DISPLAY \"up\"\n"),
              0);
    EXPECT_THAT(Shown(), ElementsAre("up"));
}

TEST_F(FeedScriptTest, BodiesNestedUpToTheLimitRun) {
    const int limit = static_cast<int>(feed::kBlockNestingLimit);
    for (const auto& [loops, repeats] :
         {std::pair{limit, 0}, std::pair{0, limit}, std::pair{limit / 2, limit / 2}}) {
        SCOPED_TRACE(std::to_string(loops) + " LOOP, " + std::to_string(repeats) + " REPEAT");
        EXPECT_EQ(Run(Nested(loops, repeats)), 0);
        EXPECT_THAT(Shown(), ElementsAre("deepest", "after"));
    }
    // The count starts afresh for every script, and a body that ended by an
    // error leaves nothing behind.
    EXPECT_EQ(Run(Nested(limit + 1, 0)), -153);
    EXPECT_EQ(Run(Nested(limit, 0)), 0);
}

TEST_F(FeedScriptTest, ExitDialogueAndKeep) {
    WriteFile(Dir() / "bye.dlg", "DISPLAY \"bye \" %ERRNO\n");
    const std::string settings = "SET %KEEP = \"1\"\nSET %ON = \"1\"\nSET %EXIT_DIALOG = \"bye.dlg\"\n";
    EXPECT_EQ(Run(settings + "DISPLAY \"main\"\n"), 0);
    EXPECT_THAT(Shown(), ElementsAre("main", "bye 0"));
    EXPECT_EQ(Run(settings + "DISPLAY \"main\"\nEXIT\n"), 0);
    EXPECT_THAT(Shown(), ElementsAre("main"));
    // After an error the exit dialogue runs with the error cell cleared, and
    // the error stands afterwards.
    EXPECT_EQ(Run(settings + "FOO\n"), -151);
    EXPECT_THAT(Shown(), ElementsAre("bye 0"));
    EXPECT_EQ(feed::ErrorCell(), -151);
    // Without %KEEP every variable but the persistent ones goes.
    feed::md_clear_vars("%KEEP");
    feed::SetVarElements("%!CFN", {"qordata.par"});
    EXPECT_EQ(Run("SET %x = \"1\"\n"), 0);
    EXPECT_EQ(feed::md_get_var("%x"), "");
    EXPECT_EQ(feed::md_get_var("%!CFN"), "qordata.par");
}

TEST_F(FeedScriptTest, ReturnStackStartsEmptyForEachScript) {
    // The first script ends inside a subroutine; its return position must
    // not be taken by the next script's RETURN.
    EXPECT_EQ(Run("GOSUB sub\nDISPLAY \"not reached\"\nsub: EXIT\n"), 0);
    EXPECT_EQ(Run("RETURN\n"), -154);
}

TEST_F(FeedScriptTest, ScriptErrors) {
    struct Case {
        const char* name;
        std::string script;
        int code;
        std::string text;  // the error text on channel 1, when it matters
    };
    std::string seven = "GOSUB s1\n";
    for (int i = 1; i <= 7; ++i)
        seven += "s" + std::to_string(i) + ": GOSUB s" + std::to_string(i + 1) + "\n";
    const int limit = static_cast<int>(feed::kBlockNestingLimit);
    const std::vector<Case> cases = {
        {"EXIT with a text", "EXIT \"gave up \" %VERSION\n", -141, "gave up 1B"},
        {"jump to a label not in the script", "GOTO nowhere\n", -142, "Unknown DIALOG label 'nowhere'"},
        {"long label cut in the message", "GOTO abcdefghijklmnopqrstuvwxyz\n", -142,
         "Unknown DIALOG label 'abcdefghijklmnopqrs'"},
        {"invalid label name", "GOTO 1abc\n", -142, ""},
        {"GOTO without a label", "GOTO\n", -142, ""},
        {"words after the label", "GOTO a b\na:\n", -143, ""},
        {"LOOP not a number", "LOOP x\nENDLOOP\n", -144, ""},
        {"DELAY not a number", "DELAY %nosuch\n", -144, ""},
        {"UNTIL not a number", "REPEAT\nUNTIL soon\n", -144, ""},
        {"guard without its closing slash", "/abc GOTO x\n", -145, ""},
        {"SET without =", "SET %a \"x\"\n", -147, ""},
        {"value syntax", "SET %a = {\"a\"\n", -148, ""},
        {"SHIFT of no variable", "SHIFT %nosuch\n", -148, ""},
        {"PROMPT without a variable", "PROMPT no variable here\n", -148, ""},
        {"line over 127 characters", "DISPLAY \"" + std::string(130, 'x') + "\"\n", -149, ""},
        {"IF without =", "IF %a \"x\" DISPLAY \"y\"\n", -150, ""},
        {"IF without a quote", "IF %a = x DISPLAY \"y\"\n", -150, ""},
        {"IF without its closing quote", "IF %a = \"x DISPLAY\n", -150, ""},
        {"not a keyword", "DIAL \"5551234\"\n", -151, "Unknown dialogue script command: DIAL"},
        {"ENDLOOP at the top", "ENDLOOP\n", -152, ""},
        {"UNTIL closing a LOOP", "LOOP 2\nUNTIL 5\n", -152, ""},
        {"RETURN without GOSUB", "RETURN\n", -154, ""},
        {"seventh nested GOSUB", seven + "s8: RETURN\n", -154, ""},
        // Bodies nested far past the limit, as a damaged or hostile script
        // may hold them (sizes that would otherwise exhaust the stack).
        {"LOOP nested too deep", Nested(17000, 0), -153,
         "LOOP or REPEAT nested too deep in the dialogue script"},
        {"REPEAT nested too deep", Nested(0, 40000), -153, ""},
        {"LOOP and REPEAT one past the limit", Nested(limit / 2, limit / 2 + 1), -153, ""},
        {"PROMPT value that does not parse", "PROMPT %v \"unclosed\n", -183, ""},
        {"port that is no port", "PORT COM9\n", -101, ""},
        {"PORT without a port", "PORT -FATAL\n", -101, ""},
        {"line speed not a number", "PORT -SPEED fast COM2\n", -103, ""},
        {"READ on a closed port", "READ\n", -102, ""},
        {"WRITE on a closed port", "WRITE \"ATZ\\r\"\n", -102, ""},
        {"BREAK on a closed port", "BREAK\n", -102, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        feed::SetVarElements("%PORT", {"COM2"});  // the last script took its variables with it
        ASSERT_EQ(feed::md_open_port(), 0);
        if (c.code == -102) feed::md_close_port();
        EXPECT_EQ(Run(c.script), c.code);
        EXPECT_EQ(feed::ErrorCell(), c.code);
        EXPECT_THAT(MessageRecorder::Errors(), ElementsAre(c.code));
        if (!c.text.empty()) {
            EXPECT_EQ(MessageRecorder::On(feed::kChannelError).front(), c.text);
        }
        // A script error closes the port.
        EXPECT_EQ(feed::md_port_number(), 0);
    }
    MessageRecorder::Messages().clear();
    feed::ErrorCell() = 0;
    EXPECT_EQ(feed::md_run_script("missing.dlg"), -106);
    EXPECT_EQ(MessageRecorder::On(feed::kChannelError).front(),
              "Unable to open the dialogue script missing.dlg");
}

TEST_F(FeedScriptTest, LineCommands) {
    // PORT opens the port and empties the receive buffer; -NONFATAL keeps
    // the script going and leaves the code in %ERRNO.
    EXPECT_EQ(Run("PORT -NONFATAL COM9\nDISPLAY \"errno \" %ERRNO\nPORT -SPEED 9600 com2\n"
                  "DISPLAY \"errno \" %ERRNO\nSET %KEEP = \"1\"\n"),
              0);
    EXPECT_THAT(Shown(), ElementsAre("errno -101", "errno -101"));
    EXPECT_EQ(feed::md_port_number(), 2);
    EXPECT_EQ(feed::md_get_var("%LINE_SPEED"), "9600");
    EXPECT_EQ(feed::md_get_var("%PORT"), "com2");

    // WRITE goes out at once; with DELAY 5 one character every half second.
    line_.Received();
    std::int64_t before = NowMs();
    EXPECT_EQ(Run("WRITE \"ATZ\\r\"\n"), 0);
    EXPECT_EQ(line_.Received(), "ATZ\r");
    EXPECT_EQ(NowMs() - before, 0);
    before = NowMs();
    EXPECT_EQ(Run("DELAY 5\nXMIT \"ATZ\" \"\\r\"\nDELAY 0\n"), 0);
    EXPECT_EQ(line_.Received(), "ATZ\r");
    EXPECT_EQ(NowMs() - before, 4 * 500);
    EXPECT_THAT(MessageRecorder::On(feed::kChannelSendTrace), ElementsAre("ATZ\r"));

    // BREAK keeps what was read; BREAK CLR clears it.
    line_.Send("OK");
    EXPECT_EQ(Run("READ\nBREAK\n/OK/ DISPLAY \"kept\"\n"), 0);
    line_.Send("OK");
    EXPECT_EQ(Run("READ\nBREAK CLR\n/OK/ DISPLAY \"not kept\"\n"), 0);
    EXPECT_THAT(Shown(), ElementsAre());
    EXPECT_EQ(line_.breaks, 2);
    line_.Send("OK again");
    EXPECT_EQ(Run("CLRBUF\nREAD\n/OK/ DISPLAY \"cleared\"\n"), 0);
    EXPECT_THAT(Shown(), ElementsAre());

    // HANGUP drops DTR for two seconds and opens the port again.
    line_.dtr.clear();
    before = NowMs();
    EXPECT_EQ(Run("HANGUP\n"), 0);
    EXPECT_EQ(NowMs() - before, 2000);
    EXPECT_THAT(line_.dtr, ElementsAre(false, true, false, true));
    EXPECT_EQ(feed::md_port_number(), 2);
}

TEST_F(FeedScriptTest, PasswordGoesOnTheLineButNeverIntoATraceOrMessage) {
    feed::SetVarElements("%remote_password", {"pw-4711"});
    feed::SetVarElements("%remote_user", {"joe"});
    ASSERT_EQ(feed::md_open_port(), 0);
    line_.Received();
    // A copy in another variable is masked too; texts without it are not.
    EXPECT_EQ(Run("SET %copy = %remote_password\n"
                  "WRITE %remote_user \"\\r\"\n"
                  "WRITE \"x\" %remote_password \"\\r\"\n"
                  "XMIT %copy\n"
                  "DISPLAY \"sent \" %copy \" for \" %remote_user\n"
                  "SET %KEEP = \"1\"\n"),
              0);
    EXPECT_EQ(line_.Received(), "joe\rxpw-4711\rpw-4711");
    EXPECT_THAT(MessageRecorder::On(feed::kChannelSendTrace),
                ElementsAre("joe\r", "x********\r", "********"));
    EXPECT_THAT(Shown(), ElementsAre("sent ******** for joe"));
    auto messages = MessageRecorder::Messages();
    EXPECT_EQ(Run("EXIT \"refused \" %remote_password\n"), -141);
    EXPECT_THAT(MessageRecorder::On(feed::kChannelError), ElementsAre("refused ********"));
    messages.insert(messages.end(), MessageRecorder::Messages().begin(), MessageRecorder::Messages().end());
    for (const auto& message : messages)
        EXPECT_EQ(message.text.find("pw-4711"), std::string::npos) << message.text;
}

TEST_F(FeedScriptTest, MessagesOfAScript) {
    ASSERT_EQ(feed::md_open_port(), 0);
    line_.Send("first line\r\nsecond " + std::string(90, 'x') + "\n");
    EXPECT_EQ(Run("SET %KEEP = \"1\"\n"
                  "DISPLAY -n \"no newline\"\n"
                  "PRINT \"with newline\"\n"
                  "PROMPT %answer {\"a\" \"b\"}\n"
                  "TRACE \"-none\\r\\n\"\n"
                  "LOOP 15\nREAD\nENDLOOP\n"
                  "EXIT\n"),
              0);
    EXPECT_THAT(MessageRecorder::On(feed::kChannelStatus), ElementsAre("no newline", "with newline\n"));
    EXPECT_THAT(MessageRecorder::On(feed::kChannelPrompt), ElementsAre("{\"a\" \"b\"}"));
    EXPECT_EQ(feed::GetVarElements("%answer"), (Strings{"a", "b"}));
    EXPECT_THAT(MessageRecorder::On(feed::kChannelTraceControl), ElementsAre("-none\r\n"));
    EXPECT_EQ(feed::md_get_var("%trace_control"), "-none\r\n");
    EXPECT_THAT(MessageRecorder::On(feed::kChannelDialogueEnd), ElementsAre(""));
    // Received text reaches the trace as lines of printable characters, cut
    // after 77 characters.
    EXPECT_THAT(
        MessageRecorder::On(feed::kChannelReceiveTrace),
        ElementsAre("first line\n", "second " + std::string(71, 'x') + "\n", std::string(19, 'x') + "\n"));
    // Each line run is echoed on channel 8.
    EXPECT_THAT(MessageRecorder::On(feed::kChannelScriptEcho), Contains("DISPLAY -n \"no newline\""));
    for (const SentMessage& m : MessageRecorder::Messages()) {
        if (m.channel == feed::kChannelPrompt) {
            EXPECT_EQ(m.code, 75);
        }
    }
}

}  // namespace
}  // namespace feedtest
