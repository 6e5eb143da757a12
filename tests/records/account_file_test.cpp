#include "records/account_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

// Builds the eight records of an account by hand, every field at its
// offset, its texts made from the letter c so that accounts differ. The
// bytes no field names, R2 0-15 and R7 hold `filler`: an input fixture
// fills them with junk, the expected output with blanks.
std::array<Record, 8> HandBuilt(char c, unsigned char filler, bool performance_bytes) {
    std::array<Record, 8> r;
    for (Record& rec : r) rec = Record(128, filler);
    auto text = [c](std::size_t n) {
        std::string s(n, c);
        s[0] = 'A' + (c % 7);
        return s;
    };
    r[0].SetText(0, 32, text(32));  // name: full width
    r[0].SetText(32, 32, "ADDRESS 1 " + std::string(1, c));
    r[0].SetText(64, 32, "ADDRESS 2");
    r[0].SetText(96, 32, "ADDRESS 3");
    r[1].SetText(16, 4, "MG" + std::string(1, c));
    r[1].SetText(20, 32, "DEAR " + std::string(1, c));
    r[1].SetText(52, 32, "SHORT " + std::string(1, c));
    r[1].SetText(84, 12, "123-45-6789");
    r[1].SetText(96, 12, "555-1234");
    r[1].SetText(108, 12, "555-9876");
    r[1].SetText(120, 8, "03/15/97");
    r[2].SetText(0, 32, "ADDRESS 4");
    r[2].SetText(32, 16, "CUST ONE " + std::string(1, c));
    r[2].SetText(48, 16, "CUST TWO");
    r[2].SetText(64, 6, "CUS" + std::string(1, c));
    r[2].SetText(72, 6, "BRK" + std::string(1, c));
    r[2].SetI16(80, 6);
    r[2].SetText(82, 6, "CMB6");
    r[2].SetText(90, 4, "CMB7");
    r[2].SetText(98, 2, "77");
    r[2].SetText(94, 1, "C");
    r[2].SetText(102, 6, "CMB8");
    r[2].SetText(110, 6, "CMB9XX");
    r[2].SetText(118, 6, "CMB10");
    r[3].SetR4(0, 452.5f);
    r[3].SetR4(4, 1020.25f);
    r[3].SetR8(8, 125000.75);
    if (performance_bytes) {
        r[3].SetI16(16, 4);    // start month
        r[3].SetI16(18, 97);   // start year
        r[3].SetR8(20, 99.5);  // value at the start
        r[3].SetText(28, 8, "RSVDRSVD");
        r[3].SetR4(111, 0.12f);
    }
    r[3].SetText(36, 1, "2");
    r[3].SetR4(37, 150.0f);
    r[3].SetI16(41, 4);
    r[3].SetI16(43, 3);
    r[3].SetI16(45, 2);
    const char* combined[5] = {"CMB1AB", "CMB2", "C3", "CMB4XY", "CMB5"};
    for (int i = 0; i < 5; ++i) {
        const std::string t = Fixed(combined[i], 6);
        r[3].SetText(47 + 4 * i, 4, t.substr(0, 4));
        r[3].SetText(67 + 4 * i, 2, t.substr(4, 2));
    }
    r[3].SetText(87, 4, "GROW");
    for (int n = 0; n < 4; ++n) r[4 + n / 2].SetText(60 * (n % 2), 60, "NOTE LINE " + std::to_string(n + 1));
    r[5].SetText(60, 60, text(60));  // note 4: full width
    if (filler != ' ') r[1].SetText(0, 16, "RESERVED BYTES..");
    r[6] = Record(128, filler == ' ' ? ' ' : 'Z');
    r[7].SetText(0, 9, "SPX" + std::string(1, c));
    r[7].SetText(12, 6, "H11");
    r[7].SetText(20, 6, "H12");
    r[7].SetText(28, 6, "H13XXX");
    r[7].SetText(36, 9, "DJIA");
    r[7].SetText(48, 6, "H21");
    r[7].SetText(56, 6, "H22");
    r[7].SetText(64, 6, "H23");
    return r;
}

std::vector<unsigned char> Bytes(const std::vector<Record>& recs) {
    std::vector<unsigned char> out;
    for (const Record& r : recs) out.insert(out.end(), r.bytes().begin(), r.bytes().end());
    return out;
}

std::vector<unsigned char> Index(int count, unsigned char flag, const std::vector<std::string>& keys,
                                 unsigned char header_filler) {
    std::vector<Record> recs;
    Record head(128, header_filler);
    head.SetI16(0, static_cast<int16_t>(count));
    head.data()[2] = flag;
    recs.push_back(head);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i % 16 == 0) recs.emplace_back(128, ' ');
        recs.back().SetText((i % 16) * 8, 8, keys[i]);
    }
    return Bytes(recs);
}

std::vector<unsigned char> Data(const std::vector<std::array<Record, 8>>& accounts) {
    std::vector<Record> recs;
    for (const auto& a : accounts) recs.insert(recs.end(), a.begin(), a.end());
    return Bytes(recs);
}

TEST(AccountFile, LoadsSkippingDeletedAndSavesCompactByteForByte) {
    TempDataDir dir;
    TempDataDir::WriteBytes("ACCOUNT.IDX", Index(3, 7, {"ALPHA", "$$$$$$", "GAMMA1"}, 0x55));
    TempDataDir::WriteBytes("ACCOUNT.REC", Data({HandBuilt('a', 0xEE, true), HandBuilt('b', 0xEE, true),
                                                 HandBuilt('c', 0xEE, true)}));

    AccountFileContents loaded = LoadAccountFile();
    EXPECT_EQ(loaded.flag, 7);
    EXPECT_TRUE(loaded.unreadable.empty());
    ASSERT_EQ(loaded.accounts.size(), 2u);
    const CAccountEntry& a = *loaded.accounts[0];
    const CAccountEntry& g = *loaded.accounts[1];
    EXPECT_EQ(a.identifier, "ALPHA");
    EXPECT_EQ(g.identifier, "GAMMA1");
    // The third entry reads its own records (17 on), not the deleted one's.
    EXPECT_EQ(g.name, HandBuilt('c', ' ', true)[0].Text(0, 32));
    EXPECT_EQ(g.address[0], "ADDRESS 1 c");

    // Every field of the first account as the table places it.
    EXPECT_EQ(a.manager_code, "MGa");
    EXPECT_EQ(a.salutation, "DEAR a");
    EXPECT_EQ(a.short_name, "SHORT a");
    EXPECT_EQ(a.tax_id, "123-45-6789");
    EXPECT_EQ(a.home_phone, "555-1234");
    EXPECT_EQ(a.business_phone, "555-9876");
    EXPECT_EQ(a.date_opened, "03/15/97");
    EXPECT_EQ(a.address[3], "ADDRESS 4");
    EXPECT_EQ(a.custodian1, "CUST ONE a");
    EXPECT_EQ(a.custodian2, "CUST TWO");
    EXPECT_EQ(a.custodian_id, "CUSa");
    EXPECT_EQ(a.broker_id, "BRKa");
    EXPECT_EQ(a.fiscal_year_end_month, 6);
    EXPECT_EQ(a.cash_balance_code, "C");
    EXPECT_FLOAT_EQ(a.index1_price, 452.5f);
    EXPECT_FLOAT_EQ(a.index2_price, 1020.25f);
    EXPECT_DOUBLE_EQ(a.opening_value, 125000.75);
    EXPECT_EQ(a.management_fee_code, "2");
    EXPECT_FLOAT_EQ(a.setup_charge, 150.0f);
    EXPECT_EQ(a.billing_frequency, 4);
    EXPECT_EQ(a.invoice_letter_type, 3);
    EXPECT_EQ(a.management_fee_option, 2);
    const std::array<std::string, 10> combined{"CMB1AB", "CMB2",   "C3",   "CMB4XY", "CMB5",
                                               "CMB6",   "CMB777", "CMB8", "CMB9XX", "CMB10"};
    EXPECT_EQ(a.combined, combined);
    EXPECT_EQ(a.investment_objective, "GROW");
    EXPECT_EQ(a.notes[0], "NOTE LINE 1");
    EXPECT_EQ(a.notes[2], "NOTE LINE 3");
    EXPECT_EQ(a.notes[3].size(), 60u);
    EXPECT_EQ(a.index_symbol[0], "SPXa");
    EXPECT_EQ(a.index_symbol[1], "DJIA");
    EXPECT_EQ(a.column_headers[0][2], "H13XXX");
    EXPECT_EQ(a.column_headers[1][0], "H21");

    ASSERT_EQ(SaveAccountFile(loaded.accounts, loaded.flag), "");
    EXPECT_EQ(TempDataDir::ReadBytes("ACCOUNT.IDX"), Index(2, 7, {"ALPHA", "GAMMA1"}, 0));
    EXPECT_EQ(TempDataDir::ReadBytes("ACCOUNT.REC"),
              Data({HandBuilt('a', ' ', true), HandBuilt('c', ' ', true)}));
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.IDX.new"));
}

TEST(AccountFile, NewAccountWritesZerosInThePerformanceBytes) {
    TempDataDir dir;
    Record date(128, ' ');
    date.SetText(0, 8, "12/08/98");
    fixtures::WriteCommonRecord(kProgramDateRecord, date);
    std::vector<std::unique_ptr<CAccountEntry>> accounts;
    accounts.push_back(std::make_unique<CAccountEntry>("new1"));
    EXPECT_EQ(accounts[0]->date_opened, "12/08/98");
    ASSERT_EQ(SaveAccountFile(accounts, 1), "");
    const std::vector<unsigned char> rec = TempDataDir::ReadBytes("ACCOUNT.REC");
    ASSERT_EQ(rec.size(), 8u * 128);
    const std::size_t r4 = 3 * 128;
    for (std::size_t b = 16; b <= 35; ++b) EXPECT_EQ(rec[r4 + b], 0) << b;
    for (std::size_t b = 111; b <= 114; ++b) EXPECT_EQ(rec[r4 + b], 0) << b;
    EXPECT_EQ(rec[r4 + 36], '0');                      // fee code
    EXPECT_EQ(rec[r4 + 41] | (rec[r4 + 42] << 8), 3);  // quarterly
    EXPECT_EQ(rec[2 * 128 + 80] | (rec[2 * 128 + 81] << 8), 12);
}

TEST(AccountFile, DamagedFiles) {
    struct Case {
        const char* name;
        std::vector<unsigned char> index;
        int account_records;  // how many records ACCOUNT.REC holds
        std::vector<std::string> ids;
        std::vector<std::string> unreadable;
        unsigned char flag;
        // A key that would change on a save refuses the whole index.
        std::string refused;
    };
    auto refusal = [](const char* key) {
        return std::string("ACCOUNT.IDX holds the key \"") + key +
               "\", which is not an identifier (a damaged or foreign index): it is not read and not written back.";
    };
    const std::vector<Case> cases = {
        {"no index", {}, 0, {}, {}, 1, ""},
        {"count beyond the index", Index(40, 0, {"A1", "A2"}, 0), 16, {"A1", "A2"}, {}, 0, ""},
        {"records missing for the second", Index(2, 0, {"A1", "A2"}, 0), 12, {"A1", "A2"}, {"A2"}, 0, ""},
        {"blank key passed over", Index(3, 0, {"A1", "", "A3"}, 0), 24, {"A1", "A3"}, {}, 0, ""},
        // A first word of "$$$$" deletes a key, whatever follows it; the
        // entries after it keep their records.
        {"deleted keys",
         Index(4, 0, {std::string("$$$$\0\0\0\0", 8), "$$$$AB", "$$$$$$$$", "A4"}, 0),
         32,
         {"A4"},
         {},
         0,
         ""},
        {"leading blank", Index(2, 0, {"A1", " A2"}, 0), 16, {}, {}, 0, refusal(" A2     ")},
        {"seven characters", Index(2, 0, {"ABCDEFG", "A2"}, 0), 16, {}, {}, 0, refusal("ABCDEFG ")},
        {"eight characters", Index(2, 0, {"A1", "ABCDEFGH"}, 0), 16, {}, {}, 0, refusal("ABCDEFGH")},
        {"inner blank", Index(2, 0, {"A1", "AB CD"}, 0), 16, {}, {}, 0, refusal("AB CD   ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        if (!c.index.empty()) TempDataDir::WriteBytes("ACCOUNT.IDX", c.index);
        std::vector<unsigned char> data =
            Data({HandBuilt('a', ' ', true), HandBuilt('b', ' ', true), HandBuilt('c', ' ', true)});
        data.resize(c.account_records * 128);
        TempDataDir::WriteBytes("ACCOUNT.REC", data);
        AccountFileContents loaded = LoadAccountFile();
        std::vector<std::string> ids;
        for (const auto& a : loaded.accounts) ids.push_back(a->identifier);
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(loaded.unreadable, c.unreadable);
        EXPECT_EQ(loaded.flag, c.flag);
        EXPECT_EQ(loaded.refused, c.refused);
        for (const auto& a : loaded.accounts) {
            if (a->identifier != "A2" || c.unreadable.empty()) continue;
            EXPECT_EQ(a->name, "");
            EXPECT_EQ(a->fiscal_year_end_month, 0);
            EXPECT_EQ(a->performance_start, (std::array<unsigned char, 20>{}));
        }
    }
}

TEST(AccountFile, FailedWriteKeepsBothOldFiles) {
    TempDataDir dir;
    const std::vector<unsigned char> old_index = Index(1, 0, {"OLD"}, 0);
    const std::vector<unsigned char> old_data = Data({HandBuilt('a', ' ', true)});
    TempDataDir::WriteBytes("ACCOUNT.IDX", old_index);
    TempDataDir::WriteBytes("ACCOUNT.REC", old_data);
    // A directory where the record file's new copy would go makes its write
    // fail after the index's new copy was written.
    std::filesystem::create_directory("ACCOUNT.REC.new");
    std::vector<std::unique_ptr<CAccountEntry>> accounts;
    accounts.push_back(std::make_unique<CAccountEntry>());
    accounts[0]->identifier = "NEW";
    EXPECT_EQ(SaveAccountFile(accounts, 0), "ACCOUNT.REC");
    EXPECT_EQ(TempDataDir::ReadBytes("ACCOUNT.IDX"), old_index);
    EXPECT_EQ(TempDataDir::ReadBytes("ACCOUNT.REC"), old_data);
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.IDX.new"));
}

TEST(AccountFile, ReadAccountEntryByPosition) {
    TempDataDir dir;
    TempDataDir::WriteBytes("ACCOUNT.REC", Data({HandBuilt('a', ' ', true), HandBuilt('b', ' ', true)}));
    CAccountEntry account;
    ASSERT_TRUE(ReadAccountEntry(2, account));
    EXPECT_EQ(account.address[0], "ADDRESS 1 b");
    CAccountEntry untouched;
    untouched.name = "KEPT";
    EXPECT_FALSE(ReadAccountEntry(3, untouched));
    EXPECT_FALSE(ReadAccountEntry(0, untouched));
    EXPECT_EQ(untouched.name, "KEPT");
}

}  // namespace
