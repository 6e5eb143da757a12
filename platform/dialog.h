#pragma once

// Dialogs built from a resource table. A dialog class derives from Dialog,
// binds its handlers in its constructor and overrides OnInitDialog, OnOK
// and OnCancel as it needs:
//
//   class AboutDialog : public platform::Dialog {
//   public:
//       AboutDialog() : Dialog(kAboutTable) { Bind(1169, Notify::Clicked, &AboutDialog::OnGenerate); }
//       bool OnInitDialog() override { ...; return true; }
//   };
//   int result = AboutDialog().DoModal();
//
// The widgets exist from DoModal (or Create) until the dialog ends. The OK
// button (IDOK) runs OnOK and the Cancel button (IDCANCEL) runs OnCancel
// unless the class binds other handlers to them. Enter never closes a
// data-entry dialog: on a push button it presses that button, anywhere else
// it moves the focus to the next control. A dialog that asks for a choice
// rather than for data lets Enter press its default button instead
// (PressDefaultButton). Escape and the close box are the IDCANCEL command
// (OnCancel by default).
//
// DoModal hands the built dialog to the installed Interaction (see
// interaction.h): on screen the dialog is shown and runs until it ends; in
// tests a script answers it.

#include <string>
#include <vector>

#include "platform/resource.h"
#include "platform/window.h"

class QSpacerItem;

namespace platform {

class Dialog : public Window {
public:
    explicit Dialog(DialogTemplate table, Window* parent = nullptr);
    ~Dialog() override;

    // Builds the dialog, runs OnInitDialog, lets the person (or the script)
    // work with it until it ends, destroys it and returns its end code
    // (IDOK, IDCANCEL or the code given to EndDialog); -1 when it could not
    // be built (already open, or no application object).
    int DoModal();
    // Builds and shows the dialog without waiting (a modeless dialog); it
    // lives until DestroyWindow.
    bool Create(Window* parent = nullptr);
    // Ends the dialog with a code. A modal dialog's DoModal then returns the
    // code; a modeless dialog is hidden.
    void EndDialog(int code);

    int TemplateId() const { return table_.id; }
    // The table the dialog is built from.
    const DialogTemplate& Template() const { return table_; }
    bool IsModal() const { return modal_; }
    bool IsEnded() const { return ended_; }
    int EndCode() const { return end_code_; }

    // Runs after the controls exist. True: the focus goes to the first
    // control that takes it; false: the dialog placed the focus itself.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    bool OnEnterKey() override;
    bool OnEscapeKey() override;
    void SetWindowText(std::string_view text) override;

    // The window that holds control `control_id` as a person sees the
    // dialog: the dialog itself, or the shown page of a property sheet.
    // Scripts act on controls through it.
    virtual Window& ActionWindow(int control_id);

    // Open dialogs (modal and modeless), most recently opened last.
    static std::vector<Dialog*> OpenDialogs();
    // The most recently opened dialog of a resource id, or nullptr.
    static Dialog* FindOpen(int template_id);

protected:
    // Enter in a dialog that asks for a choice: presses the push button that
    // has the focus, else the default push button (kDefault) while it shows
    // and is enabled. False when neither can be pressed.
    bool PressDefaultButton();

private:
    bool Build(Window* parent);
    // Keeps the dialog wide enough for its title to show whole.
    void FitTitle();
    void RunInit();

    DialogTemplate table_;
    Window* parent_;
    QSpacerItem* title_room_ = nullptr;  // in the dialog's layout while it is built
    bool modal_ = false;
    bool ended_ = false;
    int end_code_ = 0;
};

}  // namespace platform
