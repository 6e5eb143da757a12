#include "records/codes.h"

#include <gtest/gtest.h>

namespace {

using namespace records;

TEST(CodesTable, HoldsTheTwentyOneCodesInOrder) {
    ASSERT_EQ(TransactionCodeTable.size(), 21u);
    EXPECT_EQ(TransactionCodeTable.front().code, "B   ");
    EXPECT_EQ(TransactionCodeTable[2].code, "SS  ");
    EXPECT_EQ(TransactionCodeTable.back().code, "SP  ");
    for (const auto& e : TransactionCodeTable) {
        EXPECT_EQ(e.code.size(), 4u);
        EXPECT_TRUE(e.sign == 1 || e.sign == -1) << e.code;
        EXPECT_TRUE(e.cls >= 1 && e.cls <= 4) << e.code;
    }
}

TEST(CodesCode, LooksUpAndReverses) {
    struct Case {
        const char* code;
        int16_t mode;
        int16_t cls, sign, transfer;
    } cases[] = {
        {"B   ", 1, 4, -1, 0}, {"B   ", 0, 2, 1, 0},   // reversed purchase closes, cash comes back
        {"S   ", 1, 2, 1, 0},  {"S   ", 9, 4, -1, 0},  // reversed sale reopens
        {"SS  ", 1, 1, 1, 0},  {"SS  ", 0, 4, -1, 0},  // reversed short sale reopens
        {"CS  ", 0, 4, 1, 0},  {"SO  ", 1, 2, 1, 1},  {"SO  ", 9, 4, -1, 1},
        {"SI  ", 1, 4, -1, 1}, {"SI  ", 0, 2, 1, 1},  {"DI  ", 1, 3, 1, 0},
        {"DI  ", 0, 3, -1, 0}, {"FO  ", 2, 3, -1, 0}, {"SP  ", 0, 4, 1, 0},  // split stays opening
        {"IS", 1, 3, 1, 0},  // a short text is padded to its word
    };
    for (const auto& c : cases) {
        int16_t cls = -7, sign = -7, transfer = -7, not_found = 0;
        Code(c.code, cls, sign, transfer, c.mode, not_found);
        EXPECT_EQ(not_found, 0) << c.code << " mode " << c.mode;
        EXPECT_EQ(cls, c.cls) << c.code << " mode " << c.mode;
        EXPECT_EQ(sign, c.sign) << c.code << " mode " << c.mode;
        EXPECT_EQ(transfer, c.transfer) << c.code << " mode " << c.mode;
    }
}

TEST(CodesCode, UnknownCodeSetsFlagAndLeavesOutputs) {
    // Case and blanks matter: the code is compared as a whole word.
    for (const char* code : {"XX  ", "b   ", " B  ", "BUYS"}) {
        int16_t cls = 11, sign = 22, transfer = 33, not_found = 0;
        Code(code, cls, sign, transfer, 1, not_found);
        EXPECT_EQ(not_found, 1) << code;
        EXPECT_EQ(cls, 11);
        EXPECT_EQ(sign, 22);
        EXPECT_EQ(transfer, 33);
    }
    // The flag is never cleared by a later hit.
    int16_t cls = 0, sign = 0, transfer = 0, not_found = 1;
    Code("B   ", cls, sign, transfer, 1, not_found);
    EXPECT_EQ(not_found, 1);
    EXPECT_EQ(cls, 4);
}

TEST(CodesChktax, LotDesignations) {
    struct Case {
        const char* code;
        const char* lot;
        int16_t result;
    } cases[] = {
        {"CS  ", "ab  ", 0}, {"CS  ", "a   ", 0}, {"SS  ", "zz  ", 0}, {"CS  ", "AB  ", 2},
        {"SS  ", "    ", 2}, {"CS  ", " a  ", 2}, {"SS  ", "a1  ", 2}, {"B   ", "ab  ", 1},
        {"B   ", "    ", 0}, {"S   ", "A1  ", 0}, {"SI  ", "9Z  ", 0}, {"DI  ", "  XX", 0},  // only two count
        {"S   ", "A-  ", 1}, {"S   ", "", 0},  // a short designation counts as blanks
    };
    for (const auto& c : cases) EXPECT_EQ(Chktax(c.code, c.lot), c.result) << c.code << "/" << c.lot;
}

}  // namespace
