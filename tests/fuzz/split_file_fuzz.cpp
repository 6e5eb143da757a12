// A year's split file of arbitrary bytes with SECURITY.IDX: the splits of a
// security read, one added and written back, and read again. A file that
// Rdsplt refuses as damaged is refused by Wrsplt too and stays as it was;
// a split Wrsplt writes is one Rdsplt reads back, and the last record in
// use stays within the file's records.

#include <string>

#include "records/files.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/stock_splits.h"
#include "records/store_counter.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 3);
    fuzz::FreshDataDir();
    const std::string name = records::SplitFileName(1998);
    fuzz::WriteFile(name, parts[0]);
    fuzz::WriteFile("SECURITY.IDX", parts[1]);
    const std::string symbol = records::Fixed(parts[2].substr(0, 12), 12);

    std::string message;
    records::SplitList list;
    records::Rdsplt(symbol, 1998, message, list);
    fuzz::Require(list.count >= 0 && list.count <= records::kMaxSplits);
    const std::string before = fuzz::ReadFile(name);
    if (list.count >= records::kMaxSplits) list.count = records::kMaxSplits - 1;
    records::SplitEntry& added = list.splits[static_cast<std::size_t>(list.count)];
    added = records::SplitEntry{2.0f, 3, 15, 98, 4, 1, 98, 2};
    ++list.count;
    const int16_t count = list.count;
    const std::string refused = records::Wrsplt(symbol, 1998, list);
    if (!refused.empty()) {
        fuzz::Require(fuzz::ReadFile(name) == before);
        return 0;
    }
    // Written: record 1 names a record within the file, and the security's
    // splits read back with the one added.
    {
        const records::DirectFile file(name, records::kSplitRecordLength, false);
        records::Record rec;
        fuzz::Require(file.Read(1, rec));
        const long last = records::SplitFileHeader::Decode(rec).last_record;
        fuzz::Require(last >= 1 && last <= file.Count() && last <= records::kMaxStoreRecord);
    }
    if (!message.empty()) return 0;  // not a security of SECURITY.IDX
    records::SplitList back;
    std::string again;
    records::Rdsplt(symbol, 1998, again, back);
    fuzz::Require(again.empty() && back.count == count);
    fuzz::Require(back.splits[static_cast<std::size_t>(count - 1)].ratio == 2.0f);
    return 0;
}
