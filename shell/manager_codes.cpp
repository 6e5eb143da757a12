// The manager code table: the manager code boxes of the report dialogs and
// the registration of an account's manager code.

#include "shell/manager_codes.h"

#include <array>

#include "platform/message_box.h"
#include "records/common_file.h"
#include "records/record_services.h"
#include "shell/field_helpers.h"

namespace shell {
namespace {

// Where the slots of the table lie: record, offset of its first slot, and
// the number of slots it holds.
struct TablePart {
    int number;
    std::size_t offset;
    int slot_count;
};
constexpr std::array<TablePart, 4> kTableParts = {{{records::kManagerCodes1Record, 16, 10},
                                                   {records::kManagerCodes2Record, 0, 32},
                                                   {records::kManagerCodes3Record, 0, 32},
                                                   {records::kManagerCodes4Record, 0, 26}}};

// The combo fillers read on unit 6, Ptmgr on unit 10, as the record
// routines of the table do.
constexpr int kListUnit = 6;
constexpr int kTableUnit = 10;

constexpr std::size_t kCodeLength = 4;

bool IsListed(std::string_view slot) {
    for (const char c : slot) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 33 && byte <= 127) return true;
    }
    return false;
}

bool IsFree(std::string_view slot) {
    for (const char c : slot)
        if (c != ' ' && c != '\0') return false;
    return true;
}

// A slot as the boxes show it: control bytes (zero bytes of a slot never
// written) as blanks, trailing blanks dropped.
std::string SlotText(std::string_view slot) {
    std::string text(slot);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return TrimField(text, text.size());
}

}  // namespace

std::vector<std::string> ListedManagerCodes() {
    std::vector<std::string> codes;
    if (records::Opnfil(kListUnit, 128, records::kCommonFile) != 0) return codes;
    std::string bytes;
    for (const TablePart& part : kTableParts) {
        // A record that cannot be read lists nothing; the others still do.
        if (records::Rdrec(kListUnit, part.number, bytes) != 0) continue;
        for (int k = 0; k < part.slot_count; ++k) {
            const std::string_view slot =
                std::string_view(bytes).substr(part.offset + kCodeLength * k, kCodeLength);
            if (IsListed(slot)) codes.push_back(SlotText(slot));
        }
    }
    records::Clsfil(kListUnit);
    return codes;
}

void FillManagerCombo(platform::Control combo) {
    combo.ResetContent();
    combo.AddString(kAllManagers);
    for (const std::string& code : ListedManagerCodes()) combo.AddString(code);
    combo.SetCurSel(0);
    combo.LimitText(static_cast<int>(kCodeLength));
}

bool ManagerCodeMatches(std::string_view entered, std::string_view entry) {
    if (entered.size() != entry.size()) return false;
    for (std::size_t i = 0; i < entered.size(); ++i)
        if (entered[i] != '?' && entered[i] != entry[i]) return false;
    return true;
}

bool ManagerCodeInCombo(std::string_view entered, platform::Control combo) {
    for (int i = 0; i < combo.GetCount(); ++i)
        if (ManagerCodeMatches(entered, combo.GetText(i))) return true;
    return false;
}

void Ptmgr(std::string_view code) {
    const std::string given = PadFieldTo(code, kCodeLength).substr(0, kCodeLength);
    int16_t position = -999;
    int16_t status = 0;
    records::Chksec(given, position, status);
    if (status == records::kChksecFound) return;

    // The four records as read; one that cannot be read (and those after
    // it) count as free slots, and their other bytes as zeros.
    std::array<std::string, kTableParts.size()> table;
    table.fill(std::string(128, '\0'));
    records::Opnfil(kTableUnit, 128, records::kCommonFile);
    for (std::size_t p = 0; p < kTableParts.size(); ++p) {
        std::string bytes;
        if (records::Rdrec(kTableUnit, kTableParts[p].number, bytes) != 0) break;
        table[p] = bytes;
    }

    for (std::size_t p = 0; p < kTableParts.size(); ++p) {
        const TablePart& part = kTableParts[p];
        for (int k = 0; k < part.slot_count; ++k) {
            const std::size_t offset = part.offset + kCodeLength * k;
            if (!IsFree(std::string_view(table[p]).substr(offset, kCodeLength))) continue;
            table[p].replace(offset, kCodeLength, given);
            for (std::size_t w = 0; w < kTableParts.size(); ++w)
                records::Wrrec(kTableUnit, kTableParts[w].number, table[w]);
            records::Clsfil(kTableUnit);
            return;
        }
    }
    records::Clsfil(kTableUnit);
    // Every slot is taken: the code stays unregistered, and the person
    // entering it is told where to make room.
    platform::MessageBox(kManagerTableFullText, kManagerTableFullCaption,
                         platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace shell
