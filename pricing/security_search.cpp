#include "pricing/security_search.h"

#include <algorithm>

#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/security_file.h"

namespace pricing {

SecuritySearch SecuritySearch::Load() {
    SecuritySearch search;
    // Opened without creating: an import into a directory without
    // securities leaves no empty files behind.
    const records::DirectFile index(records::kSecurityIndex, 128, /*create=*/false);
    records::Record rec;
    if (!index.ok() || !index.Read(1, rec)) return search;
    search.count_ = std::max<int>(rec.I16(0), 0);
    if (search.count_ == 0) return search;
    const records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
    records::Record keys;
    for (int n = 1; n <= search.count_; ++n) {
        const int place = (n - 1) % records::kSecurityKeysPerRecord;
        if (place == 0 && !index.Read(2 + (n - 1) / records::kSecurityKeysPerRecord, keys)) break;
        const std::string key = keys.Text(static_cast<std::size_t>(place) * records::kSecurityKeyWidth,
                                          records::kSecurityKeyWidth);
        if (records::IsDeletedKey(key)) continue;
        if (!securities.ok() || !securities.Read(n, rec)) break;
        Entry e;
        e.entry = n;
        e.symbol = key;
        const records::SecurityRecord security = records::SecurityRecord::Decode(rec);
        e.cusip = security.cusip;
        e.type = security.TypeCharacter();
        search.place_[n] = search.entries_.size();
        search.entries_.push_back(std::move(e));
    }
    return search;
}

const std::unordered_map<std::string, int>& SecuritySearch::Map(Identification by, std::size_t width) const {
    auto& maps = maps_[by == Identification::kCusip ? 1 : 0];
    auto it = maps.find(width);
    if (it != maps.end()) return it->second;
    std::unordered_map<std::string, int>& map = maps[width];
    for (const Entry& e : entries_) {
        const std::string& text = by == Identification::kCusip ? e.cusip : e.symbol;
        map.emplace(records::Fixed(text, width), e.entry);  // the first in entry order stays
    }
    return map;
}

int SecuritySearch::Find(std::string_view identifier, Identification by, std::size_t width) const {
    const auto& map = Map(by, width);
    const auto it = map.find(records::Fixed(identifier, width));
    return it == map.end() ? 0 : it->second;
}

char SecuritySearch::Type(int entry) const {
    const auto it = place_.find(entry);
    return it == place_.end() ? ' ' : entries_[it->second].type;
}

}  // namespace pricing
