#include "feedbatch/settings.h"

#include <algorithm>
#include <cctype>

#include "platform/profile.h"

namespace feedbatch {

std::string ReadSetting(std::string_view section, std::string_view key, std::string_view default_value,
                        std::size_t limit) {
    std::string value = platform::GetPrivateProfileString(section, key, default_value, kProfileFile);
    if (value.size() > limit) value.resize(limit);
    return value;
}

int ReadSettingInt(std::string_view section, std::string_view key, int default_value) {
    return platform::GetPrivateProfileInt(section, key, default_value, kProfileFile);
}

bool IsYes(std::string_view value) {
    return !value.empty() && (value.front() == 'Y' || value.front() == 'y');
}

std::string HostPath(std::string_view name) {
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string HomeFile(std::string_view home_dir, std::string_view file) {
    std::string path = HostPath(home_dir);
    if (!path.empty() && path.back() != '/') path += '/';
    return path + std::string(file);
}

std::string TitleSuffix(std::string_view call_type) {
    const bool tcpip =
        call_type.size() == 5 && std::equal(call_type.begin(), call_type.end(), "tcpip", [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        });
    return tcpip ? " (TCP/IP)" : " (Dial-Up)";
}

}  // namespace feedbatch
