#include "feed/dialup/block_codec.h"

#include <array>
#include <cstdio>

namespace feed {
namespace {

constexpr unsigned kPolynomial = 0xA001;

// The CRC is linear: the table entry of a byte is the entry of its low
// nibble XOR the entry of its high nibble, so two tables of 16 stand for one
// of 256.
constexpr unsigned TableEntry(unsigned index) {
    unsigned crc = index;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ kPolynomial : crc >> 1;
    return crc;
}

constexpr std::array<unsigned, 16> MakeTable(unsigned shift) {
    std::array<unsigned, 16> table{};
    for (unsigned i = 0; i < 16; ++i) table[i] = TableEntry(i << shift);
    return table;
}

constexpr std::array<unsigned, 16> kLowNibble = MakeTable(0);
constexpr std::array<unsigned, 16> kHighNibble = MakeTable(4);

bool Skipped(unsigned char c) {
    return c >= 127 && c <= 159;
}

}  // namespace

unsigned md_crc16_update(unsigned char byte, unsigned crc) {
    const unsigned index = (crc ^ byte) & 0xFF;
    return ((crc >> 8) ^ kLowNibble[index & 0x0F] ^ kHighNibble[index >> 4]) & 0xFFFF;
}

unsigned md_crc16_string(std::string_view text) {
    unsigned crc = 0xFFFF;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == 0) break;
        if (!Skipped(c)) crc = md_crc16_update(c, crc);
    }
    return crc;
}

std::string CrcDigits(unsigned crc) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04x", crc & 0xFFFF);
    return digits;
}

std::vector<BodyPiece> EscapeBodyPieces(std::string_view text) {
    std::vector<BodyPiece> pieces;
    auto plain = [&](char c) {
        if (pieces.empty() || pieces.back().escape) pieces.push_back({});
        pieces.back().bytes += c;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0) break;
        if (c >= 32 && c <= 126) {
            plain(static_cast<char>(c));
        } else if (c < 32) {
            pieces.push_back({std::string{kEscapeControl, static_cast<char>(c + 32)}, true});
        } else if (c >= 160 && c <= 254) {
            pieces.push_back({std::string{kEscapeHigh, static_cast<char>(c & 0x7F)}, true});
        } else if (c == 0x80 && i + 1 < text.size() && text[i + 1] != 0) {
            pieces.push_back({std::string(1, text[++i]), true});
        }
    }
    return pieces;
}

std::string EscapeBody(std::string_view text) {
    std::string body;
    for (const BodyPiece& piece : EscapeBodyPieces(text)) body += piece.bytes;
    return body;
}

std::string UnescapeBody(std::string_view body) {
    std::string text;
    text.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if ((c == kEscapeControl || c == kEscapeHigh) && i + 1 < body.size()) {
            const unsigned char next = static_cast<unsigned char>(body[++i]);
            text += static_cast<char>(c == kEscapeControl ? next - 32 : next | 0x80);
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace feed
