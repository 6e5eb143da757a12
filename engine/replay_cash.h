#pragma once

// The cash a replay leaves, worked out without its work files. The cash
// lot's balance depends on the lots only through what can stop a replay
// (a closing trade beyond its lot or without one) or keep a new lot from
// being made; the cash pass follows those with each lot's quantity alone,
// through the replay's own order and steps (replay_steps.h), so the
// balance comes out bit for bit as the replay's without building, encoding
// and writing every lot. Where only the replay can tell (a trade with a
// holding key of 0, which the replay's search could take for the cash lot,
// or a NaN key; a lot list near the 16-bit record limit) the answer is
// left open and the caller replays.

#include <cstddef>

#include "records/common_file.h"

namespace engine {

struct ReplayedCash {
    bool decided = false;   // false: only a replay can tell
    bool cash_lot = false;  // the replay leaves a cash lot
    double balance = 0;     // its cost
};

// What Creatt as of as_of with exclude day set (the transactions dated
// before as_of) leaves in the cash lot of HL.TMP, from the transaction
// file's bytes (the file read whole, size a multiple of 128) with the
// system decimals of options.
ReplayedCash CashBeforeDate(const unsigned char* bytes, std::size_t size, float as_of,
                            const records::Options& options);

}  // namespace engine
