#pragma once

// The lot list of the holdings work file HL.TMP (and its texts in HL.EXT)
// as the holdings replay works on it.
//
// The list lives in its file: a singly linked list of lot records in
// ascending holding key, then symbol, then the first two characters of the
// tax lot code, with freed records on a free chain. Walking it from its
// head for every transaction costs lots x transactions, so a LotChain keeps
// every record of the file in memory beside it and an ordered index of the
// lots: look-ups and the place of a new lot come from the index. Every
// record that changes is written to the file at once, so the file holds
// exactly the bytes that the walk-and-link rules give; or, once
// DeferWrites is called, kept in memory until Flush writes every record
// changed since with one write (the replay, which writes the file once
// when it ends).
//
// The index agrees with the list walk as long as the list is in order and
// no holding key is NaN (which compares with nothing). When either fails
// (a damaged file that was loaded, or a transaction whose key is NaN) the
// chain drops the index and walks the list in memory from then on.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "absl/container/flat_hash_map.h"
#include "records/account_records.h"
#include "records/files.h"
#include "records/record.h"

namespace engine {

class LotChain {
public:
    // Where a lot stands in the list: its record, and the record of the
    // lot before it (0 when it is the first lot). record 0: not found.
    struct Place {
        int16_t record = 0;
        int16_t previous = 0;
        bool found() const { return record > 0; }
    };

    // with_extension: HL.EXT is kept beside HL.TMP (option 64).
    explicit LotChain(bool with_extension);

    // Deletes the named files and starts them empty.
    void Create(std::string_view holdings_name, std::string_view extension_name);
    // The same on files whose names are resolved already: each is deleted
    // and created under the path it was found under.
    void Create(const records::ResolvedPath& holdings, const records::ResolvedPath& extension);
    // Takes the named files as they stand; with create, a missing file is
    // created empty.
    void Load(std::string_view holdings_name, std::string_view extension_name, bool create = true);

    // True once a write to either file failed.
    bool failed() const { return failed_; }
    // From now on changes stay in memory until Flush.
    void DeferWrites() { defer_ = true; }
    // Writes the records changed since DeferWrites (or the last Flush) to
    // each file with one write; false when a write failed.
    bool Flush();
    bool with_extension() const { return with_extension_; }

    // The working header: ReadHeader takes it from record 1 (an unreadable
    // header, or one with a 0 in its first-lot, records-in-use or next-free
    // field, is an empty list); the walks start from its first link, and
    // WriteHeader writes it back.
    records::HoldingsHeader& header() { return header_; }
    void ReadHeader();
    void WriteHeader();

    // Whether record n lies within the holdings file, and its bytes.
    bool Readable(long n) const { return n >= 1 && n < static_cast<long>(records_.size()); }
    const records::Record& Raw(long n) const { return records_[static_cast<std::size_t>(n)]; }
    // The texts of lot record n; blanks when HL.EXT has no such record.
    records::HoldingExtension Extension(long n) const;
    bool ExtensionReadable(long n) const {
        return with_extension_ && n >= 1 && n < static_cast<long>(extensions_.size());
    }

    // The first lot in list order with this key, symbol (12) and tax lot
    // code (4); the walk gives up at the first lot with a greater key.
    Place Find(double key, std::string_view symbol, std::string_view tax_lot);
    // The first lot in list order with this key.
    Place FindKey(double key);
    // The first lot in list order with this symbol and tax lot code,
    // whatever its key; 0 when none.
    int16_t FirstWith(std::string_view symbol, std::string_view tax_lot);
    // The lot after which a new lot goes (0: at the head): before the first
    // lot with a greater key, or the same key and a greater symbol, or the
    // same key and symbol and a greater tax lot code (first two characters).
    int16_t InsertionPoint(double key, std::string_view symbol, std::string_view tax_lot);

    // Takes the lot out of the list: the header's first link or the
    // previous lot's next link takes its next link; the previous lot is
    // written back with its extension record.
    void Unlink(const Place& place);
    // Links the lot in after `previous` (0: at the head) and writes it; its
    // next link is set here.
    void Link(int16_t record, int16_t previous, const records::Record& lot);
    // Writes a lot that stays at its place (same key, symbol and lot code).
    void Rewrite(int16_t record, const records::Record& lot);
    // Record n (from 2, not in the list) to encode a new lot into where it
    // is kept, before Link links it: the bytes the record holds, zeros when
    // it lies past the end of the file (as the records in between are).
    records::Record& NewLot(long n);
    // A record within the file (Readable) to change where it is kept, and
    // the write of it once changed (as Rewrite, without a copy). A change
    // that moves a lot in the order goes through Unlink and Link instead.
    records::Record& Edit(long n) { return records_[static_cast<std::size_t>(n)]; }
    void Edited(long n) { WriteRecord(n, records_[static_cast<std::size_t>(n)]); }
    // Writes a record that is not in the list (a freed record).
    void WriteFree(int16_t record, const records::Record& rec);
    void WriteExtension(long record, const records::HoldingExtension& ext);

    // True while the ordered index is in use (for tests).
    bool indexed() const { return !linear_; }
    // Drops the index: every look-up walks the list from then on.
    void DropIndex();

private:
    // Order of the lots: their place (records::LotOrder), then the order
    // of linking, since a new lot goes after the lots that are equal to it.
    // The lots are kept in groups of one holding key and symbol, ordered
    // among themselves; within a group, by the first two characters of the
    // lot code and the order of linking. A group holds a few lots, so its
    // lots are a small vector searched in place, and the ordered map holds
    // groups, not lots.
    struct GroupKey {
        uint64_t key = 0;
        uint64_t symbol_high = 0;
        uint32_t symbol_low = 0;
        static GroupKey Of(const records::LotOrder& place) {
            return {place.key, place.symbol_high, place.symbol_low};
        }
        friend auto operator<=>(const GroupKey&, const GroupKey&) = default;
        template <class H>
        friend H AbslHashValue(H h, const GroupKey& k) {
            return H::combine(std::move(h), k.key, k.symbol_high, k.symbol_low);
        }
    };
    struct Member {
        uint16_t code = 0;
        uint64_t sequence = 0;
        int16_t record = 0;
    };
    using Groups = std::map<GroupKey, std::vector<Member>>;
    // The group of a key, found without a descent of the map (which is
    // left for a group not there yet).
    Groups::iterator FindGroup(const GroupKey& key);
    // Lots of one symbol and lot code by key and order of linking.
    using TextOrder = std::map<std::pair<double, uint64_t>, int16_t>;
    // Symbol (12) and lot code (4) packed into two words, and holding key,
    // symbol and whole lot code packed into four: the keys of the hashed
    // look-ups.
    struct TextKey {
        uint64_t a = 0, b = 0;
        static TextKey Of(std::string_view symbol12, std::string_view code4);
        friend bool operator==(const TextKey&, const TextKey&) = default;
        template <class H>
        friend H AbslHashValue(H h, const TextKey& k) {
            return H::combine(std::move(h), k.a, k.b);
        }
    };
    struct ExactKey {
        uint64_t key = 0;
        TextKey text;
        friend bool operator==(const ExactKey&, const ExactKey&) = default;
        template <class H>
        friend H AbslHashValue(H h, const ExactKey& k) {
            return H::combine(std::move(h), k.key, k.text);
        }
    };

    void WriteRecord(long n, const records::Record& rec);
    int16_t NextOf(int16_t record) const;
    void SetNext(int16_t previous, int16_t next);
    bool Listed(long link) const;
    // Notes the lot before a listed lot (record below 1: none to note).
    void SetPrevious(int16_t record, int16_t previous);
    void Index(int16_t record);
    void Unindex(int16_t record);
    // Builds the index from the list; drops it when the list is out of
    // order, damaged or holds a NaN key.
    void BuildIndex();

    // The records changed and not yet written, from first to last.
    struct Dirty {
        long first = 0;
        long last = 0;
        void Mark(long n) {
            if (first == 0 || n < first) first = n;
            if (n > last) last = n;
        }
    };
    // Writes the dirty records in chunks through bytes (kept for the next
    // flush).
    static bool FlushFile(records::DirectFile* file, const std::vector<records::Record>& all, Dirty& dirty,
                          std::vector<unsigned char>& bytes);

    bool with_extension_;
    bool failed_ = false;
    bool defer_ = false;
    Dirty dirty_holdings_;
    Dirty dirty_extensions_;
    bool linear_ = false;
    std::unique_ptr<records::DirectFile> holdings_file_;
    std::unique_ptr<records::DirectFile> extension_file_;
    std::vector<records::Record> records_;     // by record number; [0] unused
    std::vector<records::Record> extensions_;  // by record number; [0] unused
    std::vector<unsigned char> flush_bytes_;
    records::HoldingsHeader header_;

    Groups groups_;  // none empty
    // Each group by its key, found without a descent of groups_ (an
    // account holds a few hundred groups).
    absl::flat_hash_map<GroupKey, Groups::iterator> group_table_;
    // By record number: the group of each indexed lot (groups_.end() when
    // not indexed) and its order of linking.
    std::vector<Groups::iterator> group_of_;
    std::vector<uint64_t> sequence_of_;
    // The lot before each listed lot in the list (0: the first), kept
    // while the index is: the list order is the index's order.
    std::vector<int16_t> previous_;
    // The lot with each holding key, symbol and lot code (a list that
    // holds two such lots is walked instead).
    absl::flat_hash_map<ExactKey, int16_t> exact_;
    // Built at the first FirstWith, then kept.
    bool text_indexed_ = false;
    absl::flat_hash_map<TextKey, TextOrder> by_text_;
    uint64_t sequence_ = 0;
    // The group InsertionPoint found (end: none yet) for the lot linked
    // next, so that Index need not look for it again; dropped when a group
    // is erased or the index rebuilt.
    bool pending_ = false;
    GroupKey pending_group_key_;
    Groups::iterator pending_group_;
};

}  // namespace engine
