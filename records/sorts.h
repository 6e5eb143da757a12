#pragma once

// Sorts: one Shell sort in several key widths that carries companion arrays
// along (tags, as a rule record numbers, and 8-character identifiers), the
// external sort of long account lists through the work files SORT1.DAT to
// SORT9.DAT, and the turning of a name last word first for sorting.
//
// Every in-memory sort works on the first n entries of its vectors (n is
// cut to the shortest vector; below 2 nothing is done). Numeric keys sort
// ascending and equal keys are left in place. Text keys of a fixed width
// sort ascending byte by byte as signed character codes, so characters above
// 127 come before all ASCII characters; equal keys are exchanged.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// 4-byte float keys.
void Shell(int n, std::vector<float>& keys, std::vector<int16_t>& tags);
// 8-byte float keys (two names for one routine).
void Sheldb(int n, std::vector<double>& keys, std::vector<int16_t>& tags);
void Shelda(int n, std::vector<double>& keys, std::vector<int16_t>& tags);
// 12-, 16- and 8-character keys with tags.
void Shel12(int n, std::vector<std::string>& keys, std::vector<int16_t>& tags);
void Shel16(int n, std::vector<std::string>& keys, std::vector<int16_t>& tags);
void Shlk8(int n, std::vector<std::string>& keys, std::vector<int16_t>& tags);
// 16- and 32-character keys carrying identifiers and tags.
void Shlk16(int n, std::vector<std::string>& keys, std::vector<std::string>& identifiers,
            std::vector<int16_t>& tags);
void Shlk32(int n, std::vector<std::string>& keys, std::vector<std::string>& identifiers,
            std::vector<int16_t>& tags);

// Sort kinds of the external sort.
enum SortKind : int {
    kSortByIdentifier = 1,  // the 8-character identifier itself
    kSortByKey32 = 2,       // a 32-character key
    kSortByKey16 = 3,       // a 16-character key
};

// Sorts the n entries by kind (identifiers with Shlk8, or the 32- or
// 16-character keys with Shlk32 or Shlk16; any other kind sorts by the
// identifiers) and writes them to SORTk.DAT (unit 16) as records 1 to n:
// bytes 1-2 the tag, 3-10 the identifier, then the key of kinds 2 and 3.
// The file is made anew, so it holds exactly this run. Sets n to 0. A file
// number outside 1-9 writes nothing and leaves n as it was.
void Wrsort(int& n, std::vector<std::string>& identifiers, std::vector<int16_t>& tags, int file_number,
            int kind, std::vector<std::string>& keys16, std::vector<std::string>& keys32);

// What the caller keeps between merge steps.
struct MergeState {
    int output_record = 1;            // next record of the output file
    int buffer_count = 0;             // identifiers waiting in buffer
    std::vector<int> read_positions;  // next record of each SORTi.DAT
    std::vector<std::string> buffer = std::vector<std::string>(16, std::string(8, ' '));
};

// One merge step over the sorted runs that the caller has open, SORTi.DAT
// on unit 11 + i for i = 1 to files, into the file open on unit 8: finds the
// least head by kind, returns its tag in winning_tag (unchanged when every
// run is exhausted), advances that run and appends the winner's identifier
// to the buffer. A full buffer (16 identifiers), or a flush with identifiers
// waiting, is written as the next output record: the layout of an account
// index record.
void Rdsort(int files, MergeState& state, int16_t& winning_tag, int kind, int flush);

// Searches text from position `to` down to `from` (1-based). Mode 1 finds
// the last character that is neither c nor NUL (status 2 when there is
// none); any other mode finds the last c (status 1 when there is none). A
// from or to below 1 gives status 3. position is 0 unless found; a `to`
// past the end of text is taken as its last position.
void Fndpos(std::string_view text, char c, int from, int to, int& position, int mode, int& status);

// Turns a 32-character name last word first ("ALPHA B GAMMA" becomes
// "GAMMA ALPHA B"); a blank or one-word name is left alone.
void Reordr(std::string& name);

}  // namespace records
