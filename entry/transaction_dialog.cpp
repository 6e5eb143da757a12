#include "entry/transaction_dialog.h"

#include <cstdio>

#include "platform/message_box.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "records/record_services.h"
#include "records/rounding.h"
#include "records/transaction_lines.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/message_list.h"

namespace entry {

using namespace platform;

bool CTransactionDlg::OnEnterKey() {
    NextDlgCtrl();
    return true;
}

void CTransactionDlg::BindButtons() {
    Bind(kPostButton, Notify::Clicked, &CTransactionDlg::OnPost);
    Bind(kDeleteButton, Notify::Clicked, &CTransactionDlg::OnDelete);
    Bind(IDCANCEL, Notify::Clicked, &CTransactionDlg::OnCancelClicked);
}

void CTransactionDlg::OnPost() {
    shell::ClearMessageList();
    if (PostTransaction(false)) EndDialog(IDOK);
}

void CTransactionDlg::OnDelete() {
    shell::ClearMessageList();
    if (MessageBox("Are you sure you want to delete this transaction ?", "Confirm Delete", MB_OKCANCEL,
                   GetSafeHwnd()) != IDOK)
        return;
    if (PostTransaction(true)) EndDialog(IDOK);
}

void CTransactionDlg::OnCancelClicked() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

void CTransactionDlg::FillAccounts(bool reverse) {
    Control box = GetDlgItem(kAccountBox);
    box.ResetContent();
    std::array<int16_t, 64> words{};
    if (records::Opnfil(6, 128, "account.idx") != 0) {
        records::Clsfil(6);
        return;
    }
    records::UnitGuard guard(6);
    if (records::Rdrecw(6, 1, words) != 0) return;
    const int count = words[0];
    int taken = 0;
    for (long rec = 2; taken < count; ++rec) {
        std::string bytes;
        if (records::Rdrec(6, rec, bytes) != 0) break;
        for (int k = 0; k < 16 && taken < count; ++k, ++taken) {
            const std::string id = records::TrimRight(bytes.substr(static_cast<std::size_t>(k) * 8, 8));
            box.InsertString(reverse ? 0 : -1, id);
        }
    }
}

void CTransactionDlg::ShowAccount() {
    Control box = GetDlgItem(kAccountBox);
    Control line = GetDlgItem(kAccountStatic);
    if (Editing()) {
        box.ShowWindow(SW_HIDE);
        box.EnableWindow(false);
        line.ShowWindow(SW_SHOW);
        line.SetWindowText(records::TrimRight(CurrentTranRecord->account));
    } else {
        line.ShowWindow(SW_HIDE);
        box.LimitText(8);
    }
}

std::string CTransactionDlg::AccountText() const {
    return Editing() ? GetDlgItemText(kAccountStatic) : GetDlgItemText(kAccountBox);
}

engine::PostingMode CTransactionDlg::Mode(bool remove) const {
    if (!Editing()) return engine::PostingMode::kAdd;
    return remove ? engine::PostingMode::kDelete : engine::PostingMode::kChange;
}

int32_t CTransactionDlg::PostingRecord() const {
    return Editing() ? CurrentTranRecord->index + 1 : 0;
}

void CTransactionDlg::AddPostingMessages(const engine::EntryForm& form, const FieldLabels& labels) {
    for (int k = 1; k <= engine::kEntryStatusCount; ++k) {
        if (form.Flag(k) == 0) continue;
        const std::string label =
            k <= engine::kEntryFieldCount ? labels[static_cast<std::size_t>(k - 1)] : " ";
        std::string text = form.Message(k).substr(0, 79);
        shell::AddMessage(label + ":" + records::TrimRight(text));
    }
}

std::string CTransactionDlg::CodeText() const {
    return GetDlgItemText(kCodeBox).substr(0, 2);
}

const char* CTransactionDlg::LineFile() const {
    return block_ ? records::kBlockTradeFile : records::kOfflineTransactionFile;
}

bool CTransactionDlg::RewriteLine(bool remove, const std::function<void(std::string& view)>& fill) {
    const long rec = PostingRecord();
    std::string view;
    bool done = records::ReadEditView(LineFile(), rec, view) == 0 && view.size() == records::kEditViewLength;
    if (done) {
        if (remove)
            view.replace(8, 12, std::string(12, ' '));
        else
            fill(view);
        done = records::WriteEditView(LineFile(), rec, view) == 0;
    }
    if (!done) {
        shell::AddMessage(std::string("Could not write ") + LineFile() + ".");
        shell::ShowMessageList();
    }
    return done;
}

void CTransactionDlg::SelectAll(int id) {
    GetDlgItem(id).SetSel(0, -1);
}

std::string FormatDouble(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

std::string FormatPrice(float price) {
    const int option = records::OptionValue(records::Rdopts(), records::Opt::kSystemDecimals);
    int16_t decimals = static_cast<int16_t>(option);
    records::Roundn(price, decimals);
    const char* format = "%.8f";
    if (option == 4) format = "%.4f";
    if (option == 5) format = "%.5f";
    if (option == 6) format = "%.6f";
    if (option == 7) format = "%.7f";
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<double>(price));
    return text;
}

std::string NumberField(std::string_view typed) {
    return shell::ReadNumberText(typed).text;
}

double NumberValue(std::string_view typed) {
    return shell::ReadNumberText(typed).value;
}

void CTransactionDlg::RefreshHoldings(int selected_box) {
    auto text_of = [&](int id) {
        Control box = GetDlgItem(id);
        if (id == selected_box && box.GetCurSel() >= 0) return box.GetText(box.GetCurSel());
        return box.GetWindowText();
    };
    const std::string account = Editing() ? GetDlgItemText(kAccountStatic) : text_of(kAccountBox);
    shell::FillHoldingsList(account, text_of(kSymbolBox), GetDlgItem(kBalanceStatic), GetDlgItem(kLotsList));
}

}  // namespace entry
