// The Price Download dialog and the automatic pricing run, from the menu
// Pricing/Auto of the running program against the simulated modem and
// price server: what the server is asked, in which order, and what the
// run files (price file, security records, dividend and split files,
// SECURITY.EXT, autoerr.txt); the error record of a refused request; the
// one-client list; the dialog's own buttons.

#include <gmock/gmock.h>

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

}  // namespace
}  // namespace pricingtest
