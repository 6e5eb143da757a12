#pragma once

// The dispatcher library ROSPA32: the one data-feed entry the main program
// and the batch program link against. When it is loaded it reads which
// implementation to use (the "call type" of section "app" of the parameter
// file qordata.par in the "home_dir" of VEXA.INI: "TCPIP" chooses the TCP/IP
// library VEXA32TP, anything else the dial-up library VEXA32MD) and loads it,
// first from its own directory, then from the library path. Every call looks
// the implementation's ol_DataRequest up anew and forwards to it.

#include <cstdint>
#include <string>
#include <string_view>

namespace feed {

enum class AttachReason { kProcessAttach, kProcessDetach };

// The dispatcher's load and unload.
void dispatch_dll_main(AttachReason reason);

// Forwards one data request; when the implementation or its entry is
// missing, shows "Could not get process address" and returns 0.
int ForwardDataRequest(std::uintptr_t caller_window, const char* request, char* options);

// The parameter file named by VEXA.INI's home directory.
std::string DispatcherParamsPath(std::string_view home_dir);

// The implementation's file for a call type.
std::string ImplementationFile(std::string_view call_type);

// The file the dispatcher chose at load, and whether it is loaded.
const std::string& LoadedImplementationFile();
bool ImplementationLoaded();

}  // namespace feed
