#include "feed/dialup/delivery.h"

#include <cstdio>

#include "feed/dialup/connection.h"
#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/state.h"
#include "platform/copy_data.h"

namespace feed {
namespace {

constexpr std::size_t kMessageLimit = 999;
constexpr int kErrFile = -220;

long SendRecord(int channel, const std::string& text) {
    return platform::SendCopyData(State().request.caller, StatusWindowHandle(),
                                  static_cast<std::uintptr_t>(channel), text.c_str(), text.size() + 1);
}

// An answer part line by line. A run of CR and LF ends a line; only a text
// that begins with one has an empty first line. The last line of a part that
// ends in the continuation mark "M" is that mark alone and is not an answer.
int DeliverLines(std::string_view text) {
    std::size_t end = text.size();
    if (!text.empty() && text.back() == 'M') {
        const std::size_t mark_line = text.find_last_of("\r\n");
        if (mark_line != std::string_view::npos && mark_line + 2 == text.size())
            end = mark_line + 1;
        else if (text.size() == 1)
            end = 0;
    }
    int count = 0;
    std::size_t pos = 0;
    while (pos < end) {
        std::size_t stop = text.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos || stop > end) stop = end;
        SendRecord(kChannelAnswer, std::string(text.substr(pos, stop - pos)));
        ++count;
        pos = stop;
        while (pos < end && (text[pos] == '\r' || text[pos] == '\n')) ++pos;
    }
    return count;
}

void WriteLog(const std::string& message) {
    FileSlot& log = State().options.log;
    if (!log.file) return;
    const std::string line = message + "\r\n";
    const bool written =
        std::fwrite(line.data(), 1, line.size(), log.file) == line.size() && std::fflush(log.file) == 0;
    if (written) return;
    // The report of the failure goes through here again: the LOG is closed
    // first, so it is reported once and not written without end.
    std::fclose(log.file);
    log.file = nullptr;
    md_report_error(kErrFile, log.name);
}

}  // namespace

std::string md_format_message(std::string_view text, int channel, int code) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    std::string message;
    if (channel == kChannelError) message = "ERROR " + std::to_string(code) + ": ";
    const std::size_t stop = text.find_first_of("\r\n", start);
    message += text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start);
    if (message.size() > kMessageLimit) message.resize(kMessageLimit);
    return message;
}

int md_deliver(int channel, std::string_view text, int code) {
    if (channel < 0 || channel > kChannelAnswer) return channel;
    RequestState& request = State().request;
    const OptionState& options = State().options;
    if (channel == kChannelTraceControl) {
        request.silenced = text == "-none\r\n";
        return channel;
    }
    if (channel == kChannelAnswer) {
        int result = channel;
        if (options.block) result = static_cast<int>(SendRecord(kChannelAnswer, std::string(text)));
        if (options.line) {
            const int count = DeliverLines(text);
            result = md_deliver(kChannelStatus, "Total responses = " + std::to_string(count), 0);
        }
        return result;
    }
    if (channel != kChannelError && channel != kChannelStatus && channel != kChannelReceiveTrace &&
        channel != kChannelSendTrace)
        return channel;
    const std::string message = md_format_message(text, channel, code);
    if (message.empty() || request.silenced) return channel;
    int result = channel;
    const bool forward = channel == kChannelError || (channel == kChannelStatus && options.status) ||
                         ((channel == kChannelReceiveTrace || channel == kChannelSendTrace) && options.debug);
    if (forward) result = static_cast<int>(SendRecord(channel, message));
    WriteLog(message);
    return result;
}

}  // namespace feed
