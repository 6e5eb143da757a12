// The composite transaction ledger: goldens of the combined list, the
// selection through an account list file, and the sort.

#include "reports/ledgers/composite_ledger.h"

#include <gtest/gtest.h>

#include <random>

#include "records/files.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/ledgers/ledger_data.h"

namespace {

using fixtures::TempDataDir;

std::string RunComposite(const std::string& kind, const std::string& manager, const std::string& codes = "",
                         const std::string& transaction_type = "", const std::string& security_type = "",
                         const std::string& list_file = "compfile.lst") {
    reports::Mcmtrn(records::Fixed(kind, 4), records::Fixed(manager, 4), "01/01/05", "12/31/05",
                    records::Fixed(security_type, 4), records::Fixed(codes, 20),
                    records::Fixed(transaction_type, 4), records::Fixed(list_file, 12), 12,
                    records::Fixed("COMBINED.TXT", 12), 12, records::Fixed("GROWTH ACCOUNTS", 32));
    return fixtures::ReportText("COMBINED.TXT");
}

class Composite : public ::testing::Test {
protected:
    void SetUp() override {
        ledgerfix::WriteFirm();
        ledgerfix::WriteLedgerAccounts();
    }
    TempDataDir dir_;
};

// Both accounts interleaved by date, with the interest lines, the
// transfer's lines, NET AMOUNT, NET PURCHASES and NET SALES.
TEST_F(Composite, CombinesTheAccountsOfThePatternByDate) {
    fixtures::CompareWithGolden("reports/ledgers/composite_ledger_all.txt", RunComposite("A", "AB??"));
}

// Only IP chosen: the interest lines alone; a type filter; no transaction.
TEST_F(Composite, FilteredLists) {
    fixtures::CompareWithGolden("reports/ledgers/composite_ledger_codes_ip.txt",
                                RunComposite("A", "????", "IP"));
    fixtures::CompareWithGolden("reports/ledgers/composite_ledger_none.txt",
                                RunComposite("A", "????", "", "Q"));
}

// The accounts of the list file in its order; an identifier that is not in
// the index is passed over.
TEST_F(Composite, TakesTheAccountsOfTheListFile) {
    {
        records::TextFile list("compfile.lst");
        list.WriteLine("JONES");
        list.WriteLine("NOBODY");
    }
    const std::string text = RunComposite("S", "????");
    EXPECT_NE(text.find(" JONES      01/05/05"), std::string::npos);
    EXPECT_EQ(text.find("SMITH1"), std::string::npos);
    EXPECT_NE(text.find("(1,600.00)"), std::string::npos);
}

TEST(Mcmsrt, SortsByDateCarryingTheTags) {
    std::mt19937 rng(7);
    std::vector<reports::CompositeEntry> entries;
    for (int k = 0; k < 1000; ++k)
        entries.push_back({static_cast<double>(1050101 + rng() % 300), k + 2, static_cast<int>(rng() % 5)});
    std::vector<reports::CompositeEntry> sorted = entries;
    reports::Mcmsrt(sorted);
    ASSERT_EQ(sorted.size(), entries.size());
    for (std::size_t k = 1; k < sorted.size(); ++k) EXPECT_LE(sorted[k - 1].key, sorted[k].key);
    // Every entry is there once, with its own tags.
    std::vector<bool> seen(entries.size(), false);
    for (const reports::CompositeEntry& e : sorted) {
        const std::size_t k = static_cast<std::size_t>(e.record - 2);
        EXPECT_FALSE(seen[k]);
        seen[k] = true;
        EXPECT_EQ(e.key, entries[k].key);
        EXPECT_EQ(e.account, entries[k].account);
    }
}

TEST(CompositeEmpty, AnEmptyDirectoryGivesTheHeadingAndZeroTotals) {
    TempDataDir dir;
    const std::string text = RunComposite("A", "????");
    EXPECT_NE(text.find("(NO TRANSACTIONS REPORTED.)"), std::string::npos);
    EXPECT_NE(text.find("NET SALES"), std::string::npos);
}

}  // namespace

namespace {

// A short page: a line that finds the page at its length less 9 starts the
// next page under the full heading.
TEST_F(Composite, BreaksThePageAtItsLengthLessNine) {
    ledgerfix::WriteFirm(30);
    fixtures::CompareWithGolden("reports/ledgers/composite_ledger_page_break.txt", RunComposite("A", "????"));
}

}  // namespace
