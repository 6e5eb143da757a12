// A stand-in for the TCP/IP data-feed library VEXA32TP, which is not part of
// the system: it shows that the dispatcher loads it for the call type TCPIP
// and forwards the call's arguments and result unchanged.

#include <cstdint>
#include <cstring>

extern "C" __attribute__((visibility("default"))) int ol_DataRequest(std::uintptr_t caller_window,
                                                                     const char* request, char* options) {
    if (caller_window != 42 || !request || std::strcmp(request, "ping") != 0) return -1;
    if (options && std::strcmp(options, "x") == 0) options[0] = 'X';
    return 7;
}
