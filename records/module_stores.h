#pragma once

// The stores of the module entry dialogs and the income post date.
//
// ACCTBILL.DAT (128-byte records), INCDIST.DAT (512) and ASSETALC.DAT (256)
// are direct-access files of the data directory. Record 1 holds in bytes
// 1-2 the number of the last record in use (16-bit; 1 while no entry is
// stored) and zeros after it; the entries follow from record 2 and are
// found by scanning records 2 to the last in use for their key. Texts are
// blank padded, numbers little-endian, the bytes after an entry's fields
// zero.
//
// ACCTBILL.DAT, one record per account (1-based bytes):
//   1-8 account, 9-12 balance due (real), 13-16 amount of payment (real),
//   17-24 date of last payment, 25 payment method, 26-29 total billed to
//   date (real), 30-31 last billing month, 32-33 last billing year, 34-41
//   closing date.
// INCDIST.DAT, one record per year and security:
//   1-2 year, 3-14 symbol, then twelve monthly rows of 34 bytes from byte
//   15: ex date month, day, year and pay date month, day, year (16-bit
//   each), dividend rate, interest rate, capital distribution, reinvest
//   price, dividend expense (4-byte reals), expense flag (16-bit).
// ASSETALC.DAT, the one allocation in record 2:
//   1-4 account selection kind ("A   " all, "S   " select), 5-12 manager
//   code (4, blank padded to 8) or account, 13-20 sell date, 21-28 buy
//   date, 29-40 sell security identifier or security type, 41-52 buy
//   security, 53-60 sell broker, 61-68 buy broker, 69-124 sell price, buy
//   price, sell and buy commission per share, sell and buy misc expense,
//   quantity/face value (8-byte reals), 125-128 % of position, 129-132
//   share ratio (4-byte reals), 133-136 tax-lot disposition, 137 "T"
//   trades or "R" transfers, 138 "I" by security identifier or "T" by
//   security type.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// What a store write did: done, or the message that says why nothing was
// written ("ACCTBILL.DAT is full.", a damaged counter, a failed write).
struct StoreResult {
    std::string message;
    explicit operator bool() const { return message.empty(); }
};

inline constexpr const char* kAccountBillingFile = "ACCTBILL.DAT";
inline constexpr const char* kIncomeDistributionFile = "INCDIST.DAT";
inline constexpr const char* kAssetAllocationFile = "ASSETALC.DAT";

// ---- Account billing

struct AccountBilling {
    std::string account;  // 8 characters
    float balance_due = 0;
    float payment = 0;
    std::string last_payment_date;  // 8 characters
    char payment_method = ' ';
    float total_billed = 0;
    int16_t last_month = 0;
    int16_t last_year = 0;
    std::string closing_date;  // 8 characters
};

// The stored entry of the account (compared as 8 blank-padded
// characters). False when the store holds none or cannot be read; the
// entry is then left as it was. A store whose counter is out of range is
// refused: false, with the message in *damage when given.
bool ReadAccountBilling(std::string_view account, AccountBilling& entry, std::string* damage = nullptr);
// Writes the entry over the account's record, or as a new record after
// the last in use. A new entry in a full store, a store whose counter is
// damaged and a failed write give their message; the first two write
// nothing.
StoreResult WriteAccountBilling(const AccountBilling& entry);

// ---- Income distributions

struct DistributionRow {
    int16_t ex_month = 0;
    int16_t ex_day = 0;
    int16_t ex_year = 0;
    int16_t pay_month = 0;
    int16_t pay_day = 0;
    int16_t pay_year = 0;
    float dividend_rate = 0;
    float interest_rate = 0;
    float capital_distribution = 0;
    float reinvest_price = 0;
    float dividend_expense = 0;
    int16_t expense_flag = 0;
};
// January to December.
using DistributionRows = std::array<DistributionRow, 12>;

// The stored rows of the security (12 blank-padded characters) in the
// year. False when the store holds none or cannot be read; the rows are
// then left as they were. A damaged counter as for ReadAccountBilling.
bool ReadIncomeDistributions(int16_t year, std::string_view symbol, DistributionRows& rows,
                             std::string* damage = nullptr);
// Writes the rows over the record of the year and security, or as a new
// record after the last in use; refusals as for WriteAccountBilling.
StoreResult WriteIncomeDistributions(int16_t year, std::string_view symbol, const DistributionRows& rows);

// ---- Asset allocation

struct AssetAllocation {
    std::string selection_kind;      // "A   " or "S   "
    std::string manager_or_account;  // 8 characters
    std::string sell_date;           // 8 characters
    std::string buy_date;            // 8 characters
    std::string sell_security;       // identifier (12) or type code
    std::string buy_security;        // 12 characters
    std::string sell_broker;         // 8 characters
    std::string buy_broker;          // 8 characters
    double sell_price = 0;
    double buy_price = 0;
    double sell_commission = 0;
    double buy_commission = 0;
    double sell_expense = 0;
    double buy_expense = 0;
    double quantity = 0;
    float position_percent = 0;
    float share_ratio = 0;
    std::string disposition;      // "FIFO", "LIFO", "HICO", "LOCO" or blanks
    char transaction_kind = 'T';  // 'T' trades, 'R' transfers
    char sell_side = 'I';         // 'I' security identifier, 'T' security type
};

// The stored allocation; false when there is none or it cannot be read
// (the allocation is then left as it was).
bool ReadAssetAllocation(AssetAllocation& allocation);
// Replaces ASSETALC.DAT with the allocation; false when it could not be
// written (the old file is kept).
bool WriteAssetAllocation(const AssetAllocation& allocation);
// Removes ASSETALC.DAT.
void DeleteAssetAllocation();

// ---- Income post date

// The income post date: the first 8 characters of COMMON.FIL record 7,
// blanks when the record cannot be read (bytes below the blank, which a
// never-written record holds, read as blanks).
std::string Dipost();

}  // namespace records
