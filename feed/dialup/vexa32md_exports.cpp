// The exports of VEXA32MD: the data request, and hooks through which tests
// put a session double in place of the serial line or give the serial line
// a side channel for a pseudo-terminal.

#include "feed/dialup/data_request.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/session.h"
#include "feed/dialup/vexa32md.h"

extern "C" {

FEED_EXPORT int ol_DataRequest(std::uintptr_t caller_window, const char* request, char* options) {
    return feed::DataRequest(caller_window, request, options);
}

FEED_EXPORT feed::Session* md_install_test_session(feed::Session* session) {
    return feed::md_install_session(session);
}

FEED_EXPORT feed::SerialSideChannel* md_install_test_side_channel(feed::SerialSideChannel* channel) {
    return feed::md_install_side_channel(channel);
}

}  // extern "C"

namespace {

// The library's start when it is loaded.
[[gnu::constructor]] void Attach() {
    feed::md_dll_main();
}

}  // namespace
