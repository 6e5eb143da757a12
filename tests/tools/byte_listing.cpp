#include "tests/tools/byte_listing.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace tools {
namespace {

template <class T>
void Append(std::vector<unsigned char>& out, T value) {
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    out.insert(out.end(), raw, raw + sizeof(T));  // the build machines are little-endian, as the files are
}

bool ReadHexByte(std::string_view s, unsigned char& byte) {
    if (s.size() != 2) return false;
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + 2, value, 16);
    if (ec != std::errc() || end != s.data() + 2) return false;
    byte = static_cast<unsigned char>(value);
    return true;
}

}  // namespace

std::optional<std::vector<unsigned char>> ParseByteListing(std::string_view text, std::string& error) {
    std::vector<unsigned char> out;
    std::size_t i = 0;
    int line = 1;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
            continue;
        }
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                char ch = text[i++];
                if (ch == '"') {
                    closed = true;
                    break;
                }
                if (ch == '\\' && i < text.size()) ch = text[i++];
                out.push_back(static_cast<unsigned char>(ch));
            }
            if (!closed) {
                error = "line " + std::to_string(line) + ": a text without its closing quote";
                return std::nullopt;
            }
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n')
            ++i;
        const std::string token(text.substr(start, i - start));
        const auto bad = [&] {
            error = "line " + std::to_string(line) + ": \"" + token + "\" is not a byte listing token";
            return std::nullopt;
        };
        const std::size_t colon = token.find(':');
        if (colon != std::string::npos) {
            const std::string kind = token.substr(0, colon);
            const std::string value = token.substr(colon + 1);
            char* end = nullptr;
            if (kind == "i2") {
                const long v = std::strtol(value.c_str(), &end, 10);
                if (value.empty() || *end != '\0') return bad();
                Append(out, static_cast<int16_t>(v));
            } else if (kind == "r4" || kind == "r8") {
                const double v = std::strtod(value.c_str(), &end);
                if (value.empty() || *end != '\0') return bad();
                if (kind == "r4")
                    Append(out, static_cast<float>(v));
                else
                    Append(out, v);
            } else {
                return bad();
            }
            continue;
        }
        const std::size_t star = token.find('*');
        unsigned char byte = 0;
        if (!ReadHexByte(token.substr(0, star), byte)) return bad();
        long count = 1;
        if (star != std::string::npos) {
            char* end = nullptr;
            const std::string n = token.substr(star + 1);
            count = std::strtol(n.c_str(), &end, 10);
            if (n.empty() || *end != '\0' || count < 1) return bad();
        }
        out.insert(out.end(), static_cast<std::size_t>(count), byte);
    }
    return out;
}

std::string CompareBytes(const std::vector<unsigned char>& actual,
                         const std::vector<unsigned char>& expected) {
    const std::size_t common = std::min(actual.size(), expected.size());
    for (std::size_t k = 0; k < common; ++k) {
        if (actual[k] == expected[k]) continue;
        char text[160];
        std::snprintf(text, sizeof text, "byte %zu (record %zu, byte %zu) is %02x, expected %02x", k,
                      k / 128 + 1, k % 128 + 1, actual[k], expected[k]);
        return text;
    }
    if (actual.size() != expected.size())
        return "the file has " + std::to_string(actual.size()) + " bytes, expected " +
               std::to_string(expected.size());
    return {};
}

}  // namespace tools
