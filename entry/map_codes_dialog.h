#pragma once

// Map Transaction Codes (dialog 178): the map of one download source's own
// transaction codes to the system's 21 codes, kept in COMMON.FIL
// (records/tran_code_maps.h). OK writes the whole map; Cancel writes
// nothing; Enter and Escape only move to the next field.

#include <cstdint>
#include <string>

#include "platform/dialog.h"

namespace shell {
class CMainFrame;
}

namespace entry {

inline constexpr int kMapCodesDialogId = 178;

// The source's name as the map dialog's caption shows it (1-12).
std::string MapSourceName(int index);

class CMapTransactionCodesDlg : public platform::Dialog {
public:
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;
    // The edits of the 21 slots, in slot order (B, S, SS, CS, SP, SI, SO,
    // FI, FO, AI, AO, DI, DE, II, IE, MI, ME, IP, IS, MF, BC).
    static constexpr int kSlotEdits[21] = {1169, 1170, 1171, 1172, 1358, 1173, 1174, 1175, 1168, 1176, 1177,
                                           1167, 1362, 1373, 1178, 1374, 1364, 1375, 1365, 1376, 1179};

    explicit CMapTransactionCodesDlg(platform::Window* parent = nullptr);

    void SetSourceIndex(int16_t index) { source_index_ = index; }

    bool OnInitDialog() override;
    bool OnEnterKey() override;
    bool OnEscapeKey() override;
    // OK: writes the map and closes.
    void SaveCodeMap();

private:
    int16_t source_index_ = 1;
};

// The map commands: the dialog of the source index (1-10 or 12).
void ShowMapCodesDialog(shell::CMainFrame& frame, int16_t source_index);

}  // namespace entry
