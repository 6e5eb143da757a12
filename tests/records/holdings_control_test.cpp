#include "records/holdings_control.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using records::HoldingsWorkRecord;
using records::kHoldingsControlLength;
using records::Record;

// A work record whose every field holds a value of its own.
HoldingsWorkRecord Sample() {
    HoldingsWorkRecord w;
    w.type_index = 18;
    w.category = -7;
    w.symbol_head = "IBM";
    w.symbol = "IBM-LONGER-THAN-TWELVE";
    w.quantity = 1234.5678;
    w.description = "INTL BUSINESS MACHINES";
    w.rate = 4.125f;
    w.trade_date = "05/13/96";
    w.description2 = "";
    w.cost = -98765.4321;
    w.market_value = 1e12 / 3;
    w.percent_priced = 1;
    w.month_change = -999.99f;
    w.reserved = 2.5;
    w.extended_yield = 6.75f;
    w.type_code = "4";
    w.reclassified = 1;
    w.call_date = "06/15/09";
    w.call_price = 101.5;
    w.rating1 = "AAA";
    w.rating2 = "Aa1";
    w.insurance = "MBIA";
    w.call_feature = "C";
    w.put_feature = "P";
    w.put_date = "07/01/05";
    w.put_price = 99.25;
    w.maturity_date = "12/31/99";
    w.extended = 200;
    w.security = 300;
    return w;
}

// Every field lands at its offset, texts cut or blank padded, and the
// bytes after the last field are zeros.
TEST(HoldingsWorkRecordLayout, FieldsAtTheirOffsets) {
    const HoldingsWorkRecord w = Sample();
    Record expected(kHoldingsControlLength, 0);
    expected.SetI16(0, 18);
    expected.SetI16(2, -7);
    expected.SetText(4, 10, "IBM");
    expected.SetText(14, 12, "IBM-LONGER-THAN-TWELVE");
    expected.SetR8(26, 1234.5678);
    expected.SetText(34, 32, "INTL BUSINESS MACHINES");
    expected.SetR4(66, 4.125f);
    expected.SetText(70, 8, "05/13/96");
    expected.SetText(78, 32, "");
    expected.SetR8(110, -98765.4321);
    expected.SetR8(118, 1e12 / 3);
    expected.SetI16(126, 1);
    expected.SetR4(128, -999.99f);
    expected.SetR8(132, 2.5);
    expected.SetR4(140, 6.75f);
    expected.SetText(144, 4, "4");
    expected.SetI16(148, 1);
    expected.SetText(150, 8, "06/15/09");
    expected.SetR8(158, 101.5);
    expected.SetText(166, 4, "AAA");
    expected.SetText(170, 4, "Aa1");
    expected.SetText(174, 5, "MBIA");
    expected.SetText(179, 4, "C");
    expected.SetText(183, 4, "P");
    expected.SetText(187, 8, "07/01/05");
    expected.SetR8(195, 99.25);
    expected.SetText(203, 8, "12/31/99");
    expected.data()[211] = 200;
    expected.SetI16(212, 300);
    EXPECT_EQ(w.Encode().bytes(), expected.bytes());

    Record into(kHoldingsControlLength, 0xAB);  // stale bytes are overwritten
    w.EncodeTo(into.data());
    EXPECT_EQ(into.bytes(), expected.bytes());
}

// Stored bytes decode and encode back unchanged (to the last field; the
// rest encodes as zeros), and decoding one record after another into one
// kept record gives what a fresh decode gives, whatever its texts held.
TEST(HoldingsWorkRecordLayout, StoredBytesSurviveAndAKeptDecodeEqualsAFreshOne) {
    std::mt19937 gen(57);
    HoldingsWorkRecord kept;
    for (int round = 0; round < 20; ++round) {
        Record stored(kHoldingsControlLength);
        for (auto& b : stored.bytes()) b = static_cast<unsigned char>(gen());
        if (round % 3 == 2) {
            kept.symbol.clear();
            kept.description = "A TEXT LONGER THAN THE THIRTY-TWO OF ITS FIELD";
            kept.insurance = "X";
        }
        HoldingsWorkRecord::DecodeFrom(stored.data(), kept);
        const HoldingsWorkRecord fresh = HoldingsWorkRecord::Decode(stored);
        EXPECT_EQ(kept.Encode().bytes(), fresh.Encode().bytes()) << "round " << round;

        Record back = fresh.Encode();
        Record expected = stored;
        std::fill(expected.bytes().begin() + 214, expected.bytes().end(), 0);
        EXPECT_EQ(back.bytes(), expected.bytes()) << "round " << round;
    }
}

// A short record (a file cut short) decodes as if zero-filled.
TEST(HoldingsWorkRecordLayout, ShortRecordDecodesAsZeros) {
    Record short_record(30, 0);
    short_record.SetI16(0, 5);
    short_record.SetText(14, 12, "ABC");
    const HoldingsWorkRecord w = HoldingsWorkRecord::Decode(short_record);
    EXPECT_EQ(w.type_index, 5);
    EXPECT_EQ(w.symbol, "ABC         ");
    EXPECT_EQ(w.quantity, 0.0);
    EXPECT_EQ(w.description, std::string(32, '\0'));
    EXPECT_EQ(w.security, 0);
}

}  // namespace
