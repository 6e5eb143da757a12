#include "records/performance_control.h"

#include <algorithm>
#include <cstring>

#include "records/files.h"

namespace records {

namespace {

// A record as read may be shorter than 256 bytes (a file cut short): it is
// read as if zero-filled.
bool ValidSlot(int slot) {
    return slot >= 1 && slot <= kPerformanceSlotCount;
}

}  // namespace

PerformanceHeader PerformanceHeader::Decode(const Record& rec) {
    const Record r = rec.Widened(kPerformanceRecordLength);
    PerformanceHeader h;
    h.slot = r.I16(0);
    for (int k = 0; k < kPerformanceSlotCount; ++k) h.slot_flags[k] = r.I16(2 + 2 * k);
    h.remaining = r.I16(202);
    h.written = r.I16(204);
    h.manager = r.Text(206, 4);
    h.frequency = r.Text(210, 4);
    h.output_mode = r.I16(214);
    h.start_date = r.Text(216, 8);
    return h;
}

Record PerformanceHeader::Encode() const {
    Record r(kPerformanceRecordLength, 0);
    r.SetI16(0, slot);
    for (int k = 0; k < kPerformanceSlotCount; ++k) r.SetI16(2 + 2 * k, slot_flags[k]);
    r.SetI16(202, remaining);
    r.SetI16(204, written);
    r.SetText(206, 4, manager);
    r.SetText(210, 4, frequency);
    r.SetI16(214, output_mode);
    r.SetText(216, 8, start_date);
    return r;
}

PerformanceAccount PerformanceAccount::Decode(const Record& rec) {
    const Record r = rec.Widened(kPerformanceRecordLength);
    PerformanceAccount a;
    a.account = r.Text(0, 8);
    a.last_month = r.I16(8);
    a.last_year = r.I16(10);
    a.index_position = r.I16(12);
    a.index_count = r.I16(14);
    a.end_date = r.Text(16, 8);
    a.end_date_copy = r.Text(24, 8);
    a.end_date_number = r.R4(32);
    a.title = r.Text(36, 32);
    a.manager = r.Text(68, 4);
    a.opening_date = r.Text(72, 8);
    a.initial_value = r.R8(80);
    a.index1_base = r.R4(88);
    a.index2_base = r.R4(92);
    a.carry_month = r.I16(96);
    a.carry_year = r.I16(98);
    a.carried_gain = r.R8(100);
    a.carried_return = r.R4(108);
    a.figure_b = r.R4(112);
    a.status = r.I16(116);
    a.selection = r.Text(118, 4);
    a.figure_c = r.R4(122);
    a.end_day = r.I16(126);
    a.end_month = r.I16(128);
    a.history = r.I16(130);
    a.fiscal_month = r.I16(132);
    a.choice = r.I16(134);
    return a;
}

Record PerformanceAccount::Encode() const {
    Record r(kPerformanceRecordLength, 0);
    r.SetText(0, 8, account);
    r.SetI16(8, last_month);
    r.SetI16(10, last_year);
    r.SetI16(12, index_position);
    r.SetI16(14, index_count);
    r.SetText(16, 8, end_date);
    r.SetText(24, 8, end_date_copy);
    r.SetR4(32, end_date_number);
    r.SetText(36, 32, title);
    r.SetText(68, 4, manager);
    r.SetText(72, 8, opening_date);
    r.SetR8(80, initial_value);
    r.SetR4(88, index1_base);
    r.SetR4(92, index2_base);
    r.SetI16(96, carry_month);
    r.SetI16(98, carry_year);
    r.SetR8(100, carried_gain);
    r.SetR4(108, carried_return);
    r.SetR4(112, figure_b);
    r.SetI16(116, status);
    r.SetText(118, 4, selection);
    r.SetR4(122, figure_c);
    r.SetI16(126, end_day);
    r.SetI16(128, end_month);
    r.SetI16(130, history);
    r.SetI16(132, fiscal_month);
    r.SetI16(134, choice);
    return r;
}

bool ReadPerformanceHeader(PerformanceHeader& header) {
    const DirectFile file(kPerformanceControlFile, kPerformanceRecordLength, false);
    Record rec;
    if (!file.ok() || !file.Read(kPerformanceHeaderRecord, rec)) return false;
    header = PerformanceHeader::Decode(rec);
    return true;
}

bool ReadPerformanceAccount(int slot, PerformanceAccount& account) {
    if (!ValidSlot(slot)) return false;
    const DirectFile file(kPerformanceControlFile, kPerformanceRecordLength, false);
    Record rec;
    if (!file.ok() || !file.Read(kPerformanceHeaderRecord + slot, rec)) return false;
    account = PerformanceAccount::Decode(rec);
    return true;
}

bool WritePerformanceHeader(const PerformanceHeader& header) {
    DirectFile file(kPerformanceControlFile, kPerformanceRecordLength);
    return file.ok() && file.Write(kPerformanceHeaderRecord, header.Encode());
}

bool WritePerformanceAccount(int slot, const PerformanceAccount& account) {
    if (!ValidSlot(slot)) return false;
    DirectFile file(kPerformanceControlFile, kPerformanceRecordLength);
    return file.ok() && file.Write(kPerformanceHeaderRecord + slot, account.Encode());
}

bool WritePerformanceFinished() {
    PerformanceHeader header;
    if (!ReadPerformanceHeader(header)) header = PerformanceHeader{};
    header.slot = kPerformanceFinished;
    return WritePerformanceHeader(header);
}

}  // namespace records
