#include "feed/dialup/request_files.h"

#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/paths.h"

namespace feed {
namespace {

constexpr int kErrFile = -220;

void Close(FileSlot& slot) {
    if (slot.file) std::fclose(slot.file);
    slot.file = nullptr;
}

}  // namespace

int md_open_file(FileSlot& slot, std::string_view name, int mode) {
    if (mode != kOpenRead && mode != kOpenAppend) return 0;
    const std::string path = HostPath(name);
    std::FILE* file = std::fopen(path.c_str(), mode == kOpenRead ? "rb" : "ab");
    if (!file) {
        slot.file = nullptr;
        md_report_error(kErrFile, name);
        return 0;
    }
    if (mode == kOpenAppend) std::fseek(file, 0, SEEK_END);
    slot.file = file;
    md_send_message(kChannelStatus, "File accessed: " + std::string(name));
    return 1;
}

long long md_file_length(std::FILE* file) {
    const long position = std::ftell(file);
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long length = std::ftell(file);
    std::fseek(file, position, SEEK_SET);
    return length < 0 ? 0 : length;
}

int md_file_write(std::FILE* file, std::string_view bytes, std::string_view name) {
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    if (written) return 1;
    md_report_error(kErrFile, name);
    return 0;
}

void md_close_files() {
    OptionState& options = State().options;
    Close(options.input);
    Close(options.output);
    Close(options.log);
}

}  // namespace feed
