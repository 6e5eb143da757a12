#pragma once

// The Price Download dialog (dialog 141, Pricing/Auto, report code 62) and
// the feed glue through which the automatic pricing run talks to the data
// feed.
//
// The user chooses Prices, Dividends or Both, all accounts or one client,
// the dates and the diagnostics; Start Download runs Autopric, which calls
// back into FeedConnect, FeedExchangeLine, FeedShowStatus and FeedHangup.
// Those call the data-feed entry the program hands over (ROSPA32's
// ol_DataRequest) with the dialog's window as the caller window, so the
// library's copy-data records arrive at OnCopyData while the call runs:
// they are numbered, listed (newest on top) when "Messages to Listbox" is
// checked, the first answer line of a request is kept for
// FeedExchangeLine, and the first error record of a connection is shown
// and cancels and hangs up the library at once.
//
// The connection state is program-wide: FeedConnect sets the connected
// flag and only FeedHangup clears it, so after an error record the next
// Start Download is refused (status 1) until the run's hang-up or Done.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/copy_data.h"
#include "platform/dialog.h"

namespace pricing {

inline constexpr int kPriceDownloadDialogId = 141;

// The data-feed entry: caller window, request text, writable option text;
// 1 when every request line went through.
using DataRequestEntry = int (*)(std::uintptr_t caller_window, const char* request, char* options);

// The entry the glue calls (the program passes ol_DataRequest; tests the
// one they loaded). Without one the calls do nothing.
void SetFeedEntry(DataRequestEntry entry);
DataRequestEntry FeedEntry();

class CPriceDownloadDlg : public platform::Dialog {
public:
    static constexpr int kIgnorePriced = 1405;
    static constexpr int kPriceDate = 1009;
    static constexpr int kStatusLine = 1027;
    static constexpr int kDivStartLabel = 1025;
    static constexpr int kPriceDateLabel = 1024;
    static constexpr int kDivEndLabel = 1026;
    static constexpr int kDivStartDate = 1010;
    static constexpr int kDivEndDate = 1011;
    static constexpr int kPrices = 1005;
    static constexpr int kDividends = 1006;
    static constexpr int kBoth = 1007;
    static constexpr int kMessages = 1016;
    static constexpr int kClients = 1008;
    static constexpr int kStatusMessages = 1013;
    static constexpr int kLogFile = 1012;
    static constexpr int kMessagesToListbox = 1015;
    static constexpr int kDebugMessages = 1014;
    static constexpr int kSetPricingSwitch = 1018;
    static constexpr int kPickStocks = 1019;
    static constexpr int kSetCommParameters = 1028;
    static constexpr int kStartDownload = 1020;
    static constexpr int kCancelDownload = 1017;
    static constexpr int kDone = 1004;

    explicit CPriceDownloadDlg(platform::Window* parent = nullptr);
    ~CPriceDownloadDlg() override;

    bool OnInitDialog() override;
    // Enter and Escape only move the focus: Done is the only way out.
    void OnOK() override;
    void OnCancel() override;

    // The dialog while it is open, else nullptr.
    static CPriceDownloadDlg* OpenDialog();

    // Inserts a line at the top of the message list 1016.
    void ListLine(std::string_view line);
    bool Listing() const;
    // Shows a text in the status line.
    void ShowStatus(std::string_view text);
    // Runs the data-feed entry with this window as the caller and a
    // writable copy of the options.
    int Request(std::string_view request, std::string_view options);

    // Records from the data-feed library.
    bool OnCopyData(platform::WindowHandle from, const platform::CopyDataRecord& record) override;

private:
    void DoDataExchange();
    void OnStartDownload();
    void OnCancelDownload();
    void OnDone();
    void OnPickStocks();
    void OnSetPricingSwitch();
    void OnSetCommParameters();
    void OnPrices();
    void OnDividends();
    void OnBoth();
    void OnChangePriceDate();
    void OnChangeDivStartDate();
    void OnChangeDivEndDate();
    void EnableDates(bool price, bool dividends);

    platform::Control ignore_priced_, price_date_, status_line_, div_start_label_, price_date_label_,
        div_end_label_, div_start_date_, div_end_date_, prices_, dividends_, both_, messages_, clients_,
        status_messages_, log_file_, messages_to_listbox_, debug_messages_;
};

// ---- The feed glue, called by Autopric. Text fields are fixed-width and
// blank-padded, as the record layer passes them.

// Opens the conversation: RESET, then CONNECT with LINE and the chosen
// diagnostics. Status 0 when it was set up without an error record, 1
// otherwise, and 1 at once while connected or while the set-up program
// runs.
void FeedConnect(int16_t& status);
// Sends one request (its trailing blanks cut) and puts the first answer
// line, blank-padded or cut to 200, into answer. Status 1 (answer
// unchanged) when no answer came, the dialog is not open or nothing is
// connected.
void FeedExchangeLine(std::string_view request, std::string& answer, int16_t& status);
// Ends the connection (Cancel, then HANGUP) and clears the connected flag.
void FeedHangup();
// Shows a progress line in the status line: the first length - 1
// characters without trailing blanks or zero bytes (the first character
// always stays). The caller's text is not changed.
void FeedShowStatus(std::string_view text, int length);

// True from FeedConnect until FeedHangup.
bool FeedConnected();
// The program numbers every data-feed record from its start and never
// resets the count; tests that compare listed lines start it again.
void ResetFeedRecordCounterForTesting();

// ---- The communication set-up program "qrn/setparw /sd" of the data
// directory.

// Starts the set-up program on a worker thread, unless a connection is up
// ("Can not set comm params while connected.") or the program runs
// already ("Comm param menu already up."); refused is then 1. A program
// that cannot be started shows "Error code=N" (the system's error number)
// under "CreateProcess failed.".
void StartSetparw(int16_t& refused);
// The worker: waits for the started program (its process id) to end and
// clears the set-up-running flag.
void RunSetparw(int pid);
// True from the click that starts the set-up program until it has ended
// (or failed to start).
bool SetupProgramRunning();

}  // namespace pricing
