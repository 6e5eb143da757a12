// Billing Notes.

#include "setup/billing_notes_dialog.h"

#include "records/billing_notes.h"
#include "records/record.h"
#include "shell/field_helpers.h"

namespace setup {
namespace {

using namespace platform;
using D = CBillingNotesDlg;

DialogTemplate BillingNotesTemplate() {
    std::vector<Node> rows;
    for (const int id : D::kLineIds) rows.push_back(Edit(id).Chars(66));
    rows.push_back(Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")}));
    return {kBillingNotesDialogId, "Billing Notes", Column(rows)};
}

}  // namespace

CBillingNotesDlg::CBillingNotesDlg(Window* parent) : Dialog(BillingNotesTemplate(), parent) {
    Bind(kOk, Notify::Clicked, &D::OnOK);
    Bind(kCancel, Notify::Clicked, &D::OnCancel);
}

bool CBillingNotesDlg::OnInitDialog() {
    const records::BillingNotes lines = records::Rbnote();
    for (std::size_t i = 0; i < kLineIds.size(); ++i) {
        SetDlgItemText(kLineIds[i], shell::TrimField(lines[i], records::kBillingNoteWidth));
        GetDlgItem(kLineIds[i]).LimitText(static_cast<int>(records::kBillingNoteWidth));
    }
    return true;
}

void CBillingNotesDlg::OnOK() {
    records::BillingNotes lines;
    for (std::size_t i = 0; i < kLineIds.size(); ++i)
        lines[i] = records::Fixed(GetDlgItemText(kLineIds[i]), records::kBillingNoteWidth);
    records::Wbnote(lines);
    EndDialog(IDOK);
}

}  // namespace setup
