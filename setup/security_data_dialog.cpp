// The Security Data dialog.

#include "setup/security_data_dialog.h"

#include <array>

#include "platform/message_box.h"
#include "records/common_file.h"
#include "records/options.h"
#include "records/security_file.h"
#include "records/security_types.h"
#include "setup/security_page1_dialog.h"
#include "setup/security_page2_dialog.h"
#include "setup/security_text.h"
#include "shell/fillers.h"
#include "shell/main_frame.h"
#include "shell/message_list.h"

namespace setup {

int SecurityPageRequest = kRequestNoPage;

namespace {

using namespace platform;
using D = CSecurityDataDlg;

// Page 2 by type position, in the type order.
constexpr std::array<bool, records::kListedTypeCount> kPage2Allowed = {
    false, true, false, true,  true, true,  true,  false, true,  false, true,
    true,  true, false, false, true, false, false, false, false, false, false};

DialogTemplate SecurityDataTemplate() {
    return {kSecurityDataDialogId, "Security Data",
            Row({
                Column({Group(D::kEntryFrame, "Identifier", {ComboBox(D::kIdCombo).Chars(14).Lines(8)}),
                        Group(D::kChosenFrame, "Identifier", {Static(D::kChosenId, "IBM").Chars(14)}),
                        Button(D::kSelectNewId, "Select New Id"), Stretch()}),
                Group(D::kTypeFrame, "Type",
                      {Static(D::kTypePrompt, "Select TYPE for new Security ID"),
                       ListBox(D::kTypeList).Chars(34).Lines(12)}),
                Column({Button(D::kDelete, "Delete"), Button(D::kPage1, "Page 1"),
                        Button(D::kPage2, "Page 2"), Stretch(), Button(D::kDone, "Done")}),
            })};
}

void Show(Window& w, int id, bool shown) {
    w.GetDlgItem(id).ShowWindow(shown ? SW_SHOW : SW_HIDE);
}

void Enable(Window& w, int id, bool enabled) {
    w.GetDlgItem(id).EnableWindow(enabled);
}

// An identifier a new security may have: 1 to 12 characters, not beginning
// with "$" (every list hides such keys, and twelve "$" mark a deleted one).
bool AcceptableIdentifier(const std::string& text) {
    return !text.empty() && text.size() <= records::kSecurityIdWidth && text[0] != '$';
}

}  // namespace

bool TypeAllowsPage2(int type_position) {
    return type_position >= 0 && type_position < records::kListedTypeCount &&
           kPage2Allowed[static_cast<std::size_t>(type_position)];
}

CSecurityDataDlg::CSecurityDataDlg(Window* parent) : Dialog(SecurityDataTemplate(), parent) {
    Bind(kIdCombo, Notify::SelChange, &D::OnSelectSecurity);
    Bind(kIdCombo, Notify::FocusLost, &D::OnSelectSecurity);
    Bind(kTypeList, Notify::SelChange, &D::OnSelectType);
    Bind(kDelete, Notify::Clicked, &D::OnDelete);
    Bind(kSelectNewId, Notify::Clicked, &D::OnSelectNewId);
    Bind(kPage1, Notify::Clicked, &D::OnPage1);
    Bind(kPage2, Notify::Clicked, &D::OnPage2);
    Bind(kDone, Notify::Clicked, &D::OnDone);
}

bool CSecurityDataDlg::OnInitDialog() {
    EnterEntryState();
    // A new firm's first security is its cash: the master starts with it.
    records::StartSecurityMaster();
    // The type chosen here fixes how a security is valued and grouped, so
    // a directory without a type table gets the standard one before the
    // list is filled; a table the firm has is never changed here.
    records::StartTypeTable();
    shell::FillTypeCombo(GetDlgItem(kTypeList));
    Control combo = GetDlgItem(kIdCombo);
    shell::FillSecurityCombo(&combo, &identifiers_);
    identifier_.clear();
    entry_ = 0;
    type_position_ = -1;
    return true;
}

std::string CSecurityDataDlg::TypeLine() const {
    const Control list = GetDlgItem(kTypeList);
    return list.GetText(list.GetCurSel());
}

void CSecurityDataDlg::EnterEntryState() {
    chosen_ = false;
    Show(*this, kSelectNewId, false);
    Enable(*this, kSelectNewId, false);
    Show(*this, kEntryFrame, true);
    Show(*this, kIdCombo, true);
    Enable(*this, kIdCombo, true);
    Show(*this, kChosenFrame, false);
    Show(*this, kChosenId, false);
    for (const int id : {kPage1, kPage2, kDelete, kTypeList, kTypeFrame}) Enable(*this, id, false);
    Show(*this, kTypePrompt, false);
}

int CSecurityDataDlg::FindEntry(const std::string& identifier) const {
    for (std::size_t n = 1; n < identifiers_.size(); ++n)
        if (identifiers_[n] == identifier) return static_cast<int>(n);
    return 0;
}

void CSecurityDataDlg::WriteIndex() {
    const std::vector<std::string> keys(identifiers_.begin() + 1, identifiers_.end());
    if (!records::WriteSecurityIndex(keys))
        MessageBox("Unable to write SECURITY.IDX", "Security Data", MB_OK | MB_ICONEXCLAMATION,
                   GetSafeHwnd());
}

void CSecurityDataDlg::OnSelectSecurity() {
    // The combo box loses the focus as it is hidden by the choice itself.
    if (chosen_) return;
    Control combo = GetDlgItem(kIdCombo);
    std::string text;
    const int line = combo.GetCurSel();
    if (line >= 0) {
        text = combo.GetText(line);
    } else {
        // Trailing blanks are no part of an identifier: its key is blank
        // padded, so "IBM " would be a second key equal to "IBM".
        text = ShownText(combo.GetWindowText());
        if (text.empty()) return;
        const int match = combo.FindStringExact(-1, text);
        if (match >= 0) {
            text = combo.GetText(match);
        } else {
            if (!AcceptableIdentifier(text)) {
                MessageBox("Security ID must be 1 to 12 characters and may not begin with $.", "ID Error",
                           MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
                return;
            }
            combo.AddString(text);
        }
    }

    chosen_ = true;
    Show(*this, kSelectNewId, true);
    Enable(*this, kSelectNewId, true);
    Show(*this, kEntryFrame, false);
    Show(*this, kIdCombo, false);
    Enable(*this, kIdCombo, false);
    Show(*this, kChosenFrame, true);
    SetDlgItemText(kChosenId, text);
    Show(*this, kChosenId, true);
    identifier_ = text;
    entry_ = FindEntry(text);
    // The cash security keeps its entry and its type: it can be looked at
    // and its pages opened, never deleted or retyped.
    const bool cash = entry_ == records::kCashSecurityEntry;
    for (const int id : {kDelete, kTypeList, kTypeFrame}) Enable(*this, id, !cash);
    type_position_ = -1;
    if (entry_ > 0) {
        records::SecurityRecord security;
        records::ReadSecurity(entry_, security);
        const std::size_t p = records::kTypeOrder.find(security.TypeCharacter());
        if (security.TypeCharacter() != '\0' && p != std::string_view::npos)
            type_position_ = static_cast<int>(p);
    } else {
        entry_ = static_cast<int>(identifiers_.size());
        const bool cusip_from_id =
            records::OptionValue(records::Rdopts(), records::Opt::kCusipFromSymbol) != 0;
        records::WriteSecurityRecord(
            entry_, records::NewSecurityRecord(text, static_cast<int16_t>(entry_), cusip_from_id));
        records::WriteSecurityExtension(entry_, records::NewSecurityExtension());
        identifiers_.push_back(text);
        WriteIndex();
    }

    GetDlgItem(kTypeList).SetCurSel(type_position_);
    if (type_position_ >= 0) {
        Enable(*this, kPage1, true);
        if (TypeAllowsPage2(type_position_)) Enable(*this, kPage2, true);
    } else {
        Show(*this, kTypePrompt, true);
        Enable(*this, kPage1, false);
        Enable(*this, kPage2, false);
    }
}

void CSecurityDataDlg::OnSelectType() {
    Control list = GetDlgItem(kTypeList);
    if (entry_ == records::kCashSecurityEntry) return;
    if (type_position_ >= 0 && MessageBox("Confirm change of type for Security ID " + identifier_,
                                          shell::CMainFrame::kTitle, MB_OKCANCEL, GetSafeHwnd()) != IDOK) {
        // The list shows the stored type again: the pages read their
        // layout from the selected line.
        list.SetCurSel(type_position_);
        return;
    }
    const int line = list.GetCurSel();
    if (line < 0 || line >= records::kListedTypeCount) return;
    type_position_ = line;
    const char type = records::kTypeOrder[static_cast<std::size_t>(line)];

    entry_ = FindEntry(identifier_);
    records::Record rec(records::kSecurityRecordLength, 0);
    records::ReadSecurityRecord(entry_, rec);
    records::SecurityRecord security = records::SecurityRecord::Decode(rec);
    security.type = std::string(1, type) + "   ";
    security.entry = static_cast<int16_t>(entry_);
    security.Encode(rec);
    records::WriteSecurityRecord(entry_, rec);

    Show(*this, kTypePrompt, false);
    Enable(*this, kPage1, true);
    Enable(*this, kPage2, TypeAllowsPage2(type_position_));
}

void CSecurityDataDlg::OnDelete() {
    if (entry_ == records::kCashSecurityEntry) return;
    if (MessageBox("Confirm DELETE of Security ID " + identifier_, shell::CMainFrame::kTitle, MB_OKCANCEL,
                   GetSafeHwnd()) != IDOK)
        return;
    Control combo = GetDlgItem(kIdCombo);
    const int line = combo.FindStringExact(-1, identifier_);
    if (line >= 0) combo.DeleteString(line);
    if (const int n = FindEntry(identifier_); n > 0) {
        identifiers_[static_cast<std::size_t>(n)] = std::string(records::kDeletedSecurityKey);
        WriteIndex();
    }
    OnSelectNewId();
}

void CSecurityDataDlg::OnSelectNewId() {
    EnterEntryState();
    Control combo = GetDlgItem(kIdCombo);
    combo.SetCurSel(-1);
    combo.SetWindowText("");
    GotoDlgCtrl(kIdCombo);
}

void CSecurityDataDlg::OnPage1() {
    RunPages(kRequestPage1);
}

void CSecurityDataDlg::OnPage2() {
    RunPages(kRequestPage2);
}

void CSecurityDataDlg::RunPages(int request) {
    SecurityPageRequest = request;
    ShowWindow(SW_HIDE);
    while (SecurityPageRequest == kRequestPage1 || SecurityPageRequest == kRequestPage2) {
        const int page = SecurityPageRequest;
        // A page that ends without asking for another (or could not be
        // opened) ends the loop instead of being opened again for ever.
        SecurityPageRequest = kRequestNoPage;
        if (page == kRequestPage1) {
            CSecurityInfoPage1Dlg dialog(*this);
            dialog.DoModal();
        } else {
            CSecurityInfoPage2Dlg dialog(*this);
            dialog.DoModal();
        }
    }
    ShowWindow(SW_SHOW);
}

void CSecurityDataDlg::OnDone() {
    shell::ClearMessageList();
    identifiers_.clear();
    EndDialog(IDOK);
}

}  // namespace setup
