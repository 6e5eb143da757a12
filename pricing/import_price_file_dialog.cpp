// The Import Price File dialog.

#include "pricing/import_price_file_dialog.h"

#include <filesystem>
#include <fstream>

#include "platform/common_dialogs.h"
#include "records/files.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"

namespace pricing {
namespace {

using namespace platform;
using D = CImportPriceFileDlg;

// The layouts in the order of their codes 1 to 7.
constexpr const char* kLayoutNames[] = {
    "TREL Generic 1", "Schwab / Smith Barney", "Generic 3", "Generic 4", "Generic 5", "Fidelity", "DST"};

DialogTemplate ImportPriceFileTemplate() {
    return {
        kImportPriceFileDialogId, "Import Price File",
        Column({
            Row({Group(IDC_STATIC, "Security Identification",
                       {Radio(D::kSymbol, "Symbol", kChecked), Radio(D::kCusip, "CUSIP")}),
                 Group(IDC_STATIC, "Output",
                       {Radio(D::kPrintPreview, "Print Preview"), Radio(D::kPrint, "Print"),
                        Radio(D::kFile, "File"), Radio(D::kDisplay, "Display", kChecked),
                        Row({Static(D::kOutputNameLabel, "File Name"), Edit(D::kOutputName).Chars(14)})}),
                 Group(IDC_STATIC, "File Type", {ListBox(D::kLayoutList).Chars(24).Lines(7)})}),
            Row({Label("Enter File Name:"), Edit(D::kImportName).Chars(48), Button(D::kBrowse, "Browse")}),
            Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")}),
        })};
}

// The import file exists and opens for reading.
bool OpensForReading(const std::string& name) {
    const std::string path = records::ResolveName(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

}  // namespace

CImportPriceFileDlg::CImportPriceFileDlg(Window* parent) : Dialog(ImportPriceFileTemplate(), parent) {
    Bind(kOk, Notify::Clicked, [this] { OnOK(); });
    Bind(kCancel, Notify::Clicked, [this] { EndDialog(IDCANCEL); });
    Bind(kBrowse, Notify::Clicked, &D::OnBrowse);
    Bind(kDisplay, Notify::Clicked, [this] { ShowOutputName(false); });
    Bind(kFile, Notify::Clicked, &D::OnFile);
    Bind(kPrint, Notify::Clicked, [this] { ShowOutputName(false); });
    Bind(kPrintPreview, Notify::Clicked, [this] { ShowOutputName(false); });
}

bool CImportPriceFileDlg::OnInitDialog() {
    Control list = GetDlgItem(kLayoutList);
    for (const char* name : kLayoutNames) list.AddString(name);
    list.SetCurSel(0);
    CheckDlgButton(kDisplay, 1);
    CheckDlgButton(kPrint, 0);
    CheckDlgButton(kPrintPreview, 0);
    CheckDlgButton(kFile, 0);
    GetDlgItem(kOutputName).LimitText(12);
    ShowOutputName(false);
    CheckDlgButton(kSymbol, 1);
    CheckDlgButton(kCusip, 0);
    return true;
}

void CImportPriceFileDlg::ShowOutputName(bool show) {
    Control name = GetDlgItem(kOutputName);
    name.EnableWindow(show);
    name.ShowWindow(show ? SW_SHOW : SW_HIDE);
    GetDlgItem(kOutputNameLabel).ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CImportPriceFileDlg::OnFile() {
    ShowOutputName(true);
}

void CImportPriceFileDlg::OnBrowse() {
    FileDialogRequest request;
    request.filter = "Price Files (*.pri)|*.pri|All Files (*.*)|*.*||";
    request.must_exist = true;
    request.owner = GetSafeHwnd();
    if (const std::optional<std::string> file = GetOpenFileName(request)) SetDlgItemText(kImportName, *file);
}

void CImportPriceFileDlg::OnOK() {
    using shell::g_report;
    if (IsDlgButtonChecked(kPrint))
        g_report.OutputDestination = shell::kOutputPrint;
    else if (IsDlgButtonChecked(kPrintPreview))
        g_report.OutputDestination = shell::kOutputPreview;
    else if (IsDlgButtonChecked(kFile))
        g_report.OutputDestination = shell::kOutputFile;
    else if (IsDlgButtonChecked(kDisplay))
        g_report.OutputDestination = shell::kOutputDisplay;
    if (g_report.OutputDestination == shell::kOutputFile)
        g_report.OutputFileName = GetDlgItemText(kOutputName);

    const std::string name = GetDlgItemText(kImportName);
    g_report.ListFileName = name;
    if (!name.empty() && name.size() <= kLongestImportName && OpensForReading(name)) {
        g_report.ReportVariant = static_cast<int16_t>(GetDlgItem(kLayoutList).GetCurSel() + 1);
        g_report.SelectionScope = IsDlgButtonChecked(kSymbol) ? 1 : 2;
        EndDialog(IDOK);
        return;
    }
    shell::ClearMessageList();
    shell::AddMessage(name + ": Illegal import file name or file does not exist.");
    shell::ShowMessageList();
}

bool CImportPriceFileDlg::OnEscapeKey() {
    NextDlgCtrl();
    return true;
}

}  // namespace pricing
