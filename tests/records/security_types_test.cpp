#include "records/security_types.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/prices.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

TEST(SecurityTypesItypsc, IndexOfTypeCharacter) {
    struct Case {
        const char* word;
        int16_t index;
    } cases[] = {
        {"0   ", 1},  {"9   ", 10}, {"A   ", 11}, {"R   ", 28}, {"W   ", 33},
        {"Z   ", 36}, {"#   ", 28}, {"r   ", 28}, {"    ", 28}, {"", 28},
    };
    for (const auto& c : cases) {
        int16_t index = -1;
        Itypsc(c.word, index);
        EXPECT_EQ(index, c.index) << '"' << c.word << '"';
        EXPECT_EQ(Itypsc(c.word), c.index);
    }
}

TEST(SecurityTypesCvtypc, ConvertsBetweenTypesAndFirmCodes) {
    // The firm's codes: entry k is "C" + a letter, entry 23 blank.
    std::string list;
    for (int k = 0; k < 22; ++k) list += std::string("C") + static_cast<char>('A' + k);
    list += "  ";
    struct Case {
        int16_t mode;
        const char* in;
        const char* out;
    } cases[] = {
        {2, "CA", "1   "},    // entry 1
        {2, "CF", "W   "},    // entry 6
        {2, "CV", "T   "},    // entry 22
        {3, "CFXX", "W   "},  // only two characters count
        {2, "ZZ", "    "},    // not in the list
        {2, "ca", "    "},    // case matters
        {0, "W   ", "CF"},   {1, "T   ", "CV"},
        {0, "1", "CA"},      {0, "Z   ", "  "},  // not a converted type: the 23rd, blank
        {-1, "2   ", "  "},
    };
    for (const auto& c : cases) {
        std::string type = "????", code = "??";
        if (c.mode > 1) {
            Cvtypc(list, c.in, type, "    ", code, c.mode);
            EXPECT_EQ(type, c.out) << c.in;
            EXPECT_EQ(code, "??");
        } else {
            Cvtypc(list, "  ", type, c.in, code, c.mode);
            EXPECT_EQ(code, c.out) << c.in;
            EXPECT_EQ(type, "????");
        }
    }
}

void WriteTypeNames() {
    DirectFile f(kTypeNameFile, 128);
    Record rec(128, ' ');
    rec.SetText(0, 128, "NOT A TITLE");
    f.Write(1, rec);
    rec.SetText(0, 128, "TREASURY BILLS OF THE UNITED STATES");  // type "3", index 4
    f.Write(5, rec);
    rec.SetText(0, 128, "AGENCY BONDS FROM THE FILE");  // type "W", index 33
    f.Write(34, rec);
}

TEST(SecurityTypesGtitle, TitlesFromFileAndAgencyTitles) {
    TempDataDir dir;
    WriteTypeNames();
    struct Case {
        const char* type;
        int16_t agency;
        int16_t status;
        const char* title28;  // Gtitl2; Gtitle gives the first 20 characters
    } cases[] = {
        {"3   ", 0, 0, "TREASURY BILLS OF THE UNITED"},
        {"W   ", 0, 0, "AGENCY BONDS FROM THE FILE"},
        {"W   ", 3, 0, "FHLB"},
        {"W   ", 4, 0, "FICB"},
        {"W   ", 5, 0, "FNMA DEB"},
        {"W   ", 6, 0, "FLB"},
        {"W   ", 7, 0, "BFC"},
        {"W   ", 11, 0, "FNMA CAP"},
        {"W   ", 27, 0, "FFCB"},
        {"W   ", 1, 0, "GNMA"},
        {"W   ", 99, 0, "GNMA"},
        {"3   ", 5, 0, "TREASURY BILLS OF THE UNITED"},  // agency titles only for "W"
        {"Z   ", 0, 1, "UNCHANGED"},                     // no record 37
        {"#   ", 0, 1, "UNCHANGED"},                     // not a type
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " agency " + std::to_string(c.agency));
        std::string title2 = Fixed("UNCHANGED", 28), title = Fixed("UNCHANGED", 20);
        int16_t status2 = -1, status = -1;
        Gtitl2(c.type, title2, c.agency, status2);
        Gtitle(c.type, title, c.agency, status);
        EXPECT_EQ(status2, c.status);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(title2, Fixed(c.title28, 28));
        EXPECT_EQ(title, Fixed(c.title28, 20));
        std::string wrapped = Fixed("UNCHANGED", 20);
        Ptyp63(c.type, wrapped, c.agency, status);
        EXPECT_EQ(wrapped, title);
    }
}

TEST(SecurityTypesGtitle, AgencyTitleWithoutTypeFile) {
    // A directory without a type table reads the standard one, which has
    // a record for "W"; so does a table whose TYPENAME.DAT is missing, its
    // record standing in with the standard name of the firm's code ("CC",
    // none of the standard codes: blank).
    for (const bool codes : {false, true}) {
        SCOPED_TRACE(codes ? "record 27 of a table" : "no type table");
        TempDataDir dir;
        if (codes) {
            DirectFile common(kCommonFile, 128);
            ASSERT_TRUE(common.Write(kTypeCodesRecord, Record(128, 'C')));
        }
        std::string title;
        int16_t status = -1;
        Gtitle("W   ", title, 5, status);
        EXPECT_EQ(title, Fixed("FNMA DEB", 20));
        EXPECT_EQ(status, 0);
        EXPECT_FALSE(TempDataDir::Exists(kTypeNameFile));
    }
}

TEST(SecurityTypesCategories, WriteThenReadNames) {
    TempDataDir dir;
    {
        DirectFile f(kCategoryNameFile, 128);
        Record rec(128, '#');
        f.Write(5, rec);  // record 5: category 4, whose tail must survive
    }
    std::vector<std::string> names(99);
    for (int k = 1; k <= 99; ++k) names[k - 1] = "CATEGORY " + std::to_string(k);
    names[3] = std::string(40, 'L');  // cut to 28
    Wrscat(names);
    EXPECT_EQ(TempDataDir::ReadBytes(kCategoryNameFile).size(), 100u * 128u);
    {
        DirectFile f(kCategoryNameFile, 128);
        Record rec;
        ASSERT_TRUE(f.Read(5, rec));
        EXPECT_EQ(rec.Text(0, 28), std::string(28, 'L'));
        EXPECT_EQ(rec.Text(28, 100), std::string(100, '#'));
    }
    std::vector<std::string> back;
    Siccat(back);
    ASSERT_EQ(back.size(), 99u);
    EXPECT_EQ(back[0], Fixed("CATEGORY 1", 28));
    EXPECT_EQ(back[98], Fixed("CATEGORY 99", 28));
}

TEST(SecurityTypesCategories, ReadStopsAtFirstMissingRecord) {
    TempDataDir dir;
    {
        DirectFile f(kCategoryNameFile, 128);
        Record rec(128, ' ');
        for (int r = 2; r <= 11; ++r) {  // categories 1 to 10 only
            rec.SetText(0, 28, "NAME " + std::to_string(r - 1));
            f.Write(r, rec);
        }
    }
    std::vector<std::string> names(99, "KEPT");
    Siccat(names);
    EXPECT_EQ(names[9], Fixed("NAME 10", 28));
    EXPECT_EQ(names[10], "KEPT");
    EXPECT_EQ(names[98], "KEPT");
}

TEST(SecurityTypesKeys, MergeAndOrderKeys) {
    // IBM and five blanks: I = 73, B = 66, M = 77, blank = 32.
    const double ibm8 = 73e14 + 66e12 + 77e10 + 32e8 + 32e6 + 32e4 + 32e2 + 32;
    const double ibm6 = 73e10 + 66e8 + 77e6 + 32e4 + 32e2 + 32;
    double key = 0;
    Gtpcd3(key, 1, 0, "IBM         ");
    EXPECT_EQ(key, 1e14 + ibm8);
    Gtpcd3(key, 5, 12, "IBM");
    EXPECT_EQ(key, 5e14 + 12e12 + ibm8);

    struct Case {
        float date;
        double expected_tail;
    } cases[] = {
        {950315.0f, 19950315.0},
        {30102.0f, 20030102.0},    // 01/02/03 without the window
        {1050102.0f, 20050102.0},  // 01/02/05 with the window (100 + YY)
        {800000.0f, ibm6},         // no date: the symbol
        {0.0f, ibm6},
        {-5.0f, ibm6},
    };
    for (const auto& c : cases) {
        Gtpcd2(key, 12, 3, c.date, "IBM         ");
        EXPECT_EQ(key, 12e14 + 3e12 + c.expected_tail) << c.date;
    }
}

// A TEMP1.WRK holding record with the fields Combin adds, and marks in the
// bytes it must keep.
Record Holding(const char* symbol, double quantity, double cost, double market, int16_t face, float change) {
    Record rec(256, 0);
    rec.SetI16(0, 5);
    rec.SetText(14, 12, symbol);
    rec.SetR8(26, quantity);
    rec.SetText(34, 32, std::string("DESCRIPTION OF ") + symbol);
    rec.SetR8(110, cost);
    rec.SetR8(118, market);
    rec.SetI16(126, face);
    rec.SetR4(128, change);
    rec.SetText(203, 8, "12/31/09");  // item 27, beyond the merged fields
    return rec;
}

TEST(SecurityTypesCombin, MergesEqualKeysIntoFirstRecord) {
    TempDataDir dir;
    {
        DirectFile f(kHoldingsWorkFile, 256);
        f.Write(1, Record(256, 0));
        f.Write(2, Holding("IBM", 100, 1000, 1500, 0, 1.5f));
        f.Write(3, Holding("XYZ", 10, 50, 60, 0, 0));
        f.Write(4, Holding("IBM", 50, 400, 700, 1, 2.0f));
        f.Write(5, Holding("IBM", 25, 200, 350, 0, 0.5f));
    }
    std::vector<double> keys = {7.0, 7.0, 7.0, 9.0};
    std::vector<int16_t> records = {2, 4, 5, 3};
    Combin(4, keys, records);
    EXPECT_EQ(records, (std::vector<int16_t>{2, 0, 0, 3}));
    EXPECT_FALSE(IsOpen(7));
    DirectFile f(kHoldingsWorkFile, 256);
    Record rec;
    ASSERT_TRUE(f.Read(2, rec));
    EXPECT_EQ(rec.R8(26), 175.0);
    EXPECT_EQ(rec.R8(110), 1600.0);
    EXPECT_EQ(rec.R8(118), 2550.0);
    EXPECT_EQ(rec.I16(126), 1);
    EXPECT_EQ(rec.R4(128), 4.0f);
    EXPECT_EQ(rec.Text(203, 8), "12/31/09");
    EXPECT_EQ(rec.Text(14, 12), "IBM         ");
    // The records merged away, and the others, keep their bytes.
    ASSERT_TRUE(f.Read(4, rec));
    EXPECT_EQ(rec.R8(26), 50.0);
    ASSERT_TRUE(f.Read(3, rec));
    EXPECT_EQ(rec.R8(26), 10.0);
}

TEST(SecurityTypesCombin, MissingValuesStayMissing) {
    struct Case {
        const char* name;
        double market1, market2, market;
        float change1, change2, change;
    } cases[] = {
        {"both priced", 100, 200, 300, 1.0f, 2.0f, 3.0f},
        {"first unpriced", kNoPriceValue, 200, kNoPriceValue, kNoChangeValue, 2.0f, kNoChangeValue},
        {"second unpriced", 100, kNoPriceValue, kNoPriceValue, 1.0f, kNoChangeValue, kNoChangeValue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        {
            DirectFile f(kHoldingsWorkFile, 256);
            f.Write(2, Holding("ABC", 1, 10, c.market1, 0, c.change1));
            f.Write(3, Holding("ABC", 2, 20, c.market2, 0, c.change2));
        }
        std::vector<double> keys = {1.0, 1.0};
        std::vector<int16_t> records = {2, 3};
        Combin(2, keys, records);
        DirectFile f(kHoldingsWorkFile, 256);
        Record rec;
        ASSERT_TRUE(f.Read(2, rec));
        EXPECT_EQ(rec.R8(26), 3.0);
        EXPECT_EQ(rec.R8(110), 30.0);
        EXPECT_EQ(rec.R8(118), c.market);
        EXPECT_EQ(rec.R4(128), c.change);
    }
}

TEST(SecurityTypesCombin, SkipsEmptyEntriesAndOppositeKeys) {
    TempDataDir dir;
    {
        DirectFile f(kHoldingsWorkFile, 256);
        f.Write(2, Holding("ABC", 5, 10, 20, 0, 0));
        f.Write(3, Holding("ABC", -5, 10, -20, 0, 0));
        f.Write(4, Holding("ABC", 7, 10, 20, 0, 0));
    }
    // A short position has the negated key; an entry with record number 0
    // was merged before and is passed over.
    std::vector<double> keys = {-3.0, 3.0, 3.0, 3.0};
    std::vector<int16_t> records = {3, 0, 2, 4};
    Combin(4, keys, records);
    EXPECT_EQ(records, (std::vector<int16_t>{3, 0, 2, 0}));
    DirectFile f(kHoldingsWorkFile, 256);
    Record rec;
    ASSERT_TRUE(f.Read(2, rec));
    EXPECT_EQ(rec.R8(26), 12.0);
    ASSERT_TRUE(f.Read(3, rec));
    EXPECT_EQ(rec.R8(26), -5.0);
}

}  // namespace

namespace {

TEST(SecurityTypeNames, EachListedTypeHasItsRecordAndRecord27HoldsTheCodes) {
    fixtures::TempDataDir dir;
    const int expected[] = {3, 5, 6, 7, 8, 34, 9, 11, 13, 14, 15, 35, 17, 27, 25, 36, 19, 21, 23, 29, 30, 31};
    for (int k = 0; k < records::kListedTypeCount; ++k)
        EXPECT_EQ(records::TypeNameRecord(records::kTypeOrder[static_cast<std::size_t>(k)]), expected[k])
            << k;

    records::TypeNames types;  // blank codes and names

    types.codes[16] = "C";  // H, stored with a blank
    types.names[16] = "COMMON STOCK WITH A NAME TOO LONG";
    ASSERT_TRUE(records::WriteTypeNames(types));
    const auto common = fixtures::TempDataDir::ReadBytes("COMMON.FIL");
    ASSERT_EQ(common.size(), 27u * 128u);
    const std::string rec27(common.begin() + 26 * 128, common.end());
    EXPECT_EQ(rec27, std::string(32, ' ') + "C " + std::string(94, ' '));
    const auto names = fixtures::TempDataDir::ReadBytes("TYPENAME.DAT");
    ASSERT_EQ(names.size(), 36u * 128u);
    EXPECT_EQ(std::string(names.begin() + 18 * 128, names.begin() + 19 * 128),
              "COMMON STOCK WITH A NAME TOO" + std::string(100, ' '));
    EXPECT_EQ(std::string(names.begin(), names.begin() + 128), std::string(128, '\0'));  // record 1 untouched

    const records::TypeNames back = records::ReadTypeNames();
    EXPECT_EQ(back.codes[16], "C ");
    EXPECT_EQ(back.names[16], "COMMON STOCK WITH A NAME TOO");
}

}  // namespace

namespace {

using Bytes = std::vector<unsigned char>;

Bytes FileOrNothing(const char* name) {
    return fixtures::TempDataDir::Exists(name) ? fixtures::TempDataDir::ReadBytes(name) : Bytes();
}

Bytes Records(std::size_t count, unsigned char fill) {
    return Bytes(count * 128, fill);
}

// A record r (from 1) of `count` zero records set to `text`, blank padded.
Bytes WithRecord(std::size_t count, std::size_t r, const std::string& text) {
    Bytes bytes = Records(count, 0);
    const std::string padded = records::Fixed(text, 128);
    std::copy(padded.begin(), padded.end(), bytes.begin() + static_cast<long>((r - 1) * 128));
    return bytes;
}

// `text` over the first bytes of record r (from 1), the rest of the record
// as it was; the file grows to hold the record.
Bytes Put(Bytes bytes, std::size_t r, const std::string& text) {
    bytes.resize(std::max(bytes.size(), r * 128), 0);
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<long>((r - 1) * 128));
    return bytes;
}

// TYPENAME.DAT as Done writes a table never filled in: the records of the
// 22 listed types blank, the others never written.
Bytes BlankTypeNames() {
    Bytes bytes = Records(36, 0);
    for (const char type : records::kTypeOrder)
        bytes = Put(bytes, records::TypeNameRecord(type), std::string(128, ' '));
    return bytes;
}

TEST(SecurityTypeNames, TheStandardTableNamesEveryListedTypeApart) {
    const records::TypeNames standard = records::StandardTypeNames();
    ASSERT_EQ(standard.codes.size(), 22u);
    ASSERT_EQ(standard.names.size(), 22u);
    for (std::size_t k = 0; k < 22; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(standard.codes[k].size(), records::kTypeCodeWidth);
        EXPECT_EQ(standard.names[k].size(), records::kTypeNameWidth);
        EXPECT_NE(standard.codes[k].find_first_not_of(' '), std::string::npos);
        EXPECT_NE(standard.names[k].find_first_not_of(' '), std::string::npos);
        for (std::size_t j = 0; j < k; ++j) {
            EXPECT_NE(standard.codes[j], standard.codes[k]) << j;
            EXPECT_NE(standard.names[j], standard.names[k]) << j;
        }
    }
    // The lines a user picks most, by their type characters.
    const struct {
        char type;
        const char* code;
        const char* name;
    } spots[] = {{'1', "CA", "CASH AND EQUIVALENTS"},
                 {'H', "CS", "COMMON STOCKS"},
                 {'B', "CB", "CORPORATE BONDS"},
                 {'W', "AG", "GOVERNMENT AGENCY BONDS"},
                 {'T', "OT", "OTHER ASSETS"}};
    for (const auto& s : spots) {
        const std::size_t k = records::kTypeOrder.find(s.type);
        EXPECT_EQ(standard.codes[k], s.code) << s.type;
        EXPECT_EQ(standard.names[k], records::Fixed(s.name, 28)) << s.type;
    }
}

// The 44 code bytes of the standard table, in list order.
std::string StandardCodes() {
    std::string codes;
    for (const std::string& code : records::StandardTypeNames().codes) codes += code;
    return codes;
}

// A data directory's type table files, and whether they hold no table.
struct TableFiles {
    const char* name;
    Bytes common;     // COMMON.FIL, none when empty
    Bytes typenames;  // TYPENAME.DAT, none when empty
    bool typenames_exists;
    bool no_table;
    // Writes the files into the current directory.
    void Plant() const {
        if (!common.empty()) fixtures::TempDataDir::WriteBytes("COMMON.FIL", common);
        if (typenames_exists) fixtures::TempDataDir::WriteBytes("TYPENAME.DAT", typenames);
    }
    // Expects the files as planted: nothing written, no file made.
    void ExpectUntouched() const {
        EXPECT_EQ(FileOrNothing("COMMON.FIL"), common);
        EXPECT_EQ(FileOrNothing("TYPENAME.DAT"), typenames);
        EXPECT_EQ(fixtures::TempDataDir::Exists("TYPENAME.DAT"), typenames_exists);
    }
};

// The standard table goes only where no table is: a table the firm has,
// whole or in part, keeps its bytes, and so does the rest of COMMON.FIL.
// Records of blanks and zero bytes hold no table: Done on a table never
// filled in writes every code and name blank, and such a directory gets
// the standard table as one that never had any; one byte typed anywhere in
// the table keeps it.
TEST(SecurityTypeNames, TheStandardTableStartsOnlyWhereNoTableIs) {
    const TableFiles cases[] = {
        {"no file at all", {}, {}, false, true},
        {"files an open made empty, COMMON.FIL of records never written", Records(31, 0), {}, true, true},
        {"zero records only", Records(40, 0), Records(36, 0), true, true},
        {"COMMON.FIL's options but no codes", WithRecord(31, 31, "\x01\x01"), {}, false, true},
        {"one code in record 27", WithRecord(27, 27, std::string(32, ' ') + "CS"), {}, false, false},
        {"record 27 written blank", WithRecord(27, 27, ""), {}, false, true},
        {"a blank table as Done wrote it", WithRecord(27, 27, ""), BlankTypeNames(), true, true},
        {"blanks over zero bytes", Put(Records(27, 0), 27, std::string(44, ' ')),
         Put(Records(36, 0), 19, std::string(28, ' ')), true, true},
        {"a blank table with one typed name", WithRecord(27, 27, ""), Put(BlankTypeNames(), 19, "Equities"),
         true, false},
        {"a blank table with one typed code", WithRecord(27, 27, std::string(32, ' ') + "CS"),
         BlankTypeNames(), true, false},
        {"a blank table with the title of type Z", WithRecord(27, 27, ""),
         Put(BlankTypeNames(), 37, "Z TITLE"), true, false},
        {"a blank table with a count in record 1", WithRecord(27, 27, ""), Put(BlankTypeNames(), 1, "\x24"),
         true, false},
        {"a blank table with a byte past a name", WithRecord(27, 27, ""),
         Put(BlankTypeNames(), 19, std::string(28, ' ') + "x"), true, false},
        {"one name", {}, WithRecord(19, 19, "Common Stock"), true, false},
        {"only a title of no listed type", {}, WithRecord(2, 1, "TITLES"), true, false},
        {"the title of type Z", {}, WithRecord(37, 37, "Z TITLE"), true, false},
    };
    for (const TableFiles& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::TempDataDir dir;
        c.Plant();
        const Bytes common_before = FileOrNothing("COMMON.FIL");

        EXPECT_EQ(records::HasTypeTable(), !c.no_table);
        EXPECT_EQ(records::StartTypeTable(), c.no_table);
        if (!c.no_table) {
            c.ExpectUntouched();
            continue;
        }
        fixtures::ExpectTypeTable(records::StandardTypeNames());
        // Only record 27 of COMMON.FIL changed.
        Bytes common_after = FileOrNothing("COMMON.FIL");
        ASSERT_GE(common_after.size(), 27u * 128u);
        EXPECT_EQ(common_after.size(), std::max<std::size_t>(common_before.size(), 27u * 128u));
        Bytes expected = common_before;
        expected.resize(common_after.size(), 0);
        std::copy(common_after.begin() + 26 * 128, common_after.begin() + 27 * 128, expected.begin() + 26 * 128);
        EXPECT_EQ(common_after, expected);
        EXPECT_TRUE(records::HasTypeTable());
        EXPECT_FALSE(records::StartTypeTable());  // once only
    }
}

// Every reader takes the standard table where the directory holds none,
// and writes nothing: the lists' codes and names, the code list the
// conversions go through and the titles; no file is made. A table the firm
// has, even one name of it, is read as it is.
TEST(SecurityTypeNames, ADirectoryWithoutATableReadsTheStandardOneAndWritesNothing) {
    const TableFiles cases[] = {
        {"no file at all", {}, {}, false, true},
        {"zero records only", Records(40, 0), Records(36, 0), true, true},
        {"a blank table as Done wrote it", WithRecord(27, 27, ""), BlankTypeNames(), true, true},
        {"one name", {}, WithRecord(19, 19, "Common Stock"), true, false},
    };
    const records::TypeNames standard = records::StandardTypeNames();
    const std::string standard_codes = StandardCodes();
    for (const TableFiles& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::TempDataDir dir;
        c.Plant();

        const records::TypeNames read = records::ReadTypeNames();
        const std::string codes = records::TypeCodeList();
        std::string type, code;
        records::Cvtypc(codes, "CS", type, "", code, 2);
        std::string title = "UNCHANGED", title_z = "UNCHANGED";
        int16_t status = -1, status_z = -1;
        records::Gtitl2("H   ", title, 0, status);
        records::Gtitl2("Z   ", title_z, 0, status_z);
        if (c.no_table) {
            EXPECT_EQ(read.codes, standard.codes);
            EXPECT_EQ(read.names, standard.names);
            EXPECT_EQ(codes, standard_codes + "  ");
            EXPECT_EQ(type, "H   ");
            EXPECT_EQ(title, records::Fixed("COMMON STOCKS", 28));
            EXPECT_EQ(status, 0);
            // Past the last listed type's record the standard table has none.
            EXPECT_EQ(status_z, 1);
            EXPECT_EQ(title_z, "UNCHANGED");
        } else {
            EXPECT_EQ(read.codes, std::vector<std::string>(22, "  "));
            EXPECT_EQ(read.names[16], records::Fixed("Common Stock", 28));
            EXPECT_EQ(read.names[0], std::string(28, '\0'));
            EXPECT_EQ(codes, std::string(46, ' '));
            EXPECT_EQ(type, "    ");  // no code of the firm's
            EXPECT_EQ(title, records::Fixed("Common Stock", 28));
            EXPECT_EQ(status, 0);
        }
        c.ExpectUntouched();
        EXPECT_EQ(fixtures::TempDataDir::Exists("COMMON.FIL"), !c.common.empty());
    }
}

// The codes with the code of the listed type `type` replaced.
std::string WithCode(std::string codes, char type, const char* code) {
    codes.replace(records::kTypeOrder.find(type) * records::kTypeCodeWidth, records::kTypeCodeWidth,
                  records::Fixed(code, records::kTypeCodeWidth));
    return codes;
}

// A firm's TYPENAME.DAT of 36 records: "FIRM <type>" in each listed type's
// record, a title in record 1 and in record 4 (type 2, not listed), the
// other records never written.
Bytes FirmTypeNames() {
    Bytes bytes = Put(Records(36, 0), 1, "FIRM TITLES");
    bytes = Put(bytes, 4, "TYPE 2 TITLE");
    for (const char type : records::kTypeOrder)
        bytes = Put(bytes, records::TypeNameRecord(type), records::Fixed(std::string("FIRM ") + type, 128));
    return bytes;
}

Bytes CutTo(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

// The 28-character name of each listed type: the firm's ("FIRM <type>")
// where its record lies within the first `held` bytes of the names file,
// else the standard name.
std::vector<std::string> FirmNamesWithin(std::size_t held) {
    const records::TypeNames standard = records::StandardTypeNames();
    std::vector<std::string> names;
    for (std::size_t k = 0; k < records::kTypeOrder.size(); ++k) {
        const char type = records::kTypeOrder[k];
        const bool in_file = static_cast<std::size_t>(records::TypeNameRecord(type)) * 128 <= held;
        names.push_back(in_file ? records::Fixed(std::string("FIRM ") + type, 28) : standard.names[k]);
    }
    return names;
}

// The standard names with the names of some listed types replaced.
std::vector<std::string> StandardNamesWith(const std::vector<std::pair<char, const char*>>& changes) {
    std::vector<std::string> names = records::StandardTypeNames().names;
    for (const auto& [type, name] : changes) names[records::kTypeOrder.find(type)] = records::Fixed(name, 28);
    return names;
}

// A table the firm lists (its codes in COMMON.FIL record 27) is read from
// TYPENAME.DAT where the file holds a record; a record it does not hold
// (no file, a file an open left empty, a file cut short) reads as the
// standard table would be written for the firm's codes: a listed type's
// record holds the standard name of its code, looked up by the code and
// not by the type (blanks for a code the standard table has not), a record
// between the listed types' reads as never written and there is none past
// the last. Every reader takes that rule, and nothing is written.
TEST(SecurityTypeNames, RecordsTheNamesFileDoesNotHoldTakeTheStandardNameOfTheirCode) {
    const std::string standard_codes = StandardCodes();
    const std::string firm_codes =
        WithCode(WithCode(WithCode(standard_codes, '1', "CS"), 'H', "XX"), 'T', "");
    const std::size_t cut = 20 * 128 + 60;  // within record 21, type J's
    struct Other {
        long record;
        bool found;
        const char* name;
    };
    struct Case {
        TableFiles files;
        std::string codes;
        std::vector<std::string> names;  // of the listed types, in list order
        std::vector<Other> others;       // records of no listed type
    };
    const std::vector<Other> never_written = {{1, true, ""}, {4, true, ""}, {37, false, ""}};
    const std::vector<Other> firm_titles = {
        {1, true, "FIRM TITLES"}, {4, true, "TYPE 2 TITLE"}, {37, false, ""}};
    const Case cases[] = {
        {{"no names file, the standard codes listed", WithRecord(27, 27, standard_codes), {}, false, false},
         standard_codes,
         records::StandardTypeNames().names,
         never_written},
        {{"no names file, codes of the firm's own", WithRecord(27, 27, firm_codes), {}, false, false},
         firm_codes,
         StandardNamesWith({{'1', "COMMON STOCKS"}, {'H', ""}, {'T', ""}}),
         never_written},
        {{"a names file an open left empty", WithRecord(27, 27, standard_codes), {}, true, false},
         standard_codes,
         records::StandardTypeNames().names,
         never_written},
        {{"a names file cut within record 21", WithRecord(27, 27, standard_codes),
          CutTo(FirmTypeNames(), cut), true, false},
         standard_codes,
         FirmNamesWithin(cut),
         firm_titles},
        {{"a whole names file with a blank name", WithRecord(27, 27, firm_codes),
          Put(FirmTypeNames(), records::TypeNameRecord('H'), std::string(28, ' ')), true, false},
         firm_codes,
         [] {
             std::vector<std::string> names = FirmNamesWithin(36 * 128);
             names[records::kTypeOrder.find('H')] = std::string(28, ' ');
             return names;
         }(),
         firm_titles},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.name);
        fixtures::TempDataDir dir;
        c.files.Plant();
        ASSERT_TRUE(records::HasTypeTable());

        const records::TypeNames read = records::ReadTypeNames();
        for (std::size_t k = 0; k < records::kTypeOrder.size(); ++k) {
            const char type = records::kTypeOrder[k];
            SCOPED_TRACE(std::string("type ") + type);
            EXPECT_EQ(read.codes[k], c.codes.substr(k * 2, 2));
            EXPECT_EQ(read.names[k], c.names[k]);
            records::Record rec;
            ASSERT_TRUE(records::ReadTypeNameRecord(records::TypeNameRecord(type), rec));
            EXPECT_EQ(rec.Text(0, 128), records::Fixed(c.names[k], 128));
            std::string title = "UNCHANGED";
            int16_t status = -1;
            records::Gtitl2(std::string(1, type) + "   ", title, 0, status);
            EXPECT_EQ(status, 0);
            EXPECT_EQ(title, c.names[k]);
        }
        for (const Other& o : c.others) {
            SCOPED_TRACE("record " + std::to_string(o.record));
            bool found = !o.found;
            EXPECT_EQ(records::NameInRecord(records::ReadTypeNameRecord, o.record, found),
                      records::Fixed(o.name, 28));
            EXPECT_EQ(found, o.found);
        }
        EXPECT_EQ(records::TypeCodeList(), c.codes + "  ");
        c.files.ExpectUntouched();
    }
}

}  // namespace
