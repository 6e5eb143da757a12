// The maturity and expiration alert: the window ends, the work file
// MATRE.HLD and the listing.

#include "reports/history/maturity_alert.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/history/maturity_alert_fixture.h"

namespace {

using fixtures::TempDataDir;

TEST(MaturityWindow, EndsOfTheFourSections) {
    struct Case {
        const char* date;
        float r, w1, w2, w3, w4;
    } cases[] = {
        {"01/31/98", 980131, 980228, 980331, 980430, 990131},  // a month end
        {"01/30/98", 980130, 980230, 980330, 980430, 990130},  // the day stays, even February 30
        {"02/28/97", 970228, 970331, 970430, 970531, 980228},  // February's end
        {"02/28/96", 960228, 960328, 960428, 960528, 970228},  // not the end in a leap year
        {"02/29/96", 960229, 960331, 960430, 960531, 970229},
        {"12/15/98", 981215, 990115, 990215, 990315, 991215},     // into the next year
        {"11/30/99", 991130, 991231, 1000131, 1000229, 1001130},  // into 2000
        {" 1/31/00", 1000131, 1000229, 1000331, 1000430, 1010131},
    };
    for (const Case& c : cases) {
        const reports::MaturityWindow w = reports::MaturityWindowEnds(c.date);
        EXPECT_EQ(w.report, c.r) << c.date;
        EXPECT_EQ(w.ends[0], c.w1) << c.date;
        EXPECT_EQ(w.ends[1], c.w2) << c.date;
        EXPECT_EQ(w.ends[2], c.w3) << c.date;
        EXPECT_EQ(w.ends[3], c.w4) << c.date;
    }
}

TEST(MaturityWindow, BlankDatesHaveNoNumber) {
    EXPECT_EQ(reports::AlertDateNumber("        "), 0.0f);
    EXPECT_EQ(reports::AlertDateNumber(std::string(8, '\0')), 0.0f);
    EXPECT_EQ(reports::AlertDateNumber(" 3/15/99"), 990315.0f);
    EXPECT_EQ(reports::AlertDateNumber(" 3/15/00"), 1000315.0f);
}

}  // namespace

namespace {

struct AlertCase {
    const char* golden;
    const char* manager;
};

class MaturityAlertGoldens : public ::testing::TestWithParam<AlertCase> {
protected:
    TempDataDir dir_;
};

TEST_P(MaturityAlertGoldens, MatchesGolden) {
    maturityfix::WriteData();
    reports::Eomatre(" 6/15/99", GetParam().manager, "ALERT.TXT   ", 12);
    for (const std::string& line : fixtures::ReportFileLines("ALERT.TXT")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden(std::string("reports/history/") + GetParam().golden,
                                fixtures::ReportText("ALERT.TXT"));
}

INSTANTIATE_TEST_SUITE_P(Alert, MaturityAlertGoldens,
                         ::testing::Values(
                             // Every section: a security in two lots with its TOTAL, a call date
                             // before a maturity date, a put date alone on W3, no coupon, two
                             // securities without CUSIP apart, six left-out types, no dates.
                             AlertCase{"maturity_alert_all.txt", "????"},
                             // Only the 4-to-12-months section: the first three say they have none.
                             AlertCase{"maturity_alert_last_section.txt", "ZZ??"},
                             // One account: the last section says it has none.
                             AlertCase{"maturity_alert_fourth_empty.txt", "AB01"},
                             // No account of the manager.
                             AlertCase{"maturity_alert_none.txt", "QQQQ"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

// MATRE.HLD after the run for ZULU: the header and two lot records laid out
// field by field.
TEST(MaturityWorkFile, HoldsTheHeaderAndOneRecordPerLot) {
    TempDataDir dir;
    maturityfix::WriteData();
    reports::Eomatre(" 6/15/99", "ZZ??", "ALERT.TXT   ", 12);
    std::vector<unsigned char> expected(3 * 128, 0);
    records::Record header(128, 0);
    header.SetR4(0, 990715.0f);
    header.SetR4(4, 990815.0f);
    header.SetR4(8, 990915.0f);
    header.SetR4(12, 1000615.0f);
    header.SetText(16, 8, " 6/15/99");
    auto lot = [](float alert, const char* symbol, double face, double net, const char* date,
                  int16_t position) {
        records::Record r(128, 0);
        r.SetR4(0, alert);
        r.SetText(4, 12, std::string(12, '\0'));
        r.SetText(16, 12, symbol);
        r.SetText(28, 32, "ZULU ACCOUNT");
        r.SetText(60, 8, "ZULU");
        r.SetText(68, 8, date);
        r.SetR8(76, face);
        r.SetR8(84, net);
        r.SetI16(92, position);
        return r;
    };
    const records::Record lots[2] = {lot(1000115.0f, "NOCUS1", 3000, 3020, " 6/01/99", 5),
                                     lot(1000615.0f, "NOCUS2", 4000, 4040, " 6/02/99", 6)};
    std::copy(header.bytes().begin(), header.bytes().end(), expected.begin());
    for (int i = 0; i < 2; ++i)
        std::copy(lots[i].bytes().begin(), lots[i].bytes().end(), expected.begin() + 128 * (i + 1));
    EXPECT_EQ(TempDataDir::ReadBytes("MATRE.HLD"), expected);
}

// Damaged files: a security record past the end of SECURITY.REC passes its
// lot over, a SECURITY.EXT record that cannot be read leaves the lot
// without call or put data, a looping lot chain ends the account.
TEST(MaturityAlert, DamagedFilesNeitherHangNorMixLots) {
    TempDataDir dir;
    maturityfix::WriteData();
    fixtures::CutFile("SECURITY.EXT", 3);  // the put bond's terms are gone
    fixtures::WriteHoldings("BETA",
                            {{.symbol = "T 5 99",
                              .security_record = 2,
                              .quantity = 5000,
                              .cost = 4987.5,
                              .open_date = "11/30/98",
                              .holding_key = 1},
                             {.symbol = "GHOST",
                              .security_record = 40,
                              .quantity = 7,
                              .cost = 7,
                              .open_date = "12/01/98",
                              .holding_key = 2}},
                            {3, 2});  // the second lot links back to the first
    reports::Eomatre(" 6/15/99", "????", "ALERT.TXT   ", 12);
    const std::string text = fixtures::ReportText("ALERT.TXT");
    EXPECT_EQ(text.find("GHOST"), std::string::npos);
    EXPECT_EQ(text.find("PUTABLE BOND"), std::string::npos);  // its maturity is years away
    // BETA's bond lot is listed once however often the chain loops.
    std::size_t beta = 0;
    for (std::size_t at = text.find("BETA ACCOUNT"); at != std::string::npos;
         at = text.find("BETA ACCOUNT", at + 1))
        ++beta;
    EXPECT_GE(beta, 1u);
    EXPECT_NE(text.find("US TREASURY NOTE"), std::string::npos);
}

}  // namespace

namespace {

// Every security is listed, however many: 801 securities maturing in the
// first month, each held in one lot.
TEST(MaturityAlert, ListsMoreThanEightHundredSecurities) {
    TempDataDir dir;
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
    fixtures::WriteProgramDate("06/20/99");
    std::vector<fixtures::SecurityEntry> securities = {{.symbol = "CASH", .cusip = "CASH", .type = "1"}};
    std::vector<fixtures::LotFields> lots;
    for (int n = 2; n <= 802; ++n) {
        const std::string symbol = "B" + std::to_string(n);
        securities.push_back({.symbol = symbol,
                              .cusip = symbol,
                              .description1 = "BOND " + std::to_string(n),
                              .type = "3",
                              .maturity = " 7/01/99"});
        lots.push_back({.symbol = symbol,
                        .security_record = static_cast<int16_t>(n),
                        .quantity = 1000,
                        .cost = 1000,
                        .open_date = " 1/05/98",
                        .holding_key = static_cast<double>(n)});
    }
    fixtures::WriteSecurityFiles(securities);
    fixtures::WriteClients({{.id = "MANY", .manager = "AB01", .short_name = "MANY BONDS"}});
    fixtures::WriteHoldings("MANY", lots);
    reports::Eomatre(" 6/15/99", "????", "ALERT.TXT   ", 12);
    const std::string text = fixtures::ReportText("ALERT.TXT");
    std::size_t blocks = 0;
    for (std::size_t at = text.find("\n  BOND "); at != std::string::npos;
         at = text.find("\n  BOND ", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 801u);
    EXPECT_NE(text.find("  BOND 802 "), std::string::npos);
}

}  // namespace
