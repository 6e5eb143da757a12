// VEXA.INI of arbitrary bytes through the batch program's setting readers
// and the profile reader beneath them.

#include <cstdlib>
#include <string>

#include "feedbatch/settings.h"
#include "platform/profile.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 2);
    fuzz::FreshDataDir();
    static const bool configured = [] {
        ::setenv("XDG_CONFIG_HOME", fuzz::DataDir().c_str(), 1);
        return true;
    }();
    (void)configured;
    std::filesystem::create_directories(platform::ProfileDirectory());
    fuzz::WriteFile(platform::ProfilePath(feedbatch::kProfileFile).string(), parts[0]);

    const std::string section(parts[1].substr(0, parts[1].find('\n')));
    for (std::string_view s : {std::string_view("app"), std::string_view("config"), std::string_view("files"),
                               std::string_view(section)}) {
        for (std::string_view key :
             {"debug", "usetimer", "waitdate", "home_dir", "inputfile", "logfile", ""}) {
            const std::string value = feedbatch::ReadSetting(s, key, "default");
            fuzz::Require(value.size() <= feedbatch::kValueLimit);
            (void)feedbatch::ReadSettingInt(s, key, 7);
            (void)feedbatch::IsYes(value);
            (void)feedbatch::HomeFile(value, "qordata.par");
            (void)feedbatch::HostPath(value);
            (void)feedbatch::TitleSuffix(value);
        }
    }
    return 0;
}
