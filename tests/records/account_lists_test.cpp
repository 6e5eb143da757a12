#include "records/account_lists.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::AccountFields;
using fixtures::TempDataDir;
using namespace records;

TEST(AccountListsRdaclst, ReadsEveryLine) {
    struct Case {
        const char* name;
        std::string text;                // nullptr-like: "<none>" for no file
        std::vector<std::string> first;  // the first identifiers expected
        int count;
    };
    std::string long_list;
    for (int i = 1; i <= 3000; ++i) long_list += "A" + std::to_string(i) + "\r\n";
    std::vector<Case> cases = {
        {"3000 lines, none dropped", long_list, {"A1      ", "A2      "}, 3000},
        {"empty file", "", {}, 0},
        {"no file", "<none>", {}, 0},
        {"short and long lines",
         "AB\nABCDEFGHIJ\r\n\r\nX Y\n",
         {"AB      ", "ABCDEFGH", "        ", "X Y     "},
         4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        if (c.text != "<none>") std::ofstream("LIST.TXT", std::ios::binary) << c.text;
        std::vector<std::string> ids = {"OLD"};
        int count = -1;
        Rdaclst(ids, count, "LIST.TXT    ");
        EXPECT_EQ(count, c.count);
        ASSERT_EQ(ids.size(), static_cast<std::size_t>(c.count));
        for (std::size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(ids[i], c.first[i]);
        if (c.count == 3000) {
            EXPECT_EQ(ids[2999], "A3000   ");
        }
        EXPECT_FALSE(IsOpen(14));
    }
}

AccountFields Account(const char* id, const char* salutation, const char* short_name,
                      const char* custodian_account, const char* broker) {
    AccountFields a;
    a.id = id;
    a.salutation = salutation;
    a.short_name = short_name;
    a.custodian_account = custodian_account;
    a.broker = broker;
    return a;
}

// Broker or custodian files: the identifiers, and the first 32 characters
// of each entry's first record as its name.
void WriteParties(const char* index, const char* recs,
                  const std::vector<std::pair<std::string, std::string>>& parties) {
    std::vector<std::string> keys;
    for (const auto& p : parties) keys.push_back(p.first);
    {
        DirectFile idx(index, 128);
        Record head(128, 0);
        head.SetI16(0, static_cast<int16_t>(keys.size()));
        idx.Write(1, head);
        Record rec(128, ' ');
        for (std::size_t i = 0; i < keys.size(); ++i) rec.SetText(8 * (i % 16), 8, keys[i]);
        idx.Write(2, rec);
    }
    DirectFile file(recs, 128);
    for (std::size_t i = 0; i < parties.size(); ++i) {
        Record r(128, ' ');
        r.SetText(0, 32, parties[i].second);
        r.SetText(32, 32, "ADDRESS LINE 2");
        long e = static_cast<long>(i + 1);
        file.Write(3 * e - 2, r);
        file.Write(3 * e - 1, Record(128, ' '));
        file.Write(3 * e, Record(128, ' '));
    }
}

// Five index entries, one deleted and one blank, with names, custodian
// accounts, brokers and custodians in different orders.
void WriteSampleAccounts() {
    std::vector<AccountFields> accounts = {
        Account("ZED", "A SALUTATION", "JOHN SMITH", "1111-CUST", "BRK2"),
        Account("$$$$$$", "", "DELETED ACCOUNT", "0000", "BRK1"),
        Account("ABC", "C SALUTATION", "ZOE ADAMS", "3333-CUST", "BRK3"),
        Account("", "", "BLANK KEY", "0000", "BRK1"),
        Account("MID", "B SALUTATION", "ANNA YOUNG", "2222-CUST", "BRK1"),
    };
    fixtures::WriteAccounts(accounts);
    // Custodians: R3 bytes 65-70.
    const char* custodians[] = {"CUS2", "CUS1", "CUS1", "CUS1", "CUS3"};
    for (int e = 1; e <= 5; ++e) {
        auto recs = fixtures::AccountRecords(accounts[static_cast<std::size_t>(e - 1)]);
        recs[2].SetText(64, 6, custodians[e - 1]);
        fixtures::WriteAccountRecords(e, recs);
    }
    WriteParties("BROKER.IDX", "BROKER.REC",
                 {{"$$$$$$$$", "DELETED BROKER"},
                  {"BRK1", "MARY BROWN"},
                  {"BRK2", "ALAN WHITE"},
                  {"BRK3", "CARL GREEN"}});
    WriteParties("CUSTDN.IDX", "CUSTDN.REC",
                 {{"CUS1", "ZETA BANK"}, {"CUS2", "ALPHA TRUST"}, {"CUS3", "MIDDLE BANK"}});
}

TEST(AccountListsBldacl, SortOrders) {
    struct Case {
        const char* name;
        int kind;
        bool last_name_first;  // option 10
        std::vector<std::string> ids;
    } cases[] = {
        {"identifier", 1, false, {"ABC", "MID", "ZED"}},
        {"short name, not salutation", 2, false, {"MID", "ZED", "ABC"}},
        {"short name, last name first", 2, true, {"ABC", "ZED", "MID"}},
        {"custodian account", 3, false, {"ZED", "MID", "ABC"}},
        {"broker name", 4, false, {"ZED", "ABC", "MID"}},
        {"broker name, last name first", 4, true, {"MID", "ABC", "ZED"}},
        {"custodian name", 5, false, {"ZED", "MID", "ABC"}},
        {"custodian name ignores option 10", 5, true, {"ZED", "MID", "ABC"}},
        {"unknown kind sorts by identifier", 9, false, {"ABC", "MID", "ZED"}},
    };
    TempDataDir dir;
    WriteSampleAccounts();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Options options{};
        records::SetOption(options, records::Opt::kLastNameFirst, c.last_name_first ? 1 : 0);
        std::vector<std::string> ids;
        std::vector<long> first_records;
        int count = -1, runs = -1;
        int16_t status = -1;
        Bldacl(ids, count, first_records, c.kind, options, status, runs);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(runs, 0);
        EXPECT_EQ(count, 3);
        std::vector<std::string> expected;
        for (const auto& id : c.ids) expected.push_back(Fixed(id, 8));
        EXPECT_EQ(ids, expected);
        // Each identifier comes with its account's first record, 8e - 7.
        ASSERT_EQ(first_records.size(), ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            long want = ids[i] == "ZED     " ? 1 : ids[i] == "ABC     " ? 17 : 33;
            EXPECT_EQ(first_records[i], want) << ids[i];
        }
    }
    for (int unit : {7, 8, 9, 10}) EXPECT_FALSE(IsOpen(unit));
}

TEST(AccountListsBldacl, MissingIndexFails) {
    TempDataDir dir;
    std::vector<std::string> ids = {"OLD"};
    std::vector<long> first_records = {5};
    int count = -1, runs = -1;
    int16_t status = 0;
    Bldacl(ids, count, first_records, 1, Options{}, status, runs);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(ids.empty());
    EXPECT_TRUE(first_records.empty());
}

// Sorted runs of a long list: SORTk.DAT record i holds the tag (entry
// number) in bytes 1-2, the identifier in bytes 3-10.
std::vector<std::string> RunIdentifiers(int k, std::vector<int16_t>* tags = nullptr) {
    std::vector<std::string> ids;
    DirectFile f("SORT" + std::to_string(k) + ".DAT", 128, false);
    Record rec;
    for (long n = 1; f.Read(n, rec); ++n) {
        ids.push_back(rec.Text(2, 8));
        if (tags) tags->push_back(rec.I16(0));
    }
    return ids;
}

TEST(AccountListsBldacl, LongListsAreAlsoWrittenInRuns) {
    TempDataDir dir;
    // 4100 accounts in descending order of identifier.
    std::vector<std::string> keys;
    for (int i = 4100; i >= 1; --i) {
        std::string id = std::to_string(100000 + i);
        keys.push_back(id);
    }
    fixtures::WriteAccountIndex(keys);
    std::vector<std::string> ids;
    std::vector<long> first_records;
    int count = 0, runs = 0;
    int16_t status = -1;
    Bldacl(ids, count, first_records, 1, Options{}, status, runs);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(runs, 3);  // 2000, 2000 and 100 entries
    EXPECT_EQ(count, 4100);
    ASSERT_EQ(ids.size(), 4100u);
    EXPECT_EQ(ids.front(), "100001  ");
    EXPECT_EQ(ids.back(), "104100  ");
    EXPECT_EQ(first_records.front(), 8L * 4100 - 7);  // entry 4100 holds 100001
    std::vector<int16_t> tags;
    auto run1 = RunIdentifiers(1, &tags);
    ASSERT_EQ(run1.size(), 2000u);
    EXPECT_EQ(run1.front(), "102101  ");  // the first 2000 entries, sorted
    EXPECT_EQ(tags.front(), 2000);
    EXPECT_EQ(RunIdentifiers(2).size(), 2000u);
    auto run3 = RunIdentifiers(3);
    ASSERT_EQ(run3.size(), 100u);
    EXPECT_EQ(run3.front(), "100001  ");
}

TEST(AccountListsBldacl, NameListsRunInBatchesOf1250) {
    TempDataDir dir;
    std::vector<std::string> keys;
    for (int i = 1; i <= 1251; ++i) keys.push_back("N" + std::to_string(i));
    fixtures::WriteAccountIndex(keys);  // no ACCOUNT.REC: every name is blank
    std::vector<std::string> ids;
    std::vector<long> first_records;
    int count = 0, runs = 0;
    int16_t status = -1;
    Bldacl(ids, count, first_records, 2, Options{}, status, runs);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(count, 1251);
    EXPECT_EQ(RunIdentifiers(1).size(), 1250u);
    EXPECT_EQ(RunIdentifiers(2).size(), 1u);
    // Equal keys of a long list keep their entry order.
    EXPECT_EQ(ids.front(), "N1      ");
    EXPECT_EQ(ids.back(), "N1251   ");
}

TEST(AccountListsBldacl, MoreThanEightRunsFail) {
    struct Case {
        int accounts;
        int16_t status;
    } cases[] = {{16000, 0}, {16001, 1}};  // runs of 2000 for identifiers
    for (const auto& c : cases) {
        SCOPED_TRACE(c.accounts);
        TempDataDir dir;
        std::vector<std::string> keys;
        for (int i = 1; i <= c.accounts; ++i) keys.push_back("N" + std::to_string(i));
        fixtures::WriteAccountIndex(keys);
        std::vector<std::string> ids;
        std::vector<long> first_records;
        int count = 0, runs = 0;
        int16_t status = -1;
        Bldacl(ids, count, first_records, 1, Options{}, status, runs);
        EXPECT_EQ(status, c.status);
        if (c.status == 0) {
            EXPECT_EQ(runs, 8);
        }
    }
}

TEST(AccountListsWcuso, AppendsNumberedRecords) {
    TempDataDir dir;
    Wcuso("LDL.DAT     ", "FIRST RECORD");
    std::string second(130, 'S');
    Wcuso("LDL.DAT", second);
    auto bytes = TempDataDir::ReadBytes("LDL.DAT");
    ASSERT_EQ(bytes.size(), 3u * 128u);
    std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 128), "000003" + std::string(120, ' ') + "\r\n");
    EXPECT_EQ(text.substr(128, 128), Fixed("FIRST RECORD", 126) + "\r\n");
    EXPECT_EQ(text.substr(256, 128), std::string(126, 'S') + "\r\n");
}

TEST(AccountListsWcuso, HeaderWithoutCountIsNotOverwritten) {
    TempDataDir dir;
    TempDataDir::WriteBytes("LDL.DAT", std::vector<unsigned char>(128, ' '));
    Wcuso("LDL.DAT", "ONLY");
    auto bytes = TempDataDir::ReadBytes("LDL.DAT");
    ASSERT_EQ(bytes.size(), 256u);
    std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 6), "000002");
    EXPECT_EQ(text.substr(128, 4), "ONLY");
}

TEST(AccountListsWcurec, CustodianAccountText) {
    TempDataDir dir;
    fixtures::WriteAccounts(
        {Account("A1", "", "", "CUSTODIAN TEXT ONE", ""), Account("A2", "", "", "CUSTODIAN TEXT TWO", "")});
    struct Case {
        int entry;
        int16_t flag;
        const char* expected;
    } cases[] = {
        {2, 1, "CUSTODIAN TEXT TWO"}, {2, 0, "CUSTODIAN TEXT ONE"},  // the account before
        {1, 1, "CUSTODIAN TEXT ONE"}, {1, 0, "UNCHANGED"},           // no account before the first
        {3, 1, "UNCHANGED"},
    };
    for (const auto& c : cases) {
        std::string field = "UNCHANGED";
        Wcurec(c.entry, c.flag, field);
        EXPECT_EQ(TrimRight(field), c.expected) << c.entry << " " << c.flag;
    }
}

TEST(AccountListsArray, EntriesAndLookUp) {
    struct Case {
        const char* typed;
        const char* id;
    } cases[] = {{"AB CD", "AB"}, {"ABCDEFGH", "ABCDEF"}, {"", ""}, {"X1    ", "X1"}};
    for (const auto& c : cases) EXPECT_EQ(CAccountEntry(c.typed).identifier, c.id) << c.typed;
    CAccountEntry fresh("NEW");
    EXPECT_EQ(fresh.fiscal_year_end_month, 12);
    EXPECT_EQ(fresh.invoice_letter_type, 2);
    EXPECT_EQ(fresh.management_fee_option, 1);
    EXPECT_EQ(fresh.billing_frequency, 3);
    EXPECT_EQ(fresh.management_fee_code, "0");
    // A new account starts its performance fields as zeros, which the
    // performance readers take as "not started" (blanks would read as
    // month 8224).
    EXPECT_EQ(fresh.performance_start, (std::array<unsigned char, 20>{}));
    EXPECT_EQ(fresh.fiscal_ytd_return, (std::array<unsigned char, 4>{}));

    auto& accounts = AccountArray();
    accounts.clear();
    EXPECT_EQ(FindAccountEntry("AB"), -1);
    accounts.push_back(std::make_unique<CAccountEntry>("AB"));
    accounts.push_back(std::make_unique<CAccountEntry>("CD"));
    accounts.push_back(std::make_unique<CAccountEntry>("AB"));
    EXPECT_EQ(FindAccountEntry("AB"), 0);
    EXPECT_EQ(FindAccountEntry("CD"), 1);
    EXPECT_EQ(FindAccountEntry("AB "), -1);  // byte for byte
    EXPECT_EQ(FindAccountEntry("ab"), -1);
    accounts.clear();
}

}  // namespace
