#pragma once

// A digest (FNV-1a) of what a value series leaves: its figures, texts and
// the bytes of the files it writes, for the series tests that compare a
// run with digests taken from an earlier build.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/series.h"
#include "tests/fixtures/temp_dir.h"

namespace seriestest {

struct Digest {
    // With presence, whether each file exists counts too (a missing file
    // and an empty one differ).
    explicit Digest(bool presence = false) : presence_(presence) {}

    uint64_t h = 1469598103934665603ull;
    void Bytes(const void* data, std::size_t n) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    }
    void Text(const std::string& s) {
        Bytes(s.data(), s.size());
        Bytes("|", 1);
    }
    template <class T>
    void Value(T v) {
        Bytes(&v, sizeof v);
    }
    template <class A>
    void Array(const A& a) {
        for (const auto& v : a) Value(v);
    }
    void Series(const engine::PeriodSeries& s) {
        Array(s.value);
        Array(s.flow);
        Array(s.income);
    }
    // The caller's series of a Getmmv or Getmmv2 call.
    void Outputs(const engine::PeriodValues& values, const engine::PeriodValues& flows,
                 const engine::PeriodIncomes& incomes) {
        Array(values);
        Array(flows);
        Array(incomes);
    }
    // Every series of a Getmmv block and its start.
    void Block(const engine::SeriesBlock& block) {
        Series(block.result);
        Series(block.cash_equivalents);
        Series(block.equities);
        Series(block.fixed_income);
        Value(block.start_month);
        Value(block.start_year);
    }
    void File(const std::string& name) {
        Text(name);
        const bool there = fixtures::TempDataDir::Exists(name);
        if (presence_) Value(there);
        if (there) {
            const std::vector<unsigned char> bytes = fixtures::TempDataDir::ReadBytes(name);
            Bytes(bytes.data(), bytes.size());
        }
    }

private:
    bool presence_;
};

}  // namespace seriestest
