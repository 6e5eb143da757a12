// The transaction-code maps of the download sources (COMMON.FIL records
// 111-121).

#include "records/tran_code_maps.h"

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"

namespace records {

int TranCodeMapRecordNumber(int source_index) {
    return source_index == 12 ? 121 : 110 + source_index;
}

TranCodeMapRecord ReadTranCodeMap(int source_index) {
    TranCodeMapRecord map;
    DirectFile common(kCommonFile, 128, /*create=*/false);
    Record rec;
    const bool held =
        common.Read(TranCodeMapRecordNumber(source_index), rec) && rec.Text(124, 4) == kTranCodeMapMarker;
    for (int s = 0; s < kTranCodeSlots; ++s)
        map.codes[static_cast<std::size_t>(s)] = held ? rec.Text(static_cast<std::size_t>(s) * 4, 4) : "    ";
    return map;
}

bool WriteTranCodeMap(int source_index, const TranCodeMapRecord& map) {
    Record rec(128, ' ');
    for (int s = 0; s < kTranCodeSlots; ++s)
        rec.SetText(static_cast<std::size_t>(s) * 4, 4, map.codes[static_cast<std::size_t>(s)]);
    rec.SetText(124, 4, kTranCodeMapMarker);
    DirectFile common(kCommonFile, 128);
    return common.Write(TranCodeMapRecordNumber(source_index), rec);
}

}  // namespace records
