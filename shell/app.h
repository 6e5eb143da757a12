#pragma once

// The application object: the program's start-up (document templates, the
// main frame, the first window, the printer settings and the start-up text),
// the File and Help commands of the framework, and the event loop.
//
// The four document templates keep their positions, by which other code
// opens windows: 0 the report display, 1 the transaction list, 2 the print
// view, 3 the chart. A later subsystem may give a template its own view
// before start-up (SetViewFactory); until then a template opens the shell's
// own view for it.

#include <QPrinter>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/constants.h"
#include "platform/doc_template.h"
#include "shell/main_frame.h"

namespace shell {

enum TemplatePosition : int {
    kDisplayTemplate = 0,
    kTranListTemplate = 1,
    kPrintViewTemplate = 2,
    kChartTemplate = 3,
};

// Window flags of the shell, alive for the whole run.
struct AppState {
    // The next report display window shows the start-up text.
    int32_t startup_text_pending = 1;
    // The next child frame holds the transaction list.
    int32_t tran_list_pending = 0;
};

extern AppState g_app_state;

// The document of every template: it holds no data and reads and writes
// nothing; it only names new documents "Ledra1", "Ledra2", ...
class CLedraDoc {
public:
    static constexpr const char* kDocumentString = "\nLedra\nLedra\n\n\nLedra.Document\nLedra Document";
    static std::string NextTitle();
};

class CLedraApp {
public:
    // Starts a run: the program-wide state (report globals, printer
    // settings, flags, message list) begins afresh.
    CLedraApp();
    ~CLedraApp();
    CLedraApp(const CLedraApp&) = delete;
    CLedraApp& operator=(const CLedraApp&) = delete;

    // Gives a template its view; before InitInstance.
    void SetViewFactory(int position, platform::DocTemplate::ViewFactory factory);

    // The start-up sequence; false (the program ends) when the main frame
    // could not be made.
    bool InitInstance(int show_command = platform::SW_SHOWNORMAL);
    // Runs the event loop until the main frame closes.
    int Run();

    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();

    CMainFrame* GetMainFrame() const { return frame_.get(); }
    const platform::DocTemplateList& Templates() const { return templates_; }
    QPrinter& Printer();

private:
    std::array<platform::DocTemplate::ViewFactory, 4> factories_;
    platform::DocTemplateList templates_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<QPrinter> printer_;
};

// The application object of the run, or nullptr.
CLedraApp* TheApp();

// Makes `path` the data directory: created when it does not exist (a
// directory made here starts with the standard security type table), then
// made the current directory. An error text when it cannot be used.
std::string EnterDataDirectory(const std::filesystem::path& path);

}  // namespace shell
