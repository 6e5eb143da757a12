#include "records/lookups.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::AccountFields;
using fixtures::SecurityFields;
using fixtures::TempDataDir;
using namespace records;

std::string Pad(const std::string& s, std::size_t n) {
    return Fixed(s, n);
}

// Three accounts whose salutation and short name differ, so a test sees
// which of the two a look-up returns.
std::vector<AccountFields> ThreeAccounts() {
    return {
        {.id = "SMITH",
         .name = "John Smith",
         .manager = "JOE ",
         .salutation = "Dear John",
         .short_name = "SMITH JOHN",
         .opened = "01/15/98",
         .custodian_account = "CUST-0001",
         .broker = "MERRIL",
         .objective = "GRTH"},
        {.id = "$$$$$$",
         .name = "Deleted",
         .manager = "ANN ",
         .salutation = "Dear Gone",
         .short_name = "GONE",
         .opened = "02/01/99"},
        {.id = "JONES",
         .name = "Mary Jones",
         .manager = "ANN ",
         .salutation = "Dear Mary",
         .short_name = "JONES MARY",
         .opened = "03/31/05",
         .custodian_account = "CUST-0003",
         .broker = "SCHWAB",
         .objective = "INC "},
    };
}

TEST(LookupGtclnt, WalksTheIndexReturningShortNameAndManager) {
    TempDataDir dir;
    fixtures::WriteAccounts(ThreeAccounts());
    int position = 0;
    AccountSummary a = Gtclnt(position);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(a.count, 3);
    EXPECT_EQ(a.account, "SMITH   ");
    EXPECT_EQ(a.name, Pad("SMITH JOHN", 32));  // the short name, not the salutation
    EXPECT_EQ(a.manager, "JOE ");

    a = Gtclnt(position);  // a deleted key comes back as it is
    EXPECT_EQ(position, 2);
    EXPECT_EQ(a.account, "$$$$$$  ");

    a = Gtclnt(position);
    EXPECT_EQ(position, 3);
    EXPECT_EQ(a.account, "JONES   ");
    EXPECT_EQ(a.name, Pad("JONES MARY", 32));
    EXPECT_EQ(a.manager, "ANN ");
    EXPECT_FALSE(IsOpen(6));
}

TEST(LookupGtclnt, EmptyIndexResetsThePosition) {
    TempDataDir dir;
    int position = 5;
    AccountSummary a = Gtclnt(position);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(a.count, 0);
    EXPECT_EQ(a.account, Pad("", 8));
    fixtures::WriteAccountIndex({});
    position = 0;
    a = Gtclnt(position);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(a.count, 0);
}

TEST(LookupGtclnt, AccountWithoutRecordsHasBlankNameAndCode) {
    TempDataDir dir;
    fixtures::WriteAccountIndex({"ONLY"});  // no ACCOUNT.REC
    int position = 0;
    AccountSummary a = Gtclnt(position);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(a.count, 1);
    EXPECT_EQ(a.account, "ONLY    ");
    EXPECT_EQ(a.name, Pad("", 32));
    EXPECT_EQ(a.manager, "    ");
}

TEST(LookupGtclt2, AddsCustodianAccountBrokerAndObjective) {
    TempDataDir dir;
    fixtures::WriteAccounts(ThreeAccounts());
    int position = 2;
    AccountDetail a = Gtclt2(position);
    EXPECT_EQ(position, 3);
    EXPECT_EQ(a.count, 3);
    EXPECT_EQ(a.account, "JONES   ");
    EXPECT_EQ(a.name, Pad("JONES MARY", 32));
    EXPECT_EQ(a.manager, "ANN ");
    EXPECT_EQ(a.custodian_account, Pad("CUST-0003", 32));
    EXPECT_EQ(a.broker, "SCHWAB  ");
    EXPECT_EQ(a.objective, "INC ");
}

TEST(LookupCkclnt, EntryCountsOneFurtherThanTheKey) {
    TempDataDir dir;
    fixtures::WriteAccounts(ThreeAccounts());
    AccountEntry e = Ckclnt("JONES");
    EXPECT_EQ(e.entry, 4);  // key 3: first record 8 x 4 - 15 = 17
    EXPECT_EQ(e.name, Pad("JONES MARY", 32));
    e = Ckclnt("SMITH");
    EXPECT_EQ(e.entry, 2);
    EXPECT_EQ(e.name, Pad("SMITH JOHN", 32));
    e = Ckclnt("jones");
    EXPECT_EQ(e.entry, 0);
    EXPECT_EQ(e.name, Pad("", 32));
    EXPECT_FALSE(IsOpen(6));
}

TEST(LookupJncltx, PlaceAndIndexRecordOfTheKey) {
    TempDataDir dir;
    std::vector<AccountFields> accounts;
    for (int i = 1; i <= 18; ++i)
        accounts.push_back({.id = "AC" + std::to_string(i), .short_name = "NAME " + std::to_string(i)});
    fixtures::WriteAccounts(accounts);
    struct Case {
        const char* id;
        int place;
        int index_record;
        const char* name;
    } cases[] = {
        {"AC1", 1, 2, "NAME 1"},   {"AC16", 16, 2, "NAME 16"}, {"AC17", 1, 3, "NAME 17"},
        {"AC18", 2, 3, "NAME 18"}, {"AC19", 0, 0, ""},
    };
    for (const auto& c : cases) {
        AccountPlace p = Jncltx(c.id);
        EXPECT_EQ(p.place, c.place) << c.id;
        EXPECT_EQ(p.index_record, c.index_record) << c.id;
        EXPECT_EQ(p.name, Pad(c.name, 32)) << c.id;
    }
}

TEST(LookupCkct75, ReadsThePerformanceFieldsAtTheirPlaces) {
    TempDataDir dir;
    fixtures::WriteAccountIndex({"FIRST", "PERF"});
    fixtures::WriteAccountRecords(1, fixtures::AccountRecords({.id = "FIRST"}));
    auto recs = fixtures::AccountRecords({.id = "PERF",
                                          .manager = "MGR1",
                                          .short_name = "PERF ACCOUNT",
                                          .opened = "06/30/97",
                                          .fiscal_year_end = 6});
    recs[2].SetR4(124, 2.5f);     // figure C
    recs[3].SetR4(0, 450.25f);    // index 1 level on the opening date
    recs[3].SetR4(4, 1020.5f);    // index 2 level
    recs[3].SetR8(8, 125000.75);  // value on the opening date
    recs[3].SetI16(16, 3);        // performance start month
    recs[3].SetI16(18, 101);      // and year
    recs[3].SetR8(20, 1234.5);    // carried in gain
    recs[3].SetR4(28, 7.25f);     // carried in return
    recs[3].SetR4(32, -1.5f);     // figure B
    recs[6].SetText(0, 32, "F1      F2      F3      F4      ");
    recs[7].SetText(0, 36, Pad("SPX", 12) + "IDX1    COL2    COL3    ");
    recs[7].SetText(36, 36, Pad("AGG", 12) + "BND1    BND2    BND3    ");
    fixtures::WriteAccountRecords(2, recs);

    PerformanceAccount p = Ckct75("PERF");
    EXPECT_EQ(p.position, 2);
    EXPECT_EQ(p.title, Pad("PERF ACCOUNT", 32));
    EXPECT_EQ(p.manager, "MGR1");
    EXPECT_EQ(p.opening_date, "06/30/97");
    EXPECT_EQ(p.fiscal_month, 6);
    EXPECT_EQ(p.figure_c, 2.5f);
    EXPECT_EQ(p.index1_base, 450.25f);
    EXPECT_EQ(p.index2_base, 1020.5f);
    EXPECT_EQ(p.initial_value, 125000.75);
    EXPECT_EQ(p.carry_month, 3);
    EXPECT_EQ(p.carry_year, 101);
    EXPECT_EQ(p.carried_gain, 1234.5);
    EXPECT_EQ(p.carried_return, 7.25f);
    EXPECT_EQ(p.figure_b, -1.5f);
    EXPECT_EQ(p.fields[0], "F1      ");
    EXPECT_EQ(p.fields[3], "F4      ");
    EXPECT_EQ(p.index1.symbol, "SPX         ");
    EXPECT_EQ(p.index1.headers[0], "IDX1    ");
    EXPECT_EQ(p.index1.headers[2], "COL3    ");
    EXPECT_EQ(p.index2.symbol, "AGG         ");
    EXPECT_EQ(p.index2.headers[1], "BND2    ");

    PerformanceAccount none = Ckct75("NOPE");
    EXPECT_EQ(none.position, 0);
    EXPECT_EQ(none.title, Pad("", 32));
}

std::vector<SecurityFields> Securities() {
    return {
        {.symbol = "CASH",
         .cusip = "CASH",
         .description1 = "CASH",
         .type = "1",
         .maturity = "12/31/99",
         .rate = 5.0f},
        {.symbol = "IBM", .cusip = "459200101", .description1 = "INTL BUSINESS MACHINES", .type = "3"},
        {.symbol = "T 12.5 10",
         .cusip = "912810AB1",
         .description1 = "US TREASURY BOND",
         .type = "4",
         .category = "17",
         .maturity = "06/15/10",
         .rate = 12.5f},
    };
}

TEST(LookupGettyp, ReadsTypeAndCouponFieldsThroughTheCallersUnits) {
    TempDataDir dir;
    fixtures::WriteSecurities(Securities());
    Open(3, kSecurityIndex);
    UnitGuard index_guard(3);
    Open(4, kSecurityRecords);
    UnitGuard record_guard(4);
    SecurityType t = Gettyp("T 12.5 10", 3, 4);
    EXPECT_EQ(t.entry, 3);
    EXPECT_EQ(t.type, "4   ");
    EXPECT_EQ(t.cusip, "912810AB1   ");
    EXPECT_EQ(t.maturity, "06/15/10");
    EXPECT_EQ(t.rate, 12.5f);
    t = Gettyp("CASH", 3, 4);
    EXPECT_EQ(t.type, "1   ");
    t = Gettyp("MSFT", 3, 4);
    EXPECT_EQ(t.entry, 0);
    EXPECT_EQ(t.type, "    ");
    EXPECT_TRUE(IsOpen(3));
    EXPECT_TRUE(IsOpen(4));
}

TEST(LookupCksym, ReadsTheRecordOfTheSymbol) {
    TempDataDir dir;
    fixtures::WriteSecurities(Securities());
    Options options{};
    SecurityDescription s = Cksym("IBM", options);
    EXPECT_EQ(s.entry, 2);
    EXPECT_EQ(s.cusip, "459200101   ");
    EXPECT_EQ(s.description1, Pad("INTL BUSINESS MACHINES", 32));
    EXPECT_EQ(s.type, "3   ");
    EXPECT_EQ(Cksym("ibm", options).entry, 0);
    EXPECT_FALSE(IsOpen(7));
    EXPECT_FALSE(IsOpen(8));
}

TEST(LookupCksym, GeneratesTheSecondLineOfABondOnlyWhenEveryConditionHolds) {
    const std::string generated = "  12.500%  06/15/10" + std::string(13, ' ');
    ASSERT_EQ(generated.size(), 32u);
    struct Case {
        const char* what;
        bool option2;
        SecurityFields security;
        std::string expected;
    } cases[] = {
        {"bond", true, {.symbol = "BOND", .type = "4", .maturity = "06/15/10", .rate = 12.5f}, generated},
        {"option 2 off",
         false,
         {.symbol = "BOND", .type = "4", .maturity = "06/15/10", .rate = 12.5f},
         Pad("", 32)},
        {"own second line",
         true,
         {.symbol = "BOND",
          .description2 = "CALLABLE 2008",
          .type = "4",
          .maturity = "06/15/10",
          .rate = 12.5f},
         Pad("CALLABLE 2008", 32)},
        {"no maturity", true, {.symbol = "BOND", .type = "4", .rate = 12.5f}, Pad("", 32)},
        {"cash",
         true,
         {.symbol = "CASHUSD", .type = "4", .maturity = "06/15/10", .rate = 12.5f},
         Pad("", 32)},
        {"type 1", true, {.symbol = "BOND", .type = "1", .maturity = "06/15/10", .rate = 12.5f}, Pad("", 32)},
        {"no rate", true, {.symbol = "BOND", .type = "4", .maturity = "06/15/10"}, Pad("", 32)},
        {"small rate",
         true,
         {.symbol = "BOND", .type = "4", .maturity = "01/01/30", .rate = 0.125f},
         "   0.125%  01/01/30" + std::string(13, ' ')},
    };
    for (const auto& c : cases) {
        TempDataDir dir;
        fixtures::WriteSecurities({c.security});
        Options options{};
        records::SetOption(options, records::Opt::kCouponDueDescription, c.option2 ? 1 : 0);
        SecurityDescription s = Cksym(c.security.symbol, options);
        EXPECT_EQ(s.entry, 1) << c.what;
        EXPECT_EQ(s.description2, c.expected) << c.what;
    }
}

// A holdings file HL<acct>.REC: header and lot records at the places the
// engine writes them.
struct Lot {
    long record;
    int16_t next;
    std::string symbol;
    std::string tax_lot;
    double cost;
    std::string open_date;
    std::string memo;
};

void WriteHoldings(const std::string& name, int16_t first, const std::vector<Lot>& lots, int16_t in_use = 9) {
    DirectFile f(name, 128);
    Record head(128, 0);
    head.SetI16(0, first);
    head.SetText(2, 8, "ACCT");
    head.SetI16(10, in_use);
    head.SetI16(12, 10);
    f.Write(1, head);
    for (const Lot& l : lots) {
        Record rec(128, 0);
        rec.SetI16(0, l.next);
        rec.SetText(10, 12, l.symbol);
        rec.SetText(32, 4, l.tax_lot);
        rec.SetR8(44, l.cost);
        rec.SetText(52, 8, l.open_date);
        rec.SetText(76, 20, l.memo);
        f.Write(l.record, rec);
    }
}

// Lots chained 2 -> 4 -> 3, the same security in two tax lots.
void WriteSampleHoldings() {
    WriteHoldings("HLACCT.REC", 2,
                  {{2, 4, "CASH", "", 500.0, "", ""},
                   {4, 3, "IBM", "A", 1000.0, "01/02/03", "first memo"},
                   {3, -1, "IBM", "B", 2500.5, "04/05/06", "second memo"}});
}

TEST(LookupGetco, FindsOpenDateAndCostOfTheLot) {
    TempDataDir dir;
    WriteSampleHoldings();
    std::optional<LotOpening> lot = Getco("ACCT", "IBM", "B");
    ASSERT_TRUE(lot.has_value());
    EXPECT_EQ(lot->open_date, "04/05/06");
    EXPECT_EQ(lot->cost, 2500.5);
    lot = Getco("ACCT", "IBM", "A");
    ASSERT_TRUE(lot.has_value());
    EXPECT_EQ(lot->cost, 1000.0);
    EXPECT_FALSE(Getco("ACCT", "IBM", "C").has_value());
    EXPECT_FALSE(Getco("ACCT", "ibm", "A").has_value());
    EXPECT_FALSE(Getco("OTHER", "IBM", "A").has_value());  // no holdings file
    EXPECT_FALSE(IsOpen(10));
}

TEST(LookupGetco, EmptyHeaderAndLoopingChainFindNothing) {
    TempDataDir dir;
    WriteHoldings("HLACCT.REC", 2, {{2, -1, "IBM", "A", 1.0, "01/01/01", ""}}, 0);  // records in use 0
    EXPECT_FALSE(Getco("ACCT", "IBM", "A").has_value());
    // A damaged chain that loops back must not hold the walk.
    WriteHoldings("HLACCT.REC", 2,
                  {{2, 3, "IBM", "A", 1.0, "01/01/01", ""}, {3, 2, "GE", "A", 2.0, "01/01/01", ""}});
    EXPECT_FALSE(Getco("ACCT", "MSFT", "A").has_value());
    EXPECT_TRUE(Getco("ACCT", "GE", "A").has_value());
}

void WriteHoldingsExtension(long record, const std::string& date, const std::string& description) {
    DirectFile f("HLACCT.EXT", 128);
    Record rec(128, ' ');
    rec.SetText(0, 8, date);
    rec.SetText(8, 32, description);
    f.Write(record, rec);
}

TEST(LookupFtele, FillsBlankTextsFromTheMatchingLot) {
    struct Case {
        const char* what;
        std::string symbol;
        std::string tax_lot;
        std::string text_in;
        bool option64;
        std::string text_out;
        std::string date_out;
        std::string description_out;
    } cases[] = {
        {"memo only", "IBM", "B", Pad("", 20), false, Pad("second memo", 20), "OLD DATE", Pad("old", 32)},
        {"memo and extension", "IBM", "B", Pad("", 20), true, Pad("second memo", 20), "12/12/12",
         Pad("LOT THREE TEXT", 32)},
        // Only a wholly blank text is filled: one that begins with five
        // blanks is the caller's own.
        {"first five blank", "IBM", "A", "     OWN MEMO       ", true, "     OWN MEMO       ", "OLD DATE",
         Pad("old", 32)},
        {"text already there", "IBM", "A", "MINE                ", true, "MINE                ", "OLD DATE",
         Pad("old", 32)},
        {"cash", "CASH", "", Pad("", 20), true, Pad("", 20), "OLD DATE", Pad("old", 32)},
        // Without a matching lot nothing is copied, not even from the last
        // lot the walk visited.
        {"no such lot", "IBM", "Z", Pad("", 20), true, Pad("", 20), "OLD DATE", Pad("old", 32)},
    };
    for (const auto& c : cases) {
        TempDataDir dir;
        WriteSampleHoldings();
        WriteHoldingsExtension(3, "12/12/12", "LOT THREE TEXT");
        WriteHoldingsExtension(4, "11/11/11", "LOT FOUR TEXT");
        Options options{};
        records::SetOption(options, records::Opt::kLotTexts, c.option64 ? 1 : 0);
        std::string text = c.text_in, date = "OLD DATE", description = Pad("old", 32);
        Ftele("ACCT", c.symbol, c.tax_lot, text, date, description, options);
        EXPECT_EQ(text, c.text_out) << c.what;
        EXPECT_EQ(date, c.date_out) << c.what;
        EXPECT_EQ(description, c.description_out) << c.what;
        EXPECT_FALSE(IsOpen(16));
    }
}

TEST(LookupFtele, MissingExtensionRecordKeepsTheTexts) {
    TempDataDir dir;
    WriteSampleHoldings();
    Options options{};
    records::SetOption(options, records::Opt::kLotTexts, 1);
    std::string text = Pad("", 20), date = "OLD DATE", description = Pad("old", 32);
    Ftele("ACCT", "IBM", "A", text, date, description, options);
    EXPECT_EQ(text, Pad("first memo", 20));
    EXPECT_EQ(date, "OLD DATE");
    EXPECT_EQ(description, Pad("old", 32));
}

}  // namespace
