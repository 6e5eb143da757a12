#include "records/sorts.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"

namespace records {

namespace {

// Shell's method with gaps n/2, n/4, ..., 1 on 0-based entries: each entry
// moves down past the entries that are out of order with it. in_order(a, b)
// tells whether entry b may stay after entry a; swap(a, b) exchanges the
// entries and everything carried with them.
template <class InOrder, class Swap>
void ShellSort(int n, InOrder in_order, Swap swap) {
    for (int gap = n / 2; gap >= 1; gap /= 2)
        for (int i = 0; i + gap < n; ++i)
            for (int j = i; j >= 0; j -= gap) {
                if (in_order(j, j + gap)) break;
                swap(j, j + gap);
            }
}

// The number of entries a sort may touch: n, cut to every vector's size.
int Usable(int n, std::initializer_list<std::size_t> sizes) {
    for (std::size_t s : sizes) n = std::min<int>(n, static_cast<int>(s));
    return n;
}

// Compares two text keys of the given width byte by byte as signed codes;
// characters missing from a short key count as blanks. Negative, zero or
// positive as a is before, equal to or after b.
int CompareSigned(const std::string& a, const std::string& b, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        const signed char ca = static_cast<signed char>(i < a.size() ? a[i] : ' ');
        const signed char cb = static_cast<signed char>(i < b.size() ? b[i] : ' ');
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return 0;
}

template <class Number>
void SortNumbers(int n, std::vector<Number>& keys, std::vector<int16_t>& tags) {
    n = Usable(n, {keys.size(), tags.size()});
    ShellSort(
        n,
        [&](int a, int b) { return keys[static_cast<std::size_t>(b)] >= keys[static_cast<std::size_t>(a)]; },
        [&](int a, int b) {
            std::swap(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]);
            std::swap(tags[static_cast<std::size_t>(a)], tags[static_cast<std::size_t>(b)]);
        });
}

// Text keys with tags and, when given, identifiers. Keys equal in every
// position count as out of order and are exchanged.
void SortTexts(int n, std::size_t width, std::vector<std::string>& keys,
               std::vector<std::string>* identifiers, std::vector<int16_t>& tags) {
    n = Usable(n, {keys.size(), tags.size()});
    if (identifiers != nullptr) n = Usable(n, {identifiers->size()});
    ShellSort(
        n,
        [&](int a, int b) {
            return CompareSigned(keys[static_cast<std::size_t>(b)], keys[static_cast<std::size_t>(a)],
                                 width) > 0;
        },
        [&](int a, int b) {
            const auto ua = static_cast<std::size_t>(a);
            const auto ub = static_cast<std::size_t>(b);
            std::swap(keys[ua], keys[ub]);
            std::swap(tags[ua], tags[ub]);
            if (identifiers != nullptr) std::swap((*identifiers)[ua], (*identifiers)[ub]);
        });
}

// Sorts identifiers, keys and tags by the sort kind.
void SortByKind(int n, int kind, std::vector<std::string>& identifiers, std::vector<int16_t>& tags,
                std::vector<std::string>& keys16, std::vector<std::string>& keys32) {
    if (kind == kSortByKey32)
        Shlk32(n, keys32, identifiers, tags);
    else if (kind == kSortByKey16)
        Shlk16(n, keys16, identifiers, tags);
    else
        Shlk8(n, identifiers, tags);
}

std::size_t KeyWidth(int kind) {
    if (kind == kSortByKey32) return 32;
    if (kind == kSortByKey16) return 16;
    return 0;
}

constexpr int kWorkUnit = 16;   // SORTk.DAT while Wrsort writes it
constexpr int kOutputUnit = 8;  // the merge's output file
constexpr std::size_t kBufferSize = 16;

void WriteBuffer(MergeState& state) {
    Record rec(128, ' ');
    for (std::size_t i = 0; i < kBufferSize; ++i) rec.SetText(8 * i, 8, state.buffer[i]);
    WriteRecord(kOutputUnit, state.output_record, rec);
    ++state.output_record;
    state.buffer_count = 0;
    std::fill(state.buffer.begin(), state.buffer.end(), std::string(8, ' '));
}

}  // namespace

void Shell(int n, std::vector<float>& keys, std::vector<int16_t>& tags) {
    SortNumbers(n, keys, tags);
}
void Sheldb(int n, std::vector<double>& keys, std::vector<int16_t>& tags) {
    SortNumbers(n, keys, tags);
}
void Shelda(int n, std::vector<double>& keys, std::vector<int16_t>& tags) {
    SortNumbers(n, keys, tags);
}

void Shel12(int n, std::vector<std::string>& keys, std::vector<int16_t>& tags) {
    SortTexts(n, 12, keys, nullptr, tags);
}
void Shel16(int n, std::vector<std::string>& keys, std::vector<int16_t>& tags) {
    SortTexts(n, 16, keys, nullptr, tags);
}
void Shlk8(int n, std::vector<std::string>& keys, std::vector<int16_t>& tags) {
    SortTexts(n, 8, keys, nullptr, tags);
}
void Shlk16(int n, std::vector<std::string>& keys, std::vector<std::string>& identifiers,
            std::vector<int16_t>& tags) {
    SortTexts(n, 16, keys, &identifiers, tags);
}
void Shlk32(int n, std::vector<std::string>& keys, std::vector<std::string>& identifiers,
            std::vector<int16_t>& tags) {
    SortTexts(n, 32, keys, &identifiers, tags);
}

void Wrsort(int& n, std::vector<std::string>& identifiers, std::vector<int16_t>& tags, int file_number,
            int kind, std::vector<std::string>& keys16, std::vector<std::string>& keys32) {
    if (file_number < 1 || file_number > 9) return;
    const std::size_t width = KeyWidth(kind);
    std::vector<std::string>& keys = kind == kSortByKey32 ? keys32 : keys16;
    int count = Usable(std::max(n, 0), {identifiers.size(), tags.size()});
    if (width > 0) count = Usable(count, {keys.size()});
    SortByKind(count, kind, identifiers, tags, keys16, keys32);

    const std::string name = Write("('SORT',I1,'.DAT   ')", {static_cast<long long>(file_number)});
    // A run file from an earlier, longer run would leave stale entries past
    // this run's end for the merge to read.
    Purge(name);
    Open(kWorkUnit, name);
    UnitGuard guard(kWorkUnit);
    for (int i = 0; i < count; ++i) {
        const auto u = static_cast<std::size_t>(i);
        Record rec(128, 0);
        rec.SetI16(0, tags[u]);
        rec.SetText(2, 8, identifiers[u]);
        if (width > 0) rec.SetText(10, width, keys[u]);
        WriteRecord(kWorkUnit, i + 1, rec);
    }
    n = 0;
}

void Rdsort(int files, MergeState& state, int16_t& winning_tag, int kind, int flush) {
    files = std::max(files, 0);
    if (static_cast<int>(state.read_positions.size()) < files)
        state.read_positions.resize(static_cast<std::size_t>(files), 1);
    state.buffer.resize(kBufferSize, std::string(8, ' '));
    state.buffer_count = std::clamp(state.buffer_count, 0, static_cast<int>(kBufferSize));
    if (state.buffer_count == static_cast<int>(kBufferSize)) WriteBuffer(state);

    // The head of each run: blank with tag 0 when the run is exhausted.
    const std::size_t width = KeyWidth(kind);
    const auto count = static_cast<std::size_t>(files);
    std::vector<std::string> identifiers(count, std::string(8, ' '));
    std::vector<std::string> keys(count, std::string(width == 0 ? 16 : width, ' '));
    std::vector<int16_t> tags(count, 0);
    Record rec;
    for (std::size_t i = 0; i < count; ++i) {
        if (!ReadRecord(12 + static_cast<int>(i), state.read_positions[i], rec)) continue;
        tags[i] = rec.I16(0);
        identifiers[i] = rec.Text(2, 8);
        if (width > 0) keys[i] = rec.Text(10, width);
    }
    const std::vector<int16_t> file_tags = tags;
    std::vector<std::string> unused;
    SortByKind(files, kind, identifiers, tags, kind == kSortByKey16 ? keys : unused,
               kind == kSortByKey32 ? keys : unused);

    std::size_t winner = count;
    for (std::size_t i = 0; i < count && winner == count; ++i)
        if (tags[i] > 0) winner = i;
    if (winner < count) {
        winning_tag = tags[winner];
        for (std::size_t i = 0; i < count; ++i)
            if (file_tags[i] == winning_tag) {
                ++state.read_positions[i];
                break;
            }
        state.buffer[static_cast<std::size_t>(state.buffer_count)] = Fixed(identifiers[winner], 8);
        ++state.buffer_count;
    }
    // Every run exhausted: nothing is appended.
    if (state.buffer_count == static_cast<int>(kBufferSize) || (flush >= 1 && state.buffer_count > 0))
        WriteBuffer(state);
}

void Fndpos(std::string_view text, char c, int from, int to, int& position, int mode, int& status) {
    status = 0;
    position = 0;
    if (from < 1 || to < 1) {
        status = 3;
        return;
    }
    to = std::min<int>(to, static_cast<int>(text.size()));
    for (int p = to; p >= from; --p) {
        const char ch = text[static_cast<std::size_t>(p - 1)];
        const bool hit = mode == 1 ? (ch != c && ch != '\0') : ch == c;
        if (hit) {
            position = p;
            return;
        }
    }
    status = mode == 1 ? 2 : 1;
}

void Reordr(std::string& name) {
    const std::string work = Fixed(name, 32);
    int last = 0, status = 0;
    Fndpos(work, ' ', 1, 32, last, 1, status);
    if (status != 0) return;
    int blank = 0;
    Fndpos(work, ' ', 1, last - 1, blank, 0, status);
    if (status != 0) return;
    const auto b = static_cast<std::size_t>(blank);
    name = Fixed(work.substr(b, static_cast<std::size_t>(last) - b) + " " + work.substr(0, b), 32);
}

}  // namespace records
