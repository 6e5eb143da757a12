#include "engine/symbols.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

struct SymbolCase {
    std::string in, out;
};

class UpsymTest : public ::testing::TestWithParam<SymbolCase> {};

TEST_P(UpsymTest, UpperCasesNineCharactersAndBlanksTheRest) {
    std::string symbol = GetParam().in;
    engine::Upsym(symbol);
    EXPECT_EQ(symbol, GetParam().out) << "[" << GetParam().in << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Symbols, UpsymTest,
    ::testing::Values(SymbolCase{"ibm         ", "IBM         "}, SymbolCase{"abcdefghijkl", "ABCDEFGHI   "},
                      SymbolCase{"IBM         ", "IBM         "}, SymbolCase{"brk.b 1-x/z ", "BRK.B 1-X   "},
                      SymbolCase{"9z@[`{~_az  ", "9Z@[`{~_A   "},
                      SymbolCase{"\xe9t\xfc", "\xe9T\xfc         "}, SymbolCase{"msft", "MSFT        "},
                      SymbolCase{"", "            "}, SymbolCase{"  lead", "  LEAD      "}));

// Writes a text file with CR LF line ends.
void WriteText(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& l : lines) out << l << "\r\n";
}

std::vector<std::string> ReadAll(int unit) {
    std::vector<std::string> lines;
    std::string line;
    while (records::ReadLine(unit, line)) lines.push_back(line);
    return lines;
}

TEST(Symbols, OpnseqOpensAnOutsideFileForReadingLines) {
    TempDataDir dir;
    std::filesystem::create_directories("import/prices");
    WriteText("import/prices/Quotes.txt", {"IBM,101.25", "msft,55.5", ""});
    struct Case {
        const char* what;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"name as written", "import/prices/Quotes.txt"},
        {"any case, backslashes", "IMPORT\\PRICES\\QUOTES.TXT"},
        {"full path", (dir.path() / "import/prices/Quotes.txt").string()},
    };
    for (const Case& c : cases) {
        engine::Opnseq(15, records::Fixed(c.name, 48), 48, 0);
        EXPECT_EQ(ReadAll(15), (std::vector<std::string>{"IBM,101.25", "msft,55.5", ""})) << c.what;
        records::Close(15);
    }
}

TEST(Symbols, OpnseqTakesTheNameAs48Characters) {
    TempDataDir dir;
    const std::string name48 = "d/" + std::string(42, 'x') + ".txt";  // 48 characters
    std::filesystem::create_directories("d");
    WriteText(name48, {"one"});
    engine::Opnseq(15, name48 + "IGNORED", 10, 99);
    EXPECT_EQ(ReadAll(15), std::vector<std::string>{"one"});
    records::Close(15);
}

TEST(Symbols, OpnseqOnAMissingFileReadsNothingAndCreatesNothing) {
    TempDataDir dir;
    WriteText("old.txt", {"stale"});
    engine::Opnseq(15, "old.txt", 48, 0);
    engine::Opnseq(15, "missing.txt", 48, 0);
    std::string line;
    EXPECT_FALSE(records::ReadLine(15, line));
    records::Close(15);
    EXPECT_FALSE(TempDataDir::Exists("missing.txt"));
    EXPECT_TRUE(TempDataDir::Exists("old.txt"));
    // A folder is not a file to read either.
    std::filesystem::create_directory("folder");
    engine::Opnseq(15, "folder", 48, 0);
    EXPECT_FALSE(records::ReadLine(15, line));
    records::Close(15);
}

}  // namespace
