#pragma once

// The holdings index of the assets under management run: for each distinct
// security of MSTRSUMM.HLD the chain of its record numbers in writing order.
// Securities are told apart by a numeric key made of the first eight
// characters of the symbol, so symbols that agree in those share an entry.
// Entries are found through 128 hash buckets (the third byte of the key's
// little-endian bytes, AND 127, plus 1), new entries going to the front of
// their bucket. Record numbers are kept in 32-bit words, so the index holds
// as many records as the work file's 16-bit count allows.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace reports {

// The key of a symbol: sum over its first eight characters c1..c8 of
// code(ck) x 100^(8 - k), the character code taken as a signed byte, each
// term in double precision. For upper-case letters, digits and blanks the
// order of keys is the alphabetical order of the eight characters.
double HoldingKey(std::string_view symbol);

// The bucket (1-128) of a key.
int HoldingBucket(double key);

class HoldingsIndex {
public:
    static constexpr int kBucketCount = 1024;  // heads kept; buckets 1-128 used

    struct Entry {
        double key = 0;
        int32_t first_record = 0;
        int32_t last_record = 0;
        int32_t next_in_bucket = 0;  // entry number, 0 at the end
    };

    // Aumclr: empties the index.
    void Aumclr();
    // Aumidx: enters record number `record` under `key`; the symbol is not
    // used (the key stands for it).
    void Aumidx(double key, int32_t record, std::string_view symbol = {});

    int entry_count() const { return static_cast<int>(entries_.size()); }
    // Entry i (1 to entry_count()).
    const Entry& entry(int i) const { return entries_[static_cast<std::size_t>(i - 1)]; }
    // The record after `record` in its security's chain; -1 after the last.
    int32_t next_record(int32_t record) const;
    // The head (entry number, 0 when empty) of bucket b (1 on).
    int32_t bucket_head(int b) const { return buckets_[static_cast<std::size_t>(b - 1)]; }

    // The entry numbers ordered by key (ascending; equal keys keep their
    // order), as the page writer takes the securities.
    std::vector<int16_t> SortedEntries() const;

private:
    std::vector<Entry> entries_;
    std::vector<int32_t> next_record_;  // [record]
    std::array<int32_t, kBucketCount> buckets_{};
};

}  // namespace reports
