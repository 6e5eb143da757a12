#include "reports/aum/aum_index.h"

#include <cstring>

#include "records/sorts.h"

namespace reports {

double HoldingKey(std::string_view symbol) {
    double key = 0;
    double weight = 1e14;  // 100^7 for the first character
    for (std::size_t k = 0; k < 8; ++k) {
        const char c = k < symbol.size() ? symbol[k] : ' ';
        key += static_cast<double>(static_cast<signed char>(c)) * weight;
        weight /= 100.0;
    }
    return key;
}

int HoldingBucket(double key) {
    unsigned char bytes[8];
    std::memcpy(bytes, &key, 8);  // little-endian, as the record files store it
    return (bytes[2] & 127) + 1;
}

void HoldingsIndex::Aumclr() {
    entries_.clear();
    next_record_.clear();
    buckets_.fill(0);
}

void HoldingsIndex::Aumidx(double key, int32_t record, std::string_view) {
    if (record < 1) return;
    if (static_cast<std::size_t>(record) >= next_record_.size()) next_record_.resize(record + 1, 0);
    const int b = HoldingBucket(key);
    int32_t& head = buckets_[static_cast<std::size_t>(b - 1)];
    for (int32_t j = head; j != 0; j = entries_[static_cast<std::size_t>(j - 1)].next_in_bucket) {
        Entry& e = entries_[static_cast<std::size_t>(j - 1)];
        if (e.key != key) continue;
        next_record_[static_cast<std::size_t>(e.last_record)] = record;
        e.last_record = record;
        next_record_[static_cast<std::size_t>(record)] = -1;
        return;
    }
    entries_.push_back({key, record, record, head});
    head = static_cast<int32_t>(entries_.size());
    next_record_[static_cast<std::size_t>(record)] = -1;
}

int32_t HoldingsIndex::next_record(int32_t record) const {
    if (record < 1 || static_cast<std::size_t>(record) >= next_record_.size()) return -1;
    return next_record_[static_cast<std::size_t>(record)];
}

std::vector<int16_t> HoldingsIndex::SortedEntries() const {
    const int n = entry_count();
    std::vector<double> keys(static_cast<std::size_t>(n));
    std::vector<int16_t> tags(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        keys[static_cast<std::size_t>(i)] = entries_[static_cast<std::size_t>(i)].key;
        tags[static_cast<std::size_t>(i)] = static_cast<int16_t>(i + 1);
    }
    records::Sheldb(n, keys, tags);
    return tags;
}

}  // namespace reports
