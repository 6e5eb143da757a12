#include "feed/dialup/request_line.h"

#include <array>
#include <string>

#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/request_files.h"
#include "feed/dialup/session.h"
#include "feed/dialup/state.h"

namespace feed {
namespace {

// Appends an answer part without its last character (the server's mark) to
// OUTPUT when it is open.
bool AppendToOutput(const std::string& part) {
    FileSlot& output = State().options.output;
    if (!output.file || part.empty()) return true;
    return md_file_write(output.file, std::string_view(part).substr(0, part.size() - 1), output.name) != 0;
}

int FailLine() {
    State().request.in_line = false;
    return 0;
}

}  // namespace

int md_read_response() {
    RequestState& request = State().request;
    request.response.clear();
    std::array<char, kResponseRoom> buffer;
    int result = 0;
    do {
        // A part larger than the buffer ends here; what is left stays with
        // the session.
        const std::size_t room = kResponseRoom - request.response.size();
        if (room == 0) break;
        std::size_t received = 0;
        result = md_session().Receive(buffer.data(), room, received);
        if (result != 0 && result != 1) return 0;
        request.response.append(buffer.data(), std::min(received, room));
    } while (result == 1 && request.run);
    return request.run;
}

int md_send_request_line(std::string_view line) {
    RequestState& request = State().request;
    ErrorCell() = 0;
    request.run = 1;
    request.in_line = true;
    const int packet = ++State().options.packet_counter;
    md_send_message(kChannelStatus, "Sending packet #" + std::to_string(packet) + ": " + std::string(line));
    if (md_session().Send(line) != 0) {
        md_report_error(kErrSendFailed);
        return FailLine();
    }
    if (!md_read_response()) return FailLine();
    if (request.response.starts_with("E305")) {
        md_report_error(kErrServerRefused, line);
        return FailLine();
    }
    while (!request.response.empty() && request.response.back() == 'M') {
        if (!AppendToOutput(request.response)) return FailLine();
        md_send_message(kChannelAnswer, std::string(request.response));
        if (md_session().Send("C") != 0) {
            md_report_error(kErrSendFailed);
            return FailLine();
        }
        if (!md_read_response()) return FailLine();
    }
    if (!AppendToOutput(request.response)) return FailLine();
    md_send_message(kChannelAnswer, std::string(request.response));
    md_send_message(kChannelStatus, "Received packet #" + std::to_string(packet));
    request.in_line = false;
    return 1;
}

}  // namespace feed
