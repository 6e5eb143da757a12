// The parameter file: call sets, CALLSFILE and CALLSET, defaults, checks,
// errors and scrambled values; and the value syntax the settings are read
// with.

#include "feed/dialup/params.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "feed/dialup/messages.h"
#include "feed/dialup/scramble.h"
#include "feed/dialup/variables.h"
#include "tests/feed/dialup/dialup_fixture.h"

namespace feedtest {
namespace {

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

class FeedParamsTest : public DialupTest {
protected:
    Strings Elements(const char* name) { return feed::GetVarElements(name).value_or(Strings{}); }
};

TEST_F(FeedParamsTest, SelectedSetWithDefaults) {
    ASSERT_TRUE(feed::md_read_params("qordata.par"));
    const std::map<std::string, std::string> expected = {
        {"%call_name", "standard"},
        {"%call_type", "dialup"},
        {"%active_file", "dialup.dlg"},
        {"%remote_user", ""},
        {"%trace_control", "-default"},
        {"%exit_dialog", ""},
        {"%tquiet", "40"},
        {"%homedir", ""},
        {"%system", "q4std"},
        {"%LINE_SPEED", "9600"},
        {"%PORT", "COM2"},
        {"%telephone_number", "5551234"},
        {"%modem_setup", "ATZ"},
        {"%reset", "Yes"},
        {"%pdn", "Pelnet"},
        {"%CLINE", "DCD"},
        {"%!CFN", "qordata.par"},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(feed::md_get_var(name), value) << name;
    EXPECT_TRUE(caller_.records.empty());
}

TEST_F(FeedParamsTest, FilesAndTheirOutcome) {
    struct Case {
        const char* name;
        std::string file;
        std::optional<std::string> callset;
        bool ok;
        Strings errors;
        std::map<std::string, Strings> variables;
    };
    const std::vector<Case> cases = {
        {"name words joined by single blanks, case ignored",
         "Call   SET = standard\nport = COM1\n",
         std::nullopt,
         true,
         {},
         {{"%port", {"COM1"}}}},
        {"CALLSET selects another set",
         "call set = standard\nport = COM1\ncall set = backup\nport = COM3\n",
         "backup",
         true,
         {},
         {{"%port", {"COM3"}}, {"%call_name", {"backup"}}}},
        {"the selected set missing",
         "call set = backup\nport = COM3\nline speed = 2400\n",
         std::nullopt,
         false,
         {"ERROR -110: The selected call set has no settings"},
         {}},
        {"a set with its name line only",
         "call set = standard\ncall set = backup\nport = COM3\n",
         std::nullopt,
         false,
         {"ERROR -110: The selected call set has no settings"},
         {}},
        {"settings before any set belong to none",
         "line speed = 19200\ncall set = standard\nport = COM1\n",
         std::nullopt,
         true,
         {},
         {{"%line_speed", {"2400"}}}},
        {"settings of another set are ignored",
         "call set = standard\nport = COM1\ncall set = other\nline speed = 19200\n",
         std::nullopt,
         true,
         {},
         {{"%line_speed", {"2400"}}}},
        {"a list for a multi-valued setting",
         "call set = standard\nport = {\"COM1\" | \"COM2\"}\n",
         std::nullopt,
         true,
         {},
         {{"%port", {"COM1", "COM2"}}}},
        {"a list for a single-valued setting",
         "call set = standard\ncall dialog = {\"a.dlg\" \"b.dlg\"}\n",
         std::nullopt,
         false,
         {"ERROR -112: Setting may hold only one value: call dialog"},
         {}},
        {"a line without =",
         "call set = standard\nport = COM1\nline speed 9600\n",
         std::nullopt,
         false,
         {"ERROR -141: Missing '=' in 'qordata.par' on line 3"},
         {}},
        {"# inside the name part",
         "call set = standard\nport # old = COM1\n",
         std::nullopt,
         false,
         {"ERROR -141: Missing '=' in 'qordata.par' on line 2"},
         {}},
        {"a value that does not parse",
         "\n# settings\ncall set = standard\nport = \"COM1\n",
         std::nullopt,
         false,
         {"ERROR -141: Syntax error in 'qordata.par' on line '4'"},
         {}},
        {"a set name of two elements",
         "call set = {\"standard\" \"backup\"}\nport = COM1\n",
         std::nullopt,
         false,
         {"ERROR -141: Syntax error in 'qordata.par' on line '1'"},
         {}},
        {"comments, sections and unknown names",
         "[app]\ncall type = dialup\n# call set = other\ncall set = standard\ncolour = blue\nport = COM1 # "
         "not a comment\n",
         std::nullopt,
         true,
         {},
         {{"%call_type", {"dialup"}}, {"%port", {"COM1 # not a comment"}}}},
        {"Home Dir keeps its backslashes",
         "call set = standard\nHome Dir = C:\\data\\\n",
         std::nullopt,
         true,
         {},
         {{"%homedir", {"C:\\data\\"}}}},
        {"CR LF line ends",
         "call set = standard\r\nport = COM1\r\ntelephone number = 555 1234\r\n",
         std::nullopt,
         true,
         {},
         {{"%port", {"COM1"}}, {"%telephone_number", {"555 1234"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        feed::ResetLibraryForTesting();
        feed::State().request.caller = caller_.handle();
        caller_.Clear();
        ScopedEnv callset("CALLSET", c.callset);
        WriteFile(Dir() / "qordata.par", c.file);
        EXPECT_EQ(feed::md_read_params("qordata.par"), c.ok);
        EXPECT_EQ(caller_.Texts(1), c.errors);
        for (const auto& [name, value] : c.variables) EXPECT_EQ(Elements(name.c_str()), value) << name;
    }
}

TEST_F(FeedParamsTest, MissingFileNamesItsPath) {
    EXPECT_FALSE(feed::md_read_params("data/qordata.par"));
    EXPECT_THAT(caller_.Texts(1),
                ElementsAre("ERROR -107: Unable to open the parameter file data/qordata.par"));
    EXPECT_EQ(feed::ErrorCell(), -107);

    // Without the error texts as well, the parameter file is still the one
    // named: it is the one to put back first (the error texts are looked for
    // where it says).
    std::filesystem::remove(Dir() / "qorcomm.err");
    caller_.Clear();
    EXPECT_FALSE(feed::md_read_params("data/qordata.par"));
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -107: Unable to open file: data/qordata.par"));
    EXPECT_EQ(feed::ErrorCell(), -107);
}

TEST_F(FeedParamsTest, CallsfileNamesTheFile) {
    const std::filesystem::path other = Dir() / "sub" / "feed.par";
    std::filesystem::create_directories(other.parent_path());
    WriteFile(other, "call set = standard\nport = COM4\n");
    EXPECT_EQ(feed::md_params_path("qordata.par"), "qordata.par");
    ScopedEnv callsfile("CALLSFILE", other.string());
    EXPECT_EQ(feed::md_params_path("qordata.par"), other.string());
    EXPECT_EQ(feed::md_check_port("qordata.par"), 0);
    EXPECT_EQ(feed::md_get_var("%port"), "COM4");
    EXPECT_EQ(feed::md_get_var("%!CFN"), other.string());
    EXPECT_EQ(session_.probes, 1);
}

TEST_F(FeedParamsTest, PortIsProbedOnlyAfterAGoodRead) {
    WriteFile(Dir() / "qordata.par", "call set = other\nport = COM1\n");
    EXPECT_EQ(feed::md_check_port("qordata.par"), 0);
    EXPECT_EQ(session_.probes, 0);
    WriteFile(Dir() / "qordata.par", kStandardParams);
    EXPECT_EQ(feed::md_check_port("qordata.par"), 0);
    EXPECT_EQ(session_.probes, 1);
}

TEST_F(FeedParamsTest, RequiredAndSingleValuedChecks) {
    const feed::SettingRow table[] = {
        {"modem", "%modem", true, feed::SettingRow::kRequired, nullptr},
        {"speeds", "%speeds", true, feed::SettingRow::kDefaulted, "1200"},
    };
    EXPECT_EQ(feed::md_check_settings(table), -111);
    feed::md_set_var("%modem", "\"hayes\"");
    EXPECT_EQ(feed::md_check_settings(table), 0);
    EXPECT_EQ(feed::md_get_var("%speeds"), "1200");
    feed::md_set_var("%speeds", "{\"1200\" \"2400\"}");
    EXPECT_EQ(feed::md_check_settings(table), -112);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -111: Required setting is missing: modem",
                                              "ERROR -112: Setting may hold only one value: speeds"));
}

TEST_F(FeedParamsTest, ScrambledSettingsAreReadPlain) {
    const std::string user = feed::md_scramble_text("joe.smith", 0b1010);
    const std::string password = feed::md_scramble_text("Secret#2024!", 0b0111);
    const std::string other = feed::md_scramble_text("Other Pass", 0);
    ASSERT_EQ(user.size(), 18u);
    WriteFile(Dir() / "qordata.par", "call set = standard\nremote user = " + user +
                                         "\nremote password = {\"" + password + "\" \"" + other +
                                         "\" \"short1\"}\n");
    ASSERT_TRUE(feed::md_read_params("qordata.par"));
    EXPECT_THAT(Elements("%remote_user"), ElementsAre("joe.smith"));
    // Only the first element is lower-cased; a short element is plain text.
    EXPECT_THAT(Elements("%remote_password"), ElementsAre("secret#2024!", "Other Pass", "short1"));
}

TEST_F(FeedParamsTest, ScramblerRoundTrips) {
    const std::vector<std::string> plains = {"abcdefghi", "PASSWORD12345", "0123456789abcdefghi",
                                             "x y z 1 2"};
    for (const std::string& plain : plains) {
        for (unsigned mask = 0; mask < 16; ++mask) {
            SCOPED_TRACE(plain + " " + std::to_string(mask));
            std::vector<std::string> value = {"first", feed::md_scramble_text(plain, mask)};
            ASSERT_EQ(value[1].size(), plain.size() * 2);
            for (char c : value[1]) EXPECT_TRUE((c >= 'g' && c <= 'v') || (c >= 'G' && c <= 'V'));
            feed::md_unscramble_value(value);
            EXPECT_EQ(value[1], plain);
        }
    }
    EXPECT_EQ(feed::md_scramble_text("short", 0), "");
    EXPECT_EQ(feed::md_scramble_text(std::string(20, 'x'), 0), "");
    std::vector<std::string> unchanged = {"ABCDEFGHIJKLMNOPQ"};  // 17 characters: plain
    feed::md_unscramble_value(unchanged);
    EXPECT_THAT(unchanged, ElementsAre("abcdefghijklmnopq"));
    // The key serves 19 pairs: longer elements stay as they are rather than
    // be read with bytes from past its end.
    std::vector<std::string> too_long = {"first", std::string(40, 'g'), std::string(61, 'v')};
    feed::md_unscramble_value(too_long);
    EXPECT_THAT(too_long, ElementsAre("first", std::string(40, 'g'), std::string(61, 'v')));
}

TEST_F(FeedParamsTest, ValueSyntax) {
    struct Case {
        const char* text;
        bool escapes;
        std::optional<Strings> value;  // nothing: a syntax error
    };
    feed::md_set_var("%a", "\"x\"");
    const std::vector<Case> cases = {
        {"{\"x\" | \"y\"}", true, Strings{"x", "y"}},
        {"\"AT\" %a", true, Strings{"ATx"}},
        {"hello world   ", true, Strings{"hello world"}},
        {"\"abc\" # a note", true, Strings{"abc"}},
        {"{\"a\" \"b\"", true, std::nullopt},
        {"\"open", true, std::nullopt},
        {"}", true, std::nullopt},
        {"{ bare }", true, std::nullopt},
        {"\"x\" {\"y\"}", true, std::nullopt},
        {"", true, Strings{}},
        {"\"a\\tb\\x41\\101\\\"\"", true, Strings{"a\tbAA\""}},
        {"C:\\data\\", false, Strings{"C:\\data\\"}},
        {"\"C:\\data\"", false, Strings{"C:\\data"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const feed::ScopedEscapes escapes(c.escapes);
        feed::md_set_var("%v", "\"old\"");
        feed::ErrorCell() = 0;
        EXPECT_EQ(feed::md_set_var("%v", c.text), c.value.has_value());
        if (c.value) {
            EXPECT_EQ(Elements("%v"), *c.value);
        } else {
            EXPECT_EQ(feed::ErrorCell(), -148);
            EXPECT_THAT(Elements("%v"), ElementsAre("old"));
        }
    }
    EXPECT_EQ(feed::md_set_var("%long", std::string(600, 'z')), true);
    EXPECT_EQ(feed::md_get_var("%long").size(), feed::kValueTextLimit);
}

TEST_F(FeedParamsTest, ShiftingAndClearing) {
    feed::md_set_var("%a", "{\"x\" | \"y\"}");
    Strings seen;
    for (int i = 0; i < 3; ++i) {
        feed::md_shift_var("%A", false);
        seen.push_back(feed::md_get_var("%a"));
    }
    EXPECT_THAT(seen, ElementsAre("y", "", "x"));
    feed::md_shift_var("%a", true);  // from the first to the end position
    EXPECT_EQ(feed::md_get_var("%a"), "");
    feed::md_shift_var("%a", true);
    EXPECT_EQ(feed::md_get_var("%a"), "y");
    EXPECT_EQ(feed::md_shift_var("%nosuch", false), -1);

    feed::SetVarElements("%!KEEPME", {"kept"});
    feed::md_clear_vars();
    EXPECT_EQ(feed::md_get_var("%a"), "");
    EXPECT_EQ(feed::md_get_var("%!keepme"), "kept");
    EXPECT_EQ(feed::md_get_var("%VERSION"), "1B");
}

}  // namespace
}  // namespace feedtest
