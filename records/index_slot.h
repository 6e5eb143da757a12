#pragma once

// A market index slot: symbol and three column headers, as an account's
// ACCOUNT.REC record 8 and COMMON.FIL record 37 hold two of them.

#include <array>
#include <string>

namespace records {

struct IndexSlot {
    std::string symbol = std::string(12, ' ');
    std::array<std::string, 3> headers{std::string(8, ' '), std::string(8, ' '), std::string(8, ' ')};
};

}  // namespace records
