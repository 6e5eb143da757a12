#pragma once

// The process-wide state of the dial-up library, kept from one call of
// ol_DataRequest to the next: the option words in force, the INPUT, OUTPUT
// and LOG files, the flags of the running call and of the connection.

#include <cstdio>
#include <string>

#include "platform/handle.h"

namespace feed {

// A file named by an option, open or not.
struct FileSlot {
    std::string name;
    std::FILE* file = nullptr;
};

struct OptionState {
    bool line = false;    // deliver answers line by line
    bool block = false;   // deliver each answer part whole
    bool status = false;  // forward status texts
    bool debug = false;   // forward the send and receive traces
    bool icons = true;    // show the status window's icons; NOICON clears it for good
    int idle_check = 1;   // 0: no idle check
    int idle_minutes = 5;
    int packet_counter = 0;  // request lines sent since load or RESET
    FileSlot input;
    FileSlot output;
    FileSlot log;
};

struct RequestState {
    platform::WindowHandle caller = 0;  // the window of the latest call
    bool busy = false;                  // a call is past its option stage
    bool in_line = false;               // a request line is being exchanged
    int run = 1;                        // cleared by a cancel or a failed line
    bool hangup_pending = false;
    bool connect_requested = false;
    std::string params_path;  // home_dir of VEXA.INI followed by qordata.par
    std::string response;     // the answer part being read
    bool silenced = false;    // trace control "-none": errors, status and traces held back
};

struct ConnectionState {
    bool connecting = false;
    bool connected = false;
    bool hung_up_while_connecting = false;
    int idle_counter = 0;  // seconds, shared by the idle timer and the inactivity dialog
    int icon = 0;          // the state icon last shown (0: none shown)
};

struct LibraryState {
    OptionState options;
    RequestState request;
    ConnectionState connection;
};

LibraryState& State();

// Icons of the status window: the line's three states.
inline constexpr int kIconNotConnected = 113;
inline constexpr int kIconDialling = 114;
inline constexpr int kIconConnected = 115;

}  // namespace feed
