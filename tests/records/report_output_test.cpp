#include "records/report_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

// Writes the firm heading (record 13) and the options record (31) of
// COMMON.FIL. Options are given as (option, value) pairs.
void WriteCommon(const std::string& firm, int16_t page_length, int16_t top_lines,
                 std::vector<std::pair<records::Opt, unsigned char>> options = {}) {
    DirectFile common(kCommonFile, 128);
    Record heading(128, ' ');
    heading.SetText(0, 50, firm);
    heading.SetText(50, 10, "KEEP-THESE");
    heading.SetI16(60, page_length);
    heading.SetI16(62, top_lines);
    heading.SetText(64, 64, "TAIL OF RECORD 13");
    common.Write(kFirmHeadingRecord, heading);
    Record opts(128, 0);
    for (auto [option, v] : options) opts.data()[OptionIndex(option)] = v;
    common.Write(kOptionsRecord, opts);
}

// The lines of OUTPUT.TMP, each 132 characters.
std::vector<std::string> OutputLines() {
    std::vector<std::string> lines;
    DirectFile f(kReportWorkFile, 132, false);
    Record rec;
    for (long n = 1; f.Read(n, rec); ++n) lines.push_back(rec.Text(0, 132));
    return lines;
}

std::string ReadText(const std::string& name) {
    auto bytes = TempDataDir::ReadBytes(name);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> TextLines(const std::string& name) {
    std::vector<std::string> lines;
    std::string text = ReadText(name);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

// A report routine for the tests: numbered detail lines with a page
// heading whenever the page is full, then the closing message.
void SampleReport(int items) {
    std::string name;
    Prtout("", "START", name);
    int16_t page = 1, line_count = 0, page_length = 0;
    Pghead(page, line_count, page_length);
    for (int i = 1; i <= items; ++i) {
        if (line_count >= page_length) {
            Peject();
            Pghead(page, line_count, page_length);
        }
        Prtout(" ITEM " + std::to_string(i));
        ++line_count;
    }
    Prmsg(line_count, page_length, 0, std::string(132, ' '));
    Prtout("", "END", name);
}

TEST(ReportOutputPrtout, StartWritesFreshFileAndReturnsItsName) {
    TempDataDir dir;
    TempDataDir::WriteBytes(kReportWorkFile, std::vector<unsigned char>(132 * 5, 'X'));
    std::string name;
    Prtout("ignored", "START", name);
    EXPECT_EQ(name, "OUTPUT.TMP  ");
    Prtout("FIRST");
    Prtout(std::string(140, 'L'), " ", name);  // cut to 132
    Prtout("", "END", name);
    auto lines = OutputLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "FIRST" + std::string(127, ' '));
    EXPECT_EQ(lines[1], std::string(132, 'L'));
    EXPECT_EQ(TempDataDir::ReadBytes(kReportWorkFile).size(), 264u);  // 132-byte records, no line ends
}

TEST(ReportOutputPrtout, ZeroBytesOfALineAreWrittenAsBlanks) {
    TempDataDir dir;
    std::string name;
    Prtout("", "START", name);
    Prtout(std::string("A\0B", 3));
    std::string longer(140, 'L');
    longer[0] = '\0';
    longer[131] = '\0';
    longer[135] = '\0';  // beyond the line's width: cut
    Prtout(longer);
    Prtout("NEXT");
    Prtout(std::string(132, '\0'));
    Prtout("", "END", name);
    const auto lines = OutputLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "A B" + std::string(129, ' '));
    EXPECT_EQ(lines[1], " " + std::string(130, 'L') + " ");
    EXPECT_EQ(lines[2], "NEXT" + std::string(128, ' '));
    EXPECT_EQ(lines[3], std::string(132, ' '));
}

TEST(ReportOutputPrtout, CommandsCompareOverTwelveCharacters) {
    TempDataDir dir;
    std::string name;
    Prtout("", "START       ", name);
    Prtout("start");  // not a command: a line
    Prtout("STARTING", "STARTING", name);
    Prtout("", "END         ", name);
    auto lines = OutputLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(TrimRight(lines[0]), "start");
    EXPECT_EQ(TrimRight(lines[1]), "STARTING");
}

TEST(ReportOutputAcopy, PagedReportMatchesGolden) {
    TempDataDir dir;
    WriteCommon("LEDRA TEST ADVISERS, INC.", 12, 2);
    std::ofstream("MESSAGE.TXT") << "Prices are closing prices of the report date.\r\n"
                                    "Past performance does not guarantee future results.\r\n";
    SampleReport(14);
    Acopy("OUTPUT.TMP", "REPORT.TXT");
    std::string text = ReadText("REPORT.TXT");
    fixtures::CompareWithGolden("records/report_output_pages.txt", text);

    // The columns that the printing and the report windows rely on.
    auto lines = TextLines("REPORT.TXT");
    for (const auto& line : lines) EXPECT_EQ(line.size(), 132u);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[3].substr(109, 8), "PAGE   1");
    EXPECT_EQ(lines[4].substr(42, 50), Fixed("LEDRA TEST ADVISERS, INC.", 50));
    int pages = 0;
    for (const auto& line : lines)
        if (line.substr(109, 5) == "PAGE ") ++pages;
    EXPECT_EQ(pages, 2);
}

TEST(ReportOutputAcopy, StopsAtEndAndReplacesTarget) {
    TempDataDir dir;
    std::ofstream("COPY.TXT") << "old content that is longer than the copy\r\nline 2\r\nline 3\r\n";
    {
        DirectFile f("SRC.TMP", 132);
        Record rec(132, ' ');
        rec.SetText(0, 3, "ONE");
        f.Write(1, rec);
        rec.SetText(0, 3, "TWO");
        f.Write(2, rec);
    }
    Acopy("SRC.TMP     ", "COPY.TXT    ");
    EXPECT_EQ(ReadText("COPY.TXT"),
              "ONE" + std::string(129, ' ') + "\r\nTWO" + std::string(129, ' ') + "\r\n");
    Acopy("EMPTY.TMP", "EMPTY.TXT");
    EXPECT_EQ(ReadText("EMPTY.TXT"), "");
}

// A line file longer than Acopy reads at a time is copied whole, line for
// line, whatever number of lines the last run holds: exactly a run, one
// line into the next, and a run and a half.
TEST(ReportOutputAcopy, CopiesLineFilesLargerThanOneRead) {
    for (const std::size_t count :
         {kAcopyChunkLines, kAcopyChunkLines + 1, 2 * kAcopyChunkLines + kAcopyChunkLines / 2}) {
        TempDataDir dir;
        std::string expected;
        {
            std::vector<unsigned char> bytes;
            for (std::size_t n = 1; n <= count; ++n) {
                const std::string line = Fixed("LINE " + std::to_string(n), kReportLineWidth);
                bytes.insert(bytes.end(), line.begin(), line.end());
                expected += line + "\r\n";
            }
            TempDataDir::WriteBytes("BIG.TMP", bytes);
        }
        Acopy("BIG.TMP", "BIG.TXT");
        EXPECT_EQ(ReadText("BIG.TXT"), expected) << count;
    }
}

struct HeadingCase {
    const char* name;
    bool eighty;  // Hdr80 instead of Pghead
    int16_t top_lines;
    std::vector<std::pair<records::Opt, unsigned char>> options;
    std::vector<std::string> expected;  // trimmed lines
};

TEST(ReportOutputHeadings, PageHeadingLinesAndCounts) {
    const std::string firm = "ACME CAPITAL";
    const std::string firm132 = std::string(42, ' ') + firm;
    const std::string firm80 = std::string(16, ' ') + firm;
    const std::string page132 = std::string(109, ' ') + "PAGE   7";
    const std::string page80 = std::string(72, ' ') + "PAGE   7";
    std::vector<HeadingCase> cases = {
        {"plain", false, 0, {}, {"", page132, firm132, ""}},
        {"top lines", false, 2, {}, {"", "", "", page132, firm132, ""}},
        {"no page numbers", false, 1, {{records::Opt::kNoPageNumbers, 1}}, {"", "", "", firm132, ""}},
        {"no firm name", false, 0, {{records::Opt::kNoFirmName, 1}}, {"", page132, "", ""}},
        {"option byte above 127 is not set",
         false,
         0,
         {{records::Opt::kNoPageNumbers, 200}},
         {"", page132, firm132, ""}},
        {"80 columns", true, 1, {}, {"", "", page80, firm80, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        WriteCommon(firm, 58, c.top_lines, c.options);
        std::string name;
        Prtout("", "START", name);
        int16_t page = 7, line_count = -1, page_length = -1;
        if (c.eighty)
            Hdr80(page, line_count, page_length);
        else
            Pghead(page, line_count, page_length);
        Prtout("", "END", name);
        EXPECT_EQ(page, 8);
        EXPECT_EQ(line_count, 4);
        EXPECT_EQ(page_length, 58);
        auto lines = OutputLines();
        ASSERT_EQ(lines.size(), c.expected.size());
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(TrimRight(lines[i]), c.expected[i]) << i;
    }
}

TEST(ReportOutputHeadings, FirmHeadingIsReloadedForEveryPage) {
    TempDataDir dir;
    WriteCommon("FIRST NAME", 20, 0);
    std::string name;
    Prtout("", "START", name);
    int16_t page = 1, line_count = 0, page_length = 0;
    Pghead(page, line_count, page_length);
    EXPECT_EQ(page_length, 20);
    Setpgl(33);
    Settop(2);
    Pghead(page, line_count, page_length);
    Prtout("", "END", name);
    EXPECT_EQ(page_length, 33);
    EXPECT_EQ(OutputLines().size(), 4u + 6u);
    EXPECT_EQ(FirmHeadingBlock().top_lines, 2);
    // Setpgl and Settop change only their own words of record 13.
    DirectFile common(kCommonFile, 128);
    Record rec;
    ASSERT_TRUE(common.Read(kFirmHeadingRecord, rec));
    EXPECT_EQ(rec.Text(0, 60), Fixed("FIRST NAME", 50) + "KEEP-THESE");
    EXPECT_EQ(rec.I16(60), 33);
    EXPECT_EQ(rec.I16(62), 2);
    EXPECT_EQ(TrimRight(rec.Text(64, 64)), "TAIL OF RECORD 13");
}

// A top-lines count that does not fit the page with its heading and one
// report line (a damaged record 13 may hold up to 32,767, or 8,224 in both
// words when they are blank) is taken as 0, and the report says so once,
// under its first heading; a count that fits is written as it is.
TEST(ReportOutputHeadings, TopLinesThatDoNotFitThePageAreTakenAsZeroAndToldOnce) {
    struct Case {
        const char* name;
        int16_t page_length;
        int16_t top_lines;
        bool out_of_range;
    };
    const std::vector<Case> cases = {
        {"damaged", 10, 32767, true},
        {"negative", 10, -3, true},
        {"one more than the page", 10, 11, true},
        {"as many as the page", 10, 10, true},
        {"no line left under the heading", 10, 6, true},
        {"blank words: page and top lines alike", 8224, 8224, true},
        {"one line left under the heading", 10, 5, false},
        {"none", 10, 0, false},
        {"none on a page shorter than the heading", 3, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        WriteCommon("ACME CAPITAL", c.page_length, c.top_lines);
        std::string name;
        Prtout("", "START", name);
        int16_t page = 1, line_count = 0, page_length = 0;
        for (int p = 0; p < 3; ++p) {
            if (p == 1)
                Hdr80(page, line_count, page_length);
            else
                Pghead(page, line_count, page_length);
            EXPECT_EQ(line_count, p == 0 && c.out_of_range ? 5 : 4) << p;
        }
        Prtout("", "END", name);
        EXPECT_EQ(FirmHeadingBlock().top_lines, c.out_of_range ? 0 : c.top_lines);
        EXPECT_EQ(FirmHeadingBlock().top_lines_setting, c.top_lines);
        const int top = c.out_of_range ? 0 : c.top_lines;
        const auto lines = OutputLines();
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(3 * (4 + top) + (c.out_of_range ? 1 : 0)));
        const std::string notice = TopLinesNotice(FirmHeadingBlock());
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [&](const std::string& line) { return TrimRight(line) == notice; }),
                  c.out_of_range ? 1 : 0);
        if (c.out_of_range) {
            EXPECT_EQ(TrimRight(lines[4]), notice);
        }
    }
    EXPECT_EQ(
        TopLinesNotice(FirmHeading{.page_length = 58, .top_lines_setting = 32767}),
        " *** Page setting out of range: 32767 top lines on a page of 58 lines; printed without them ***");

    // Every report tells it: the next OUTPUT.TMP again, and a text report
    // under the heading of its first page only.
    TempDataDir dir;
    WriteCommon("ACME CAPITAL", 10, 32767);
    std::string name;
    Prtout("", "START", name);
    int16_t page = 1, line_count = 0, page_length = 0;
    Pghead(page, line_count, page_length);
    Prtout("", "END", name);
    EXPECT_EQ(OutputLines().size(), 5u);
    Openaw(4, "TEXTREP.TXT");
    page = 1;
    Headr3(page, line_count, page_length);
    EXPECT_EQ(line_count, 5);
    Headr3(page, line_count, page_length);
    EXPECT_EQ(line_count, 4);
    Close(4);
    const auto text = TextLines("TEXTREP.TXT");
    EXPECT_EQ(text.size(), 3u + 1u + 3u);
    EXPECT_EQ(std::count(text.begin(), text.end(), TopLinesNotice(FirmHeadingBlock())), 1);
}

TEST(ReportOutputHeadings, GcnKeepsHeadingWhenRecordMissing) {
    TempDataDir dir;
    WriteCommon("KEPT FIRM", 40, 1);
    Gcn();
    std::filesystem::remove(kCommonFile);
    Gcn();
    EXPECT_FALSE(TempDataDir::Exists(kCommonFile));  // reading makes no file
    EXPECT_EQ(FirmHeadingBlock().firm_name, Fixed("KEPT FIRM", 50));
    EXPECT_EQ(FirmHeadingBlock().page_length, 40);
    WriteCommon("HIDDEN FIRM", 40, 1, {{records::Opt::kNoFirmName, 1}});
    Gcn();
    EXPECT_EQ(FirmHeadingBlock().firm_name, std::string(50, ' '));
}

struct TextHeadingCase {
    const char* name;
    bool headr3;
    int16_t top_lines;
    std::vector<std::pair<records::Opt, unsigned char>> options;
    std::vector<std::string> expected;
    int16_t line_count;
};

TEST(ReportOutputHeadings, TextFileHeadings) {
    const std::string page = std::string(114, ' ') + "PAGE   3";
    const std::string firm = std::string(42, ' ') + Fixed("TEXT FIRM", 50);
    std::vector<TextHeadingCase> cases = {
        {"Headr3", true, 1, {}, {" ", page, firm, " "}, 5},
        {"Headr3 without firm name",
         true,
         3,
         {{records::Opt::kNoFirmName, 1}},
         {" ", " ", " ", page, " "},
         6},
        {"Headr3 without page number", true, 0, {{records::Opt::kNoPageNumbers, 1}}, {" ", firm, " "}, 4},
        {"Headr2", false, 2, {}, {" "}, 6},
        {"Headr2 without firm name", false, 2, {{records::Opt::kNoFirmName, 1}}, {" "}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        WriteCommon("TEXT FIRM", 50, c.top_lines, c.options);
        Openaw(4, "TEXTREP.TXT");
        int16_t pg = 3, line_count = 0, page_length = 0;
        if (c.headr3)
            Headr3(pg, line_count, page_length);
        else
            Headr2(pg, line_count, page_length);
        Close(4);
        EXPECT_EQ(pg, 4);
        EXPECT_EQ(line_count, c.line_count);
        EXPECT_EQ(page_length, 50);
        EXPECT_EQ(TextLines("TEXTREP.TXT"), c.expected);
    }
}

struct MessageCase {
    const char* name;
    const char* message_file;  // nullptr: no MESSAGE.TXT
    int16_t mode;
    int16_t line_count;
    std::size_t lines_written;
    int16_t final_count;
    const char* last_line;  // trimmed; nullptr when nothing is written
};

TEST(ReportOutputPrmsg, FillsPageAndAppendsMessage) {
    std::string seven;
    for (int i = 1; i <= 7; ++i) seven += "MESSAGE LINE " + std::to_string(i) + "\r\n";
    std::vector<MessageCase> cases = {
        {"five of seven message lines", seven.c_str(), 0, 50, 2 + 3 + 5, 60, "MESSAGE LINE 5"},
        {"two message lines", "ONE\r\nTWO\r\n", 0, 50, 2 + 3 + 2, 57, "TWO"},
        {"no message file", nullptr, 0, 50, 2 + 3, 55, ""},
        {"page already full", "ONE\r\n", 0, 54, 2 + 0 + 1, 56, "ONE"},
        {"mode 2 only counts", seven.c_str(), 2, 50, 0, 60, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        if (c.message_file) std::ofstream("MESSAGE.TXT") << c.message_file;
        std::string name;
        Prtout("", "START", name);
        int16_t line_count = c.line_count;
        Prmsg(line_count, 55, c.mode, std::string(132, ' '));
        Prtout("", "END", name);
        EXPECT_EQ(line_count, c.final_count);
        auto lines = OutputLines();
        EXPECT_EQ(lines.size(), c.lines_written);
        if (c.last_line != nullptr && !lines.empty()) {
            EXPECT_EQ(TrimRight(lines.back()), c.last_line);
        }
    }
}

// A run prints the message at every account: the file is created when
// missing, and what a run printed first it prints throughout; the next run
// prints the file as it then is.
TEST(ReportOutputPrmsg, EveryAccountOfARunAndTheNextRun) {
    TempDataDir dir;
    auto message_lines = [] {
        std::string name;
        Prtout("", "START", name);
        for (int account = 0; account < 3; ++account) {
            int16_t line_count = 0;
            Prmsg(line_count, 2, 0, std::string(132, ' '));
        }
        Prtout("", "END", name);
        std::vector<std::string> message;
        for (const std::string& line : OutputLines())
            if (!IsBlank(line)) message.push_back(TrimRight(line));
        return message;
    };
    {
        RunFileCache run;
        EXPECT_TRUE(message_lines().empty());
        EXPECT_TRUE(std::filesystem::exists("MESSAGE.TXT"));
    }
    std::ofstream("MESSAGE.TXT") << "NOTE\r\n";
    {
        RunFileCache run;
        EXPECT_EQ(message_lines(), std::vector<std::string>(3, "NOTE"));
    }
}

TEST(ReportOutputPrmsg, MessageLinesAreCutTo124Characters) {
    TempDataDir dir;
    std::ofstream("MESSAGE.TXT") << std::string(130, 'M') << "\r\n";
    std::string name;
    Prtout("", "START", name);
    int16_t line_count = 0;
    Prmsg(line_count, 2, 0, std::string(132, ' '));
    Prtout("", "END", name);
    auto lines = OutputLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], std::string(124, 'M') + std::string(8, ' '));
}

TEST(ReportOutputWindows, ReadsWindowFileAndDeletesItOnClose) {
    TempDataDir dir;
    {
        DirectFile f("O000007.TMP", 132);
        Record rec(132, ' ');
        rec.SetText(0, 4, "LINE");
        f.Write(1, rec);
        f.Write(2, rec);
    }
    std::string line;
    int16_t status = -1;
    Rdlin2(7, 2, line, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(line, Fixed("LINE", 132));
    Rdlin(3, line, status);
    EXPECT_EQ(status, 1);
    Clsdel(7);
    EXPECT_FALSE(TempDataDir::Exists("O000007.TMP"));
}

TEST(ReportOutputWindows, StartupTextConvertedOnceAndKept) {
    TempDataDir dir;
    std::ofstream("startup.txt") << "WELCOME TO LEDRA\r\n" << std::string(140, 'w') << "\r\n";
    std::string line;
    int16_t status = -1;
    Rdlin2(kStartupWindow, 1, line, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(TrimRight(line), "WELCOME TO LEDRA");
    Rdlin2(kStartupWindow, 2, line, status);
    EXPECT_EQ(line, std::string(132, 'w'));
    Rdlin2(kStartupWindow, 3, line, status);
    EXPECT_EQ(status, 1);
    Clsdel(kStartupWindow);
    EXPECT_TRUE(TempDataDir::Exists("startup.rpt"));
    // Converted once a run: a changed startup.txt is not read again, and the
    // text can be shown again after its window closed.
    std::ofstream("startup.txt") << "CHANGED\r\n";
    Rdlin2(kStartupWindow, 1, line, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(TrimRight(line), "WELCOME TO LEDRA");
    Clsdel(kStartupWindow);
}

}  // namespace

namespace {

TEST(ReportOutputAcopy, AReportWithoutALineLeavesAnEmptyFileNotAnEarlierOne) {
    fixtures::TempDataDir dir;
    std::string name;
    records::Prtout("", "START", name);
    records::Prtout("AN EARLIER REPORT");
    records::Prtout("", "END", name);
    records::Acopy("OUTPUT.TMP", "REPORT.TXT");
    records::Prtout("", "START", name);
    records::Prtout("", "END", name);
    records::Acopy("OUTPUT.TMP", "REPORT.TXT");
    ASSERT_TRUE(fixtures::TempDataDir::Exists("REPORT.TXT"));
    EXPECT_TRUE(fixtures::TempDataDir::ReadBytes("REPORT.TXT").empty());
}

}  // namespace
