// The fillers of combo and list boxes: index files, the firm's type codes
// and an account's lots, on a data directory built through the record layer.

#include "shell/fillers.h"

#include <gtest/gtest.h>

#include "platform/plain_window.h"
#include "records/account_records.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using namespace shell;
using fixtures::TempDataDir;

enum : int { kCombo = 1, kList = 2, kLabel = 3 };

// An index file of 128-byte records: the count, then the keys.
void WriteIndex(const std::string& name, const std::vector<std::string>& keys, std::size_t width,
                std::size_t per_record) {
    records::DirectFile file(name, 128);
    records::Record head(128, 0);
    head.SetI16(0, static_cast<int16_t>(keys.size()));
    file.Write(1, head);
    for (std::size_t first = 0; first < keys.size(); first += per_record) {
        records::Record rec(128, ' ');
        for (std::size_t i = first; i < keys.size() && i < first + per_record; ++i)
            rec.SetText((i - first) * width, width, keys[i]);
        file.Write(static_cast<long>(2 + first / per_record), rec);
    }
}

std::vector<std::string> Lines(Control c) {
    std::vector<std::string> lines;
    for (int i = 0; i < c.GetCount(); ++i) lines.push_back(c.GetText(i));
    return lines;
}

class FillerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.Create("Fillers"));
        window.CreateControl(ComboBox(kCombo), QRect(0, 0, 200, 24));
        window.CreateControl(ListBox(kList), QRect(0, 30, 300, 200));
        window.CreateControl(Static(kLabel, "label"), QRect(0, 240, 300, 20));
    }
    void TearDown() override { window.DestroyWindow(); }
    Control Combo() { return window.GetDlgItem(kCombo); }
    Control List() { return window.GetDlgItem(kList); }

    TempDataDir dir;
    PlainWindow window;
};

TEST_F(FillerTest, BrokerCodesTrimmedInIndexOrderOverSeveralRecords) {
    std::vector<std::string> codes;
    for (int i = 1; i <= 18; ++i) codes.push_back("BR" + std::to_string(i));
    WriteIndex("BROKER.IDX", codes, 8, 16);
    FillCodeCombo(Combo());
    EXPECT_EQ(Lines(Combo()), codes);
}

TEST_F(FillerTest, SecuritySymbolsInTheComboAndByIndexPosition) {
    WriteIndex("SECURITY.IDX", {"IBM", "$$$$", "MSFT", "", "T"}, 12, 10);
    std::vector<std::string> symbols;
    Control combo = Combo();
    FillSecurityCombo(&combo, &symbols);
    EXPECT_EQ(Lines(combo), (std::vector<std::string>{"IBM", "MSFT", "T"}));
    EXPECT_EQ(symbols, (std::vector<std::string>{kSymbolPlaceholder, "IBM", "$$$$", "MSFT", "", "T"}));
}

TEST_F(FillerTest, AnEmptyOrMissingIndexGivesThePlaceholderOnly) {
    std::vector<std::string> symbols;
    FillSecurityCombo(nullptr, &symbols);
    EXPECT_EQ(symbols, std::vector<std::string>{kSymbolPlaceholder});
    WriteIndex("SECURITY.IDX", {}, 12, 10);
    Control combo = Combo();
    FillSecurityCombo(&combo, &symbols);
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(symbols.size(), 1u);
}

TEST_F(FillerTest, AccountsFirstSelected) {
    fixtures::WriteAccountIndex({"ZED", "ABC", "M1"});
    FillAccountCombo(List());
    EXPECT_EQ(Lines(List()), (std::vector<std::string>{"ZED", "ABC", "M1"}));
    EXPECT_EQ(List().GetCurSel(), 0);
}

TEST_F(FillerTest, TypesWithTheFirmCodesAndTheirNamesInListOrder) {
    records::Record codes(128, ' ');
    std::string list;
    for (int i = 0; i < 23; ++i) list += std::string(1, static_cast<char>('A' + i)) + std::to_string(i % 10);
    codes.SetText(0, 46, list);
    fixtures::WriteCommonRecord(27, codes);
    {
        records::DirectFile names("TYPENAME.DAT", 128);
        for (int r = 1; r <= 36; ++r) {
            records::Record rec(128, ' ');
            rec.SetText(0, 40, "TYPE RECORD " + std::to_string(r) + "                 TAIL");
            names.Write(r, rec);
        }
    }
    FillTypeCombo(List());
    const std::vector<std::string> lines = Lines(List());
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "A0 - TYPE RECORD 3");   // the first type's name is record 3
    EXPECT_EQ(lines[5], "F5 - TYPE RECORD 34");  // the sixth, record 34
    EXPECT_EQ(lines[21],
              "V1 - TYPE RECORD 31");  // the last, record 31; the 29th character on is not the name
}

TEST_F(FillerTest, TypeCodesAndNamesNeverWrittenShowAsBlanks) {
    fixtures::WriteCommonRecord(27,
                                records::Record(128, 0));  // record 27 of zeros, as a later record leaves it
    // The firm's table: a title of type Z, which no list shows, and the
    // listed types' records never written (a directory without any table
    // lists the standard types).
    records::DirectFile names("TYPENAME.DAT", 128);
    records::Record title(128, 0);
    title.SetText(0, 7, "Z TITLE");
    names.Write(37, title);
    FillTypeCombo(List());
    const std::vector<std::string> lines = Lines(List());
    ASSERT_EQ(lines.size(), 22u);
    for (const std::string& line : lines) EXPECT_EQ(line, "   - ");
}

// HL<acct>.REC with a cash lot and lots of two securities.
void WriteHoldings() {
    records::DirectFile file("HLACC1.REC", 128);
    struct Lot {
        double key;
        const char* symbol;
        const char* lot;
        double quantity, cost;
        const char* date;
    };
    const Lot lots[] = {{0, "CASH", "    ", 1234.5, 1234.5, "        "},
                        {100, "AAA", "2", 10, 150, "02/01/98"},
                        {200, "BBB", "1", 5, 50, "03/01/98"}};
    records::Record head(128, 0);
    records::HoldingsHeader header;
    header.first_lot = 2;
    header.records_in_use = 4;
    header.next_free = 5;
    header.Encode(head);
    file.Write(1, head);
    for (int i = 0; i < 3; ++i) {
        records::HoldingRecord h;
        h.next = i < 2 ? static_cast<int16_t>(i + 3) : -1;
        h.holding_key = lots[i].key;
        h.symbol = records::Fixed(lots[i].symbol, 12);
        h.tax_lot = records::Fixed(lots[i].lot, 4);
        h.quantity = lots[i].quantity;
        h.cost = lots[i].cost;
        h.open_date = lots[i].date;
        records::Record rec(128, 0);
        h.Encode(rec);
        file.Write(i + 2, rec);
    }
}

TEST_F(FillerTest, HoldingsListWithTheCashBalance) {
    fixtures::WriteSecurities({{.symbol = "AAA", .description1 = "AAA INC", .type = "H"},
                               {.symbol = "BBB", .description1 = "BBB INC", .type = "H"}});
    WriteHoldings();
    Control label = window.GetDlgItem(kLabel);
    FillHoldingsList("ACC1", "AAA", label, List());
    EXPECT_EQ(label.GetWindowText(), "Current cash bal: $      1234.50");
    EXPECT_EQ(Lines(List()), std::vector<std::string>{"2        15.0000        10.0000 02/01/98"});

    FillHoldingsList("", "AAA", label, List());
    EXPECT_EQ(label.GetWindowText(), " ");
    EXPECT_EQ(List().GetCount(), 1);  // the list is left as it was
}

}  // namespace
