#pragma once

// The lots and cash of an account as the trade and cash dialogs list them,
// from the stored holdings HL<acct>.REC: Push lists the open lots of one
// security with the account's cash balance, Cashbal gives the cash balance
// alone and Updnav looks a security up for its description and type.
// Nothing here reports an error: a missing file or a failed read gives an
// empty list, a balance of 0 and unchanged look-up outputs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// At most this many lots are listed.
inline constexpr int kMaxListedLots = 1000;

// One listed lot.
struct LotListEntry {
    std::string tax_lot = std::string(4, ' ');  // lot code word
    double quantity = 0;
    float unit_cost = 0;                          // cost / quantity, scaled by the security type
    std::string open_date = std::string(8, ' ');  // MM/DD/YY
};

// Lists the lots of the symbol (all 12 characters equal) in the order of
// the holdings list, up to kMaxListedLots; count is the number listed and
// lots holds them (resized to count). The cash balance is Cashbal's. The
// unit cost is cost / quantity (0 for quantity 0, and a cost above 10^10 in
// magnitude counts as 0), shown per 100 of face value for the types "3",
// "5", "6", "7", "B", "D", "F", "W", "X" and "Y", as 100 for type "4", as 1
// for types "1" and "S", and times 0.01 for type "R". The list stays
// available through LastLotList until the next call: trade posting takes a
// sale's lot date from it.
void Push(std::string_view account, std::string_view symbol, double& cash_balance, int16_t& count,
          std::vector<LotListEntry>& lots);

// The lots that the last Push listed.
const std::vector<LotListEntry>& LastLotList();

// The sum of the costs of the account's cash lots: the lots of holding key
// 0 at the head of the list. 0 when there are none.
void Cashbal(std::string_view account, double& cash_balance);

// Finds the symbol in SECURITY.IDX and returns its first description line
// (32), its type word (4) and its record number; the outputs stay as they
// were when the symbol is not there or its record cannot be read.
void Updnav(std::string_view symbol, std::string& description, std::string& type, int16_t& security_record);

}  // namespace engine
