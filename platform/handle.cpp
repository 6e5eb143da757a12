#include "platform/handle.h"

#include <mutex>
#include <unordered_map>

#include "platform/timer.h"

namespace platform {
namespace {

struct Registry {
    std::mutex mutex;
    std::unordered_map<WindowHandle, Window*> windows;
    // Handles start well away from small numbers so that a control id or a
    // channel number passed by mistake never names a window.
    WindowHandle next = 0x10000;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

Window* FromHandle(WindowHandle handle) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.windows.find(handle);
    return it == r.windows.end() ? nullptr : it->second;
}

bool IsWindowHandle(WindowHandle handle) {
    return FromHandle(handle) != nullptr;
}

namespace detail {

WindowHandle RegisterWindow(Window* window) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    const WindowHandle handle = r.next;
    r.next += 4;
    r.windows[handle] = window;
    return handle;
}

void UnregisterWindow(WindowHandle handle) {
    {
        Registry& r = TheRegistry();
        std::lock_guard lock(r.mutex);
        r.windows.erase(handle);
    }
    KillWindowTimers(handle);
}

}  // namespace detail
}  // namespace platform
