#pragma once

// The byte forms of the block protocol: the CRC that guards each block, and
// the escaping that keeps a block's body to printable 7-bit characters, so
// that only the protocol's own control bytes (STX, ETX, EOT, ACK, NAK, ENQ,
// DLE, CR) travel bare on the line.
//
//   sending     32-126 as they are; 1-31 as 0x02 and the byte plus 32;
//               160-254 as 0x01 and the byte with its top bit cleared;
//               0x80 is a marker that sends the byte after it bare (0x80 0x03
//               a bare ETX, 0x80 0x04 a bare EOT); 127, 129-159 and 255 are
//               not sent; a NUL ends the text.
//   receiving   0x02 x gives x minus 32, 0x01 x gives x with the top bit set.
//
// CRC-16/MODBUS (reflected polynomial 0xA001, initial 0xFFFF, no final XOR)
// over the plain text, bytes 127 to 159 left out (so the marker does not
// count and an ETX does); written as four lower-case hexadecimal digits. The
// CRC of "abc" is "5749".

#include <string>
#include <string_view>
#include <vector>

namespace feed {

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kEot = 0x04;
inline constexpr char kEnq = 0x05;
inline constexpr char kAck = 0x06;
inline constexpr char kDle = 0x10;
inline constexpr char kNak = 0x15;
inline constexpr char kCr = 0x0D;
inline constexpr char kMarker = static_cast<char>(0x80);
inline constexpr char kEscapeControl = 0x02;
inline constexpr char kEscapeHigh = 0x01;

// One step of the CRC.
unsigned md_crc16_update(unsigned char byte, unsigned crc);
// The CRC of a text up to its end or its first NUL.
unsigned md_crc16_string(std::string_view text);
// "%04x" of a CRC.
std::string CrcDigits(unsigned crc);

// A piece of an escaped body as it goes out: a run of plain characters, or
// one escape pair (or a marked bare byte).
struct BodyPiece {
    std::string bytes;
    bool escape = false;
};

// The escaped body of a text, piece by piece and whole.
std::vector<BodyPiece> EscapeBodyPieces(std::string_view text);
std::string EscapeBody(std::string_view text);

// The plain text of an escaped body.
std::string UnescapeBody(std::string_view body);

}  // namespace feed
