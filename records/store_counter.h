#pragma once

// The "last record in use" counter that record 1 of the keyed stores
// (ACCTBILL.DAT, INCDIST.DAT, TRADEBLK.DAT, the stock split files) holds in
// its first two bytes, as a 16-bit number. Entries are appended after the
// last record in use, so the counter is checked before it addresses a
// record: a store whose counter already stands at the largest 16-bit
// number is full (the next entry would wrap the counter and overwrite the
// first), and a counter below 1 or beyond the file's whole records is
// damaged (reading would stop short of entries or writing would leave a
// gap the readers never cross).

#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// The largest last record in use a 16-bit counter holds.
inline constexpr long kMaxStoreRecord = 32767;

struct StoreCounter {
    long last = 1;         // the last record in use, 1 for an empty store
    bool damaged = false;  // the stored counter was out of range
    // Room for one more entry after the last record in use.
    bool Full() const { return last >= kMaxStoreRecord; }
};

// Checks the counter read from record 1 of a store that has `records`
// whole records. A counter of 0 or 1 in a store of at most one record is an
// empty store; any other counter below 1 or beyond the file's records is
// damaged (last is then 1).
StoreCounter CheckStoreCounter(long counter, long records);

// "<FILE> is full." and the message for a damaged counter, naming the file
// and the counter.
std::string StoreFullMessage(std::string_view file);
std::string StoreDamagedMessage(std::string_view file, long counter);

}  // namespace records
