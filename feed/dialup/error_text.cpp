#include "feed/dialup/error_text.h"

#include <cstdio>
#include <memory>
#include <string>

#include "feed/dialup/messages.h"
#include "feed/dialup/params.h"
#include "feed/dialup/paths.h"
#include "feed/dialup/session.h"
#include "feed/dialup/variables.h"

namespace feed {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string Key(int code) {
    char key[16];
    std::snprintf(key, sizeof key, "%4d", code);
    return key;
}

bool ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        line += static_cast<char>(c);
        if (c == '\n') break;
    }
    return !line.empty();
}

}  // namespace

std::string md_error_message(int code, std::string_view detail) {
    const std::string path = JoinHomeDir(md_get_var("%homedir"), "qorcomm.err");
    std::unique_ptr<std::FILE, FileCloser> file(md_open_in_dirs(path, "r"));
    // Without the file the reported code stands, so the caller still learns
    // which error it was; the note says why its text is missing. A missing
    // parameter file is named rather than the error-text file: the error
    // texts are looked for in the directory the parameter file names (and
    // beside it), so they are missing because it is, and it is the file the
    // user has to put back first.
    if (!file) {
        const bool params_missing = code == kErrParamsOpen && !detail.empty();
        return "Unable to open file: " + (params_missing ? std::string(detail) : path);
    }
    const std::string key = Key(code);
    std::string line;
    bool found = false;
    while (ReadLine(file.get(), line)) {
        if (line.compare(0, key.size(), key) == 0 && line.size() >= key.size()) {
            found = true;
            break;
        }
    }
    if (!found) return "Unknown Error";
    const std::size_t lf = line.find('\n');
    if (lf != std::string::npos) line.erase(lf);
    std::size_t start = key.size();
    while (start < line.size() && static_cast<unsigned char>(line[start]) <= 32) ++start;
    std::string message = line.substr(std::min(start, line.size()));
    const std::size_t caret = message.find('^');
    if (caret != std::string::npos) message = message.substr(0, caret) + std::string(detail);
    return message;
}

int md_report_error(int code) {
    const std::string detail = md_take_error_detail();
    const std::string message = md_error_message(code, detail);
    if (code < 0 || code > kCodeUserCancel) ErrorCell() = code;
    if (code == 0 || !md_message_callback()) return code;
    Session& session = md_session();
    if (session.IsOpen() && code != kCodeUserCancel) session.ErrorReported(code);
    md_send_message(kChannelError, message, code);
    return code;
}

int md_report_error(int code, std::string_view detail) {
    md_set_error_detail(detail);
    return md_report_error(code);
}

}  // namespace feed
