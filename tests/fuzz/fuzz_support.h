#pragma once

// Helpers shared by the fuzz targets: one data directory per process, which
// the process changes into (the record layer works on the current
// directory), emptied before every input; and the splitting of one input
// into the several files a routine reads.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

inline void Require(bool condition) {
    if (!condition) std::abort();
}

// The process's data directory, made and entered at the first call and
// removed when the process ends normally (a crash leaves it for a look).
inline const std::filesystem::path& DataDir() {
    static const std::filesystem::path dir = [] {
        std::string templ = (std::filesystem::temp_directory_path() / "ledra-fuzz-XXXXXX").string();
        Require(::mkdtemp(templ.data()) != nullptr);
        std::filesystem::current_path(templ);
        return std::filesystem::path(templ);
    }();
    static const bool cleanup = [] {
        std::atexit([] {
            std::error_code ec;
            std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
            std::filesystem::remove_all(dir, ec);
        });
        return true;
    }();
    (void)cleanup;
    return dir;
}

// Enters the data directory and removes everything in it.
inline void FreshDataDir() {
    const std::filesystem::path& dir = DataDir();
    std::filesystem::current_path(dir);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        std::filesystem::remove_all(entry, ec);
}

inline void WriteFile(const std::string& name, std::string_view bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The bytes of a file of the data directory (empty when it cannot be
// read), for the targets that check a refused write changed nothing.
inline std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Parts of an input that holds several files: they are separated by the
// line kSeparator; parts that are missing are empty. The seeds are built
// the same way from the fixtures.
inline constexpr std::string_view kSeparator = "\n--8<--\n";

inline std::vector<std::string_view> Split(const uint8_t* data, std::size_t size, std::size_t parts) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> out;
    while (out.size() + 1 < parts) {
        const std::size_t at = rest.find(kSeparator);
        if (at == std::string_view::npos) break;
        out.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kSeparator.size());
    }
    out.push_back(rest);
    out.resize(parts);
    return out;
}

// COMMON.FIL with its firm heading (record 13, bytes 61-64) kept to a page
// of at most 127 lines and at most 15 top lines. Every report page starts
// with as many blank lines as the top lines ask for, each a write: a
// damaged page length of 32,767 lets a report of many short pages spend
// seconds on blank lines. The report kernel's own targets take the heading
// whole; the targets of the reports use this to run at a useful speed.
inline std::string ShortPages(std::string_view common) {
    std::string bytes(common);
    constexpr std::size_t kPageLength = 12 * 128 + 60;
    if (bytes.size() >= kPageLength + 4) {
        bytes[kPageLength] = static_cast<char>(bytes[kPageLength] & 0x7f);
        bytes[kPageLength + 1] = 0;
        bytes[kPageLength + 2] = static_cast<char>(bytes[kPageLength + 2] & 0x0f);
        bytes[kPageLength + 3] = 0;
    }
    return bytes;
}

// A small number taken from the start of a part (0 for an empty part).
inline int Byte(std::string_view part, std::size_t i = 0) {
    return i < part.size() ? static_cast<unsigned char>(part[i]) : 0;
}

}  // namespace fuzz
