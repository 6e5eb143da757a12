#pragma once

// The transaction ledger dialog (dialog 126): the options of the
// transaction ledger (report code 81), the member statement (90) and the
// composite transaction ledger (204). Besides account, manager code, dates
// and output it narrows the listing to at most five transaction codes, one
// transaction type and one security type. Generate Report checks the
// entries, stores them in the report globals and closes with IDOK; for the
// composite ledger over a group it writes compfile.lst.

#include <array>
#include <vector>

#include "platform/dialog.h"

namespace shell {

inline constexpr int kLedgerDialogId = 126;

class CTransactionLedgerDlg : public platform::Dialog {
public:
    static constexpr int kAllRadio = 1170;
    static constexpr int kSelectRadio = 1176;
    static constexpr int kGroupRadio = 1100;
    static constexpr int kAccountLabel = 1232;
    static constexpr int kAccountList = 1159;
    static constexpr int kGroupList = 1111;
    static constexpr int kManagerLabel = 1233;
    static constexpr int kManagerCombo = 1161;
    static constexpr int kStartLabel = 1219;
    static constexpr int kStartDate = 1162;
    static constexpr int kEndLabel = 1220;
    static constexpr int kEndDate = 1163;
    static constexpr int kCodeLabel = 1227;
    static constexpr int kCodeList = 1226;
    static constexpr int kTypeLabel = 1229;
    static constexpr int kTranType = 1225;
    static constexpr int kSecurityTypeLabel = 1230;
    static constexpr int kSecurityTypeList = 1235;
    static constexpr int kSecondFileLabel = 1072;
    static constexpr int kSecondFileEdit = 1073;
    static constexpr int kGenerate = 1169;

    // At most this many transaction codes can be chosen.
    static constexpr int kMaxCodes = 5;

    explicit CTransactionLedgerDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnCancel() override;
    void OnGenerateReport();

private:
    void OnAll();
    void OnSelect();
    void OnGroup();
    void OnTranTypeChange();
    void OnCodeSelection();
    void OnSecurityTypeSelection();

    std::array<int, kMaxCodes> remembered_codes_{-1, -1, -1, -1, -1};
    int saved_security_type_ = -1;
};

// The 21 lines of the transaction code list: code, " - ", description.
const std::vector<const char*>& LedgerCodeLines();

}  // namespace shell
