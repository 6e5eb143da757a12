#pragma once

// Commission detail by broker (report code 94) and its work file COMM.DAT.

#include <string>
#include <string_view>

namespace reports {

inline constexpr const char* kCommissionWorkFile = "COMM.DAT";

// One collected trade of COMM.DAT (128-byte records, record n the n-th
// trade): broker 0-7, account 8-15, account name 16-47, symbol 48-59,
// trade date text 60-67, code 68-71, quantity 72-79 (8-byte real), price
// 80-83 (4-byte real), net amount 84-91 and commission 92-99 (8-byte
// reals); bytes 100-127 are not written.
struct CommissionTrade {
    std::string broker = std::string(8, ' ');
    std::string account = std::string(8, ' ');
    std::string name = std::string(32, ' ');
    std::string symbol = std::string(12, ' ');
    std::string trade_date = std::string(8, ' ');
    std::string code = std::string(4, ' ');
    double quantity = 0;
    float price = 0;
    double amount = 0;
    double commission = 0;
};

// The month's commissioned buys, sales, short sales and covers of every
// account of the manager code, broker by broker in BRSORT.DAT order (all
// brokers, or with selection "S   " the one broker), with each broker's
// net amount and commission totals. BRSORT.DAT is rebuilt first; COMM.DAT
// is deleted at the end. The work file is always copied to output_name.
void Brcomfil(std::string_view report_date, std::string_view broker, std::string_view selection,
              std::string_view manager, std::string_view output_name);

}  // namespace reports
