// The application object and the program's start-up.

#include "shell/app.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

#include "platform/common_dialogs.h"
#include "platform/text.h"
#include "records/common_file.h"
#include "records/options.h"
#include "records/security_types.h"
#include "shell/about_dialog.h"
#include "shell/chart_view.h"
#include "shell/child_frames.h"
#include "shell/command_ids.h"
#include "shell/data_directory.h"
#include "shell/dispatch.h"
#include "shell/display_view.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"
#include "shell/placeholder_views.h"
#include "shell/print_view.h"
#include "shell/printer_settings.h"
#include "shell/report_globals.h"
#include "shell/tax_disk.h"
#include "shell/tran_selection.h"

namespace shell {

AppState g_app_state;

namespace {

CLedraApp* g_app = nullptr;
int g_document_count = 0;

// Option 89 (byte 89 of the options record): show the start-up text.

std::unique_ptr<platform::ChildFrame> MakeChildFrame() {
    return std::make_unique<CChildFrame>();
}
std::unique_ptr<platform::ChildFrame> MakeChartFrame() {
    return std::make_unique<CChildFrameChart>();
}

}  // namespace

std::string CLedraDoc::NextTitle() {
    return "Ledra" + std::to_string(++g_document_count);
}

CLedraApp* TheApp() {
    return g_app;
}

CLedraApp::CLedraApp() {
    g_app = this;
    g_report = ReportGlobals();
    g_printer = PrinterSettings();
    g_app_state = AppState();
    g_tran_selection = TranSelection();
    g_document_count = 0;
    ClearMessageList();
    factories_ = {[] { return std::make_unique<CDisplayNew>(); },
                  [] { return std::make_unique<EmptyView>(); }, [] { return std::make_unique<CPrintView>(); },
                  [] { return std::make_unique<CChartView>(); }};
}

CLedraApp::~CLedraApp() {
    ClearMessageList();
    // The number filters work while a main frame exists.
    g_number_entry_flag = 0;
    if (frame_) frame_->DestroyWindow();
    frame_.reset();
    if (g_app == this) g_app = nullptr;
}

void CLedraApp::SetViewFactory(int position, platform::DocTemplate::ViewFactory factory) {
    if (position >= 0 && position < static_cast<int>(factories_.size()))
        factories_[position] = std::move(factory);
}

bool CLedraApp::InitInstance(int show_command) {
    // Four templates on one document, in this order: other code opens
    // windows by position.
    const std::string name = "Ledra";
    templates_.Add({name, factories_[kDisplayTemplate], MakeChildFrame});
    templates_.Add({name, factories_[kTranListTemplate], MakeChildFrame});
    templates_.Add({name, factories_[kPrintViewTemplate], MakeChildFrame});
    templates_.Add({name, factories_[kChartTemplate], MakeChartFrame});

    // The commands of the dispatcher (the Charts command among them) and the
    // tax disk check that the 1099 reports run first.
    RegisterDispatcherCommands();
    RegisterTaxDiskCheckDialog();

    // Before the frame stores the program date: the first write.
    CheckDataDirectoryAtStartup();

    frame_ = std::make_unique<CMainFrame>();
    if (!frame_->LoadFrame(templates_)) {
        frame_.reset();
        return false;
    }
    frame_->Bind(platform::ID_APP_ABOUT, platform::Notify::Clicked, [this] { OnAppAbout(); });
    frame_->Bind(platform::ID_FILE_NEW, platform::Notify::Clicked, [this] { OnFileNew(); });
    frame_->Bind(platform::ID_FILE_OPEN, platform::Notify::Clicked, [this] { OnFileOpen(); });
    frame_->Bind(platform::ID_FILE_PRINT_SETUP, platform::Notify::Clicked, [this] { OnFilePrintSetup(); });
    frame_->Bind(platform::ID_FILE_CLOSE, platform::Notify::Clicked, [this] {
        if (platform::ChildFrame* child = frame_->MDIGetActive()) child->PostClose();
    });
    frame_->EnableCommand(platform::ID_APP_ABOUT, true);

    // A comfortable size on the screen, before the first window opens in it.
    if (QMainWindow* w = frame_->GetMainWindow()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            w->resize(std::min(area.width(), std::max(1100, area.width() * 9 / 10)),
                      std::min(area.height(), std::max(700, area.height() * 4 / 5)));
        }
        if (QLayout* layout = w->layout()) layout->activate();
    }
    // The command line names no file: a new document.
    OnFileNew();
    // Room for the whole menu bar where the screen has it, with the buttons
    // of a maximized child window beside it.
    if (QMainWindow* w = frame_->GetMainWindow()) {
        const int wanted = w->menuBar()->sizeHint().width() + 80;
        if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && wanted > w->width())
            w->resize(std::min(wanted, screen->availableGeometry().width()), w->height());
    }

    frame_->ShowWindow(show_command);

    g_printer = ReadPrinterSettings();
    // Dialog lists laid out in columns show in the report windows' face.
    platform::SetFixedPitchFace(g_printer.PrinterFontName);
    const records::Options options = records::Rdopts();
    if (records::OptionOn(options, records::Opt::kStartupTutorial)) {
        g_report.LineSource = kLinesFromReportFile;
        frame_->OpenTemplateWindow(kDisplayTemplate);
    } else {
        g_app_state.startup_text_pending = 0;
    }
    return true;
}

int CLedraApp::Run() {
    if (!frame_ || !frame_->IsWindow()) return 0;
    return QCoreApplication::exec();
}

void CLedraApp::OnAppAbout() {
    CAboutDlg dialog(frame_.get());
    dialog.DoModal();
}

void CLedraApp::OnFileNew() {
    if (!frame_) return;
    platform::ChildFrame* child = frame_->OpenTemplateWindow(kDisplayTemplate);
    if (child && child->GetWindowText().empty()) child->SetWindowText(CLedraDoc::NextTitle());
}

void CLedraApp::OnFileOpen() {
    if (!frame_) return;
    platform::FileDialogRequest request;
    request.filter = "All Files (*.*)|*.*||";
    request.owner = frame_->GetSafeHwnd();
    const std::optional<std::string> file = platform::GetOpenFileName(request);
    if (!file) return;
    // The document reads nothing: the window is an empty report display
    // named after the file.
    platform::ChildFrame* child = frame_->OpenTemplateWindow(kDisplayTemplate);
    if (child && child->GetWindowText().empty())
        child->SetWindowText(std::filesystem::path(*file).filename().string());
}

void CLedraApp::OnFilePrintSetup() {
    if (frame_) platform::PrintSetupDialog(Printer(), frame_->GetSafeHwnd());
}

QPrinter& CLedraApp::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

std::string EnterDataDirectory(const std::filesystem::path& path) {
    std::error_code error;
    bool created = false;
    if (!std::filesystem::exists(path, error)) {
        std::filesystem::create_directories(path, error);
        if (error)
            return "The data directory \"" + path.string() + "\" cannot be created: " + error.message();
        created = true;
    }
    if (!std::filesystem::is_directory(path, error))
        return "The data directory \"" + path.string() + "\" is not a directory.";
    std::filesystem::current_path(path, error);
    if (error) return "The data directory \"" + path.string() + "\" cannot be used: " + error.message();
    // A new firm starts with the standard security types, so that its type
    // lists name every line. A write that fails here is made good when
    // Security Data first opens.
    if (created) records::StartTypeTable();
    return {};
}

}  // namespace shell
