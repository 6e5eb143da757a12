#pragma once

// The data-feed libraries as the programs load them, for the tests that run
// a program's pricing against the simulated modem and price server:
// libROSPA32.so opened with dlopen (and kept open), its entry
// ol_DataRequest, and the test hooks of the dial-up library it loaded.

#include <dlfcn.h>

#include <string>

#include "feed/dialup/vexa32md.h"

namespace feedtest {

struct FeedLibraries {
    void* dispatcher = nullptr;
    void* entry = nullptr;  // ol_DataRequest
    InstallTestSessionFunction install_session = nullptr;
    InstallTestSideChannelFunction install_side_channel = nullptr;
    std::string error;  // why a library or export is missing; empty when all are there
};

// dir: the folder of the built libraries.
inline FeedLibraries LoadFeedLibraries(const std::string& dir) {
    FeedLibraries libraries;
    libraries.dispatcher = dlopen((dir + "/libROSPA32.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (libraries.dispatcher == nullptr) {
        libraries.error = dlerror();
        return libraries;
    }
    libraries.entry = dlsym(libraries.dispatcher, "ol_DataRequest");
    void* dialup = dlopen((dir + "/libVEXA32MD.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (dialup == nullptr) {
        libraries.error = dlerror();
        return libraries;
    }
    libraries.install_session =
        reinterpret_cast<InstallTestSessionFunction>(dlsym(dialup, "md_install_test_session"));
    libraries.install_side_channel =
        reinterpret_cast<InstallTestSideChannelFunction>(dlsym(dialup, "md_install_test_side_channel"));
    dlclose(dialup);
    if (!libraries.entry || !libraries.install_session || !libraries.install_side_channel)
        libraries.error = "an export of the data-feed libraries is missing";
    return libraries;
}

}  // namespace feedtest
