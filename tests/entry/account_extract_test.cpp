// The account extract over a small data directory: the four files it
// writes in DLXWIN, each compared with its text written out by hand from
// the layouts.

#include "entry/account_extract.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

std::string Pad(const std::string& text, std::size_t n) {
    return text + std::string(n > text.size() ? n - text.size() : 0, ' ');
}

// The lines of an extract file, each ended by CR LF.
std::string FileText(const std::string& name) {
    std::ifstream in(std::string(entry::kExtractFolder) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

void SetFlag26(const std::string& flag) {
    records::DirectFile common("COMMON.FIL", 128);
    records::Record rec(128, ' ');
    rec.SetText(0, 1, flag);
    common.Write(26, rec);
}

class ExtractTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteProgramDate("12/08/98");
        fixtures::WriteFirmHeading("EXTRACT ADVISERS");
        fixtures::SecurityEntry cash{.symbol = "CASH", .description1 = "CASH", .type = "1"};
        fixtures::SecurityEntry mmkt{.symbol = "MMKT", .description1 = "MONEY MARKET FUND", .type = "L"};
        fixtures::SecurityEntry ibm{.symbol = "IBM", .description1 = "INTL BUSINESS MACHINES", .type = "H"};
        fixtures::SecurityEntry bond{.symbol = "T10", .description1 = "TREASURY NOTE", .type = "4"};
        fixtures::SecurityEntry savings{.symbol = "SAVINGS", .description1 = "SAVINGS DEPOSIT", .type = "1"};
        fixtures::SecurityEntry gone{.symbol = "$$$$GONE", .description1 = "DELETED", .type = "1"};
        fixtures::WriteSecurityFiles({cash, mmkt, ibm, bond, savings, gone});
        fixtures::WritePrices("12/08/98", {1.0, 1.0, 100.0, -99999.99, 1.0});

        fixtures::ClientFields smith;
        smith.id = "SMITH1  ";
        smith.address = {"JOHN SMITH", "", "PO BOX 9", "SPRINGFIELD", ""};
        smith.custodian_account = "SM1";
        fixtures::ClientFields gone_client;
        gone_client.id = "$$$$$$  ";
        gone_client.custodian_account = "GONE";
        fixtures::ClientFields adams;
        adams.id = "ADAMS   ";
        adams.address = {"ADAMS FOUNDATION", "1 OAK ST", "SUITE 5", "BOSTON, MA 02110-1234", ""};
        adams.custodian_account = "ADM00001XYZ";
        adams.business_phone = "6175551234";
        adams.opened = "01/15/95";
        adams.opening_value = 125000.50;
        adams.objective = "GROW";
        adams.broker = "MERRIL";
        adams.index1_price = 1234.5f;
        fixtures::WriteClients({smith, gone_client, adams});

        fixtures::WriteHoldings(
            "ADAMS",
            {{.symbol = "CASH", .security_record = 1, .quantity = 500.25},
             {.symbol = "MMKT", .security_record = 2, .quantity = 1000, .holding_key = 1},
             {.symbol = "MMKT", .security_record = 2, .quantity = 50, .tax_lot = "S", .holding_key = 1},
             {.symbol = "IBM", .security_record = 3, .quantity = 10, .holding_key = 2},
             {.symbol = "T10", .security_record = 4, .quantity = 5000, .holding_key = 3},
             {.symbol = "SAVINGS", .security_record = 5, .quantity = 200, .holding_key = 4}});
    }

    TempDataDir dir_;
};

TEST_F(ExtractTest, FourFilesAsTheLayoutsGiveThem) {
    SetFlag26("B");
    entry::Mextract();

    // Market value: cash 500.25 + fund 1000 + 10 x 100 + the bond at 100
    // per 100 (5000) + savings 200; the short lot is passed over.
    EXPECT_EQ(FileText("EXTRACT1.DAT"),
              Lines({"H ADM00001      500.25     7700.25",
                     "D    MMKT         1000.000" + Pad("MONEY MARKET FUND", 32) + "  ",
                     "D    SAVINGS       200.000" + Pad("SAVINGS DEPOSIT", 32) + "  "}));

    EXPECT_EQ(
        FileText("EXTRACT3.DAT"),
        Lines({"$$ADM00001", "$name    " + Pad("ADAMS FOUNDATION", 32), "$addr    " + Pad("SUITE 5", 32),
               "$city    " + Pad("BOSTON", 32), "$state   " + Pad("MA", 32),
               "$zip     " + Pad("02110-1234", 32), "$phone   6175551234  ", "$stdate  01/15/95",
               "$initval        125000.50", "$goal    GROW", "$broke   MERRIL  ",
               // No zip: the whole line is the city.
               "$$SM1     ", "$name    " + Pad("JOHN SMITH", 32), "$addr    " + Pad("PO BOX 9", 32),
               "$city    " + Pad("SPRINGFIELD", 32), "$state   " + Pad("", 32), "$zip     " + Pad("", 32),
               "$phone   " + Pad("", 12), "$stdate          ", "$initval             0.00", "$goal        ",
               "$broke           "}));

    EXPECT_EQ(FileText("EXTRACT4.DAT"), Lines({"ADM00001       1234.50", "     SM1          0.00"}));

    EXPECT_EQ(FileText("SEC.INF"), Lines({"mfMMKT    " + std::string(25, ' ') + Pad("MONEY MARKET FUND", 32),
                                          "caSAVINGS " + std::string(25, ' ') + Pad("SAVINGS DEPOSIT", 32)}));
}

// A record 26 flag other than "B" writes the goal, broker, phone and
// opening date blank; a second run writes each file anew.
TEST_F(ExtractTest, FlagOtherThanBBlanksFourFields) {
    SetFlag26("B");
    entry::Mextract();
    SetFlag26("N");
    entry::ExtractAccounts(3);
    const std::string text = FileText("EXTRACT3.DAT");
    EXPECT_EQ(
        text.substr(0, text.find("$$SM1")),
        Lines({"$$ADM00001", "$name    " + Pad("ADAMS FOUNDATION", 32), "$addr    " + Pad("SUITE 5", 32),
               "$city    " + Pad("BOSTON", 32), "$state   " + Pad("MA", 32),
               "$zip     " + Pad("02110-1234", 32), "$phone   " + Pad("", 12), "$stdate          ",
               "$initval        125000.50", "$goal        ", "$broke           "}));
}

// Without an account index the extracts are empty.
TEST(ExtractEmptyTest, NoAccountsNoLines) {
    TempDataDir dir;
    entry::Mextract();
    for (const char* name : {"EXTRACT1.DAT", "EXTRACT3.DAT", "EXTRACT4.DAT", "SEC.INF"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(TempDataDir::Exists(std::string(entry::kExtractFolder) + "/" + name));
        EXPECT_EQ(FileText(name), "");
    }
}

}  // namespace
