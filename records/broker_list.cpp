#include "records/broker_list.h"

#include <algorithm>

#include "records/broker_files.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"

namespace records {
namespace {

constexpr std::size_t kLength = 128;

struct Names {
    const char* index;
    const char* records;
};
Names FileNames(BrokerListKind kind) {
    return kind == BrokerListKind::Brokers ? Names{kBrokerIndexFile, kBrokerRecordFile}
                                           : Names{kCustodianIndexFile, kCustodianRecordFile};
}

void Decode(const std::string& p1, const std::string& p2, const std::string& p3, CBrokerRecord& b) {
    for (int i = 0; i < 4; ++i) b.address[i] = TrimRight(p1.substr(32 * i, 32));
    b.address[4] = TrimRight(p2.substr(0, 32));
    b.attention = TrimRight(p2.substr(32, 32));
    b.short_name = TrimRight(p2.substr(64, 12));
    b.phone = TrimRight(p2.substr(76, 12));
    b.firm_short_name = TrimRight(p2.substr(88, 8));
    b.firm_long_name = TrimRight(p3.substr(0, 60));
}

}  // namespace

std::vector<std::unique_ptr<CBrokerRecord>> LoadBrokerList(BrokerListKind kind) {
    std::vector<std::unique_ptr<CBrokerRecord>> list;
    int16_t count = 0;
    const int16_t status = kind == BrokerListKind::Brokers ? Opnbrk(count) : Opncus(count);
    if (status == 1) {
        int rec = 1;
        for (int done = 0, index_record = 2; done < count; ++index_record) {
            const int n = std::min(kBrokerKeysPerRecord, count - done);
            std::vector<std::string> keys;
            // A count beyond the index: the list ends with the keys that read.
            // (Its status word wraps for large record numbers: the keys tell.)
            Rdbidx(n, index_record, keys);
            if (keys.size() != static_cast<std::size_t>(n)) break;
            for (const std::string& key : keys) {
                const std::string id = TrimRight(key);
                // A blank key (the padding of the last index record, reached
                // when the count promises more entries than there are) names
                // no entry.
                if (!IsDeletedKey(key) && !id.empty()) {
                    auto entry = std::make_unique<CBrokerRecord>();
                    entry->identifier = id;
                    std::string p1(kBrokerPart1Length, ' '), p2(kBrokerPart2Length, ' '),
                        p3(kBrokerPart3Length, ' ');
                    Rdbrec(rec, p1, p2, p3);
                    Decode(p1, p2, p3, *entry);
                    list.push_back(std::move(entry));
                }
                rec += 3;
            }
            done += n;
        }
    }
    Clsbrk();
    return list;
}

std::string SaveBrokerList(BrokerListKind kind, const std::vector<std::unique_ptr<CBrokerRecord>>& list) {
    const Names names = FileNames(kind);
    Record head(kLength, 0);
    {
        const DirectFile old(names.index, kLength, false);
        Record kept;
        if (old.Read(1, kept)) head = kept;
    }
    head.SetI16(0, static_cast<int16_t>(list.size()));
    std::vector<unsigned char> index(head.bytes());
    std::vector<unsigned char> data;
    Record keys(kLength, ' ');
    for (std::size_t i = 0; i < list.size(); ++i) {
        const CBrokerRecord& b = *list[i];
        const std::size_t place = i % kBrokerKeysPerRecord;
        keys.SetText(place * kBrokerKeyLength, kBrokerKeyLength, b.identifier);
        if (place + 1 == static_cast<std::size_t>(kBrokerKeysPerRecord) || i + 1 == list.size()) {
            index.insert(index.end(), keys.bytes().begin(), keys.bytes().end());
            keys = Record(kLength, ' ');
        }
        Record r1(kLength, 0), r2(kLength, 0), r3(kLength, 0);
        for (int a = 0; a < 4; ++a) r1.SetText(32 * a, 32, b.address[a]);
        r2.SetText(0, 32, b.address[4]);
        r2.SetText(32, 32, b.attention);
        r2.SetText(64, 12, b.short_name);
        r2.SetText(76, 12, b.phone);
        r2.SetText(88, 8, b.firm_short_name);
        r2.SetText(96, 4, "");
        r3.SetText(0, 60, b.firm_long_name);
        for (const Record* r : {&r1, &r2, &r3}) data.insert(data.end(), r->bytes().begin(), r->bytes().end());
    }
    return ReplaceFiles({{names.index, index}, {names.records, data}});
}

}  // namespace records
