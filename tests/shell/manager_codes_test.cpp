// The manager code table as the window layer uses it: the codes the manager
// boxes list (every slot, those at the ends of records 81 and 82 included),
// the "?" matching of an entered code, and Ptmgr's registration of a code
// in the first free slot with the records' other bytes kept.

#include "shell/manager_codes.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/plain_window.h"
#include "platform/scripted_interaction.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using namespace shell;
using fixtures::TempDataDir;

// Where slot k (1-100) lies: record and byte offset.
std::pair<int, std::size_t> SlotPlace(int k) {
    if (k <= 10) return {10, 16 + 4 * static_cast<std::size_t>(k - 1)};
    if (k <= 42) return {81, 4 * static_cast<std::size_t>(k - 11)};
    if (k <= 74) return {82, 4 * static_cast<std::size_t>(k - 43)};
    return {83, 4 * static_cast<std::size_t>(k - 75)};
}

// Writes the four table records: codes given by slot number, the other slots
// as zero bytes, and the bytes outside the slots marked with `filler`.
void WriteTable(const std::map<int, std::string>& codes, unsigned char filler = '#') {
    std::map<int, records::Record> recs;
    for (const int r : {10, 81, 82, 83}) recs[r] = records::Record(128, 0);
    for (std::size_t b = 0; b < 16; ++b) recs[10].data()[b] = filler;
    for (std::size_t b = 56; b < 128; ++b) recs[10].data()[b] = filler;
    for (std::size_t b = 104; b < 128; ++b) recs[83].data()[b] = filler;
    for (const auto& [k, code] : codes) {
        const auto [r, offset] = SlotPlace(k);
        recs[r].SetText(offset, 4, code);
    }
    for (const auto& [r, rec] : recs) fixtures::WriteCommonRecord(r, rec);
}

records::Record ReadCommon(int n) {
    records::DirectFile file("COMMON.FIL", 128);
    records::Record rec;
    file.Read(n, rec);
    return rec;
}

std::string Slot(int k) {
    const auto [r, offset] = SlotPlace(k);
    return ReadCommon(r).Text(offset, 4);
}

TEST(ManagerCodes, BoxesListEverySlotThatHoldsACodeInSlotOrder) {
    TempDataDir dir;
    WriteTable({{1, "AAAA"},
                {10, "BB  "},  // trailing blanks are not part of the entry
                {11, "    "},  // blank: not listed
                {40, "CC40"},
                {41, "CC41"},  // the last two slots of record 81
                {42, "CC42"},
                {73, "DD73"},  // and of record 82
                {74, "DD74"},
                {100, "ZZZZ"}});
    EXPECT_EQ(ListedManagerCodes(),
              (std::vector<std::string>{"AAAA", "BB", "CC40", "CC41", "CC42", "DD73", "DD74", "ZZZZ"}));

    PlainWindow window;
    ASSERT_TRUE(window.Create("Managers"));
    window.CreateControl(ComboBox(1), QRect(0, 0, 100, 24));
    Control combo = window.GetDlgItem(1);
    combo.AddString("stale");
    FillManagerCombo(combo);
    ASSERT_EQ(combo.GetCount(), 9);
    EXPECT_EQ(combo.GetText(0), "????");
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(combo.GetText(5), "CC42");
    EXPECT_TRUE(ManagerCodeInCombo("CC41", combo));
    EXPECT_TRUE(ManagerCodeInCombo("DD74", combo));
    EXPECT_FALSE(ManagerCodeInCombo("CC43", combo));
    window.DestroyWindow();
}

TEST(ManagerCodes, EmptyParameterFileListsNothing) {
    TempDataDir dir;
    EXPECT_TRUE(ListedManagerCodes().empty());
}

struct MatchCase {
    const char* entered;
    const char* entry;
    bool matches;
};

class ManagerCodeMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(ManagerCodeMatch, QuestionMarksOfTheEnteredCodeMatchAnyCharacter) {
    EXPECT_EQ(ManagerCodeMatches(GetParam().entered, GetParam().entry), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Codes, ManagerCodeMatch,
                         ::testing::Values(MatchCase{"ABCD", "ABCD", true}, MatchCase{"AB?D", "ABCD", true},
                                           MatchCase{"????", "????", true}, MatchCase{"????", "WXYZ", true},
                                           MatchCase{"ABCD", "AB?D",
                                                     false},  // only the entered "?" is a wildcard
                                           MatchCase{"ABC", "ABCD", false}, MatchCase{"AB", "AB", true},
                                           MatchCase{"", "", true}, MatchCase{"abcd", "ABCD", false}));

TEST(Ptmgr, CodeAlreadyInTheTableWritesNothing) {
    TempDataDir dir;
    WriteTable({{57, "MGR1"}});
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("COMMON.FIL");
    Ptmgr("MGR1");
    EXPECT_EQ(TempDataDir::ReadBytes("COMMON.FIL"), before);
}

TEST(Ptmgr, NewCodeGoesToTheFirstFreeSlotAndTheOtherBytesStay) {
    TempDataDir dir;
    std::map<int, std::string> used;
    for (int k = 1; k <= 10; ++k) used[k] = "M" + std::to_string(k);
    used[12] = "LATE";
    WriteTable(used);
    Ptmgr("NEW1");
    EXPECT_EQ(Slot(11), "NEW1");  // record 81 bytes 1-4
    EXPECT_EQ(ReadCommon(81).Text(0, 4), "NEW1");
    EXPECT_EQ(Slot(12), "LATE");
    EXPECT_EQ(Slot(1), "M1  ");
    EXPECT_EQ(ReadCommon(10).Text(0, 16), std::string(16, '#'));  // the field before the slots
    EXPECT_EQ(ReadCommon(10).Text(56, 72), std::string(72, '#'));
    EXPECT_EQ(ReadCommon(83).Text(104, 24), std::string(24, '#'));
    // The next code takes the next free slot; a short code is blank padded.
    Ptmgr("N2");
    EXPECT_EQ(Slot(13), "N2  ");
    // A code whose slot lies at the end of record 81 is found there.
    Ptmgr("LATE");
    EXPECT_EQ(Slot(14), std::string(4, '\0'));
}

TEST(Ptmgr, FirstCodeOfAnEmptyParameterFileGoesToSlotOne) {
    TempDataDir dir;
    Ptmgr("ABCD");
    EXPECT_EQ(Slot(1), "ABCD");
    EXPECT_EQ(ListedManagerCodes(), (std::vector<std::string>{"ABCD"}));
}

TEST(Ptmgr, FullTableShowsItsMessageAndRegistersNothing) {
    TempDataDir dir;
    std::map<int, std::string> used;
    for (int k = 1; k <= 100; ++k) used[k] = "C" + std::to_string(k);
    WriteTable(used);
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("COMMON.FIL");
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectMessageBox("Maximum no. of manager codes assigned, see Utilities, Portfolio Manager Codes.",
                            IDOK, "Diagnostic");
    Ptmgr("XTRA");
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_EQ(script.StepsLeft(), 0u);
    EXPECT_EQ(TempDataDir::ReadBytes("COMMON.FIL"), before);
}

}  // namespace
