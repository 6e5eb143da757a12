// The Price Download dialog and the feed glue of the automatic pricing run.

#include "pricing/price_download_dialog.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <future>
#include <thread>
#include <vector>

#include "platform/message_box.h"
#include "pricing/automatic_pricing.h"
#include "records/record.h"
#include "reports/aum/aum_run.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"

extern char** environ;

namespace pricing {
namespace {

using namespace platform;
using D = CPriceDownloadDlg;

constexpr const char* kAllAccounts = "All Accounts";
constexpr const char* kRunCaption = "Test QRN Diagnostic";
constexpr const char* kErrorCaption = "Test QRN Diagnostic.";
constexpr const char* kSetupCaption = "SETPARW error.";
constexpr std::size_t kAnswerLimit = 200;

// Program-wide state of the glue, for the life of the program.
struct FeedState {
    DataRequestEntry entry = nullptr;
    CPriceDownloadDlg* open_dialog = nullptr;
    bool connected = false;
    bool error_seen = false;
    long record_counter = 0;
    std::string answer;  // the first answer line of the current request
};

FeedState& State() {
    static FeedState state;
    return state;
}

// Written by the set-up program's worker, read by the user-interface thread.
std::atomic<bool> g_setup_running{false};

DialogTemplate PriceDownloadTemplate() {
    return {kPriceDownloadDialogId, "Price Download",
            Column({
                Row({Column({
                         Group(IDC_STATIC, "Select Request",
                               {Radio(D::kPrices, "Prices"), Radio(D::kDividends, "Dividends"),
                                Radio(D::kBoth, "Both")}),
                         Group(IDC_STATIC, "Select Client", {ListBox(D::kClients).Chars(14).Lines(6)}),
                     }),
                     Column({
                         Group(IDC_STATIC, "Dates",
                               {Row({Static(D::kPriceDateLabel, "Prices as of this Date").Chars(24),
                                     Edit(D::kPriceDate).Chars(10)}),
                                Row({Static(D::kDivStartLabel, "Start Date for Dividends").Chars(24),
                                     Edit(D::kDivStartDate).Chars(10)}),
                                Row({Static(D::kDivEndLabel, "End Date for Dividends").Chars(24),
                                     Edit(D::kDivEndDate).Chars(10)})}),
                         CheckBox(D::kIgnorePriced, "Ignore Securities Already Priced"),
                         Group(IDC_STATIC, "Diagnostic Options",
                               {CheckBox(D::kStatusMessages, "Status Messages"),
                                CheckBox(D::kLogFile, "Log File"),
                                CheckBox(D::kMessagesToListbox, "Messages to Listbox"),
                                CheckBox(D::kDebugMessages, "Debug Messages")}),
                     }),
                     Column({Button(D::kSetPricingSwitch, "Set Pricing Switch "),
                             Button(D::kPickStocks, "Pick Stocks to Price"),
                             Button(D::kSetCommParameters, "Set Comm Parameters"),
                             Button(D::kStartDownload, "Start Download"),
                             Button(D::kCancelDownload, "Cancel Download"), Stretch(),
                             Button(D::kDone, "Done")})}),
                Label("Messages Sent and Received"),
                ListBox(D::kMessages).Chars(80).Lines(8),
                Static(D::kStatusLine, "").Chars(60),
            })};
}

// The first n characters of a text, blank-padded.
std::string Field(std::string_view text, std::size_t n) {
    return records::Fixed(text, n);
}

}  // namespace

void SetFeedEntry(DataRequestEntry entry) {
    State().entry = entry;
}

DataRequestEntry FeedEntry() {
    return State().entry;
}

bool FeedConnected() {
    return State().connected;
}

void ResetFeedRecordCounterForTesting() {
    State().record_counter = 0;
}

bool SetupProgramRunning() {
    return g_setup_running.load();
}

CPriceDownloadDlg::CPriceDownloadDlg(Window* parent) : Dialog(PriceDownloadTemplate(), parent) {
    Bind(kSetPricingSwitch, Notify::Clicked, &D::OnSetPricingSwitch);
    Bind(kCancelDownload, Notify::Clicked, &D::OnCancelDownload);
    Bind(kDone, Notify::Clicked, &D::OnDone);
    Bind(kStartDownload, Notify::Clicked, &D::OnStartDownload);
    Bind(kPickStocks, Notify::Clicked, &D::OnPickStocks);
    Bind(kDivEndDate, Notify::Changed, &D::OnChangeDivEndDate);
    Bind(kPriceDate, Notify::Changed, &D::OnChangePriceDate);
    Bind(kDivStartDate, Notify::Changed, &D::OnChangeDivStartDate);
    Bind(kBoth, Notify::Clicked, &D::OnBoth);
    Bind(kDividends, Notify::Clicked, &D::OnDividends);
    Bind(kPrices, Notify::Clicked, &D::OnPrices);
    Bind(kSetCommParameters, Notify::Clicked, &D::OnSetCommParameters);
}

CPriceDownloadDlg::~CPriceDownloadDlg() {
    // A dialog that ends otherwise than by Done (a failed script) leaves no
    // dangling open dialog behind.
    if (State().open_dialog == this) State().open_dialog = nullptr;
}

CPriceDownloadDlg* CPriceDownloadDlg::OpenDialog() {
    return State().open_dialog;
}

void CPriceDownloadDlg::DoDataExchange() {
    ignore_priced_ = GetDlgItem(kIgnorePriced);
    price_date_ = GetDlgItem(kPriceDate);
    status_line_ = GetDlgItem(kStatusLine);
    div_start_label_ = GetDlgItem(kDivStartLabel);
    price_date_label_ = GetDlgItem(kPriceDateLabel);
    div_end_label_ = GetDlgItem(kDivEndLabel);
    div_start_date_ = GetDlgItem(kDivStartDate);
    div_end_date_ = GetDlgItem(kDivEndDate);
    prices_ = GetDlgItem(kPrices);
    dividends_ = GetDlgItem(kDividends);
    both_ = GetDlgItem(kBoth);
    messages_ = GetDlgItem(kMessages);
    clients_ = GetDlgItem(kClients);
    status_messages_ = GetDlgItem(kStatusMessages);
    log_file_ = GetDlgItem(kLogFile);
    messages_to_listbox_ = GetDlgItem(kMessagesToListbox);
    debug_messages_ = GetDlgItem(kDebugMessages);
}

bool CPriceDownloadDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    DoDataExchange();
    shell::ClearMessageList();
    State().open_dialog = this;

    prices_.SetCheck(1);
    EnableDates(true, false);

    price_date_.LimitText(8);
    div_start_date_.LimitText(8);
    div_end_date_.LimitText(8);
    price_date_.SetWindowText(shell::g_report.EndDate);
    div_end_date_.SetWindowText(shell::g_report.EndDate);
    div_start_date_.SetWindowText(shell::g_report.StartDate);

    shell::FillAccountCombo(clients_);
    clients_.InsertString(0, kAllAccounts);
    clients_.SetCurSel(0);
    return true;
}

void CPriceDownloadDlg::OnOK() {
    NextDlgCtrl();
}

void CPriceDownloadDlg::OnCancel() {
    NextDlgCtrl();
}

void CPriceDownloadDlg::EnableDates(bool price, bool dividends) {
    price_date_.EnableWindow(price);
    price_date_label_.EnableWindow(price);
    div_start_date_.EnableWindow(dividends);
    div_start_label_.EnableWindow(dividends);
    div_end_date_.EnableWindow(dividends);
    div_end_label_.EnableWindow(dividends);
}

void CPriceDownloadDlg::OnPrices() {
    EnableDates(true, false);
}

void CPriceDownloadDlg::OnDividends() {
    EnableDates(false, true);
}

void CPriceDownloadDlg::OnBoth() {
    EnableDates(true, true);
}

void CPriceDownloadDlg::OnChangePriceDate() {
    shell::FilterDateKey(price_date_);
}

void CPriceDownloadDlg::OnChangeDivStartDate() {
    shell::FilterDateKey(div_start_date_);
}

void CPriceDownloadDlg::OnChangeDivEndDate() {
    shell::FilterDateKey(div_end_date_);
}

void CPriceDownloadDlg::OnPickStocks() {
    MessageBox("Manual stock selection not available.", "Price Download.", MB_OK | MB_ICONEXCLAMATION,
               GetSafeHwnd());
}

void CPriceDownloadDlg::ListLine(std::string_view line) {
    messages_.InsertString(0, line);
}

bool CPriceDownloadDlg::Listing() const {
    return messages_to_listbox_.GetCheck() != 0;
}

void CPriceDownloadDlg::ShowStatus(std::string_view text) {
    status_line_.SetWindowText(text);
}

int CPriceDownloadDlg::Request(std::string_view request, std::string_view options) {
    const DataRequestEntry entry = State().entry;
    if (!entry) return 0;
    // The library upper-cases the option text in place: each call gets a
    // writable copy of its own.
    std::vector<char> writable(options.begin(), options.end());
    writable.push_back('\0');
    const std::string text(request);
    return entry(static_cast<std::uintptr_t>(GetSafeHwnd()), text.c_str(), writable.data());
}

void CPriceDownloadDlg::OnStartDownload() {
    shell::ClearMessageList();
    std::string select_flag = "N   ";
    std::string account(8, ' ');
    const int line = clients_.GetCurSel();
    if (line > 0) {
        select_flag = "Y   ";
        account = Field(clients_.GetText(line), 8);
    }
    const bool prices = prices_.GetCheck() != 0;
    const bool both = both_.GetCheck() != 0;
    const char kind = prices ? 'P' : both ? 'B' : 'D';
    const std::string skip_priced = ignore_priced_.GetCheck() != 0 ? "Y   " : "N   ";

    // Each date is checked (and rewritten MM/DD/YY when valid); only the
    // dates the request uses are reported.
    auto take_date = [](Control edit, bool report, const char* message) {
        std::string text = edit.GetWindowText();
        const std::string typed = text;
        if (!shell::CheckDateText(text) && report) shell::AddMessage(message + typed);
        return Field(text, 8);
    };
    const std::string price_date = take_date(price_date_, prices || both, "Illegal price date: ");
    const std::string div_start = take_date(div_start_date_, !prices, "Illegal dividend start date: ");
    const std::string div_end = take_date(div_end_date_, !prices, "Illegal dividend end date: ");
    if (shell::GetMessageCount() > 0) {
        shell::ShowMessageList();
        return;
    }

    ShowStatus("Downloading prices.");
    int16_t status = 0;
    std::string message(128, ' ');
    Autopric(select_flag, account, kind, skip_priced, "N   ", price_date, div_start, div_end, 0, status,
             message, 128);
    ShowStatus("");
    if (status == 0) {
        MessageBox("Generate File called with no errors.", kRunCaption, MB_OK | MB_ICONEXCLAMATION,
                   GetSafeHwnd());
    } else {
        MessageBox(records::TrimRight(message), kRunCaption, MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
    }
}

void CPriceDownloadDlg::OnSetPricingSwitch() {
    // The date of the prices when they are asked for, else the first day of
    // the dividends.
    const bool dated_prices = prices_.GetCheck() != 0 || both_.GetCheck() != 0;
    std::string date = Field((dated_prices ? price_date_ : div_start_date_).GetWindowText(), 8);
    ShowStatus("Setting Autoprice flags.");
    reports::Meom(1, date, "????", "N   ", "Y   ", "N   ", "N   ", 1, "OUTPUT.TMP  ", 12);
    ShowStatus("");
}

void CPriceDownloadDlg::OnDone() {
    if (State().connected) FeedHangup();
    State().open_dialog = nullptr;
    EndDialog(IDOK);
}

void CPriceDownloadDlg::OnCancelDownload() {
    if (!State().connected) return;
    if (Listing()) ListLine("Issuing Hangup due to Cancel button");
    Request("", "HANGUP");
    if (Listing()) ListLine("After Hangup due to Cancel button");
}

void CPriceDownloadDlg::OnSetCommParameters() {
    int16_t refused = 0;
    StartSetparw(refused);
}

bool CPriceDownloadDlg::OnCopyData(WindowHandle, const CopyDataRecord& record) {
    FeedState& state = State();
    ++state.record_counter;
    char number[32];
    std::snprintf(number, sizeof number, "%5ld : ", state.record_counter);
    std::string line = number;
    const std::string_view text = record.Text();
    switch (record.channel) {
        case 1:
            line += "error";
            break;
        case 3:
            line += "status";
            break;
        case 5:
            line += "receive";
            break;
        case 6:
            line += "send";
            break;
        case 25:
            line += "line";
            if (state.answer.empty()) state.answer = std::string(text.substr(0, kAnswerLimit));
            break;
        case 26:
            line += "block";
            break;
        default:
            line += "unknown";
            break;
    }
    line += " :";
    if (record.channel == 26)
        line += "...";
    else
        line += text;
    if (Listing()) ListLine(line);

    if (record.channel == 1 && !state.error_seen) {
        state.error_seen = true;
        MessageBox(line, kErrorCaption, MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
        Request("", "Cancel");
        Request("", "HANGUP");
    }
    return true;
}

// ---- Feed glue

void FeedConnect(int16_t& status) {
    status = 0;
    FeedState& state = State();
    CPriceDownloadDlg* dialog = state.open_dialog;
    if (state.connected || g_setup_running.load() || !dialog) {
        status = 1;
        return;
    }
    state.connected = true;
    state.error_seen = false;
    const bool listing = dialog->Listing();

    if (listing) dialog->ListLine("Issuing RESET");
    dialog->Request("", "RESET");
    if (listing) dialog->ListLine("After RESET");

    std::error_code error;
    std::filesystem::remove("packets.log", error);

    std::string options = "CONNECT,LINE";
    if (dialog->IsDlgButtonChecked(CPriceDownloadDlg::kLogFile)) options += ",LOG=packets.dat";
    if (dialog->IsDlgButtonChecked(CPriceDownloadDlg::kStatusMessages)) options += ",STATUS";
    if (dialog->IsDlgButtonChecked(CPriceDownloadDlg::kDebugMessages)) options += ",DEBUG";
    if (listing) dialog->ListLine(options);
    dialog->Request("", options);
    if (listing) dialog->ListLine("After CONNECT");

    if (state.error_seen) status = 1;
}

void FeedExchangeLine(std::string_view request, std::string& answer, int16_t& status) {
    status = 0;
    FeedState& state = State();
    CPriceDownloadDlg* dialog = state.open_dialog;
    if (!dialog || !state.connected) {
        status = 1;
        return;
    }
    const std::string line =
        records::TrimRight(request.substr(0, std::min<std::size_t>(request.size(), 200)));
    state.answer.clear();
    dialog->Request(line, "LINE");
    if (state.answer.empty()) {
        status = 1;
        return;
    }
    answer = Field(state.answer, kAnswerLimit);
}

void FeedHangup() {
    FeedState& state = State();
    CPriceDownloadDlg* dialog = state.open_dialog;
    if (!state.connected) return;
    if (dialog) {
        const bool listing = dialog->Listing();
        if (listing) dialog->ListLine("Issuing Cancel");
        dialog->Request("", "Cancel");
        if (listing) {
            dialog->ListLine("After Cancel");
            dialog->ListLine("Issuing Hangup");
        }
        dialog->Request("", "HANGUP");
        if (listing) dialog->ListLine("After Hangup");
    }
    state.connected = false;
}

void FeedShowStatus(std::string_view text, int length) {
    FeedState& state = State();
    if (!state.open_dialog || !state.connected) return;
    // The last position ends the text; blanks and zero bytes before it are
    // dropped back to the second position. Done on a copy: the caller's
    // field stays blank-padded.
    std::string shown(text.substr(0, std::min<std::size_t>(text.size(), length > 0 ? length : 0)));
    if (!shown.empty()) shown.pop_back();
    while (shown.size() > 1 && (shown.back() == ' ' || shown.back() == '\0')) shown.pop_back();
    state.open_dialog->ShowStatus(shown);
}

// ---- The communication set-up program

void StartSetparw(int16_t& refused) {
    refused = 0;
    if (State().connected) {
        MessageBox("Can not set comm params while connected.", kSetupCaption, MB_OK | MB_ICONEXCLAMATION);
        refused = 1;
        return;
    }
    // The flag is taken before the worker starts, so that a second click
    // meanwhile cannot start a second set-up program.
    bool expected = false;
    if (!g_setup_running.compare_exchange_strong(expected, true)) {
        MessageBox("Comm param menu already up.", kSetupCaption, MB_OK | MB_ICONEXCLAMATION);
        refused = 1;
        return;
    }
    // The worker starts the program and reports the start at once; it then
    // waits for the program's end on its own. The start's outcome comes
    // back here so that a failure is shown on the user-interface thread.
    std::promise<int> started;
    std::future<int> start_error = started.get_future();
    std::thread worker([promise = std::move(started)]() mutable {
        std::string program = "qrn/setparw";
        std::string argument = "/sd";
        char* argv[] = {program.data(), argument.data(), nullptr};
        pid_t pid = 0;
        const int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ);
        // A failed start clears the flag before the click's handler hears of
        // it, so that the next click after the message can start again.
        if (error != 0) g_setup_running.store(false);
        promise.set_value(error);
        if (error == 0) RunSetparw(pid);
    });
    worker.detach();
    if (const int error = start_error.get(); error != 0) {
        char text[64];
        std::snprintf(text, sizeof text, "Error code=%lu", static_cast<unsigned long>(error));
        MessageBox(text, "CreateProcess failed.", MB_OK | MB_ICONEXCLAMATION);
    }
}

void RunSetparw(int pid) {
    int wait_status = 0;
    while (waitpid(static_cast<pid_t>(pid), &wait_status, 0) < 0 && errno == EINTR) {
    }
    g_setup_running.store(false);
}

}  // namespace pricing
