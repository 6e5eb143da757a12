#include "engine/lot_update.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "records/codes.h"
#include "records/files.h"
#include "records/rounding.h"

namespace engine {

namespace {

using records::HoldingRecord;
using records::Record;

constexpr std::size_t kRecordLength = records::kAccountRecordLength;
constexpr int16_t kHighestRecord = 32767;

// Cost of the quantity that stays in a lot: the unit cost times the
// remaining quantity (the cost is kept when the lot quantity is 0).
double KeptCost(double quantity, double cost, double remaining) {
    return quantity != 0 ? cost / quantity * remaining : cost;
}

double Cents(double v) {
    records::Drnd2(v);
    return v;
}

// Writes the gain of a closing sale to the gains file on kGainUnit.
void WriteGain(const HoldingRecord& lot, int16_t sign, bool cover, std::string_view account,
               std::string_view label, records::TransactionRecord& t, std::string_view description1,
               std::string_view description2) {
    const double q = t.quantity;
    const double unit_cost = lot.quantity != 0 ? lot.cost / lot.quantity : 0.0;
    records::GainRecord g;
    g.sale_date = t.date_number;
    g.open_date = lot.open_date;
    g.description1 = records::Fixed(description1, 32);
    g.description2 = records::Fixed(description2, 32);
    g.quantity = q;
    g.symbol = t.symbol;
    g.security_record = t.security_record;
    if (cover) {
        // The short lot's cost holds the short sale's proceeds; the cover's
        // amount is what it cost to buy back.
        g.cost = t.amount;
        g.proceeds = q * unit_cost * sign;
        g.gain = g.proceeds - t.amount;
        g.short_cover = 1;
    } else {
        g.cost = unit_cost * q;
        g.gain = ((q != 0 ? t.amount / q : 0.0) - sign * unit_cost) * q;
        g.proceeds = t.amount;
        g.short_cover = 0;
    }

    Record head;
    records::GainsHeader header;
    if (records::ReadRecord(kGainUnit, 1, head)) header = records::GainsHeader::Decode(head);
    if (header.count < 1) header.count = 0;
    long n = t.gain_record;
    if (n <= 0) {
        if (header.count >= kHighestRecord - 1) return;  // no record number left for it
        ++header.count;
        n = header.count + 1;
        t.gain_record = static_cast<int16_t>(n);
    }
    Record rec;
    if (!records::ReadRecord(kGainUnit, n, rec)) rec = Record(kRecordLength, 0);
    g.Encode(rec);
    records::WriteRecord(kGainUnit, n, rec);
    header.account = records::Fixed(account, 8);
    header.label = records::Fixed(label, 8);
    header.Encode(head);
    records::WriteRecord(kGainUnit, 1, head);
}

// The record a new lot goes into: the head of the free chain, or a record
// never used (the file grows by one); 0 when the head is not a freed record
// or no 16-bit record number is left. slot_of(n) gives record n's slot,
// made when it is not there yet.
template <class SlotOf>
int16_t TakeRecord(records::HoldingsHeader& header, SlotOf slot_of) {
    const int16_t r = header.next_free;
    if (r < 2) return 0;
    if (r > header.records_in_use) {
        if (r >= kHighestRecord) return 0;
        ++header.records_in_use;
        header.next_free = static_cast<int16_t>(r + 1);
        slot_of(r);
    } else {
        const auto& head = slot_of(r);
        if (!records::DeletedLot::Is(head.bytes)) return 0;
        header.next_free = records::DeletedLot::Decode(head.bytes).next_free;
    }
    return r;
}

}  // namespace

// ---- LotList

LotFigures LotFigures::Of(const HoldingRecord& lot) {
    LotFigures f;
    f.holding_key = lot.holding_key;
    f.quantity = lot.quantity;
    f.cost = lot.cost;
    f.security_record = lot.security_record;
    f.short_marker = lot.tax_lot == "S   ";
    f.cash_symbol = lot.symbol == "CASH        ";
    return f;
}

LotList::LotList(int unit) : unit_(unit) {
    header_ = records::ReadHoldingsHeader(unit_);
    // Follow the list once. The lot update keeps it in order, so the walk
    // meets the lots in the order of the image.
    int16_t r = header_.first_lot;
    while (r >= 2) {
        Record rec;
        if (!records::ReadRecord(unit_, r, rec)) break;
        if (static_cast<std::size_t>(r) >= slots_.size()) slots_.resize(static_cast<std::size_t>(r) + 1);
        Slot& s = slots_[r];
        if (s.listed) break;  // a damaged list that loops
        s.bytes = rec;
        s.lot = HoldingRecord::Decode(rec);
        s.listed = true;
        s.place = order_.insert(order_.end(),
                                {LotOrder::Of(s.lot.holding_key, s.lot.symbol, s.lot.tax_lot), Placed{r}});
        Refigure(r);
        NoteExact(r);
        r = s.lot.next;
    }
}

LotList::Slot& LotList::SlotOf(int16_t record) {
    if (static_cast<std::size_t>(record) >= slots_.size())
        slots_.resize(static_cast<std::size_t>(record) + 1);
    Slot& s = slots_[record];
    if (s.bytes.size() < kRecordLength) {
        // While writes are deferred the file does not grow: a record past
        // its end then is zeros without a read.
        const bool past_end = defer_ && record > records_on_file_;
        if (past_end || !records::ReadRecord(unit_, record, s.bytes)) s.bytes = Record(kRecordLength, 0);
    }
    return s;
}

void LotList::DeferWrites() {
    if (!defer_) records_on_file_ = records::RecordCount(unit_);
    defer_ = true;
}

void LotList::WriteSlot(int16_t record) {
    if (!defer_) {
        records::WriteRecord(unit_, record, slots_[record].bytes);
        return;
    }
    const auto at = static_cast<std::size_t>(record);
    if (at >= dirty_flags_.size()) dirty_flags_.resize(at + 1, 0);
    if (dirty_flags_[at] == 0) {
        dirty_flags_[at] = 1;
        dirty_.push_back(record);
    }
}

void LotList::Flush() {
    // Each run of changed records that follow one another goes with one
    // write.
    std::sort(dirty_.begin(), dirty_.end());
    std::vector<unsigned char> run;
    for (std::size_t i = 0; i < dirty_.size();) {
        std::size_t j = i + 1;
        while (j < dirty_.size() && dirty_[j] == dirty_[j - 1] + 1) ++j;
        run.assign((j - i) * kRecordLength, 0);
        for (std::size_t k = i; k < j; ++k) {
            const Record& bytes = slots_[dirty_[k]].bytes;
            std::memcpy(run.data() + (k - i) * kRecordLength, bytes.data(),
                        std::min(bytes.size(), kRecordLength));
        }
        records::WriteRecords(unit_, dirty_[i], run.data(), j - i);
        i = j;
    }
    dirty_.clear();
    dirty_flags_.clear();
    if (header_dirty_) records::WriteRecord(unit_, 1, header_record_);
    header_dirty_ = false;
    records_on_file_ = records::RecordCount(unit_);
}

std::vector<std::pair<int16_t, HoldingRecord>> LotList::Lots() const {
    std::vector<std::pair<int16_t, HoldingRecord>> out;
    out.reserve(order_.size());
    for (const auto& [order, placed] : order_) out.emplace_back(placed.record, slots_[placed.record].lot);
    return out;
}

ExactLotKey ExactLotKey::Of(double holding_key, std::string_view symbol, std::string_view tax_lot) {
    if (symbol.size() != 12 || tax_lot.size() != 4)
        return Of(holding_key, records::Fixed(symbol, 12), records::Fixed(tax_lot, 4));
    ExactLotKey key;
    key.place = LotOrder::Of(holding_key, symbol, tax_lot);
    std::memcpy(&key.code, tax_lot.data(), 4);
    return key;
}

bool LotList::ExactOf(double holding_key, const std::string& symbol, const std::string& tax_lot,
                      ExactLotKey& key) {
    if (symbol.size() != 12 || tax_lot.size() != 4) return false;
    key = ExactLotKey::Of(holding_key, symbol, tax_lot);
    return true;
}

void LotList::NoteExact(int16_t record) {
    if (!exact_used_) return;
    const HoldingRecord& lot = slots_[record].lot;
    // A NaN key equals no key: such a lot is never found.
    if (std::isnan(lot.holding_key)) return;
    ExactLotKey key;
    if (!ExactOf(lot.holding_key, lot.symbol, lot.tax_lot, key) || !exact_.emplace(key, record).second) {
        exact_used_ = false;
        exact_.clear();
    }
}

void LotList::ForgetExact(int16_t record) {
    if (!exact_used_) return;
    const HoldingRecord& lot = slots_[record].lot;
    ExactLotKey key;
    if (std::isnan(lot.holding_key) || !ExactOf(lot.holding_key, lot.symbol, lot.tax_lot, key)) return;
    const auto it = exact_.find(key);
    if (it != exact_.end() && it->second == record) exact_.erase(it);
}

int16_t LotList::Find(double holding_key, std::string_view symbol, std::string_view tax_lot) const {
    if (exact_used_) {
        // Every lot has its own exact key and texts of their widths: the
        // lot of the key asked for (padded as the search below pads it) is
        // the first in list order. A NaN key equals none.
        if (std::isnan(holding_key)) return 0;
        const auto it = exact_.find(ExactLotKey::Of(holding_key, symbol, tax_lot));
        return it == exact_.end() ? int16_t{0} : it->second;
    }
    const std::string sym = records::Fixed(symbol, 12);
    const std::string code = records::Fixed(tax_lot, 4);
    // The lots of one place stand together from the first at or after it:
    // one descent of the tree instead of the two of equal_range.
    const LotOrder place = LotOrder::Of(holding_key, sym, code);
    for (auto it = order_.lower_bound(place); it != order_.end() && it->first == place; ++it) {
        const HoldingRecord& lot = slots_[it->second.record].lot;
        if (lot.holding_key == holding_key && lot.symbol == sym && lot.tax_lot == code)
            return it->second.record;
    }
    return 0;
}

int16_t LotList::FindCash() const {
    if (cash_known_) return cash_;
    cash_ = SearchCash();
    cash_known_ = true;
    return cash_;
}

int16_t LotList::SearchCash() const {
    // Lots of one key stand together, so the first lot of key 0 is the
    // first at or after the lowest place that key 0 can have.
    LotOrder from = LotOrder::Of(0.0, "", "");
    from.symbol_high = 0;
    from.symbol_low = 0;
    from.code = 0;
    const auto it = order_.lower_bound(from);
    if (it != order_.end() && slots_[it->second.record].lot.holding_key == 0) return it->second.record;
    return 0;
}

void LotList::Relink(Order::iterator it, int16_t next) {
    if (it == order_.begin()) {
        header_.first_lot = next;
        return;
    }
    const int16_t before = std::prev(it)->second.record;
    Slot& s = slots_[before];
    s.lot.next = next;
    s.bytes.SetI16(0, next);
    WriteSlot(before);
}

int16_t LotList::Insert(const HoldingRecord& lot) {
    const int16_t r = TakeRecord(header_, [this](int16_t n) -> Slot& { return SlotOf(n); });
    if (r == 0) return 0;
    Slot& s = slots_[r];
    s.lot = lot;
    SetMemoFromBytes(s);  // never written here: the record keeps it
    s.listed = true;
    s.place = order_.insert({LotOrder::Of(lot.holding_key, lot.symbol, lot.tax_lot), Placed{r}});
    NoteKey(lot.holding_key);
    Refigure(r);
    NoteExact(r);
    NoteLinked(r, s.place->first);
    const auto after = std::next(s.place);
    s.lot.next = after == order_.end() ? int16_t{-1} : after->second.record;
    s.lot.Encode(s.bytes);
    WriteSlot(r);
    Relink(s.place, r);
    return r;
}

void LotList::Update(int16_t record, const HoldingRecord& lot) {
    Slot& s = slots_[record];
    const int16_t next = s.lot.next;
    if (s.listed) {
        ForgetExact(record);
        NoteKey(s.lot.holding_key);
        NoteKey(lot.holding_key);
    }
    s.lot = lot;
    s.lot.next = next;
    SetMemoFromBytes(s);
    s.lot.Encode(s.bytes);
    if (s.listed) {
        Refigure(record);
        NoteExact(record);
    }
    WriteSlot(record);
}

void LotList::SetQuantityAndCost(int16_t record, double quantity, double cost) {
    // What Update gives for the lot with these two changed: its other
    // fields (and the memo the record keeps) encode to the bytes they
    // already have.
    Slot& s = slots_[record];
    s.lot.quantity = quantity;
    s.lot.cost = cost;
    if (s.listed) {
        LotFigures& f = figures_[static_cast<std::size_t>(record)];
        f.quantity = quantity;
        f.cost = cost;
    }
    HoldingRecord::SetQuantityAndCost(s.bytes, quantity, cost);
    WriteSlot(record);
}

void LotList::Remove(int16_t record) {
    Slot& s = slots_[record];
    Relink(s.place, s.lot.next);
    ForgetExact(record);
    order_.erase(s.place);
    NoteKey(s.lot.holding_key);
    s.listed = false;
    NoteUnlinked(record);
    records::DeletedLot{header_.next_free}.Encode(s.bytes);
    header_.next_free = record;
    WriteSlot(record);
}

void LotList::SetMemoFromBytes(Slot& s) {
    s.lot.memo.assign(reinterpret_cast<const char*>(s.bytes.data()) + 76, 20);
}

void LotList::Refigure(int16_t record) {
    const auto at = static_cast<std::size_t>(record);
    if (at >= figures_.size()) figures_.resize(at + 1);
    figures_[at] = LotFigures::Of(slots_[at].lot);
}

void LotList::NoteLinked(int16_t record, const LotOrder& place) {
    if (!walk_built_) return;
    const auto at = static_cast<std::size_t>(record);
    if (at >= pending_.size()) pending_.resize(at + 1, 0);
    pending_[at] = 1;
    linked_.push_back(Walked{place, record});
}

void LotList::NoteUnlinked(int16_t record) {
    if (!walk_built_) return;
    const auto at = static_cast<std::size_t>(record);
    if (at < pending_.size() && pending_[at] != 0) {
        // Linked since the last walk: it never reached walk_.
        pending_[at] = 0;
        linked_.erase(std::find_if(linked_.begin(), linked_.end(),
                                   [&](const Walked& w) { return w.record == record; }));
        return;
    }
    if (at >= unlinked_.size()) unlinked_.resize(at + 1, 0);
    unlinked_[at] = 1;
    any_unlinked_ = true;
}

void LotList::UpdateWalk() const {
    if (!walk_built_) {
        walk_.clear();
        walk_.reserve(order_.size());
        for (const auto& [place, placed] : order_) walk_.push_back(Walked{place, placed.record});
        walk_built_ = true;
        return;
    }
    if (linked_.empty() && !any_unlinked_) return;
    // A lot linked goes after every lot of an equal place that was there
    // before it, and the lots linked since keep the order they were linked
    // in among themselves: a stable sort, then each merged in after the
    // equal places of walk_.
    std::stable_sort(linked_.begin(), linked_.end(),
                     [](const Walked& a, const Walked& b) { return a.place < b.place; });
    std::vector<Walked> merged;
    merged.reserve(walk_.size() + linked_.size());
    auto keep = [&](std::vector<Walked>::const_iterator from, std::vector<Walked>::const_iterator to) {
        if (!any_unlinked_) {
            merged.insert(merged.end(), from, to);
            return;
        }
        for (; from != to; ++from) {
            const auto at = static_cast<std::size_t>(from->record);
            if (at < unlinked_.size() && unlinked_[at] != 0) continue;
            merged.push_back(*from);
        }
    };
    auto old = walk_.cbegin();
    for (const Walked& lot : linked_) {
        const auto to = std::upper_bound(old, walk_.cend(), lot.place,
                                         [](const LotOrder& p, const Walked& w) { return p < w.place; });
        keep(old, to);
        merged.push_back(lot);
        pending_[static_cast<std::size_t>(lot.record)] = 0;
        old = to;
    }
    keep(old, walk_.cend());
    walk_.swap(merged);
    linked_.clear();
    if (any_unlinked_) std::fill(unlinked_.begin(), unlinked_.end(), 0);
    any_unlinked_ = false;
}

namespace {

// Sets text to value blank padded (or cut) to n characters, without a
// temporary string when it holds that already.
void SetFixed(std::string& text, std::string_view value, std::size_t n) {
    const std::size_t used = std::min(value.size(), n);
    if (text.size() == n && text.compare(0, used, value.substr(0, used)) == 0 &&
        std::all_of(text.begin() + static_cast<long>(used), text.end(), [](char c) { return c == ' '; }))
        return;
    text = records::Fixed(value, n);
}

}  // namespace

void LotList::WriteHeader(std::string_view account, std::string_view label, int16_t last_word) {
    SetFixed(header_.account, account, 8);
    SetFixed(header_.label, label, 8);
    header_.spare = last_word;
    if (defer_) {
        // Record 1 keeps the bytes the header does not own, as the file has them.
        if (!header_known_ && !records::ReadRecord(unit_, 1, header_record_))
            header_record_ = Record(kRecordLength, 0);
        header_known_ = true;
        header_.Encode(header_record_);
        header_dirty_ = true;
        return;
    }
    Record rec;
    if (!records::ReadRecord(unit_, 1, rec)) rec = Record(kRecordLength, 0);
    header_.Encode(rec);
    records::WriteRecord(unit_, 1, rec);
}

// ---- SeriesLots

SeriesLots::SeriesLots(int unit) : unit_(unit) {}

SeriesLots::Slot& SeriesLots::SlotOf(int16_t record) {
    const auto at = static_cast<std::size_t>(record);
    if (at >= slots_.size()) {
        slots_.resize(at + 1);
        figures_.resize(at + 1);
        places_.resize(at + 1);
    }
    Slot& s = slots_[at];
    // The file was empty: a record not written since is zeros.
    if (s.bytes.size() < kRecordLength) s.bytes = Record(kRecordLength, 0);
    return s;
}

void SeriesLots::Dirty(int16_t record) {
    const auto at = static_cast<std::size_t>(record);
    if (at >= dirty_flags_.size()) dirty_flags_.resize(at + 1, 0);
    if (dirty_flags_[at] == 0) {
        dirty_flags_[at] = 1;
        dirty_.push_back(record);
    }
}

bool SeriesLots::Before(int16_t a, int16_t b) const {
    const Slot& x = slots_[static_cast<std::size_t>(a)];
    const Slot& y = slots_[static_cast<std::size_t>(b)];
    if (x.place != y.place) return x.place < y.place;
    return x.linked < y.linked;
}

HoldingRecord SeriesLots::Lot(int16_t record) const {
    return HoldingRecord::Decode(slots_[static_cast<std::size_t>(record)].bytes);
}

int16_t SeriesLots::Find(double holding_key, std::string_view symbol, std::string_view tax_lot) const {
    // A NaN key equals none.
    if (std::isnan(holding_key)) return 0;
    if (exact_used_) {
        const auto found = exact_.find(ExactLotKey::Of(holding_key, symbol, tax_lot));
        return found == exact_.end() ? int16_t{0} : found->second;
    }
    // The first lot in list order whose key, symbol and lot code are
    // these (a lot whose texts were not of their widths equals none).
    const std::string sym = records::Fixed(symbol, 12);
    const std::string code = records::Fixed(tax_lot, 4);
    int16_t best = 0;
    for (std::size_t r = 2; r < slots_.size(); ++r) {
        const Slot& s = slots_[r];
        if (!s.listed || !s.full_width || figures_[r].holding_key != holding_key) continue;
        const char* b = reinterpret_cast<const char*>(s.bytes.data());
        if (std::memcmp(b + 10, sym.data(), 12) != 0 || std::memcmp(b + 32, code.data(), 4) != 0) continue;
        if (best == 0 || Before(static_cast<int16_t>(r), best)) best = static_cast<int16_t>(r);
    }
    return best;
}

int16_t SeriesLots::FindCash() const {
    if (!cash_known_) {
        cash_ = 0;
        for (const int16_t r : key_zero_)
            if (cash_ == 0 || Before(r, cash_)) cash_ = r;
        cash_known_ = true;
    }
    return cash_;
}

int16_t SeriesLots::Insert(HoldingRecord& lot) {
    const int16_t r = TakeRecord(header_, [this](int16_t n) -> Slot& { return SlotOf(n); });
    if (r == 0) return 0;
    Slot& s = slots_[static_cast<std::size_t>(r)];
    lot.memo.assign(reinterpret_cast<const char*>(s.bytes.data()) + 76, 20);  // the record keeps it
    lot.next = -1;                                                            // linked by Flush
    lot.Encode(s.bytes);
    // Texts not of their widths take the place their padded texts take.
    const ExactLotKey exact = ExactLotKey::Of(lot.holding_key, lot.symbol, lot.tax_lot);
    s.place = exact.place;
    places_[static_cast<std::size_t>(r)] = s.place;
    s.full_width = lot.symbol.size() == 12 && lot.tax_lot.size() == 4;
    s.code = s.full_width ? exact.code : 0;
    s.linked = ++links_;
    s.listed = true;
    figures_[static_cast<std::size_t>(r)] = LotFigures::Of(lot);
    if (exact_used_ && !std::isnan(lot.holding_key)) {
        // A second lot with one key, or texts not of their widths: the
        // lots are searched from then on.
        if (!s.full_width || !exact_.try_emplace(ExactLotKey{s.place, s.code}, r).second) {
            exact_used_ = false;
            exact_.clear();
        }
    }
    if (lot.holding_key == 0) {
        key_zero_.push_back(r);
        cash_known_ = false;
    }
    const auto at = static_cast<std::size_t>(r);
    if (at >= pending_.size()) pending_.resize(at + 1, 0);
    pending_[at] = 1;
    linked_.push_back(r);
    Dirty(r);
    return r;
}

void SeriesLots::SetQuantityAndCost(int16_t record, double quantity, double cost) {
    Slot& s = slots_[static_cast<std::size_t>(record)];
    LotFigures& f = figures_[static_cast<std::size_t>(record)];
    f.quantity = quantity;
    f.cost = cost;
    HoldingRecord::SetQuantityAndCost(s.bytes, quantity, cost);
    Dirty(record);
}

void SeriesLots::Remove(int16_t record) {
    const auto at = static_cast<std::size_t>(record);
    Slot& s = slots_[at];
    const double key = figures_[at].holding_key;
    if (exact_used_ && !std::isnan(key) && s.full_width) {
        const auto found = exact_.find(ExactLotKey{s.place, s.code});
        if (found != exact_.end() && found->second == record) exact_.erase(found);
    }
    if (key == 0) {
        key_zero_.erase(std::find(key_zero_.begin(), key_zero_.end(), record));
        cash_known_ = false;
    }
    s.listed = false;
    if (pending_[at] != 0) {
        // Linked since the last walk: it never reached walk_.
        pending_[at] = 0;
        linked_.erase(std::find(linked_.begin(), linked_.end(), record));
    } else {
        if (at >= unlinked_.size()) {
            unlinked_.resize(at + 1, 0);
            unlinked_places_.resize(at + 1);
        }
        unlinked_[at] = 1;
        // Its entry in walk_ keeps its place there until the next walk,
        // whatever lot the record takes meanwhile.
        unlinked_places_[at] = s.place;
        any_unlinked_ = true;
    }
    records::DeletedLot{header_.next_free}.Encode(s.bytes);
    header_.next_free = record;
    Dirty(record);
}

void SeriesLots::WriteHeader(std::string_view account, std::string_view label, int16_t last_word) {
    SetFixed(header_.account, account, 8);
    SetFixed(header_.label, label, 8);
    header_.spare = last_word;
    header_dirty_ = true;  // encoded by Flush, with the first lot of the list
}

void SeriesLots::UpdateWalk() const {
    if (linked_.empty() && !any_unlinked_) return;
    // A lot linked goes after every lot of an equal place that was there
    // before it, and the lots linked since keep the order they were linked
    // in among themselves: a stable sort, then each merged in after the
    // equal places of walk_.
    auto place = [&](int16_t r) -> const LotOrder& { return places_[static_cast<std::size_t>(r)]; };
    // The place of an entry of walk_ (that of its lot when it was
    // walked), from the dense array of places.
    auto before_walked = [&](const LotOrder& p, int16_t r) {
        const auto at = static_cast<std::size_t>(r);
        const bool gone_since = at < unlinked_.size() && unlinked_[at] != 0;
        return p < (gone_since ? unlinked_places_[at] : places_[at]);
    };
    // linked_ is in link order, so a sort by place, then link, is the
    // stable sort by place.
    std::sort(linked_.begin(), linked_.end(), [&](int16_t a, int16_t b) {
        const auto x = static_cast<std::size_t>(a), y = static_cast<std::size_t>(b);
        if (places_[x] != places_[y]) return places_[x] < places_[y];
        return slots_[x].linked < slots_[y].linked;
    });
    merged_.resize(walk_.size() + linked_.size());
    int16_t* out = merged_.data();
    const char* gone = unlinked_.data();
    const std::size_t gone_size = unlinked_.size();
    auto keep = [&](const int16_t* from, const int16_t* to) {
        if (!any_unlinked_) {
            out = std::copy(from, to, out);
            return;
        }
        for (; from != to; ++from) {
            const auto at = static_cast<std::size_t>(*from);
            *out = *from;
            out += (at < gone_size && gone[at] != 0) ? 0 : 1;
        }
    };
    const int16_t* old = walk_.data();
    const int16_t* const end = walk_.data() + walk_.size();
    for (const int16_t lot : linked_) {
        const LotOrder& at = place(lot);
        const int16_t* to = std::upper_bound(old, end, at, before_walked);
        keep(old, to);
        *out++ = lot;
        pending_[static_cast<std::size_t>(lot)] = 0;
        old = to;
    }
    keep(old, end);
    merged_.resize(static_cast<std::size_t>(out - merged_.data()));
    walk_.swap(merged_);
    linked_.clear();
    if (any_unlinked_) std::fill(unlinked_.begin(), unlinked_.end(), 0);
    any_unlinked_ = false;
}

void SeriesLots::Flush() {
    // Each lot links to the one after it in the order, the last to none.
    UpdateWalk();
    for (std::size_t i = 0; i < walk_.size(); ++i) {
        const int16_t next = i + 1 < walk_.size() ? walk_[i + 1] : int16_t{-1};
        Slot& s = slots_[static_cast<std::size_t>(walk_[i])];
        if (s.bytes.I16(0) == next) continue;
        s.bytes.SetI16(0, next);
        Dirty(walk_[i]);
    }
    std::sort(dirty_.begin(), dirty_.end());
    std::vector<unsigned char> run;
    for (std::size_t i = 0; i < dirty_.size();) {
        std::size_t j = i + 1;
        while (j < dirty_.size() && dirty_[j] == dirty_[j - 1] + 1) ++j;
        run.resize((j - i) * kRecordLength);
        for (std::size_t k = i; k < j; ++k)
            std::memcpy(run.data() + (k - i) * kRecordLength,
                        slots_[static_cast<std::size_t>(dirty_[k])].bytes.data(), kRecordLength);
        records::WriteRecords(unit_, dirty_[i], run.data(), j - i);
        i = j;
    }
    dirty_.clear();
    dirty_flags_.clear();
    if (header_dirty_) {
        header_.first_lot = walk_.empty() ? int16_t{-1} : walk_.front();
        header_.Encode(header_record_);
        records::WriteRecord(unit_, 1, header_record_);
    }
    header_dirty_ = false;
}

// ---- Lotupd

namespace {

template <class Lots>
int16_t LotupdOn(Lots& lots, std::string_view account, std::string_view label, int16_t last_word, int16_t cls,
                 int16_t sign, int16_t transfer, int16_t gl_switch, records::TransactionRecord& t,
                 std::string_view description1, std::string_view description2) {
    using records::kCashOnlyClass;
    using records::kClosingClass;
    using records::kOpeningClass;
    using records::kShortSaleClass;
    if (cls != kShortSaleClass && cls != kClosingClass && cls != kCashOnlyClass && cls != kOpeningClass)
        return kNoShortSale;
    const bool cover = t.code == "CS  ";
    const bool short_sale = cls == kShortSaleClass;

    if (cls != kCashOnlyClass) {
        const int16_t r = lots.Find(t.holding_key, t.symbol, t.tax_lot);
        if (r == 0) {
            if (cls == kClosingClass) return kNoMatchingLot;
            // Every field that Insert reads is set (the next lot and the
            // memo are Insert's own).
            HoldingRecord& lot = lots.ScratchLot();
            lot.holding_key = t.holding_key;
            lot.symbol = t.symbol;
            lot.security_record = t.security_record;
            lot.broker = t.broker;
            lot.tax_lot = t.tax_lot;
            lot.quantity = short_sale ? -t.quantity : t.quantity;
            lot.cost = Cents(t.amount);
            lot.open_date = short_sale ? t.trade_date : t.lot_date;
            lot.bond_interest = t.bond_interest;
            if (transfer >= 1)
                lot.reference = t.trade_date;
            else
                lot.reference.assign(8, ' ');
            if (lots.Insert(lot) == 0) return kNoShortSale;  // the free chain is damaged: nothing changed
        } else {
            const double held = lots.Quantity(r);
            const double q = t.quantity;
            if (cls == kClosingClass && sign * held + 0.01 < q) return kExceedsLot;
            if (cls == kClosingClass && transfer == 0 && gl_switch > 0)
                WriteGain(lots.Lot(r), sign, cover, account, label, t, description1, description2);
            const double remaining = held - sign * q;
            if (remaining >= -0.0005 && remaining <= 0.0005) {
                lots.Remove(r);
            } else {
                double cost;
                const double lot_cost = lots.Cost(r);
                if (short_sale)
                    cost = lot_cost + t.amount;  // a further short sale adds its proceeds
                else if (sign >= 1 || cover)
                    cost = KeptCost(held, lot_cost, remaining);
                else
                    cost = lot_cost + t.amount;
                lots.SetQuantityAndCost(r, remaining, Cents(cost));
            }
        }
    }

    if (transfer < 1) {
        const double moved = (Cents(t.amount) + Cents(t.bond_interest)) * sign;
        const int16_t c = lots.FindCash();
        if (c != 0) {
            const double balance = lots.Cost(c) + moved;
            lots.SetQuantityAndCost(c, balance, balance);
        } else {
            HoldingRecord& cash = lots.ScratchLot();
            cash.holding_key = 0;
            cash.symbol = "CASH        ";
            cash.security_record = 2;
            cash.broker.assign(8, ' ');
            cash.tax_lot.assign(4, ' ');
            cash.quantity = moved;
            cash.cost = moved;
            cash.open_date.assign(8, ' ');
            cash.bond_interest = 0;
            cash.reference.assign(8, ' ');
            lots.Insert(cash);
        }
    }
    lots.WriteHeader(account, label, last_word);
    return kNoShortSale;
}

}  // namespace

int16_t Lotupd(LotList& lots, std::string_view account, std::string_view label, int16_t last_word,
               int16_t cls, int16_t sign, int16_t transfer, int16_t gl_switch, records::TransactionRecord& t,
               std::string_view description1, std::string_view description2) {
    return LotupdOn(lots, account, label, last_word, cls, sign, transfer, gl_switch, t, description1,
                    description2);
}

int16_t Lotupd(SeriesLots& lots, std::string_view account, std::string_view label, int16_t last_word,
               int16_t cls, int16_t sign, int16_t transfer, int16_t gl_switch, records::TransactionRecord& t,
               std::string_view description1, std::string_view description2) {
    return LotupdOn(lots, account, label, last_word, cls, sign, transfer, gl_switch, t, description1,
                    description2);
}

}  // namespace engine
