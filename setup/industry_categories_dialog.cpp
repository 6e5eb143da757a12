// The Security Industry Categories dialog.

#include "setup/industry_categories_dialog.h"

#include <cstdio>

#include "records/record.h"
#include "records/security_types.h"
#include "setup/security_text.h"

namespace setup {
namespace {

using namespace platform;
using D = CSicCategoriesDlg;

DialogTemplate CategoriesTemplate() {
    return {kIndustryCategoriesDialogId, "Security Industry Categories",
            Column({
                Group(D::kListFrame, "Select SIC Description to Edit",
                      {ListBox(D::kCategoryList).Chars(34).Lines(12)}),
                Static(D::kPrompt, "").Chars(34),
                Edit(D::kNameEdit).Chars(30),
                Row({Stretch(), Button(D::kDone, "Done", kDefault)}),
            })};
}

std::string Numbered(const char* format, int number, const std::string& text = {}) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, format, number, text.c_str());
    return buffer;
}

}  // namespace

CSicCategoriesDlg::CSicCategoriesDlg(Window* parent) : Dialog(CategoriesTemplate(), parent) {
    Bind(kCategoryList, Notify::SelChange, &D::OnSelect);
    Bind(kNameEdit, Notify::FocusLost, &D::OnNameLeft);
    Bind(kDone, Notify::Clicked, &D::OnDone);
}

bool CSicCategoriesDlg::OnInitDialog() {
    records::Siccat(names_);
    Control list = GetDlgItem(kCategoryList);
    for (int k = 1; k <= records::kCategoryCount; ++k)
        list.AddString(Numbered("%2.2d %s", k, ShownText(names_[static_cast<std::size_t>(k - 1)])));
    GetDlgItem(kNameEdit).LimitText(static_cast<int>(records::kCategoryNameWidth));
    list.SetCurSel(0);
    current_ = 0;
    SetDlgItemText(kNameEdit, ShownText(names_[0]));
    SetDlgItemText(kPrompt, Numbered("Enter Description for SIC %2.2d", 1));
    return true;
}

void CSicCategoriesDlg::OnSelect() {
    const Control list = GetDlgItem(kCategoryList);
    const int line = list.GetCurSel();
    if (line < 0) return;
    current_ = line;
    SetDlgItemText(kPrompt, Numbered("Enter Description for SIC %2.2d", line + 1));
    const std::string text = list.GetText(line);
    SetDlgItemText(kNameEdit, text.size() > 3 ? text.substr(3) : std::string());
    GotoDlgCtrl(kNameEdit);
}

void CSicCategoriesDlg::OnNameLeft() {
    const std::string text = GetDlgItemText(kNameEdit);
    Control list = GetDlgItem(kCategoryList);
    list.DeleteString(current_);
    list.InsertString(current_, Numbered("%2.2d %s", current_ + 1, text));
    list.SetCurSel(current_);
    names_[static_cast<std::size_t>(current_)] = records::Fixed(text, records::kCategoryNameWidth);
}

void CSicCategoriesDlg::OnDone() {
    records::Wrscat(names_);
    EndDialog(IDOK);
}

}  // namespace setup
