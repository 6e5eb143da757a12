#pragma once

// The portfolio manager code table of COMMON.FIL as a whole: 100 slots of
// four characters, slots 1-10 in record 10 (bytes 17-56), 11-42 in record
// 81 and 43-74 in record 82 (bytes 1-128), 75-100 in record 83 (bytes
// 1-104). The other bytes of records 10 and 83 are not part of the table
// and are kept as the file holds them.

#include <array>
#include <cstddef>
#include <string>

#include "records/common_file.h"

namespace records {

inline constexpr std::size_t kManagerCodeLength = 4;

// Slot n at index n - 1, each exactly four bytes as stored.
using ManagerSlots = std::array<std::string, kManagerCodeCount>;

// Reads the four records. The slots of a record that cannot be read come
// back as four zero bytes each, as in a record never written.
ManagerSlots ReadManagerTable();

// Writes every slot (blank padded or cut to four characters) into its
// record, each record read first so that its bytes outside the table keep
// what they hold (zeros for a record that cannot be read). Failures are
// not reported.
void WriteManagerTable(const ManagerSlots& table);

}  // namespace records
