#pragma once

// The account groups as the report dialogs use them: list boxes of the
// group or super group names, and the expansion of the chosen one into the
// account list file of a composite report (compfile.lst). Problems go to
// the message list; the description of the group expanded last becomes the
// report's group title (GroupDescription).

#include <string>
#include <vector>

#include "platform/control.h"

namespace shell {

// Empties the list box, adds the names of group.dat (or super.dat) in file
// order and selects the first line.
void FillGroupListBox(platform::Control list);
void FillSuperGroupListBox(platform::Control list);

// Adds the accounts of the group (or super group) selected in the list box
// to the accounts, each once; nothing when no line is selected. A name that
// the file lacks adds "Group does not exist:" (or "Supergroup does not
// exist:") and the name to the message list.
void AddSelectedGroup(std::vector<std::string>& accounts, platform::Control list);
void AddSelectedSuperGroup(std::vector<std::string>& accounts, platform::Control list);

// Writes the accounts to the account list file, one identifier a line.
// With no accounts it adds "Groups are empty. No accounts selected." to the
// message list and writes nothing; a file that cannot be written adds
// "Unable to write " and the file name.
void WriteAccountList(const std::vector<std::string>& accounts, const std::string& file_name);

// The composite reports' step on Generate Report: the accounts of the super
// group (super true) or group selected in the list box; when the message
// list is still empty, compfile.lst is deleted and written anew and becomes
// ListFileName.
void WriteCompositeAccountList(bool super, platform::Control list);

}  // namespace shell
