#include "sample_dialog.h"

#include "platform/message_box.h"

namespace sample {

using namespace platform;

const DialogTemplate& SampleTemplate() {
    static const DialogTemplate table{
        kDialogId, "Sample Options",
        Column({
            Row({
                Group(kAccountGroup, "Account",
                      {Radio(kAll, "All"), Radio(kSelect, "Select", kChecked),
                       Radio(kGroupRadio, "Group", kHidden | kDisabled)}),
                Group(kClientGroup, "Client List", {ListBox(kClientList).Chars(10).Lines(4)}),
            }),
            Row({Static(kStartLabel, "Start Date"), Edit(kStartDate).Chars(8), Static(kEndLabel, "End Date"),
                 Edit(kEndDate).Chars(8)}),
            Row({CheckBox(kAccrued, "Accrued Interest"),
                 CheckBox(kPostValue, "Post Market Value", kHidden | kDisabled)}),
            Row({Static(kManagerLabel, "Manager Code"), ComboBox(kManager).Chars(6)}),
            Group(
                IDC_STATIC, "Output",
                {Row({Radio(kPrint, "Print"), Radio(kDisplay, "Display", kChecked), Radio(kFile, "File")})}),
            Row({Static(kFileLabel, "File Name", kHidden), Edit(kFileName, kHidden).Chars(12)}),
            Row({Stretch(), Button(kGenerate, "Generate Report", kDefault), Button(IDCANCEL, "Cancel")}),
        })};
    return table;
}

const DialogTemplate& NestedTemplate() {
    static const DialogTemplate table{
        kNestedDialogId, "Note",
        Column({Row({Label("Note"), Edit(kNestedEdit).Chars(20)}),
                Row({Stretch(), Button(IDOK, "OK"), Button(IDCANCEL, "Cancel")})})};
    return table;
}

SampleDialog::SampleDialog(Selection& out, Window* parent) : Dialog(SampleTemplate(), parent), out_(out) {
    Bind(kGenerate, Notify::Clicked, &SampleDialog::OnGenerate);
    for (int id : {kPrint, kDisplay, kFile}) Bind(id, Notify::Clicked, &SampleDialog::OnOutput);
    Bind(kStartDate, Notify::Changed, [this] { ++start_changes; });
    Bind(kClientList, Notify::SelChange, [this] { ++list_selections; });
    Bind(kClientList, Notify::DoubleClick, [this] {
        ++list_double_clicks;
        OnNote();
    });
    for (int id : {kStartDate, kEndDate}) {
        Bind(id, Notify::FocusGained, [this, id] { focus_log.push_back("+" + std::to_string(id)); });
        Bind(id, Notify::FocusLost, [this, id] { focus_log.push_back("-" + std::to_string(id)); });
    }
}

bool SampleDialog::OnInitDialog() {
    for (const char* account : {"ACC001", "ACC002", "BRX100"}) GetDlgItem(kClientList).AddString(account);
    GetDlgItem(kClientList).SetCurSel(0);
    for (const char* code : {"????", "AB12", "CD34"}) GetDlgItem(kManager).AddString(code);
    GetDlgItem(kManager).SetCurSel(0);
    GetDlgItem(kStartDate).LimitText(8);
    GetDlgItem(kEndDate).LimitText(8);
    GetDlgItem(kFileName).LimitText(12);
    SetDlgItemText(kStartDate, "01/01/98");
    SetDlgItemText(kEndDate, "12/31/98");
    return true;
}

void SampleDialog::OnOK() {
    NextDlgCtrl();
}

void SampleDialog::OnCancel() {
    ++cancels;
    EndDialog(IDCANCEL);
}

void SampleDialog::OnOutput() {
    const bool file = IsDlgButtonChecked(kFile) != 0;
    GetDlgItem(kFileLabel).ShowWindow(file ? SW_SHOW : SW_HIDE);
    GetDlgItem(kFileName).ShowWindow(file ? SW_SHOW : SW_HIDE);
}

void SampleDialog::OnGenerate() {
    out_.scope = IsDlgButtonChecked(kAll) ? 1 : 2;
    const Control list = GetDlgItem(kClientList);
    out_.account = list.GetText(list.GetCurSel());
    out_.start_date = GetDlgItemText(kStartDate);
    out_.end_date = GetDlgItemText(kEndDate);
    out_.accrued = IsDlgButtonChecked(kAccrued) != 0;
    out_.manager = GetDlgItemText(kManager);
    out_.destination = IsDlgButtonChecked(kPrint) ? 0 : IsDlgButtonChecked(kFile) ? 2 : 3;
    out_.file_name = GetDlgItemText(kFileName);
    if (out_.start_date.size() != 8) {
        MessageBox("Illegal start date", "Sample Options", MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
        GotoDlgCtrl(kStartDate);
        return;
    }
    if (out_.destination == 2 && out_.file_name.empty()) {
        if (MessageBox("No file name. Display instead?", "Sample Options", MB_YESNO, GetSafeHwnd()) != IDYES)
            return;
        out_.destination = 3;
    }
    EndDialog(IDOK);
}

void SampleDialog::OnNote() {
    std::string note;
    if (NestedDialog(note, this).DoModal() == IDOK) out_.nested_note = note;
}

NestedDialog::NestedDialog(std::string& note, Window* parent)
    : Dialog(NestedTemplate(), parent), note_(note) {}

void NestedDialog::OnOK() {
    note_ = GetDlgItemText(kNestedEdit);
    if (note_.empty() && MessageBox("The note is empty. Keep it?", "Note", MB_OKCANCEL | MB_ICONQUESTION,
                                    GetSafeHwnd()) != IDOK)
        return;
    EndDialog(IDOK);
}

}  // namespace sample
