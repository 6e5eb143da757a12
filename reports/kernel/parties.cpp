#include "reports/kernel/parties.h"

#include "records/files.h"
#include "records/index.h"

namespace reports {

namespace {

constexpr std::size_t kPartyRecordLength = 128;
constexpr int kIdsPerRecord = 16;
constexpr std::size_t kIdWidth = 8;

long FindParty(Party party, std::string_view id) {
    const std::string wanted = records::Fixed(id, kIdWidth);
    if (wanted.compare(0, 4, "    ") == 0 || records::IsDeletedKey(wanted)) return -1;
    for (const PartyIndexEntry& e : ReadPartyIndex(party).entries)
        if (e.id == wanted) return PartyFirstRecord(e.entry);
    return -1;
}

}  // namespace

const char* PartyIndexFile(Party party) {
    return party == Party::kBroker ? "BROKER.IDX" : "CUSTDN.IDX";
}

const char* PartyRecordFile(Party party) {
    return party == Party::kBroker ? "BROKER.REC" : "CUSTDN.REC";
}

PartyIndex ReadPartyIndex(Party party) {
    PartyIndex index;
    records::DirectFile file(PartyIndexFile(party), kPartyRecordLength, /*create=*/false);
    records::Record rec;
    if (!file.Read(1, rec)) return index;
    index.count_read = true;
    const int count = rec.I16(0);
    for (int first = 1; first <= count; first += kIdsPerRecord) {
        const long record = 2 + (first - 1) / kIdsPerRecord;
        if (!file.Read(record, rec)) {
            index.failed_record = record;
            break;
        }
        for (int slot = 0; slot < kIdsPerRecord && first + slot <= count; ++slot)
            index.entries.push_back(
                {rec.Text(static_cast<std::size_t>(slot) * kIdWidth, kIdWidth), first + slot});
    }
    return index;
}

bool IsUnusedPartyId(std::string_view id) {
    const std::string head = records::Fixed(id, 4);
    if (records::IsDeletedKey(head)) return true;
    // The word read as a little-endian 32-bit integer against four blanks.
    uint32_t word = 0;
    for (int i = 3; i >= 0; --i)
        word = (word << 8) | static_cast<unsigned char>(head[static_cast<std::size_t>(i)]);
    return static_cast<int32_t>(word) <= 0x20202020;
}

long Fndbrk(std::string_view id) {
    return FindParty(Party::kBroker, id);
}

long Fndcus(std::string_view id) {
    return FindParty(Party::kCustodian, id);
}

PartyEntry::PartyEntry() : attention(32, ' '), executive(12, ' '), telephone(12, ' ') {
    lines.fill(std::string(32, ' '));
}

bool ReadPartyRecord(Party party, long record, records::Record& rec) {
    records::DirectFile file(PartyRecordFile(party), kPartyRecordLength, /*create=*/false);
    return file.Read(record, rec);
}

int ReadPartyEntry(Party party, long first_record, PartyEntry& entry) {
    entry = PartyEntry();
    records::DirectFile file(PartyRecordFile(party), kPartyRecordLength, /*create=*/false);
    records::Record rec;
    if (!file.Read(first_record, rec)) return 0;
    for (std::size_t i = 0; i < 4; ++i) entry.lines[i] = rec.Text(32 * i, 32);
    if (!file.Read(first_record + 1, rec)) return 1;
    entry.lines[4] = rec.Text(0, 32);
    entry.attention = rec.Text(32, 32);
    entry.executive = rec.Text(64, 12);
    entry.telephone = rec.Text(76, 12);
    return 2;
}

}  // namespace reports
