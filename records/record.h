#pragma once

// A fixed-length record as raw bytes, with field access at explicit byte
// offsets. Offsets here count from 0; the record layouts in comments
// elsewhere give 1-based byte positions, so byte b is offset b - 1.
// Integers are little-endian, floating-point numbers IEEE 754, texts
// blank-padded single-byte characters.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace records {

class Record {
public:
    Record() = default;
    explicit Record(std::size_t length, unsigned char fill = 0) : bytes_(length, fill) {}

    std::size_t size() const { return bytes_.size(); }
    unsigned char* data() { return bytes_.data(); }
    const unsigned char* data() const { return bytes_.data(); }
    std::vector<unsigned char>& bytes() { return bytes_; }
    const std::vector<unsigned char>& bytes() const { return bytes_; }
    void Fill(unsigned char c) { std::memset(bytes_.data(), c, bytes_.size()); }
    // Every byte zero: a record never written (a file's hole, or one
    // extended past it) holds nothing.
    bool NeverWritten() const {
        for (const unsigned char b : bytes_)
            if (b != 0) return false;
        return true;
    }
    // Every byte a blank or a zero byte: a record written blank, or never
    // written, holds no text.
    bool BlankOrNeverWritten() const {
        for (const unsigned char b : bytes_)
            if (b != 0 && b != ' ') return false;
        return true;
    }
    // A copy of the record at exactly `length` bytes: a short record (a
    // file's last, partly written one) is filled out with zeros, a longer
    // one cut, so that a codec reads every field at its offset.
    Record Widened(std::size_t length) const {
        Record r(length, 0);
        std::memcpy(r.data(), bytes_.data(), bytes_.size() < length ? bytes_.size() : length);
        return r;
    }

    int16_t I16(std::size_t off) const { return static_cast<int16_t>(U16(off)); }
    uint16_t U16(std::size_t off) const {
        return static_cast<uint16_t>(bytes_[off] | (bytes_[off + 1] << 8));
    }
    int32_t I32(std::size_t off) const { return static_cast<int32_t>(U32(off)); }
    uint32_t U32(std::size_t off) const {
        return static_cast<uint32_t>(bytes_[off]) | (static_cast<uint32_t>(bytes_[off + 1]) << 8) |
               (static_cast<uint32_t>(bytes_[off + 2]) << 16) |
               (static_cast<uint32_t>(bytes_[off + 3]) << 24);
    }
    uint64_t U64(std::size_t off) const {
        return static_cast<uint64_t>(U32(off)) | (static_cast<uint64_t>(U32(off + 4)) << 32);
    }
    float R4(std::size_t off) const {
        uint32_t u = U32(off);
        float f;
        std::memcpy(&f, &u, 4);
        return f;
    }
    double R8(std::size_t off) const {
        uint64_t u = U64(off);
        double d;
        std::memcpy(&d, &u, 8);
        return d;
    }
    std::string Text(std::size_t off, std::size_t len) const {
        return std::string(reinterpret_cast<const char*>(bytes_.data() + off), len);
    }

    void SetI16(std::size_t off, int16_t v) { SetU16(off, static_cast<uint16_t>(v)); }
    void SetU16(std::size_t off, uint16_t v) {
        bytes_[off] = static_cast<unsigned char>(v & 0xff);
        bytes_[off + 1] = static_cast<unsigned char>(v >> 8);
    }
    void SetI32(std::size_t off, int32_t v) { SetU32(off, static_cast<uint32_t>(v)); }
    void SetU32(std::size_t off, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[off + i] = static_cast<unsigned char>((v >> (8 * i)) & 0xff);
    }
    void SetU64(std::size_t off, uint64_t v) {
        SetU32(off, static_cast<uint32_t>(v & 0xffffffffu));
        SetU32(off + 4, static_cast<uint32_t>(v >> 32));
    }
    void SetR4(std::size_t off, float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        SetU32(off, u);
    }
    void SetR8(std::size_t off, double v) {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        SetU64(off, u);
    }
    // Puts a text into a field of len bytes: cut when longer, blank padded
    // when shorter.
    void SetText(std::size_t off, std::size_t len, std::string_view s) {
        std::size_t n = s.size() < len ? s.size() : len;
        std::memcpy(bytes_.data() + off, s.data(), n);
        std::memset(bytes_.data() + off + n, ' ', len - n);
    }

private:
    std::vector<unsigned char> bytes_;
};

// Fixed-width text helpers.
// Pads with blanks or cuts to exactly n characters.
std::string Fixed(std::string_view s, std::size_t n);
// Drops trailing blanks (and NUL bytes, which never-written fields hold).
std::string TrimRight(std::string_view s);
// Drops leading and trailing blanks.
std::string Trim(std::string_view s);
// True when every character is a blank.
bool IsBlank(std::string_view s);
// True when Fixed(s, padded.size()) == padded, without making the text.
inline bool FixedIs(std::string_view s, std::string_view padded) {
    if (s.size() >= padded.size()) return s.substr(0, padded.size()) == padded;
    return padded.substr(0, s.size()) == s && padded.find_first_not_of(' ', s.size()) == std::string_view::npos;
}

}  // namespace records
