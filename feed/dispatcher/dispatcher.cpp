#include "feed/dispatcher/dispatcher.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/constants.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace feed {
namespace {

constexpr const char* kCaption = "ROSPA32.DLL";

struct DispatcherState {
    std::string params_path;
    std::string call_type;
    std::string implementation;
    void* library = nullptr;
};

DispatcherState& TheState() {
    static DispatcherState state;
    return state;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::string Slashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// The directory this library was loaded from.
std::filesystem::path OwnDirectory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&dispatch_dll_main), &info) == 0 || !info.dli_fname) return {};
    return std::filesystem::path(info.dli_fname).parent_path();
}

void* LoadImplementation(const std::string& file) {
    const std::filesystem::path beside = OwnDirectory() / file;
    if (!OwnDirectory().empty())
        if (void* library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) return library;
    return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

std::string DispatcherParamsPath(std::string_view home_dir) {
    std::string path = Slashes(std::string(home_dir));
    if (!path.empty() && path.back() != '/') path += '/';
    return path + "qordata.par";
}

std::string ImplementationFile(std::string_view call_type) {
    return EqualNoCase(call_type, "TCPIP") ? "libVEXA32TP.so" : "libVEXA32MD.so";
}

void dispatch_dll_main(AttachReason reason) {
    DispatcherState& state = TheState();
    if (reason == AttachReason::kProcessDetach) {
        if (state.library) dlclose(state.library);
        state.library = nullptr;
        return;
    }
    state.params_path =
        DispatcherParamsPath(platform::GetPrivateProfileString("config", "home_dir", "", "VEXA.INI"));
    state.call_type = platform::GetPrivateProfileString("app", "call type", "", state.params_path);
    state.implementation = ImplementationFile(state.call_type);
    state.library = LoadImplementation(state.implementation);
}

int ForwardDataRequest(std::uintptr_t caller_window, const char* request, char* options) {
    using Entry = int (*)(std::uintptr_t, const char*, char*);
    void* library = TheState().library;
    // Looked up at every call, so the entry in force is always the one the
    // library exports now.
    if (auto entry = library ? reinterpret_cast<Entry>(dlsym(library, "ol_DataRequest")) : nullptr)
        return entry(caller_window, request, options);
    platform::MessageBox("Could not get process address", kCaption,
                         platform::MB_OK | platform::MB_ICONEXCLAMATION, caller_window);
    return 0;
}

const std::string& LoadedImplementationFile() {
    return TheState().implementation;
}

bool ImplementationLoaded() {
    return TheState().library != nullptr;
}

}  // namespace feed
