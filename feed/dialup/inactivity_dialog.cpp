#include "feed/dialup/inactivity_dialog.h"

#include <QWidget>
#include <memory>

#include "feed/dialup/connection.h"
#include "feed/dialup/data_request.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/state.h"
#include "platform/dialog.h"

namespace feed {
namespace {

using namespace platform;

const DialogTemplate kInactivityTemplate{
    kInactivityDialog, "ORLIN Data Server",
    Column(
        {Row({IconStatic(IDC_STATIC, Picture::LineDown),
              Label("Since there has been no activity this application will shutdown.")}),
         Row({Button(kIdContinue, "&Continue", kDefault), Label("to restart timer and continue processing")}),
         Row({Button(kIdHangup, "&Hangup"), Label("to be disconnected ")}),
         Row({Button(kIdTurnOff, "&Turn Off"),
              Label("to turn off future warnings of inactivity and remain connected")})})};

class InactivityDialog : public Dialog {
public:
    explicit InactivityDialog(Window* owner) : Dialog(kInactivityTemplate, owner) {
        Bind(kIdContinue, Notify::Clicked, [this] { Command(&InactivityDialog::OnContinue); });
        Bind(kIdHangup, Notify::Clicked, [this] { Command(&InactivityDialog::OnHangup); });
        Bind(kIdTurnOff, Notify::Clicked, [this] { Command(&InactivityDialog::OnTurnOff); });
    }

    bool OnInitDialog() override {
        if (!SetTimer(kDialogTimer, kIdleTickMs) && !ContinueWithoutTimer()) {
            OnHangup();
            return false;
        }
        GotoDlgCtrl(kIdContinue);
        State().connection.idle_counter = 0;
        return false;
    }

    void OnTimer(unsigned id) override {
        if (id != kDialogTimer) return;
        if (++State().connection.idle_counter <= kDialogCountdown) return;
        KillTimer(kDialogTimer);
        Command(&InactivityDialog::OnHangup);
    }

    // Escape (and Enter away from the buttons) leaves the dialog up.
    void OnCancel() override { FocusCaller(); }
    void OnOK() override { FocusCaller(); }

private:
    void Command(void (InactivityDialog::*command)()) {
        (this->*command)();
        FocusCaller();
    }

    void OnContinue() {
        if (!StartIdleTimer() && !ContinueWithoutTimer()) {
            OnHangup();
            return;
        }
        State().connection.idle_counter = 0;
        Close();
    }

    void OnHangup() {
        char hangup[] = "HANGUP";
        DataRequest(State().request.caller, " ", hangup);
        State().connection.idle_counter = 0;
        Close();
    }

    void OnTurnOff() {
        md_send_message(kChannelStatus, "User chose to turn off timeout warnings");
        Close();
    }

    void Close() {
        if (IsWindow()) DestroyWindow();
    }

    static void FocusCaller() {
        Window* caller = FromHandle(State().request.caller);
        if (caller && caller->GetWidget()) caller->GetWidget()->activateWindow();
    }
};

std::unique_ptr<InactivityDialog>& TheDialog() {
    static std::unique_ptr<InactivityDialog> dialog;
    return dialog;
}

}  // namespace

void OpenInactivityDialog() {
    auto& dialog = TheDialog();
    if (dialog && dialog->IsWindow()) dialog->DestroyWindow();
    dialog = std::make_unique<InactivityDialog>(FromHandle(State().request.caller));
    dialog->Create(FromHandle(State().request.caller));
}

void CloseInactivityDialog() {
    // The dialog object stays: this may run inside one of its own handlers.
    auto& dialog = TheDialog();
    if (dialog && dialog->IsWindow()) dialog->DestroyWindow();
}

platform::WindowHandle InactivityDialogHandle() {
    const auto& dialog = TheDialog();
    return dialog ? dialog->GetSafeHwnd() : 0;
}

void ReleaseInactivityDialog() {
    CloseInactivityDialog();
    TheDialog().reset();
}

}  // namespace feed
