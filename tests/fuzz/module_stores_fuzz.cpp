// The module stores of arbitrary bytes: ACCTBILL.DAT, INCDIST.DAT and
// ASSETALC.DAT read and written through their codecs, and a block
// allocation appended to TRADEBLK.DAT. A refused write leaves the file as
// it was; a write that is done leaves a counter within the file's records
// and the entry reads back.

#include <filesystem>
#include <string>

#include "records/files.h"
#include "records/module_stores.h"
#include "records/record.h"
#include "records/store_counter.h"
#include "records/transaction_lines.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Record 1's counter stands within the file's whole records and 16 bits.
void RequireCounterInRange(const char* name, std::size_t length) {
    const records::DirectFile file(name, length, false);
    records::Record rec;
    fuzz::Require(file.ok() && file.Read(1, rec));
    const long counter = rec.I16(0);
    fuzz::Require(counter >= 1 && counter <= file.Count() && counter <= records::kMaxStoreRecord);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 5);
    fuzz::FreshDataDir();
    fuzz::WriteFile(records::kAccountBillingFile, parts[0]);
    fuzz::WriteFile(records::kIncomeDistributionFile, parts[1]);
    fuzz::WriteFile(records::kAssetAllocationFile, parts[2]);
    fuzz::WriteFile(records::kBlockTradeFile, parts[3]);
    const std::string_view keys = parts[4];
    const std::string account = std::string(keys.substr(0, std::min<std::size_t>(keys.size(), 8)));
    const int16_t year = static_cast<int16_t>(fuzz::Byte(keys, 8) | fuzz::Byte(keys, 9) << 8);
    const std::string symbol = std::string(keys.substr(std::min<std::size_t>(keys.size(), 10), 12));

    {
        records::AccountBilling entry;
        std::string damage;
        const bool found = records::ReadAccountBilling(account, entry, &damage);
        fuzz::Require(!(found && !damage.empty()));
        entry.account = account;
        entry.balance_due = 12.5f;
        const std::string before = fuzz::ReadFile(records::kAccountBillingFile);
        const records::StoreResult written = records::WriteAccountBilling(entry);
        if (!written) {
            fuzz::Require(fuzz::ReadFile(records::kAccountBillingFile) == before);
        } else {
            RequireCounterInRange(records::kAccountBillingFile, 128);
            records::AccountBilling back;
            fuzz::Require(records::ReadAccountBilling(account, back) && back.balance_due == 12.5f);
        }
    }
    {
        records::DistributionRows rows{};
        std::string damage;
        (void)records::ReadIncomeDistributions(year, symbol, rows, &damage);
        rows[0].ex_month = 3;
        rows[0].dividend_rate = 0.25f;
        const std::string before = fuzz::ReadFile(records::kIncomeDistributionFile);
        const records::StoreResult written = records::WriteIncomeDistributions(year, symbol, rows);
        if (!written) {
            fuzz::Require(fuzz::ReadFile(records::kIncomeDistributionFile) == before);
        } else {
            RequireCounterInRange(records::kIncomeDistributionFile, 512);
            records::DistributionRows back{};
            fuzz::Require(records::ReadIncomeDistributions(year, symbol, back) && back[0].ex_month == 3 &&
                          back[0].dividend_rate == 0.25f);
        }
    }
    {
        records::AssetAllocation allocation;
        if (records::ReadAssetAllocation(allocation) && records::WriteAssetAllocation(allocation)) {
            records::AssetAllocation back;
            fuzz::Require(records::ReadAssetAllocation(back) && back.sell_date == allocation.sell_date);
        }
    }
    {
        records::BlockDefinition block;
        (void)records::ReadBlockDefinition(block);
        (void)records::AllocatedBlockShares();
        const std::string before = fuzz::ReadFile(records::kBlockTradeFile);
        long rec = 0;
        std::string message;
        if (records::AppendBlockAllocation(std::string(records::kEditViewLength, 'A'), rec, &message) != 0) {
            fuzz::Require(fuzz::ReadFile(records::kBlockTradeFile) == before);
        } else {
            RequireCounterInRange(records::kBlockTradeFile, records::kTransactionLineLength);
            fuzz::Require(rec >= 2 && records::ReadLineCounter(records::kBlockTradeFile) == rec);
        }
    }
    return 0;
}
