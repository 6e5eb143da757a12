// The ledger's opening cash from the transactions alone: the replay's
// order, stops and cash postings, with each lot reduced to its quantity.

#include "reports/ledgers/opening_cash.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/replay.h"
#include "records/account_records.h"
#include "records/codes.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/rounding.h"
#include "reports/ledgers/ledger_code_table.h"

namespace reports {

namespace {

constexpr std::size_t kLength = records::kAccountRecordLength;
namespace field = records::transaction_offsets;

// The replay runs out of 16-bit record numbers a little below 32767 records
// in use; well before that the answer is left to the replay.
constexpr long kRecordsLeftToTheReplay = 32000;

uint32_t WordAt(const unsigned char* bytes) {
    uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}
uint32_t WordOf(const char* text) {
    return WordAt(reinterpret_cast<const unsigned char*>(text));
}
double R8At(const unsigned char* bytes) {
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// A lot by holding key, symbol (12) and lot code (4), as the replay finds
// it: the key's bits (never 0 or NaN here, so equal keys have equal bits)
// and the sixteen bytes of text.
struct LotKey {
    uint64_t key = 0, text_high = 0, text_low = 0;
    friend bool operator==(const LotKey&, const LotKey&) = default;
};
struct LotKeyHash {
    std::size_t operator()(const LotKey& k) const {
        uint64_t h = k.key * 0x9E3779B97F4A7C15ull;
        h ^= (k.text_high + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
        h ^= (k.text_low + 0x27D4EB2F165667C5ull) * 0x165667B19E3779F9ull;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

// Each open lot's quantity by its key, in one open-addressed table
// (linear probing, a power-of-two size, deletion by shifting back), kept
// from one account to the next.
class LotQuantities {
public:
    void Clear() {
        if (size_ != 0 || slots_.empty()) slots_.assign(std::max<std::size_t>(slots_.size(), 256), Slot{});
        size_ = 0;
    }
    // The slot of the key: its lot's, or the empty one where it would go.
    std::size_t Find(const LotKey& key) {
        if ((size_ + 1) * 2 > slots_.size()) Grow();
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = LotKeyHash{}(key)&mask;
        while (slots_[i].used && !(slots_[i].key == key)) i = (i + 1) & mask;
        return i;
    }
    bool Used(std::size_t i) const { return slots_[i].used; }
    double& Quantity(std::size_t i) { return slots_[i].quantity; }
    void Insert(std::size_t i, const LotKey& key, double quantity) {
        slots_[i] = Slot{key, quantity, true};
        ++size_;
    }
    void Erase(std::size_t i) {
        const std::size_t mask = slots_.size() - 1;
        // The slots after it that would not be reached past the hole move
        // back into it.
        for (std::size_t j = (i + 1) & mask; slots_[j].used; j = (j + 1) & mask) {
            const std::size_t home = LotKeyHash{}(slots_[j].key) & mask;
            if (((j - home) & mask) >= ((j - i) & mask)) {
                slots_[i] = slots_[j];
                i = j;
            }
        }
        slots_[i].used = false;
        --size_;
    }

private:
    struct Slot {
        LotKey key;
        double quantity = 0;
        bool used = false;
    };
    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(old.size() * 2, 256), Slot{});
        size_ = 0;
        for (const Slot& slot : old)
            if (slot.used) Insert(Find(slot.key), slot.key, slot.quantity);
    }
    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

struct CodeEntry {
    uint32_t word;
    int16_t cls, sign, transfer;
};

}  // namespace

bool CashSecurityIsCash() {
    records::Record cash;
    const records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
    return securities.Read(1, cash) && SecurityTypeWord(cash.Widened(128)) == "1   ";
}

float LedgerAsOf(std::string_view date) {
    int16_t month = 0, day = 0, year = 0;
    records::Redate(records::Fixed(date, 8), month, day, year);
    year = static_cast<int16_t>(records::WindowYear(year));
    return static_cast<float>(year * 10000 + month * 100 + day);
}

OpeningCash CashBeforeDate(const unsigned char* bytes, std::size_t size, float as_of,
                           const records::Options& options) {
    OpeningCash out;
    const long count = static_cast<long>(size / kLength);
    auto at = [bytes](long n) { return bytes + static_cast<std::size_t>(n - 1) * kLength; };
    const long last = count >= 1 ? records::TransactionFileHeader::LastRecordOf(at(1)) : 1;

    // The transactions the replay takes (dated before as_of, not deleted,
    // not marked "N"), in its order.
    thread_local std::vector<uint64_t> entries;
    engine::ReplayOrder(bytes, count, last, as_of, /*exclude_day=*/true, entries);

    const int decimals = records::SystemDecimals(options);
    const uint32_t security_in = WordOf("SI  ");
    std::vector<CodeEntry> codes;
    thread_local LotQuantities lots;  // each open lot's quantity as stored
    lots.Clear();
    long records_in_use = 1;  // the header's count: records ever taken (header included)
    long free_records = 0;    // freed records, taken again before new ones
    auto take_record = [&]() {
        if (free_records > 0) {
            --free_records;
            return true;
        }
        if (records_in_use + 1 >= kRecordsLeftToTheReplay) return false;
        ++records_in_use;
        return true;
    };
    double cash = 0;
    bool cash_lot = false;

    for (const uint64_t entry : entries) {
        const unsigned char* b = at(engine::ReplayEntryRecord(entry));
        const uint32_t word = WordAt(b + field::kCode);
        auto known =
            std::find_if(codes.begin(), codes.end(), [&](const CodeEntry& c) { return c.word == word; });
        if (known == codes.end()) {
            CodeEntry e{word, 0, 0, 0};
            int16_t not_found = 0;
            records::Code(std::string_view(reinterpret_cast<const char*>(b + field::kCode), 4), e.cls, e.sign,
                          e.transfer, 1, not_found);
            if (not_found != 0) e.cls = e.sign = e.transfer = 0;
            known = codes.insert(codes.end(), e);
        }
        const int16_t cls = known->cls, sign = known->sign, transfer = known->transfer;
        if (cls < records::kShortSaleClass || cls > records::kOpeningClass) continue;

        if (cls != records::kCashOnlyClass) {
            const double key = R8At(b + field::kHoldingKey);
            // A lot of key 0 could take the cash postings; a NaN key
            // changes how the list is searched.
            if (key == 0 || std::isnan(key)) return out;
            LotKey lot_key;
            std::memcpy(&lot_key.key, &key, sizeof key);
            std::memcpy(&lot_key.text_high, b + field::kSymbol, 8);
            std::memcpy(&lot_key.text_low, b + field::kSymbol + 8, 8);
            const double raw_quantity = R8At(b + field::kQuantity);
            const std::size_t lot = lots.Find(lot_key);
            if (lots.Used(lot)) {
                double lot_quantity = lots.Quantity(lot);
                double quantity = raw_quantity;
                records::RoundToDecimals(quantity, decimals);
                records::RoundToDecimals(lot_quantity, decimals);
                // A sale beyond its lot stops the replay.
                if (cls == records::kClosingClass && sign * lot_quantity < quantity) break;
                const double remaining = lot_quantity - sign * quantity;
                if (remaining >= -engine::kClosedLotQuantity && remaining <= engine::kClosedLotQuantity) {
                    lots.Erase(lot);
                    ++free_records;
                } else {
                    lots.Quantity(lot) = remaining;
                }
            } else {
                // A closing with no lot to close stops the replay.
                if (cls == records::kClosingClass) break;
                if (!take_record()) return out;
                lots.Insert(lot, lot_key, cls == records::kShortSaleClass ? -raw_quantity : raw_quantity);
            }
        }

        if (transfer == 0) {
            double amount =
                WordAt(b + field::kCode) == security_in ? R8At(b + field::kLotCost) : R8At(b + field::kAmount);
            double interest = R8At(b + field::kInterest);
            records::Drnd2(amount);
            // Rounding gives a zero back as it is.
            if (interest != 0 || std::signbit(interest)) records::Drnd2(interest);
            if (cash_lot) {
                // The balance the replay reads back is the one it wrote,
                // rounded already.
                cash = cash + sign * (amount + interest);
            } else {
                if (!take_record()) return out;
                cash_lot = true;
                cash = sign * (amount + interest);
            }
            records::Drnd2(cash);
        }
    }
    out.decided = true;
    out.cash_lot = cash_lot;
    out.balance = cash;
    return out;
}

}  // namespace reports
