// The security cross reference: goldens of the long form with options 21,
// 36 and 52 off and on and of the short form (checked by hand against the
// layout strings), the no-holders message, IECA.DAT and the broker/bank
// record byte for byte.

#include "reports/lists/security_cross_reference.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/cross_reference_files.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

class CrossReference : public ::testing::Test {
protected:
    static std::vector<fixtures::ClientFields> Clients() {
        return {
            {.id = "SMITH1",
             .address = {"SMITH FAMILY TRUST", "", "", "", ""},
             .manager = "AB",
             .short_name = "SMITH FAMILY TRUST",
             .tax_id = "111-22-3333",
             .home_phone = "6175550100",
             .business_phone = "6175550199"},
            {.id = "JONES",
             .address = {"MARY JONES", "C/O JONES TRUST", "12 MAIN STREET", "APT 4", "BOSTON MA 02110"},
             .manager = "AB",
             .short_name = "MARY JONES IRA",
             .tax_id = "222-33-4444"},
            {.id = "ZED",
             .address = {"ZED HOLDINGS", "", "", "", ""},
             .manager = "CD",
             .short_name = "ZED HOLDINGS"},
            {.id = "BLANK", .manager = "AB", .short_name = "NO ADDRESS", .tax_id = "999-99-9999"},
        };
    }

    void SetUp() override {
        fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
        fixtures::WriteProgramDate("12/31/98");
        fixtures::WriteClients(Clients());
        fixtures::WriteSecurityFiles(
            {{.symbol = "CASH", .description1 = "CASH", .type = "1"},
             {.symbol = "IBM",
              .cusip = "459200101XYZ",
              .description1 = "INTL BUSINESS MACHINES",
              .description2 = "COMMON STOCK",
              .type = "H"},
             {.symbol = "TBOND", .cusip = "912827AB1", .description1 = "U S TREASURY", .type = "4"},
             {.symbol = "NOPRICE", .description1 = "NO PRICE", .type = "H"}});
        fixtures::WritePrices("12/31/98", {1.0, 125.5, 98.5, -99999.999999});
        const fixtures::LotFields cash{.symbol = "CASH", .security_record = 1, .quantity = 100, .cost = 100};
        fixtures::WriteHoldings("SMITH1", {cash,
                                           {.symbol = "IBM",
                                            .security_record = 2,
                                            .quantity = 100,
                                            .cost = 9000,
                                            .open_date = " 1/05/98",
                                            .tax_lot = "1",
                                            .holding_key = 1.8e15},
                                           {.symbol = "IBM",
                                            .security_record = 2,
                                            .quantity = 1400,
                                            .cost = 140000,
                                            .open_date = " 3/10/98",
                                            .tax_lot = "2",
                                            .holding_key = 1.8e15},
                                           {.symbol = "IBM",
                                            .security_record = 2,
                                            .quantity = -50,
                                            .cost = 6000,
                                            .open_date = " 6/01/98",
                                            .tax_lot = "3",
                                            .holding_key = 1.8e15},
                                           {.symbol = "IBM",
                                            .security_record = 2,
                                            .quantity = 999,
                                            .cost = 1,
                                            .open_date = " 6/02/98",
                                            .tax_lot = "S",
                                            .holding_key = 1.8e15},
                                           {.symbol = "TBOND",
                                            .security_record = 3,
                                            .quantity = 10000,
                                            .cost = 9800,
                                            .open_date = " 2/01/98",
                                            .tax_lot = "1",
                                            .holding_key = 1.2e15}});
        fixtures::WriteHoldings("JONES", {{.symbol = "IBM",
                                           .security_record = 2,
                                           .quantity = 10.5,
                                           .cost = 1000,
                                           .open_date = " 7/04/98",
                                           .tax_lot = "1",
                                           .holding_key = 1.8e15},
                                          {.symbol = "NOPRICE",
                                           .security_record = 4,
                                           .quantity = 20,
                                           .cost = 200,
                                           .open_date = " 7/04/98",
                                           .tax_lot = "1",
                                           .holding_key = 1.8e15}});
        fixtures::WriteHoldings("ZED", {cash});
        fixtures::WriteHoldings("BLANK", {{.symbol = "IBM",
                                           .security_record = 2,
                                           .quantity = 5,
                                           .cost = 500,
                                           .open_date = " 8/08/98",
                                           .tax_lot = "1",
                                           .holding_key = 1.8e15}});
    }

    std::string Run(int16_t form, const char* symbol, const char* manager = "????") {
        reports::Chlpos(form, "12/31/98", manager, symbol, 3, "XREF.TXT", "123 ", "FIRST NATIONAL BANK",
                        "O   ");
        return fixtures::ReportText("XREF.TXT");
    }

    static std::string Extract() {
        const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(records::kCrossReferenceExtractFile);
        return std::string(bytes.begin(), bytes.end());
    }

    TempDataDir dir_;
};

TEST_F(CrossReference, LongFormMatchesGolden) {
    fixtures::CompareWithGolden("reports/lists/security_cross_reference_long.txt", Run(1, "IBM"));
    EXPECT_FALSE(TempDataDir::Exists(records::kCrossReferenceExtractFile));
}

TEST_F(CrossReference, LongFormWithPhonesLotAccountsAndAddressesMatchesGolden) {
    fixtures::SetOptions({{records::Opt::kCrossReferencePhones, 1},
                          {records::Opt::kTransactionTexts, 1},
                          {records::Opt::kLoanLimitAndExtracts, 1}});
    fixtures::CompareWithGolden("reports/lists/security_cross_reference_options.txt", Run(1, "IBM"));
}

TEST_F(CrossReference, FixedIncomeUnpricedAndManagerCode) {
    const std::string bond = Run(1, "TBOND", "A???");
    // Type 4: price 100 and factor 100, so the value is the face value.
    EXPECT_NE(bond.find("10,000.0000      98.00       9,800.00       10,000.00          200.00"),
              std::string::npos)
        << bond;
    EXPECT_NE(bond.find("MANAGER: A???"), std::string::npos);
    // The cash symbol: the amount as the quantity, a unit cost of 1.00.
    const std::string cash = Run(1, "CASH");
    EXPECT_NE(cash.find(" ZED      ZED HOLDINGS                       100.0000       1.00         100.00     "
                        "     100.00"),
              std::string::npos)
        << cash;
    const std::string unpriced = Run(1, "NOPRICE");
    EXPECT_NE(unpriced.find("MANAGER: ALL "), std::string::npos);
    EXPECT_NE(unpriced.find(" TOTAL LONG HOLDINGS FOR NOPRICE"), std::string::npos);
    EXPECT_EQ(unpriced.find("-99,999"), std::string::npos);
    EXPECT_NE(unpriced.find("N/A"), std::string::npos);
}

TEST_F(CrossReference, ShortLotBlocksTypeRAndAZeroQuantitySum) {
    fixtures::WriteSecurityFiles({{.symbol = "CASH", .description1 = "CASH", .type = "1"},
                                  {.symbol = "IBM", .description1 = "INTL BUSINESS MACHINES", .type = "H"},
                                  {.symbol = "TBOND", .description1 = "U S TREASURY", .type = "4"},
                                  {.symbol = "NOPRICE", .description1 = "NO PRICE", .type = "H"},
                                  {.symbol = "RTYPE", .description1 = "R TYPE", .type = "R"}});
    fixtures::WriteHoldings("ZED", {{.symbol = "TBOND",
                                     .security_record = 3,
                                     .quantity = -1000,
                                     .cost = 990,
                                     .open_date = " 4/01/98",
                                     .tax_lot = "1",
                                     .holding_key = 1.2e15},
                                    {.symbol = "TBOND",
                                     .security_record = 3,
                                     .quantity = -2000,
                                     .cost = 1950,
                                     .open_date = " 4/02/98",
                                     .tax_lot = "2",
                                     .holding_key = 1.2e15},
                                    {.symbol = "RTYPE",
                                     .security_record = 5,
                                     .quantity = 0,
                                     .cost = 50,
                                     .open_date = " 5/01/98",
                                     .tax_lot = "1",
                                     .holding_key = 1.5e15},
                                    {.symbol = "RTYPE",
                                     .security_record = 5,
                                     .quantity = 0,
                                     .cost = 50,
                                     .open_date = " 5/02/98",
                                     .tax_lot = "2",
                                     .holding_key = 1.5e15}});
    // Two short lots of a type "4" security: brackets, a short block, and
    // the gain of a short lot is the amount less the market value.
    const std::string shorts = Run(1, "TBOND", "CD  ");
    for (const char* line :
         {" ZED      ZED HOLDINGS                    (1,000.0000)     99.00        (990.00)      (1,000.00)"
          "         (10.00)   4/01/98",
          "                           TOTAL SHORT    (3,000.0000)     98.00      (2,940.00)      (3,000.00)"
          "         (60.00)",
          " TOTAL SHORT HOLDINGS FOR TBOND           (3,000.0000)     98.00      (2,940.00)      (3,000.00)"
          "         (60.00)"})
        EXPECT_NE(shorts.find(line), std::string::npos) << line << "\n" << shorts;
    EXPECT_EQ(shorts.find("TOTAL LONG"), std::string::npos);
    // Type "R" lots of quantity 0: the unit cost is the price factor 0.01,
    // for the lots and for the total whose quantity sum is 0; both sums 0
    // give the message after the lines.
    const std::string zero = Run(1, "RTYPE", "CD  ");
    for (const char* line :
         {" ZED      ZED HOLDINGS                         0.0000       0.01          50.00            0.00"
          "          (50.00)   5/01/98",
          "                           TOTAL LONG          0.0000       0.01         100.00            0.00"
          "         (100.00)",
          " No accounts currently holding this security."})
        EXPECT_NE(zero.find(line), std::string::npos) << line << "\n" << zero;
}

TEST_F(CrossReference, ShortFormListsTheAccountsWithoutTheSecurity) {
    fixtures::CompareWithGolden("reports/lists/security_cross_reference_short.txt", Run(2, "IBM"));
}

// The custodian account number (the address's sixth line) follows an
// account's lots once, however many lots it holds.
TEST_F(CrossReference, TheCustodianAccountLineFollowsTheLotsOnce) {
    std::vector<fixtures::ClientFields> clients = Clients();
    clients[0].custodian_account = "CUSTODY 4455-01";
    fixtures::WriteClients(clients);
    const std::string text = Run(1, "IBM");
    EXPECT_EQ(fixtures::Occurrences(text, " CUSTODY 4455-01"), 1) << text;
    EXPECT_LT(text.find(" 6/01/98"), text.find(" CUSTODY 4455-01")) << text;
    EXPECT_LT(text.find(" CUSTODY 4455-01"), text.find("TOTAL LONG ")) << text;
}

TEST_F(CrossReference, ExtractAndBrokerBankRecordByteForByte) {
    {
        // Record 69 as an earlier release left it: its unused bytes kept.
        records::DirectFile common(records::kCommonFile, 128);
        records::Record rec(128, 0);
        rec.SetText(48, 80, std::string(80, '#'));
        ASSERT_TRUE(common.Write(records::kBrokerBankRecordNumber, rec));
    }
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    Run(1, "IBM");
    const std::string b24(24, ' ');
    auto pad = [](std::string s) {
        s.resize(80, ' ');
        return s;
    };
    EXPECT_EQ(Extract(), pad("11 459200101 INTL BUSINESS MACHINES") + "\r\n" +
                             pad("12 981231123 FIRST NATIONAL BANK") + "\r\n" +
                             pad("21O111-22-3333 000001500SMITH FAMILY TRUST") + "\r\n" +
                             pad("21O222-33-4444 000000011MARY JONES") + "\r\n" +
                             pad("22                      C/O JONES TRUST") + "\r\n" +
                             pad("23                      12 MAIN STREET") + "\r\n" +
                             pad("24                      APT 4") + "\r\n" +
                             pad("2*                      BOSTON MA 02110") + "\r\n" +
                             pad("31 0000003000001516") + "\r\n");
    records::DirectFile common(records::kCommonFile, 128, false);
    records::Record rec;
    ASSERT_TRUE(common.Read(records::kBrokerBankRecordNumber, rec));
    EXPECT_EQ(rec.Text(0, 128),
              "123 FIRST NATIONAL BANK" + std::string(21, ' ') + "O   " + std::string(80, '#'));

    // Nobody holds it: the trailer alone.
    Run(1, "CASH5");
    EXPECT_EQ(Extract(), pad("31 0000000000000000") + "\r\n");
    EXPECT_NE(fixtures::ReportText("XREF.TXT").find("No accounts currently holding this security."),
              std::string::npos);
    // The short form leaves the file empty.
    Run(2, "IBM");
    EXPECT_EQ(Extract(), "");
}

}  // namespace
