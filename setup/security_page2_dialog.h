#pragma once

// Security information page 2 (dialog 139): the fixed-income terms of the
// security chosen in the Security Data dialog, all in SECURITY.EXT record
// n: issue and coupon dates, pre-refunding date, bond type, ratings and
// insurer, the OID flag and yield, call and put features with their dates
// and prices. Run by the Security Data dialog's page loop for the types
// that allow it; OK and Page 1 check every field and write the record when
// anything changed.

#include "platform/dialog.h"
#include "records/record.h"

namespace setup {

class CSecurityDataDlg;

inline constexpr int kSecurityPage2DialogId = 139;

class CSecurityInfoPage2Dlg : public platform::Dialog {
public:
    static constexpr int kHeading = 1350;
    static constexpr int kBondType = 1401;
    static constexpr int kMoodyRating = 1402;
    static constexpr int kSpRating = 1403;
    static constexpr int kInsurer = 1404;
    static constexpr int kIssueDate = 1405;
    static constexpr int kPrDate = 1406;
    static constexpr int kFirstCouponDate = 1407;
    static constexpr int kOid = 1408;
    static constexpr int kLastCouponDate = 1409;
    static constexpr int kOidYield = 1410;
    static constexpr int kCallNone = 1411;
    static constexpr int kCallC = 1412;
    static constexpr int kCallE = 1413;
    static constexpr int kCallR = 1414;
    static constexpr int kPutNone = 1415;
    static constexpr int kPutP = 1416;
    static constexpr int kCallDate = 1417;
    static constexpr int kPutDate = 1418;
    static constexpr int kCallPrice = 1419;
    static constexpr int kPutPrice = 1420;
    static constexpr int kOK = 1380;
    static constexpr int kPage1 = 1311;

    explicit CSecurityInfoPage2Dlg(CSecurityDataDlg& parent);

    bool OnInitDialog() override;
    void OnCancel() override;

    bool Modified() const { return modified_; }

private:
    void OnChange();
    void OnDateChange(int id);
    void OnOkButton();
    void OnPage1();
    void ValidateAndSave();
    void Save();

    CSecurityDataDlg& parent_;
    records::Record extension_;
    bool modified_ = false;
};

}  // namespace setup
