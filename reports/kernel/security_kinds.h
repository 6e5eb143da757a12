#pragma once

// Security type classes of the reports.

#include <string_view>

#include "records/security_types.h"

namespace reports {

// Fixed-income types 3 4 5 6 7 B D F W X Y: their prices are per 100 of
// par, so a holding's market value is price / 100 x quantity.
using records::IsFixedIncomeType;

// The type number that orders and groups securities by type: the place
// (1-36) of the type character in "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
// 37 for any other character.
int SecurityTypeNumber(char type);

}  // namespace reports
