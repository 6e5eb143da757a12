// Account Billing Information.

#include "setup/account_billing_dialog.h"

#include <cstdio>

#include "platform/feedback.h"
#include "records/record.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"

namespace setup {
namespace {

using namespace platform;
using D = CAccountBillingDlg;

constexpr std::size_t kAccountWidth = 8;
constexpr int kDateWidth = 8;

DialogTemplate AccountBillingTemplate() {
    auto field = [](const char* label, int id, int chars) {
        return Row({Label(label).Chars(22), Edit(id).Chars(chars)});
    };
    return {
        kAccountBillingDialogId, "Account Billing Information",
        Row({Column({Label("Account"), ListBox(D::kAccounts).Chars(10).Lines(10)}),
             Column({Group(IDC_STATIC, "Apply Payment to Balance Due",
                           {field("Balance Due", D::kBalanceDue, 14),
                            field("Amount of Payment", D::kPayment, 14),
                            field("Date of Last Payment", D::kPaymentDate, 10),
                            field("Payment Method", D::kPaymentMethod, 3)}),
                     field("Total Billed to Date", D::kTotalBilled, 14),
                     field("Last Billing Month", D::kLastMonth, 4),
                     field("Last Billing Year", D::kLastYear, 4), field("Closing Date", D::kClosingDate, 10),
                     Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")})})})};
}

std::string Number(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

// A field read with "%hd": 0 when nothing converts.
int16_t ShortOf(const std::string& text) {
    short value = 0;
    if (std::sscanf(text.c_str(), "%hd", &value) != 1) value = 0;
    return value;
}

}  // namespace

CAccountBillingDlg::CAccountBillingDlg(Window* parent) : Dialog(AccountBillingTemplate(), parent) {
    Bind(kAccounts, Notify::SelChange, &D::OnAccountChange);
    for (const int id : {kBalanceDue, kPayment, kTotalBilled})
        Bind(id, Notify::Changed, [this, id] { shell::FilterNumberKey(GetDlgItem(id)); });
    for (const int id : {kPaymentDate, kClosingDate})
        Bind(id, Notify::Changed, [this, id] { shell::FilterDateKey(GetDlgItem(id)); });
    for (const int id : {kLastMonth, kLastYear})
        Bind(id, Notify::Changed, [this, id] { shell::FilterDigitsKey(GetDlgItem(id)); });
    Bind(kOk, Notify::Clicked, &D::OnOK);
    Bind(kCancel, Notify::Clicked, &D::OnCancel);
}

bool CAccountBillingDlg::OnInitDialog() {
    shell::FillAccountCombo(GetDlgItem(kAccounts));
    GetDlgItem(kPaymentMethod).LimitText(1);
    GetDlgItem(kLastMonth).LimitText(2);
    GetDlgItem(kLastYear).LimitText(2);
    for (const int id : {kPaymentDate, kClosingDate}) GetDlgItem(id).LimitText(kDateWidth);
    ShowSelected();
    return true;
}

// The selected account's stored entry, or blank fields when it has none.
void CAccountBillingDlg::ShowSelected() {
    const Control accounts = GetDlgItem(kAccounts);
    current_ = accounts.GetCurSel();
    account_ = records::Fixed(current_ < 0 ? std::string() : accounts.GetText(current_), kAccountWidth);
    records::AccountBilling entry;
    std::string damage;
    const bool stored = current_ >= 0 && records::ReadAccountBilling(account_, entry, &damage);
    if (!damage.empty()) {
        shell::ClearMessageList();
        shell::AddMessage(damage);
        shell::ShowMessageList();
    }
    SetDlgItemText(kBalanceDue, stored ? Number(entry.balance_due) : "");
    SetDlgItemText(kPayment, stored ? Number(entry.payment) : "");
    SetDlgItemText(kPaymentDate, stored ? entry.last_payment_date : "");
    SetDlgItemText(kPaymentMethod, stored ? std::string(1, entry.payment_method) : "");
    SetDlgItemText(kTotalBilled, stored ? Number(entry.total_billed) : "");
    SetDlgItemText(kLastMonth, stored ? std::to_string(entry.last_month) : "");
    SetDlgItemText(kLastYear, stored ? std::to_string(entry.last_year) : "");
    SetDlgItemText(kClosingDate, stored ? entry.closing_date : "");
}

bool CAccountBillingDlg::CheckAndStore() {
    shell::ClearMessageList();
    records::AccountBilling entry;
    entry.account = account_;
    const auto number = [this](int id, const char* message, float& value) {
        const std::string text = GetDlgItemText(id);
        const shell::NumberText read = shell::ReadNumberText(text);
        if (!read.valid) shell::AddMessage(message + text);
        value = static_cast<float>(read.value);
    };
    const auto date = [this](int id, const char* message, std::string& stored) {
        const std::string text = GetDlgItemText(id);
        std::string checked = text;
        if (!shell::CheckBlankOrDate(checked)) shell::AddMessage(message + text);
        stored = records::Fixed(text, kDateWidth);
    };
    number(kBalanceDue, "Illegal Balance Due: ", entry.balance_due);
    number(kPayment, "Illegal Payment Amount: ", entry.payment);
    date(kPaymentDate, "Illegal Last Payment Date: ", entry.last_payment_date);
    number(kTotalBilled, "Illegal Total Billed: ", entry.total_billed);
    const std::string month = GetDlgItemText(kLastMonth);
    entry.last_month = ShortOf(month);
    if (entry.last_month < 0 || entry.last_month > 12) shell::AddMessage("Illegal Last Month: " + month);
    date(kClosingDate, "Illegal Closing Date: ", entry.closing_date);
    entry.last_year = ShortOf(GetDlgItemText(kLastYear));
    const std::string method = GetDlgItemText(kPaymentMethod);
    entry.payment_method = method.empty() ? ' ' : method[0];

    // Nothing is stored while a check fails; without an account (an empty
    // account list) there is nothing to store.
    if (shell::GetMessageCount() == 0 && current_ >= 0) {
        const records::StoreResult written = records::WriteAccountBilling(entry);
        if (!written) shell::AddMessage(written.message);
    }
    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return false;
    }
    return true;
}

void CAccountBillingDlg::OnAccountChange() {
    if (CheckAndStore())
        ShowSelected();
    else
        GetDlgItem(kAccounts).SetCurSel(current_);
}

void CAccountBillingDlg::OnOK() {
    if (CheckAndStore()) EndDialog(IDOK);
}

void CAccountBillingDlg::OnCancel() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

}  // namespace setup
