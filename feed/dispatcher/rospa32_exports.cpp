// The exports of ROSPA32 and its load and unload.

#include "feed/dispatcher/dispatcher.h"
#include "feed/dispatcher/rospa32.h"

extern "C" FEED_EXPORT int ol_DataRequest(std::uintptr_t caller_window, const char* request, char* options) {
    return feed::ForwardDataRequest(caller_window, request, options);
}

namespace {

[[gnu::constructor]] void Attach() {
    feed::dispatch_dll_main(feed::AttachReason::kProcessAttach);
}
[[gnu::destructor]] void Detach() {
    feed::dispatch_dll_main(feed::AttachReason::kProcessDetach);
}

}  // namespace
