#pragma once

// The data-feed entry of ROSPA32, for the programs that link against it.
//
// ol_DataRequest(caller window, request text, option text) sends the request
// lines to the remote price server and returns 1 when every line went
// through (or there was nothing to send), 0 otherwise. Answers, status and
// errors reach the caller's window as copy-data records while the call runs.
// The option text must be writable: it comes back upper-cased.

#include <cstdint>

#ifndef FEED_EXPORT
#define FEED_EXPORT __attribute__((visibility("default")))
#endif

extern "C" FEED_EXPORT int ol_DataRequest(std::uintptr_t caller_window, const char* request, char* options);
