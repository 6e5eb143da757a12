// BILTABLE.DAT, the fee schedules.

#include "records/fee_table.h"

#include "records/files.h"
#include "records/record.h"

namespace records {
namespace {

constexpr std::size_t kRecordLength = 128;
constexpr std::size_t kTypeOffset = 0;
constexpr std::size_t kReservedOffset = 2;
constexpr std::size_t kFirstStepOffset = 10;
constexpr std::size_t kStepSize = 16;

std::size_t BreakPointOffset(int k) {
    return kFirstStepOffset + kStepSize * static_cast<std::size_t>(k);
}

}  // namespace

FeeTable Inptab() {
    FeeTable table;
    const DirectFile file(kFeeTableFile, kRecordLength, false);
    Record rec;
    for (int code = 0; code < kFeeCodes; ++code) {
        if (!file.Read(code + 1, rec)) break;
        table.types[code] = rec.I16(kTypeOffset);
        for (int k = 0; k < kFeeSteps; ++k) {
            table.break_points[code][k] = rec.R8(BreakPointOffset(k));
            table.percentages[code][k] = rec.R8(BreakPointOffset(k) + 8);
        }
    }
    return table;
}

void Wrttab(const FeeTable& table) {
    DirectFile file(kFeeTableFile, kRecordLength);
    for (int code = 0; code < kFeeCodes; ++code) {
        Record rec(kRecordLength, 0);
        rec.SetI16(kTypeOffset, table.types[code]);
        rec.SetR8(kReservedOffset, 0.0);
        for (int k = 0; k < kFeeSteps; ++k) {
            rec.SetR8(BreakPointOffset(k), table.break_points[code][k]);
            rec.SetR8(BreakPointOffset(k) + 8, table.percentages[code][k]);
        }
        file.Write(code + 1, rec);
    }
}

}  // namespace records
