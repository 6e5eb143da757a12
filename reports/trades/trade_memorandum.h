#pragma once

// The trade memorandum (report code 92): settlement letters.

#include <string>
#include <string_view>

namespace reports {

// One settlement letter per account and broker that traded on trade_date,
// from the account's custodian to the broker, on the firm's letterhead:
// for every account of the manager code (selection "A   ") or the one
// account (any other selection). The trade date is normalised in place;
// settlement_date is overwritten with the trade date plus three calendar
// days, as every trade line prints it. The work file is always copied to
// output_name.
void Bnkltr(std::string_view selection, std::string_view account, std::string_view manager,
            std::string& trade_date, std::string& settlement_date, std::string_view output_name);

}  // namespace reports
