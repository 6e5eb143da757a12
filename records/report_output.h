#pragma once

// Report line output. A report routine never prints: it writes 132-column
// lines one after another into the work file OUTPUT.TMP through Prtout,
// starts every page with a shared heading (top blank lines, the page-number
// line, the firm name, a blank line) and leaves the file to the window
// layer, which shows, prints or copies it (Acopy). Report windows read
// their own copy of the file record by record through unit 40.

#include <cstdint>
#include <string>
#include <string_view>

namespace records {

inline constexpr const char* kReportWorkFile = "OUTPUT.TMP";
inline constexpr const char* kMessageFile = "MESSAGE.TXT";
inline constexpr const char* kStartupText = "startup.txt";
inline constexpr const char* kStartupReport = "startup.rpt";
inline constexpr std::size_t kReportLineWidth = 132;
// Window number of the start-up text for Strtrp, Rdlin2 and Clsdel.
inline constexpr int kStartupWindow = -2;

// The firm heading of COMMON.FIL record 13 as the heading routines keep it
// in memory: firm name (bytes 1-50), ten bytes not used here (51-60), the
// page length (61-62) and the number of blank lines above each heading
// (63-64).
struct FirmHeading {
    std::string firm_name = std::string(50, ' ');
    std::string spare = std::string(10, ' ');
    int16_t page_length = 0;
    int16_t top_lines = 0;
    // The top-lines count as record 13 holds it, and whether it was out of
    // range (below 0 or more than the page length) and so taken as 0.
    int16_t top_lines_setting = 0;
    bool top_lines_out_of_range = false;
};

// The report line that says a page's top-lines setting was out of range.
std::string TopLinesNotice(const FirmHeading& firm);

// The in-memory firm heading that Gcn fills; report routines take the firm
// name for their own headings from here after calling Gcn.
FirmHeading& FirmHeadingBlock();

// The line writer. Commands are compared over 12 characters: "START"
// deletes any old OUTPUT.TMP, opens a new one on unit 19, puts its name
// into file_name and restarts the line counter; "END" closes unit 19; any
// other command (report routines pass a blank) writes the line, cut or
// blank-padded to 132 characters, as the next record (zero bytes, of
// fields never written, as blanks).
void Prtout(std::string_view line, std::string_view command, std::string& file_name);
// Writes one report line (the blank command).
void Prtout(std::string_view line);

// Copies a line file (132-byte records) into a text file, one 132-character
// line per record from record 1 up to the first record that cannot be read.
// The text file is made anew (a line file without a record gives an empty
// text file) beside the target and renamed over it (TextReplacement): a
// copy that could not be written whole, or one made in a run that lost
// writes (the line file's own among them), leaves the earlier file as it
// was, and the run's failed writes name the target.
void Acopy(std::string_view source, std::string_view target);
// The lines Acopy reads at a time.
inline constexpr std::size_t kAcopyChunkLines = 4096;

// Loads the firm heading from COMMON.FIL record 13; with option 33 set the
// firm name is blanked. A top-lines count that does not fit the page (below
// 0 or above the page length, as a damaged record may hold) is taken as 0,
// and the block says so. A record that cannot be read leaves the block as
// it was.
void Gcn();
// Store a new page length or number of top blank lines in record 13,
// keeping the rest of the record.
void Setpgl(int16_t page_length);
void Settop(int16_t top_lines);

// Option 30 of the options record leaves the page numbers off report pages.
// Printing needs the page-number lines to find where pages start, so while
// it reruns a report it holds a PageNumberOverride: for the life of the
// object the headings take option 30 as `suppressed` instead of reading it,
// and COMMON.FIL is left alone (a crash cannot leave the option changed).
// Overrides nest; the innermost one counts.
class PageNumberOverride {
public:
    explicit PageNumberOverride(bool suppressed);
    ~PageNumberOverride();
    PageNumberOverride(const PageNumberOverride&) = delete;
    PageNumberOverride& operator=(const PageNumberOverride&) = delete;

private:
    int previous_;
};

// Whether report pages go without page numbers: the override while one
// lives, else option 30 of the options record. Report routines that write
// page lines of their own ask here.
bool PageNumbersSuppressed();

// The 132-column page heading through Prtout: top blank lines, a blank
// line, "PAGE nnn" in columns 110-117 (a blank line with option 30 set), the
// firm name in columns 43-92 and a blank line. Raises the page number, sets
// the line count to 4 (top lines not counted) and hands back the page
// length of record 13. A top-lines setting out of range is told once in the
// report (once in each OUTPUT.TMP): the notice line follows the heading and
// is counted.
void Pghead(int16_t& page, int16_t& line_count, int16_t& page_length);
// The same for 80-column reports: "PAGE" in columns 73-76, the firm name in
// columns 17-66.
void Hdr80(int16_t& page, int16_t& line_count, int16_t& page_length);
// The 132-column heading written to the text file the report routine has
// open on unit 4 (the top lines are counted here). A top-lines setting out
// of range is told under the heading of page 1, and counted.
void Headr3(int16_t& page, int16_t& line_count, int16_t& page_length);
// Page accounting for reports to unit 4 that print their own title block:
// one blank line to unit 4 (and on page 1 the notice of a top-lines setting
// out of range, counted).
void Headr2(int16_t& page, int16_t& line_count, int16_t& page_length);
// Page eject hook between pages: does nothing.
void Peject();

// The closing message: two spacing lines, filler to the page bottom, then
// up to five lines of MESSAGE.TXT (first 124 characters each). Mode 2
// counts the lines without writing any.
void Prmsg(int16_t& line_count, int16_t page_length, int16_t mode, std::string_view spacing_line);

// Reading report line files on unit 40. Strtrp connects the line file of a
// report window ("O" + six-digit number + ".TMP") or, for window number -2,
// of the start-up text, converting startup.txt into startup.rpt on the
// first call of the run. Where startup.rpt cannot be made or written whole
// (a data directory that cannot be written) none is left, and the start-up
// text's lines are kept in memory for the run instead: Rdlin2 reads them
// there, unit 40 stays closed.
void Strtrp(int window);
// Reads record n of unit 40; status 0, or 1 when it cannot be read (the end
// of the report).
void Rdlin(long record, std::string& line, int16_t& status);
// Strtrp, then record n of the window's lines as Rdlin reads it.
void Rdlin2(int window, long record, std::string& line, int16_t& status);
// Closes unit 40: the start-up text is kept, a report window's file deleted.
void Clsdel(int window);

}  // namespace records
