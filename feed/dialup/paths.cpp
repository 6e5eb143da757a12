#include "feed/dialup/paths.h"

namespace feed {

std::string HostPath(std::string_view name) {
    std::string path(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string JoinHomeDir(std::string_view home_dir, std::string_view file) {
    std::string path(home_dir);
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    path += file;
    return path;
}

std::string BesideFile(std::string_view name, std::string_view file) {
    const std::size_t slash = name.find_last_of("/\\");
    if (slash == std::string_view::npos) return {};
    return std::string(name.substr(0, slash + 1)) + std::string(file);
}

}  // namespace feed
