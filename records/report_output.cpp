#include "records/report_output.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"

namespace records {

namespace {

constexpr int kLineUnit = 19;       // OUTPUT.TMP while a report is written; Acopy's source
constexpr int kTextReportUnit = 4;  // text file of the reports that write to a file directly
constexpr int kMessageUnit = 16;    // MESSAGE.TXT
constexpr int kStartupUnit = 39;    // startup.txt while it is converted
constexpr int kWindowUnit = 40;     // the line file a report window reads
constexpr int kHeadingLines = 4;    // a page heading's own lines below its top lines

// Record counter of the line writer: the number of lines in OUTPUT.TMP.
long g_line_count = 0;
// The top-lines notice has been written into the present OUTPUT.TMP.
bool g_top_lines_told = false;

// Start-up text state: converted once a run; a call for the start-up text
// right after another one finds unit 40 already connected to it.
bool g_startup_converted = false;
bool g_startup_connected = false;

// The start-up text's lines, 132 characters each, where startup.rpt could
// not be made or written whole (a read-only folder, a full disk, no
// permission): the window reads them from here instead, for the data
// directory they were read in.
struct KeptStartupText {
    bool kept = false;
    std::filesystem::path folder;
    std::vector<std::string> lines;
};
KeptStartupText g_startup_kept;

bool StartupTextKept() {
    if (!g_startup_kept.kept) return false;
    std::error_code error;
    return g_startup_kept.folder == std::filesystem::current_path(error);
}

// The first five lines of MESSAGE.TXT, cut or padded to 124 characters;
// opening it creates it empty when it is missing. A run that prints the
// message for every account reads the file at its first call only (the
// program never writes it); outside a run it is read at every call.
const std::vector<std::string>& MessageLines() {
    static std::vector<std::string> lines;
    static long lines_run = 0;
    const long run = CurrentRun();
    if (run != 0 && run == lines_run) return lines;
    lines.clear();
    Opena(kMessageUnit, kMessageFile);
    UnitGuard guard(kMessageUnit);
    std::string line;
    while (lines.size() < 5 && ReadLine(kMessageUnit, line)) lines.push_back(Fixed(line, 124));
    lines_run = run;
    return lines;
}

// The headings read COMMON.FIL without a unit: they run in the middle of
// report routines that hold most units open.
bool ReadCommonRecord(int n, Record& rec) {
    DirectFile common(kCommonFile, 128, /*create=*/false);
    return common.Read(n, rec);
}

// An option of the options record counts as set at 1 or more; the option
// bytes are signed, so a byte above 127 is not set. An options record that
// cannot be read sets nothing.
bool OptionSet(const Record& options, Opt option) {
    const std::size_t at = OptionIndex(option);
    return options.size() > at && static_cast<signed char>(options.data()[at]) >= 1;
}

// The page-number override: -1 none, else 0 or 1 (option 30 as the
// override gives it).
int g_page_number_override = -1;

Record ReadOptions() {
    Record options(128);
    if (!ReadCommonRecord(kOptionsRecord, options)) options = Record(128);
    return options;
}

bool PageNumbersSuppressedBy(const Record& options) {
    if (g_page_number_override >= 0) return g_page_number_override != 0;
    return OptionSet(options, Opt::kNoPageNumbers);
}

// Replaces one 2-byte field of record 13 and writes the record back.
void SetHeadingWord(std::size_t offset, int16_t value) {
    DirectFile common(kCommonFile, 128);
    Record rec(128);
    if (!common.Read(kFirmHeadingRecord, rec)) {
        rec = Record(128, ' ');
        rec.SetI16(60, 0);
        rec.SetI16(62, 0);
    }
    rec.SetI16(offset, value);
    common.Write(kFirmHeadingRecord, rec);
}

// The items of a text written character by character ("50A1").
std::vector<OutItem> CharItems(const std::string& text) {
    std::vector<OutItem> items;
    items.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) items.emplace_back(std::string_view(text).substr(i, 1));
    return items;
}

// The 132- and 80-column headings differ only in their two layouts.
void PageHeading(std::string_view page_layout, std::string_view firm_layout, int16_t& page,
                 int16_t& line_count, int16_t& page_length) {
    Gcn();
    Record options = ReadOptions();
    const FirmHeading& firm = FirmHeadingBlock();
    page_length = firm.page_length;
    for (int i = 0; i < firm.top_lines; ++i) Prtout(" ");
    Prtout(" ");
    if (PageNumbersSuppressedBy(options))
        Prtout(" ");
    else
        Prtout(Write(page_layout, {static_cast<long long>(page)}));
    Prtout(Write(firm_layout, CharItems(firm.firm_name)));
    Prtout(Write("(1X)"));
    ++page;
    line_count = 4;
    if (firm.top_lines_out_of_range && !g_top_lines_told) {
        Prtout(TopLinesNotice(firm));
        g_top_lines_told = true;
        ++line_count;
    }
}

// "O" + the window number in six digits + ".TMP": the number is written
// "(I6)" and its leading blanks become zeros.
std::string WindowFileName(int window) {
    std::string digits = Write("(I6)", {static_cast<long long>(window)});
    for (char& c : digits)
        if (c == ' ') c = '0';
    return "O" + digits + ".TMP";
}

}  // namespace

PageNumberOverride::PageNumberOverride(bool suppressed) : previous_(g_page_number_override) {
    g_page_number_override = suppressed ? 1 : 0;
}

PageNumberOverride::~PageNumberOverride() {
    g_page_number_override = previous_;
}

bool PageNumbersSuppressed() {
    return PageNumbersSuppressedBy(ReadOptions());
}

FirmHeading& FirmHeadingBlock() {
    static FirmHeading heading;
    return heading;
}

namespace {

// The command is the word when its first 12 characters, blank padded,
// are the word's: called for every report line, so without a copy.
bool IsCommand(std::string_view command, std::string_view word) {
    const std::string_view cut = command.substr(0, std::min<std::size_t>(command.size(), 12));
    if (cut.substr(0, std::min(cut.size(), word.size())) != word.substr(0, std::min(cut.size(), word.size())))
        return false;
    if (cut.size() < word.size())
        return word.substr(cut.size()).find_first_not_of(' ') == std::string_view::npos;
    return cut.substr(word.size()).find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

void Prtout(std::string_view line, std::string_view command, std::string& file_name) {
    if (IsCommand(command, "START")) {
        Purge(kReportWorkFile);
        Opn132(kLineUnit, kReportWorkFile);
        file_name = Fixed(kReportWorkFile, 12);
        g_line_count = 0;
        g_top_lines_told = false;
    } else if (IsCommand(command, "END")) {
        Close(kLineUnit);
    } else {
        Prtout(line);
    }
}

void Prtout(std::string_view line) {
    // One record for every line of the run, not one a line.
    static Record rec(kReportLineWidth);
    rec.SetText(0, kReportLineWidth, line);
    // A field never written holds zero bytes; on a report line, as on
    // paper, they are blanks. The padding is blanks already, so only a
    // line that holds a zero byte needs the pass.
    const std::size_t kept = std::min(line.size(), kReportLineWidth);
    if (kept > 0 && std::memchr(line.data(), 0, kept) != nullptr) {
        std::replace(rec.bytes().begin(), rec.bytes().end(), static_cast<unsigned char>(0),
                     static_cast<unsigned char>(' '));
    }
    ++g_line_count;
    WriteRecord(kLineUnit, g_line_count, rec);
}

void Acopy(std::string_view source, std::string_view target) {
    // The copy replaces the target whole (a report without a line leaves
    // an empty file, not the lines of an earlier run), and only once it is
    // complete: it is written beside the target and renamed over it, so a
    // copy that fails, or a run that lost lines of its report, keeps the
    // earlier file.
    Opn132(kLineUnit, source);
    UnitGuard source_guard(kLineUnit);
    TextReplacement copy(target);
    // The lines are read a large run at a time through one buffer (a
    // report of a whole firm is hundreds of megabytes, which read at once
    // would be memory to fault in and clear) and written through the
    // copy's buffer, not a call a line.
    std::vector<unsigned char> lines;
    for (long first = 1;; first += static_cast<long>(kAcopyChunkLines)) {
        if (!ReadRecords(kLineUnit, first, kAcopyChunkLines, lines) || lines.empty()) break;
        for (std::size_t at = 0; at + kReportLineWidth <= lines.size(); at += kReportLineWidth) {
            const std::string_view line(reinterpret_cast<const char*>(lines.data()) + at, kReportLineWidth);
            if (!copy.WriteLine(line)) return;
        }
        if (lines.size() < kAcopyChunkLines * kReportLineWidth) break;
    }
    copy.Commit();
}

void Gcn() {
    Record rec(128);
    if (!ReadCommonRecord(kFirmHeadingRecord, rec)) return;
    FirmHeading& firm = FirmHeadingBlock();
    firm.firm_name = rec.Text(0, 50);
    firm.spare = rec.Text(50, 10);
    firm.page_length = rec.I16(60);
    // Every heading writes this many blank lines at the top of each page: a
    // damaged count (up to 32,767, or 8,224 from blanks over both words)
    // would bury every page in blank lines. A count fits when the page keeps
    // room for the heading's own lines and one line of the report.
    firm.top_lines_setting = rec.I16(62);
    firm.top_lines_out_of_range =
        firm.top_lines_setting < 0 ||
        (firm.top_lines_setting > 0 && firm.top_lines_setting + kHeadingLines >= firm.page_length);
    firm.top_lines = firm.top_lines_out_of_range ? int16_t{0} : firm.top_lines_setting;
    if (OptionSet(ReadOptions(), Opt::kNoFirmName)) firm.firm_name = std::string(50, ' ');
}

std::string TopLinesNotice(const FirmHeading& firm) {
    return " *** Page setting out of range: " + std::to_string(firm.top_lines_setting) +
           " top lines on a page of " + std::to_string(firm.page_length) + " lines; printed without them ***";
}

void Setpgl(int16_t page_length) {
    SetHeadingWord(60, page_length);
}

void Settop(int16_t top_lines) {
    SetHeadingWord(62, top_lines);
}

void Pghead(int16_t& page, int16_t& line_count, int16_t& page_length) {
    PageHeading("(109X,'PAGE ',I3)", "(42X,50A1)", page, line_count, page_length);
}

void Hdr80(int16_t& page, int16_t& line_count, int16_t& page_length) {
    PageHeading("(72X,'PAGE ',I3)", "(16X,50A1)", page, line_count, page_length);
}

void Headr3(int16_t& page, int16_t& line_count, int16_t& page_length) {
    Gcn();
    Record options = ReadOptions();
    const FirmHeading& firm = FirmHeadingBlock();
    // Each top line is a blank followed by the line end.
    for (int i = 0; i < firm.top_lines; ++i) WriteLine(kTextReportUnit, " ");
    if (PageNumbersSuppressedBy(options))
        WriteLine(kTextReportUnit, Write("(1X)"));
    else
        WriteLine(kTextReportUnit, Write("(114X,'PAGE ',I3)", {static_cast<long long>(page)}));
    bool firm_written = !OptionSet(options, Opt::kNoFirmName);
    if (firm_written) WriteLine(kTextReportUnit, Write("(42X,50A1)", CharItems(firm.firm_name)));
    WriteLine(kTextReportUnit, Write("(1X)"));
    line_count = static_cast<int16_t>(firm.top_lines + 3 + (firm_written ? 1 : 0));
    if (firm.top_lines_out_of_range && page <= 1) {
        WriteLine(kTextReportUnit, TopLinesNotice(firm));
        ++line_count;
    }
    ++page;
    page_length = firm.page_length;
}

void Headr2(int16_t& page, int16_t& line_count, int16_t& page_length) {
    Gcn();
    Record options = ReadOptions();
    const FirmHeading& firm = FirmHeadingBlock();
    if (page > 1) Peject();
    WriteLine(kTextReportUnit, Write("(1X)"));
    line_count = static_cast<int16_t>(firm.top_lines + 3 + (OptionSet(options, Opt::kNoFirmName) ? 0 : 1));
    if (firm.top_lines_out_of_range && page <= 1) {
        WriteLine(kTextReportUnit, TopLinesNotice(firm));
        ++line_count;
    }
    ++page;
    page_length = firm.page_length;
}

void Peject() {}

void Prmsg(int16_t& line_count, int16_t page_length, int16_t mode, std::string_view spacing_line) {
    bool writing = mode != 2;
    if (writing) {
        Prtout(spacing_line);
        Prtout(spacing_line);
    }
    line_count = static_cast<int16_t>(line_count + 2);
    const std::vector<std::string>& message = MessageLines();
    if (writing)
        for (int i = page_length - line_count; i > 0; --i) Prtout(spacing_line);
    line_count = page_length;
    for (const std::string& line : message) {
        if (writing) Prtout(line);
        line_count = static_cast<int16_t>(line_count + 1);
    }
}

namespace {

// Converts startup.txt into startup.rpt, one 132-byte record a line. A
// startup.rpt that cannot be made or written whole is removed again and
// the lines are kept in memory for the window.
void ConvertStartupText() {
    std::vector<std::string> lines;
    {
        Opena(kStartupUnit, kStartupText);
        UnitGuard text_guard(kStartupUnit);
        std::string line;
        while (ReadLine(kStartupUnit, line)) lines.push_back(Fixed(line, kReportLineWidth));
    }
    Purge(kStartupReport);
    Opn132(kWindowUnit, kStartupReport);
    bool whole = IsOpen(kWindowUnit);
    Record rec(kReportLineWidth);
    for (std::size_t i = 0; whole && i < lines.size(); ++i) {
        rec.SetText(0, kReportLineWidth, lines[i]);
        whole = WriteRecord(kWindowUnit, static_cast<long>(i) + 1, rec);
    }
    g_startup_kept = KeptStartupText{};
    if (whole) {
        Close(kWindowUnit);
    } else {
        CloseDelete(kWindowUnit);
        std::error_code error;
        g_startup_kept = {true, std::filesystem::current_path(error), std::move(lines)};
    }
    g_startup_converted = true;
}

}  // namespace

void Strtrp(int window) {
    if (window == kStartupWindow && g_startup_connected && (StartupTextKept() || IsOpen(kWindowUnit))) return;
    // Unit 40 stays connected to the line file of the window read last, so
    // every read of a window connects it again: the connection it held is
    // dropped here, not by the open.
    Close(kWindowUnit);
    if (window == kStartupWindow) {
        // Converted once a run; again only when startup.rpt has gone (lines
        // kept in memory serve their data directory's run).
        if (!g_startup_converted ||
            (!StartupTextKept() && !DirectFile(kStartupReport, kReportLineWidth, /*create=*/false).ok()))
            ConvertStartupText();
        if (!StartupTextKept()) Opn132(kWindowUnit, kStartupReport);
        g_startup_connected = true;
        return;
    }
    g_startup_connected = false;
    Opn132(kWindowUnit, WindowFileName(window));
}

void Rdlin(long record, std::string& line, int16_t& status) {
    Record rec;
    if (ReadRecord(kWindowUnit, record, rec)) {
        line = rec.Text(0, kReportLineWidth);
        status = 0;
    } else {
        status = 1;
    }
}

void Rdlin2(int window, long record, std::string& line, int16_t& status) {
    Strtrp(window);
    if (window == kStartupWindow && StartupTextKept()) {
        const std::vector<std::string>& lines = g_startup_kept.lines;
        status = record >= 1 && record <= static_cast<long>(lines.size()) ? 0 : 1;
        if (status == 0) line = lines[static_cast<std::size_t>(record - 1)];
        return;
    }
    Rdlin(record, line, status);
}

void Clsdel(int window) {
    Strtrp(window);
    if (window == kStartupWindow)
        Close(kWindowUnit);
    else
        CloseDelete(kWindowUnit);
    g_startup_connected = false;
}

}  // namespace records
