#pragma once

// Copies and fills of the few characters a field holds. A library call
// costs more than moving four or sixteen bytes, so short lengths are done
// inline with fixed-size moves (two that may overlap cover any length in
// between); longer ones go to the library.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace records {

// Copies n characters, where one word <= n <= two words, as two word moves
// that may overlap (both read before either is written).
template <class Word>
inline void CopyEnds(char* to, const char* from, std::size_t n) {
    Word head;
    Word tail;
    std::memcpy(&head, from, sizeof(Word));
    std::memcpy(&tail, from + n - sizeof(Word), sizeof(Word));
    std::memcpy(to, &head, sizeof(Word));
    std::memcpy(to + n - sizeof(Word), &tail, sizeof(Word));
}

struct SixteenBytes {
    uint64_t low;
    uint64_t high;
};

// Copies n characters between areas that do not overlap.
inline void CopyShort(char* to, const char* from, std::size_t n) {
    if (n >= 8) {
        if (n <= 16) {
            CopyEnds<uint64_t>(to, from, n);
        } else if (n <= 32) {
            CopyEnds<SixteenBytes>(to, from, n);
        } else {
            std::memcpy(to, from, n);
        }
    } else if (n >= 4) {
        CopyEnds<uint32_t>(to, from, n);
    } else if (n != 0) {
        // One to three: first, last and middle (some the same).
        to[0] = from[0];
        to[n - 1] = from[n - 1];
        to[n / 2] = from[n / 2];
    }
}

inline void FillShort(char* to, char c, std::size_t n) {
    if (n >= 8) {
        if (n > 32) {
            std::memset(to, c, n);
            return;
        }
        // Eight at a time: the first and last sixteen (or eight), which
        // may overlap.
        const uint64_t word = 0x0101010101010101ull * static_cast<unsigned char>(c);
        std::memcpy(to, &word, 8);
        std::memcpy(to + n - 8, &word, 8);
        if (n > 16) {
            std::memcpy(to + 8, &word, 8);
            std::memcpy(to + n - 16, &word, 8);
        }
    } else if (n >= 4) {
        const uint32_t word = 0x01010101u * static_cast<unsigned char>(c);
        std::memcpy(to, &word, 4);
        std::memcpy(to + n - 4, &word, 4);
    } else if (n != 0) {
        to[0] = c;
        to[n - 1] = c;
        to[n / 2] = c;
    }
}

// Whether the n characters at a and b are the same.
inline bool EqualShort(const char* a, const char* b, std::size_t n) {
    if (n < 8 || n > 16) return std::memcmp(a, b, n) == 0;
    uint64_t a1;
    uint64_t a2;
    uint64_t b1;
    uint64_t b2;
    std::memcpy(&a1, a, 8);
    std::memcpy(&b1, b, 8);
    std::memcpy(&a2, a + n - 8, 8);
    std::memcpy(&b2, b + n - 8, 8);
    return ((a1 ^ b1) | (a2 ^ b2)) == 0;
}

}  // namespace records
