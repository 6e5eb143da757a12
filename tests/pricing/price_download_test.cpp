// The Price Download dialog and the automatic pricing run, from the menu
// Pricing/Auto of the running program against the simulated modem and
// price server: what the server is asked, in which order, and what the
// run files (price file, security records, dividend and split files,
// SECURITY.EXT, autoerr.txt); the error record of a refused request; the
// one-client list; the dialog's own buttons.

#include <gmock/gmock.h>

#include <functional>

#include "pricing/automatic_pricing.h"
#include "records/common_file.h"
#include "tests/pricing/price_download_fixture.h"

namespace pricingtest {
namespace {

using ::testing::ElementsAre;

constexpr double kNone = -99999.99;

// The firm of the all-accounts run, in index order (the CUSIP keys put them
// in another order).
std::vector<Security> Firm() {
    return {
        {"CASH", "CASH", "1"},
        {"IBM", "459200101", "3"},
        {"AAPL", "037833100", "3"},
        {"MUNI", "64966BAA1", "7"},
        {"FUND", "316071109", "9"},
        {"XYZ", "98412J104", "3"},
        {"OLD", "OLD000001", "S"},           // a type never priced
        {"NOPR", "111111111", "3", 'N'},     // pricing flag off
        {"$$$$$$$$$$$$", "DELETED01", "3"},  // a deleted security
        {"GOLD", "222222222", "Z"},          // a type of no switch
    };
}

// The price file of 01/15/98 before the run: MUNI and XYZ have prices.
void WriteStoredPrices() {
    records::Open8(7, records::PriceFileName("01/15/98"));
    for (long n = 1; n <= 6; ++n) {
        double price = n == 4 ? 97.0 : n == 6 ? 42.5 : -99999.999999;
        records::Rwpric(1, 7, "01/15/98", n, price);
    }
    records::Close(7);
}

TEST_F(PriceDownloadTest, AllAccountsPricesInKeyOrder) {
    fixtures::WriteAccounts({{.id = "ACC1"}});
    WriteFirm(Firm());
    WriteTypeSwitches({1, 2, 4});
    WriteStoredPrices();
    WriteFile("packets.log", "an earlier conversation\n");
    UsePeer({
        {"VB980115037833100", {"037833100,21.5,X"}},
        {"VE980115316071109", {"316071109,10.125"}},
        {"VB980115459200101", {"459200101,105.25,X"}},
        {"VM98011564966BAA1", {"64966BAA1,1O5.25,X"}},
        {"VB98011598412J104", {"98412J104,E no price"}},
    });
    EXPECT_TRUE(Play("all_accounts_prices.script"));
    EXPECT_THAT(Requests(), ElementsAre("VB980115037833100", "VE980115316071109", "VB980115459200101",
                                        "VM98011564966BAA1", "VB98011598412J104"));
    peer_->Settle();
    EXPECT_TRUE(peer_->Closed());
    EXPECT_FALSE(pricing::FeedConnected());
}

TEST_F(PriceDownloadTest, BothFilesPricesDividendsAndSplits) {
    WriteFirm({
        {"IBM", "459200101", "3", 0, ' ', 4, 3, "", 0.8f},
        {"AAPL", "037833100", "3", 0, ' ', 4, 4},
        {"FUND", "316071109", "9", 0, ' ', 4, 0},            // no dividend record: price only
        {"ZERO", "555555555", "3", 0, ' ', 0, 5, "", 0.8f},  // no payments a year
        {"INFO", "777777777", "3", 0, 'I', 4, 6},            // an information request
    });
    WriteTypeSwitches({1, 4});
    double stored = 7.25;
    records::Rwpric(1, -7, "01/15/98", 5, stored);
    records::Record aapl_before, fund_before;
    records::ReadSecurityRecord(2, aapl_before);
    records::ReadSecurityRecord(3, fund_before);
    UsePeer({
        {"VB980115037833100", {"037833100,21.5,X"}},
        {"DAA980101981231037833100", {"037833100,S,980601,2,Q,980615"}},
        {"VE980115316071109", {"316071109,10.125"}},
        {"VB980115459200101", {"459200101,105.25,X"}},
        {"DAA980101981231459200101", {"459200101,I,980301,0.25,Q,980315"}},
        {"VB980115555555555", {"555555555,5.5,X"}},
        {"DAA980101981231555555555", {"555555555,A,980401,0.3,Q,980415"}},
        {"!I980115777777777", {"777777777,INFO CORP,NYSE"}},
    });
    EXPECT_TRUE(Play("both_prices_and_dividends.script"));
    EXPECT_THAT(Requests(), ElementsAre("VB980115037833100", "DAA980101981231037833100", "VE980115316071109",
                                        "VB980115459200101", "DAA980101981231459200101", "VB980115555555555",
                                        "DAA980101981231555555555", "!I980115777777777"));

    // Prices: the information request files none, the stored one stays.
    EXPECT_EQ(StoredPrice("01/15/98", 1), 105.25);
    EXPECT_EQ(StoredPrice("01/15/98", 2), 21.5);
    EXPECT_EQ(StoredPrice("01/15/98", 3), 10.125);
    EXPECT_EQ(StoredPrice("01/15/98", 4), 5.5);
    EXPECT_EQ(StoredPrice("01/15/98", 5), 7.25);

    // The dividend fields of the securities that got a dividend.
    records::SecurityRecord ibm, zero;
    ASSERT_TRUE(records::ReadSecurity(1, ibm));
    EXPECT_EQ(ibm.ex_date, "03/01/98");
    EXPECT_EQ(ibm.pay_date, "03/15/98");
    EXPECT_FLOAT_EQ(ibm.rate, 1.0f);  // 4 payments of 0.25
    ASSERT_TRUE(records::ReadSecurity(4, zero));
    EXPECT_EQ(zero.ex_date, "04/01/98");
    EXPECT_EQ(zero.pay_date, "04/15/98");
    EXPECT_FLOAT_EQ(zero.rate, 0.8f);  // no payments a year: the stored rate stays
    // Records without a dividend are written back as they were read.
    records::Record aapl_after, fund_after;
    records::ReadSecurityRecord(2, aapl_after);
    records::ReadSecurityRecord(3, fund_after);
    EXPECT_EQ(aapl_after.bytes(), aapl_before.bytes());
    EXPECT_EQ(fund_after.bytes(), fund_before.bytes());

    // SECR1998.DIV: the slot of the pay month in the security's record.
    const records::DirectFile dividends(records::DividendFileName(98), records::kDividendRecordLength, false);
    records::Record rec;
    ASSERT_TRUE(dividends.Read(3, rec));
    const records::DividendSlot march = records::DividendRecord::Decode(rec).months[2];
    EXPECT_FLOAT_EQ(march.amount, 0.25f);
    EXPECT_EQ(march.ex_date, 980301.0f);
    EXPECT_EQ(march.pay_day, 15);
    ASSERT_TRUE(dividends.Read(5, rec));
    EXPECT_FLOAT_EQ(records::DividendRecord::Decode(rec).months[3].amount, 0.3f);

    // SECR1998.SPL: AAPL's split, entered and not yet posted.
    const records::DirectFile splits(records::SplitFileName(98), records::kSplitRecordLength, false);
    ASSERT_TRUE(splits.Read(1, rec));
    EXPECT_EQ(records::SplitFileHeader::Decode(rec).last_record, 2);
    ASSERT_TRUE(splits.Read(2, rec));
    const records::SplitRecord split = records::SplitRecord::Decode(rec);
    EXPECT_EQ(split.symbol, "AAPL        ");
    ASSERT_EQ(split.count, 1);
    EXPECT_FLOAT_EQ(split.splits[0].ratio, 2.0f);
    EXPECT_EQ(split.splits[0].ex_date, 980601.0f);
    EXPECT_EQ(split.splits[0].pay_date, 980615.0f);
    EXPECT_EQ(split.splits[0].posted, 2);
}

// A request the server does not know is refused ("E305"): the first error
// record of the connection shows its line and cancels and hangs up the
// library at once; the run stops there with the glue's status and keeps
// the price it filed before.
TEST_F(PriceDownloadTest, RefusedRequestShowsTheErrorRecordAndStops) {
    WriteFirm({{"IBM", "459200101", "3"}, {"AAPL", "037833100", "3"}, {"ZZZ", "999999999", "3"}});
    WriteTypeSwitches({1});
    UsePeer({{"VB980115037833100", {"037833100,21.5,X"}}, {"VB980115999999999", {"999999999,9.5,X"}}});
    EXPECT_TRUE(Play("refused_request.script"));
    EXPECT_THAT(Requests(), ElementsAre("VB980115037833100", "VB980115459200101"));
    EXPECT_EQ(StoredPrice("01/15/98", 2), 21.5);
    EXPECT_EQ(StoredPrice("01/15/98", 3), kNone);
    EXPECT_FALSE(pricing::FeedConnected());
}

// A connection that brings an error record (the modem finds no carrier)
// leaves the dialog marked as connected: the next Start Download is
// refused at once, without a call, until Done; the dialog opened again
// connects.
TEST_F(PriceDownloadTest, FailedConnectRefusesTheNextStartUntilDone) {
    WriteFirm({{"AAPL", "037833100", "3"}});
    WriteTypeSwitches({1});
    UsePeer({{"VB980115037833100", {"037833100,21.5,X"}}});
    peer_->SetDialOutcome("NO CARRIER");
    EXPECT_TRUE(Play("failed_connect.script"));
    peer_->Settle();
    const std::size_t dials = peer_->Commands().size();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(StoredPrice("01/15/98", 1), kNone);
    EXPECT_FALSE(pricing::FeedConnected());

    peer_->SetDialOutcome("CONNECT 9600");
    EXPECT_TRUE(Play("prices_0115.script"));
    EXPECT_GT(peer_->Commands().size(), dials);
    EXPECT_THAT(Requests(), ElementsAre("VB980115037833100"));
    EXPECT_EQ(StoredPrice("01/15/98", 1), 21.5);
}

// One client: the securities of the account's lots in lot order, whatever
// the type switches and pricing flags say; cash, a repeated symbol, types
// 1, 4, S and Z, bonds due before the pricing date (years placed by the
// date window) and deleted securities are left out, and a type without a
// pricing class is not asked. A client with nothing to price still
// connects and hangs up, and the run ends without an error.
TEST_F(PriceDownloadTest, OneClientPricesTheAccountsSecuritiesInLotOrder) {
    fixtures::WriteAccounts({{.id = "ACC1"}, {.id = "ACC2"}});
    WriteFirm({
        {"IBM", "459200101", "3", 'N'},
        {"CASH", "CASH", "1"},
        {"ONE", "100000001", "1"},
        {"FOUR", "400000001", "4"},
        {"SSS", "500000001", "S"},
        {"ZZZ", "600000001", "Z"},
        {"BOND98", "700000001", "7", 0, ' ', 2, 0, "12/01/98"},  // matured before 12/15/98
        {"BOND05", "700000002", "7", 0, ' ', 2, 0, "12/01/05"},  // due in 2005
        {"BOND75", "700000003", "7", 0, ' ', 2, 0, "12/01/75"},  // matured in 1975
        {"$$$$$$$$$$$$", "800000001", "3"},                      // deleted
        {"TWO", "900000001", "2"},                               // a type without a pricing class
        {"AAPL", "037833100", "3"},
    });
    WriteTypeSwitches({});
    WriteHoldings("ACC1", {{"CASH", 2},
                           {"IBM", 1},
                           {"IBM", 1},
                           {"ONE", 3},
                           {"FOUR", 4},
                           {"SSS", 5},
                           {"ZZZ", 6},
                           {"BOND98", 7},
                           {"BOND05", 8},
                           {"BOND75", 9},
                           {"DEL", 10},
                           {"TWO", 11},
                           {"AAPL", 12}});
    UsePeer({
        {"VB981215459200101", {"459200101,105.25,X"}},
        {"VM981215700000002", {"700000002,99.5,X"}},
        {"VB981215037833100", {"037833100,21.5,X"}},
    });
    EXPECT_TRUE(Play("one_client.script"));
    EXPECT_THAT(Requests(), ElementsAre("VB981215459200101", "VM981215700000002", "VB981215037833100"));
    EXPECT_EQ(StoredPrice("12/15/98", 1), 105.25);
    EXPECT_EQ(StoredPrice("12/15/98", 8), 99.5);
    EXPECT_EQ(StoredPrice("12/15/98", 12), 21.5);
    const int dials = static_cast<int>(peer_->Commands().size());

    // ACC2 holds nothing; 01/15/98 is before the program date, so its
    // holdings are replayed as of that date.
    EXPECT_TRUE(Play("one_client_nothing_held.script"));
    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_GT(static_cast<int>(peer_->Commands().size()), dials);  // it dialled
    peer_->Settle();
    EXPECT_FALSE(peer_->OnLine());
    EXPECT_FALSE(pricing::FeedConnected());
}

// Ignore Securities Already Priced: a security with a usable price for the
// date is left out altogether (no dividend request either); no price, 0
// and 99999.99 are asked again.
TEST_F(PriceDownloadTest, IgnoreSecuritiesAlreadyPriced) {
    WriteFirm({
        {"PRICED", "100000001", "3", 0, ' ', 4, 1},
        {"NOPRICE", "100000002", "3", 0, ' ', 4, 2},
        {"ZERO", "100000003", "3", 0, ' ', 4, 3},
        {"HIGH", "100000004", "3", 0, ' ', 4, 4},
    });
    WriteTypeSwitches({1});
    const std::vector<double> stored = {12.5, -99999.999999, 0.0, 99999.99};
    for (std::size_t i = 0; i < stored.size(); ++i) {
        double price = stored[i];
        records::Rwpric(1, -7, "01/15/98", static_cast<long>(i + 1), price);
    }
    std::map<std::string, Strings> answers;
    for (const char* cusip : {"100000001", "100000002", "100000003", "100000004"}) {
        answers[std::string("VB980115") + cusip] = {std::string(cusip) + ",30,X"};
        answers[std::string("DAA980101981231") + cusip] = {std::string(cusip) + ",U,980301,0.25,Q,980315"};
    }
    UsePeer(answers);
    EXPECT_TRUE(Play("ignore_priced.script"));
    EXPECT_THAT(Requests(),
                ElementsAre("VB980115100000002", "DAA980101981231100000002", "VB980115100000003",
                            "DAA980101981231100000003", "VB980115100000004", "DAA980101981231100000004"));
    EXPECT_EQ(StoredPrice("01/15/98", 1), 12.5);
    for (long n = 2; n <= 4; ++n) EXPECT_EQ(StoredPrice("01/15/98", n), 30.0) << n;
}

// The runs that end before anything is sent, each with its text and status
// 1: no type switched on, nothing of the types switched on, no security
// index, and settings that cannot be read.
TEST_F(PriceDownloadTest, RunsThatFindNothingToPriceSaySo) {
    const std::string no_types = " No security types have been selected for pricing.";
    const std::string no_securities =
        " *** Warning: no securities identified for pricing, please check specified security types.";
    const std::string no_settings = " *** ERROR: the settings in COMMON.FIL cannot be read.";
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"no type switched on", [] { WriteTypeSwitches({}); }, no_types},
        {"no security of the types",
         [] {
             WriteTypeSwitches({2, 3});
         },
         no_securities},
        {"no security index",
         [] {
             WriteTypeSwitches({1});
             std::filesystem::remove(records::ResolveName(records::kSecurityIndex));
         },
         no_securities},
        {"no type switch record",
         [] {
             WriteTypeSwitches({1});
             records::DirectFile(records::kCommonFile, 128).Truncate(31);
         },
         no_settings},
    };
    for (const Case& c : cases) {
        WriteFirm({{"IBM", "459200101", "3"}, {"AAPL", "037833100", "3"}});
        c.prepare();
        int16_t status = 0;
        std::string message(128, ' ');
        pricing::Autopric("N   ", "        ", 'P', "N   ", "N   ", "01/15/98", "01/01/98", "12/31/98", 0,
                          status, message, 128);
        EXPECT_EQ(status, 1) << c.name;
        EXPECT_EQ(message, records::Fixed(c.message, 128)) << c.name;
        EXPECT_FALSE(pricing::FeedConnected()) << c.name;
        EXPECT_FALSE(std::filesystem::exists("autoerr.txt")) << c.name;
    }
    // The dialog shows the text.
    WriteFirm({{"IBM", "459200101", "3"}});
    WriteTypeSwitches({});
    EXPECT_TRUE(
        PlayText("menu \"Pricing/Auto\"\n"
                 "dialog 141\n"
                 "  click 1020\n"
                 "  message \"" +
                 no_types +
                 "\" \"Test QRN Diagnostic\" ok\n"
                 "  click 1004\n"
                 "closed\n"));
}

// The lot walk of the one-client list ends at the list's end, at a link of
// 0, at a link past the file, and after as many steps as the file has
// records when the links run in a circle.
TEST_F(PriceDownloadTest, ChkdelWalkEndsOnDamagedLinks) {
    WriteFirm({{"IBM", "459200101", "3"}, {"AAPL", "037833100", "3"}});
    struct Case {
        const char* name;
        int16_t ibm_next;   // IBM is record 2, the first lot
        int16_t aapl_next;  // AAPL is record 3
        std::vector<std::string> listed;
    };
    const std::vector<Case> cases = {
        {"list end", 3, -1, {"IBM", "AAPL"}},
        {"link of 0", 0, -1, {"IBM"}},
        {"link past the file", 9, -1, {"IBM"}},
        {"circle", 3, 2, {"IBM", "AAPL", "IBM"}},
    };
    for (const Case& c : cases) {
        WriteHoldings("ACC1", {{"IBM", 1}, {"AAPL", 2}});
        {
            records::DirectFile file("HLACC1.REC", 128);
            records::Record rec;
            file.Read(2, rec);
            rec.SetI16(0, c.ibm_next);
            file.Write(2, rec);
            file.Read(3, rec);
            rec.SetI16(0, c.aapl_next);
            file.Write(3, rec);
        }
        records::Open(7, records::kSecurityIndex);
        records::Open(8, records::kSecurityRecords);
        int16_t count = -1;
        std::vector<pricing::PricingCandidate> list;
        pricing::Chkdel("ACC1    ", "12/15/98", count, 981215.0f, 981208.0f, list);
        records::Close(7);
        records::Close(8);
        std::vector<std::string> listed;
        for (const auto& candidate : list) listed.push_back(records::TrimRight(candidate.symbol));
        EXPECT_EQ(listed, c.listed) << c.name;
        EXPECT_EQ(count, static_cast<int16_t>(c.listed.size())) << c.name;
    }
}

// The line breaks down during a request (the carrier drops): the error
// record is shown, the run stops with the glue's status, and the price
// file keeps what it held.
TEST_F(PriceDownloadTest, BrokenLineStopsTheRun) {
    WriteFirm({{"AAPL", "037833100", "3"}, {"IBM", "459200101", "3"}});
    WriteTypeSwitches({1});
    double stored = 33.0;
    records::Rwpric(1, -7, "01/15/98", 1, stored);
    UsePeer({{"VB980115037833100", {"037833100,21.5,X"}}, {"VB980115459200101", {"459200101,105.25,X"}}});
    peer_->Inject(feedpeer::Fault::kCarrierLoss);
    EXPECT_TRUE(
        PlayText("menu \"Pricing/Auto\"\n"
                 "dialog 141\n"
                 "  set 1009 \"01/15/98\"\n"
                 "  click 1020\n"
                 "  message \"    1 : error :ERROR -126: The carrier was lost\" \"Test QRN Diagnostic.\" ok\n"
                 "  message \"\" \"Test QRN Diagnostic\" ok\n"
                 "  click 1004\n"
                 "closed\n"));
    EXPECT_THAT(Requests(), ElementsAre("VB980115037833100"));
    EXPECT_EQ(StoredPrice("01/15/98", 1), 33.0);
    EXPECT_EQ(StoredPrice("01/15/98", 2), kNone);
    EXPECT_FALSE(pricing::FeedConnected());
}

// The order of the all-accounts run: the key of the first six characters of
// the CUSIP number, blank-padded, sorts A before AB before B and digits
// before letters; the sixth character is below the key's single precision.
TEST(PricingKeyTest, OrdersByTheFirstSixCharacters) {
    EXPECT_LT(pricing::PricingKey("A"), pricing::PricingKey("AB"));
    EXPECT_LT(pricing::PricingKey("AB"), pricing::PricingKey("B"));
    EXPECT_LT(pricing::PricingKey("98412J104"), pricing::PricingKey("A"));
    EXPECT_LT(pricing::PricingKey("037833100"), pricing::PricingKey("316071109"));
    EXPECT_EQ(pricing::PricingKey("ABCDEF"), pricing::PricingKey("ABCDEG"));
    EXPECT_EQ(pricing::PricingKey("ABCDEFXYZ"), pricing::PricingKey("ABCDEF"));
}

}  // namespace
}  // namespace pricingtest
