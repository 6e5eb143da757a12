// Import Transactions.

#include "entry/import_transactions_dialog.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "entry/member_import.h"
#include "platform/common_dialogs.h"
#include "platform/message_box.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"
#include "shell/field_helpers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"
#include "shell/report_dialog_parts.h"
#include "shell/report_globals.h"

namespace entry {
namespace {

namespace fs = std::filesystem;
using namespace platform;
using D = CImportTransactionsDlg;

constexpr const char* kSourceNames[] = {
    "Bear Stearns", "DataLynx",     "DST Systems", "Fidelity",   "Jack White & Company", "Rydex",
    "Schwab",       "Smith Barney", "Vanguard",    "Waterhouse", "Credit Union",         "American Skandia"};

DialogTemplate ImportTransactionsTemplate() {
    return {kImportTransactionsDialogId, "Import Transactions",
            Column({Row({Static(D::kFileNameLabel, "Enter File Name:"), Edit(D::kFileName).Chars(48),
                         Button(D::kBrowse, "Browse")}),
                    Row({shell::OutputGroup(), Group(D::kDepositsGroup, "Download Deposits",
                                                     {Radio(D::kBuyRadio, "B for Buy", kChecked),
                                                      Radio(D::kTransferRadio, "SI for Transfer"),
                                                      Row({Static(D::kTransferDateLabel, "Transfer Date"),
                                                           Edit(D::kTransferDate).Chars(10)})})}),
                    shell::FileNameRow(),
                    Row({Static(D::kCashCodeLabel, "Set Manager Code to Cash Balance Code"),
                         CheckBox(D::kCashCodeCheck, "", kChecked), Stretch()}),
                    Row({Static(D::kColumnLabel,
                                "Column Number in Manager Code to be Assigned  the Cash Balance Code"),
                         Edit(D::kColumn).Chars(2), UpDown(D::kColumnSpin), Stretch()}),
                    Row({Static(D::kStartLabel, "Starting Account ID"), Edit(D::kStart).Chars(6), Stretch()}),
                    Row({Stretch(), Button(IDOK, "OK", kDefault), Button(IDCANCEL, "Cancel")})})};
}

bool IsExportCode(int code) {
    return code == kAssetAllocationReportCode || code == kAssetAllocationPostCode;
}

// The file exists as a file (not a directory) and opens for reading.
bool OpensForReading(const std::string& name) {
    const std::string path = records::ResolveName(name);
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

// Whether a file could be written under the name. The test never touches
// a file of that name: it creates a file of its own beside it and removes
// it at once.
bool CanCreate(const std::string& name) {
    const fs::path path = records::ResolveName(name);
    std::error_code error;
    if (fs::is_directory(path, error)) return false;
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = fs::current_path(error);
    if (!fs::is_directory(folder, error)) return false;
    for (int n = 0; n < 1000; ++n) {
        const fs::path probe = folder / ("LDRAPROB." + std::to_string(n));
        if (fs::exists(probe, error)) continue;
        bool made = false;
        {
            std::ofstream file(probe, std::ios::binary);
            made = file.is_open();
        }
        if (made) fs::remove(probe, error);
        return made;
    }
    return false;
}

// A whole number of 1 to 5 digits, blanks around it allowed.
bool ReadWholeNumber(const std::string& text, int32_t& number) {
    const std::string digits = records::Trim(text);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    if (digits.size() > 9) {
        number = kLargestStartingIdentifier + 1;
        return true;
    }
    number = std::stoi(digits);
    return true;
}

}  // namespace

std::string ImportSourceName(int index) {
    return index >= 1 && index <= 12 ? kSourceNames[index - 1] : "";
}

CImportTransactionsDlg::CImportTransactionsDlg(Window* parent)
    : Dialog(ImportTransactionsTemplate(), parent), code_(shell::g_report.ReportCode) {
    Bind(kBrowse, Notify::Clicked, &D::OnBrowse);
    shell::BindOutputRadios(*this);
    Bind(kTransferDate, Notify::Changed, [this] { shell::FilterDateKey(GetDlgItem(kTransferDate)); });
    Bind(kColumn, Notify::Changed, &D::OnColumnChange);
    Bind(kColumnSpin, Notify::DeltaPos, [this](const Notification& n) { OnSpin(n); });
}

bool CImportTransactionsDlg::OnInitDialog() {
    if (code_ == kAssetAllocationReportCode)
        SetWindowText("Asset Allocation Report");
    else if (code_ == kAssetAllocationPostCode)
        SetWindowText("Post Asset Allocation");
    else
        SetWindowText("Import Transactions: " + ImportSourceName(source_index_));
    shell::ResetOutput(*this);

    if (code_ == kCreditUnionCode) {
        CheckDlgButton(kBuyRadio, 1);
        CheckDlgButton(kTransferRadio, 0);
        GetDlgItem(kTransferDate).LimitText(8);
    } else {
        shell::Show(*this, {kDepositsGroup, kBuyRadio, kTransferRadio, kTransferDate, kTransferDateLabel},
                    false);
        shell::Enable(*this, {kBuyRadio, kTransferRadio, kTransferDate}, false);
    }

    if (code_ == kMemberImportCode) {
        GetDlgItem(kColumn).LimitText(1);
        GetDlgItem(kStart).LimitText(5);
        int16_t start = 0, error = 0;
        std::string message;
        Nxtacid(start, error, message);
        if (error != 0) {
            // The number is not to be used: the edit stays empty.
            MessageBox(records::TrimRight(message), "Diagnostic", MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
        } else {
            char text[16];
            std::snprintf(text, sizeof text, "%5.5d", static_cast<int>(start));
            SetDlgItemText(kStart, text);
        }
        column_ = 1;
        SetDlgItemText(kColumn, "1");
        CheckDlgButton(kCashCodeCheck, 1);
    } else {
        shell::Show(*this, {kCashCodeLabel, kColumnLabel, kStartLabel}, false);
        shell::ShowEnable(*this, {kColumnSpin, kColumn, kStart, kCashCodeCheck}, false);
    }
    return true;
}

void CImportTransactionsDlg::OnBrowse() {
    FileDialogRequest request;
    request.filter = IsExportCode(code_) ? "Asset Allocation Export File (*.*)|*.*||"
                                         : "Transaction Files (*.trn)|*.trn|All Files (*.*)|*.*||";
    request.must_exist = true;
    request.owner = GetSafeHwnd();
    if (const std::optional<std::string> file = GetOpenFileName(request)) SetDlgItemText(kFileName, *file);
}

void CImportTransactionsDlg::OnColumnChange() {
    const std::string text = GetDlgItemText(kColumn);
    if (text.empty()) return;
    if (text[0] == '0')
        SetDlgItemText(kColumn, "1");
    else if (static_cast<unsigned char>(text[0]) > '4')
        SetDlgItemText(kColumn, "4");
}

void CImportTransactionsDlg::OnSpin(const Notification& n) {
    if (n.delta > 0) {
        if (column_ > 1) --column_;
    } else if (column_ < 4) {
        ++column_;
    }
    SetDlgItemText(kColumn, std::to_string(column_));
}

void CImportTransactionsDlg::OnOK() {
    shell::ClearMessageList();
    shell::ReportGlobals& g = shell::g_report;
    const int32_t destination = shell::CheckedDestination(*this);
    if (destination >= 0) g.OutputDestination = destination;
    if (destination == shell::kOutputFile) g.OutputFileName = GetDlgItemText(shell::kFileNameEdit);

    const std::string name = GetDlgItemText(kFileName);
    g.ListFileName = name;
    if (!IsExportCode(code_)) {
        if (name.empty() || name.size() > kLongestImportFileName || !OpensForReading(name))
            shell::AddMessage(name + ": Illegal import file name or file does not exist.");
    } else if (!name.empty() && (name.size() > kLongestImportFileName || !CanCreate(name))) {
        shell::AddMessage(name + ": Illegal export file name.");
    }

    g.ReportFlag1 = IsDlgButtonChecked(kBuyRadio) ? 1 : 2;
    if (code_ == kCreditUnionCode) {
        std::string date = GetDlgItemText(kTransferDate);
        if (shell::CheckBlankOrDate(date) != 0) {
            g.TransferDate = date;
        } else {
            g.TransferDate = GetDlgItemText(kTransferDate);
            shell::AddMessage("Illegal transfer date: " + g.TransferDate);
        }
    }

    if (code_ == kMemberImportCode) {
        g.ReportFlag1 = IsDlgButtonChecked(kCashCodeCheck) ? 1 : 0;
        const std::string column = GetDlgItemText(kColumn);
        if (column.empty()) {
            shell::AddMessage("Empty Column Number.");
        } else {
            // The runner reads the digit as a 16-bit number in the first
            // two bytes.
            const int16_t digit = static_cast<int16_t>(column[0] - '0');
            g.LedgerSecurityType = records::Fixed(g.LedgerSecurityType, 4);
            g.LedgerSecurityType[0] = static_cast<char>(digit & 0xff);
            g.LedgerSecurityType[1] = static_cast<char>((digit >> 8) & 0xff);
        }
        const std::string start = GetDlgItemText(kStart);
        g.SelectedAccount = start;
        int32_t number = 0;
        if (ReadWholeNumber(start, number) && number > kLargestStartingIdentifier)
            shell::AddMessage("Account number greater than 32767");
        else if (!ReadWholeNumber(start, number) || number < 1)
            shell::AddMessage("Illegal Starting Account ID: " + start);
    }

    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }
    EndDialog(IDOK);
}

bool CImportTransactionsDlg::OnEnterKey() {
    OnOK();
    return true;
}

void CImportTransactionsDlg::OnCancel() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

}  // namespace entry
