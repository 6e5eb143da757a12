#include "platform/copy_data.h"

#include <cstring>
#include <vector>

#include "platform/window.h"

namespace platform {

std::string_view CopyDataRecord::Text() const {
    if (!data) return {};
    std::string_view bytes(data, length);
    const std::size_t end = bytes.find('\0');
    return end == std::string_view::npos ? bytes : bytes.substr(0, end);
}

long SendCopyData(WindowHandle to, WindowHandle from, std::uintptr_t channel, const void* data,
                  std::size_t length) {
    Window* window = FromHandle(to);
    if (!window) return 0;
    // The receiver gets its own copy: it may keep pointers into the record
    // only for the length of its handler, and nothing it does can reach the
    // sender's buffer.
    std::vector<char> copy(length);
    if (length > 0 && data) std::memcpy(copy.data(), data, length);
    CopyDataRecord record{channel, length, copy.data()};
    return window->OnCopyData(from, record) ? 1 : 0;
}

}  // namespace platform
