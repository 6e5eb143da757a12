// The checks of a store's "last record in use" counter.

#include "records/store_counter.h"

namespace records {

StoreCounter CheckStoreCounter(long counter, long records) {
    StoreCounter out;
    if (counter <= 1 && counter >= 0 && records <= 1) return out;
    if (counter < 1 || counter > records || counter > kMaxStoreRecord) {
        out.damaged = true;
        return out;
    }
    out.last = counter;
    return out;
}

std::string StoreFullMessage(std::string_view file) {
    return std::string(file) + " is full.";
}

std::string StoreDamagedMessage(std::string_view file, long counter) {
    return std::string(file) + " is damaged: its last record in use (" + std::to_string(counter) +
           ") is out of range.";
}

}  // namespace records
