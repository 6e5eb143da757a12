#pragma once

// The exported functions of the dial-up library VEXA32MD, as the dispatcher
// and tests find them with dlsym.

#include <cstdint>

#ifndef FEED_EXPORT
#define FEED_EXPORT __attribute__((visibility("default")))
#endif

namespace feed {
class Session;
class SerialSideChannel;
}  // namespace feed

extern "C" {

// The data request (see data_request.h). Exported under this name.
FEED_EXPORT int ol_DataRequest(std::uintptr_t caller_window, const char* request, char* options);

// For tests only: installs a session in place of the serial line (nullptr:
// the serial line again) and returns the one installed before. The session
// must outlive its use; it is called on the caller's thread.
FEED_EXPORT feed::Session* md_install_test_session(feed::Session* session);

// For tests only: gives the serial layer a side channel for a port without
// modem lines (a pseudo-terminal), and returns the one given before.
FEED_EXPORT feed::SerialSideChannel* md_install_test_side_channel(feed::SerialSideChannel* channel);

}  // extern "C"

// The types of the exports, for dlsym.
using DataRequestFunction = int (*)(std::uintptr_t, const char*, char*);
using InstallTestSessionFunction = feed::Session* (*)(feed::Session*);
using InstallTestSideChannelFunction = feed::SerialSideChannel* (*)(feed::SerialSideChannel*);
