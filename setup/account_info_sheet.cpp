// The account information sheet and its four pages.

#include "setup/account_info_sheet.h"

#include <cfloat>
#include <cstdio>

#include "platform/message_box.h"
#include "setup/broker_data_dialog.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/main_frame.h"
#include "shell/manager_codes.h"
#include "shell/message_list.h"

namespace setup {
namespace {

using namespace platform;

// A row of a label and its field.
Node Field(const char* label, Node field, int label_chars = 22) {
    return Row({Label(label).Chars(label_chars), std::move(field), Stretch()});
}

// The float and double texts the dialogs have always shown: the shortest
// form with 6 (float) or 15 (double) significant digits. A value that
// form would write with an exponent is written in plain digits instead,
// so that the text reads back as a typed number.
std::string NumberShown(double value, int digits) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    std::string text = buffer;
    if (text.find_first_of("eE") == std::string::npos) return text;
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    text = buffer;
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}
std::string FloatText(float value) {
    return NumberShown(static_cast<double>(value), FLT_DIG);
}
std::string DoubleText(double value) {
    return NumberShown(value, DBL_DIG);
}

// An integer as typed: blanks, an optional sign, digits, blanks.
bool ReadInteger(const std::string& text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == digits || i - digits > 6) return false;
    const std::string number = text.substr(start, i - start);
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return false;
    value = std::stoi(number);
    return true;
}

// The refusal of a field that does not read: a message box, the focus on
// the field.
bool Refuse(PropertyPage& page, int id, const char* text) {
    MessageBox(text, shell::CMainFrame::kTitle, MB_OK | MB_ICONEXCLAMATION, page.GetSafeHwnd());
    page.GotoDlgCtrl(id);
    return false;
}

bool ReadNumberField(PropertyPage& page, int id, double& value) {
    const shell::NumberText number = shell::ReadNumberText(page.GetDlgItemText(id));
    if (!number.valid) return Refuse(page, id, "Please enter a number.");
    value = number.value;
    return true;
}

bool ReadIntegerField(PropertyPage& page, int id, int& value) {
    if (!ReadInteger(page.GetDlgItemText(id), value)) return Refuse(page, id, "Please enter an integer.");
    return true;
}

std::string Cut(const std::string& text, std::size_t width) {
    return text.substr(0, std::min(text.size(), width));
}

// ---- page tables

using P1 = CClientInfo1;
using P2 = CClientInfo2;
using P3 = CClientInfo3;
using P4 = CClientInfoPerf;

DialogTemplate Page1Table() {
    return {127, " Infor Page 1",
            Column({
                Static(CAccountPage::kIdentifierStatic, "").Chars(40),
                Field("Name ", Edit(P1::kName).Chars(32)),
                Row({Label("Address").Chars(22),
                     Column({Edit(P1::kAddress1).Chars(32), Edit(P1::kAddress2).Chars(32),
                             Edit(P1::kAddress3).Chars(32), Edit(P1::kAddress4).Chars(32)}),
                     Stretch()}),
                Field("Salutation", Edit(P1::kSalutation).Chars(32)),
                Field("Acct. Short Name", Edit(P1::kShortName).Chars(32)),
                Field("Custodian 1", Edit(P1::kCustodian1).Chars(16)),
                Field("Custodian 2", Edit(P1::kCustodian2).Chars(16)),
                Field("Tax ID Number", Edit(P1::kTaxId).Chars(12)),
                Field("Home Phone", Edit(P1::kHomePhone).Chars(12)),
                Field("Business Phone", Edit(P1::kBusinessPhone).Chars(12)),
                Field("Date Acct. Opened", Edit(P1::kDateOpened).Chars(8)),
            })};
}

DialogTemplate Page2Table() {
    return {
        130, "Info Page 2",
        Column({
            Static(CAccountPage::kIdentifierStatic, "").Chars(40),
            Field("Account Custodian ID", ComboBox(P2::kCustodianId).Chars(8), 40),
            Field("Account Broker ID", ComboBox(P2::kBrokerId).Chars(8), 40),
            Field("Account Portfolio Manager", Edit(P2::kManager).Chars(4), 40),
            Field("Fiscal Year End (MM)", Edit(P2::kFiscalMonth).Chars(2), 40),
            Row({Label("Cash Balance Code").Chars(40), Radio(P2::kCashS, "S"), Radio(P2::kCashC, "C"),
                 Radio(P2::kCashN, "N"), Stretch()}),
            Field("Index no. 1 market price on date account opened", Edit(P2::kIndex1Price).Chars(12), 40),
            Field("Index no. 2 market price on date account opened", Edit(P2::kIndex2Price).Chars(12), 40),
            Field("ACCOUNT value on date account opened", Edit(P2::kOpeningValue).Chars(16), 40),
        })};
}

DialogTemplate Page3Table() {
    // What the page hides as it initialises is hidden from the start, so
    // that the sheet takes its size once, from what its pages show. The
    // "Combined Accts" frame stays shown around its hidden edits.
    constexpr unsigned kOff = kHidden | kDisabled;
    std::vector<Node> combined;
    for (int i = 0; i < 10; ++i) combined.push_back(Edit(P3::kCombined1 + i, kOff).Chars(6));
    std::vector<Node> notes;
    for (int i = 0; i < 4; ++i) notes.push_back(Edit(P3::kNote1 + i).Chars(60));
    return {132, "Billing",
            Column({
                Static(CAccountPage::kIdentifierStatic, "").Chars(40),
                Row({Static(P3::kFeeCodeLabel, "Mgt. Fee Code", kOff).Chars(16),
                     Edit(P3::kFeeCode, kOff).Chars(2),
                     Static(P3::kSetupChargeLabel, "Acct. Setup Chg.", kOff).Chars(16),
                     Edit(P3::kSetupCharge, kOff).Chars(10), Stretch()}),
                Row({Static(P3::kLetterTypeLabel, "Inv. Letter Type", kOff).Chars(16),
                     Edit(P3::kLetterType).Chars(2),
                     Static(P3::kFeeOptionLabel, "Mgt. Fee Option", kOff).Chars(16),
                     Edit(P3::kFeeOption).Chars(2), Stretch()}),
                Field("Investment Obj.", Edit(P3::kObjective).Chars(4), 16),
                Group(P3::kFrequencyFrame, "Billing Frequency",
                      {Row({Radio(P3::kFrequency1, "Annualy", kOff),
                            Radio(P3::kFrequency1 + 1, "Semi-Annually", kOff),
                            Radio(P3::kFrequency1 + 2, "Quarterly", kOff),
                            Radio(P3::kFrequency1 + 3, "Monthly", kOff),
                            Radio(P3::kFrequency1 + 4, "2 Months", kOff),
                            Radio(P3::kFrequency1 + 5, "4 Months", kOff)})},
                      kOff),
                Row({Label("Notes").Chars(16), Column(notes)}),
                Group(P3::kCombinedFrame, "Combined Accts", {Row(combined)}),
            })};
}

DialogTemplate Page4Table() {
    auto index_rows = [](int n, int symbol, int headers) {
        const std::string no = std::to_string(n);
        std::vector<Node> rows{Field(("Index symbol no. " + no).c_str(), ComboBox(symbol).Chars(12), 36)};
        for (int h = 0; h < 3; ++h)
            rows.push_back(
                Field(("Column header no. " + std::to_string(h + 1) + " for index no. " + no).c_str(),
                      Edit(headers + h).Chars(6), 36));
        return rows;
    };
    std::vector<Node> column{Static(CAccountPage::kIdentifierStatic, "").Chars(40)};
    for (Node& n : index_rows(1, P4::kIndex1Symbol, P4::kIndex1Headers)) column.push_back(std::move(n));
    for (Node& n : index_rows(2, P4::kIndex2Symbol, P4::kIndex2Headers)) column.push_back(std::move(n));
    return {133, "Performance", Column(std::move(column))};
}

// Page 1's text fields in the order they are stored.
struct TextControl {
    int id;
    std::string records::CAccountEntry::*field;
    std::size_t width;
};
const std::vector<TextControl>& Page1Texts() {
    using A = records::CAccountEntry;
    static const std::vector<TextControl> fields = {
        {P1::kName, &A::name, 32},
        {P1::kSalutation, &A::salutation, 32},
        {P1::kShortName, &A::short_name, 32},
        {P1::kCustodian1, &A::custodian1, 16},
        {P1::kCustodian2, &A::custodian2, 16},
        {P1::kTaxId, &A::tax_id, 12},
        {P1::kHomePhone, &A::home_phone, 12},
        {P1::kBusinessPhone, &A::business_phone, 12},
    };
    return fields;
}
constexpr int kAddressIds[4] = {P1::kAddress1, P1::kAddress2, P1::kAddress3, P1::kAddress4};

}  // namespace

// ---- the common part

CAccountPage::CAccountPage(DialogTemplate table, std::string identifier)
    : PropertyPage(std::move(table)), identifier_(std::move(identifier)) {}

records::CAccountEntry* CAccountPage::Account() const {
    const int position = records::FindAccountEntry(identifier_);
    return position < 0 ? nullptr : records::AccountArray()[static_cast<std::size_t>(position)].get();
}

void CAccountPage::ShowIdentifier() {
    SetDlgItemText(kIdentifierStatic, "Account Identifier:" + identifier_);
}

// ---- page 1

CClientInfo1::CClientInfo1(std::string identifier) : CAccountPage(Page1Table(), std::move(identifier)) {
    Bind(kDateOpened, Notify::Changed, [this] { shell::FilterDateKey(GetDlgItem(kDateOpened)); });
}

bool CClientInfo1::OnInitDialog() {
    ShowIdentifier();
    if (const records::CAccountEntry* a = Account()) {
        for (const TextControl& f : Page1Texts()) SetDlgItemText(f.id, a->*f.field);
        for (int i = 0; i < 4; ++i) SetDlgItemText(kAddressIds[i], a->address[i]);
        SetDlgItemText(kDateOpened, a->date_opened);
    }
    for (const TextControl& f : Page1Texts()) GetDlgItem(f.id).LimitText(static_cast<int>(f.width));
    for (int id : kAddressIds) GetDlgItem(id).LimitText(32);
    GetDlgItem(kDateOpened).LimitText(8);
    return true;
}

bool CClientInfo1::OnApply() {
    records::CAccountEntry* a = Account();
    if (!a) return true;
    // The date is checked before anything is stored, so that a refused
    // page leaves the account as it was.
    std::string date = GetDlgItemText(kDateOpened);
    const std::string typed = date;
    if (!shell::CheckDateText(date)) {
        shell::AddMessage("Illegal Opening Date:" + typed);
        shell::ShowMessageList();
        return false;
    }
    for (const TextControl& f : Page1Texts()) a->*f.field = Cut(GetDlgItemText(f.id), f.width);
    for (int i = 0; i < 4; ++i) a->address[i] = Cut(GetDlgItemText(kAddressIds[i]), 32);
    a->date_opened = date;
    return true;
}

// ---- page 2

CClientInfo2::CClientInfo2(std::string identifier) : CAccountPage(Page2Table(), std::move(identifier)) {}

bool CClientInfo2::OnInitDialog() {
    ShowIdentifier();
    shell::FillCodeCombo(GetDlgItem(kBrokerId));
    if (const records::CAccountEntry* a = Account()) {
        SetDlgItemText(kCustodianId, a->custodian_id);
        SetDlgItemText(kBrokerId, a->broker_id);
        SetDlgItemText(kManager, a->manager_code);
        SetDlgItemText(kFiscalMonth, std::to_string(a->fiscal_year_end_month));
        const int cash = a->cash_balance_code == "C" ? kCashC : a->cash_balance_code == "S" ? kCashS : kCashN;
        CheckRadioButton(kCashS, kCashN, cash);
        SetDlgItemText(kIndex1Price, FloatText(a->index1_price));
        SetDlgItemText(kIndex2Price, FloatText(a->index2_price));
        SetDlgItemText(kOpeningValue, DoubleText(a->opening_value));
    }
    // The identifier fields take the 8 characters of a broker key, so that
    // a longer identifier is refused on apply rather than cut unseen.
    GetDlgItem(kCustodianId).LimitText(kIdentifierEditWidth);
    GetDlgItem(kBrokerId).LimitText(kIdentifierEditWidth);
    GetDlgItem(kManager).LimitText(4);
    GetDlgItem(kFiscalMonth).LimitText(2);
    return true;
}

bool CClientInfo2::OnApply() {
    records::CAccountEntry* a = Account();
    if (!a) return true;
    int month = 0;
    double price1 = 0, price2 = 0, value = 0;
    if (!ReadIntegerField(*this, kFiscalMonth, month)) return false;
    if (month < 1 || month > 12)
        return Refuse(*this, kFiscalMonth, "Please enter an integer between 1 and 12.");
    if (!ReadNumberField(*this, kIndex1Price, price1) || !ReadNumberField(*this, kIndex2Price, price2) ||
        !ReadNumberField(*this, kOpeningValue, value))
        return false;
    // An identifier cut to 6 characters would name no custodian or broker.
    const std::string custodian = GetDlgItemText(kCustodianId);
    const std::string broker = GetDlgItemText(kBrokerId);
    bool refused = false;
    if (custodian.size() > kIdentifierWidth) {
        shell::AddMessage("Illegal Account Custodian ID: " + custodian);
        refused = true;
    }
    if (broker.size() > kIdentifierWidth) {
        shell::AddMessage("Illegal Account Broker ID: " + broker);
        refused = true;
    }
    if (refused) {
        shell::ShowMessageList();
        return false;
    }
    a->custodian_id = custodian;
    a->broker_id = broker;
    a->manager_code = Cut(GetDlgItemText(kManager), 4);
    shell::Ptmgr(shell::PadFieldTo(a->manager_code, 4));
    a->fiscal_year_end_month = static_cast<int16_t>(month);
    a->index1_price = static_cast<float>(price1);
    a->index2_price = static_cast<float>(price2);
    a->opening_value = value;
    a->cash_balance_code = IsDlgButtonChecked(kCashS) ? "S" : IsDlgButtonChecked(kCashC) ? "C" : "N";
    return true;
}

// ---- page 3

CClientInfo3::CClientInfo3(std::string identifier) : CAccountPage(Page3Table(), std::move(identifier)) {}

bool CClientInfo3::OnInitDialog() {
    ShowIdentifier();
    for (int id : {kFeeCodeLabel, kSetupChargeLabel, kLetterTypeLabel, kFeeOptionLabel, kFrequencyFrame,
                   kFeeCode, kSetupCharge}) {
        GetDlgItem(id).ShowWindow(SW_HIDE);
        GetDlgItem(id).EnableWindow(false);
    }
    for (int i = 0; i < 6; ++i) {
        GetDlgItem(kFrequency1 + i).ShowWindow(SW_HIDE);
        GetDlgItem(kFrequency1 + i).EnableWindow(false);
    }
    for (int i = 0; i < 10; ++i) {
        GetDlgItem(kCombined1 + i).ShowWindow(SW_HIDE);
        GetDlgItem(kCombined1 + i).EnableWindow(false);
    }
    if (records::CAccountEntry* a = Account()) {
        // A frequency the radios cannot show becomes annual at once.
        if (a->billing_frequency < 1 || a->billing_frequency > 6) a->billing_frequency = 1;
        SetDlgItemText(kFeeCode, a->management_fee_code);
        SetDlgItemText(kSetupCharge, FloatText(a->setup_charge));
        SetDlgItemText(kLetterType, std::to_string(a->invoice_letter_type));
        SetDlgItemText(kFeeOption, std::to_string(a->management_fee_option));
        SetDlgItemText(kObjective, a->investment_objective);
        CheckRadioButton(kFrequency1, kFrequency1 + 5, kFrequencyFrame + a->billing_frequency);
        for (int i = 0; i < 4; ++i) SetDlgItemText(kNote1 + i, a->notes[i]);
        for (int i = 0; i < 10; ++i) SetDlgItemText(kCombined1 + i, a->combined[i]);
    }
    GetDlgItem(kFeeCode).LimitText(1);
    GetDlgItem(kSetupCharge).LimitText(10);
    GetDlgItem(kLetterType).LimitText(1);
    GetDlgItem(kFeeOption).LimitText(1);
    GetDlgItem(kObjective).LimitText(4);
    for (int i = 0; i < 4; ++i) GetDlgItem(kNote1 + i).LimitText(60);
    for (int i = 0; i < 10; ++i) GetDlgItem(kCombined1 + i).LimitText(6);
    return true;
}

bool CClientInfo3::OnApply() {
    records::CAccountEntry* a = Account();
    if (!a) return true;
    double charge = 0;
    int letter = 0, option = 0;
    if (!ReadNumberField(*this, kSetupCharge, charge) || !ReadIntegerField(*this, kLetterType, letter) ||
        !ReadIntegerField(*this, kFeeOption, option))
        return false;
    a->setup_charge = static_cast<float>(charge);
    a->invoice_letter_type = static_cast<int16_t>(letter);
    a->management_fee_option = static_cast<int16_t>(option);
    a->management_fee_code = Cut(GetDlgItemText(kFeeCode), 1);
    for (int i = 0; i < 10; ++i) a->combined[i] = Cut(GetDlgItemText(kCombined1 + i), 6);
    a->investment_objective = Cut(GetDlgItemText(kObjective), 4);
    for (int i = 0; i < 4; ++i) a->notes[i] = Cut(GetDlgItemText(kNote1 + i), 60);
    for (int i = 0; i < 6; ++i)
        if (IsDlgButtonChecked(kFrequency1 + i)) a->billing_frequency = static_cast<int16_t>(i + 1);
    return true;
}

// ---- page 4

CClientInfoPerf::CClientInfoPerf(std::string identifier)
    : CAccountPage(Page4Table(), std::move(identifier)) {}

bool CClientInfoPerf::OnInitDialog() {
    ShowIdentifier();
    for (int id : {kIndex1Symbol, kIndex2Symbol}) {
        Control combo = GetDlgItem(id);
        shell::FillSecurityCombo(&combo, nullptr);
    }
    if (const records::CAccountEntry* a = Account()) {
        SetDlgItemText(kIndex1Symbol, a->index_symbol[0]);
        SetDlgItemText(kIndex2Symbol, a->index_symbol[1]);
        for (int h = 0; h < 3; ++h) {
            SetDlgItemText(kIndex1Headers + h, a->column_headers[0][h]);
            SetDlgItemText(kIndex2Headers + h, a->column_headers[1][h]);
        }
    }
    GetDlgItem(kIndex1Symbol).LimitText(9);
    GetDlgItem(kIndex2Symbol).LimitText(9);
    for (int h = 0; h < 3; ++h) {
        GetDlgItem(kIndex1Headers + h).LimitText(6);
        GetDlgItem(kIndex2Headers + h).LimitText(6);
    }
    return true;
}

bool CClientInfoPerf::OnApply() {
    records::CAccountEntry* a = Account();
    if (!a) return true;
    a->index_symbol[0] = Cut(GetDlgItemText(kIndex1Symbol), 9);
    a->index_symbol[1] = Cut(GetDlgItemText(kIndex2Symbol), 9);
    for (int h = 0; h < 3; ++h) {
        a->column_headers[0][h] = Cut(GetDlgItemText(kIndex1Headers + h), 6);
        a->column_headers[1][h] = Cut(GetDlgItemText(kIndex2Headers + h), 6);
    }
    return true;
}

// ---- the sheet

CAccountInfoSheet::CAccountInfoSheet(std::string identifier, Window* parent)
    : PropertySheet(kAccountInfoSheetId, kAccountInfoSheetCaption, parent),
      page1_(identifier),
      page2_(identifier),
      page3_(identifier),
      page4_(identifier) {
    AddPage(&page1_);
    AddPage(&page2_);
    AddPage(&page3_);
    AddPage(&page4_);
}

}  // namespace setup
