#pragma once

// The runner's row of the pricing subsystem: the import of a price file
// (code 63). The program registers it at start-up, before any report runs.

namespace pricing {

void RegisterPricingReports();

}  // namespace pricing
