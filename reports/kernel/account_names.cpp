#include "reports/kernel/account_names.h"

#include "records/account_file.h"
#include "records/account_lists.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"

namespace reports {

AccountPlace Gtacnm(std::string_view account_id) {
    AccountPlace place;
    const std::string wanted = records::Fixed(account_id, records::kAccountKeyWidth);
    records::DirectFile index(records::kAccountIndex, 128, /*create=*/false);
    records::Record rec;
    if (!index.Read(1, rec)) return place;
    const int count = rec.I16(0);
    for (int first = 1; first <= count; first += records::kAccountKeysPerRecord) {
        const long record = 2 + (first - 1) / records::kAccountKeysPerRecord;
        if (!index.Read(record, rec)) return place;
        for (int slot = 0; slot < records::kAccountKeysPerRecord && first + slot <= count; ++slot) {
            if (rec.Text(static_cast<std::size_t>(slot) * records::kAccountKeyWidth,
                         records::kAccountKeyWidth) != wanted)
                continue;
            place.position = static_cast<int16_t>(slot + 1);
            place.index_record = static_cast<int16_t>(record);
            // The short name through the account file codec: the account's
            // second record decoded on its own.
            records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
            records::AccountRecordSet set;
            for (records::Record& r : set) r = records::Record(128, ' ');
            if (accounts.Read(place.first_record() + 1, set[1])) {
                records::CAccountEntry account;
                records::DecodeAccountRecords(set, account);
                place.short_name = records::Fixed(account.short_name, 32);
            }
            return place;
        }
    }
    return place;
}

}  // namespace reports
