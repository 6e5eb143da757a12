// The module entry dialogs on hand-built stores: what a file holds shows
// in the fields and OK without changes writes the same bytes; a stored
// distribution row shows only with its four date parts; the manager code
// boxes take at most 26 codes from record 83.

#include <gtest/gtest.h>

#include "platform/scripted_interaction.h"
#include "records/module_stores.h"
#include "records/record.h"
#include "setup/account_billing_dialog.h"
#include "setup/asset_allocation_dialog.h"
#include "setup/income_distribution_dialogs.h"
#include "setup/invoice_dialog.h"
#include "shell/message_list.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using fixtures::TempDataDir;

std::vector<unsigned char> Bytes(const std::vector<records::Record>& recs) {
    std::vector<unsigned char> bytes;
    for (const records::Record& r : recs) bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    return bytes;
}

records::Record Directory(std::size_t length, int16_t last) {
    records::Record rec(length, 0);
    rec.SetI16(0, last);
    return rec;
}

class ModuleDialogTest : public ::testing::Test {
protected:
    int Run(Dialog& dialog) {
        const int result = dialog.DoModal();
        for (const std::string& failure : script_.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script_.StepsLeft(), 0u);
        return result;
    }
    void TearDown() override { shell::ClearMessageList(); }

    TempDataDir dir_;
    ScriptedInteraction script_;
    ScopedInteraction installed_{script_};
};

TEST_F(ModuleDialogTest, AHandBuiltBillingStoreShowsAndComesBackByteForByte) {
    fixtures::WriteAccounts({{.id = "ACC001"}, {.id = "ACC002"}});
    records::Record second(128, 0);
    second.SetText(0, 8, "ACC002");
    second.SetR4(8, 99.5f);
    second.SetR4(12, -3.25f);
    second.SetText(16, 8, "06/30/98");
    second.data()[24] = 'K';
    second.SetR4(25, 12000.0f);
    second.SetI16(29, 12);
    second.SetI16(31, 97);
    second.SetText(33, 8, "        ");
    const std::vector<unsigned char> file = Bytes({Directory(128, 2), second});
    TempDataDir::WriteBytes(records::kAccountBillingFile, file);

    using D = setup::CAccountBillingDlg;
    D dialog;
    script_.ExpectDialog(setup::kAccountBillingDialogId)
        .ExpectText(D::kBalanceDue, "")
        .Select(D::kAccounts, 1)
        .ExpectText(D::kBalanceDue, "99.500000")
        .ExpectText(D::kPayment, "-3.250000")
        .ExpectText(D::kPaymentDate, "06/30/98")
        .ExpectText(D::kPaymentMethod, "K")
        .ExpectText(D::kTotalBilled, "12000.000000")
        .ExpectText(D::kLastMonth, "12")
        .ExpectText(D::kLastYear, "97")
        .ExpectText(D::kClosingDate, "")  // the date filter drops the blanks
        .Click(D::kOk)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
    // ACC001, shown blank and left by the change of account, took record 3.
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(records::kAccountBillingFile);
    ASSERT_EQ(bytes.size(), 3u * 128u);
    EXPECT_TRUE(std::equal(file.begin() + 128, file.end(), bytes.begin() + 128));
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(std::string(bytes.begin() + 256, bytes.begin() + 264), "ACC001  ");
}

TEST_F(ModuleDialogTest, AHandBuiltDistributionRecordShowsItsDatedRowsAndComesBackByteForByte) {
    records::Record rec(512, 0);
    rec.SetI16(0, 1998);
    rec.SetText(2, 12, "IBM");
    for (int m = 0; m < 12; ++m) {
        const std::size_t at = 14 + 34 * static_cast<std::size_t>(m);
        rec.SetI16(at, static_cast<int16_t>(m + 1));
        rec.SetI16(at + 2, 10);
        rec.SetI16(at + 4, 98);
        rec.SetI16(at + 6, static_cast<int16_t>(m + 1));
        rec.SetI16(at + 8, 25);
        rec.SetI16(at + 10, 98);
        rec.SetR4(at + 12, 0.125f * static_cast<float>(m + 1));
        rec.SetR4(at + 16, 1.0f);
        rec.SetR4(at + 20, 0.5f);
        rec.SetR4(at + 24, 101.75f);
        rec.SetR4(at + 28, 0.0625f);
        rec.SetI16(at + 32, static_cast<int16_t>(m % 2));
    }
    const std::vector<unsigned char> file = Bytes({Directory(512, 2), rec});
    TempDataDir::WriteBytes(records::kIncomeDistributionFile, file);

    using D = setup::CIncomeDistributionsDlg;
    {
        D dialog(1998, "IBM");
        script_.ExpectDialog(setup::kIncomeDistributionsDialogId)
            .ExpectText(D::kExDateIds[0], "1/10/98")
            .ExpectText(D::kPayDateIds[11], "12/25/98")
            .ExpectText(D::kDividendRateIds[1], "0.250000")
            .ExpectText(D::kReinvestPriceIds[5], "101.750000")
            .ExpectChecked(D::kExpenseFlagIds[0], false)
            .ExpectChecked(D::kExpenseFlagIds[1], true)
            .Click(D::kOk)
            .ExpectClosed();
        EXPECT_EQ(Run(dialog), IDOK);
    }
    EXPECT_EQ(TempDataDir::ReadBytes(records::kIncomeDistributionFile), file);

    // A row without its pay day is not shown, and OK writes it blank.
    records::Record no_day = rec;
    no_day.SetI16(14 + 34 * 4 + 8, 0);
    TempDataDir::WriteBytes(records::kIncomeDistributionFile, Bytes({Directory(512, 2), no_day}));
    {
        D dialog(1998, "IBM");
        script_.ExpectDialog(setup::kIncomeDistributionsDialogId)
            .ExpectText(D::kExDateIds[4], "")
            .ExpectText(D::kDividendRateIds[4], "")
            .ExpectText(D::kExDateIds[5], "6/10/98")
            .Click(D::kOk)
            .ExpectClosed();
        EXPECT_EQ(Run(dialog), IDOK);
    }
    records::DistributionRows rows{};
    ASSERT_TRUE(records::ReadIncomeDistributions(1998, "IBM", rows));
    EXPECT_EQ(rows[4].ex_month, 0);
    EXPECT_EQ(rows[4].dividend_rate, 0.0f);
    EXPECT_EQ(rows[5].dividend_rate, 0.75f);
}

// Record 83 filled with 32 codes across all its 128 bytes; the other
// records of the table empty.
TEST_F(ModuleDialogTest, ManagerCodeBoxesTakeAtMost26CodesFromRecord83) {
    records::Record last(128, ' ');
    for (int k = 0; k < 32; ++k) {
        char code[8];
        std::snprintf(code, sizeof code, "R%03d", k + 1);
        last.SetText(4 * static_cast<std::size_t>(k), 4, code);
    }
    fixtures::WriteCommonRecord(83, last);
    const auto listed = [](const Dialog& dialog, int combo) -> std::string {
        const Control c = dialog.GetDlgItem(combo);
        if (c.GetCount() != 27) return "lines: " + std::to_string(c.GetCount());
        if (c.GetText(0) != "????" || c.GetText(1) != "R001" || c.GetText(26) != "R026")
            return "codes: " + c.GetText(1) + " " + c.GetText(26);
        return "";
    };
    {
        setup::CClientInvoicesDlg dialog;
        script_.ExpectDialog(setup::kClientInvoicesDialogId)
            .Run("invoices", [&] { return listed(dialog, setup::CClientInvoicesDlg::kManagerCombo); })
            .Click(setup::CClientInvoicesDlg::kCancel)
            .ExpectClosed();
        EXPECT_EQ(Run(dialog), IDCANCEL);
    }
    {
        setup::CInputAssetAllocationDlg dialog;
        script_.ExpectDialog(setup::kInputAssetAllocationDialogId)
            .Run("asset allocation",
                 [&] { return listed(dialog, setup::CInputAssetAllocationDlg::kManagerCombo); })
            .Click(setup::CInputAssetAllocationDlg::kCancel)
            .ExpectClosed();
        EXPECT_EQ(Run(dialog), IDCANCEL);
    }
}

}  // namespace
