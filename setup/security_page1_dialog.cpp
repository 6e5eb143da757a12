// Security information page 1.

#include "setup/security_page1_dialog.h"

#include <cstdio>
#include <string_view>

#include "records/security_file.h"
#include "records/security_types.h"
#include "setup/security_data_dialog.h"
#include "setup/security_text.h"
#include "shell/field_helpers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"

namespace setup {
namespace {

using namespace platform;
using D = CSecurityInfoPage1Dlg;

// The type at this position of the type order has an industry category.
constexpr int kCommonStockPosition = 16;

// The layout class of a type character (1 to 9).
int LayoutClass(char type) {
    switch (type) {
        case '1':
            return 1;
        case '3':
            return 2;
        case '4':
            return 3;
        case '9':
        case 'P':
        case 'N':
        case 'H':
        case 'L':
            return 5;
        case 'X':
        case 'Y':
        case 'T':
            return 6;
        case 'J':
            return 7;
        case 'R':
            return 8;
        case 'S':
            return 9;
        default:  // 5 6 W 7 B C D F
            return 4;
    }
}

Node SlotRow(int slot) {
    const std::size_t i = static_cast<std::size_t>(slot);
    return Row({Static(D::kSlotLabels[i], "").Chars(18), Edit(D::kSlotTexts[i]).Chars(10),
                Edit(D::kSlotNumbers[i]).Chars(12), Stretch()});
}

DialogTemplate Page1Template() {
    return {kSecurityPage1DialogId, "Security Information",
            Column({
                Static(D::kHeading, "").Chars(60),
                Row({Label("CUSIP"), Edit(D::kCusip).Chars(13), Label("Exchange"),
                     Edit(D::kExchange).Chars(5), Stretch()}),
                Row({Label("Description"), Edit(D::kDescription1).Chars(33), Stretch()}),
                Row({Label("           "), Edit(D::kDescription2).Chars(33), Stretch()}),
                Row({Static(D::kFrequencyLabel, "Payment Freq."), Edit(D::kPaymentFrequency).Chars(3),
                     Static(D::kAllocationLabel, "Gen. Asset Alloc."), Edit(D::kAllocation).Chars(3),
                     CheckBox(D::kAutopricing, "Autopricing"), Stretch()}),
                Row({Label("Loan Display Limit (%)"), Edit(D::kLoanLimit).Chars(3), Stretch()}),
                SlotRow(0),
                SlotRow(1),
                SlotRow(2),
                SlotRow(3),
                SlotRow(4),
                SlotRow(5),
                Row({Stretch(), Button(D::kOK, "OK", kDefault), Button(D::kPage2, "Page 2"),
                     Button(IDCANCEL, "Cancel")}),
            })};
}

bool AllDigits(std::string_view text) {
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// A float as the page shows it (six significant digits).
std::string FloatText(float value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.6g", static_cast<double>(value));
    return buffer;
}

// Byte offsets (from 0) of the text fields a slot may hold.
std::size_t TextOffset(SlotField field) {
    switch (field) {
        case SlotField::DueDate:
            return 88;
        case SlotField::ExDate:
            return 108;
        case SlotField::PayDate:
            return 116;
        default:  // SicCode
            return 80;
    }
}

}  // namespace

PageOneLayout LayoutOfType(int type_position) {
    PageOneLayout layout;
    if (type_position < 0 || type_position >= records::kListedTypeCount) return layout;
    const int c = LayoutClass(records::kTypeOrder[static_cast<std::size_t>(type_position)]);
    if (c != 5 && c != 7) layout.fields.push_back(SlotField::DueDate);
    if (c != 5 && c != 7 && c != 8) layout.fields.push_back(SlotField::CouponRate);
    if (c == 2 || c == 3 || c == 4 || c == 6) layout.fields.push_back(SlotField::YieldToMaturity);
    if (c == 5 || c == 7) layout.fields.push_back(SlotField::DividendRate);
    if (c >= 3 && c <= 7) layout.fields.push_back(SlotField::PayDate);
    if (c >= 5 && c <= 7) layout.fields.push_back(SlotField::ExDate);
    if (type_position == kCommonStockPosition) layout.fields.push_back(SlotField::SicCode);
    layout.autopricing = c != 1 && c != 3 && c != 9;
    return layout;
}

const char* SlotLabel(SlotField field) {
    switch (field) {
        case SlotField::DueDate:
            return "Due date";
        case SlotField::CouponRate:
            return "Coupon rate";
        case SlotField::YieldToMaturity:
            return "Yield to Maturity";
        case SlotField::DividendRate:
            return "Dividend rate";
        case SlotField::PayDate:
            return "Pay Date";
        case SlotField::ExDate:
            return "Exdate";
        case SlotField::SicCode:
            return "SIC Code";
    }
    return "";
}

CSecurityInfoPage1Dlg::CSecurityInfoPage1Dlg(CSecurityDataDlg& parent)
    : Dialog(Page1Template(), &parent), parent_(parent) {
    for (const int id :
         {kCusip, kDescription1, kDescription2, kExchange, kPaymentFrequency, kAllocation, kLoanLimit})
        Bind(id, Notify::Changed, &D::OnChange);
    for (const int id : kSlotNumbers) Bind(id, Notify::Changed, &D::OnChange);
    for (int slot = 0; slot < 6; ++slot)
        Bind(kSlotTexts[static_cast<std::size_t>(slot)], Notify::Changed,
             [this, slot] { OnSlotTextChange(slot); });
    Bind(kAutopricing, Notify::Clicked, &D::OnChange);
    Bind(kOK, Notify::Clicked, &D::OnOkButton);
    Bind(kPage2, Notify::Clicked, &D::OnPage2);
}

bool CSecurityInfoPage1Dlg::OnInitDialog() {
    for (std::size_t i = 0; i < 6; ++i) {
        for (const int id : {kSlotLabels[i], kSlotTexts[i], kSlotNumbers[i]}) {
            GetDlgItem(id).ShowWindow(SW_HIDE);
            GetDlgItem(id).EnableWindow(false);
        }
        date_slot_[i] = number_slot_[i] = used_slot_[i] = false;
    }

    const int position = parent_.TypePosition();
    layout_ = LayoutOfType(position);
    SetDlgItemText(kHeading, parent_.Identifier() + " Type: " + parent_.TypeLine());
    if (!TypeAllowsPage2(position)) GetDlgItem(kPage2).EnableWindow(false);

    const long n = parent_.EntryNumber();
    security_ = records::Record(records::kSecurityRecordLength, 0);
    extension_ = records::Record(records::kSecurityRecordLength, 0);
    records::ReadSecurityRecord(n, security_);
    records::ReadSecurityExtension(n, extension_);
    const records::SecurityRecord security = records::SecurityRecord::Decode(security_);
    const records::SecurityExtension terms = records::SecurityExtension::Decode(extension_);

    for (std::size_t slot = 0; slot < layout_.fields.size() && slot < 6; ++slot) {
        const SlotField field = layout_.fields[slot];
        slot_fields_[slot] = field;
        used_slot_[slot] = true;
        Control label = GetDlgItem(kSlotLabels[slot]);
        label.SetWindowText(SlotLabel(field));
        label.ShowWindow(SW_SHOW);
        label.EnableWindow(true);
        const bool number = field == SlotField::CouponRate || field == SlotField::DividendRate ||
                            field == SlotField::YieldToMaturity;
        Control edit = GetDlgItem(number ? kSlotNumbers[slot] : kSlotTexts[slot]);
        edit.ShowWindow(SW_SHOW);
        edit.EnableWindow(true);
        if (number) {
            number_slot_[slot] = true;
            edit.SetWindowText(
                FloatText(field == SlotField::YieldToMaturity ? terms.yield_to_maturity : security.rate));
        } else {
            const bool sic = field == SlotField::SicCode;
            edit.LimitText(sic ? 2 : 8);
            edit.SetWindowText(ShownText(security_.Text(TextOffset(field), sic ? 4 : 8)));
            date_slot_[slot] = !sic;
        }
    }

    GetDlgItem(kPaymentFrequency).LimitText(2);
    SetDlgItemText(kPaymentFrequency, std::to_string(security.payment_frequency));
    GetDlgItem(kAllocation).LimitText(2);
    SetDlgItemText(kAllocation, ShownText(security.allocation));
    Control box = GetDlgItem(kAutopricing);
    box.ShowWindow(layout_.autopricing ? SW_SHOW : SW_HIDE);
    box.EnableWindow(layout_.autopricing);
    box.SetCheck(layout_.autopricing && security.autopricing == 'Y' ? 1 : 0);

    // The edit takes the whole 12-character CUSIP field, so that a CUSIP
    // copied from a 12-character identifier is not cut when it is saved.
    GetDlgItem(kCusip).LimitText(12);
    SetDlgItemText(kCusip, ShownText(security.cusip));
    GetDlgItem(kDescription1).LimitText(32);
    SetDlgItemText(kDescription1, ShownText(security.description1));
    GetDlgItem(kDescription2).LimitText(32);
    SetDlgItemText(kDescription2, ShownText(security.description2));
    GetDlgItem(kLoanLimit).LimitText(2);
    SetDlgItemText(kLoanLimit, std::to_string(security.loan_limit));
    GetDlgItem(kExchange).LimitText(4);
    SetDlgItemText(kExchange, ShownText(security.exchange));
    modified_ = false;
    return true;
}

void CSecurityInfoPage1Dlg::OnChange() {
    modified_ = true;
}

void CSecurityInfoPage1Dlg::OnSlotTextChange(int slot) {
    modified_ = true;
    if (date_slot_[static_cast<std::size_t>(slot)])
        shell::FilterDateKey(GetDlgItem(kSlotTexts[static_cast<std::size_t>(slot)]));
}

void CSecurityInfoPage1Dlg::OnOkButton() {
    SecurityPageRequest = kRequestNoPage;
    ValidateAndSave();
}

void CSecurityInfoPage1Dlg::OnPage2() {
    SecurityPageRequest = kRequestPage2;
    ValidateAndSave();
}

void CSecurityInfoPage1Dlg::OnCancel() {
    shell::ClearMessageList();
    SecurityPageRequest = kRequestNoPage;
    EndDialog(IDCANCEL);
}

void CSecurityInfoPage1Dlg::ValidateAndSave() {
    shell::ClearMessageList();
    for (std::size_t slot = 0; slot < 6; ++slot) {
        if (!used_slot_[slot]) continue;
        const std::string label = SlotLabel(slot_fields_[slot]);
        if (date_slot_[slot]) {
            std::string text = GetDlgItemText(kSlotTexts[slot]);
            const std::string typed = text;
            if (!shell::CheckBlankOrDate(text)) shell::AddMessage("Illegal " + label + " " + typed);
        } else if (number_slot_[slot]) {
            const std::string text = GetDlgItemText(kSlotNumbers[slot]);
            if (!shell::CheckNumberText(text)) shell::AddMessage("Illegal " + label + " " + text);
        }
    }
    if (parent_.TypePosition() == kCommonStockPosition) {
        for (std::size_t slot = 0; slot < 6; ++slot) {
            if (!used_slot_[slot] || slot_fields_[slot] != SlotField::SicCode) continue;
            const std::string text = GetDlgItemText(kSlotTexts[slot]);
            if (!AllDigits(text)) shell::AddMessage("Invalid SIC code (0-99): " + text);
        }
    }
    // Both fields hold at most two digits (their edit limit).
    const std::string frequency = GetDlgItemText(kPaymentFrequency);
    if (!AllDigits(frequency) || frequency.size() > 2 || (!frequency.empty() && std::stoi(frequency) > 12))
        shell::AddMessage("Invalid Payment Frequency (0-12): " + frequency);
    const std::string limit = GetDlgItemText(kLoanLimit);
    if (!AllDigits(limit) || limit.size() > 2)
        shell::AddMessage("Invalid Loan Display Limit (0-99): " + limit);

    if (shell::GetMessageCount() > 0) {
        shell::ShowMessageList();
        return;
    }
    if (modified_) Save();
    EndDialog(IDOK);
}

void CSecurityInfoPage1Dlg::Save() {
    records::SecurityRecord security = records::SecurityRecord::Decode(security_);
    records::SecurityExtension terms = records::SecurityExtension::Decode(extension_);
    security.cusip = records::Fixed(GetDlgItemText(kCusip), 12);
    security.description1 = records::Fixed(GetDlgItemText(kDescription1), 32);
    security.description2 = records::Fixed(GetDlgItemText(kDescription2), 32);
    security.allocation = records::Fixed(GetDlgItemText(kAllocation), 2);
    security.exchange = records::Fixed(GetDlgItemText(kExchange), 4);
    for (std::size_t slot = 0; slot < 6; ++slot) {
        if (!used_slot_[slot]) continue;
        const SlotField field = slot_fields_[slot];
        if (number_slot_[slot]) {
            const float value =
                static_cast<float>(shell::ReadNumberText(GetDlgItemText(kSlotNumbers[slot])).value);
            if (field == SlotField::YieldToMaturity)
                terms.yield_to_maturity = value;
            else
                security.rate = value;
            continue;
        }
        std::string text = GetDlgItemText(kSlotTexts[slot]);
        // A date is stored in the form every reader takes: MM/DD/YY.
        if (date_slot_[slot]) shell::CheckBlankOrDate(text);
        switch (field) {
            case SlotField::DueDate:
                security.due_date = records::Fixed(text, 8);
                break;
            case SlotField::ExDate:
                security.ex_date = records::Fixed(text, 8);
                break;
            case SlotField::PayDate:
                security.pay_date = records::Fixed(text, 8);
                break;
            default:
                security.category = records::Fixed(text, 4);
                break;
        }
    }
    if (layout_.autopricing) security.autopricing = IsDlgButtonChecked(kAutopricing) ? 'Y' : 'N';
    const std::string frequency = GetDlgItemText(kPaymentFrequency);
    security.payment_frequency = static_cast<uint8_t>(frequency.empty() ? 0 : std::stoi(frequency));
    const std::string limit = GetDlgItemText(kLoanLimit);
    security.loan_limit = static_cast<int16_t>(limit.empty() ? 0 : std::stoi(limit));
    security.entry = static_cast<int16_t>(parent_.EntryNumber());
    security.Encode(security_);
    terms.Encode(extension_);
    records::WriteSecurityRecord(parent_.EntryNumber(), security_);
    records::WriteSecurityExtension(parent_.EntryNumber(), extension_);
}

}  // namespace setup
