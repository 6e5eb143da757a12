#pragma once

// Copy-data delivery: a record {channel, length, bytes} sent to a window and
// handled before the send returns, as the data-feed libraries report errors,
// status, traces and answers to the window that called them. The receiver
// sees a copy of the bytes that is valid only while its handler runs. A
// handle that names no live window swallows the record and the send returns
// 0, so a caller that went away never breaks the sender.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/handle.h"

namespace platform {

struct CopyDataRecord {
    std::uintptr_t channel = 0;
    std::size_t length = 0;
    const char* data = nullptr;

    // The bytes as text, without the terminating zero that senders of text
    // include in the length.
    std::string_view Text() const;
};

// Sends a record to window `to`; `from` is the sender's own window (0 when it
// has none). Returns 1 when the receiver handled the record, else 0.
long SendCopyData(WindowHandle to, WindowHandle from, std::uintptr_t channel, const void* data,
                  std::size_t length);

}  // namespace platform
