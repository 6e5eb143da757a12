#pragma once

// Client Invoices (dialog 175, Modules/Billing/Invoice, report code 261):
// the request of the invoice run. "Generate Report" stores the account
// selection, the three run options, the two dates and the output
// destination in the report globals and checks them; the dispatcher then
// sends the run down the output road.

#include "platform/dialog.h"

namespace setup {

inline constexpr int kClientInvoicesDialogId = 175;
inline constexpr int kInvoiceCode = 261;

class CClientInvoicesDlg : public platform::Dialog {
public:
    static constexpr int kAllRadio = 1429;
    static constexpr int kSelectRadio = 1143;
    static constexpr int kAccountGroup = 1146;
    static constexpr int kManagerCombo = 1145;
    static constexpr int kAccounts = 1125;
    static constexpr int kPostFees = 1148;
    static constexpr int kAccruedInterest = 1149;
    static constexpr int kUpdateBalance = 1150;
    static constexpr int kPricedDate = 1151;
    static constexpr int kPostDateLabel = 1152;
    static constexpr int kPostDate = 1153;
    static constexpr int kGenerate = 1139;
    static constexpr int kCancel = 1140;

    explicit CClientInvoicesDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnAll();
    void OnSelect();
    void OnPostFees();
};

}  // namespace setup
