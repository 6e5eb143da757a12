// The options dialog: the option table and the paging, checking, stepping
// and typing of the options.

#include "shell/options_dialog.h"

#include <cstdio>
#include <map>

namespace shell {
namespace {

using namespace platform;
using D = COptionsDlg;

OptionInfo YesNo(const char* text) {
    return {OptionKind::YesNo, text};
}
OptionInfo Number(const char* text, int smallest, int largest) {
    return {OptionKind::Number, text, smallest, largest};
}
OptionInfo Character(const char* text) {
    return {OptionKind::Character, text};
}

const std::map<int, OptionInfo>& Options() {
    static const std::map<int, OptionInfo> options = {
        {1, YesNo("default CUSIP to previously entered symbol")},
        {2, YesNo("default 2nd line description to coupon rate and due date")},
        {3, YesNo("autopost dividends, interest, and capital distribution")},
        {4, YesNo("reinvest autoposted dividends")},
        {5, YesNo("print gain/(loss) reports behind working appraisal")},
        {6, YesNo("print account address on the account appraisal")},
        {7, YesNo("bill account in advance")},
        {8, Number("select trade memorandum type", 1, 4)},
        {9, Number("for future use", 1, 2)},
        {10, YesNo("sort account list by last name first")},
        {11, YesNo("suppress reporting cash equivalents in Portfolio Changes")},
        {12, YesNo("display trade memo letterhead on billing invoice")},
        {13, YesNo("sort common stocks withour SIC code in position summary")},
        {14, YesNo("do not calculate SEC fees in the asset allocation module")},
        {15, Number("select rounding factor in asset allocation and income autopost", 1, 3)},
        {16, Number("select dividend rate or yield to maturity on appraisals", 1, 2)},
        {17, YesNo("calculate change from prior month in combined working appraisal")},
        {18, YesNo("initialize price files upon updating with the autoprice module")},
        {19, Number("center the summary of investment portfolio report", 0, 9)},
        {20, YesNo("report management fees and bank charges as a portfolio expense")},
        {21, YesNo("report account phone numbers on the security cross reference")},
        {22, YesNo("report billing disclaimer on the type 1 billing invoice")},
        {23, YesNo("invoke percentage comparison against performance for billing")},
        {24, YesNo("generate billing invoice based on lesser of two market values")},
        {25, YesNo("remove estimated annual income and yield from portfolio summary")},
        {26, Character("for future use")},
        {27, Character("for future use")},
        {28, Character("for future use")},
        {29, Number("select performance summary type", 1, 2)},
        {30, YesNo("suppress page numbers on all reports")},
        {31, YesNo("suppress cost and proceeds totals on realized gain/(loss) report")},
        {32, YesNo("report account opening value on position summary")},
        {33, YesNo("suppress licensee name on all reports")},
        {34, YesNo("report rate of return (not annualized) on performance summary")},
        {35, YesNo("add combined account's market values prior to fee calculation")},
        {36, YesNo("invoke telephone switching")},
        {37, YesNo("suppress summary of investment portfolio")},
        {38, YesNo("change report name")},
        {39, YesNo("for future use")},
        {40, YesNo("suppress reporting market index performance")},
        {41, YesNo("suppress reporting zero cash on appraisals")},
        {42, YesNo("combine tax lots on the position summary")},
        {43, YesNo("suppress industry categories in the account appraisal")},
        {44, YesNo("report yield based on cost instead of market value (appraisals)")},
        {45, YesNo("suppress posting of income in the off-line transactions module")},
        {46, YesNo("include unmanaged assets in the main body of the appraisals")},
        {47, Number("select summary of investment portfolio type", 1, 3)},
        {48, YesNo("report zero capital gains on the realized gain/(Loss) report")},
        {49, YesNo("post only buys and sells in the off-line transaction module")},
        {50, YesNo("report second screen bond information on the appraisals")},
        {51, YesNo("assign tax lot for new positions in off-line transactions")},
        {52, YesNo("invoke loan disbursement limit")},
        {53, YesNo("Add % inc. and % unreal. g/l to summary of investment portfolio")},
        {54, Number("append notes from setup to the end of the account appraisal", 0, 2)},
        {55, YesNo("report time weighted rate of return on the account appraisal")},
        {56, YesNo("invoke generic asset allocation model")},
        {57, YesNo("remove dividend rate from the detailed security cross reference")},
        {58, YesNo("report opening and closing cash balances in portfolio changes")},
        {59, YesNo("post cash transactions for buys & sells in off-line transactions")},
        {60, YesNo("post management fees individually for combined accounts")},
        {61, YesNo("credit commissions to the management fee in the billing module")},
        {62, YesNo("suppress reporting item 4 in the type 1 performance summary")},
        {63, YesNo("do not report maturing bonds as cash equivalents in appraisals")},
        {64, YesNo("invoke additional date and description fields on trade screens")},
        {65, YesNo("for future use")},
        {66, YesNo("buy/sell designated money market fund in off-line transactions")},
        {67, Character("for future use")},
        {68, YesNo("report percentage by asset class on the account appraisal")},
        {69, Number("select report date format: mm/dd/yy, mmddccyy, mm/dd/ccyy", 1, 3)},
        {70, YesNo("report 3 and 5 year rate of returns on performance summary")},
        {71, YesNo("annualize rate of returns on the monthly performance by account")},
        {72, Number("account appraisal export file type", 1, 4)},
        {73, Number("performance export file type", 0, 2)},
        {75, YesNo("suppress beginning mkt value & gain/loss on summary of accounts")},
        {76, YesNo("suppress second line of 3,5 year returns on performance summary")},
        {77, Number("rounding option for unit price in the trade screen", 1, 2)},
        {78, Number("transaction ledger export file type", 0, 1)},
        {79, YesNo("suppress common stock summary on the account appraisal")},
        {80, YesNo("print custodian account number on the account appraisal")},
        {81, Number("set system rounding factor", 4, 8)},
        {82, YesNo("do not combine tax lots in the account appraisal")},
        {83, YesNo("print account number on the account appraisal")},
        {84, YesNo("suppress custodian account number on detailed secruity cross ref")},
        {85, YesNo("report investment objective on the account appraisal")},
        {86, YesNo("report investment objective on the performance summary")},
        {87, YesNo("add salutation field to the account appraisal")},
        {88, YesNo("add Salutation field to the monthly performance and summary")},
        {89, YesNo("show Getting Started Tutorial at startup")},
    };
    return options;
}

DialogTemplate OptionsTemplate() {
    std::vector<Node> rows;
    for (int r = 0; r < D::kRows; ++r)
        rows.push_back(Row({Edit(D::kEditIds[r]).Chars(2), CheckBox(D::kCheckIds[r], ""),
                            UpDown(D::kSpinIds[r]), Static(D::kLabelIds[r], "").Chars(72)}));
    // Done is Alt+D, as in the program's other dialogs; the paging buttons
    // take the letters of their directions.
    rows.push_back(Row({Static(D::kPageLabel, "Page 1").Chars(8), Stretch(), Button(D::kPageUp, "Page &Up"),
                        Button(D::kPageDown, "Page Dow&n"), Button(D::kDone, "&Done", kDefault)}));
    return {kOptionsDialogId, "Options Dialog", Column(std::move(rows))};
}

}  // namespace

const OptionInfo& OptionTable(int option) {
    static const OptionInfo none;
    const auto it = Options().find(option);
    return it == Options().end() ? none : it->second;
}

std::string OptionLabel(int option) {
    char number[16];
    std::snprintf(number, sizeof number, "%3d. ", option);
    return number + std::string(OptionTable(option).text);
}

COptionsDlg::COptionsDlg(Window* parent) : Dialog(OptionsTemplate(), parent) {
    for (int r = 0; r < kRows; ++r) {
        Bind(kCheckIds[r], Notify::Clicked, [this, r] { OnCheck(r); });
        Bind(kSpinIds[r], Notify::DeltaPos, Handler([this, r](const Notification& n) { OnSpin(r, n); }));
        Bind(kEditIds[r], Notify::Changed, [this, r] { OnEditChange(r); });
    }
    Bind(kPageUp, Notify::Clicked, &D::OnPageUp);
    Bind(kPageDown, Notify::Clicked, &D::OnPageDown);
    Bind(kDone, Notify::Clicked, &D::OnDone);
}

bool COptionsDlg::OnInitDialog() {
    options_ = records::Rdopts();
    page_ = 0;
    for (const int id : kEditIds) GetDlgItem(id).LimitText(1);
    ShowPage();
    return true;
}

void COptionsDlg::ShowPage() {
    initialising_ = true;
    for (int r = 0; r < kRows; ++r) {
        const int i = kRows * page_ + r;
        const int option = i + 1;
        const OptionInfo& info = OptionTable(option);
        Control edit = GetDlgItem(kEditIds[r]);
        Control check = GetDlgItem(kCheckIds[r]);
        Control spin = GetDlgItem(kSpinIds[r]);
        if (i >= kOptionCount || info.kind == OptionKind::None) {
            SetDlgItemText(kLabelIds[r], "");
            for (Control* c : {&edit, &check, &spin}) {
                c->ShowWindow(SW_HIDE);
                c->EnableWindow(false);
            }
            continue;
        }
        SetDlgItemText(kLabelIds[r], OptionLabel(option));
        const unsigned char value = options_[static_cast<std::size_t>(i)];
        edit.ShowWindow(SW_SHOW);
        edit.EnableWindow(true);
        const bool yes_no = info.kind == OptionKind::YesNo;
        const bool number = info.kind == OptionKind::Number;
        check.ShowWindow(yes_no ? SW_SHOW : SW_HIDE);
        check.EnableWindow(yes_no);
        spin.ShowWindow(number ? SW_SHOW : SW_HIDE);
        spin.EnableWindow(number);
        switch (info.kind) {
            case OptionKind::YesNo:
                check.SetCheck(value != 0 ? 1 : 0);
                edit.SetWindowText(value != 0 ? "Y" : "N");
                break;
            case OptionKind::Number:
                edit.SetWindowText(std::string(1, static_cast<char>(value + '0')));
                break;
            case OptionKind::Character:
                // A byte never written shows as an empty field rather than
                // as a zero character.
                edit.SetWindowText(value == 0 ? std::string() : std::string(1, static_cast<char>(value)));
                break;
            case OptionKind::None:
                break;
        }
    }
    SetDlgItemText(kPageLabel, "Page " + std::to_string(page_ + 1));
    initialising_ = false;
}

void COptionsDlg::OnCheck(int row) {
    const std::size_t i = static_cast<std::size_t>(kRows * page_ + row);
    if (i >= options_.size()) return;
    options_[i] = IsDlgButtonChecked(kCheckIds[static_cast<std::size_t>(row)]) ? 1 : 0;
    ShowPage();
}

void COptionsDlg::OnSpin(int row, const Notification& n) {
    const int option = kRows * page_ + row + 1;
    const OptionInfo& info = OptionTable(option);
    if (info.kind != OptionKind::Number) return;
    unsigned char& value = options_[static_cast<std::size_t>(option - 1)];
    // The arrows step through the range and wrap at its ends. A stored value
    // outside the range (a record never written holds 0) steps into the
    // range rather than further away from it.
    const int v = value;
    int next;
    if (n.delta < 1)
        next = (v >= info.smallest && v < info.largest) ? v + 1 : info.smallest;
    else
        next = (v > info.smallest && v <= info.largest) ? v - 1 : info.largest;
    value = static_cast<unsigned char>(next);
    ShowPage();
}

void COptionsDlg::OnEditChange(int row) {
    if (initialising_) return;
    const int option = kRows * page_ + row + 1;
    const OptionInfo& info = OptionTable(option);
    if (info.kind == OptionKind::None) return;
    const std::string text = GetDlgItemText(kEditIds[static_cast<std::size_t>(row)]);
    unsigned char& value = options_[static_cast<std::size_t>(option - 1)];
    if (text.size() == 1) {
        const char c = text[0];
        switch (info.kind) {
            case OptionKind::YesNo:
                if (c == 'Y' || c == 'y') value = 1;
                if (c == 'N' || c == 'n') value = 0;
                break;
            case OptionKind::Number:
                if (c >= '0' && c <= '9' && c - '0' >= info.smallest && c - '0' <= info.largest)
                    value = static_cast<unsigned char>(c - '0');
                break;
            case OptionKind::Character:
                value = static_cast<unsigned char>(c);
                break;
            case OptionKind::None:
                break;
        }
    }
    ShowPage();
}

void COptionsDlg::OnPageUp() {
    page_ = page_ == 0 ? kLastPage : page_ - 1;
    ShowPage();
}

void COptionsDlg::OnPageDown() {
    ++page_;
    if (kRows * page_ >= kOptionCount) page_ = 0;
    ShowPage();
}

void COptionsDlg::OnDone() {
    records::Wropts(options_);
    EndDialog(IDOK);
}

}  // namespace shell
