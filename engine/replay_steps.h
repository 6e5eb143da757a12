#pragma once

// The steps of a replay that decide what a transaction does to the
// quantities of the lots and to the cash: its code's class, sign and
// transfer flag; a trade's change to the quantity of its lot, with the two
// stops; and the cash lot's balance after a transaction that posts cash.
// The replay (HoldingsWork::Updhlt) takes them on the lot records of
// HL.TMP, the cash pass (replay_cash.h) on each lot's quantity alone, so
// that the two come to the same figures bit for bit.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/replay.h"
#include "records/codes.h"
#include "records/rounding.h"

namespace engine {

// What the replay does with a code (records::Code with the replay's
// table): its class, its sign and whether it is a transfer (SI, SO), which
// moves no cash. A code not in the table has all three 0: the replay
// leaves it alone.
struct ReplayCode {
    int16_t cls = 0;
    int16_t sign = 0;
    int16_t transfer = 0;
};

// The codes met so far, each looked up once: an account uses a few codes
// over thousands of transactions.
class ReplayCodes {
public:
    // code: the transaction's four characters (a shorter text is blank
    // padded, as records::Code takes it).
    ReplayCode Of(std::string_view code) {
        uint32_t word = 0x20202020u;
        std::memcpy(&word, code.data(), std::min(code.size(), sizeof word));
        for (const Entry& e : entries_)
            if (e.word == word) return e.code;
        return LookUp(code, word);
    }

private:
    struct Entry {
        uint32_t word;
        ReplayCode code;
    };
    ReplayCode LookUp(std::string_view code, uint32_t word);
    std::vector<Entry> entries_;
};

// Whether the class is one the replay applies (1 to 4); the others change
// nothing.
inline bool Replayed(const ReplayCode& code) {
    return code.cls >= records::kShortSaleClass && code.cls <= records::kOpeningClass;
}

// A trade (class 1, 2 or 4) on the lot it found. Both quantities are
// rounded to the system's decimals first; a closing trade beyond the lot
// stops the replay (kLotExceeded) and changes nothing. Otherwise the lot
// keeps remaining, or is closed when that comes within kClosedLotQuantity
// of 0.
struct LotTrade {
    double lot_quantity = 0;  // the lot's, rounded
    double quantity = 0;      // the transaction's, rounded
    double remaining = 0;     // lot_quantity - sign x quantity
    ReplayStatus status = kReplayDone;
    bool closes = false;
};
inline LotTrade TradeOnLot(double lot_quantity, double quantity, const ReplayCode& code, int decimals) {
    LotTrade trade;
    trade.lot_quantity = lot_quantity;
    trade.quantity = quantity;
    records::RoundToDecimals(trade.quantity, decimals);
    records::RoundToDecimals(trade.lot_quantity, decimals);
    if (code.cls == records::kClosingClass && code.sign * trade.lot_quantity < trade.quantity) {
        trade.status = kLotExceeded;
        return trade;
    }
    trade.remaining = trade.lot_quantity - code.sign * trade.quantity;
    trade.closes = trade.remaining >= -kClosedLotQuantity && trade.remaining <= kClosedLotQuantity;
    return trade;
}

// A trade that found no lot: a closing one stops the replay (kLotNotFound);
// the others open a lot of the transaction's quantity as it stands,
// negative for a short sale.
struct NewLot {
    double quantity = 0;
    ReplayStatus status = kReplayDone;
};
inline NewLot OpenLot(double quantity, const ReplayCode& code) {
    if (code.cls == records::kClosingClass) return {0, kLotNotFound};
    return {code.cls == records::kShortSaleClass ? -quantity : quantity, kReplayDone};
}

// Whether the transaction moves cash: every replayed code but a transfer.
inline bool PostsCash(const ReplayCode& code) {
    return code.transfer == 0;
}

// The cash lot's balance after a transaction that posts cash: the balance
// before (rounded to cents; none when there is no cash lot yet, which the
// transaction opens) plus sign x (amount + interest), the two rounded to
// cents first, the sum rounded to cents again.
inline double CashAfter(std::optional<double> balance, double amount, double interest, const ReplayCode& code) {
    records::Drnd2(amount);
    // Rounding gives +0 back as it is, and most transactions carry no
    // interest.
    if (interest != 0 || std::signbit(interest)) records::Drnd2(interest);
    double after = balance ? *balance + code.sign * (amount + interest) : code.sign * (amount + interest);
    records::Drnd2(after);
    return after;
}

}  // namespace engine
