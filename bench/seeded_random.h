#pragma once

// The benchmarks' random numbers: a small generator of our own (SplitMix64),
// so that a seed gives the same data with every standard library.

#include <cstdint>

namespace bench {

class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // A whole number from lo to hi.
    int Between(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
    // Uniform in [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

private:
    uint64_t state_;
};

}  // namespace bench
