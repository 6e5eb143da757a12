// The Account, Broker and Custodian Data dialog.

#include "setup/broker_data_dialog.h"

#include <algorithm>
#include <cctype>

#include "engine/account_sort.h"
#include "engine/accounts.h"
#include "platform/message_box.h"
#include "records/account_file.h"
#include "records/file_names.h"
#include "records/record.h"
#include "setup/account_info_sheet.h"
#include "setup/broker_info_dialog.h"
#include "shell/message_list.h"

namespace setup {
namespace {

using namespace platform;
using D = CBrokerDataDlg;

DialogTemplate BrokerDataTemplate() {
    return {kBrokerDataDialogId, "Broker Data",
            Row({Group(D::kListFrame, "Broker ID",
                       {Edit(D::kIdEdit).Chars(10), ListBox(D::kList, kSorted).Lines(10)}),
                 Column({Button(D::kInfo, "Broker Info"), Button(D::kDelete, "Delete"), Stretch(),
                         Button(D::kDone, "Done")})})};
}

struct ModeTexts {
    const char* caption;
    const char* frame;
    const char* info;
    const char* kind;      // in the delete confirmation
    const char* too_long;  // a new identifier longer than 6 characters
};
ModeTexts TextsOf(int mode) {
    switch (mode) {
        case D::kAccounts:
            return {"Account Data", "Account List", "Account Info", "Account ",
                    "New account ID must be 1 to 6 characters."};
        case D::kCustodians:
            return {"Custodian Data", "Custodian List", "Custodian Info", "Custodian ",
                    "New custodian ID must be 1 to 6 characters."};
        default:
            return {"Broker Data", "Broker ID", "Broker Info", "Broker ",
                    "New broker ID must be 1 to 6 characters."};
    }
}

records::BrokerListKind ListKind(int mode) {
    return mode == D::kCustodians ? records::BrokerListKind::Custodians : records::BrokerListKind::Brokers;
}

void IdError(Window& w, const char* text, const char* caption = "ID Error") {
    MessageBox(text, caption, MB_OK | MB_ICONEXCLAMATION, w.GetSafeHwnd());
}

}  // namespace

std::vector<std::unique_ptr<records::CBrokerRecord>>& BrokerArray() {
    static std::vector<std::unique_ptr<records::CBrokerRecord>> brokers;
    return brokers;
}

int& CustodianFlag() {
    static int flag = 0;
    return flag;
}

int FindBrokerRecord(std::string_view identifier) {
    const auto& brokers = BrokerArray();
    for (std::size_t i = 0; i < brokers.size(); ++i)
        if (brokers[i] && brokers[i]->identifier == identifier) return static_cast<int>(i);
    return -1;
}

CBrokerDataDlg::CBrokerDataDlg(Window* parent) : Dialog(BrokerDataTemplate(), parent) {
    Bind(kInfo, Notify::Clicked, &D::OnInfo);
    Bind(kDelete, Notify::Clicked, &D::OnDelete);
    Bind(kDone, Notify::Clicked, &D::OnDone);
    Bind(kList, Notify::SelChange, &D::OnSelect);
}

std::string CBrokerDataDlg::Caption() const {
    return TextsOf(mode_).caption;
}

bool CBrokerDataDlg::OnInitDialog() {
    CustodianFlag() = mode_ == kCustodians ? 1 : 0;
    const ModeTexts texts = TextsOf(mode_);
    SetWindowText(texts.caption);
    SetDlgItemText(kListFrame, texts.frame);
    SetDlgItemText(kInfo, texts.info);

    // Whatever an earlier run left (it ended with Escape) is not this run's.
    ReleaseArrays();
    deleted_accounts_.clear();
    Control list = GetDlgItem(kList);
    if (mode_ == kAccounts) {
        records::AccountFileContents contents = records::LoadAccountFile();
        account_flag_ = contents.flag;
        index_refused_ = contents.refused;
        if (!index_refused_.empty()) {
            shell::AddMessage(index_refused_);
            shell::ShowMessageList();
        }
        auto& accounts = records::AccountArray();
        accounts = std::move(contents.accounts);
        for (const auto& account : accounts) list.AddString(account->identifier);
        if (!contents.unreadable.empty()) {
            for (const std::string& id : contents.unreadable)
                shell::AddMessage("Account " + id + ": records could not be read.");
            shell::ShowMessageList();
        }
    } else {
        BrokerArray() = records::LoadBrokerList(ListKind(mode_));
        for (const auto& broker : BrokerArray()) list.AddString(broker->identifier);
    }
    GetDlgItem(kIdEdit).LimitText(kIdentifierEditWidth);
    return true;
}

void CBrokerDataDlg::ReleaseArrays() {
    records::AccountArray().clear();
    BrokerArray().clear();
}

void CBrokerDataDlg::OnCancel() {
    ReleaseArrays();
    deleted_accounts_.clear();
    EndDialog(IDCANCEL);
}

void CBrokerDataDlg::OnSelect() {
    const Control list = GetDlgItem(kList);
    const int line = list.GetCurSel();
    if (line >= 0) SetDlgItemText(kIdEdit, list.GetText(line));
}

bool CBrokerDataDlg::EnsureEntry() {
    std::string id = GetDlgItemText(kIdEdit);
    if (id.empty()) {
        IdError(*this, "Add: ID cannot be empty.");
        return false;
    }
    if (mode_ == kAccounts) {
        std::transform(id.begin(), id.end(), id.begin(), [](unsigned char c) { return std::toupper(c); });
        SetDlgItemText(kIdEdit, id);
        if (records::FindAccountEntry(id) >= 0) return true;
    } else if (FindBrokerRecord(id) >= 0) {
        return true;
    }
    // An entry already listed with a longer identifier can still be opened
    // or deleted; a new one must fit.
    if (id.size() > kIdentifierWidth) {
        IdError(*this, TextsOf(mode_).too_long);
        return false;
    }
    if (mode_ == kAccounts) {
        if (engine::Ckacid(records::Fixed(id, 8)) != 0) {
            IdError(*this, "New account ID contains invalid characters.");
            return false;
        }
        GetDlgItem(kList).AddString(id);
        records::AccountArray().push_back(std::make_unique<records::CAccountEntry>(id));
        return true;
    }
    auto broker = std::make_unique<records::CBrokerRecord>();
    broker->identifier = id;
    GetDlgItem(kList).AddString(id);
    BrokerArray().push_back(std::move(broker));
    return true;
}

void CBrokerDataDlg::OnInfo() {
    if (!EnsureEntry()) return;
    if (mode_ == kAccounts) {
        ShowWindow(SW_HIDE);
        CAccountInfoSheet sheet(GetDlgItemText(kIdEdit), this);
        sheet.DoModal();
        ShowWindow(SW_SHOW);
    } else {
        CBrokerInfoDlg dialog(this);
        dialog.DoModal();
    }
}

void CBrokerDataDlg::OnDelete() {
    const std::string id = GetDlgItemText(kIdEdit);
    if (id.empty()) {
        IdError(*this, "Delete: Broker ID cannot be empty.", "Broker ID Error");
        return;
    }
    const int position = mode_ == kAccounts ? records::FindAccountEntry(id) : FindBrokerRecord(id);
    if (position < 0) {
        IdError(*this, "Delete: Broker ID does not exist.", "Broker ID Error");
        return;
    }
    if (MessageBox("Are you sure you want to delete " + std::string(TextsOf(mode_).kind) + id + " ?",
                   "Confirm Delete", MB_OKCANCEL, GetSafeHwnd()) != IDOK)
        return;
    Control list = GetDlgItem(kList);
    const int line = list.FindStringExact(-1, id);
    if (line >= 0) list.DeleteString(line);
    SetDlgItemText(kIdEdit, "");
    if (mode_ == kAccounts) {
        deleted_accounts_.insert(id);
        auto& accounts = records::AccountArray();
        accounts.erase(accounts.begin() + position);
    } else {
        auto& brokers = BrokerArray();
        brokers.erase(brokers.begin() + position);
    }
}

bool CBrokerDataDlg::SaveAccounts() {
    // A refused index is never written back: its accounts were not read.
    if (!index_refused_.empty()) {
        MessageBox(index_refused_, Caption(), MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
        return true;
    }
    // The deleted accounts' own files go first, so that an account added
    // again under a deleted identifier starts its files afresh below.
    for (const std::string& id : deleted_accounts_) records::Delacf(records::Fixed(id, 6));
    deleted_accounts_.clear();
    const std::string failed = engine::SaveAccountFiles(records::AccountArray(), account_flag_);
    if (failed.empty()) return true;
    MessageBox("Unable to write " + failed, Caption(), MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
    return false;
}

bool CBrokerDataDlg::SaveBrokers() {
    const std::string failed = records::SaveBrokerList(ListKind(mode_), BrokerArray());
    if (failed.empty()) return true;
    MessageBox("Unable to write " + failed, Caption(), MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
    return false;
}

void CBrokerDataDlg::OnDone() {
    // A list that cannot be written stays in memory with the dialog open,
    // so that nothing is lost unseen; the old files are kept.
    if (!(mode_ == kAccounts ? SaveAccounts() : SaveBrokers())) return;
    ReleaseArrays();
    EndDialog(IDOK);
}

}  // namespace setup
