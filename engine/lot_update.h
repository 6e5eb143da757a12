#pragma once

// The lot update of the market-value replay: applies one transaction to a
// scratch lot list (the holdings layout of HL.TMP, on unit 11), opening,
// adding to, relieving or closing a tax lot, keeping the cash lot's
// balance and, when asked, writing a realised-gain record to GL.TMP (unit
// 14). It follows the lot rules of the holdings rebuild on a leaner lot: no
// memo, no extension texts, and a transferred-in lot opens at the
// transaction's amount.
//
// The list lives in its file, which the valuation and the callers read.
// Walking it from its head for every transaction would cost lots x
// transactions record reads, so a LotList keeps an ordered image of the
// list in memory beside the file: a transaction finds its lot and its
// place in the order by look-up and writes only the records it changes
// (the lot, the lot before it, the cash lot, the header), so the file is
// complete after every call.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "absl/container/flat_hash_map.h"
#include "records/account_records.h"
#include "records/record.h"

namespace engine {

// Units of the lot file and of the gains file of the replay.
inline constexpr int kLotUnit = 11;
inline constexpr int kGainUnit = 14;

// What Lotupd reports about a closing transaction it could not apply.
enum ShortSaleCondition : int16_t {
    kNoShortSale = 0,
    kExceedsLot = 1,  // the quantity exceeds the matching lot's by more than 0.01
    kNoMatchingLot = 2,
};

// The place of a lot in the list order (records/account_records.h), the
// same as in the holdings replay.
using records::LotOrder;

// What the valuation reads of a lot, kept beside its place in the order so
// that valuing every lot of a period reads one small entry a lot.
struct LotFigures {
    double holding_key = 0;
    double quantity = 0;
    double cost = 0;
    int16_t security_record = 0;
    bool short_marker = false;  // tax lot code "S   "
    bool cash_symbol = false;   // symbol "CASH        "
    static LotFigures Of(const records::HoldingRecord& lot);
};

// A lot's holding key, symbol (12) and whole lot code (4): the key that
// finds a lot of a LotList or SeriesLots without a descent of the order.
struct ExactLotKey {
    LotOrder place;
    uint32_t code = 0;
    // symbol and tax_lot are blank padded (or cut) to 12 and 4 characters.
    static ExactLotKey Of(double holding_key, std::string_view symbol, std::string_view tax_lot);
    friend bool operator==(const ExactLotKey&, const ExactLotKey&) = default;
    // The place's lot code (its first two bytes) lies within code: the
    // hash leaves it out.
    template <class H>
    friend H AbslHashValue(H h, const ExactLotKey& k) {
        return H::combine(std::move(h), k.place.key, k.place.symbol_high, k.place.symbol_low, k.code);
    }
};

// The lot list of a file open on a unit, held in memory beside it. Build
// it once after opening the file and pass it to every Lotupd on that file;
// every change goes through to the file at once.
class LotList {
public:
    // Reads the header and follows the list and the free chain of the file
    // open on the unit. A header that cannot be read, or whose first-lot,
    // records-in-use or next-free field is 0, gives an empty list.
    explicit LotList(int unit = kLotUnit);

    int unit() const { return unit_; }
    const records::HoldingsHeader& header() const { return header_; }
    // The lots in list order, with their record numbers.
    std::vector<std::pair<int16_t, records::HoldingRecord>> Lots() const;
    // Calls f for each lot in list order.
    template <class F>
    void ForEachLot(F&& f) const {
        for (const auto& entry : order_)
            f(static_cast<const records::HoldingRecord&>(slots_[entry.second.record].lot));
    }
    // Calls f with the figures of each lot in list order. The lots are
    // walked in a flat copy of the order, brought up to date at each walk
    // with the lots linked and unlinked since the last one: a series
    // values every lot at every period end.
    template <class F>
    void ForEachLotFigures(F&& f) const {
        UpdateWalk();
        for (const Walked& w : walk_)
            f(static_cast<const LotFigures&>(figures_[static_cast<std::size_t>(w.record)]));
    }

    // The first lot in list order with this holding key, symbol (12
    // characters) and tax lot code (4), or 0.
    int16_t Find(double holding_key, std::string_view symbol, std::string_view tax_lot) const;
    // The first lot in list order with holding key 0 (the cash lot), or 0.
    int16_t FindCash() const;
    const records::HoldingRecord& Lot(int16_t record) const { return slots_[record].lot; }
    double Quantity(int16_t record) const { return slots_[record].lot.quantity; }
    double Cost(int16_t record) const { return slots_[record].lot.cost; }
    // A lot record kept by the list for the caller to fill and pass to
    // Insert, so that filling it allocates nothing. It holds what it was
    // last filled with: every field that Insert reads is to be set.
    records::HoldingRecord& ScratchLot() { return scratch_; }

    // Takes a record for the lot (a never-used one, or the head of the free
    // chain), links it in at its place in the order and writes it and the
    // lot before it. The lot's next field is set here; the bytes that the
    // lot update never writes (the memo and beyond) keep what the record
    // held. Returns the record number, or 0 when the free chain's head is
    // not a free record (nothing is changed).
    int16_t Insert(const records::HoldingRecord& lot);
    // Writes a changed lot (same place in the order: holding key, symbol
    // and tax lot code unchanged).
    void Update(int16_t record, const records::HoldingRecord& lot);
    // Update with only the quantity and cost changed, without a copy of
    // the lot.
    void SetQuantityAndCost(int16_t record, double quantity, double cost);
    // Unlinks the lot and puts its record at the head of the free chain.
    void Remove(int16_t record);
    // Writes the header with the account, label and last word.
    void WriteHeader(std::string_view account, std::string_view label, int16_t last_word);

    // From now on the changed records stay in memory until Flush writes
    // them (the series, which read the list from memory and write the
    // file once when they end). The file after Flush holds what writing
    // each change at once would have left.
    void DeferWrites();
    void Flush();

private:
    struct Placed {
        int16_t record = 0;
    };
    using Order = std::multimap<LotOrder, Placed>;
    struct Slot {
        records::Record bytes;
        records::HoldingRecord lot;
        bool listed = false;
        Order::iterator place{};
    };

    Slot& SlotOf(int16_t record);
    // False when the lot's texts are not of their full widths (the table
    // then is not used).
    static bool ExactOf(double holding_key, const std::string& symbol, const std::string& tax_lot,
                        ExactLotKey& key);
    void NoteExact(int16_t record);
    void ForgetExact(int16_t record);
    // Puts the lot's figures where the walk reads them.
    void Refigure(int16_t record);
    // The memo as the record's bytes hold it (bytes 77-96).
    static void SetMemoFromBytes(Slot& s);
    // A lot of holding key 0 linked or unlinked: the cash lot is looked
    // for again.
    int16_t SearchCash() const;
    void NoteKey(double holding_key) {
        if (holding_key == 0) cash_known_ = false;
    }
    // The walk's copy of the order: a lot's place and record.
    struct Walked {
        LotOrder place;
        int16_t record = 0;
    };
    // Brings walk_ up to date: the lots linked since (in the order they
    // were linked, so each goes after the lots equal to it, as in order_)
    // are merged in and the lots unlinked since are left out.
    void UpdateWalk() const;
    void NoteLinked(int16_t record, const LotOrder& place);
    void NoteUnlinked(int16_t record);
    void WriteSlot(int16_t record);
    // Points the lot before `it` in the order (or the header) at next.
    void Relink(Order::iterator it, int16_t next);

    int unit_;
    records::HoldingsHeader header_;
    std::vector<Slot> slots_;  // by record number
    Order order_;
    // The lot of each exact key while every lot has its own (exact_used_);
    // a second lot with one key, a text not of its width or a change of a
    // lot's key stops its use, and Find then searches the order.
    absl::flat_hash_map<ExactLotKey, int16_t> exact_;
    bool exact_used_ = true;
    std::vector<LotFigures> figures_;  // by record number, of the listed lots
    // The flat walk of the order as of the last ForEachLotFigures (built at
    // the first), the lots linked since and the records unlinked since
    // whose place in walk_ is to go.
    mutable bool walk_built_ = false;
    mutable std::vector<Walked> walk_;
    mutable std::vector<Walked> linked_;
    mutable std::vector<char> pending_;   // by record: the record is in linked_
    mutable std::vector<char> unlinked_;  // by record: its entry in walk_ goes
    mutable bool any_unlinked_ = false;
    bool defer_ = false;
    long records_on_file_ = 0;       // when DeferWrites was called
    std::vector<int16_t> dirty_;     // records changed since DeferWrites, once each
    std::vector<char> dirty_flags_;  // by record number
    records::Record header_record_;  // record 1 as written last (deferred)
    bool header_known_ = false;
    bool header_dirty_ = false;
    // FindCash's answer while no lot of holding key 0 is linked or
    // unlinked (only such a lot can change it).
    mutable bool cash_known_ = false;
    mutable int16_t cash_ = 0;
    records::HoldingRecord scratch_;
};

// The lot list of a series' scratch lot file, which the series start
// empty and write once when they end. While the series runs nothing reads
// the file, so the list keeps no links: a lot is found by its exact key,
// placed in the list order when the lots are walked (at each period end)
// and linked when the file is written (Flush). The file after Flush holds
// the bytes that a LotList on the same file, with every change written at
// once, leaves: every lot's next field names the lot after it in the
// order, and the header, written last by WriteHeader after the last
// change (as Lotupd does), names the first lot.
class SeriesLots {
public:
    // The file open on the unit is empty (the series purge it first).
    explicit SeriesLots(int unit = kLotUnit);

    // As LotList's.
    int16_t Find(double holding_key, std::string_view symbol, std::string_view tax_lot) const;
    int16_t FindCash() const;
    double Quantity(int16_t record) const { return figures_[static_cast<std::size_t>(record)].quantity; }
    double Cost(int16_t record) const { return figures_[static_cast<std::size_t>(record)].cost; }
    // The lot as its record holds it.
    records::HoldingRecord Lot(int16_t record) const;
    records::HoldingRecord& ScratchLot() { return scratch_; }
    // Takes a record for the lot as LotList::Insert does; the lot's next
    // and memo fields are set here (the memo the record holds).
    int16_t Insert(records::HoldingRecord& lot);
    void SetQuantityAndCost(int16_t record, double quantity, double cost);
    void Remove(int16_t record);
    void WriteHeader(std::string_view account, std::string_view label, int16_t last_word);

    // Calls f with the figures of each lot in list order.
    template <class F>
    void ForEachLotFigures(F&& f) const {
        UpdateWalk();
        for (const int16_t r : walk_)
            f(static_cast<const LotFigures&>(figures_[static_cast<std::size_t>(r)]));
    }

    // Links the lots in their order and writes every changed record and
    // the header (runs of records that follow one another with one write).
    void Flush();

private:
    struct Slot {
        records::Record bytes;
        LotOrder place;
        uint32_t code = 0;    // the whole lot code as one word
        uint32_t linked = 0;  // when it was linked: equal places stand in this order
        bool listed = false;
        bool full_width = false;  // its symbol and lot code were of their widths
    };
    Slot& SlotOf(int16_t record);
    void Dirty(int16_t record);
    bool Before(int16_t a, int16_t b) const;
    void UpdateWalk() const;

    int unit_;
    records::HoldingsHeader header_;
    std::vector<Slot> slots_;          // by record number
    std::vector<LotFigures> figures_;  // by record number
    std::vector<LotOrder> places_;     // by record number, for the walk's merge
    // The lot of each exact key while every lot has its own and texts of
    // their widths (exact_used_); Find searches the lots after that.
    absl::flat_hash_map<ExactLotKey, int16_t> exact_;
    bool exact_used_ = true;
    uint32_t links_ = 0;
    std::vector<int16_t> key_zero_;  // the listed lots of holding key 0
    mutable bool cash_known_ = false;
    mutable int16_t cash_ = 0;
    // The lots in list order as of the last walk, and those linked since
    // (in the order they were linked).
    mutable std::vector<int16_t> walk_;
    mutable std::vector<int16_t> linked_;
    mutable std::vector<int16_t> merged_;    // the next walk_ while it is made
    mutable std::vector<char> pending_;      // by record: the record is in linked_
    mutable std::vector<char> unlinked_;     // by record: its entry in walk_ goes
    std::vector<LotOrder> unlinked_places_;  // by record: the place of that entry
    mutable bool any_unlinked_ = false;
    std::vector<int16_t> dirty_;
    std::vector<char> dirty_flags_;
    records::Record header_record_ = records::Record(records::kAccountRecordLength, 0);
    bool header_dirty_ = false;
    records::HoldingRecord scratch_;
};

// Applies the transaction to the lot list: class and sign of its code
// (class 1 short sale, 2 closing, 3 cash only, 4 opening), the transfer
// flag (1 for SI and SO: no cash, no gain), and the GL switch (above 0
// writes a gain record for a closing sale on the gains file open on unit
// 14; the transaction's gains record number is set in memory when it had
// none). The label and the last word go into the lot header (and the label
// into the gains header); the descriptions into the gain record. Returns
// the short-sale condition: closing transactions that exceed their lot or
// find none leave the list as it was.
//
// A short sale adds to the open short lot of its lot code (its proceeds
// and quantity are added), as the holdings rebuild does; with none it
// opens a lot of negated quantity dated by its trade date.
int16_t Lotupd(LotList& lots, std::string_view account, std::string_view label, int16_t last_word,
               int16_t cls, int16_t sign, int16_t transfer, int16_t gl_switch,
               records::TransactionRecord& transaction, std::string_view description1 = {},
               std::string_view description2 = {});
// The same on a series' lot list.
int16_t Lotupd(SeriesLots& lots, std::string_view account, std::string_view label, int16_t last_word,
               int16_t cls, int16_t sign, int16_t transfer, int16_t gl_switch,
               records::TransactionRecord& transaction, std::string_view description1 = {},
               std::string_view description2 = {});

}  // namespace engine
