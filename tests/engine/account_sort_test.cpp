#include "engine/account_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/value_history.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::Record;

using Bytes = std::vector<unsigned char>;

Bytes FileBytes(const std::string& name) {
    return TempDataDir::ReadBytes(name);
}

// Accounts whose eight records all tell which account they belong to: the
// identifier in R1's name and R2's short name, and a byte per record.
std::vector<fixtures::AccountFields> Accounts(const std::vector<std::string>& ids) {
    std::vector<fixtures::AccountFields> out;
    for (const std::string& id : ids) {
        fixtures::AccountFields f;
        f.id = id;
        f.name = "Name " + id;
        f.short_name = "Short " + id;
        out.push_back(f);
    }
    return out;
}

void WriteAccounts(const std::vector<std::string>& ids, int16_t w2 = 0x0107, int16_t w3 = 5, int16_t w4 = 9) {
    fixtures::WriteAccounts(Accounts(ids));
    Record head(128, 0);
    head.SetI16(0, static_cast<int16_t>(ids.size()));
    head.SetI16(2, w2);
    head.SetI16(4, w3);
    head.SetI16(6, w4);
    records::DirectFile("ACCOUNT.IDX", 128).Write(1, head);
}

// The eight records that the fixture writes for the identifier.
Bytes Block(const std::string& id) {
    Bytes out;
    for (const Record& r : fixtures::AccountRecords(Accounts({id})[0]))
        out.insert(out.end(), r.bytes().begin(), r.bytes().end());
    return out;
}

// The index a sort should leave: header words and keys 16 a record, the
// free places of the last record blank.
Bytes ExpectedIndex(const std::vector<std::string>& keys, int16_t w2, int16_t w3, int16_t w4) {
    Record head(128, 0);
    head.SetI16(0, static_cast<int16_t>(keys.size()));
    head.SetI16(2, w2);
    head.SetI16(4, w3);
    head.SetI16(6, w4);
    Bytes out = head.bytes();
    for (std::size_t first = 0; first < keys.size(); first += 16) {
        Record rec(128, ' ');
        for (std::size_t i = 0; i < 16 && first + i < keys.size(); ++i)
            rec.SetText(8 * i, 8, keys[first + i]);
        out.insert(out.end(), rec.bytes().begin(), rec.bytes().end());
    }
    return out;
}

Bytes ExpectedRecords(const std::vector<std::string>& ids) {
    Bytes out;
    for (const std::string& id : ids) {
        Bytes b = Block(id);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

bool WorkFilesLeft() {
    for (const char* name : {"ACCTIDX.TMP", "ACCTREC.TMP", "SORT1.DAT", "SORT2.DAT"})
        if (TempDataDir::Exists(name)) return true;
    return false;
}

// ---- Accsrt

TEST(AccountSort, SortsKeysAndMovesEachAccountsRecords) {
    struct Case {
        const char* what;
        std::vector<std::string> before, after;
    };
    const std::vector<Case> cases = {
        {"two in descending order", {"B2", "A1"}, {"A1", "B2"}},
        {"already sorted", {"A1", "B2", "C3"}, {"A1", "B2", "C3"}},
        {"three shuffled", {"MID", "ZED", "ALF"}, {"ALF", "MID", "ZED"}},
        {"digits before letters, shorter before longer",
         {"AB1", "AB", "9Z", "AB10"},
         {"9Z", "AB", "AB1", "AB10"}},
        {"more than one key record",
         {"P", "O", "N", "M", "L", "K", "J", "I", "H", "G", "F", "E", "D", "C", "B", "A", "R", "Q"},
         {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R"}},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        WriteAccounts(c.before, 0x0107, 5, 9);
        engine::Accsrt();
        EXPECT_EQ(FileBytes("ACCOUNT.IDX"), ExpectedIndex(c.after, 0x0107, 1, 1)) << c.what;
        EXPECT_EQ(FileBytes("ACCOUNT.REC"), ExpectedRecords(c.after)) << c.what;
        EXPECT_FALSE(WorkFilesLeft()) << c.what;
    }
}

TEST(AccountSort, DropsDeletedAndBlankKeysWithTheirRecords) {
    TempDataDir dir;
    WriteAccounts({"CC", "$$$$$$", "AA", "    ", "BB"});
    engine::Accsrt();
    EXPECT_EQ(FileBytes("ACCOUNT.IDX"), ExpectedIndex({"AA", "BB", "CC"}, 0x0107, 1, 1));
    EXPECT_EQ(FileBytes("ACCOUNT.REC"), ExpectedRecords({"AA", "BB", "CC"}));
}

TEST(AccountSort, LeavesFilesAloneWhenThereIsNothingToSort) {
    struct Case {
        const char* what;
        std::vector<std::string> ids;
    };
    const std::vector<Case> cases = {
        {"one account", {"ZZ"}},
        {"one live account among deleted ones", {"$$$$$$", "ZZ", "$$$$"}},
        {"no accounts", {}},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        WriteAccounts(c.ids);
        const Bytes index = FileBytes("ACCOUNT.IDX"), recs = FileBytes("ACCOUNT.REC");
        engine::Accsrt();
        EXPECT_EQ(FileBytes("ACCOUNT.IDX"), index) << c.what;
        EXPECT_EQ(FileBytes("ACCOUNT.REC"), recs) << c.what;
        EXPECT_FALSE(WorkFilesLeft()) << c.what;
    }
    // Without an index nothing is created.
    TempDataDir dir;
    engine::Accsrt();
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.IDX"));
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.REC"));
}

TEST(AccountSort, UnreadableRecordKeepsTheOriginals) {
    struct Case {
        const char* what;
        std::size_t records;  // ACCOUNT.REC cut to this many records
    };
    // Accounts C, A, B own records 1-8, 9-16, 17-24; the sort reads A, B, C.
    const std::vector<Case> cases = {
        {"last record of the last block missing", 23},
        {"first block of the sort order cut", 10},
        {"records of the last account missing", 16},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        WriteAccounts({"C", "A", "B"});
        std::filesystem::resize_file("ACCOUNT.REC", c.records * 128);
        // A work file left by an earlier sort is no help either.
        TempDataDir::WriteBytes("ACCTREC.TMP", Bytes(24 * 128, 0x41));
        const Bytes index = FileBytes("ACCOUNT.IDX"), recs = FileBytes("ACCOUNT.REC");
        engine::Accsrt();
        EXPECT_EQ(FileBytes("ACCOUNT.IDX"), index) << c.what;
        EXPECT_EQ(FileBytes("ACCOUNT.REC"), recs) << c.what;
        EXPECT_FALSE(WorkFilesLeft()) << c.what;
    }
}

TEST(AccountSort, LongListIsMergedFromSortRuns) {
    TempDataDir dir;
    // 2,050 accounts in descending order: more than one run of 2,000.
    std::vector<std::string> ids;
    for (int i = 2050; i >= 1; --i) {
        char id[8];
        std::snprintf(id, sizeof id, "K%05d", i);
        ids.push_back(id);
    }
    WriteAccounts(ids, 0x0001, 5, 9);
    engine::Accsrt();
    std::vector<std::string> sorted = ids;
    std::reverse(sorted.begin(), sorted.end());
    // The merge writes the keys; the third header word stays as it was.
    EXPECT_EQ(FileBytes("ACCOUNT.IDX"), ExpectedIndex(sorted, 0x0001, 5, 1));
    const Bytes recs = FileBytes("ACCOUNT.REC");
    ASSERT_EQ(recs.size(), 2050u * 8 * 128);
    for (int k : {1, 2, 1000, 2000, 2001, 2050}) {
        const Bytes block = Block(sorted[static_cast<std::size_t>(k - 1)]);
        const auto at = static_cast<long>(k - 1) * 8 * 128;
        EXPECT_TRUE(std::equal(block.begin(), block.end(), recs.begin() + at)) << k;
    }
    EXPECT_FALSE(WorkFilesLeft());
}

// ---- Hlinit and Hlresp

void SetProgramDate(const std::string& date) {
    Record rec(128, 0);
    rec.SetText(0, 8, date);
    fixtures::WriteCommonRecord(2, rec);
}

// The file a new history holds: the header and four empty records a year.
Bytes NewHistory(const std::string& account, int month, int first, int last) {
    Record head(128, 0);
    head.SetText(0, 8, account);
    head.SetI16(8, static_cast<int16_t>(month));
    head.SetI16(10, static_cast<int16_t>(first));
    head.SetI16(12, 12);
    head.SetI16(14, static_cast<int16_t>(last));
    head.SetI16(16, static_cast<int16_t>(last - first + 1));
    Bytes out = head.bytes();
    for (int y = first; y <= last; ++y)
        for (int s = 0; s < 4; ++s) {
            Record rec(128, 0);
            rec.SetI16(0, static_cast<int16_t>(y));
            out.insert(out.end(), rec.bytes().begin(), rec.bytes().end());
        }
    return out;
}

struct StartCase {
    const char* start;
    const char* program;
    int month, first, last;
};

class HlinitCreates : public ::testing::TestWithParam<StartCase> {};

TEST_P(HlinitCreates, EmptyYearsFromStartToProgramYear) {
    const StartCase& c = GetParam();
    TempDataDir dir;
    SetProgramDate(c.program);
    engine::Hlinit("AC1", c.start);
    EXPECT_EQ(FileBytes("HLAC1.DAT"), NewHistory("AC1", c.month, c.first, c.last));
}

INSTANTIATE_TEST_SUITE_P(AccountSort, HlinitCreates,
                         ::testing::Values(StartCase{"03/15/95", "12/31/97", 3, 95, 97},
                                           StartCase{" 1/01/51", " 6/30/51", 1, 51, 51},
                                           StartCase{"06/30/99", "03/31/02", 6, 99, 102},
                                           StartCase{"01/01/00", "12/31/00", 1, 100, 100},
                                           StartCase{"11/05/49", "01/01/50", 11, 149, 150},
                                           StartCase{"02/01/00", "12/31/50", 2, 100, 150},
                                           StartCase{"07/04/76", "07/04/26", 7, 76, 126},
                                           // A start after the program date: the start year alone.
                                           StartCase{"05/01/03", "12/31/01", 5, 103, 103},
                                           StartCase{"05/01/98", "12/31/97", 5, 98, 98}));

TEST(AccountSort, HlinitHistoryAcross2000IsReadByYear) {
    TempDataDir dir;
    SetProgramDate("12/31/05");
    engine::Hlinit("AC1", "04/01/98");
    int16_t record = 0, year = 0;
    engine::MonthlyValues mv{}, cf{}, inc{};
    for (int y : {1998, 1999, 2000, 2003, 2005}) {
        ASSERT_EQ(engine::Rperf("AC1", static_cast<int16_t>(y), record, year, mv, cf, inc),
                  engine::kHistoryDone)
            << y;
        EXPECT_EQ(record, (engine::HistoryYear(y) - 98) * 4 + 2) << y;
    }
    EXPECT_EQ(engine::Rperf("AC1", 2006, record, year, mv, cf, inc), engine::kHistoryYearOutside);
}

TEST(AccountSort, HlinitWritesNothingWithoutUsableDates) {
    struct Case {
        const char* what;
        const char* start;
        const char* program;  // nullptr: no COMMON.FIL
    };
    const std::vector<Case> cases = {
        {"blank start date", "        ", "12/31/97"},
        {"month 13", "13/01/95", "12/31/97"},
        {"letters", "AB/CD/EF", "12/31/97"},
        {"no program date", "03/15/95", nullptr},
        {"blank program date", "03/15/95", "        "},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        if (c.program != nullptr) SetProgramDate(c.program);
        engine::Hlinit("AC1", c.start);
        EXPECT_FALSE(TempDataDir::Exists("HLAC1.DAT")) << c.what;
    }
}

// A history of first..last whose year records carry values that tell them
// apart, with bytes past the values and past the header fields set.
Bytes StoredHistory(int month, int first, int last, int end_month) {
    Record head(128, 0x77);
    engine::ValueHistoryHeader h;
    h.account = "AC1     ";
    h.start_month = static_cast<int16_t>(month);
    h.first_year = static_cast<int16_t>(first);
    h.end_month = static_cast<int16_t>(end_month);
    h.last_year = static_cast<int16_t>(last);
    h.years = static_cast<int16_t>(last - first + 1);
    h.Encode(head);
    Bytes out = head.bytes();
    for (int y = first; y <= last; ++y)
        for (int s = 0; s < 4; ++s) {
            Record rec(128, static_cast<unsigned char>(s));
            engine::ValueHistoryYear v;
            v.year = static_cast<int16_t>(y);
            for (int m = 0; m < 12; ++m) v.values[static_cast<std::size_t>(m)] = 1000.0 * y + 100 * s + m;
            v.Encode(rec);
            out.insert(out.end(), rec.bytes().begin(), rec.bytes().end());
        }
    return out;
}

// The records of years from..to of a stored history.
Bytes YearsOf(const Bytes& history, int first, int from, int to) {
    const auto begin = static_cast<long>(128 + (from - first) * 4 * 128);
    const auto end = static_cast<long>(128 + (to - first + 1) * 4 * 128);
    return Bytes(history.begin() + begin, history.begin() + end);
}

Bytes EmptyYears(int from, int to) {
    Bytes out = NewHistory("", 0, from, to);
    return Bytes(out.begin() + 128, out.end());
}

Bytes Header(const Bytes& history) {
    return Bytes(history.begin(), history.begin() + 128);
}

Bytes RespannedHeader(const Bytes& old_header, int month, int first, int end_month, int last) {
    Record head(128);
    std::copy(old_header.begin(), old_header.end(), head.data());
    head.SetText(0, 8, "AC1");
    head.SetI16(8, static_cast<int16_t>(month));
    head.SetI16(10, static_cast<int16_t>(first));
    head.SetI16(12, static_cast<int16_t>(end_month));
    head.SetI16(14, static_cast<int16_t>(last));
    head.SetI16(16, static_cast<int16_t>(last - first + 1));
    return head.bytes();
}

TEST(AccountSort, HlrespMovesTheStartOfAHistory) {
    struct Case {
        const char* what;
        int first, last, end_month;  // the stored history
        const char* start;           // the new start date
        int month, new_first, new_end_month, new_last;
        int empty_from, empty_to;  // empty years put first (from > to: none)
        int kept_from, kept_to;    // stored years kept after them
    };
    const std::vector<Case> cases = {
        {"same year: start month only", 95, 97, 12, "06/01/95", 6, 95, 12, 97, 1, 0, 95, 97},
        {"earlier year", 95, 97, 12, "01/01/94", 1, 94, 12, 97, 94, 94, 95, 97},
        {"two years earlier", 95, 97, 12, "09/09/92", 9, 92, 12, 97, 92, 94, 95, 97},
        {"later year drops the earlier ones", 95, 97, 12, "01/01/96", 1, 96, 12, 97, 1, 0, 96, 97},
        {"the last stored year", 95, 97, 12, "03/03/97", 3, 97, 12, 97, 1, 0, 97, 97},
        {"after the last year", 95, 97, 12, "07/04/99", 7, 99, 12, 99, 99, 99, 1, 0},
        {"end month kept", 95, 97, 4, "01/01/94", 1, 94, 4, 97, 94, 94, 95, 97},
        {"end month 12 after the end", 95, 97, 4, "01/01/98", 1, 98, 12, 98, 98, 98, 1, 0},
        {"into 2000s", 98, 102, 12, "01/01/01", 1, 101, 12, 102, 1, 0, 101, 102},
        {"back from the 2000s", 100, 102, 12, "05/31/97", 5, 97, 12, 102, 97, 99, 100, 102},
        {"across 2000 to 2050", 149, 150, 12, "12/01/00", 12, 100, 12, 150, 100, 148, 149, 150},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        const Bytes stored = StoredHistory(3, c.first, c.last, c.end_month);
        TempDataDir::WriteBytes("HLAC1.DAT", stored);
        int16_t error = 9;
        engine::Hlresp("AC1", c.start, error);
        EXPECT_EQ(error, engine::kRespanDone) << c.what;
        Bytes expected = RespannedHeader(Header(stored), c.month, c.new_first, c.new_end_month, c.new_last);
        if (c.empty_from <= c.empty_to) {
            Bytes e = EmptyYears(c.empty_from, c.empty_to);
            expected.insert(expected.end(), e.begin(), e.end());
        }
        if (c.kept_from <= c.kept_to) {
            Bytes k = YearsOf(stored, c.first, c.kept_from, c.kept_to);
            expected.insert(expected.end(), k.begin(), k.end());
        }
        if (c.new_first == c.first) {
            // The same start year rewrites the header alone.
            expected = stored;
            std::copy_n(RespannedHeader(Header(stored), c.month, c.first, c.end_month, c.last).begin(), 128,
                        expected.begin());
        }
        EXPECT_EQ(FileBytes("HLAC1.DAT"), expected) << c.what;
    }
}

TEST(AccountSort, HlrespFailuresLeaveTheFile) {
    struct Case {
        const char* what;
        int first, last;
        std::size_t cut_to;  // records kept of the file (0: all)
        const char* start;
        int16_t error;
    };
    const std::vector<Case> cases = {
        {"a stored year cannot be read", 95, 97, 10, "01/01/94", engine::kRespanUnreadable},
        {"span beyond 130 years", 10, 140, 1, "05/05/51", engine::kRespanTooLong},
        {"start date that is no date", 95, 97, 0, "13/45/94", engine::kRespanBadDate},
        {"blank start date", 95, 97, 0, "        ", engine::kRespanBadDate},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        Bytes stored = StoredHistory(3, c.first, c.last, 12);
        if (c.cut_to > 0) stored.resize(c.cut_to * 128);
        TempDataDir::WriteBytes("HLAC1.DAT", stored);
        int16_t error = 0;
        engine::Hlresp("AC1", c.start, error);
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(FileBytes("HLAC1.DAT"), stored) << c.what;
    }
    // No file: nothing to re-span, and nothing is created.
    TempDataDir dir;
    int16_t error = 0;
    engine::Hlresp("AC1", "01/01/94", error);
    EXPECT_EQ(error, engine::kRespanUnreadable);
    EXPECT_FALSE(TempDataDir::Exists("HLAC1.DAT"));
}

TEST(AccountSort, HlinitReSpansAnExistingHistory) {
    TempDataDir dir;
    SetProgramDate("12/31/97");
    engine::Hlinit("AC1", "03/15/95");
    ASSERT_EQ(FileBytes("HLAC1.DAT"), NewHistory("AC1", 3, 95, 97));
    engine::Hlinit("AC1", "06/01/95");
    EXPECT_EQ(FileBytes("HLAC1.DAT"), NewHistory("AC1", 6, 95, 97));
    engine::Hlinit("AC1", "01/01/94");
    EXPECT_EQ(FileBytes("HLAC1.DAT"), NewHistory("AC1", 1, 94, 97));
    engine::Hlinit("AC1", "01/01/96");
    EXPECT_EQ(FileBytes("HLAC1.DAT"), NewHistory("AC1", 1, 96, 97));
    // A later program date does not lengthen an existing history: that is
    // the month-by-month extension's work.
    SetProgramDate("12/31/03");
    engine::Hlinit("AC1", "02/01/96");
    EXPECT_EQ(FileBytes("HLAC1.DAT"), NewHistory("AC1", 2, 96, 97));
}

}  // namespace
