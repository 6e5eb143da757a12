#include "reports/appraisal/composite_holdings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using reports::CompositeMergeKey;
using reports::MakeMergeKey;
using reports::Shelcm;

TEST(Shelcm, NoneOrOneEntryLeavesTheArraysAlone) {
    for (int n : {0, 1}) {
        std::vector<double> keys = {5, 1, 3};
        std::vector<double> companion = {50, 10, 30};
        std::vector<int16_t> tags = {7, 8, 9};
        Shelcm(n, keys, companion, tags);
        EXPECT_EQ(keys, (std::vector<double>{5, 1, 3}));
        EXPECT_EQ(companion, (std::vector<double>{50, 10, 30}));
        EXPECT_EQ(tags, (std::vector<int16_t>{7, 8, 9}));
    }
}

TEST(Shelcm, SortsAscendingAndCarriesTagsAndCompanionsWithTheirKeys) {
    std::mt19937 random(7);
    for (int n : {2, 3, 10, 101, 1000}) {
        std::vector<double> keys, companion;
        std::vector<int16_t> tags;
        for (int i = 0; i < n; ++i) {
            keys.push_back(static_cast<double>(random() % 50));  // many equal keys
            tags.push_back(static_cast<int16_t>(i + 2));
            companion.push_back(keys.back() * 1000 + i);  // belongs to its key and tag
        }
        Shelcm(n, keys, companion, tags);
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << n;
        for (int k = 0; k < n; ++k) {
            EXPECT_EQ(companion[k], keys[k] * 1000 + (tags[k] - 2)) << n << " entry " << k;
        }
        std::vector<int16_t> sorted = tags;
        std::sort(sorted.begin(), sorted.end());
        for (int k = 0; k < n; ++k) EXPECT_EQ(sorted[k], k + 2);
    }
}

// Only entries n and beyond the count stay where they are.
TEST(Shelcm, SortsTheFirstNEntriesOnly) {
    std::vector<double> keys = {3, 2, 1, 0};
    std::vector<double> companion = {3, 2, 1, 0};
    std::vector<int16_t> tags = {3, 2, 1, 0};
    Shelcm(3, keys, companion, tags);
    EXPECT_EQ(keys, (std::vector<double>{1, 2, 3, 0}));
    EXPECT_EQ(tags, (std::vector<int16_t>{1, 2, 3, 0}));
}

// Equal keys are never exchanged with each other: with only equal keys
// nothing moves; the sort is still not stable, as an exchange with a
// greater key can carry one equal key past another.
TEST(Shelcm, EqualKeysAreNeverExchangedDirectly) {
    std::vector<double> keys(9, 4.0);
    std::vector<double> companion = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::vector<int16_t> tags = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Shelcm(9, keys, companion, tags);
    EXPECT_EQ(tags, (std::vector<int16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));

    // With gap 2 the first 1 is exchanged with the 0 two places on, and the
    // 5 with the second 1: the second 1 ends before the first.
    std::vector<double> k2 = {1, 5, 0, 1};
    std::vector<double> c2 = {10, 50, 0, 11};
    std::vector<int16_t> t2 = {1, 2, 3, 4};
    Shelcm(4, k2, c2, t2);
    EXPECT_EQ(k2, (std::vector<double>{0, 1, 1, 5}));
    EXPECT_EQ(t2, (std::vector<int16_t>{3, 4, 1, 2}));
    EXPECT_EQ(c2, (std::vector<double>{0, 11, 10, 50}));
}

// The merge key compares field by field: securities whose numbers built
// from type and symbol would collide stay apart, and so do the two sides.
TEST(Shelcm, MergeKeysOfDifferentHoldingsNeverCompareEqual) {
    const CompositeMergeKey a = MakeMergeKey(18, 35, "IBM", false);
    EXPECT_EQ(a, MakeMergeKey(18, 35, "IBM         ", false));
    EXPECT_EQ(a, MakeMergeKey(18, 35, "IBM     XYZ", false));  // the first 8 characters
    EXPECT_FALSE(a == MakeMergeKey(18, 35, "IBM", true));
    EXPECT_FALSE(a == MakeMergeKey(18, 20, "IBM", false));
    EXPECT_FALSE(a == MakeMergeKey(17, 35, "IBM", false));
    // A type of 1 more and a first character of 1 less sum to the same
    // number under one weight; the tuple keeps them apart.
    EXPECT_FALSE(MakeMergeKey(19, 1, "ABC", false) == MakeMergeKey(20, 1, "@BC", false));
    EXPECT_TRUE(MakeMergeKey(20, 1, "A", false) > MakeMergeKey(19, 99, "Z", false));
    EXPECT_TRUE(MakeMergeKey(20, 1, "A", false) > MakeMergeKey(20, 1, "A", true));
}

TEST(Shelcm, SortTypesFollowTheAppraisalTypeOrder) {
    const std::vector<int> order = {2,  4,  5,  6,  7,  8,  33, 10, 12, 13, 14, 34,
                                    16, 26, 24, 35, 18, 20, 22, 28, 29, 30, 36};
    for (std::size_t k = 1; k < order.size(); ++k)
        EXPECT_LT(reports::CompositeSortType(order[k - 1]), reports::CompositeSortType(order[k])) << order[k];
}

}  // namespace
