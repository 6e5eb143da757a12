#include "records/security_holdings_files.h"

#include <gtest/gtest.h>

namespace {

using records::Record;

TEST(SecurityHoldingsFiles, HoldingFieldsLieAtTheirOffsets) {
    records::SecurityHolding h;
    h.market_value = 9850;
    h.symbol = "BOND5";
    h.account_title = "AXBY ACCOUNT";
    h.account_id = "AXBY";
    h.lot_date = "10/01/98";
    h.quantity = 10000;
    h.cost = 9500;
    h.percent_of_account = 33.0f;
    h.rate = 6.0f;
    h.lot_code = "S";
    h.security_number = 3;
    h.valuation_kind = records::kValuedPerHundred;
    h.description1 = "CITY";
    h.description2 = "SECOND";
    h.security_type = "5";
    h.maturity_date = " 6/15/05";
    h.rate2 = 6.0f;
    h.lot_text20 = "MEMO";
    h.custodian_account = "CUST-111";
    const Record r = h.Encode();
    ASSERT_EQ(r.size(), 256u);
    EXPECT_EQ(r.R8(0), 9850);
    EXPECT_EQ(r.Text(8, 12), "BOND5       ");
    EXPECT_EQ(r.Text(52, 8), "AXBY    ");
    EXPECT_EQ(r.Text(60, 8), "10/01/98");
    EXPECT_EQ(r.R8(68), 10000);
    EXPECT_EQ(r.R8(76), 9500);
    EXPECT_FLOAT_EQ(r.R4(84), 33.0f);
    EXPECT_EQ(r.Text(92, 2), "S ");
    EXPECT_EQ(r.I16(94), 3);
    EXPECT_EQ(r.data()[96], 8);
    EXPECT_EQ(r.Text(97, 4), "CITY");
    EXPECT_EQ(r.Text(161, 4), "5   ");
    EXPECT_EQ(r.Text(165, 8), " 6/15/05");
    EXPECT_FLOAT_EQ(r.R4(173), 6.0f);
    EXPECT_EQ(r.Text(177, 4), "MEMO");
    EXPECT_EQ(r.Text(197, 8), "CUST-111");
    for (std::size_t i = 229; i < 256; ++i) EXPECT_EQ(r.data()[i], 0) << i;
    const records::SecurityHolding back = records::SecurityHolding::Decode(r);
    EXPECT_EQ(back.custodian_account, h.custodian_account + std::string(24, ' '));
    EXPECT_EQ(back.valuation_kind, records::kValuedPerHundred);

    records::SecurityHoldingsHeader header{12, "12/31/98", "A?B?"};
    const Record hr = header.Encode();
    EXPECT_EQ(hr.I16(0), 12);
    EXPECT_EQ(hr.Text(2, 12), "12/31/98A?B?");
}

TEST(SecurityHoldingsFiles, SummaryFieldsLieAtTheirOffsets) {
    records::SecuritySummary s;
    s.description1 = "D1";
    s.description2 = "D2";
    s.symbol = "IBM";
    s.unit_value = 100.25f;
    s.quantity = 150;
    s.cost = 14000;
    s.market_value = 15037.5;
    s.short_term_gain = -987.5;
    s.long_term_gain = 2025;
    s.accounts = 2;
    s.security_number = 2;
    s.valuation_kind = records::kValuedTimes100;
    const Record r = s.Encode();
    ASSERT_EQ(r.size(), 128u);
    EXPECT_EQ(r.Text(32, 2), "D2");
    EXPECT_EQ(r.Text(64, 12), "IBM         ");
    EXPECT_FLOAT_EQ(r.R4(76), 100.25f);
    EXPECT_EQ(r.R8(80), 150);
    EXPECT_EQ(r.R8(96), 15037.5);
    EXPECT_EQ(r.R8(104), -987.5);
    EXPECT_EQ(r.R8(112), 2025);
    EXPECT_EQ(r.I16(120), 2);
    EXPECT_EQ(r.I16(122), 2);
    EXPECT_EQ(r.data()[124], 9);

    records::SecuritySummaryHeader h{7, "12/31/98", 62764.17, 56140, -637.5, 6935};
    const Record hr = h.Encode();
    EXPECT_EQ(hr.I16(0), 7);
    EXPECT_EQ(hr.Text(2, 8), "12/31/98");
    EXPECT_EQ(hr.R8(10), 62764.17);
    EXPECT_EQ(hr.R8(18), 56140);
    EXPECT_EQ(hr.R8(26), -637.5);
    EXPECT_EQ(hr.R8(34), 6935);
    EXPECT_EQ(records::SecuritySummaryHeader::Decode(hr).long_term_gain, 6935);
}

}  // namespace
