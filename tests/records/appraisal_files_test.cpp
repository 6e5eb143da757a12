#include "records/appraisal_files.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "records/record.h"

namespace {

using namespace records;

// Decoding one valued holding after another from raw bytes into the same
// kept holding (as the appraisal pages do) gives what a fresh decode gives,
// whatever the kept texts held before, and re-encodes to the stored bytes,
// into a new record or into one kept from an earlier holding.
TEST(AppraisalWorkFile, DecodingIntoAKeptHoldingEqualsAFreshDecode) {
    std::mt19937 gen(57);
    ValuedHolding kept;
    for (int round = 0; round < 20; ++round) {
        Record stored(kWorkRecordLength);
        for (auto& b : stored.bytes()) b = static_cast<unsigned char>(gen());
        if (round % 3 == 2) {
            kept.symbol.clear();
            kept.description1 = "A DESCRIPTION LONGER THAN THIRTY-TWO CHARACTERS";
            kept.type_code = "1";
            kept.extension_code.clear();
        }
        ValuedHolding::DecodeFrom(stored.data(), kept);
        const Record fresh = ValuedHolding::Decode(stored).Encode();
        const Record reused = kept.Encode();
        EXPECT_EQ(reused.bytes(), fresh.bytes()) << "round " << round;
        // Encoding into a kept record leaves nothing of what it held.
        Record into(round % 2 == 0 ? 300 : 100, 0xff);
        kept.EncodeInto(into);
        EXPECT_EQ(into.bytes(), fresh.bytes()) << "round " << round;
        // Everything but the bytes no field holds comes back as stored.
        Record expected = stored;
        for (std::size_t b = 228; b < kWorkRecordLength; ++b) expected.data()[b] = 0;
        EXPECT_EQ(reused.bytes(), expected.bytes()) << "round " << round;
    }
}

TEST(AppraisalWorkFile, ShortRecordDecodesAsZeros) {
    Record stored(100, 0);
    stored.SetText(14, 12, "XYZ");
    const ValuedHolding h = ValuedHolding::Decode(stored);
    EXPECT_EQ(h.symbol, Fixed("XYZ", 12));
    EXPECT_EQ(h.description2, std::string(32, '\0'));
    EXPECT_EQ(h.cost_basis, 0.0);
}

// FixedIs answers as comparing the Fixed text would.
TEST(FixedText, FixedIsAgreesWithComparingTheFixedText) {
    struct Case {
        std::string_view text, padded;
    };
    const Case cases[] = {
        {"CASH", "CASH        "},  {"CASH        ", "CASH        "}, {"CASH        XYZ", "CASH        "},
        {"CASHX", "CASH        "}, {"CAS", "CASH        "},           {"", "    "},
        {"", "S   "},          {"S", "S   "},                       {"S  X", "S   "},
        {"S", "S"},            {"SX", "S"},                          {"", "S"},
        {" S", "S   "},        {"1   ", "1   "},                    {std::string_view("\0\0\0\0", 4), "    "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixedIs(c.text, c.padded), Fixed(c.text, c.padded.size()) == c.padded)
            << "'" << c.text << "' against '" << c.padded << "'";
}

}  // namespace
