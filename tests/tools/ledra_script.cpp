// ledra_script: runs the program offscreen on a data directory and plays a
// text script against it (see docs/testing.md).
//
//   ledra_script [--today YYYY-MM-DD] [--startup FILE] (--temp | DATA_DIR) SCRIPT
//
// --temp runs in a fresh empty directory that is removed afterwards.
// --startup names a script of message steps that answer what start-up
// shows (a read-only data directory, a full disk, a damaged COMMON.FIL);
// without it anything start-up shows fails the run. The
// program closes after the script (as File/Exit does) unless the script
// closed it. Failures go to standard error; the exit code is 0 only when
// the script ran to its end without one.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "tests/tools/program_run.h"

namespace {

void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains("does not support propagateSizeHints") || message.contains("XDG_RUNTIME_DIR"))
        return;
    if (type != QtDebugMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

int Usage() {
    std::fprintf(stderr,
                 "usage: ledra_script [--today YYYY-MM-DD] [--startup FILE] (--temp | DATA_DIR) SCRIPT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietHandler);
    QApplication qt(argc, argv);

    tools::ProgramRun::Options options;
    bool temp = false;
    std::filesystem::path data_directory, script;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--today" && i + 1 < argc) {
            int year = 0, month = 0, day = 0;
            if (std::sscanf(argv[++i], "%d-%d-%d", &year, &month, &day) != 3) return Usage();
            options.today = tools::LocalDate(year, month, day);
        } else if (arg == "--startup" && i + 1 < argc) {
            std::ifstream in(argv[++i], std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "ledra_script: cannot read the start-up script %s\n", argv[i]);
                return 2;
            }
            options.startup_script.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        } else if (arg == "--temp") {
            temp = true;
        } else if (data_directory.empty() && !temp) {
            data_directory = arg;
        } else if (script.empty()) {
            script = arg;
        } else {
            return Usage();
        }
    }
    if (script.empty() || (data_directory.empty() && !temp)) return Usage();
    script = std::filesystem::absolute(script);
    if (temp) {
        std::random_device random;
        data_directory =
            std::filesystem::temp_directory_path() / ("ledra-script-" + std::to_string(random()));
    }

    bool ok = false;
    std::vector<std::string> failures;
    {
        tools::ProgramRun run(data_directory, options);
        ok = run.Started() && run.RunScriptFile(script);
        run.Close();
        failures = run.Failures();
    }
    if (temp) {
        std::error_code error;
        std::filesystem::remove_all(data_directory, error);
    }
    for (const std::string& failure : failures)
        std::fprintf(stderr, "%s: %s\n", script.c_str(), failure.c_str());
    ok = ok && failures.empty();
    std::printf("%s: %s\n", script.filename().c_str(), ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
