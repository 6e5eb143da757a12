// The module entry stores: hand-built files read field by field and
// written back byte for byte, entries of different keys kept apart, a new
// key appended with record 1 moved on, a store that cannot be written
// reported; and Dipost's post date.

#include "records/module_stores.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

std::vector<unsigned char> Bytes(const std::vector<Record>& recs) {
    std::vector<unsigned char> bytes;
    for (const Record& r : recs) bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    return bytes;
}

Record Directory(std::size_t length, int16_t last) {
    Record rec(length, 0);
    rec.SetI16(0, last);
    return rec;
}

Record BillingRecord(const char* account, float balance, const char* paid_on, char method, int16_t month) {
    Record rec(128, 0);
    rec.SetText(0, 8, account);
    rec.SetR4(8, balance);
    rec.SetR4(12, 250.5f);
    rec.SetText(16, 8, paid_on);
    rec.data()[24] = static_cast<unsigned char>(method);
    rec.SetR4(25, 1200.0f);
    rec.SetI16(29, month);
    rec.SetI16(31, 98);
    rec.SetText(33, 8, "12/31/98");
    return rec;
}

TEST(AccountBillingStore, AHandBuiltFileReadsByAccountAndWritesBackTheSameBytes) {
    TempDataDir dir;
    const std::vector<unsigned char> file =
        Bytes({Directory(128, 3), BillingRecord("ACC001", 100.25f, "01/15/98", 'C', 11),
               BillingRecord("ACC002", -7.5f, "        ", ' ', 0)});
    TempDataDir::WriteBytes(kAccountBillingFile, file);

    AccountBilling second;
    ASSERT_TRUE(ReadAccountBilling("ACC002", second));
    EXPECT_EQ(second.account, "ACC002  ");
    EXPECT_EQ(second.balance_due, -7.5f);
    EXPECT_EQ(second.payment, 250.5f);
    EXPECT_EQ(second.last_payment_date, "        ");
    EXPECT_EQ(second.payment_method, ' ');
    EXPECT_EQ(second.total_billed, 1200.0f);
    EXPECT_EQ(second.last_month, 0);
    EXPECT_EQ(second.last_year, 98);
    EXPECT_EQ(second.closing_date, "12/31/98");
    AccountBilling first;
    ASSERT_TRUE(ReadAccountBilling("ACC001", first));
    EXPECT_EQ(first.balance_due, 100.25f);
    EXPECT_EQ(first.last_payment_date, "01/15/98");
    EXPECT_EQ(first.payment_method, 'C');
    EXPECT_EQ(first.last_month, 11);
    AccountBilling none;
    EXPECT_FALSE(ReadAccountBilling("ACC003", none));

    ASSERT_TRUE(WriteAccountBilling(second));
    ASSERT_TRUE(WriteAccountBilling(first));
    EXPECT_EQ(TempDataDir::ReadBytes(kAccountBillingFile), file);

    // A new account goes after the last in use, and record 1 follows it.
    AccountBilling third = first;
    third.account = "ACC003";
    third.balance_due = 3.0f;
    ASSERT_TRUE(WriteAccountBilling(third));
    const std::vector<unsigned char> grown = TempDataDir::ReadBytes(kAccountBillingFile);
    ASSERT_EQ(grown.size(), 4u * 128u);
    EXPECT_EQ(grown[0], 4);
    EXPECT_TRUE(std::equal(file.begin() + 128, file.end(), grown.begin() + 128));
    ASSERT_TRUE(ReadAccountBilling("ACC003", none));
    EXPECT_EQ(none.balance_due, 3.0f);
    ASSERT_TRUE(ReadAccountBilling("ACC001", first));
    EXPECT_EQ(first.balance_due, 100.25f);
}

TEST(AccountBillingStore, AMissingStoreHasNoEntryAndAFirstWriteMakesIt) {
    TempDataDir dir;
    AccountBilling entry;
    EXPECT_FALSE(ReadAccountBilling("ACC001", entry));
    EXPECT_FALSE(TempDataDir::Exists(kAccountBillingFile));
    entry.account = "ACC001";
    entry.last_payment_date = "01/02/99";
    entry.closing_date = "";
    ASSERT_TRUE(WriteAccountBilling(entry));
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(kAccountBillingFile);
    Record expected(128, 0);
    expected.SetText(0, 8, "ACC001");
    expected.SetText(16, 8, "01/02/99");
    expected.data()[24] = ' ';
    expected.SetText(33, 8, "");
    EXPECT_EQ(bytes, Bytes({Directory(128, 2), expected}));
}

TEST(AccountBillingStore, AStoreThatCannotBeOpenedIsReportedAsNotWritten) {
    TempDataDir dir;
    std::filesystem::create_directory(kAccountBillingFile);
    AccountBilling entry;
    entry.account = "ACC001";
    EXPECT_FALSE(WriteAccountBilling(entry));
    EXPECT_FALSE(ReadAccountBilling("ACC001", entry));
}

Record DistributionRecord(int16_t year, const char* symbol, float rate) {
    Record rec(512, 0);
    rec.SetI16(0, year);
    rec.SetText(2, 12, symbol);
    for (int m = 0; m < 12; ++m) {
        const std::size_t at = 14 + 34 * m;
        rec.SetI16(at, static_cast<int16_t>(m + 1));
        rec.SetI16(at + 2, 15);
        rec.SetI16(at + 4, year % 100);
        rec.SetI16(at + 6, static_cast<int16_t>(m + 1));
        rec.SetI16(at + 8, 28);
        rec.SetI16(at + 10, year % 100);
        rec.SetR4(at + 12, rate + m);
        rec.SetR4(at + 16, 0.25f);
        rec.SetR4(at + 20, 1.5f);
        rec.SetR4(at + 24, 20.125f);
        rec.SetR4(at + 28, 0.01f);
        rec.SetI16(at + 32, static_cast<int16_t>(m % 2));
    }
    return rec;
}

TEST(IncomeDistributionStore, YearAndSecurityTogetherAreTheKeyAndTheBytesComeBackTheSame) {
    TempDataDir dir;
    const std::vector<unsigned char> file =
        Bytes({Directory(512, 4), DistributionRecord(1998, "IBM", 1.0f),
               DistributionRecord(1998, "MSFT", 2.0f), DistributionRecord(1999, "IBM", 3.0f)});
    TempDataDir::WriteBytes(kIncomeDistributionFile, file);

    DistributionRows ibm98{}, msft98{}, ibm99{}, none{};
    ASSERT_TRUE(ReadIncomeDistributions(1998, "IBM", ibm98));
    ASSERT_TRUE(ReadIncomeDistributions(1998, "MSFT", msft98));
    ASSERT_TRUE(ReadIncomeDistributions(1999, "IBM", ibm99));
    EXPECT_FALSE(ReadIncomeDistributions(2000, "IBM", none));
    EXPECT_FALSE(ReadIncomeDistributions(1998, "IB", none));
    EXPECT_EQ(ibm98[0].dividend_rate, 1.0f);
    EXPECT_EQ(msft98[0].dividend_rate, 2.0f);
    EXPECT_EQ(ibm99[11].dividend_rate, 14.0f);
    const DistributionRow& march = ibm98[2];
    EXPECT_EQ(march.ex_month, 3);
    EXPECT_EQ(march.ex_day, 15);
    EXPECT_EQ(march.ex_year, 98);
    EXPECT_EQ(march.pay_month, 3);
    EXPECT_EQ(march.pay_day, 28);
    EXPECT_EQ(march.pay_year, 98);
    EXPECT_EQ(march.interest_rate, 0.25f);
    EXPECT_EQ(march.capital_distribution, 1.5f);
    EXPECT_EQ(march.reinvest_price, 20.125f);
    EXPECT_EQ(march.dividend_expense, 0.01f);
    EXPECT_EQ(march.expense_flag, 0);
    EXPECT_EQ(ibm98[3].expense_flag, 1);

    ASSERT_TRUE(WriteIncomeDistributions(1999, "IBM", ibm99));
    ASSERT_TRUE(WriteIncomeDistributions(1998, "MSFT", msft98));
    EXPECT_EQ(TempDataDir::ReadBytes(kIncomeDistributionFile), file);

    // Record 1 limits the scan: an entry past the last in use is not found
    // and the next write takes its place.
    std::vector<unsigned char> short_directory = file;
    short_directory[0] = 3;
    TempDataDir::WriteBytes(kIncomeDistributionFile, short_directory);
    EXPECT_FALSE(ReadIncomeDistributions(1999, "IBM", none));
    ibm99[0].dividend_rate = 9.0f;
    ASSERT_TRUE(WriteIncomeDistributions(1999, "IBM", ibm99));
    const std::vector<unsigned char> rewritten = TempDataDir::ReadBytes(kIncomeDistributionFile);
    EXPECT_EQ(rewritten.size(), file.size());
    EXPECT_EQ(rewritten[0], 4);
    ASSERT_TRUE(ReadIncomeDistributions(1999, "IBM", none));
    EXPECT_EQ(none[0].dividend_rate, 9.0f);
}

TEST(AssetAllocationStore, TheAllocationSitsInRecord2FieldByFieldAndReadsBack) {
    TempDataDir dir;
    AssetAllocation none;
    EXPECT_FALSE(ReadAssetAllocation(none));

    AssetAllocation a;
    a.selection_kind = "S   ";
    a.manager_or_account = "ACC002";
    a.sell_date = "01/05/99";
    a.buy_date = "01/06/99";
    a.sell_security = "IBM";
    a.buy_security = "MSFT";
    a.sell_broker = "BRK1";
    a.buy_broker = "BRK2";
    a.sell_price = 101.5;
    a.buy_price = 55.25;
    a.sell_commission = 0.05;
    a.buy_commission = 0.06;
    a.sell_expense = 12;
    a.buy_expense = 13;
    a.quantity = 1000;
    a.position_percent = 50;
    a.share_ratio = 1.5f;
    a.disposition = "HICO";
    a.transaction_kind = 'R';
    a.sell_side = 'I';
    ASSERT_TRUE(WriteAssetAllocation(a));

    Record expected(256, 0);
    expected.SetText(0, 4, "S   ");
    expected.SetText(4, 8, "ACC002");
    expected.SetText(12, 8, "01/05/99");
    expected.SetText(20, 8, "01/06/99");
    expected.SetText(28, 12, "IBM");
    expected.SetText(40, 12, "MSFT");
    expected.SetText(52, 8, "BRK1");
    expected.SetText(60, 8, "BRK2");
    const double numbers[] = {101.5, 55.25, 0.05, 0.06, 12, 13, 1000};
    for (std::size_t i = 0; i < 7; ++i) expected.SetR8(68 + 8 * i, numbers[i]);
    expected.SetR4(124, 50.0f);
    expected.SetR4(128, 1.5f);
    expected.SetText(132, 4, "HICO");
    expected.data()[136] = 'R';
    expected.data()[137] = 'I';
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(kAssetAllocationFile);
    EXPECT_EQ(bytes, Bytes({Directory(256, 2), expected}));

    AssetAllocation back;
    ASSERT_TRUE(ReadAssetAllocation(back));
    EXPECT_EQ(back.manager_or_account, "ACC002  ");
    EXPECT_EQ(back.sell_security, "IBM         ");
    EXPECT_EQ(back.buy_commission, 0.06);
    EXPECT_EQ(back.share_ratio, 1.5f);
    EXPECT_EQ(back.disposition, "HICO");
    EXPECT_EQ(back.transaction_kind, 'R');
    ASSERT_TRUE(WriteAssetAllocation(back));
    EXPECT_EQ(TempDataDir::ReadBytes(kAssetAllocationFile), bytes);

    DeleteAssetAllocation();
    EXPECT_FALSE(TempDataDir::Exists(kAssetAllocationFile));
    EXPECT_FALSE(ReadAssetAllocation(none));
}

TEST(Dipost, GivesTheFirstEightCharactersOfRecord7OrBlanks) {
    TempDataDir dir;
    EXPECT_EQ(Dipost(), "        ");
    EXPECT_FALSE(TempDataDir::Exists(kCommonFile));
    // A file that ends before record 7.
    fixtures::WriteCommonRecord(2, Record(128, 'x'));
    EXPECT_EQ(Dipost(), "        ");
    // A never-written record 7 holds zeros.
    fixtures::WriteCommonRecord(8, Record(128, 'y'));
    EXPECT_EQ(Dipost(), "        ");
    Record post(128, 'z');
    post.SetText(0, 8, " 1/ 2/99");
    fixtures::WriteCommonRecord(7, post);
    EXPECT_EQ(Dipost(), " 1/ 2/99");
}

}  // namespace
