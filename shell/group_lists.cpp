// Group and super group lists of the report dialogs, and the account list
// file of the composite reports.

#include "shell/group_lists.h"

#include "records/files.h"
#include "records/groups.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"

namespace shell {
namespace {

void FillNames(platform::Control list, const char* file_name) {
    records::CGroupList groups;
    groups.Load(file_name);
    list.ResetContent();
    for (const std::string& name : groups.Names()) list.AddString(name);
    list.SetCurSel(0);
}

// Expands the selected line with `expand`, handing its messages to the
// message list and its description to the report title.
template <class Expand>
void AddSelected(std::vector<std::string>& accounts, platform::Control list, Expand expand) {
    const int line = list.GetCurSel();
    if (line < 0) return;
    std::vector<std::string> messages;
    std::string description = g_report.GroupDescription;
    expand(accounts, list.GetText(line), description, messages);
    g_report.GroupDescription = description;
    for (const std::string& message : messages) AddMessage(message);
}

}  // namespace

void FillGroupListBox(platform::Control list) {
    FillNames(list, records::kGroupFile);
}

void FillSuperGroupListBox(platform::Control list) {
    FillNames(list, records::kSuperGroupFile);
}

void AddSelectedGroup(std::vector<std::string>& accounts, platform::Control list) {
    AddSelected(accounts, list, records::ExpandGroup);
}

void AddSelectedSuperGroup(std::vector<std::string>& accounts, platform::Control list) {
    AddSelected(accounts, list, records::ExpandSuperGroup);
}

void WriteAccountList(const std::vector<std::string>& accounts, const std::string& file_name) {
    if (accounts.empty()) {
        AddMessage("Groups are empty. No accounts selected.");
        return;
    }
    if (!records::WriteAccountLines(accounts, file_name)) AddMessage("Unable to write " + file_name);
}

void WriteCompositeAccountList(bool super, platform::Control list) {
    std::vector<std::string> accounts;
    if (super)
        AddSelectedSuperGroup(accounts, list);
    else
        AddSelectedGroup(accounts, list);
    if (GetMessageCount() != 0) return;
    // The old list goes first, so that a list that cannot be written is
    // never taken for the new one.
    records::Purge(records::kAccountListFile);
    WriteAccountList(accounts, records::kAccountListFile);
    if (GetMessageCount() == 0) g_report.ListFileName = records::kAccountListFile;
}

}  // namespace shell
