#pragma once

// The exchange of one request line with the remote server: the line goes
// out, its answer comes back in parts (a part ending in "M" is followed by
// another once "C" is sent), each part is appended to OUTPUT and delivered on
// the answer channel.

#include <cstddef>
#include <string_view>

namespace feed {

inline constexpr std::size_t kResponseRoom = 10000;  // the answer part buffer
inline constexpr int kErrSendFailed = -105;
inline constexpr int kErrServerRefused = -214;  // the answer begins with "E305"

// Exchanges one line; 1 on success, 0 on failure (reported, or cancelled).
int md_send_request_line(std::string_view line);

// Reads one answer part into the response buffer (State().request.response);
// returns the run flag (0 when the read failed or was cancelled).
int md_read_response();

}  // namespace feed
