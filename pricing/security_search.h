#pragma once

// The securities an import line can name: one table per import run, read
// once from SECURITY.IDX (the symbols) and SECURITY.REC (the CUSIPs and the
// security types), so that each line is looked up in memory instead of by
// walking both files again.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pricing {

// How import lines name their securities.
enum class Identification { kSymbol, kCusip };

class SecuritySearch {
public:
    // Reads the security list of the data directory. Deleted ("$$$$")
    // entries are never found. The files are walked in entry order up to
    // the first entry whose index key or record cannot be read: a line
    // looked up past it would have met the failed read first.
    static SecuritySearch Load();

    // The number of securities SECURITY.IDX record 1 gives; 0 when it
    // cannot be read.
    int Count() const { return count_; }

    // The entry (from 1) of the first security, in entry order, whose
    // symbol or CUSIP agrees with the identifier over its first `width`
    // characters (12, or 8 for the layouts with 8-character identifiers);
    // 0 when none does.
    int Find(std::string_view identifier, Identification by, std::size_t width) const;

    // The security type character of an entry found by Find.
    char Type(int entry) const;

private:
    struct Entry {
        int entry = 0;
        std::string symbol;
        std::string cusip;
        char type = ' ';
    };
    const std::unordered_map<std::string, int>& Map(Identification by, std::size_t width) const;

    int count_ = 0;
    std::vector<Entry> entries_;  // in entry order; entries_[i].entry is not i + 1 past deleted ones
    std::unordered_map<int, std::size_t> place_;
    mutable std::unordered_map<std::size_t, std::unordered_map<std::string, int>> maps_[2];
};

}  // namespace pricing
