#pragma once

// The transaction record object: one listed transaction carried from the
// transaction list into the trade, cash or transfer dialog that changes or
// deletes it. CurrentTranRecord points at the object being edited, or is
// null while a dialog adds a new transaction. The list owns the object: it
// makes and fills it, sets CurrentTranRecord, runs the dialog, then deletes
// the object and sets the pointer back to null.

#include <cstdint>
#include <string>
#include <string_view>

namespace entry {

// Where a listed transaction comes from.
enum TranSource : int {
    kAccountSource = 0,  // the account's transaction file TR<acct>.REC
    kBlockSource = 1,    // TRADEBLK.DAT
    kOfflineSource = 2,  // OFFLINET.DAT
};

class CTranRecord {
public:
    virtual ~CTranRecord() = default;

    // Takes record `record` of the source open on unit 6: an account's
    // transaction record (whose account is the one given: the record holds
    // none), or the edit view of a block or off-line line (whose first 8
    // bytes are its account). The price is rounded to the decimals of
    // option 81. False, with the object as it was, when the record cannot
    // be read.
    bool Fill(int source, long record, std::string_view selection_account = {});

    std::string account;         // 1
    std::string symbol;          // 2
    std::string tax_lot;         // 3
    std::string trade_date;      // 4, MM/DD/YY
    std::string code;            // 5
    double quantity = 0;         // 6
    float price = 0;             // 7
    double amount = 0;           // 8
    std::string broker;          // 9
    double commission = 0;       // 10
    double bond_interest = 0;    // 11
    std::string second_date;     // 12, a transfer's purchase date
    double second_amount = 0;    // 13, a transfer's cost
    float date_number = 0;       // 14
    double sort_key = 0;         // 15
    int16_t security_entry = 0;  // 16
    int16_t match_code = 0;      // 17
    std::string entry_kind;      // 18
    int16_t word = 0;            // 19
    std::string description;     // 20, a cash line's text (20 characters)
    double sec_fee = 0;          // 21
    int index = 0;               // 22, the record number minus 1
};

// The transaction being edited; null while none is.
extern CTranRecord* CurrentTranRecord;

}  // namespace entry
