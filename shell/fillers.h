#pragma once

// Fillers of the dialogs' combo and list boxes from the index files (broker
// codes, security symbols, account identifiers), the firm's security type
// codes and an account's lots of one security. They read through the record
// services within the call; an unreadable file leaves the list short or
// empty, without a message.

#include <string>
#include <string_view>
#include <vector>

#include "platform/control.h"

namespace shell {

// Broker codes of BROKER.IDX, trimmed, in index order; the edit part takes
// at most 8 characters.
void FillCodeCombo(platform::Control combo);

// Security symbols of SECURITY.IDX. `symbols` (when given) gets a
// placeholder at 0 and symbol k, trimmed, at k, so that an index position
// is the array index; the combo box (when given) gets every symbol that is
// not empty and does not begin with "$".
void FillSecurityCombo(platform::Control* combo, std::vector<std::string>* symbols);

// The symbol chosen in a combo box FillSecurityCombo filled: the selected
// line, or the typed text when it is one of the lines as spelt there;
// empty when it is not.
std::string ChosenComboLine(const platform::Control& combo);

// The 22 security types as "code - name": the firm's code from COMMON.FIL
// record 27 and the type's name from TYPENAME.DAT, or the standard ones
// where the data directory holds no type table (records::ReadTypeNames).
void FillTypeCombo(platform::Control list);

// Account identifiers of ACCOUNT.IDX, trimmed, in index order; the first
// line is selected.
void FillAccountCombo(platform::Control list);

// The lots of one security in an account, with the account's cash balance
// in the label; with no account or no symbol the label is a blank.
void FillHoldingsList(std::string_view account, std::string_view symbol, platform::Control label,
                      platform::Control list);

// The placeholder at index 0 of the symbol array.
inline constexpr const char* kSymbolPlaceholder = "garbage";

}  // namespace shell
