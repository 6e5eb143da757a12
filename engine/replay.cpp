#include "engine/replay.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "engine/lot_texts.h"
#include "engine/replay_steps.h"
#include "records/codes.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/rounding.h"

namespace engine {

namespace {

using records::Record;

namespace field = records::transaction_offsets;
constexpr std::size_t kOpenDateOffset = 52;     // a lot's open date (8 characters)
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

bool FileExists(std::string_view name) {
    const std::string path = records::ResolveName(name);
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

void RemovePath(const std::string& path) {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove(path, ec);
}

// A four-character field as one word, so that the codes a replay tests at
// every transaction are told apart by one integer compare.
uint32_t WordAt(const char* text) {
    uint32_t word;
    std::memcpy(&word, text, sizeof word);
    return word;
}
const uint32_t kBlankWord = WordAt("    ");
const uint32_t kNotReplayedWord = WordAt("N   ");
const uint32_t kBuyWord = WordAt("B   ");
const uint32_t kShortSaleWord = WordAt("SS  ");
const uint32_t kSecurityInWord = WordAt("SI  ");
const uint32_t kSaleWord = WordAt("S   ");
const uint32_t kCoverWord = WordAt("CS  ");
const uint32_t kSecurityOutWord = WordAt("SO  ");

// Whether a code (4 characters) is the one of word.
bool IsCode(const std::string& code, uint32_t word) {
    return code.size() == 4 && WordAt(code.data()) == word;
}

// Same-day order of the codes: cash-only codes and SP, then the openings,
// then the closings.
int DayRank(uint32_t code) {
    if (code == kBuyWord || code == kShortSaleWord || code == kSecurityInWord) return 1;
    if (code == kSaleWord || code == kCoverWord || code == kSecurityOutWord) return 2;
    return 0;
}

// A transaction file is mostly filed in date order, each day's openings and
// closings a few places from where the day's order puts them: insertion
// moves each entry those few places. A file far from order (more moves
// than a few an entry) is sorted instead.
void SortNearlyInOrder(std::vector<uint64_t>& entries) {
    const std::size_t budget = 8 * entries.size();
    std::size_t moves = 0;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const uint64_t entry = entries[i];
        std::size_t j = i;
        while (j > 0 && entries[j - 1] > entry && moves < budget) {
            entries[j] = entries[j - 1];
            --j;
            ++moves;
        }
        entries[j] = entry;
        if (moves >= budget) {
            std::sort(entries.begin(), entries.end());
            return;
        }
    }
}

}  // namespace

void ReplayOrder(const unsigned char* file, long count, float as_of, bool exclude_day,
                 std::vector<uint64_t>& entries) {
    entries.clear();
    if (file == nullptr || count < 1) return;
    const long last = records::TransactionFileHeader::LastRecordOf(file);
    // A date here is never NaN (NaN passes no as-of test); its bits are
    // mapped so that integer order is float order, with -0 taken as +0
    // since the two compare equal.
    auto order_of = [](float date, int rank, long record) {
        uint32_t bits = 0;
        const float d = date == 0.0f ? 0.0f : date;
        std::memcpy(&bits, &d, sizeof bits);
        bits = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
        return (uint64_t{bits} << 32) | (static_cast<uint64_t>(rank) << 16) | static_cast<uint64_t>(record);
    };
    entries.reserve(static_cast<std::size_t>(std::max(last, 1L)));
    // Only the fields that decide whether and when a transaction replays
    // are read here; the transactions are decoded one at a time as they
    // replay.
    const std::size_t length = records::kAccountRecordLength;
    for (long n = 2; n <= last && n <= count; ++n) {
        const unsigned char* b = file + static_cast<std::size_t>(n - 1) * length;
        float date_number = 0;
        std::memcpy(&date_number, b + field::kDateNumber, sizeof date_number);
        const bool in_time = exclude_day ? date_number < as_of : date_number <= as_of;
        const char* text = reinterpret_cast<const char*>(b);
        if (!in_time || WordAt(text) == kBlankWord || WordAt(text + field::kType) == kNotReplayedWord) continue;
        entries.push_back(order_of(date_number, DayRank(WordAt(text + field::kCode)), n));
    }
    SortNearlyInOrder(entries);
}

std::string HoldingsWorkName() {
    return records::Paknam("", "HL", ".TMP");
}
std::string GainsWorkName() {
    return records::Paknam("", "GL", ".TMP");
}
std::string LotTextsWorkName() {
    return records::Paknam("", "HL", ".EXT");
}

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
    header_current_ = false;
    // Each work name resolved once, for its deletion and its creation alike.
    const std::vector<std::string> paths = {records::ResolveName(HoldingsWorkName()),
                                            records::ResolveName(LotTextsWorkName()),
                                            records::ResolveName(GainsWorkName())};
    lots_.Create(records::ResolvedPath{paths[0]}, records::ResolvedPath{paths[1]});
    // A replay without option 64 leaves no HL.EXT behind, so that no
    // earlier replay's lot texts pass for this one's.
    if (!lots_.with_extension()) RemovePath(paths[1]);
    records::HoldingsHeader& header = lots_.header();
    header.account = account_;
    header.label = label_;
    header.spare = 0;
    lots_.WriteHeader();
    gain_count_ = 0;
    ResetGains();
    if (write_mode_) {
        RemovePath(paths[2]);
        gains_file_ = std::make_unique<records::DirectFile>(records::ResolvedPath{paths[2]},
                                                            records::kAccountRecordLength);
        if (!gains_file_->ok()) failed_ = true;
    }
}

void HoldingsWork::Resume() {
    header_current_ = false;
    lots_.Load(HoldingsWorkName(), LotTextsWorkName());
    gain_count_ = 0;
    ResetGains();
    if (write_mode_) {
        gains_file_ = std::make_unique<records::DirectFile>(GainsWorkName(), records::kAccountRecordLength);
        if (!gains_file_->ok()) failed_ = true;
        // The file's records stay in the window, as if just written: a
        // record changed later is written whole over them, and the gap to
        // a record written past the window is zeros only beyond them.
        gains_file_->ReadWhole(gains_);
        const std::size_t length = records::kAccountRecordLength;
        if (gains_.size() >= length) {
            gains_header_.bytes().assign(gains_.begin(), gains_.begin() + static_cast<long>(length));
            gain_count_ = std::max<int16_t>(records::GainsHeader::Decode(gains_header_).count, 0);
            gains_.erase(gains_.begin(), gains_.begin() + static_cast<long>(length));
        }
    }
}

void HoldingsWork::ResetGains() {
    gains_.clear();
    gains_window_ = 2;
    gains_header_.bytes().clear();
    gains_header_pending_ = false;
    gains_first_dirty_ = gains_last_dirty_ = 0;
}

void HoldingsWork::DeferWrites() {
    defer_ = true;
    lots_.DeferWrites();
}

bool HoldingsWork::Flush() {
    if (!lots_.Flush()) failed_ = true;
    FlushGains();
    if (gains_header_pending_) {
        gains_header_pending_ = false;
        WriteGainsHeader();
    }
    return !failed();
}

void HoldingsWork::FlushGains() {
    if (gains_first_dirty_ != 0) {
        const std::size_t length = records::kAccountRecordLength;
        const std::size_t from = static_cast<std::size_t>(gains_first_dirty_ - gains_window_) * length;
        if (!gains_file_ ||
            !gains_file_->WriteRecords(gains_first_dirty_, gains_.data() + from,
                                       static_cast<std::size_t>(gains_last_dirty_ - gains_first_dirty_ + 1)))
            failed_ = true;
    }
    // Everything up to the window's end is in the file now.
    gains_window_ += static_cast<long>(gains_.size() / records::kAccountRecordLength);
    gains_.clear();
    gains_first_dirty_ = gains_last_dirty_ = 0;
}

void HoldingsWork::WriteGainsHeader() {
    // The header keeps the bytes of record 1 it does not own: zeros in a
    // new file.
    if (gains_header_.size() != records::kAccountRecordLength)
        gains_header_.bytes().assign(records::kAccountRecordLength, 0);
    records::GainsHeader{account_, label_, gain_count_}.Encode(gains_header_);
    if (!gains_file_ || !gains_file_->WriteRecords(1, gains_header_.data(), 1)) failed_ = true;
}

void HoldingsWork::WriteGainRecord(long n, const Record& rec) {
    const std::size_t length = records::kAccountRecordLength;
    // A short record is filled out with zeros.
    const std::size_t size = std::min(rec.size(), length);
    if (!defer_ || n < gains_window_) {
        // Written at once: without deferral, or a record the window has
        // passed already.
        unsigned char bytes[records::kAccountRecordLength] = {};
        std::memcpy(bytes, rec.data(), size);
        if (!gains_file_ || !gains_file_->WriteRecords(n, bytes, 1)) failed_ = true;
        return;
    }
    // Gains are written one after the other: the window holds the records
    // from gains_window_ on and goes to the file in chunks, so the file's
    // bytes never need to be in memory whole. A write past the window's end
    // leaves zero records in between, as the file does.
    const std::size_t at = static_cast<std::size_t>(n - gains_window_) * length;
    if (gains_.size() < at + length) gains_.resize(at + length, 0);
    std::memcpy(gains_.data() + at, rec.data(), size);
    std::memset(gains_.data() + at + size, 0, length - size);
    if (gains_first_dirty_ == 0 || n < gains_first_dirty_) gains_first_dirty_ = n;
    if (n > gains_last_dirty_) gains_last_dirty_ = n;
    if (gains_.size() >= kGainsChunk) FlushGains();
}

void HoldingsWork::ReadSecurities() {
    read_securities_ = true;
}

std::string_view HoldingsWork::SecurityTexts(int16_t record) {
    // Blank lines for a record number below 1 (no record is read for it)
    // and for a record lying (partly) past the file's end, as a read of it
    // fails.
    static const std::string blank(64, ' ');
    // SECURITY.REC is mapped whole the first time a record is needed.
    if (!securities_)
        securities_ =
            std::make_unique<records::MappedRecords>(records::kSecurityRecords, records::kAccountRecordLength);
    if (record < 1 || record > securities_->Count()) return blank;
    const char* b = reinterpret_cast<const char*>(securities_->data()) +
                    static_cast<std::size_t>(record - 1) * records::kAccountRecordLength;
    return {b + 12, 64};
}

void HoldingsWork::SetSecurity(std::string_view description1, std::string_view description2) {
    description1_ = records::Fixed(description1, 32);
    description2_ = records::Fixed(description2, 32);
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
    records::GainRecord& gain = gain_;  // reused: its texts keep their storage
    gain.sale_date = t.date_number;
    gain.open_date = lot.open_date;
    if (read_securities_) {
        const std::string_view lines = SecurityTexts(t.security_record);
        gain.description1.assign(lines.data(), 32);
        gain.description2.assign(lines.data() + 32, 32);
    } else {
        gain.description1 = description1_;
        gain.description2 = description2_;
    }
    gain.quantity = quantity;
    gain.symbol = t.symbol;
    gain.security_record = t.security_record;
    const bool divisible = quantity != 0 && lot.quantity != 0;
    if (IsCode(t.code, kCoverWord)) {
        // A cover: the cover's amount is its cost, the short lot's proceeds
        // for the quantity covered its proceeds.
        gain.short_cover = 1;
        gain.cost = t.amount;
        gain.proceeds = divisible ? quantity * sign * lot.cost / lot.quantity : 0;
        gain.gain = gain.proceeds - gain.cost;
    } else {
        gain.short_cover = 0;
        gain.proceeds = t.amount;
        gain.cost = divisible ? lot.cost / lot.quantity * quantity : 0;
        gain.gain = divisible ? (t.amount / quantity - sign * lot.cost / lot.quantity) * quantity : 0;
    }
    ++gain_count_;
    t.gain_record = static_cast<int16_t>(gain_count_ + 1);
    // A gain record starts as zeros: bytes 125-128 stay 0.
    gain_bytes_.bytes().assign(records::kAccountRecordLength, 0);
    gain.Encode(gain_bytes_);
    WriteGainRecord(t.gain_record, gain_bytes_);
    // The header counts the gains. Deferred, it is written once at Flush
    // with the count of the last gain, which is what writing it after
    // every gain leaves.
    if (defer_)
        gains_header_pending_ = true;
    else
        WriteGainsHeader();
}

HoldingsWork::Step HoldingsWork::TakeNewRecord(int16_t& n, int16_t& status) {
    n = NewRecord();
    if (n == 0) return Step::kEndSilently;
    if (n < 0) {
        failed_ = true;
        status = kWorkFilesFailed;
        return Step::kEnd;
    }
    return Step::kGoOn;
}

HoldingsWork::Step HoldingsWork::ChangeLot(records::TransactionRecord& t, const LotChain::Place& place,
                                             const ReplayCode& code, int16_t& status, std::string_view memo,
                                             std::string_view date, std::string_view description) {
    records::HoldingsHeader& header = lots_.header();
    // The lot's quantity and cost are read and written in place; its other
    // bytes stay as they are. The quantities are rounded with the decimals
    // taken from option 81 once per replay.
    const Record& current = lots_.Raw(place.record);
    const double lot_cost = records::HoldingRecord::CostOf(current);
    const LotTrade trade = TradeOnLot(records::HoldingRecord::QuantityOf(current), t.quantity, code, decimals_);
    if (trade.status != kReplayDone) {
        status = trade.status;
        return Step::kEnd;
    }
    if (code.cls == records::kClosingClass) {
        if (code.transfer == 0 && write_mode_) {
            if (gain_count_ >= kLastRecordNumber - 1) {
                failed_ = true;
                status = kWorkFilesFailed;
                return Step::kEnd;
            }
            // The gain takes the lot's open date, cost and rounded
            // quantity: only those are taken from it.
            records::HoldingRecord& lot = gain_lot_;
            if (current.size() >= records::kAccountRecordLength)
                lot.open_date.assign(reinterpret_cast<const char*>(current.data()) + kOpenDateOffset, 8);
            else
                lot.open_date = records::HoldingRecord::Decode(current).open_date;
            lot.cost = lot_cost;
            lot.quantity = trade.lot_quantity;
            WriteGain(t, lot, trade.quantity, code.sign);
        }
    }
    // The lot's record is changed where it is kept (Unlink changes only the
    // lot before it).
    if (trade.closes) {
        lots_.Unlink(place);
        records::DeletedLot{header.next_free}.Encode(lots_.Edit(place.record));
        lots_.Edited(place.record);
        header.next_free = place.record;
        return Step::kGoOn;
    }
    double cost = lot_cost;
    if (code.cls == records::kShortSaleClass) {
        // A further short sale adds its proceeds to the short lot.
        cost = lot_cost + t.amount;
    } else if (code.sign > 0 || IsCode(t.code, kCoverWord)) {
        // What remains keeps its unit cost.
        if (trade.lot_quantity != 0) cost = lot_cost / trade.lot_quantity * trade.remaining;
    } else {
        cost = lot_cost - code.sign * t.amount;
    }
    records::Drnd2(cost);
    Record& lot = lots_.Edit(place.record);
    records::HoldingRecord::SetQuantityAndCost(lot, trade.remaining, cost);
    // The lot keeps its memo and texts unless the transaction brings its
    // own.
    if (!Empty(memo)) records::HoldingRecord::SetMemo(lot, memo.substr(0, 20));
    lots_.Edited(place.record);
    if (lots_.with_extension()) {
        records::HoldingExtension ext = lots_.Extension(place.record);
        if (!Empty(date)) ext.settlement_date = records::Fixed(date, 8);
        if (!Empty(description)) ext.text = records::Fixed(description, 32);
        lots_.WriteExtension(place.record, ext);
    }
    return Step::kGoOn;
}

HoldingsWork::Step HoldingsWork::AddLot(const records::TransactionRecord& t, const ReplayCode& code,
                                          int16_t& status, std::string_view memo, std::string_view date,
                                          std::string_view description) {
    const NewLot opened = OpenLot(t.quantity, code);
    if (opened.status != kReplayDone) {
        status = opened.status;
        return Step::kEnd;
    }
    int16_t n = 0;
    if (const Step taken = TakeNewRecord(n, status); taken != Step::kGoOn) return taken;
    // Every field is set: the record reused from one new lot to the next
    // keeps its texts' storage.
    records::HoldingRecord& lot = new_lot_;
    lot.next = -1;
    lot.holding_key = t.holding_key;
    lot.symbol = t.symbol;
    lot.security_record = t.security_record;
    lot.broker = t.broker;
    lot.tax_lot = t.tax_lot;
    lot.quantity = opened.quantity;
    lot.cost = t.amount;
    records::Drnd2(lot.cost);
    lot.open_date = code.cls == records::kShortSaleClass ? t.trade_date : t.lot_date;
    lot.bond_interest = t.bond_interest;
    lot.reference = (IsCode(t.code, kSecurityInWord) || IsCode(t.code, kSecurityOutWord)) ? t.trade_date
                                                                                          : std::string(8, ' ');
    lot.memo.assign(memo.substr(0, std::min<std::size_t>(memo.size(), 20)));
    lot.memo.resize(20, ' ');
    // The place is found before the record is filled, and the lot encoded
    // over the bytes its record holds, where the chain keeps it.
    const int16_t previous = lots_.InsertionPoint(lot.holding_key, lot.symbol, lot.tax_lot);
    records::Record& bytes = lots_.NewLot(n);
    lot.Encode(bytes);
    lots_.Link(n, previous, bytes);
    if (lots_.with_extension()) {
        records::HoldingExtension ext;
        ext.settlement_date = records::Fixed(date, 8);
        ext.text = records::Fixed(description, 32);
        lots_.WriteExtension(n, ext);
    }
    return Step::kGoOn;
}

HoldingsWork::Step HoldingsWork::PostCash(const records::TransactionRecord& t, const ReplayCode& code,
                                            int16_t& status) {
    const LotChain::Place cash = lots_.FindKey(0.0);
    if (cash.found()) {
        Record& lot = lots_.Edit(cash.record);
        double balance = records::HoldingRecord::CostOf(lot);
        // A balance this replay wrote was rounded to 2 decimals already,
        // and rounding a rounded value gives it back: only a balance from
        // elsewhere needs the rounding.
        if (std::bit_cast<uint64_t>(balance) != cash_written_) records::Drnd2(balance);
        balance = CashAfter(balance, t.amount, t.bond_interest, code);
        records::HoldingRecord::SetQuantityAndCost(lot, balance, balance);
        cash_written_ = std::bit_cast<uint64_t>(balance);
        lots_.Edited(cash.record);
        return Step::kGoOn;
    }
    int16_t n = 0;
    if (const Step taken = TakeNewRecord(n, status); taken != Step::kGoOn) return taken;
    const double balance = CashAfter(std::nullopt, t.amount, t.bond_interest, code);
    cash_written_ = std::bit_cast<uint64_t>(balance);
    records::HoldingRecord lot;
    lot.holding_key = 0;
    lot.symbol = "CASH        ";
    lot.security_record = kCashSecurityRecord;
    lot.quantity = balance;
    lot.cost = balance;
    // The place is found before the record is filled, and the lot encoded
    // over the bytes its record holds, where the chain keeps it.
    const int16_t previous = lots_.InsertionPoint(lot.holding_key, lot.symbol, lot.tax_lot);
    records::Record& bytes = lots_.NewLot(n);
    lot.Encode(bytes);
    lots_.Link(n, previous, bytes);
    // The cash lot carries no texts.
    if (lots_.with_extension()) lots_.WriteExtension(n, records::HoldingExtension{});
    return Step::kGoOn;
}

void HoldingsWork::Updhlt(records::TransactionRecord& t, int16_t reserved, const ReplayCode& code,
                          int16_t& status, std::string_view memo, std::string_view date,
                          std::string_view description) {
    status = kReplayDone;
    // The header as record 1 holds it. The last update that ended by
    // writing it left the two the same: only an update that ended without
    // writing it (or a change from outside) makes a fresh read necessary.
    const bool header_was_current = header_current_;
    if (!header_current_) lots_.ReadHeader();
    header_current_ = false;
    if (!Replayed(code)) return;
    // Set once the list has changed: an update that ends silently after
    // that leaves the header unwritten, and the index no longer tells the
    // file's list.
    bool changed = false;

    if (code.cls != records::kCashOnlyClass) {
        const LotChain::Place place = lots_.Find(t.holding_key, t.symbol, t.tax_lot);
        const Step step = place.found() ? ChangeLot(t, place, code, status, memo, date, description)
                                        : AddLot(t, code, status, memo, date, description);
        // Nothing has changed yet, so an update that ends here, silently
        // or not, leaves the index as it is.
        if (step != Step::kGoOn) return;
        changed = true;
    }

    if (PostsCash(code)) {
        const Step step = PostCash(t, code, status);
        if (step == Step::kEndSilently && changed) lots_.DropIndex();
        if (step != Step::kGoOn) return;
    }

    records::HoldingsHeader& header = lots_.header();
    // A header that was current holds the account and label already: the
    // update changes only its counts and links.
    if (!header_was_current) {
        header.account = account_;
        header.label = label_;
    }
    header.spare = reserved;
    lots_.WriteHeader();
    // A header with a 0 in one of these fields reads back as an empty list.
    header_current_ = header.first_lot != 0 && header.records_in_use != 0 && header.next_free != 0;
}

// ---- The replay

ReplayResult ReplayTransactions(std::string_view account, std::string_view label, float as_of,
                                int16_t write_mode, int16_t exclude_day) {
    ReplayResult result;
    const records::Options options = records::Rdopts();
    const bool write = write_mode != 0;
    const bool texts = records::OptionOn(options, records::Opt::kTransactionTexts) ||
                       records::OptionOn(options, records::Opt::kLotTexts);
    result.lot_texts = records::OptionOn(options, records::Opt::kLotTexts);

    HoldingsWork work(account, label, options, write);
    // The work files stay in memory and are written once, whatever the
    // replay ends with.
    work.DeferWrites();
    work.Start();
    if (work.failed()) {
        result.status = kWorkFilesFailed;
        return result;
    }
    if (write) work.ReadSecurities();

    // The transaction file, mapped whole; record n at (n - 1) x 128.
    const std::size_t length = records::kAccountRecordLength;
    const records::MappedRecords file(records::Paknam(account, "TR", ".REC"), length);
    const long records_read = file.Count();
    auto at = [length](const records::MappedRecords& bytes, long n) {
        return bytes.data() + static_cast<std::size_t>(n - 1) * length;
    };
    std::vector<uint64_t> entries;
    ReplayOrder(records_read >= 1 ? file.data() : nullptr, records_read, as_of, exclude_day != 0, entries);

    std::optional<records::MappedRecords> extensions;
    if (texts) extensions.emplace(records::Paknam(account, "TR", ".EXT"), length);
    const long extensions_read = extensions ? extensions->Count() : 0;
    StoredLotTexts stored(account, options);
    Record rec(length, 0);  // a transaction's extension, copied to be decoded

    ReplayCodes codes;
    std::string memo, date, description;
    records::TransactionRecord t;  // decoded into for each transaction
    for (const uint64_t entry : entries) {
        const long record = ReplayEntryRecord(entry);
        records::TransactionRecord::DecodeFrom(at(file, record), t);
        const int16_t stored_link = t.gain_record;
        memo.assign(20, ' ');
        date.assign(8, ' ');
        description.assign(32, ' ');
        if (texts) {
            if (record <= extensions_read) {
                std::copy_n(at(*extensions, record), length, rec.bytes().begin());
                const records::TransactionExtension ext = records::TransactionExtension::Decode(rec);
                memo = ext.memo;
                date = ext.settlement_date;
                description = ext.text;
            }
            work.Ftele2(t.symbol, t.tax_lot, memo, date, description);
            stored.Ftele(t.symbol, t.tax_lot, memo, date, description);
        }
        if (IsCode(t.code, kSecurityInWord)) t.amount = t.lot_cost;
        const ReplayCode code = codes.Of(t.code);
        t.gain_record = 0;
        int16_t status = kReplayDone;
        work.Updhlt(t, 0, code, status, memo, date, description);
        if (status == kReplayDone && work.failed()) status = kWorkFilesFailed;
        if (status != kReplayDone) {
            result.status = status;
            break;
        }
        if (write && stored_link != t.gain_record) result.links.push_back({record, t.gain_record});
    }
    if (!work.Flush()) result.status = kWorkFilesFailed;
    // A replay that stopped leaves the transactions' gain links as they were.
    if (result.status != kReplayDone) result.links.clear();
    return result;
}

bool WriteGainLinks(std::string_view account, const std::vector<GainLink>& links) {
    if (links.empty()) return true;
    records::DirectFile transactions(records::Paknam(account, "TR", ".REC"), records::kAccountRecordLength,
                                     false);
    bool ok = transactions.ok();
    Record rec;
    for (const GainLink& link : links) {
        if (!transactions.Read(link.record, rec)) {
            ok = false;
            continue;
        }
        rec.SetI16(field::kGainRecord, link.gain_record);
        if (!transactions.Write(link.record, rec)) ok = false;
    }
    return ok;
}

void Creatt(std::string_view account, std::string_view label, float as_of, int16_t write_mode,
            int16_t exclude_day, int16_t& status) {
    const ReplayResult result = ReplayTransactions(account, label, as_of, write_mode, exclude_day);
    status = result.status;
    if (status == kReplayDone && write_mode != 0 && !WriteGainLinks(account, result.links))
        status = kWorkFilesFailed;
}

void Ftele2(std::string_view symbol, std::string_view tax_lot, std::string& memo, std::string& date,
            std::string& description, const records::Options& options) {
    if (!records::IsBlank(records::Fixed(memo, 5)) || StartsWithCash(symbol)) return;
    if (!FileExists(HoldingsWorkName())) return;
    const bool lot_texts = records::OptionOn(options, records::Opt::kLotTexts);
    LotChain lots(lot_texts && FileExists(LotTextsWorkName()));
    lots.Load(HoldingsWorkName(), LotTextsWorkName(), false);
    FillFromLots(lots, symbol, tax_lot, memo, date, description, lot_texts);
}

}  // namespace engine
