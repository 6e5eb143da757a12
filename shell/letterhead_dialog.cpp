#include "shell/letterhead_dialog.h"

#include "records/letterhead.h"
#include "records/record.h"
#include "shell/field_helpers.h"

namespace shell {
namespace {

using namespace platform;
using Dlg = CLetterheadDlg;

DialogTemplate LetterheadTemplate() {
    const auto& ids = Dlg::kLineIds;
    return {Dlg::kDialogId, "Letterhead",
            Column({Group(IDC_STATIC, "Name and Address",
                          {Edit(ids[0]).Chars(42), Edit(ids[1]).Chars(42), Edit(ids[2]).Chars(42),
                           Edit(ids[3]).Chars(42), Edit(ids[4]).Chars(42)}),
                    Group(IDC_STATIC, "Contact",
                          {Edit(ids[5]).Chars(34), Edit(ids[6]).Chars(34), Edit(ids[7]).Chars(34)}),
                    Row({Stretch(), Button(Dlg::kOk, "OK", kDefault), Button(Dlg::kCancel, "Cancel")})})};
}

}  // namespace

CLetterheadDlg::CLetterheadDlg(Window* parent) : Dialog(LetterheadTemplate(), parent) {
    Bind(kOk, Notify::Clicked, &Dlg::OnOK);
    Bind(kCancel, Notify::Clicked, &Dlg::OnCancel);
}

bool CLetterheadDlg::OnInitDialog() {
    const records::LetterheadLines lines = records::Letrhd();
    for (std::size_t i = 0; i < kLineIds.size(); ++i) {
        const std::size_t width = records::LetterheadWidth(i);
        SetDlgItemText(kLineIds[i], TrimField(lines[i], width));
        GetDlgItem(kLineIds[i]).LimitText(static_cast<int>(width));
    }
    return true;
}

void CLetterheadDlg::OnOK() {
    records::LetterheadLines lines;
    for (std::size_t i = 0; i < kLineIds.size(); ++i)
        lines[i] = records::Fixed(GetDlgItemText(kLineIds[i]), records::LetterheadWidth(i));
    records::Wletrhd(lines);
    EndDialog(IDOK);
}

}  // namespace shell
