// The module entry stores and the income post date.

#include "records/module_stores.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "records/store_counter.h"

namespace records {
namespace {

// Record 1 of a keyed store: the last record in use.
constexpr long kDirectoryRecord = 1;
constexpr long kFirstEntry = 2;

// The checked counter of record 1; an unreadable record 1 is an empty
// store.
StoreCounter LastInUse(const DirectFile& file) {
    Record rec;
    if (!file.Read(kDirectoryRecord, rec)) return StoreCounter{};
    return CheckStoreCounter(rec.I16(0), file.Count());
}

// The counter as stored, for the message of a damaged one.
long StoredCounter(const DirectFile& file) {
    Record rec;
    return file.Read(kDirectoryRecord, rec) ? rec.I16(0) : 0;
}

// The record of the key (the first key.size() bytes of an entry) among
// records 2 to the last in use, 0 when none holds it. The scan ends at the
// first record that cannot be read.
long FindEntry(const DirectFile& file, long last, const std::string& key, Record& rec) {
    for (long n = kFirstEntry; n <= last; ++n) {
        if (!file.Read(n, rec)) break;
        if (rec.Text(0, key.size()) == key) return n;
    }
    return 0;
}

// Finds the entry of the key in a store that may be read: false (with the
// message in *damage) for a damaged counter, else whether the key is held.
bool ReadEntry(std::string_view name, std::size_t length, const std::string& key, Record& rec,
               std::string* damage) {
    const DirectFile file(name, length, false);
    if (!file.ok()) return false;
    const StoreCounter counter = LastInUse(file);
    if (counter.damaged) {
        if (damage != nullptr) *damage = StoreDamagedMessage(name, StoredCounter(file));
        return false;
    }
    return FindEntry(file, counter.last, key, rec) != 0;
}

// Writes the entry over the record of its key or after the last in use,
// then record 1 when the store grew. A damaged counter or a full store
// writes nothing.
StoreResult WriteEntry(std::string_view name, std::size_t length, const Record& entry, std::size_t key_length) {
    const StoreResult failed{"Could not write " + std::string(name) + "."};
    DirectFile file(name, length);
    if (!file.ok()) return failed;
    const StoreCounter counter = LastInUse(file);
    if (counter.damaged) return {StoreDamagedMessage(name, StoredCounter(file))};
    Record found;
    const std::string key = entry.Text(0, key_length);
    long n = FindEntry(file, counter.last, key, found);
    if (n == 0) {
        if (counter.Full()) return {StoreFullMessage(name)};
        n = counter.last + 1;
    }
    if (!file.Write(n, entry)) return failed;
    if (n <= counter.last) return {};
    Record directory(length, 0);
    directory.SetI16(0, static_cast<int16_t>(n));
    return file.Write(kDirectoryRecord, directory) ? StoreResult{} : failed;
}

// ---- ACCTBILL.DAT

constexpr std::size_t kBillingLength = 128;
constexpr std::size_t kAccountWidth = 8;
constexpr std::size_t kDateWidth = 8;

enum BillingOffset : std::size_t {
    kBillAccount = 0,
    kBillBalance = 8,
    kBillPayment = 12,
    kBillPaymentDate = 16,
    kBillMethod = 24,
    kBillTotal = 25,
    kBillMonth = 29,
    kBillYear = 31,
    kBillClosing = 33,
};

// ---- INCDIST.DAT

constexpr std::size_t kDistributionLength = 512;
constexpr std::size_t kSymbolWidth = 12;
constexpr std::size_t kFirstRow = 14;
constexpr std::size_t kRowSize = 34;

std::string DistributionKey(int16_t year, std::string_view symbol) {
    Record key(2 + kSymbolWidth, 0);
    key.SetI16(0, year);
    key.SetText(2, kSymbolWidth, symbol);
    return key.Text(0, key.size());
}

// ---- ASSETALC.DAT

constexpr std::size_t kAllocationLength = 256;

enum AllocationOffset : std::size_t {
    kAllocKind = 0,
    kAllocWho = 4,
    kAllocSellDate = 12,
    kAllocBuyDate = 20,
    kAllocSellSecurity = 28,
    kAllocBuySecurity = 40,
    kAllocSellBroker = 52,
    kAllocBuyBroker = 60,
    kAllocNumbers = 68,  // seven doubles
    kAllocPercent = 124,
    kAllocRatio = 128,
    kAllocDisposition = 132,
    kAllocTransactionKind = 136,
    kAllocSellSide = 137,
};

}  // namespace

bool ReadAccountBilling(std::string_view account, AccountBilling& entry, std::string* damage) {
    Record rec;
    if (!ReadEntry(kAccountBillingFile, kBillingLength, Fixed(account, kAccountWidth), rec, damage)) return false;
    entry.account = rec.Text(kBillAccount, kAccountWidth);
    entry.balance_due = rec.R4(kBillBalance);
    entry.payment = rec.R4(kBillPayment);
    entry.last_payment_date = rec.Text(kBillPaymentDate, kDateWidth);
    entry.payment_method = static_cast<char>(rec.data()[kBillMethod]);
    entry.total_billed = rec.R4(kBillTotal);
    entry.last_month = rec.I16(kBillMonth);
    entry.last_year = rec.I16(kBillYear);
    entry.closing_date = rec.Text(kBillClosing, kDateWidth);
    return true;
}

StoreResult WriteAccountBilling(const AccountBilling& entry) {
    Record rec(kBillingLength, 0);
    rec.SetText(kBillAccount, kAccountWidth, entry.account);
    rec.SetR4(kBillBalance, entry.balance_due);
    rec.SetR4(kBillPayment, entry.payment);
    rec.SetText(kBillPaymentDate, kDateWidth, entry.last_payment_date);
    rec.data()[kBillMethod] = static_cast<unsigned char>(entry.payment_method);
    rec.SetR4(kBillTotal, entry.total_billed);
    rec.SetI16(kBillMonth, entry.last_month);
    rec.SetI16(kBillYear, entry.last_year);
    rec.SetText(kBillClosing, kDateWidth, entry.closing_date);
    return WriteEntry(kAccountBillingFile, kBillingLength, rec, kAccountWidth);
}

bool ReadIncomeDistributions(int16_t year, std::string_view symbol, DistributionRows& rows,
                             std::string* damage) {
    Record rec;
    if (!ReadEntry(kIncomeDistributionFile, kDistributionLength, DistributionKey(year, symbol), rec, damage))
        return false;
    for (std::size_t m = 0; m < rows.size(); ++m) {
        const std::size_t at = kFirstRow + m * kRowSize;
        DistributionRow& row = rows[m];
        row.ex_month = rec.I16(at);
        row.ex_day = rec.I16(at + 2);
        row.ex_year = rec.I16(at + 4);
        row.pay_month = rec.I16(at + 6);
        row.pay_day = rec.I16(at + 8);
        row.pay_year = rec.I16(at + 10);
        row.dividend_rate = rec.R4(at + 12);
        row.interest_rate = rec.R4(at + 16);
        row.capital_distribution = rec.R4(at + 20);
        row.reinvest_price = rec.R4(at + 24);
        row.dividend_expense = rec.R4(at + 28);
        row.expense_flag = rec.I16(at + 32);
    }
    return true;
}

StoreResult WriteIncomeDistributions(int16_t year, std::string_view symbol, const DistributionRows& rows) {
    Record rec(kDistributionLength, 0);
    const std::string key = DistributionKey(year, symbol);
    std::copy(key.begin(), key.end(), rec.data());
    for (std::size_t m = 0; m < rows.size(); ++m) {
        const std::size_t at = kFirstRow + m * kRowSize;
        const DistributionRow& row = rows[m];
        rec.SetI16(at, row.ex_month);
        rec.SetI16(at + 2, row.ex_day);
        rec.SetI16(at + 4, row.ex_year);
        rec.SetI16(at + 6, row.pay_month);
        rec.SetI16(at + 8, row.pay_day);
        rec.SetI16(at + 10, row.pay_year);
        rec.SetR4(at + 12, row.dividend_rate);
        rec.SetR4(at + 16, row.interest_rate);
        rec.SetR4(at + 20, row.capital_distribution);
        rec.SetR4(at + 24, row.reinvest_price);
        rec.SetR4(at + 28, row.dividend_expense);
        rec.SetI16(at + 32, row.expense_flag);
    }
    return WriteEntry(kIncomeDistributionFile, kDistributionLength, rec, key.size());
}

bool ReadAssetAllocation(AssetAllocation& allocation) {
    const DirectFile file(kAssetAllocationFile, kAllocationLength, false);
    Record rec;
    if (!file.ok() || LastInUse(file).last < kFirstEntry || !file.Read(kFirstEntry, rec)) return false;
    AssetAllocation& a = allocation;
    a.selection_kind = rec.Text(kAllocKind, 4);
    a.manager_or_account = rec.Text(kAllocWho, 8);
    a.sell_date = rec.Text(kAllocSellDate, 8);
    a.buy_date = rec.Text(kAllocBuyDate, 8);
    a.sell_security = rec.Text(kAllocSellSecurity, 12);
    a.buy_security = rec.Text(kAllocBuySecurity, 12);
    a.sell_broker = rec.Text(kAllocSellBroker, 8);
    a.buy_broker = rec.Text(kAllocBuyBroker, 8);
    double* numbers[] = {&a.sell_price,   &a.buy_price,   &a.sell_commission, &a.buy_commission,
                         &a.sell_expense, &a.buy_expense, &a.quantity};
    for (std::size_t i = 0; i < std::size(numbers); ++i) *numbers[i] = rec.R8(kAllocNumbers + 8 * i);
    a.position_percent = rec.R4(kAllocPercent);
    a.share_ratio = rec.R4(kAllocRatio);
    a.disposition = rec.Text(kAllocDisposition, 4);
    a.transaction_kind = static_cast<char>(rec.data()[kAllocTransactionKind]);
    a.sell_side = static_cast<char>(rec.data()[kAllocSellSide]);
    return true;
}

bool WriteAssetAllocation(const AssetAllocation& a) {
    Record directory(kAllocationLength, 0);
    directory.SetI16(0, static_cast<int16_t>(kFirstEntry));
    Record rec(kAllocationLength, 0);
    rec.SetText(kAllocKind, 4, a.selection_kind);
    rec.SetText(kAllocWho, 8, a.manager_or_account);
    rec.SetText(kAllocSellDate, 8, a.sell_date);
    rec.SetText(kAllocBuyDate, 8, a.buy_date);
    rec.SetText(kAllocSellSecurity, 12, a.sell_security);
    rec.SetText(kAllocBuySecurity, 12, a.buy_security);
    rec.SetText(kAllocSellBroker, 8, a.sell_broker);
    rec.SetText(kAllocBuyBroker, 8, a.buy_broker);
    const double numbers[] = {a.sell_price,   a.buy_price,   a.sell_commission, a.buy_commission,
                              a.sell_expense, a.buy_expense, a.quantity};
    for (std::size_t i = 0; i < std::size(numbers); ++i) rec.SetR8(kAllocNumbers + 8 * i, numbers[i]);
    rec.SetR4(kAllocPercent, a.position_percent);
    rec.SetR4(kAllocRatio, a.share_ratio);
    rec.SetText(kAllocDisposition, 4, a.disposition);
    rec.data()[kAllocTransactionKind] = static_cast<unsigned char>(a.transaction_kind);
    rec.data()[kAllocSellSide] = static_cast<unsigned char>(a.sell_side);
    std::vector<unsigned char> bytes = directory.bytes();
    bytes.insert(bytes.end(), rec.bytes().begin(), rec.bytes().end());
    return ReplaceFile(kAssetAllocationFile, bytes);
}

void DeleteAssetAllocation() {
    Purge(kAssetAllocationFile);
}

std::string Dipost() {
    std::string date(8, ' ');
    const DirectFile common(kCommonFile, 128, false);
    Record rec;
    if (common.Read(kPostDateRecord, rec)) date = rec.Text(0, 8);
    for (char& c : date)
        if (static_cast<unsigned char>(c) < ' ') c = ' ';
    return date;
}

}  // namespace records
