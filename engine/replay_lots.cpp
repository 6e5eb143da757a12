#include "engine/replay_lots.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <unordered_set>

namespace engine {

namespace {

using records::Record;

// Lot record fields that the walks compare (offsets from 0).
constexpr std::size_t kNextOffset = 0;
constexpr std::size_t kKeyOffset = 2;
constexpr std::size_t kSymbolOffset = 10;
constexpr std::size_t kCodeOffset = 32;

double KeyOf(const Record& lot) {
    return lot.R8(kKeyOffset);
}
std::string SymbolOf(const Record& lot) {
    return lot.Text(kSymbolOffset, 12);
}
std::string CodeOf(const Record& lot) {
    return lot.Text(kCodeOffset, 4);
}
// The same fields without a copy, for the index keys.
std::string_view SymbolView(const Record& lot) {
    return {reinterpret_cast<const char*>(lot.data()) + kSymbolOffset, 12};
}
std::string_view CodeView(const Record& lot) {
    return {reinterpret_cast<const char*>(lot.data()) + kCodeOffset, 4};
}

// The holding key as LotOrder orders it (-0 as 0, the bits mapped so that
// integer order is real order), without the texts LotOrder::Of also packs.
uint64_t OrderedKey(double key) {
    if (key == 0) key = 0;
    uint64_t bits;
    std::memcpy(&bits, &key, sizeof bits);
    return (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
}

void RemovePath(const std::string& path) {
    if (path.empty()) return;
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

// Reads every whole record of the file into memory with one read; [0]
// stays unused.
std::vector<Record> ReadAll(const records::DirectFile& file) {
    std::vector<Record> all(1);
    std::vector<unsigned char> bytes;
    file.ReadWhole(bytes);
    const std::size_t length = records::kAccountRecordLength;
    all.reserve(bytes.size() / length + 1);
    for (std::size_t at = 0; at + length <= bytes.size(); at += length) {
        Record rec(length, 0);
        std::copy(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + length),
                  rec.bytes().begin());
        all.push_back(std::move(rec));
    }
    return all;
}

}  // namespace

LotChain::TextKey LotChain::TextKey::Of(std::string_view symbol12, std::string_view code4) {
    TextKey k;
    if (symbol12.size() == 12 && code4.size() == 4) {
        // Whole fields (a lot record's, a transaction's): nothing to pad.
        char bytes[16];
        std::memcpy(bytes, symbol12.data(), 12);
        std::memcpy(bytes + 12, code4.data(), 4);
        std::memcpy(&k.a, bytes, 8);
        std::memcpy(&k.b, bytes + 8, 8);
        return k;
    }
    char bytes[16];
    std::memset(bytes, ' ', sizeof bytes);
    std::memcpy(bytes, symbol12.data(), std::min<std::size_t>(symbol12.size(), 12));
    std::memcpy(bytes + 12, code4.data(), std::min<std::size_t>(code4.size(), 4));
    std::memcpy(&k.a, bytes, 8);
    std::memcpy(&k.b, bytes + 8, 8);
    return k;
}

LotChain::Groups::iterator LotChain::FindGroup(const GroupKey& key) {
    const auto found = group_table_.find(key);
    return found == group_table_.end() ? groups_.end() : found->second;
}

LotChain::LotChain(bool with_extension) : with_extension_(with_extension) {}

void LotChain::Create(std::string_view holdings_name, std::string_view extension_name) {
    Create(records::ResolvedPath{records::ResolveName(holdings_name)},
           records::ResolvedPath{records::ResolveName(extension_name)});
}

void LotChain::Create(const records::ResolvedPath& holdings, const records::ResolvedPath& extension) {
    RemovePath(holdings.path);
    holdings_file_ = std::make_unique<records::DirectFile>(holdings, records::kAccountRecordLength);
    if (!holdings_file_->ok()) failed_ = true;
    records_.assign(1, Record());
    if (with_extension_) {
        RemovePath(extension.path);
        extension_file_ = std::make_unique<records::DirectFile>(extension, records::kAccountRecordLength);
        if (!extension_file_->ok()) failed_ = true;
    }
    extensions_.assign(1, Record());
    header_ = records::HoldingsHeader{};
    BuildIndex();
}

void LotChain::Load(std::string_view holdings_name, std::string_view extension_name, bool create) {
    holdings_file_ =
        std::make_unique<records::DirectFile>(holdings_name, records::kAccountRecordLength, create);
    if (!holdings_file_->ok()) failed_ = true;
    records_ = ReadAll(*holdings_file_);
    extensions_.assign(1, Record());
    if (with_extension_) {
        extension_file_ =
            std::make_unique<records::DirectFile>(extension_name, records::kAccountRecordLength, create);
        if (!extension_file_->ok()) failed_ = true;
        extensions_ = ReadAll(*extension_file_);
    }
    ReadHeader();
    BuildIndex();
}

void LotChain::ReadHeader() {
    header_ = Readable(1) ? records::HoldingsHeader::Decode(records_[1]) : records::HoldingsHeader{};
}

void LotChain::WriteHeader() {
    if (!Readable(1)) {
        Record rec(records::kAccountRecordLength, 0);
        header_.Encode(rec);
        WriteRecord(1, rec);
        return;
    }
    // Encoded in place: the header keeps the bytes it does not own.
    header_.Encode(records_[1]);
    WriteRecord(1, records_[1]);
}

records::HoldingExtension LotChain::Extension(long n) const {
    if (!ExtensionReadable(n)) return {};
    return records::HoldingExtension::Decode(extensions_[static_cast<std::size_t>(n)]);
}

void LotChain::WriteRecord(long n, const Record& rec) {
    if (n < 1) return;
    const auto at = static_cast<std::size_t>(n);
    // A write past the end leaves zero records in between, as the file does.
    while (records_.size() <= at) records_.emplace_back(records::kAccountRecordLength, 0);
    if (&records_[at] != &rec) records_[at] = rec;
    if (records_[at].size() < records::kAccountRecordLength)
        records_[at].bytes().resize(records::kAccountRecordLength, 0);
    if (defer_)
        dirty_holdings_.Mark(n);
    else if (!holdings_file_ || !holdings_file_->Write(n, records_[at]))
        failed_ = true;
}

void LotChain::WriteExtension(long n, const records::HoldingExtension& ext) {
    if (!with_extension_ || n < 1) return;
    const auto at = static_cast<std::size_t>(n);
    while (extensions_.size() <= at) extensions_.emplace_back(records::kAccountRecordLength, 0);
    ext.Encode(extensions_[at]);
    if (defer_)
        dirty_extensions_.Mark(n);
    else if (!extension_file_ || !extension_file_->Write(n, extensions_[at]))
        failed_ = true;
}

bool LotChain::FlushFile(records::DirectFile* file, const std::vector<Record>& all, Dirty& dirty,
                         std::vector<unsigned char>& bytes) {
    if (dirty.first == 0) return true;
    const std::size_t length = records::kAccountRecordLength;
    // The changed records go out in chunks through one small buffer: the
    // records live apart in memory, and a buffer of the whole file would
    // be as large as the file.
    constexpr long kChunk = 512;
    bytes.resize(static_cast<std::size_t>(std::min(kChunk, dirty.last - dirty.first + 1)) * length);
    bool ok = file != nullptr;
    for (long from = dirty.first; ok && from <= dirty.last; from += kChunk) {
        const long to = std::min(dirty.last, from + kChunk - 1);
        std::memset(bytes.data(), 0, static_cast<std::size_t>(to - from + 1) * length);
        for (long n = from; n <= to; ++n) {
            const Record& rec = all[static_cast<std::size_t>(n)];
            std::memcpy(bytes.data() + static_cast<std::size_t>(n - from) * length, rec.data(),
                        std::min(rec.size(), length));
        }
        ok = file->WriteRecords(from, bytes.data(), static_cast<std::size_t>(to - from + 1));
    }
    dirty = Dirty{};
    return ok;
}

bool LotChain::Flush() {
    if (!FlushFile(holdings_file_.get(), records_, dirty_holdings_, flush_bytes_)) failed_ = true;
    if (with_extension_ && !FlushFile(extension_file_.get(), extensions_, dirty_extensions_, flush_bytes_))
        failed_ = true;
    return !failed_;
}

bool LotChain::Listed(long link) const {
    return link >= 2 && Readable(link);
}

int16_t LotChain::NextOf(int16_t record) const {
    return Raw(record).I16(kNextOffset);
}

void LotChain::SetNext(int16_t previous, int16_t next) {
    if (previous == 0) {
        header_.first_lot = next;
        return;
    }
    Record& rec = records_[static_cast<std::size_t>(previous)];
    rec.SetI16(kNextOffset, next);
    WriteRecord(previous, rec);
}

// ---- Look-ups. Each has the list walk, which is the rule, and the index
// look-up, which gives the same answer on a list in order without NaN keys.

LotChain::Place LotChain::Find(double key, std::string_view symbol, std::string_view tax_lot) {
    if (linear_ || std::isnan(key)) {
        const std::string s = records::Fixed(symbol, 12);
        const std::string c = records::Fixed(tax_lot, 4);
        const long limit = static_cast<long>(records_.size());
        int16_t previous = 0;
        long link = header_.first_lot;
        for (long steps = 0; Listed(link) && steps < limit; ++steps) {
            const Record& lot = Raw(link);
            if (KeyOf(lot) > key) break;
            if (KeyOf(lot) == key && SymbolOf(lot) == s && CodeOf(lot) == c)
                return {static_cast<int16_t>(link), previous};
            previous = static_cast<int16_t>(link);
            link = lot.I16(kNextOffset);
        }
        return {};
    }
    // TextKey pads the symbol and lot code with blanks as Fixed does.
    const auto found = exact_.find(ExactKey{OrderedKey(key), TextKey::Of(symbol, tax_lot)});
    if (found == exact_.end()) return {};
    return {found->second, previous_[static_cast<std::size_t>(found->second)]};
}

LotChain::Place LotChain::FindKey(double key) {
    if (linear_ || std::isnan(key)) {
        const long limit = static_cast<long>(records_.size());
        int16_t previous = 0;
        long link = header_.first_lot;
        for (long steps = 0; Listed(link) && steps < limit; ++steps) {
            const Record& lot = Raw(link);
            if (KeyOf(lot) == key) return {static_cast<int16_t>(link), previous};
            if (KeyOf(lot) > key) break;
            previous = static_cast<int16_t>(link);
            link = lot.I16(kNextOffset);
        }
        return {};
    }
    const GroupKey from{OrderedKey(key), 0, 0};
    // The cash lot (key 0) is mostly the first lot: no search for it.
    auto it = groups_.begin();
    if (it != groups_.end() && it->first.key < from.key) it = groups_.lower_bound(from);
    if (it == groups_.end() || it->first.key != from.key) return {};
    const int16_t first = it->second.front().record;
    return {first, previous_[static_cast<std::size_t>(first)]};
}

int16_t LotChain::FirstWith(std::string_view symbol, std::string_view tax_lot) {
    const std::string s = records::Fixed(symbol, 12);
    const std::string c = records::Fixed(tax_lot, 4);
    if (linear_) {
        const long limit = static_cast<long>(records_.size());
        long link = header_.first_lot;
        for (long steps = 0; Listed(link) && steps < limit; ++steps) {
            const Record& lot = Raw(link);
            if (SymbolOf(lot) == s && CodeOf(lot) == c) return static_cast<int16_t>(link);
            link = lot.I16(kNextOffset);
        }
        return 0;
    }
    if (!text_indexed_) {
        text_indexed_ = true;
        for (const auto& [group, members] : groups_) {
            for (const Member& m : members) {
                const Record& lot = Raw(m.record);
                by_text_[TextKey::Of(SymbolOf(lot), CodeOf(lot))].emplace(
                    std::make_pair(KeyOf(lot), m.sequence), m.record);
            }
        }
    }
    auto found = by_text_.find(TextKey::Of(s, c));
    if (found == by_text_.end() || found->second.empty()) return 0;
    return found->second.begin()->second;
}

int16_t LotChain::InsertionPoint(double key, std::string_view symbol, std::string_view tax_lot) {
    if (linear_ || std::isnan(key)) {
        const std::string s = records::Fixed(symbol, 12);
        const std::string c2 = records::Fixed(tax_lot, 4).substr(0, 2);
        const long limit = static_cast<long>(records_.size());
        int16_t previous = 0;
        long link = header_.first_lot;
        for (long steps = 0; Listed(link) && steps < limit; ++steps) {
            const Record& lot = Raw(link);
            const double k = KeyOf(lot);
            if (k > key) break;
            if (k == key && records::LotOrder::OfRecord(lot) > records::LotOrder::Of(key, s, c2)) break;
            previous = static_cast<int16_t>(link);
            link = lot.I16(kNextOffset);
        }
        return previous;
    }
    // The last lot at or before the new lot's place in the order (the list
    // order): in its own group the last with a lot code at or before its
    // own, else the last lot of the group before.
    // LotOrder pads and cuts the symbol (12) and lot code (2) as Fixed does.
    const records::LotOrder place = records::LotOrder::Of(key, symbol, tax_lot);
    auto it = FindGroup(GroupKey::Of(place));
    // The lot is linked and indexed next: its group is kept for Index.
    pending_group_key_ = GroupKey::Of(place);
    pending_group_ = it;
    pending_ = true;
    if (it == groups_.end()) {
        it = groups_.lower_bound(GroupKey::Of(place));
    } else {
        int16_t last = 0;
        for (const Member& m : it->second) {
            if (m.code > place.code) break;
            last = m.record;
        }
        if (last != 0) return last;
    }
    if (it == groups_.begin()) return 0;
    return std::prev(it)->second.back().record;
}

// ---- Changes

void LotChain::Unlink(const Place& place) {
    const int16_t next = NextOf(place.record);
    SetNext(place.previous, next);
    if (!linear_) SetPrevious(next, place.previous);
    if (place.previous != 0 && with_extension_) WriteExtension(place.previous, Extension(place.previous));
    if (!linear_) Unindex(place.record);
}

void LotChain::Link(int16_t record, int16_t previous, const Record& lot) {
    const int16_t next = previous == 0 ? header_.first_lot : NextOf(previous);
    const bool nan_key = std::isnan(KeyOf(lot));
    // Copied into the record's own bytes (no allocation when it exists)
    // and its next link set there before the record is written.
    if (record >= 1) {
        const auto at = static_cast<std::size_t>(record);
        while (records_.size() <= at) records_.emplace_back(records::kAccountRecordLength, 0);
        Record& linked = records_[at];
        if (&linked != &lot) linked = lot;
        if (linked.size() < records::kAccountRecordLength)
            linked.bytes().resize(records::kAccountRecordLength, 0);
        linked.SetI16(kNextOffset, next);
        WriteRecord(record, linked);
    }
    SetNext(previous, record);
    if (linear_) return;
    if (nan_key) {
        DropIndex();
        return;
    }
    SetPrevious(record, previous);
    SetPrevious(next, record);
    Index(record);
}

Record& LotChain::NewLot(long n) {
    const auto at = static_cast<std::size_t>(n);
    while (records_.size() <= at) records_.emplace_back(records::kAccountRecordLength, 0);
    Record& rec = records_[at];
    if (rec.size() < records::kAccountRecordLength) rec.bytes().resize(records::kAccountRecordLength, 0);
    return rec;
}

void LotChain::Rewrite(int16_t record, const Record& lot) {
    WriteRecord(record, lot);
}

void LotChain::WriteFree(int16_t record, const Record& rec) {
    WriteRecord(record, rec);
}

// ---- The index

void LotChain::SetPrevious(int16_t record, int16_t previous) {
    if (record < 1) return;
    const auto at = static_cast<std::size_t>(record);
    if (at >= previous_.size()) previous_.resize(at + 1, 0);
    previous_[at] = previous;
}

void LotChain::Index(int16_t record) {
    const Record& lot = Raw(record);
    const records::LotOrder place = records::LotOrder::OfRecord(lot);
    const uint64_t sequence = ++sequence_;
    const auto at = static_cast<std::size_t>(record);
    if (at >= group_of_.size()) {
        group_of_.resize(at + 1, groups_.end());
        sequence_of_.resize(at + 1, 0);
    }
    const TextKey text = TextKey::Of(SymbolView(lot), CodeView(lot));
    // Two lots with one key, symbol and lot code: only the walk knows
    // which comes first.
    if (!exact_.try_emplace(ExactKey{place.key, text}, record).second) {
        DropIndex();
        return;
    }
    if (text_indexed_) by_text_[text].emplace(std::make_pair(KeyOf(lot), sequence), record);
    // The group InsertionPoint found for this lot, unless the groups have
    // changed since.
    const GroupKey group_key = GroupKey::Of(place);
    auto group = pending_ && pending_group_key_ == group_key ? pending_group_ : FindGroup(group_key);
    pending_ = false;
    if (group == groups_.end()) {
        group = groups_.try_emplace(GroupKey::Of(place)).first;
        group_table_.try_emplace(group->first, group);
    }
    // Linked last, it goes after every lot of its group with a lot code at
    // or before its own.
    std::vector<Member>& members = group->second;
    auto to = members.end();
    while (to != members.begin() && std::prev(to)->code > place.code) --to;
    members.insert(to, Member{place.code, sequence, record});
    group_of_[at] = group;
    sequence_of_[at] = sequence;
}

void LotChain::Unindex(int16_t record) {
    const auto at = static_cast<std::size_t>(record);
    if (at >= group_of_.size() || group_of_[at] == groups_.end()) return;
    const auto group = group_of_[at];
    const Record& lot = Raw(record);
    const TextKey key = TextKey::Of(SymbolView(lot), CodeView(lot));
    const auto exact = exact_.find(ExactKey{group->first.key, key});
    if (exact != exact_.end() && exact->second == record) exact_.erase(exact);
    auto text = by_text_.find(key);
    if (text != by_text_.end()) {
        text->second.erase(std::make_pair(KeyOf(lot), sequence_of_[at]));
        if (text->second.empty()) by_text_.erase(text);
    }
    std::vector<Member>& members = group->second;
    members.erase(
        std::find_if(members.begin(), members.end(), [&](const Member& m) { return m.record == record; }));
    if (members.empty()) {
        group_table_.erase(group->first);
        groups_.erase(group);
        pending_ = false;
    }
    group_of_[at] = groups_.end();
}

void LotChain::DropIndex() {
    linear_ = true;
    pending_ = false;
    groups_.clear();
    group_table_.clear();
    exact_.clear();
    by_text_.clear();
    group_of_.clear();
    sequence_of_.clear();
    previous_.clear();
}

void LotChain::BuildIndex() {
    linear_ = false;
    pending_ = false;
    groups_.clear();
    group_table_.clear();
    exact_.clear();
    by_text_.clear();
    text_indexed_ = false;
    group_of_.assign(records_.size(), groups_.end());
    sequence_of_.assign(records_.size(), 0);
    previous_.assign(records_.size(), 0);
    std::unordered_set<long> seen;
    records::LotOrder last{};
    bool first = true;
    int16_t previous = 0;
    for (long link = header_.first_lot; Listed(link); link = Raw(link).I16(kNextOffset)) {
        const Record& lot = Raw(link);
        const records::LotOrder place = records::LotOrder::OfRecord(lot);
        // A loop, a NaN key or a lot out of order: only the walk gives the
        // list's answers.
        if (!seen.insert(link).second || std::isnan(KeyOf(lot)) || (!first && place < last)) {
            DropIndex();
            return;
        }
        SetPrevious(static_cast<int16_t>(link), previous);
        Index(static_cast<int16_t>(link));
        if (linear_) return;
        previous = static_cast<int16_t>(link);
        last = place;
        first = false;
    }
}

}  // namespace engine
