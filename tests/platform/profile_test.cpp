// Profile files: where a bare name lives, reading with defaults and without
// regard to case, and writing in place without disturbing other lines.

#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace platform;
namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("ledra-profile-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        old_xdg_ = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    }
    void TearDown() override {
        if (old_xdg_)
            setenv("XDG_CONFIG_HOME", old_xdg_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(root_);
    }
    fs::path Config(const std::string& name) const { return root_ / "ledra" / name; }
    void WriteConfig(const std::string& name, const std::string& text) {
        fs::create_directories(root_ / "ledra");
        std::ofstream(Config(name), std::ios::binary) << text;
    }
    std::string ReadConfig(const std::string& name) const {
        std::ifstream in(Config(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path root_;
    std::optional<std::string> old_xdg_;
};

const char* const kVexaIni =
    "; data feed settings\n"
    "[config]\n"
    "home_dir=/srv/feed/\n"
    "\n"
    "[Files]\n"
    "LogFile = N\n"
    "appendlog=12abc\n"
    "inputfile=req1.txt,req2.txt\n"
    "# the answer file\n"
    "outputfile=\n"
    "\n"
    "[app]\n"
    "usetimer=\n";

TEST_F(ProfileTest, BareNamesLiveInTheConfigFolder) {
    EXPECT_EQ(ProfilePath("VEXA.INI"), root_ / "ledra" / "VEXA.INI");
    EXPECT_EQ(ProfilePath("/srv/feed/qordata.par"), fs::path("/srv/feed/qordata.par"));
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", root_.c_str(), 1);
    EXPECT_EQ(ProfileDirectory(), root_ / ".config" / "ledra");
}

TEST_F(ProfileTest, ReadsValuesAndDefaults) {
    WriteConfig("VEXA.INI", kVexaIni);
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {"config", "home_dir", "/srv/feed/"},
        {"FILES", "logfile", "N"},  // case ignored, blanks around the value gone
        {"files", "inputfile", "req1.txt,req2.txt"},
        {"files", "outputfile", ""},  // present and empty: not the default
        {"app", "usetimer", ""},
        {"app", "waittime", "dflt"},              // missing key
        {"nosuch", "home_dir", "dflt"},           // missing section
        {"config", "# the answer file", "dflt"},  // comments are not keys
    };
    for (const Row& r : rows)
        EXPECT_EQ(GetPrivateProfileString(r.section, r.key, "dflt", "VEXA.INI"), r.value)
            << r.section << "/" << r.key;
    EXPECT_EQ(GetPrivateProfileString("config", "home_dir", "none", "MISSING.INI"), "none");
}

TEST_F(ProfileTest, ReadsWholeNumbers) {
    WriteConfig("N.INI", "[n]\na=42\nb=12abc\nc=abc\nd=-5\ne=\nf= +7\n");
    struct Row {
        const char* key;
        int value;
    };
    for (const Row& r :
         {Row{"a", 42}, Row{"b", 12}, Row{"c", 0}, Row{"d", 0}, Row{"e", 0}, Row{"f", 7}, Row{"missing", 99}})
        EXPECT_EQ(GetPrivateProfileInt("n", r.key, 99, "N.INI"), r.value) << r.key;
}

TEST_F(ProfileTest, WritesInPlaceKeepingOtherLines) {
    WriteConfig("VEXA.INI", kVexaIni);
    ASSERT_TRUE(WritePrivateProfileString("APP", "UseTimer", "No", "VEXA.INI"));
    ASSERT_TRUE(WritePrivateProfileString("files", "logfile", "Y", "VEXA.INI"));
    ASSERT_TRUE(WritePrivateProfileString("files", "appendoutput", "1", "VEXA.INI"));
    ASSERT_TRUE(WritePrivateProfileString("extra", "waitdate", "1997/03/07", "VEXA.INI"));
    EXPECT_EQ(ReadConfig("VEXA.INI"),
              "; data feed settings\n"
              "[config]\n"
              "home_dir=/srv/feed/\n"
              "\n"
              "[Files]\n"
              "LogFile=Y\n"  // the key keeps its spelling
              "appendlog=12abc\n"
              "inputfile=req1.txt,req2.txt\n"
              "# the answer file\n"
              "outputfile=\n"
              "appendoutput=1\n"  // a new key ends its section
              "\n"
              "[app]\n"
              "usetimer=No\n"
              "\n"
              "[extra]\n"  // a new section ends the file
              "waitdate=1997/03/07\n");
    EXPECT_EQ(GetPrivateProfileString("app", "usetimer", "N", "VEXA.INI"), "No");
}

TEST_F(ProfileTest, CreatesTheFileAndKeepsCrLf) {
    ASSERT_TRUE(WritePrivateProfileString("files", "logfile", "Y", "NEW.INI"));
    EXPECT_EQ(ReadConfig("NEW.INI"), "[files]\nlogfile=Y\n");
    WriteConfig("DOS.INI", "[a]\r\nx=1\r\n");
    ASSERT_TRUE(WritePrivateProfileString("a", "y", "2", "DOS.INI"));
    EXPECT_EQ(ReadConfig("DOS.INI"), "[a]\r\nx=1\r\ny=2\r\n");
    EXPECT_EQ(GetPrivateProfileString("a", "x", "", "DOS.INI"), "1");
}

TEST_F(ProfileTest, FailedWriteLeavesTheOldFile) {
    WriteConfig("RO.INI", "[a]\nx=1\n");
    // The new file is written beside the old one first; a directory in that
    // place makes the write fail, for any user.
    fs::create_directories(root_ / "ledra" / ("RO.INI.new" + std::to_string(::getpid())));
    EXPECT_FALSE(WritePrivateProfileString("a", "x", "2", "RO.INI"));
    EXPECT_EQ(ReadConfig("RO.INI"), "[a]\nx=1\n");
    EXPECT_EQ(GetPrivateProfileString("a", "x", "", "RO.INI"), "1");
}

}  // namespace
