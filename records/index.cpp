#include "records/index.h"

#include <algorithm>

#include "records/files.h"
#include "records/record.h"

namespace records {

namespace {

constexpr std::string_view kDeletedWord = "$$$$";

}  // namespace

bool IsDeletedKey(std::string_view key) {
    return key.substr(0, 4) == kDeletedWord;
}

int IndexCount(int unit) {
    Record rec;
    if (!ReadRecord(unit, 1, rec)) return 0;
    return std::max<int>(rec.I16(0), 0);
}

bool ReadIndexKey(int unit, int n, std::size_t width, int keys_per_record, std::string& key) {
    if (n < 1) return false;
    Record rec;
    if (!ReadRecord(unit, 2 + (n - 1) / keys_per_record, rec)) return false;
    key = rec.Text(static_cast<std::size_t>((n - 1) % keys_per_record) * width, width);
    return true;
}

int ScanIndex(int unit, std::string_view key, std::size_t width, int keys_per_record, bool skip_deleted) {
    const int n = IndexCount(unit);
    if (n == 0) return 0;
    const std::string given = Fixed(key, width);
    Record rec;
    for (int first = 1, r = 2; first <= n; first += keys_per_record, ++r) {
        if (!ReadRecord(unit, r, rec)) return 0;
        const int last = std::min(first + keys_per_record - 1, n);
        for (int e = first; e <= last; ++e) {
            const std::string k = rec.Text(static_cast<std::size_t>(e - first) * width, width);
            if (skip_deleted && IsDeletedKey(k)) continue;
            if (k == given) return e;
        }
    }
    return 0;
}

namespace {

// Opens the index on unit, scans it and closes it.
int ScanFile(int unit, const char* name, std::string_view key, std::size_t width, int per_record) {
    Open(unit, name);
    UnitGuard guard(unit);
    return ScanIndex(unit, key, width, per_record, false);
}

}  // namespace

int Ckcltt(std::string_view account) {
    return ScanFile(6, kAccountIndex, account, kAccountKeyWidth, kAccountKeysPerRecord);
}

int Ccksym(std::string_view symbol) {
    return ScanFile(17, kSecurityIndex, symbol, kSecurityKeyWidth, kSecurityKeysPerRecord);
}

int Fndsym(std::string_view symbol) {
    return ScanFile(10, kSecurityIndex, symbol, kSecurityKeyWidth, kSecurityKeysPerRecord);
}

int Newsym(std::string_view symbol) {
    return ScanIndex(7, symbol, kSecurityKeyWidth, kSecurityKeysPerRecord, true);
}

long Gtacct(std::string_view account) {
    const std::string id = Fixed(account, kAccountKeyWidth);
    // A blank or deleted identifier never names an account, even when the
    // index holds such a key.
    if (id.compare(0, 4, "    ") == 0 || IsDeletedKey(id)) return -1;
    const int entry = ScanFile(10, kAccountIndex, id, kAccountKeyWidth, kAccountKeysPerRecord);
    return entry > 0 ? AccountBaseRecord(entry) : -1;
}

int Getadr(std::string& entry, int n) {
    std::string key;
    if (!ReadIndexKey(7, n, kSecurityKeyWidth, kSecurityKeysPerRecord, key)) return 1;
    entry = key;
    return 0;
}

int Bkrck2(std::string_view broker) {
    constexpr int kUnit = 6;
    Open(kUnit, kBrokerSortFile);
    UnitGuard guard(kUnit);
    Record rec;
    if (!ReadRecord(kUnit, 1, rec)) return 0;
    const int last = rec.I16(0);
    const std::string given = Fixed(broker, 8);
    // A record that cannot be read ends the search as "not found": its
    // number would name a broker record that does not exist.
    for (int r = 2; r <= last; ++r) {
        if (!ReadRecord(kUnit, r, rec)) return 0;
        if (rec.Text(0, 8) == given) return r;
    }
    return 0;
}

}  // namespace records
