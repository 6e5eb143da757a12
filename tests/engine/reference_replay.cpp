// The holdings replay as it stood before it kept its work files in memory
// and wrote each once: every lot, header and gain written as it changes,
// the transaction and security records read one at a time, and every
// rounding through the layout engine. The randomized replay test runs it
// beside the replay of engine/ and expects the same bytes in every file.
// Kept as the reference only; nothing in the program calls it.

#include "tests/engine/reference_replay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "records/codes.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/rounding.h"

namespace reference_replay {

namespace {

// Rounding by its definition: written under "(F20.d)" and read back.
void LayoutRound(double& value, int decimals) {
    const std::string layout = "(F20." + std::to_string(decimals) + ")";
    const std::string text = records::Write(layout, {value});
    double read = value;
    if (records::Read(std::string_view(text).substr(0, 20), layout, {&read})) value = read;
}
void LayoutRound2(double& value) {
    LayoutRound(value, 2);
}

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

    // True once a write to either file failed.
    bool failed() const { return failed_; }
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
    void Link(int16_t record, int16_t previous, records::Record lot);
    // Writes a lot that stays at its place (same key, symbol and lot code).
    void Rewrite(int16_t record, const records::Record& lot);
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
    struct OrderKey {
        records::LotOrder place;
        uint64_t sequence = 0;
        friend auto operator<=>(const OrderKey&, const OrderKey&) = default;
    };
    using Order = std::map<OrderKey, int16_t>;
    // Lots of one symbol and lot code by key and order of linking.
    using TextOrder = std::map<std::pair<double, uint64_t>, int16_t>;

    void WriteRecord(long n, const records::Record& rec);
    int16_t NextOf(int16_t record) const;
    void SetNext(int16_t previous, int16_t next);
    bool Listed(long link) const;
    void Index(int16_t record);
    void Unindex(int16_t record);
    // Builds the index from the list; drops it when the list is out of
    // order, damaged or holds a NaN key.
    void BuildIndex();

    bool with_extension_;
    bool failed_ = false;
    bool linear_ = false;
    std::unique_ptr<records::DirectFile> holdings_file_;
    std::unique_ptr<records::DirectFile> extension_file_;
    std::vector<records::Record> records_;     // by record number; [0] unused
    std::vector<records::Record> extensions_;  // by record number; [0] unused
    records::HoldingsHeader header_;

    Order order_;
    std::vector<Order::iterator> places_;  // by record number; order_.end() when not indexed
    std::unordered_map<std::string, TextOrder> by_text_;
    uint64_t sequence_ = 0;
};

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

void RemoveFile(std::string_view name) {
    const std::string path = records::ResolveName(name);
    if (path.empty()) return;
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

}  // namespace

LotChain::LotChain(bool with_extension) : with_extension_(with_extension) {}

void LotChain::Create(std::string_view holdings_name, std::string_view extension_name) {
    RemoveFile(holdings_name);
    holdings_file_ = std::make_unique<records::DirectFile>(holdings_name, records::kAccountRecordLength);
    if (!holdings_file_->ok()) failed_ = true;
    records_.assign(1, Record());
    if (with_extension_) {
        RemoveFile(extension_name);
        extension_file_ =
            std::make_unique<records::DirectFile>(extension_name, records::kAccountRecordLength);
        if (!extension_file_->ok()) failed_ = true;
    }
    extensions_.assign(1, Record());
    header_ = records::HoldingsHeader{};
    BuildIndex();
}

void LotChain::ReadHeader() {
    header_ = Readable(1) ? records::HoldingsHeader::Decode(records_[1]) : records::HoldingsHeader{};
}

void LotChain::WriteHeader() {
    Record rec = Readable(1) ? records_[1] : Record(records::kAccountRecordLength, 0);
    header_.Encode(rec);
    WriteRecord(1, rec);
}

records::HoldingExtension LotChain::Extension(long n) const {
    if (!ExtensionReadable(n)) return {};
    return records::HoldingExtension::Decode(extensions_[static_cast<std::size_t>(n)]);
}

void LotChain::WriteRecord(long n, const Record& rec) {
    if (n < 1) return;
    const auto at = static_cast<std::size_t>(n);
    // A write past the end leaves zero records in between, as the file does.
    if (at >= records_.size()) records_.resize(at + 1, Record(records::kAccountRecordLength, 0));
    records_[at] = rec;
    if (records_[at].size() < records::kAccountRecordLength)
        records_[at].bytes().resize(records::kAccountRecordLength, 0);
    if (!holdings_file_ || !holdings_file_->Write(n, records_[at])) failed_ = true;
}

void LotChain::WriteExtension(long n, const records::HoldingExtension& ext) {
    if (!with_extension_ || n < 1) return;
    const auto at = static_cast<std::size_t>(n);
    if (at >= extensions_.size()) extensions_.resize(at + 1, Record(records::kAccountRecordLength, 0));
    ext.Encode(extensions_[at]);
    if (!extension_file_ || !extension_file_->Write(n, extensions_[at])) failed_ = true;
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
    Record rec = Raw(previous);
    rec.SetI16(kNextOffset, next);
    WriteRecord(previous, rec);
}

// ---- Look-ups. Each has the list walk, which is the rule, and the index
// look-up, which gives the same answer on a list in order without NaN keys.

LotChain::Place LotChain::Find(double key, std::string_view symbol, std::string_view tax_lot) {
    const std::string s = records::Fixed(symbol, 12);
    const std::string c = records::Fixed(tax_lot, 4);
    if (linear_ || std::isnan(key)) {
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
    const OrderKey probe{records::LotOrder::Of(key, s, c), 0};
    for (auto it = order_.lower_bound(probe); it != order_.end(); ++it) {
        if (it->first.place != probe.place) break;
        if (CodeOf(Raw(it->second)) == c)
            return {it->second, it == order_.begin() ? int16_t{0} : std::prev(it)->second};
    }
    return {};
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
    records::LotOrder from = records::LotOrder::Of(key, "", "");
    from.symbol_high = 0;
    from.symbol_low = 0;
    from.code = 0;
    auto it = order_.lower_bound(OrderKey{from, 0});
    if (it == order_.end() || it->first.place.key != from.key) return {};
    return {it->second, it == order_.begin() ? int16_t{0} : std::prev(it)->second};
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
    auto found = by_text_.find(s + c);
    if (found == by_text_.end() || found->second.empty()) return 0;
    return found->second.begin()->second;
}

int16_t LotChain::InsertionPoint(double key, std::string_view symbol, std::string_view tax_lot) {
    const std::string s = records::Fixed(symbol, 12);
    const std::string c2 = records::Fixed(tax_lot, 4).substr(0, 2);
    if (linear_ || std::isnan(key)) {
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
    auto it =
        order_.upper_bound(OrderKey{records::LotOrder::Of(key, s, c2), std::numeric_limits<uint64_t>::max()});
    return it == order_.begin() ? int16_t{0} : std::prev(it)->second;
}

// ---- Changes

void LotChain::Unlink(const Place& place) {
    SetNext(place.previous, NextOf(place.record));
    if (place.previous != 0 && with_extension_) WriteExtension(place.previous, Extension(place.previous));
    if (!linear_) Unindex(place.record);
}

void LotChain::Link(int16_t record, int16_t previous, Record lot) {
    lot.SetI16(kNextOffset, previous == 0 ? header_.first_lot : NextOf(previous));
    WriteRecord(record, lot);
    SetNext(previous, record);
    if (linear_) return;
    if (std::isnan(KeyOf(lot)))
        DropIndex();
    else
        Index(record);
}

void LotChain::Rewrite(int16_t record, const Record& lot) {
    WriteRecord(record, lot);
}

void LotChain::WriteFree(int16_t record, const Record& rec) {
    WriteRecord(record, rec);
}

// ---- The index

void LotChain::Index(int16_t record) {
    const Record& lot = Raw(record);
    const OrderKey k{records::LotOrder::OfRecord(lot), ++sequence_};
    const auto at = static_cast<std::size_t>(record);
    if (at >= places_.size()) places_.resize(at + 1, order_.end());
    by_text_[SymbolOf(lot) + CodeOf(lot)].emplace(std::make_pair(KeyOf(lot), k.sequence), record);
    places_[at] = order_.emplace(k, record).first;
}

void LotChain::Unindex(int16_t record) {
    const auto at = static_cast<std::size_t>(record);
    if (at >= places_.size() || places_[at] == order_.end()) return;
    const auto it = places_[at];
    const Record& lot = Raw(record);
    auto text = by_text_.find(SymbolOf(lot) + CodeOf(lot));
    if (text != by_text_.end()) {
        text->second.erase(std::make_pair(KeyOf(lot), it->first.sequence));
        if (text->second.empty()) by_text_.erase(text);
    }
    order_.erase(it);
    places_[at] = order_.end();
}

void LotChain::DropIndex() {
    linear_ = true;
    order_.clear();
    by_text_.clear();
    places_.clear();
}

void LotChain::BuildIndex() {
    linear_ = false;
    order_.clear();
    by_text_.clear();
    places_.assign(records_.size(), order_.end());
    std::unordered_set<long> seen;
    records::LotOrder last{};
    bool first = true;
    for (long link = header_.first_lot; Listed(link); link = Raw(link).I16(kNextOffset)) {
        const Record& lot = Raw(link);
        const records::LotOrder place = records::LotOrder::OfRecord(lot);
        // A loop, a NaN key or a lot out of order: only the walk gives the
        // list's answers.
        if (!seen.insert(link).second || std::isnan(KeyOf(lot)) || (!first && place < last)) {
            DropIndex();
            return;
        }
        Index(static_cast<int16_t>(link));
        last = place;
        first = false;
    }
}

class HoldingsWork {
public:
    HoldingsWork(std::string_view account, std::string_view label, const records::Options& options,
                 bool write_mode);

    // Starts the work files anew: HL.TMP with the header of an empty list,
    // GL.TMP empty in write mode, HL.EXT empty under option 64.
    void Start();

    // The two description lines of the security, for the gain records.
    void SetSecurity(std::string_view description1, std::string_view description2);

    // Applies the transaction. cls, sign and transfer are its code's
    // (records::Code); memo (20), date (8) and description (32) its texts.
    // In write mode a closing sale's gain goes to GL.TMP and its record
    // number into the transaction's field 17 (0 otherwise). reserved goes
    // into the last word of the HL.TMP header. status: ReplayStatus.
    void Updhlt(records::TransactionRecord& transaction, int16_t reserved, int16_t cls, int16_t sign,
                int16_t transfer, int16_t& status, std::string_view memo, std::string_view date,
                std::string_view description);

    // Ftele2 on the work area in memory.
    void Ftele2(std::string_view symbol, std::string_view tax_lot, std::string& memo, std::string& date,
                std::string& description);

    // True once a work file could not be written.
    bool failed() const { return failed_ || lots_.failed(); }
    LotChain& lots() { return lots_; }

private:
    // Writes the gain of a closing sale to GL.TMP and its record number
    // into the transaction's field 17.
    void WriteGain(records::TransactionRecord& t, const records::HoldingRecord& lot, double quantity,
                   int16_t sign);
    // Takes a record for a new lot from the free chain or the end of the
    // file; 0 when the chain's head is not a free record (the update ends)
    // and -1 when no 16-bit record number is left.
    int16_t NewRecord();
    void RoundQuantity(double& value) const;

    std::string account_;
    std::string label_;
    records::Options options_;
    bool write_mode_;
    int decimals_;
    LotChain lots_;
    std::unique_ptr<records::DirectFile> gains_file_;
    int16_t gain_count_ = 0;
    std::string description1_ = std::string(32, ' ');
    std::string description2_ = std::string(32, ' ');
    bool failed_ = false;
};

using records::Record;

constexpr std::size_t kGainRecordOffset = 106;  // field 17 of a transaction record
constexpr double kClosedQuantity = 0.0005;      // a lot this close to 0 is closed
constexpr int16_t kLastRecordNumber = 32767;    // record numbers are 16-bit
constexpr int16_t kCashSecurityRecord = 2;

bool StartsWithCash(std::string_view symbol) {
    return records::Fixed(symbol, 4) == "CASH";
}

// A text that carries nothing: blanks, or the zero bytes that posting
// writes into a transaction's memo.
bool Empty(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\0'; });
}

// Same-day order of the codes: cash-only codes and SP, then the openings,
// then the closings.
int DayRank(std::string_view code) {
    if (code == "B   " || code == "SS  " || code == "SI  ") return 1;
    if (code == "S   " || code == "CS  " || code == "SO  ") return 2;
    return 0;
}

// Fills a transaction's texts from the first lot of the chain with its
// symbol and lot code (see Ftele2).
void FillFromLots(LotChain& lots, std::string_view symbol, std::string_view tax_lot, std::string& memo,
                  std::string& date, std::string& description, bool lot_texts) {
    if (!records::IsBlank(records::Fixed(memo, 5)) || StartsWithCash(symbol)) return;
    lots.ReadHeader();
    const int16_t n = lots.FirstWith(symbol, tax_lot);
    if (n == 0) return;
    memo = records::HoldingRecord::Decode(lots.Raw(n)).memo;
    if (!lot_texts || !lots.ExtensionReadable(n)) return;
    const records::HoldingExtension ext = lots.Extension(n);
    date = ext.settlement_date;
    description = ext.text;
}

// The texts of the account's stored lots (HL<acct>.REC and HL<acct>.EXT),
// as records::Ftele reads them, with the lot list read once per replay:
// Ftele walks the stored list from its head for every transaction.
class StoredLotTexts {
public:
    StoredLotTexts(std::string_view account, const records::Options& options)
        : account_(account), lot_texts_(records::OptionOn(options, records::Opt::kLotTexts)) {}

    void Ftele(std::string_view symbol, std::string_view tax_lot, std::string& memo, std::string& date,
               std::string& description) {
        // Unlike Ftele2, the whole memo must be blank.
        if (!records::IsBlank(records::Fixed(memo, 20)) || StartsWithCash(symbol)) return;
        Load();
        const auto found = first_.find(records::Fixed(symbol, 12) + records::Fixed(tax_lot, 4));
        if (found == first_.end()) return;
        memo = found->second.memo;
        if (!lot_texts_) return;
        if (!extensions_)
            extensions_ = std::make_unique<records::DirectFile>(records::Paknam(account_, "HL", ".EXT"),
                                                                records::kAccountRecordLength, false);
        Record ext;
        if (!extensions_->Read(found->second.record, ext)) return;
        date = ext.Text(0, 8);
        description = ext.Text(8, 32);
    }

private:
    struct FirstLot {
        long record = 0;
        std::string memo;
    };

    // Walks the stored list once and keeps the first lot of each symbol and
    // lot code. The walk ends where Ftele's would: at a link below 2, a
    // record that cannot be read, or after as many steps as the file has
    // records; lots past that point are not found.
    void Load() {
        if (loaded_) return;
        loaded_ = true;
        const records::DirectFile file(records::Paknam(account_, "HL", ".REC"), records::kAccountRecordLength,
                                       false);
        Record header;
        if (!file.Read(1, header)) return;
        if (header.I16(0) == 0 || header.I16(10) == 0 || header.I16(12) == 0) return;
        const long limit = file.Count();
        long link = header.I16(0);
        Record lot;
        for (long steps = 0; link >= 2 && steps < limit; ++steps) {
            if (!file.Read(link, lot)) return;
            first_.try_emplace(lot.Text(10, 12) + lot.Text(32, 4), FirstLot{link, lot.Text(76, 20)});
            link = lot.I16(0);
        }
    }

    std::string account_;
    bool lot_texts_;
    bool loaded_ = false;
    std::unordered_map<std::string, FirstLot> first_;
    std::unique_ptr<records::DirectFile> extensions_;
};

// ---- The work area

HoldingsWork::HoldingsWork(std::string_view account, std::string_view label, const records::Options& options,
                           bool write_mode)
    : account_(records::Fixed(account, 8)),
      label_(records::Fixed(label, 8)),
      options_(options),
      write_mode_(write_mode),
      decimals_(records::SystemDecimals(options)),
      lots_(records::OptionOn(options, records::Opt::kLotTexts)) {}

void HoldingsWork::Start() {
    lots_.Create(engine::HoldingsWorkName(), engine::LotTextsWorkName());
    // A replay without option 64 leaves no HL.EXT behind, so that no
    // earlier replay's lot texts pass for this one's.
    if (!lots_.with_extension()) RemoveFile(engine::LotTextsWorkName());
    records::HoldingsHeader& header = lots_.header();
    header.account = account_;
    header.label = label_;
    header.spare = 0;
    lots_.WriteHeader();
    gain_count_ = 0;
    if (write_mode_) {
        RemoveFile(engine::GainsWorkName());
        gains_file_ =
            std::make_unique<records::DirectFile>(engine::GainsWorkName(), records::kAccountRecordLength);
        if (!gains_file_->ok()) failed_ = true;
    }
}

void HoldingsWork::SetSecurity(std::string_view description1, std::string_view description2) {
    description1_ = records::Fixed(description1, 32);
    description2_ = records::Fixed(description2, 32);
}

void HoldingsWork::RoundQuantity(double& value) const {
    // Drndn's rounding with the decimals taken from option 81 once per
    // replay: Drndn reads the options record at every call.
    LayoutRound(value, decimals_);
}

void HoldingsWork::Ftele2(std::string_view symbol, std::string_view tax_lot, std::string& memo,
                          std::string& date, std::string& description) {
    FillFromLots(lots_, symbol, tax_lot, memo, date, description,
                 records::OptionOn(options_, records::Opt::kLotTexts));
}

int16_t HoldingsWork::NewRecord() {
    records::HoldingsHeader& header = lots_.header();
    const int16_t n = header.next_free;
    if (n <= header.records_in_use) {
        // The head of the free chain must be a freed record.
        if (!lots_.Readable(n) || n < 2 || !records::DeletedLot::Is(lots_.Raw(n))) return 0;
        header.next_free = records::DeletedLot::Decode(lots_.Raw(n)).next_free;
        return n;
    }
    if (n >= kLastRecordNumber || header.records_in_use >= kLastRecordNumber) return -1;
    ++header.records_in_use;
    ++header.next_free;
    return n;
}

void HoldingsWork::WriteGain(records::TransactionRecord& t, const records::HoldingRecord& lot,
                             double quantity, int16_t sign) {
    if (!gains_file_) {
        failed_ = true;
        return;
    }
    records::GainRecord gain;
    gain.sale_date = t.date_number;
    gain.open_date = lot.open_date;
    gain.description1 = description1_;
    gain.description2 = description2_;
    gain.quantity = quantity;
    gain.symbol = t.symbol;
    gain.security_record = t.security_record;
    const bool divisible = quantity != 0 && lot.quantity != 0;
    if (t.code == "CS  ") {
        // A cover: the cover's amount is its cost, the short lot's proceeds
        // for the quantity covered its proceeds.
        gain.short_cover = 1;
        gain.cost = t.amount;
        gain.proceeds = divisible ? quantity * sign * lot.cost / lot.quantity : 0;
        gain.gain = gain.proceeds - gain.cost;
    } else {
        gain.proceeds = t.amount;
        gain.cost = divisible ? lot.cost / lot.quantity * quantity : 0;
        gain.gain = divisible ? (t.amount / quantity - sign * lot.cost / lot.quantity) * quantity : 0;
    }
    ++gain_count_;
    t.gain_record = static_cast<int16_t>(gain_count_ + 1);
    Record rec(records::kAccountRecordLength, 0);
    gain.Encode(rec);
    if (!gains_file_->Write(t.gain_record, rec)) failed_ = true;
    records::GainsHeader header{account_, label_, gain_count_};
    if (!gains_file_->Read(1, rec)) rec = Record(records::kAccountRecordLength, 0);
    header.Encode(rec);
    if (!gains_file_->Write(1, rec)) failed_ = true;
}

void HoldingsWork::Updhlt(records::TransactionRecord& t, int16_t reserved, int16_t cls, int16_t sign,
                          int16_t transfer, int16_t& status, std::string_view memo, std::string_view date,
                          std::string_view description) {
    status = engine::kReplayDone;
    lots_.ReadHeader();
    records::HoldingsHeader& header = lots_.header();
    if (cls < records::kShortSaleClass || cls > records::kOpeningClass) return;
    const bool lot_texts = lots_.with_extension();
    // Set once the list has changed: an update that ends silently after
    // that leaves the header unwritten, and the index no longer tells the
    // file's list.
    bool changed = false;
    auto end_silently = [&] {
        if (changed) lots_.DropIndex();
    };

    if (cls != records::kCashOnlyClass) {
        const LotChain::Place place = lots_.Find(t.holding_key, t.symbol, t.tax_lot);
        if (place.found()) {
            Record raw = lots_.Raw(place.record);
            records::HoldingRecord lot = records::HoldingRecord::Decode(raw);
            double quantity = t.quantity;
            RoundQuantity(quantity);
            RoundQuantity(lot.quantity);
            if (cls == records::kClosingClass) {
                if (sign * lot.quantity < quantity) {
                    status = engine::kLotExceeded;
                    return;
                }
                if (transfer == 0 && write_mode_) {
                    if (gain_count_ >= kLastRecordNumber - 1) {
                        failed_ = true;
                        status = engine::kWorkFilesFailed;
                        return;
                    }
                    WriteGain(t, lot, quantity, sign);
                }
            }
            const double remaining = lot.quantity - sign * quantity;
            if (remaining >= -kClosedQuantity && remaining <= kClosedQuantity) {
                lots_.Unlink(place);
                records::DeletedLot{header.next_free}.Encode(raw);
                lots_.WriteFree(place.record, raw);
                header.next_free = place.record;
            } else {
                double cost = lot.cost;
                if (cls == records::kShortSaleClass) {
                    // A further short sale adds its proceeds to the short lot.
                    cost = lot.cost + t.amount;
                } else if (sign > 0 || t.code == "CS  ") {
                    // What remains keeps its unit cost.
                    if (lot.quantity != 0) cost = lot.cost / lot.quantity * remaining;
                } else {
                    cost = lot.cost - sign * t.amount;
                }
                LayoutRound2(cost);
                lot.quantity = remaining;
                lot.cost = cost;
                // The lot keeps its memo and texts unless the transaction
                // brings its own.
                if (!Empty(memo)) lot.memo = records::Fixed(memo, 20);
                lot.Encode(raw);
                lots_.Rewrite(place.record, raw);
                if (lot_texts) {
                    records::HoldingExtension ext = lots_.Extension(place.record);
                    if (!Empty(date)) ext.settlement_date = records::Fixed(date, 8);
                    if (!Empty(description)) ext.text = records::Fixed(description, 32);
                    lots_.WriteExtension(place.record, ext);
                }
            }
            changed = true;
        } else {
            if (cls == records::kClosingClass) {
                status = engine::kLotNotFound;
                return;
            }
            const int16_t n = NewRecord();
            if (n == 0) return end_silently();
            if (n < 0) {
                failed_ = true;
                status = engine::kWorkFilesFailed;
                return;
            }
            records::HoldingRecord lot;
            lot.holding_key = t.holding_key;
            lot.symbol = t.symbol;
            lot.security_record = t.security_record;
            lot.broker = t.broker;
            lot.tax_lot = t.tax_lot;
            lot.quantity = cls == records::kShortSaleClass ? -t.quantity : t.quantity;
            lot.cost = t.amount;
            LayoutRound2(lot.cost);
            lot.open_date = cls == records::kShortSaleClass ? t.trade_date : t.lot_date;
            lot.bond_interest = t.bond_interest;
            lot.reference = (t.code == "SI  " || t.code == "SO  ") ? t.trade_date : std::string(8, ' ');
            lot.memo = records::Fixed(memo, 20);
            Record raw = lots_.Readable(n) ? lots_.Raw(n) : Record(records::kAccountRecordLength, 0);
            lot.Encode(raw);
            lots_.Link(n, lots_.InsertionPoint(lot.holding_key, lot.symbol, lot.tax_lot), raw);
            if (lot_texts) {
                records::HoldingExtension ext;
                ext.settlement_date = records::Fixed(date, 8);
                ext.text = records::Fixed(description, 32);
                lots_.WriteExtension(n, ext);
            }
            changed = true;
        }
    }

    if (transfer == 0) {
        double amount = t.amount;
        double interest = t.bond_interest;
        LayoutRound2(amount);
        LayoutRound2(interest);
        const LotChain::Place cash = lots_.FindKey(0.0);
        if (cash.found()) {
            Record raw = lots_.Raw(cash.record);
            records::HoldingRecord lot = records::HoldingRecord::Decode(raw);
            double balance = lot.cost;
            LayoutRound2(balance);
            balance = balance + sign * (amount + interest);
            LayoutRound2(balance);
            lot.quantity = balance;
            lot.cost = balance;
            lot.Encode(raw);
            lots_.Rewrite(cash.record, raw);
        } else {
            const int16_t n = NewRecord();
            if (n == 0) return end_silently();
            if (n < 0) {
                failed_ = true;
                status = engine::kWorkFilesFailed;
                return;
            }
            double balance = sign * (amount + interest);
            LayoutRound2(balance);
            records::HoldingRecord lot;
            lot.holding_key = 0;
            lot.symbol = "CASH        ";
            lot.security_record = kCashSecurityRecord;
            lot.quantity = balance;
            lot.cost = balance;
            Record raw = lots_.Readable(n) ? lots_.Raw(n) : Record(records::kAccountRecordLength, 0);
            lot.Encode(raw);
            lots_.Link(n, lots_.InsertionPoint(lot.holding_key, lot.symbol, lot.tax_lot), raw);
            // The cash lot carries no texts.
            if (lot_texts) lots_.WriteExtension(n, records::HoldingExtension{});
        }
    }

    header.account = account_;
    header.label = label_;
    header.spare = reserved;
    lots_.WriteHeader();
}

// ---- The replay

engine::ReplayResult ReplayTransactions(std::string_view account, std::string_view label, float as_of,
                                        int16_t write_mode, int16_t exclude_day) {
    engine::ReplayResult result;
    const records::Options options = records::Rdopts();
    const bool write = write_mode != 0;
    const bool texts = records::OptionOn(options, records::Opt::kTransactionTexts) ||
                       records::OptionOn(options, records::Opt::kLotTexts);

    HoldingsWork work(account, label, options, write);
    work.Start();
    if (work.failed()) {
        result.status = engine::kWorkFilesFailed;
        return result;
    }

    // The transactions that qualify, in replay order.
    struct Entry {
        float date;
        int rank;
        long record;
    };
    std::vector<Entry> entries;
    std::vector<Record> raw;  // by record number
    records::DirectFile transactions(records::Paknam(account, "TR", ".REC"), records::kAccountRecordLength,
                                     false);
    Record rec;
    const long last = transactions.Read(1, rec) ? records::TransactionFileHeader::Decode(rec).last_record : 1;
    raw.resize(static_cast<std::size_t>(std::max(last, 1L)) + 1);
    for (long n = 2; n <= last; ++n) {
        if (!transactions.Read(n, rec)) break;
        const records::TransactionRecord t = records::TransactionRecord::Decode(rec);
        const bool in_time = exclude_day != 0 ? t.date_number < as_of : t.date_number <= as_of;
        if (!in_time || t.IsDeleted() || t.type == "N   ") continue;
        entries.push_back({t.date_number, DayRank(t.code), n});
        raw[static_cast<std::size_t>(n)] = rec;
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.date, a.rank, a.record) < std::tie(b.date, b.rank, b.record);
    });

    std::unique_ptr<records::DirectFile> extensions;
    if (texts)
        extensions = std::make_unique<records::DirectFile>(records::Paknam(account, "TR", ".EXT"),
                                                           records::kAccountRecordLength, false);
    std::unique_ptr<records::DirectFile> securities;
    if (write)
        securities = std::make_unique<records::DirectFile>(records::kSecurityRecords,
                                                           records::kAccountRecordLength, false);
    StoredLotTexts stored(account, options);

    for (const Entry& entry : entries) {
        const Record& stored_record = raw[static_cast<std::size_t>(entry.record)];
        records::TransactionRecord t = records::TransactionRecord::Decode(stored_record);
        std::string memo(20, ' '), date(8, ' '), description(32, ' ');
        if (texts) {
            if (extensions->Read(entry.record, rec)) {
                const records::TransactionExtension ext = records::TransactionExtension::Decode(rec);
                memo = ext.memo;
                date = ext.settlement_date;
                description = ext.text;
            }
            work.Ftele2(t.symbol, t.tax_lot, memo, date, description);
            stored.Ftele(t.symbol, t.tax_lot, memo, date, description);
        }
        if (t.code == "SI  ") t.amount = t.lot_cost;
        int16_t cls = 0, sign = 0, transfer = 0, not_found = 0;
        records::Code(t.code, cls, sign, transfer, 1, not_found);
        if (not_found != 0) cls = sign = transfer = 0;
        t.gain_record = 0;
        if (write) {
            std::string description1(32, ' '), description2(32, ' ');
            if (t.security_record > 0 && securities->Read(t.security_record, rec)) {
                description1 = rec.Text(12, 32);
                description2 = rec.Text(44, 32);
            }
            work.SetSecurity(description1, description2);
        }
        int16_t status = engine::kReplayDone;
        work.Updhlt(t, 0, cls, sign, transfer, status, memo, date, description);
        if (status == engine::kReplayDone && work.failed()) status = engine::kWorkFilesFailed;
        if (status != engine::kReplayDone) {
            result.status = status;
            break;
        }
        if (write && stored_record.I16(kGainRecordOffset) != t.gain_record)
            result.links.push_back({entry.record, t.gain_record});
    }
    if (result.status == engine::kReplayDone && work.failed()) result.status = engine::kWorkFilesFailed;
    // A replay that stopped leaves the transactions' gain links as they were.
    if (result.status != engine::kReplayDone) result.links.clear();
    return result;
}

bool WriteLinks(std::string_view account, const std::vector<engine::GainLink>& links) {
    if (links.empty()) return true;
    records::DirectFile transactions(records::Paknam(account, "TR", ".REC"), records::kAccountRecordLength,
                                     false);
    bool ok = transactions.ok();
    Record rec;
    for (const engine::GainLink& link : links) {
        if (!transactions.Read(link.record, rec)) {
            ok = false;
            continue;
        }
        rec.SetI16(kGainRecordOffset, link.gain_record);
        if (!transactions.Write(link.record, rec)) ok = false;
    }
    return ok;
}

bool MoveOver(std::string_view work, std::string_view target) {
    const std::string from = records::ResolveName(work);
    const std::string to = records::ResolveName(target);
    if (from.empty() || to.empty()) return false;
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

bool Exists(std::string_view name) {
    const std::string path = records::ResolveName(name);
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

engine::ReplayResult Replay(std::string_view account, std::string_view label, float as_of, int16_t write_mode,
                            int16_t exclude_day) {
    return ReplayTransactions(account, label, as_of, write_mode, exclude_day);
}

void Creatt(std::string_view account, std::string_view label, float as_of, int16_t write_mode,
            int16_t exclude_day, int16_t& status) {
    const engine::ReplayResult result = ReplayTransactions(account, label, as_of, write_mode, exclude_day);
    status = result.status;
    if (status == engine::kReplayDone && write_mode != 0 && !WriteLinks(account, result.links))
        status = engine::kWorkFilesFailed;
}

void Rbldhl(std::string_view account, int16_t& flag) {
    flag = engine::kReplayDone;
    const std::string label(8, '\0');
    const engine::ReplayResult result = ReplayTransactions(account, label, engine::kEveryTransaction, 1, 0);
    if (result.status != engine::kReplayDone) {
        flag = result.status;
        return;
    }
    if (!Exists(engine::HoldingsWorkName()) || !Exists(engine::GainsWorkName())) {
        flag = engine::kWorkFilesFailed;
        return;
    }
    if (!MoveOver(engine::HoldingsWorkName(), records::Paknam(account, "HL", ".REC"))) {
        flag = engine::kWorkFilesFailed;
        return;
    }
    // The lot texts follow their lots, whose record numbers they share.
    if (Exists(engine::LotTextsWorkName()) &&
        !MoveOver(engine::LotTextsWorkName(), records::Paknam(account, "HL", ".EXT"))) {
        flag = engine::kWorkFilesFailed;
        return;
    }
    if (!MoveOver(engine::GainsWorkName(), records::Paknam(account, "GL", ".REC"))) {
        flag = engine::kWorkFilesFailed;
        return;
    }
    // The new gains file is in place: the transactions may now point into
    // it. A failure here leaves the holdings and gains rebuilt, which is
    // what the caller needs to know; the links are set again by the next
    // rebuild.
    WriteLinks(account, result.links);
}

}  // namespace reference_replay
