// Security information page 2.

#include "setup/security_page2_dialog.h"

#include <cstdio>
#include <string>

#include "records/security_file.h"
#include "setup/security_data_dialog.h"
#include "setup/security_text.h"
#include "shell/field_helpers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"

namespace setup {
namespace {

using namespace platform;
using D = CSecurityInfoPage2Dlg;

constexpr int kDateEdits[] = {D::kIssueDate, D::kFirstCouponDate, D::kLastCouponDate,
                              D::kPrDate,    D::kCallDate,        D::kPutDate};

DialogTemplate Page2Template() {
    return {kSecurityPage2DialogId, "Security Information - Page 2",
            Column({
                Static(D::kHeading, "").Chars(60),
                Row({Label("Issue Date"), Edit(D::kIssueDate).Chars(9), Label("PR Date"),
                     Edit(D::kPrDate).Chars(9), Stretch()}),
                Row({Label("First Coupon Date"), Edit(D::kFirstCouponDate).Chars(9),
                     Label("Irreg Last Coup. Date"), Edit(D::kLastCouponDate).Chars(9), Stretch()}),
                Row({Label("Type of Bond"), Edit(D::kBondType).Chars(5), Label("Bond Rating: Moody"),
                     Edit(D::kMoodyRating).Chars(5), Label("S P"), Edit(D::kSpRating).Chars(5), Label("INS"),
                     Edit(D::kInsurer).Chars(6), Stretch()}),
                Row({CheckBox(D::kOid, "OID"), Label("OID Yield"), Edit(D::kOidYield).Chars(10), Stretch()}),
                Row({Label("Call Feature"), Radio(D::kCallNone, "N", kGroupStart), Radio(D::kCallC, "C"),
                     Radio(D::kCallE, "E"), Radio(D::kCallR, "R"), Label("Call Date"),
                     Edit(D::kCallDate).Chars(9), Label("Call Dollar Price"), Edit(D::kCallPrice).Chars(12),
                     Stretch()}),
                Row({Label("Put Feature"), Radio(D::kPutNone, "N", kGroupStart), Radio(D::kPutP, "P"),
                     Label("Put Date"), Edit(D::kPutDate).Chars(9), Label("Put Dolllar Price"),
                     Edit(D::kPutPrice).Chars(12), Stretch()}),
                Row({Stretch(), Button(D::kOK, "OK", kDefault), Button(D::kPage1, "Page 1"),
                     Button(IDCANCEL, "Cancel")}),
            })};
}

std::string FloatText(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    return buffer;
}

}  // namespace

CSecurityInfoPage2Dlg::CSecurityInfoPage2Dlg(CSecurityDataDlg& parent)
    : Dialog(Page2Template(), &parent), parent_(parent) {
    for (const int id : {kBondType, kMoodyRating, kSpRating, kInsurer, kOidYield, kCallPrice, kPutPrice})
        Bind(id, Notify::Changed, &D::OnChange);
    for (const int id : kDateEdits) Bind(id, Notify::Changed, [this, id] { OnDateChange(id); });
    for (const int id : {kOid, kCallNone, kCallC, kCallE, kCallR, kPutNone, kPutP})
        Bind(id, Notify::Clicked, &D::OnChange);
    Bind(kOK, Notify::Clicked, &D::OnOkButton);
    Bind(kPage1, Notify::Clicked, &D::OnPage1);
}

bool CSecurityInfoPage2Dlg::OnInitDialog() {
    SetDlgItemText(kHeading, parent_.Identifier() + " Type: " + parent_.TypeLine());
    extension_ = records::Record(records::kSecurityRecordLength, 0);
    records::ReadSecurityExtension(parent_.EntryNumber(), extension_);
    const records::SecurityExtension terms = records::SecurityExtension::Decode(extension_);

    const struct {
        int id;
        const std::string& text;
        int limit;
    } texts[] = {{kIssueDate, terms.issue_date, 8},
                 {kFirstCouponDate, terms.first_coupon_date, 8},
                 {kLastCouponDate, terms.last_coupon_date, 8},
                 {kPrDate, terms.prerefunded_date, 8},
                 {kCallDate, terms.call_date, 8},
                 {kBondType, terms.bond_type, 4},
                 {kMoodyRating, terms.moody_rating, 4},
                 {kSpRating, terms.sp_rating, 4},
                 {kInsurer, terms.insurer, 5},
                 {kPutDate, terms.put_date, 8}};
    for (const auto& t : texts) {
        GetDlgItem(t.id).LimitText(t.limit);
        SetDlgItemText(t.id, ShownText(t.text));
    }
    CheckDlgButton(kOid, terms.oid == 'Y' ? 1 : 0);
    const int call = terms.call_feature == 'C'   ? kCallC
                     : terms.call_feature == 'E' ? kCallE
                     : terms.call_feature == 'N' ? kCallNone
                                                 : kCallR;
    CheckRadioButton(kCallNone, kCallR, call);
    CheckRadioButton(kPutNone, kPutP, terms.put_feature == 'N' ? kPutNone : kPutP);
    SetDlgItemText(kCallPrice, FloatText(terms.call_price, 15));
    SetDlgItemText(kPutPrice, FloatText(terms.put_price, 15));
    SetDlgItemText(kOidYield, FloatText(terms.oid_yield, 6));
    modified_ = false;
    return true;
}

void CSecurityInfoPage2Dlg::OnChange() {
    modified_ = true;
}

void CSecurityInfoPage2Dlg::OnDateChange(int id) {
    modified_ = true;
    shell::FilterDateKey(GetDlgItem(id));
}

void CSecurityInfoPage2Dlg::OnOkButton() {
    SecurityPageRequest = kRequestNoPage;
    ValidateAndSave();
}

void CSecurityInfoPage2Dlg::OnPage1() {
    SecurityPageRequest = kRequestPage1;
    ValidateAndSave();
}

void CSecurityInfoPage2Dlg::OnCancel() {
    SecurityPageRequest = kRequestNoPage;
    EndDialog(IDCANCEL);
}

void CSecurityInfoPage2Dlg::ValidateAndSave() {
    shell::ClearMessageList();
    const struct {
        int id;
        const char* message;
    } dates[] = {{kCallDate, "Illegal Call Date:"},   {kPutDate, "Illegal Put Date:"},
                 {kPrDate, "Illegal PR Date:"},       {kLastCouponDate, "Illegal Last Coupon Date:"},
                 {kIssueDate, "Illegal Issue Date:"}, {kFirstCouponDate, "Illegal First Coupon Date:"}},
      numbers[] = {{kOidYield, "Illegal OID Yield:"},
                   {kPutPrice, "Illegal Put Price:"},
                   {kCallPrice, "Illegal Call Price:"}};
    for (const auto& d : dates) {
        std::string text = GetDlgItemText(d.id);
        const std::string typed = text;
        if (!shell::CheckBlankOrDate(text)) shell::AddMessage(d.message + typed);
    }
    for (const auto& n : numbers) {
        const std::string text = GetDlgItemText(n.id);
        if (!shell::CheckNumberText(text)) shell::AddMessage(n.message + text);
    }
    if (shell::GetMessageCount() > 0) {
        shell::ShowMessageList();
        return;
    }
    if (modified_) Save();
    EndDialog(IDOK);
}

void CSecurityInfoPage2Dlg::Save() {
    records::SecurityExtension terms = records::SecurityExtension::Decode(extension_);
    // A date is stored in the form every reader takes: MM/DD/YY.
    const auto date = [this](int id) {
        std::string text = GetDlgItemText(id);
        shell::CheckBlankOrDate(text);
        return records::Fixed(text, 8);
    };
    terms.issue_date = date(kIssueDate);
    terms.first_coupon_date = date(kFirstCouponDate);
    terms.last_coupon_date = date(kLastCouponDate);
    terms.prerefunded_date = date(kPrDate);
    terms.call_date = date(kCallDate);
    terms.put_date = date(kPutDate);
    terms.bond_type = records::Fixed(GetDlgItemText(kBondType), 4);
    terms.moody_rating = records::Fixed(GetDlgItemText(kMoodyRating), 4);
    terms.sp_rating = records::Fixed(GetDlgItemText(kSpRating), 4);
    terms.insurer = records::Fixed(GetDlgItemText(kInsurer), 5);
    terms.oid = IsDlgButtonChecked(kOid) ? 'Y' : 'N';
    terms.call_feature = IsDlgButtonChecked(kCallC)   ? 'C'
                         : IsDlgButtonChecked(kCallE) ? 'E'
                         : IsDlgButtonChecked(kCallR) ? 'R'
                                                      : 'N';
    terms.put_feature = IsDlgButtonChecked(kPutP) ? 'P' : 'N';
    terms.oid_yield = static_cast<float>(shell::ReadNumberText(GetDlgItemText(kOidYield)).value);
    terms.call_price = shell::ReadNumberText(GetDlgItemText(kCallPrice)).value;
    terms.put_price = shell::ReadNumberText(GetDlgItemText(kPutPrice)).value;
    terms.Encode(extension_);
    records::WriteSecurityExtension(parent_.EntryNumber(), extension_);
}

}  // namespace setup
