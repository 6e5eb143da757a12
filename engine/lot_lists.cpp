#include "engine/lot_lists.h"

#include <cmath>

#include "records/account_records.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/security_types.h"

namespace engine {

namespace {

using records::Record;

constexpr int kIndexUnit = 18;
constexpr double kLargestCost = 1.0e10;

std::vector<LotListEntry>& LastList() {
    static std::vector<LotListEntry> list;
    return list;
}

// Unit cost as the dialogs show it for the security's type.
double ScaledUnitCost(double unit_cost, char type) {
    if (type == '4') return 100;
    if (records::IsFixedIncomeType(type)) return unit_cost * 100;  // per 100 of face value
    switch (type) {
        case '1':
        case 'S':
            return 1;
        case 'R':
            return unit_cost * 0.01;
        default:
            return unit_cost;
    }
}

}  // namespace

void Push(std::string_view account, std::string_view symbol, double& cash_balance, int16_t& count,
          std::vector<LotListEntry>& lots) {
    std::string description(32, ' '), type(4, ' ');
    int16_t security_record = 0;
    Updnav(symbol, description, type, security_record);
    Cashbal(account, cash_balance);
    count = 0;
    lots.clear();
    LastList().clear();

    const records::DirectFile file(records::Paknam(account, "HL", ".REC"), records::kAccountRecordLength,
                                   false);
    Record rec;
    if (!file.Read(1, rec)) return;
    const std::string want = records::Fixed(symbol, 12);
    // At most as many steps as the file has records: a damaged list that
    // loops back cannot hold the dialog.
    const long limit = file.Count();
    long link = rec.I16(0);
    for (long steps = 0; link >= 0 && steps < limit; ++steps) {
        if (!file.Read(link, rec)) break;
        const records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
        if (lot.symbol == want && static_cast<int>(lots.size()) < kMaxListedLots) {
            const double cost = std::fabs(lot.cost) > kLargestCost ? 0 : lot.cost;
            const double unit_cost = lot.quantity != 0 ? cost / lot.quantity : 0;
            lots.push_back({lot.tax_lot, lot.quantity, static_cast<float>(ScaledUnitCost(unit_cost, type[0])),
                            lot.open_date});
        }
        link = lot.next;
    }
    count = static_cast<int16_t>(lots.size());
    LastList() = lots;
}

const std::vector<LotListEntry>& LastLotList() {
    return LastList();
}

void Cashbal(std::string_view account, double& cash_balance) {
    cash_balance = 0;
    const records::DirectFile file(records::Paknam(account, "HL", ".REC"), records::kAccountRecordLength,
                                   false);
    Record rec;
    if (!file.Read(1, rec)) return;
    const records::HoldingsHeader header = records::HoldingsHeader::Decode(rec);
    const long limit = file.Count();
    long link = header.first_lot;
    for (long steps = 0; link >= 1 && steps < limit; ++steps) {
        if (!file.Read(link, rec)) break;
        const records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
        if (lot.holding_key != 0) break;
        cash_balance += lot.cost;
        link = lot.next;
    }
}

void Updnav(std::string_view symbol, std::string& description, std::string& type, int16_t& security_record) {
    int entry = 0;
    {
        records::Open(kIndexUnit, records::kSecurityIndex);
        records::UnitGuard guard(kIndexUnit);
        entry = records::ScanIndex(kIndexUnit, symbol, records::kSecurityKeyWidth,
                                   records::kSecurityKeysPerRecord, false);
    }
    if (entry == 0) return;
    const records::DirectFile file(records::kSecurityRecords, records::kAccountRecordLength, false);
    Record rec;
    if (!file.Read(entry, rec)) return;
    description = rec.Text(12, 32);
    type = rec.Text(76, 4);
    security_record = static_cast<int16_t>(entry);
}

}  // namespace engine
