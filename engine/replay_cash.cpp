// The cash pass: the replay's order and steps with each lot reduced to its
// quantity.

#include "engine/replay_cash.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "absl/container/flat_hash_map.h"
#include "engine/replay.h"
#include "engine/replay_steps.h"
#include "records/account_records.h"
#include "records/rounding.h"

namespace engine {

namespace {

constexpr std::size_t kLength = records::kAccountRecordLength;
namespace field = records::transaction_offsets;

// The replay runs out of 16-bit record numbers for its lots a little below
// 32767 records in use; well before that the answer is left to it.
constexpr long kRecordsLeftToTheReplay = 32000;

double R8At(const unsigned char* bytes) {
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// A lot as the replay's search tells lots apart: holding key, symbol (12)
// and lot code (4). The key is kept as its bits (never 0 or NaN here, so
// equal keys have equal bits), the text as its sixteen bytes.
struct LotKey {
    uint64_t key = 0, text_high = 0, text_low = 0;
    friend bool operator==(const LotKey&, const LotKey&) = default;
    template <typename H>
    friend H AbslHashValue(H h, const LotKey& k) {
        return H::combine(std::move(h), k.key, k.text_high, k.text_low);
    }
};

LotKey KeyOf(const unsigned char* transaction, double holding_key) {
    LotKey key;
    std::memcpy(&key.key, &holding_key, sizeof holding_key);
    std::memcpy(&key.text_high, transaction + field::kSymbol, 8);
    std::memcpy(&key.text_low, transaction + field::kSymbol + 8, 8);
    return key;
}

}  // namespace

ReplayedCash CashBeforeDate(const unsigned char* bytes, std::size_t size, float as_of,
                            const records::Options& options) {
    ReplayedCash out;
    const long count = static_cast<long>(size / kLength);
    auto at = [bytes](long n) { return bytes + static_cast<std::size_t>(n - 1) * kLength; };
    thread_local std::vector<uint64_t> entries;
    ReplayOrder(bytes, count, as_of, /*exclude_day=*/true, entries);

    const int decimals = records::SystemDecimals(options);
    ReplayCodes codes;
    // Each open lot's quantity as the replay stores it. There are never
    // more lots than transactions: with room for those the table is never
    // rebuilt as it grows.
    absl::flat_hash_map<LotKey, double> lots;
    lots.reserve(entries.size());
    // The records of HL.TMP the replay takes for its lots: a freed one
    // first, else a new one (the header counts records in use, itself
    // included).
    long records_in_use = 1;
    long free_records = 0;
    auto take_record = [&]() {
        if (free_records > 0) {
            --free_records;
            return true;
        }
        if (records_in_use + 1 >= kRecordsLeftToTheReplay) return false;
        ++records_in_use;
        return true;
    };
    std::optional<double> cash;  // the cash lot's balance, once there is one

    for (const uint64_t entry : entries) {
        const unsigned char* b = at(ReplayEntryRecord(entry));
        const ReplayCode code = codes.Of(std::string_view(reinterpret_cast<const char*>(b + field::kCode), 4));
        if (!Replayed(code)) continue;

        if (code.cls != records::kCashOnlyClass) {
            const double holding_key = R8At(b + field::kHoldingKey);
            // A lot of key 0 could take the cash postings; a NaN key
            // changes how the list is searched.
            if (holding_key == 0 || std::isnan(holding_key)) return out;
            const double quantity = R8At(b + field::kQuantity);
            const auto [lot, added] = lots.try_emplace(KeyOf(b, holding_key), 0.0);
            if (!added) {
                const LotTrade trade = TradeOnLot(lot->second, quantity, code, decimals);
                if (trade.status != kReplayDone) break;
                if (trade.closes) {
                    lots.erase(lot);
                    ++free_records;
                } else {
                    lot->second = trade.remaining;
                }
            } else {
                // The table is not looked at again after a stop.
                const NewLot opened = OpenLot(quantity, code);
                if (opened.status != kReplayDone) break;
                if (!take_record()) return out;
                lot->second = opened.quantity;
            }
        }

        if (PostsCash(code)) {
            if (!cash && !take_record()) return out;
            cash = CashAfter(cash, R8At(b + field::kAmount), R8At(b + field::kInterest), code);
        }
    }
    out.decided = true;
    out.cash_lot = cash.has_value();
    out.balance = cash.value_or(0);
    return out;
}

}  // namespace engine
