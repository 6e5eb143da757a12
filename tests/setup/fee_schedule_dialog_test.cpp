// Fee Schedule: percentages shown as per cent and stored as fractions, the
// values each type keeps, a short BILTABLE.DAT, the billing code's
// keystroke filter and its spin, and the file Done writes.

#include "setup/fee_schedule_dialog.h"

#include <gtest/gtest.h>

#include "platform/scripted_interaction.h"
#include "records/fee_table.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using fixtures::TempDataDir;
using setup::CFeeScheduleDlg;
using setup::kFeeScheduleDialogId;
using D = CFeeScheduleDlg;

// Writes records 1 to n of BILTABLE.DAT from the table.
void WriteTable(const records::FeeTable& table, int n) {
    records::DirectFile f(records::kFeeTableFile, 128);
    for (int c = 0; c < n; ++c) {
        records::Record rec(128, 0);
        rec.SetI16(0, table.types[c]);
        for (int k = 0; k < 5; ++k) {
            rec.SetR8(10 + 16 * k, table.break_points[c][k]);
            rec.SetR8(18 + 16 * k, table.percentages[c][k]);
        }
        f.Write(c + 1, rec);
    }
}

class FeeScheduleTest : public ::testing::Test {
protected:
    int Run(D& dialog) {
        const int result = dialog.DoModal();
        for (const std::string& failure : script_.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script_.StepsLeft(), 0u);
        return result;
    }

    TempDataDir dir_;
    ScriptedInteraction script_;
    ScopedInteraction installed_{script_};
};

TEST_F(FeeScheduleTest, APercentageIsStoredAsAFractionAndShownAgainAsPerCent) {
    {
        D dialog;
        script_.ExpectDialog(kFeeScheduleDialogId)
            .ExpectText(D::kCode, "1")
            .ExpectChecked(D::kFlatFee, true)
            .ExpectText(D::kFirstLabel, "Flat Fee")
            .ExpectVisible(D::kStepValues[0], false)
            .Click(D::kStraight)
            .ExpectText(D::kFirstLabel, "Straight Percentage")
            .SetText(D::kFirstValue, "1.25")
            .Click(D::kDone)
            .ExpectClosed();
        EXPECT_EQ(Run(dialog), IDOK);
    }
    const records::FeeTable table = records::Inptab();
    EXPECT_EQ(table.types[0], 1);
    EXPECT_EQ(table.percentages[0][0], 1.25 * 0.01);
    D again;
    script_.ExpectDialog(kFeeScheduleDialogId)
        .ExpectChecked(D::kStraight, true)
        .ExpectText(D::kFirstValue, "1.25")
        .Press(Key::Escape)
        .ExpectClosed();
    EXPECT_EQ(Run(again), IDCANCEL);
}

TEST_F(FeeScheduleTest, TypesKeepTheirValuesAndDoneClearsTheRestIntoAFileOf36Records) {
    records::FeeTable stored;
    for (int c = 0; c < 10; ++c) {
        stored.types[c] = c == 4 ? 7 : static_cast<int16_t>(c % 3);  // code 5: out of range, incremental
        stored.break_points[c] = {1000.0 * (c + 1), 2000, 3000, 4000, 5000};
        stored.percentages[c] = {0.01, 0.02, 0.03, 0.04, 0.05};
    }
    WriteTable(stored, 10);
    D dialog;
    script_
        .ExpectDialog(kFeeScheduleDialogId)
        // Code 3: incremental, all ten values shown.
        .Spin(D::kSpin, true)
        .Spin(D::kSpin, true)
        .ExpectText(D::kCode, "3")
        .ExpectChecked(D::kIncremental, true)
        .ExpectText(D::kFirstLabel, "Percentage 1")
        .ExpectText(D::kFirstValue, "1.00")
        .ExpectText(D::kStepValues[0], "3000.00")
        .ExpectText(D::kStepValues[1], "2.00")
        .ExpectText(D::kStepValues[8], "5000.00")
        // Incremental to flat keeps break point 1 as the fee.
        .Click(D::kFlatFee)
        .ExpectText(D::kFirstLabel, "Flat Fee")
        .ExpectText(D::kFirstValue, "3000.00")
        .ExpectVisible(D::kStepLabels[0], false)
        .Click(D::kFlatFee)  // the current type: nothing changes
        // Flat to incremental clears all ten.
        .Spin(D::kSpin, true)
        .ExpectText(D::kCode, "4")
        .Click(D::kIncremental)
        .ExpectText(D::kFirstValue, "0.00")
        .ExpectText(D::kStepValues[0], "0.00")
        .ExpectVisible(D::kStepValues[8], true)
        .SetText(D::kStepValues[2], "250000")
        .Spin(D::kSpin, true)
        .ExpectText(D::kCode, "5")
        .ExpectChecked(D::kIncremental, true)
        // Code 11 was never written: a flat fee of 0.00.
        .SetText(D::kCode, "11")
        .Focus(D::kDone)
        .ExpectChecked(D::kFlatFee, true)
        .ExpectText(D::kFirstValue, "0.00")
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);

    // What each type keeps, percentages as fractions, 36 records.
    records::FeeTable want;
    for (int c = 0; c < 10; ++c) {
        want.types[c] = stored.types[c] == 7 ? 2 : stored.types[c];
        want.break_points[c][0] = stored.break_points[c][0];
        if (want.types[c] >= 1) want.percentages[c][0] = 1.0 * 0.01;
        if (want.types[c] == 2)
            for (int k = 1; k < 5; ++k) {
                want.break_points[c][k] = stored.break_points[c][k];
                want.percentages[c][k] = (k + 1.0) * 0.01;
            }
    }
    want.types[2] = 0;  // code 3 made flat: the fee alone
    want.break_points[2] = {3000, 0, 0, 0, 0};
    want.percentages[2] = {0, 0, 0, 0, 0};
    want.types[3] = 2;  // code 4 made incremental
    want.break_points[3] = {0, 250000, 0, 0, 0};
    want.percentages[3] = {0, 0, 0, 0, 0};
    // The percentages went through per cent and back.
    for (int c = 0; c < 10; ++c)
        for (int k = 0; k < 5; ++k)
            if (want.percentages[c][k] != 0.0)
                want.percentages[c][k] = stored.percentages[c][k] * 100.0 * 0.01;

    const std::vector<unsigned char> written = TempDataDir::ReadBytes(records::kFeeTableFile);
    ASSERT_EQ(written.size(), 36u * 128u);
    std::vector<unsigned char> expected(36 * 128, 0);
    for (int c = 0; c < records::kFeeCodes; ++c) {
        records::Record rec(128, 0);
        rec.SetI16(0, want.types[c]);
        for (int k = 0; k < 5; ++k) {
            rec.SetR8(10 + 16 * k, want.break_points[c][k]);
            rec.SetR8(18 + 16 * k, want.percentages[c][k]);
        }
        std::copy(rec.bytes().begin(), rec.bytes().end(), expected.begin() + 128 * c);
    }
    EXPECT_EQ(written, expected);
}

TEST_F(FeeScheduleTest, TheBillingCodeTakesOnly1To36AndTheSpinWraps) {
    struct Case {
        const char* typed;
        const char* left;
    } cases[] = {{"40", ""},   {"37", "3"},  {"1a", "1"},  {"0", ""}, {"x", ""},
                 {"123", "3"}, {"36", "36"}, {"29", "29"}, {"9", "9"}};
    D dialog;
    script_.ExpectDialog(kFeeScheduleDialogId);
    for (const Case& c : cases)
        script_.SetText(D::kCode, "").Type(D::kCode, c.typed).ExpectText(D::kCode, c.left);
    script_.SetText(D::kCode, "")
        .Focus(D::kDone)  // an empty code selects code 1
        .ExpectText(D::kCode, "1")
        .Spin(D::kSpin, false)
        .ExpectText(D::kCode, "36")
        .Spin(D::kSpin, true)
        .ExpectText(D::kCode, "1")
        .SetText(D::kCode, "36")
        .Focus(D::kDone)
        .Spin(D::kSpin, true)
        .ExpectText(D::kCode, "1")
        .Press(Key::Escape)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDCANCEL);
    EXPECT_FALSE(TempDataDir::Exists(records::kFeeTableFile));
}

TEST_F(FeeScheduleTest, ValueKeysOtherThanDigitsBlanksAndOnePointAreRemoved) {
    struct Case {
        const char* typed;
        const char* left;
    } cases[] = {{"12.5", "12.5"}, {"1.2.3", "1.23"}, {"1,250", "1250"},
                 {"-5", "5"},      {" 7 8", " 7 "},   {".5", ".5"}};
    D dialog;
    script_.ExpectDialog(kFeeScheduleDialogId);
    for (const Case& c : cases)
        script_.SetText(D::kFirstValue, "").Type(D::kFirstValue, c.typed).ExpectText(D::kFirstValue, c.left);
    script_.Press(Key::Escape).ExpectClosed();
    EXPECT_EQ(Run(dialog), IDCANCEL);
    EXPECT_EQ(script_.Beeps().size(), 4u);
}

}  // namespace
