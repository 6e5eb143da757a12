// The manager code table read and written whole.

#include "records/manager_table.h"

#include "records/files.h"
#include "records/record.h"

namespace records {
namespace {

constexpr std::size_t kRecordLength = 128;

// A record of the table: its number, the offset of its first slot and the
// number of slots it holds.
struct TablePart {
    int number;
    std::size_t offset;
    int slot_count;
};
constexpr std::array<TablePart, 4> kTableParts = {{{kManagerCodes1Record, 16, 10},
                                                   {kManagerCodes2Record, 0, 32},
                                                   {kManagerCodes3Record, 0, 32},
                                                   {kManagerCodes4Record, 0, 26}}};

}  // namespace

ManagerSlots ReadManagerTable() {
    ManagerSlots table;
    table.fill(std::string(kManagerCodeLength, '\0'));
    const DirectFile common(kCommonFile, kRecordLength, false);
    Record rec;
    std::size_t slot = 0;
    for (const TablePart& part : kTableParts) {
        const bool read = common.Read(part.number, rec);
        for (int k = 0; k < part.slot_count; ++k, ++slot)
            if (read) table[slot] = rec.Text(part.offset + kManagerCodeLength * k, kManagerCodeLength);
    }
    return table;
}

void WriteManagerTable(const ManagerSlots& table) {
    DirectFile common(kCommonFile, kRecordLength);
    std::size_t slot = 0;
    for (const TablePart& part : kTableParts) {
        Record rec;
        if (!common.Read(part.number, rec)) rec = Record(kRecordLength, 0);
        for (int k = 0; k < part.slot_count; ++k, ++slot)
            rec.SetText(part.offset + kManagerCodeLength * k, kManagerCodeLength, table[slot]);
        common.Write(part.number, rec);
    }
}

}  // namespace records
