#pragma once

// The one seam for everything that waits for a person: modal dialogs,
// message boxes and the common dialogs (files, font, colour, printer), and
// the beep that tells a person something was refused. One Interaction is
// installed for the whole process. On screen (the default) it runs the real
// Qt dialogs; in tests a ScriptedInteraction answers them from a script, so
// a test drives the program's dialogs exactly as a person would, offscreen.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/constants.h"
#include "platform/handle.h"

class QPrinter;

namespace platform {

class Dialog;

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    unsigned flags = MB_OK;
    WindowHandle owner = 0;
};

struct FileDialogRequest {
    bool save = false;
    std::string title;  // empty: "Open" or "Save As"
    // Filter in the classic form "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||":
    // pairs of a description and its patterns (";"-separated).
    std::string filter;
    std::string initial_name;
    std::string initial_dir;
    std::string default_ext;  // added to a saved name that has no extension
    bool must_exist = true;   // open: the file must exist
    WindowHandle owner = 0;
};

struct FontChoice {
    std::string face;
    int point_size = 10;
    bool bold = false;
    bool italic = false;
};

struct FontRequest {
    FontChoice initial;
    WindowHandle owner = 0;
    bool fixed_pitch_only = false;  // offer fixed-pitch faces only
};

// A colour as 0x00BBGGRR, the form colour files keep.
using ColorRef = std::uint32_t;
constexpr ColorRef Rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

struct ColorRequest {
    ColorRef initial = 0;
    WindowHandle owner = 0;
};

enum class PrintDialogKind { Setup, Print, Preview };

struct PrintRequest {
    PrintDialogKind kind = PrintDialogKind::Setup;
    QPrinter* printer = nullptr;  // the settings the dialog shows and changes
    WindowHandle owner = 0;
    // Preview: paints the pages on the printer it is given (the preview's
    // pages, or the printer when the person prints from the preview).
    std::function<void(QPrinter& printer)> paint;
};

class Interaction {
public:
    virtual ~Interaction() = default;
    // Runs a built modal dialog: calls `init` (which runs OnInitDialog) and
    // then lets the person work until the dialog has ended. Returns the end
    // code.
    virtual int RunModal(Dialog& dialog, const std::function<void()>& init) = 0;
    // Returns IDOK, IDCANCEL, IDYES, IDNO, IDRETRY, IDABORT or IDIGNORE.
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // The chosen file's path, or nothing when cancelled.
    virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<FontChoice> ShowFontDialog(const FontRequest& request) = 0;
    virtual std::optional<ColorRef> ShowColorDialog(const ColorRequest& request) = 0;
    // True when the person confirmed (the printer then holds the settings);
    // for a preview, when the person printed from it.
    virtual bool ShowPrintDialog(const PrintRequest& request) = 0;
    virtual void Beep(unsigned type) = 0;
};

// The real dialogs on screen.
class ScreenInteraction : public Interaction {
public:
    int RunModal(Dialog& dialog, const std::function<void()>& init) override;
    int ShowMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
    std::optional<FontChoice> ShowFontDialog(const FontRequest& request) override;
    std::optional<ColorRef> ShowColorDialog(const ColorRequest& request) override;
    bool ShowPrintDialog(const PrintRequest& request) override;
    void Beep(unsigned type) override;
};

// The installed interaction (the screen one unless another was installed).
Interaction& CurrentInteraction();
// Installs an interaction (nullptr: the screen one); returns the previous.
Interaction* InstallInteraction(Interaction* interaction);

class ScopedInteraction {
public:
    explicit ScopedInteraction(Interaction& interaction) : previous_(InstallInteraction(&interaction)) {}
    ~ScopedInteraction() { InstallInteraction(previous_); }
    ScopedInteraction(const ScopedInteraction&) = delete;
    ScopedInteraction& operator=(const ScopedInteraction&) = delete;

private:
    Interaction* previous_;
};

}  // namespace platform
