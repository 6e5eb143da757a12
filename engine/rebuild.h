#pragma once

// The rebuild of an account's stored holdings and gains after posting:
// every transaction is replayed (Creatt in write mode, as of 9999999) and,
// when the replay succeeds, its work files take the place of the account's
// files.

#include <cstdint>
#include <optional>
#include <string_view>

#include "records/files.h"

namespace engine {

// Replays every transaction of the account into HL.TMP, GL.TMP and (under
// option 64) HL.EXT, then renames them over HL<acct>.REC, GL<acct>.REC and
// HL<acct>.EXT. Each rename replaces its target in one step, so a target is
// either the old file or the new one, and none is moved unless every work
// file was written whole. flag: 0 done; otherwise the replay's
// status (ReplayStatus), or kWorkFilesFailed when the work files are
// missing or could not be moved; the stored files then stay as they were.
// Field 17 of the transactions is written only once the new gains file is
// in place, so it always points into the account's gains file.
void Rbldhl(std::string_view account, int16_t& flag);
// The same, also giving why, when the work files could not be written or
// moved (flag kWorkFilesFailed for a failed write or rename); none
// otherwise.
void Rbldhl(std::string_view account, int16_t& flag, std::optional<records::WriteFault>& fault);

}  // namespace engine
