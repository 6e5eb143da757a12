#pragma once

// Security information page 1 (dialog 135): the descriptive and income
// fields of the security chosen in the Security Data dialog: CUSIP, two
// description lines, exchange code, payment frequency, general asset
// allocation, autopricing, loan display limit and up to six fields chosen
// by the security's type (due date, coupon or dividend rate, yield to
// maturity, pay date, ex-date, industry category). Run by the Security
// Data dialog's page loop; OK and Page 2 check every field and write
// SECURITY.REC and SECURITY.EXT record n when anything changed.

#include <array>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "records/record.h"

namespace setup {

class CSecurityDataDlg;

inline constexpr int kSecurityPage1DialogId = 135;

// A field a type places in the page's six slots.
enum class SlotField { DueDate, CouponRate, YieldToMaturity, DividendRate, PayDate, ExDate, SicCode };

// The fields of a type (by its position in the type order), in slot
// order, and whether the type shows the "Autopricing" box.
struct PageOneLayout {
    std::vector<SlotField> fields;
    bool autopricing = false;
};
PageOneLayout LayoutOfType(int type_position);
// The label of a slot field ("Due date", "Coupon rate", ...).
const char* SlotLabel(SlotField field);

class CSecurityInfoPage1Dlg : public platform::Dialog {
public:
    static constexpr int kHeading = 1350;
    static constexpr int kCusip = 1352;
    static constexpr int kDescription1 = 1353;
    static constexpr int kDescription2 = 1354;
    static constexpr int kExchange = 1355;
    static constexpr int kPaymentFrequency = 1359;
    static constexpr int kAllocation = 1360;
    static constexpr int kAutopricing = 1361;
    static constexpr int kLoanLimit = 1373;
    static constexpr int kOK = 1045;
    static constexpr int kPage2 = 1395;
    static constexpr int kFrequencyLabel = 1396;
    static constexpr int kAllocationLabel = 1397;
    // Slots 0-5: label, text edit (dates and codes), number edit.
    static constexpr std::array<int, 6> kSlotLabels = {1367, 1358, 1368, 1369, 1370, 1371};
    static constexpr std::array<int, 6> kSlotTexts = {1356, 1357, 1362, 1363, 1365, 1366};
    static constexpr std::array<int, 6> kSlotNumbers = {1389, 1390, 1372, 1391, 1392, 1393};

    explicit CSecurityInfoPage1Dlg(CSecurityDataDlg& parent);

    bool OnInitDialog() override;
    void OnCancel() override;

    bool Modified() const { return modified_; }

private:
    void OnChange();
    void OnSlotTextChange(int slot);
    void OnOkButton();
    void OnPage2();
    // Checks every field; with no failure saves (when modified) and closes.
    void ValidateAndSave();
    void Save();

    CSecurityDataDlg& parent_;
    PageOneLayout layout_;
    std::array<SlotField, 6> slot_fields_{};
    std::array<bool, 6> date_slot_{};
    std::array<bool, 6> number_slot_{};
    std::array<bool, 6> used_slot_{};
    records::Record security_;
    records::Record extension_;
    bool modified_ = false;
};

}  // namespace setup
