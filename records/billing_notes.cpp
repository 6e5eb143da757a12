// The billing notes of COMMON.FIL records 72 to 74.

#include "records/billing_notes.h"

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"

namespace records {
namespace {

constexpr std::size_t kRecordLength = 128;
constexpr std::size_t kLinesPerRecord = 2;

bool AllBelowBlank(const std::string& line, std::size_t at) {
    for (std::size_t i = at; i < at + 4; ++i)
        if (static_cast<unsigned char>(line[i]) >= ' ') return false;
    return true;
}

}  // namespace

BillingNotes Rbnote() {
    BillingNotes lines;
    lines.fill(std::string(kBillingNoteWidth, ' '));
    const DirectFile common(kCommonFile, kRecordLength, false);
    Record rec;
    for (std::size_t r = 0; r < kBillingNoteLines / kLinesPerRecord; ++r) {
        if (!common.Read(kBillingNotesRecord + static_cast<long>(r), rec)) break;
        for (std::size_t i = 0; i < kLinesPerRecord; ++i)
            lines[r * kLinesPerRecord + i] = rec.Text(i * kBillingNoteWidth, kBillingNoteWidth);
    }
    for (std::string& line : lines)
        for (std::size_t at = 0; at + 4 <= line.size(); at += 4)
            if (AllBelowBlank(line, at)) line.replace(at, 4, "    ");
    return lines;
}

void Wbnote(const BillingNotes& lines) {
    DirectFile common(kCommonFile, kRecordLength);
    for (std::size_t r = 0; r < kBillingNoteLines / kLinesPerRecord; ++r) {
        Record rec(kRecordLength, ' ');
        for (std::size_t i = 0; i < kLinesPerRecord; ++i)
            rec.SetText(i * kBillingNoteWidth, kBillingNoteWidth, lines[r * kLinesPerRecord + i]);
        common.Write(kBillingNotesRecord + static_cast<long>(r), rec);
    }
}

}  // namespace records
