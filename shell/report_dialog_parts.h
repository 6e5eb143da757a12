#pragma once

// Pieces the report request dialogs share: the controls of the output
// destination (Print, Print Preview, Display, File and the file name) and
// small helpers that show, hide, enable and disable controls by id.

#include <cstdint>
#include <initializer_list>

#include "platform/resource.h"
#include "platform/window.h"

namespace shell {

// The output destination controls, the same ids in every report dialog.
inline constexpr int kPrintRadio = 1172;
inline constexpr int kPreviewRadio = 1434;
inline constexpr int kDisplayRadio = 1173;
inline constexpr int kFileRadio = 1174;
inline constexpr int kFileNameEdit = 1167;
inline constexpr int kFileNameLabel = 1168;
// Characters of an output file name.
inline constexpr int kFileNameLimit = 12;
// Characters a date field takes as typed, MM/DD/YYYY; the date check
// rewrites a date as MM/DD/YY before anything keeps it.
inline constexpr int kDateLimit = 10;

// The output group of a dialog table: the four radios with Display
// checked, then the file name label and edit (hidden until File).
platform::Node OutputGroup(int group_id = platform::IDC_STATIC);
platform::Node FileNameRow();

// Display checked, the others unchecked, the file name hidden and limited
// to 12 characters.
void ResetOutput(platform::Window& dialog);
// Binds the four radios: File shows the file name, the others hide it.
void BindOutputRadios(platform::Window& dialog);
// Shows (and enables) or hides the file name label and edit.
void ShowFileName(platform::Window& dialog, bool show);
// The destination of the checked radio (0 print, 1 preview, 2 file,
// 3 display), or -1 when none is checked.
int32_t CheckedDestination(const platform::Window& dialog);

void Show(platform::Window& dialog, std::initializer_list<int> ids, bool show);
void Enable(platform::Window& dialog, std::initializer_list<int> ids, bool enable);
// Shown and enabled, or hidden and disabled.
void ShowEnable(platform::Window& dialog, std::initializer_list<int> ids, bool on);

// The account choice of the ledger and report options dialogs by the ids of
// its controls: the label or frame of the account list, the account list,
// the list of groups or super groups, and the label or frame of the manager
// code with its combo box.
struct AccountChoiceIds {
    int account_frame;
    int account_list;
    int group_list;
    int manager_frame;
    int manager_combo;
};
// All: the manager code in place of the lists.
void ChooseAllAccounts(platform::Window& dialog, const AccountChoiceIds& ids);
// Select: the account list, or for a composite report the super groups.
void ChooseSelectedAccounts(platform::Window& dialog, const AccountChoiceIds& ids, bool composite);
// Group: the groups.
void ChooseGroupOfAccounts(platform::Window& dialog, const AccountChoiceIds& ids);

}  // namespace shell
