#include "records/broker_files.h"

#include <algorithm>

#include "records/files.h"
#include "records/record.h"
#include "records/record_services.h"

namespace records {

namespace {

constexpr std::size_t kRecordLength = 128;

// Status words are 2-byte integers: the record number is folded in
// modulo 65,536.
int16_t Word(long value) {
    return static_cast<int16_t>(static_cast<uint16_t>(value & 0xffff));
}

int16_t OpenPair(std::string_view index_name, std::string_view record_name, int16_t& count) {
    count = 0;
    OpenDirect(kBrokerIndexUnit, index_name, kRecordLength);
    OpenDirect(kBrokerRecordUnit, record_name, kRecordLength);
    if (!IsOpen(kBrokerIndexUnit) || !IsOpen(kBrokerRecordUnit)) return 2;
    Record first;
    if (!ReadRecord(kBrokerIndexUnit, 1, first)) return 2;
    count = first.I16(0);
    return 1;
}

}  // namespace

int16_t Opnbrk(int16_t& count) {
    return OpenPair("BROKER.IDX", "BROKER.REC", count);
}

int16_t Opncus(int16_t& count) {
    return OpenPair("CUSTDN.IDX", "CUSTDN.REC", count);
}

void Clsbrk() {
    Close(kBrokerIndexUnit);
    Close(kBrokerRecordUnit);
}

int16_t Rdbidx(int n, int rec, std::vector<std::string>& keys) {
    const long status = (static_cast<long>(rec) * 10 + n) * 10;
    Record r;
    if (!ReadRecord(kBrokerIndexUnit, rec, r) || r.size() < kRecordLength) return Word(status + 2);
    const int wanted = std::clamp(n, 0, kBrokerKeysPerRecord);
    keys.resize(static_cast<std::size_t>(wanted));
    for (int i = 0; i < wanted; ++i)
        keys[static_cast<std::size_t>(i)] =
            r.Text(static_cast<std::size_t>(i) * kBrokerKeyLength, kBrokerKeyLength);
    return Word(status + 1);
}

int16_t Wrbidx(int rec, const std::vector<std::string>& keys) {
    Record r(kRecordLength, ' ');
    for (std::size_t i = 0; i < keys.size() && i < static_cast<std::size_t>(kBrokerKeysPerRecord); ++i)
        r.SetText(i * kBrokerKeyLength, kBrokerKeyLength, keys[i]);
    WriteRecord(kBrokerIndexUnit, rec, r);
    return Word(static_cast<long>(rec) * 1000 + 1);
}

int16_t Wrbcnt(int16_t count) {
    Record r(2);
    r.SetI16(0, count);
    const std::string_view bytes(reinterpret_cast<const char*>(r.data()), 2);
    return WriteLeading(kBrokerIndexUnit, 1, bytes) ? 1 : 2;
}

int16_t Rdbrec(int rec, std::string& part1, std::string& part2, std::string& part3) {
    const long base = static_cast<long>(rec) * 100;
    if (!ReadLeading(kBrokerRecordUnit, rec, kBrokerPart1Length, part1)) return Word(base + 2);
    if (!ReadLeading(kBrokerRecordUnit, static_cast<long>(rec) + 1, kBrokerPart2Length, part2))
        return Word(base + 3);
    if (!ReadLeading(kBrokerRecordUnit, static_cast<long>(rec) + 2, kBrokerPart3Length, part3))
        return Word(base + 4);
    return Word(base + 1);
}

int16_t Wrbrec(int rec, std::string_view part1, std::string_view part2, std::string_view part3) {
    long status = 1;
    if (!WriteLeading(kBrokerRecordUnit, rec, Fixed(part1, kBrokerPart1Length))) status += 2;
    if (!WriteLeading(kBrokerRecordUnit, static_cast<long>(rec) + 1, Fixed(part2, kBrokerPart2Length)))
        status += 4;
    if (!WriteLeading(kBrokerRecordUnit, static_cast<long>(rec) + 2, Fixed(part3, kBrokerPart3Length)))
        status += 8;
    return Word(status + (static_cast<long>(rec) + 2) * 1000);
}

}  // namespace records
