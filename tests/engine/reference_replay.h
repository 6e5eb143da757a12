#pragma once

// The holdings replay as it stood before it kept its work files in memory
// (see reference_replay.cpp): the reference of the randomized replay test.
// It is an independent check, written apart from engine/ on purpose: it
// takes the record layer and the engine's names, constants and result
// types, but none of the replay's logic, so a fault in the replay cannot
// hide by being in both. Do not fold it into engine/ or make it call the
// replay's helpers, even where the two look alike.

#include <cstdint>
#include <string_view>

#include "engine/replay.h"

namespace reference_replay {

// engine::ReplayTransactions as it was: HL.TMP, HL.EXT and GL.TMP written
// record by record; the gain links come back for the caller to write.
engine::ReplayResult Replay(std::string_view account, std::string_view label, float as_of, int16_t write_mode,
                            int16_t exclude_day);

// engine::Creatt and engine::Rbldhl as they were, on the replay above.
void Creatt(std::string_view account, std::string_view label, float as_of, int16_t write_mode,
            int16_t exclude_day, int16_t& status);
void Rbldhl(std::string_view account, int16_t& flag);

}  // namespace reference_replay
