#pragma once

// Import Transactions (dialog 167): the file to import (or to export, for
// the asset allocation report and post) and the output destination, with
// the options of two imports: the credit union's deposits (code 291: buys
// or transfers, and the transfer date) and the member accounts (code 44:
// the cash balance code in the manager code, its column, and the first
// account identifier). OK checks the request and leaves it in the report
// globals; the dispatcher then runs the report road.

#include <cstdint>
#include <string>

#include "platform/dialog.h"

namespace entry {

inline constexpr int kImportTransactionsDialogId = 167;
inline constexpr int kMemberImportCode = 44;
inline constexpr int kCreditUnionCode = 291;
inline constexpr int kAssetAllocationReportCode = 322;
inline constexpr int kAssetAllocationPostCode = 323;
// The longest import or export file name.
inline constexpr std::size_t kLongestImportFileName = 47;
// The greatest starting account identifier.
inline constexpr int kLargestStartingIdentifier = 32767;

// The name of download source 1-12 as the import dialog's caption shows it.
std::string ImportSourceName(int index);

class CImportTransactionsDlg : public platform::Dialog {
public:
    static constexpr int kFileNameLabel = 1406;
    static constexpr int kFileName = 1095;
    static constexpr int kBrowse = 1096;
    static constexpr int kDepositsGroup = 1393;
    static constexpr int kBuyRadio = 1391;
    static constexpr int kTransferRadio = 1392;
    static constexpr int kTransferDateLabel = 1395;
    static constexpr int kTransferDate = 1394;
    static constexpr int kCashCodeLabel = 1397;
    static constexpr int kCashCodeCheck = 1396;
    static constexpr int kColumnLabel = 1400;
    static constexpr int kColumn = 1399;
    static constexpr int kColumnSpin = 1398;
    static constexpr int kStartLabel = 1401;
    static constexpr int kStart = 1402;

    // The dialog of the current report code.
    explicit CImportTransactionsDlg(platform::Window* parent = nullptr);

    // The download source (1-12), set after construction.
    void SetSourceIndex(int16_t index) { source_index_ = index; }

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // OK is the default button: Enter runs the OK steps.
    bool OnEnterKey() override;

private:
    void OnBrowse();
    void OnColumnChange();
    void OnSpin(const platform::Notification& n);

    int code_;
    int16_t source_index_ = 0;
    int16_t column_ = 1;
};

}  // namespace entry
