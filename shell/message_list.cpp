// The message list and the report errors window.

#include "shell/message_list.h"

#include <QFontDatabase>
#include <QWidget>
#include <algorithm>
#include <map>

#include "shell/command_ids.h"
#include "shell/main_frame.h"
#include "shell/report_globals.h"
#include "shell/report_paging.h"

namespace shell {
namespace {

using namespace platform;

std::vector<std::string>& Messages() {
    static std::vector<std::string> messages;
    return messages;
}

// How many lines at the head of the list carry their number already: a
// list shown twice (or grown after it was shown) numbers each line once.
std::size_t& NumberedLines() {
    static std::size_t numbered = 0;
    return numbered;
}

DialogTemplate ErrorsTemplate() {
    std::vector<Node> lines;
    for (int id : CReportErrorsDlg::kLineIds) lines.push_back(Static(id, "", kFixedPitch).Chars(86));
    return {kReportErrorsDialogId, "Report Errors",
            Column({Row({Column(std::move(lines)), ScrollBar(CReportErrorsDlg::kScrollBar).Lines(8)}),
                    Row({Stretch(), Button(IDOK, "Done", kDefault), Stretch()})})};
}

}  // namespace

void AddMessage(std::string_view text) {
    Messages().emplace_back(text);
}

int GetMessageCount() {
    return static_cast<int>(Messages().size());
}

const std::vector<std::string>& GetMessages() {
    return Messages();
}

void ShowMessageList() {
    std::vector<std::string>& messages = Messages();
    if (messages.empty()) return;
    for (std::size_t& i = NumberedLines(); i < messages.size(); ++i)
        messages[i] = std::to_string(i + 1) + "." + messages[i];
    g_report.LineSource = kLinesFromMessageList;
    CReportErrorsDlg& dialog = ReportErrorsDialog();
    if (dialog.IsWindow()) {
        if (dialog.IsModal()) return;  // already showing; it reads the list as it stands
        dialog.DestroyWindow();
    }
    // The window opens on top of the dialog that found the errors and takes
    // the input until Done: behind a modal request dialog a modeless window
    // could not be reached.
    dialog.DoModal();
}

void ClearMessageList() {
    CReportErrorsDlg& dialog = ReportErrorsDialog();
    if (dialog.IsWindow()) {
        if (dialog.IsModal())
            dialog.EndDialog(IDOK);
        else
            dialog.DestroyWindow();
    }
    Messages().clear();
    NumberedLines() = 0;
}

CReportErrorsDlg& ReportErrorsDialog() {
    static CReportErrorsDlg dialog;
    return dialog;
}

std::string ErrorsCaption(int report_code) {
    static const std::map<int, std::string> captions = {
        {21, "New Buy/Sell Input Errors"},
        {44, "Download Client Information Errors"},
        {81, "Transaction Ledger Input Errors"},
        {82, "Security Cross Reference Input Errors"},
        {83, "Account Directory Input Errors"},
        {84, "Gain/Loss Report Input Errors"},
        {85, "Income Summary Input Errors"},
        {86, "Commissions by Broker Errors"},
        {89, "Block Size Errors"},
        {90, "Member Statement Input Errors"},
        {91, "Form 1099B Input Errors"},
        {92, "Trade Memorandum Input Errors"},
        {93, "Commissions by Account Errors"},
        {94, "Commission Detail by Broker Errors"},
        {95, "Portfolio Changes Errors"},
        {101, "Working Appraisal Input Errors"},
        {102, "Position Summary Input Errors"},
        {103, "Account Appraisal Input Errors"},
        {104, "Investment History Input Errors"},
        {108, "Summary of Assets Under Management Errors"},
        {109, "Summary of Accounts Errors"},
        {121, "Performance Report Input Errors"},
        {181, "Account List Input Errors"},
        {182, "Security List Input Errors"},
        {183, "Broker List Input Errors"},
        {184, "Bond List Input Errors"},
        {185, "Custodian List Input Errors"},
        {186, "Account List (Summary) Input Errors"},
        {221, "Fixed Income Appraisal Errors"},
        {222, "Maturity Analysis Errors"},
        {223, "Rating Analysis Errors"},
        {224, "Coupon Analysis Errors"},
        {225, "Yield Analysis Errors"},
        {226, "Income Flow Analysis (fixed) Errors"},
        {227, "Income Flow Analysis (other) Errors"},
        {228, "Fixed Income Summary Errors"},
        {281, "Import Bear Stearns Errors"},
        {282, "Import Data Lynx Errors"},
        {283, "Import DST Systems Errors"},
        {284, "Import Fidelity Errors"},
        {285, "Import Jack White Errors"},
        {286, "Import Rydex Errors"},
        {287, "Import Schwabb Errors"},
        {288, "Import Smith Barney Errors"},
        {289, "Import Vanguard Errors"},
        {290, "Import Waterhouse Errors"},
        {291, "Import Credit Unions Errors"},
        {341, "Account ID Search Errors"},
        {342, "Custodian ID Search Errors"},
        {343, "Security ID Search Errors"},
        {361, "Stock Split Errors"},
        {362, "Stock Split Errors"},
        {363, "Stock Split Errors"},
    };
    auto it = captions.find(report_code);
    return it == captions.end() ? std::string() : it->second;
}

CReportErrorsDlg::CReportErrorsDlg() : Dialog(ErrorsTemplate()) {
    Bind(kScrollBar, Notify::Scroll, [this](const Notification& n) { OnVScroll(n); });
}

bool CReportErrorsDlg::OnInitDialog() {
    line_count_ = GetMessageCount();
    offset_ = 0;
    Control bar = GetDlgItem(kScrollBar);
    if (line_count_ < kLines + 1) bar.ShowWindow(SW_HIDE);
    if (std::string caption = ErrorsCaption(g_report.ReportCode); !caption.empty()) SetWindowText(caption);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int id : kLineIds)
        if (QWidget* w = GetDlgItem(id).Widget()) w->setFont(fixed);
    bar.SetScrollRange(1, std::max(1, line_count_ - (kLines - 1)));
    bar.SetScrollPos(1);
    ShowLines();
    Refresh();
    return true;
}

void CReportErrorsDlg::ShowLines() {
    const int first = GetDlgItem(kScrollBar).GetScrollPos();
    for (int k = 0; k < kLines; ++k) {
        const int number = first + k;
        std::string& line = lines_[k];
        line.clear();
        if (number < 1 || number > line_count_) continue;
        if (g_report.LineSource == kLinesFromReportFile) {
            std::string record;
            if (!ReadReportLine(g_report.ReportWindowNumber, number, record)) continue;
            record.resize(134, ' ');
            line = record.substr(std::min(offset_, record.size()), kShownWidth);
        } else if (g_report.LineSource == kLinesFromMessageList) {
            const std::vector<std::string>& messages = GetMessages();
            if (number <= static_cast<int>(messages.size())) {
                const std::string& message = messages[number - 1];
                line = message.substr(std::min(offset_, message.size()));
            }
        }
    }
}

void CReportErrorsDlg::Refresh() {
    for (int k = 0; k < kLines; ++k) SetDlgItemText(kLineIds[k], lines_[k]);
}

void CReportErrorsDlg::OnVScroll(const Notification& n) {
    Control bar = GetDlgItem(kScrollBar);
    if (!MoveScrollBar(bar, n, kLines)) return;
    ShowLines();
    Refresh();
}

void CReportErrorsDlg::OnOK() {
    ClearMessageList();
}

void CReportErrorsDlg::OnCancel() {
    ClearMessageList();
}

}  // namespace shell
