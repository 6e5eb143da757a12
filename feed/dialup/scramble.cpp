#include "feed/dialup/scramble.h"

#include <array>

namespace feed {
namespace {

constexpr std::size_t kScrambledMinimum = 18;
constexpr unsigned char kBase = 0x76;  // "v": nibble value 0

// Indexed from 1 by the number of pairs still to come.
constexpr std::array<unsigned char, 20> kKey = {0x00, 0x3A, 0xC5, 0x71, 0x9E, 0x24, 0xD8, 0x6B, 0x0F, 0xB3,
                                                0x57, 0xE2, 0x48, 0x9C, 0x15, 0x7D, 0xA6, 0x3F, 0xC1, 0x82};
constexpr std::size_t kKeyEntries = kKey.size() - 1;

std::string Unscramble(std::string element) {
    const std::size_t length = element.size();
    const std::size_t pairs = length / 2;
    if (length < kScrambledMinimum || pairs > kKeyEntries) return element;
    unsigned mask = 0;
    for (int i = 0; i < 4; ++i) {
        const unsigned char c = static_cast<unsigned char>(element[i]);
        if (c < 'a') mask |= 1u << (3 - i);
        element[i] = static_cast<char>(c | 0x20);
    }
    std::string plain;
    for (std::size_t i = 0; i < pairs; ++i) {
        const unsigned key = kKey[pairs - i];
        const unsigned hi =
            ((kBase - static_cast<unsigned char>(element[2 * i])) ^ (key & 0x0F) ^ mask) & 0x0F;
        const unsigned lo =
            ((kBase - static_cast<unsigned char>(element[2 * i + 1])) ^ (key >> 4) ^ mask) & 0x0F;
        plain += static_cast<char>(hi << 4 | lo);
    }
    return plain;
}

}  // namespace

void md_unscramble_value(std::vector<std::string>& elements) {
    for (std::string& element : elements) element = Unscramble(std::move(element));
    if (elements.empty()) return;
    for (char& c : elements.front())
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c | 0x20);
}

std::string md_scramble_text(std::string_view plain, unsigned mask) {
    const std::size_t pairs = plain.size();
    if (pairs * 2 < kScrambledMinimum || pairs > kKeyEntries) return {};
    mask &= 0x0F;
    std::string scrambled;
    for (std::size_t i = 0; i < pairs; ++i) {
        const unsigned key = kKey[pairs - i];
        const unsigned byte = static_cast<unsigned char>(plain[i]);
        const unsigned hi = ((byte >> 4) ^ (key & 0x0F) ^ mask) & 0x0F;
        const unsigned lo = ((byte & 0x0F) ^ (key >> 4) ^ mask) & 0x0F;
        scrambled += static_cast<char>(kBase - hi);
        scrambled += static_cast<char>(kBase - lo);
    }
    for (int i = 0; i < 4; ++i)
        if (mask & (1u << (3 - i))) scrambled[i] = static_cast<char>(scrambled[i] & ~0x20);
    return scrambled;
}

}  // namespace feed
