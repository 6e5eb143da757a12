#include "records/account_file.h"

#include <algorithm>
#include <cstring>

#include "records/files.h"
#include "records/index.h"
#include "records/index_keys.h"

namespace records {
namespace {

constexpr std::size_t kLength = 128;

// Field places, by record (0-7 for R1-R8) and byte offset.
struct TextField {
    int record;
    std::size_t offset;
    std::size_t width;
};

// Combined accounts 1-5 lie in R4 in two pieces (characters 1-4, then 5-6),
// 6 to 10 in R3: 6, 8, 9 and 10 whole, 7 in two pieces around the cash
// balance code.
struct CombinedPlace {
    int record;
    std::size_t head;  // characters 1-4 (or 1-6 when tail is 0)
    std::size_t tail;  // characters 5-6, 0 when the field is whole
};
constexpr std::array<CombinedPlace, 10> kCombined{{
    {3, 47, 67},
    {3, 51, 71},
    {3, 55, 75},
    {3, 59, 79},
    {3, 63, 83},
    {2, 82, 0},
    {2, 90, 98},
    {2, 102, 0},
    {2, 110, 0},
    {2, 118, 0},
}};

constexpr std::size_t kPerformanceStart = 16;
constexpr std::size_t kFiscalYtdReturn = 111;
constexpr std::array<std::size_t, 3> kHeaderOffsets{12, 20, 28};
constexpr std::size_t kSecondIndex = 36;

// The texts of an account with their places, for both directions.
template <class Account, class Fn>
void ForEachText(Account& a, Fn fn) {
    fn(a.name, TextField{0, 0, 32});
    fn(a.address[0], TextField{0, 32, 32});
    fn(a.address[1], TextField{0, 64, 32});
    fn(a.address[2], TextField{0, 96, 32});
    fn(a.manager_code, TextField{1, 16, 4});
    fn(a.salutation, TextField{1, 20, 32});
    fn(a.short_name, TextField{1, 52, 32});
    fn(a.tax_id, TextField{1, 84, 12});
    fn(a.home_phone, TextField{1, 96, 12});
    fn(a.business_phone, TextField{1, 108, 12});
    fn(a.date_opened, TextField{1, 120, 8});
    fn(a.address[3], TextField{2, 0, 32});
    fn(a.custodian1, TextField{2, 32, 16});
    fn(a.custodian2, TextField{2, 48, 16});
    fn(a.custodian_id, TextField{2, 64, 6});
    fn(a.broker_id, TextField{2, 72, 6});
    fn(a.cash_balance_code, TextField{2, 94, 1});
    fn(a.management_fee_code, TextField{3, 36, 1});
    fn(a.investment_objective, TextField{3, 87, 4});
    fn(a.notes[0], TextField{4, 0, 60});
    fn(a.notes[1], TextField{4, 60, 60});
    fn(a.notes[2], TextField{5, 0, 60});
    fn(a.notes[3], TextField{5, 60, 60});
    for (int i = 0; i < 2; ++i) {
        const std::size_t base = i * kSecondIndex;
        fn(a.index_symbol[i], TextField{7, base, 9});
        for (int h = 0; h < 3; ++h) fn(a.column_headers[i][h], TextField{7, base + kHeaderOffsets[h], 6});
    }
}

constexpr std::size_t kAccountIdWidth = 6;

std::vector<unsigned char> Concat(const std::vector<Record>& recs) {
    std::vector<unsigned char> bytes;
    bytes.reserve(recs.size() * kLength);
    for (const Record& r : recs) bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    return bytes;
}

bool ReadRecords(const DirectFile& file, long first, AccountRecordSet& recs) {
    for (int r = 0; r < kRecordsPerAccount; ++r)
        if (!file.Read(first + r, recs[r])) return false;
    return true;
}

}  // namespace

void DecodeAccountRecords(const AccountRecordSet& recs, CAccountEntry& a) {
    ForEachText(a, [&](std::string& field, const TextField& f) {
        field = TrimRight(recs[f.record].Text(f.offset, f.width));
    });
    for (std::size_t i = 0; i < kCombined.size(); ++i) {
        const CombinedPlace& p = kCombined[i];
        const Record& r = recs[p.record];
        a.combined[i] = TrimRight(p.tail ? r.Text(p.head, 4) + r.Text(p.tail, 2) : r.Text(p.head, 6));
    }
    const Record& r3 = recs[2];
    const Record& r4 = recs[3];
    a.fiscal_year_end_month = r3.I16(80);
    a.index1_price = r4.R4(0);
    a.index2_price = r4.R4(4);
    a.opening_value = r4.R8(8);
    std::memcpy(a.performance_start.data(), r4.data() + kPerformanceStart, a.performance_start.size());
    a.setup_charge = r4.R4(37);
    a.billing_frequency = r4.I16(41);
    a.invoice_letter_type = r4.I16(43);
    a.management_fee_option = r4.I16(45);
    std::memcpy(a.fiscal_ytd_return.data(), r4.data() + kFiscalYtdReturn, a.fiscal_ytd_return.size());
}

AccountRecordSet EncodeAccountRecords(const CAccountEntry& a) {
    AccountRecordSet recs;
    for (Record& r : recs) r = Record(kLength, ' ');
    ForEachText(a, [&](const std::string& field, const TextField& f) {
        recs[f.record].SetText(f.offset, f.width, field);
    });
    for (std::size_t i = 0; i < kCombined.size(); ++i) {
        const CombinedPlace& p = kCombined[i];
        Record& r = recs[p.record];
        const std::string text = Fixed(a.combined[i], 6);
        if (p.tail) {
            r.SetText(p.head, 4, text.substr(0, 4));
            r.SetText(p.tail, 2, text.substr(4, 2));
        } else {
            r.SetText(p.head, 6, text);
        }
    }
    Record& r3 = recs[2];
    Record& r4 = recs[3];
    r3.SetI16(80, a.fiscal_year_end_month);
    r4.SetR4(0, a.index1_price);
    r4.SetR4(4, a.index2_price);
    r4.SetR8(8, a.opening_value);
    std::memcpy(r4.data() + kPerformanceStart, a.performance_start.data(), a.performance_start.size());
    r4.SetR4(37, a.setup_charge);
    r4.SetI16(41, a.billing_frequency);
    r4.SetI16(43, a.invoice_letter_type);
    r4.SetI16(45, a.management_fee_option);
    std::memcpy(r4.data() + kFiscalYtdReturn, a.fiscal_ytd_return.data(), a.fiscal_ytd_return.size());
    return recs;
}

AccountFileContents LoadAccountFile() {
    AccountFileContents contents;
    const DirectFile index(kAccountIndex, kLength, false);
    const DirectFile data(kAccountRecords, kLength, false);
    Record head;
    if (!index.Read(1, head)) return contents;
    const int count = head.I16(0);
    contents.flag = head.data()[2];
    Record keys;
    long first = 1;
    for (int k = 1; k <= count; ++k, first += kRecordsPerAccount) {
        const int place = (k - 1) % kAccountKeysPerRecord;
        // The count may promise more keys than the index holds: the list
        // ends with the last key that reads.
        if (place == 0 && !index.Read(2 + (k - 1) / kAccountKeysPerRecord, keys)) break;
        const std::string key = keys.Text(place * kAccountKeyWidth, kAccountKeyWidth);
        const IndexKey checked = CheckIndexKey(key, kAccountIdWidth);
        if (checked.kind == IndexKey::kDeleted || checked.kind == IndexKey::kBlank) continue;
        // A key the dialogs would write back changed (a leading blank, or
        // more than six characters): the whole index is refused, so that
        // it is never rewritten with the key cut.
        if (checked.kind == IndexKey::kDamaged) {
            AccountFileContents refused;
            refused.flag = contents.flag;
            refused.refused = DamagedIndexKeyMessage(kAccountIndex, key);
            return refused;
        }
        auto account = std::make_unique<CAccountEntry>();
        // Not through the constructor, which looks at the program date.
        account->identifier = checked.identifier;
        AccountRecordSet recs;
        if (ReadRecords(data, first, recs)) {
            DecodeAccountRecords(recs, *account);
        } else {
            AccountRecordSet blank;
            for (Record& r : blank) r = Record(kLength, ' ');
            DecodeAccountRecords(blank, *account);
            // Blank records hold blanks where numbers lie: the fields read
            // as blank text and zero numbers.
            account->fiscal_year_end_month = 0;
            account->index1_price = account->index2_price = account->setup_charge = 0;
            account->opening_value = 0;
            account->billing_frequency = account->invoice_letter_type = account->management_fee_option = 0;
            account->performance_start.fill(0);
            account->fiscal_ytd_return.fill(0);
            contents.unreadable.push_back(account->identifier);
        }
        contents.accounts.push_back(std::move(account));
    }
    return contents;
}

bool ReadAccountEntry(int entry, CAccountEntry& account) {
    if (entry < 1) return false;
    const DirectFile data(kAccountRecords, kLength, false);
    AccountRecordSet recs;
    if (!ReadRecords(data, AccountBaseRecord(entry), recs)) return false;
    DecodeAccountRecords(recs, account);
    return true;
}

bool ReadAccountRecordSet(int entry, AccountRecordSet& records) {
    if (entry < 1) return false;
    const DirectFile data(kAccountRecords, kLength, false);
    return ReadRecords(data, AccountBaseRecord(entry), records);
}

std::array<unsigned char, kTargetAllocationCount> TargetAllocationBytes(const AccountRecordSet& records) {
    std::array<unsigned char, kTargetAllocationCount> bytes{};
    const Record& r7 = records[6];
    for (std::size_t i = 0; i < kTargetAllocationCount && kTargetAllocationOffset + i < r7.size(); ++i)
        bytes[i] = r7.data()[kTargetAllocationOffset + i];
    return bytes;
}

std::string SaveAccountFile(const std::vector<std::unique_ptr<CAccountEntry>>& accounts, unsigned char flag) {
    std::vector<Record> index;
    std::vector<Record> data;
    data.reserve(accounts.size() * kRecordsPerAccount);
    Record head(kLength, 0);
    head.SetI16(0, static_cast<int16_t>(accounts.size()));
    head.data()[2] = flag;
    index.push_back(head);
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        const std::size_t place = i % kAccountKeysPerRecord;
        if (place == 0) index.emplace_back(kLength, ' ');
        index.back().SetText(place * kAccountKeyWidth, kAccountKeyWidth, accounts[i]->identifier);
        for (Record& r : EncodeAccountRecords(*accounts[i])) data.push_back(std::move(r));
    }
    return ReplaceFiles({{kAccountIndex, Concat(index)}, {kAccountRecords, Concat(data)}});
}

}  // namespace records
