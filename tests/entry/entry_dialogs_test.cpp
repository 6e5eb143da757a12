// The trades, cash and transfers dialogs, opened as from the menu and with
// a CurrentTranRecord the test fills from an account's transaction file,
// OFFLINET.DAT or TRADEBLK.DAT: their initial display, their checks in
// order, the posting routines' messages under their field labels, Delete
// with its confirmation, and the rewrites of off-line and block lines.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "entry/cash_dialog.h"
#include "entry/trades_dialog.h"
#include "entry/tran_record.h"
#include "entry/transfers_dialog.h"
#include "platform/scripted_interaction.h"
#include "records/files.h"
#include "records/record.h"
#include "records/rounding.h"
#include "records/transaction_lines.h"
#include "shell/command_ids.h"
#include "shell/message_list.h"
#include "tests/engine/posting_fixture.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using namespace entry;
using fixtures::TempDataDir;
using Bytes = std::vector<unsigned char>;
using T = CTradesDlg;

std::string MessagesText() {
    std::string all;
    for (const std::string& m : shell::GetMessages()) all += "[" + m + "]";
    return all;
}
std::function<std::string()> Messages(std::string expected) {
    return [expected] {
        const std::string all = MessagesText();
        return all == expected ? std::string() : "messages " + all;
    };
}

class EntryDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        shell::ClearMessageList();
        posting_fixture::WriteDataDirectory();
        fixtures::WriteAccounts(
            {{.id = "ACC1", .short_name = "TEST ACCOUNT", .opened = posting_fixture::kOpened},
             {.id = "ACC2", .opened = posting_fixture::kOpened}});
    }
    void TearDown() override {
        shell::ClearMessageList();
        CurrentTranRecord = nullptr;
    }

    int Run(Dialog& dialog) {
        const int result = dialog.DoModal();
        for (const std::string& failure : script_.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script_.StepsLeft(), 0u);
        return result;
    }

    // Fills the record object from record `rec` of the source's file, as
    // the transaction list does, and makes it the current transaction.
    void Open(int source, const std::string& file, long rec, const std::string& account = "") {
        if (source == kAccountSource)
            records::Open(6, file);
        else
            records::Open4(6, file);
        tran_ = std::make_unique<CTranRecord>();
        EXPECT_TRUE(tran_->Fill(source, rec, account));
        records::Close(6);
        CurrentTranRecord = tran_.get();
    }

    TempDataDir dir_;
    ScriptedInteraction script_;
    ScopedInteraction installed_{script_};
    std::unique_ptr<CTranRecord> tran_;
};

// An off-line file with one trade line in record 2, bytes 140-511 numbered.
Bytes WriteOfflineTrade() {
    records::Record line(records::kTransactionLineLength);
    for (std::size_t i = 0; i < line.size(); ++i) line.data()[i] = static_cast<unsigned char>(i % 250 + 1);
    records::OfflineTranRecord o;
    o.account = "ACC1";
    o.symbol = "IBM";
    o.tax_lot = "1";
    o.trade_date = "03/02/98";
    o.code = "B";
    o.shares = 100;
    o.price = 45.5f;
    o.amount = 4550;
    o.broker = "BRK1";
    o.commission = 25;
    o.bond_interest = 0;
    o.entry_kind = "A";
    o.Encode(line);
    // Fields the view does not reach keep the numbered bytes.
    for (std::size_t i = 136; i < line.size(); ++i) line.data()[i] = static_cast<unsigned char>(i % 250 + 1);
    Bytes file(2 * records::kTransactionLineLength, 0);
    file[0] = 2;
    std::memcpy(file.data() + records::kTransactionLineLength, line.data(), line.size());
    TempDataDir::WriteBytes("OFFLINET.DAT", file);
    return file;
}

// The offsets of bytes that differ between two files.
std::vector<std::size_t> Differences(const Bytes& a, const Bytes& b) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) out.push_back(i);
    return out;
}

TEST_F(EntryDialogs, TradesFromTheMenuChecksEveryFieldThenPostsAndListsTheLot) {
    CTradesDlg dialog;
    script_.ExpectDialog(kTradesDialogId)
        .ExpectText(kPostButton, "Post")
        .ExpectEnabled(kDeleteButton, false)
        .ExpectVisible(kAccountStatic, false)
        .ExpectVisible(T::kBlockTotal, false)
        .Run("accounts in index order",
             [&] {
                 const Control box = dialog.GetDlgItem(kAccountBox);
                 return box.GetCount() == 2 && box.GetText(0) == "ACC1" && box.GetText(1) == "ACC2"
                            ? ""
                            : "accounts";
             })
        .SetText(kDateEdit, "")
        .SetText(T::kSettleDate, "13/01/98")
        .SetText(T::kShares, "1O0")
        .SetText(T::kPrice, "4.5.5")
        .SetText(T::kCommission, "x")
        .SetText(T::kMiscExpense, "--1")
        .Click(kPostButton)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("check messages in order",
             Messages("[1.Illegal transaction date: ][2.Illegal settlement date: 13/01/98]"
                      "[3.Illegal SHARES value: 1O0][4.Illegal PRICE value: 4.5.5]"
                      "[5.Illegal  COMMISSION value: x][6.Illegal MISC EXPENSE value: --1]"))
        .Click(IDOK)
        .ExpectClosed()
        .Run("nothing posted", [] { return TempDataDir::Exists("TRACC1.REC") ? "posted" : ""; })
        // The checks pass; the posting routine refuses three fields.
        .SetText(kAccountBox, "NOSUCH")
        .SetText(kSymbolBox, "IBM")
        .SetText(kCodeBox, "QQ")
        .SetText(kDateEdit, "03/02/98")
        .SetText(T::kSettleDate, "")
        .SetText(T::kShares, "100")
        .SetText(T::kPrice, "45.50")
        .SetText(T::kCommission, "")
        .SetText(T::kMiscExpense, "")
        .SetText(T::kTaxLot, "1")
        .Click(kPostButton)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("posting messages in field order",
             Messages("[1.Account:Invalid account identifier.][2.Tran. Code:Invalid transaction code.]"))
        .Click(IDOK)
        .ExpectClosed()
        .Select(kAccountBox, 0)
        .Select(kCodeBox, 0)
        .SetText(T::kBroker, "BRK1")
        .SetText(T::kCommission, "25.00")
        .Click(kPostButton)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
    const std::vector<records::TransactionRecord> trs = fixtures::ReadTransactions("ACC1");
    ASSERT_EQ(trs.size(), 1u);
    EXPECT_EQ(trs[0].symbol, "IBM         ");
    EXPECT_EQ(trs[0].code, "B   ");
    EXPECT_EQ(trs[0].quantity, 100.0);
    EXPECT_EQ(trs[0].price, 45.5f);
    EXPECT_EQ(trs[0].commission, 25.0);

    // The next dialog on the account lists the lot and the balance.
    CTradesDlg again;
    script_.ExpectDialog(kTradesDialogId)
        .Select(kAccountBox, 0)
        .SelectText(kSymbolBox, "IBM")
        .Run("lot listed",
             [&] {
                 const Control lots = again.GetDlgItem(kLotsList);
                 if (lots.GetCount() != 1) return std::string("lots ") + std::to_string(lots.GetCount());
                 return lots.GetText(0).substr(0, 5) == "1    " ? std::string() : "lot " + lots.GetText(0);
             })
        // A sale of more than the lot holds: the rebuild refuses it, under
        // the type field's label of one blank.
        .SelectText(kCodeBox, "S  - Sell")
        .SetText(T::kTaxLot, "1")
        .SetText(kDateEdit, "06/01/98")
        .SetText(T::kShares, "150")
        .SetText(T::kPrice, "50")
        .SetText(T::kBroker, "BRK1")
        .Click(kPostButton)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("refused", Messages("[1.Shares:This lot has been partially or totally sold/covered.]"))
        .Click(IDOK)
        .ExpectClosed()
        .Click(IDCANCEL)
        .ExpectClosed();
    EXPECT_EQ(Run(again), IDCANCEL);
    EXPECT_EQ(fixtures::ReadTransactions("ACC1").size(), 1u);
}

TEST_F(EntryDialogs, TypedNumbersReachThePostingWithTheirPoint) {
    struct Case {
        const char* typed;
        double shares;
    };
    const Case cases[] = {{"100", 100}, {"100.", 100}, {"1,250.50", 1250.5},
                          {"0.5", 0.5}, {".5", 0.5},   {"-3", -3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::filesystem::remove("TRACC1.REC");
        std::filesystem::remove("HLACC1.REC");
        CTradesDlg dialog;
        script_.ExpectDialog(kTradesDialogId)
            .Select(kAccountBox, 0)
            .SetText(kSymbolBox, "IBM")
            .Select(kCodeBox, c.shares < 0 ? 4 : 0)  // a negative quantity as a split
            .SetText(T::kTaxLot, "1")
            .SetText(kDateEdit, "03/02/98")
            .SetText(T::kShares, c.typed)
            .SetText(T::kPrice, "10")
            .SetText(T::kBroker, "BRK1")
            .Click(kPostButton)
            .ExpectClosed();
        EXPECT_EQ(Run(dialog), IDOK) << MessagesText();
        const std::vector<records::TransactionRecord> trs = fixtures::ReadTransactions("ACC1");
        ASSERT_EQ(trs.size(), 1u);
        EXPECT_EQ(trs[0].quantity, c.shares);
        EXPECT_EQ(trs[0].price, 10.0f);
    }
}

TEST_F(EntryDialogs, ThePriceShowsTheDecimalsOfOption81) {
    const float stored = 1.23456789f;
    auto expected = [&](int decimals, const char* format) {
        float rounded = stored;
        int16_t d = static_cast<int16_t>(decimals);
        records::Roundn(rounded, d);
        char text[40];
        std::snprintf(text, sizeof text, format, static_cast<double>(rounded));
        return std::string(text);
    };
    struct Case {
        int option;
        std::string shown;
    };
    const Case cases[] = {{4, expected(4, "%.4f")},
                          {7, expected(7, "%.7f")},
                          {3, expected(4, "%.8f")},
                          {9, expected(4, "%.8f")}};
    fixtures::WriteTransactions("ACC1",
                                {fixtures::Transaction("B", "IBM", "1", "03/02/98", 100, 123.45, 0, 2)});
    records::TransactionRecord t = fixtures::ReadTransactions("ACC1")[0];
    t.price = stored;
    fixtures::WriteTransactionAt("ACC1", 2, t);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        fixtures::SetOptions({{records::Opt::kSystemDecimals, static_cast<unsigned char>(c.option)}});
        Open(kAccountSource, "TRACC1.REC", 2, "ACC1");
        CTradesDlg dialog;
        script_.ExpectDialog(kTradesDialogId)
            .ExpectText(T::kPrice, c.shown)
            .ExpectText(T::kShares, "100.000000")
            .ExpectText(kAccountStatic, "ACC1")
            .ExpectVisible(kAccountBox, false)
            .ExpectText(kPostButton, "Done")
            .ExpectEnabled(kDeleteButton, true)
            .Click(IDCANCEL)
            .ExpectClosed();
        EXPECT_EQ(Run(dialog), IDCANCEL);
    }
    EXPECT_EQ(expected(7, "%.7f"), "1.2345679");
}

TEST_F(EntryDialogs, CashShowsTheListedAmountAndDeletesWithModeC) {
    // A deposit posted through the dialog, then opened from the file.
    CCashDlg add;
    script_.ExpectDialog(kCashDialogId)
        // The hidden symbol box never shows, nor its label.
        .ExpectVisible(CCashDlg::kHiddenSymbol, false)
        .ExpectVisible(CCashDlg::kHiddenSymbolLabel, false)
        .Run("accounts in reverse index order",
             [&] {
                 const Control box = add.GetDlgItem(kAccountBox);
                 return box.GetText(0) == "ACC2" && box.GetText(1) == "ACC1" ? "" : "order";
             })
        .Run("codes from BC to FI",
             [&] {
                 const Control box = add.GetDlgItem(kCodeBox);
                 return box.GetCount() == 14 && box.GetText(0) == "BC - Bank Charges" &&
                                box.GetText(9) == "DI - Dividend Income" &&
                                box.GetText(13) == "FI - Cash Received"
                            ? ""
                            : "codes";
             })
        .SetText(kDateEdit, "")
        .SetText(CCashDlg::kAmount, "abc")
        .Click(kPostButton)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("date first", Messages("[1.Illegal transaction date: ][2.Illegal AMOUNT value: abc]"))
        .Click(IDOK)
        .ExpectClosed()
        .SelectText(kAccountBox, "ACC1")
        .Run("balance",
             [&] {
                 return add.GetDlgItemText(kBalanceStatic) == "Current cash bal: $         0.00"
                            ? ""
                            : add.GetDlgItemText(kBalanceStatic);
             })
        .SetText(kCodeBox, "ZZ")
        .SetText(kDateEdit, "03/02/98")
        .SetText(CCashDlg::kAmount, "125.5")
        .Click(kPostButton)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("hand-typed code", Messages("[1.Tran. Code:Invalid transaction code.]"))
        .Click(IDOK)
        .ExpectClosed()
        .SelectText(kCodeBox, "FI - Cash Received")
        .Click(kPostButton)
        .ExpectClosed();
    EXPECT_EQ(Run(add), IDOK);
    ASSERT_EQ(fixtures::ReadTransactions("ACC1").size(), 1u);

    Open(kAccountSource, "TRACC1.REC", 2, "ACC1");
    CCashDlg edit;
    script_.ExpectDialog(kCashDialogId)
        .ExpectText(CCashDlg::kAmount, "125.500000")
        .ExpectText(kAccountStatic, "ACC1")
        .ExpectText(kBalanceStatic, "Current cash bal: $       125.50")
        .Click(kDeleteButton)
        .ExpectMessageBox("Are you sure you want to delete this transaction ?", IDCANCEL, "Confirm Delete")
        .Run("kept", [] { return fixtures::ReadTransactions("ACC1").size() == 1 ? "" : "deleted"; })
        .Click(kDeleteButton)
        .ExpectMessageBox("Are you sure you want to delete this transaction ?", IDOK, "Confirm Delete")
        .ExpectClosed();
    EXPECT_EQ(Run(edit), IDOK);
    EXPECT_TRUE(fixtures::ReadTransactions("ACC1")[0].IsDeleted());
}

TEST_F(EntryDialogs, AnOfflineTradeRewriteChangesThePriceAloneAndDeleteBlanksTheSymbol) {
    const Bytes before = WriteOfflineTrade();
    Open(kOfflineSource, "OFFLINET.DAT", 2);
    EXPECT_EQ(tran_->index, 1);
    EXPECT_EQ(tran_->account, "ACC1    ");
    CTradesDlg dialog;
    dialog.SetOfflineMode(true);
    script_.ExpectDialog(kTradesDialogId)
        .ExpectText(kAccountStatic, "ACC1")
        .ExpectText(kSymbolBox, "IBM")
        .SetText(T::kPrice, "47.25")
        .Click(kPostButton)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
    const Bytes after = TempDataDir::ReadBytes("OFFLINET.DAT");
    const std::vector<std::size_t> changed = Differences(before, after);
    ASSERT_FALSE(changed.empty());
    for (std::size_t b : changed) EXPECT_TRUE(b >= 512 + 44 && b < 512 + 48) << "byte " << b;
    records::Record price(4);
    std::memcpy(price.data(), after.data() + 512 + 44, 4);
    EXPECT_EQ(price.R4(0), 47.25f);
    EXPECT_FALSE(TempDataDir::Exists("TRACC1.REC"));

    // Delete asks, then blanks the symbol: the list passes over the line.
    Open(kOfflineSource, "OFFLINET.DAT", 2);
    CTradesDlg remove;
    remove.SetOfflineMode(true);
    script_.ExpectDialog(kTradesDialogId)
        .Click(kDeleteButton)
        .ExpectMessageBox("Are you sure you want to delete this transaction ?", IDOK, "Confirm Delete")
        .ExpectClosed();
    EXPECT_EQ(Run(remove), IDOK);
    const Bytes deleted = TempDataDir::ReadBytes("OFFLINET.DAT");
    std::vector<std::size_t> symbol;
    for (std::size_t i = 512 + 8; i < 512 + 20; ++i)
        if (after[i] != ' ') symbol.push_back(i);
    EXPECT_EQ(Differences(after, deleted), symbol);
    EXPECT_EQ(std::string(deleted.begin() + 512 + 8, deleted.begin() + 512 + 20), std::string(12, ' '));
}

TEST_F(EntryDialogs, OfflineCashAndTransferRewritesWriteTheirOwnFields) {
    WriteOfflineTrade();
    Open(kOfflineSource, "OFFLINET.DAT", 2);
    CCashDlg cash;
    cash.SetOfflineMode(true);
    script_.ExpectDialog(kCashDialogId)
        .SetText(kSymbolBox, "A DESCRIPTION OF 20C")
        .SetText(kCodeBox, "DI - Dividend Income")
        .SetText(CCashDlg::kAmount, "1,250.50")
        .SetText(kTypeEdit, "X")
        .Click(kPostButton)
        .ExpectClosed();
    EXPECT_EQ(Run(cash), IDOK);
    Bytes bytes = TempDataDir::ReadBytes("OFFLINET.DAT");
    records::Record line(512);
    std::memcpy(line.data(), bytes.data() + 512, 512);
    records::OfflineTranRecord o = records::OfflineTranRecord::Decode(line);
    EXPECT_EQ(o.symbol, "A DESCRIPTIO");
    EXPECT_EQ(o.code, "DI  ");
    EXPECT_EQ(o.amount, 1250.5);
    EXPECT_EQ(o.entry_kind, "X   ");
    EXPECT_EQ(o.price, 45.5f);  // not the cash dialog's field

    Open(kOfflineSource, "OFFLINET.DAT", 2);
    CTransfersDlg transfer;
    transfer.SetOfflineMode(true);
    script_.ExpectDialog(kTransfersDialogId)
        .SetText(kSymbolBox, "IBM")
        .SetText(kCodeBox, "SI")
        .SetText(kDateEdit, "03/02/98")
        .SetText(CTransfersDlg::kShares, "200")
        .SetText(CTransfersDlg::kAmount, "9,000")
        .SetText(CTransfersDlg::kPurchaseDate, "01/05/90")
        .SetText(CTransfersDlg::kCost, "4000")
        .Click(kPostButton)
        .ExpectClosed();
    EXPECT_EQ(Run(transfer), IDOK);
    bytes = TempDataDir::ReadBytes("OFFLINET.DAT");
    std::memcpy(line.data(), bytes.data() + 512, 512);
    o = records::OfflineTranRecord::Decode(line);
    EXPECT_EQ(o.code, "SI  ");
    EXPECT_EQ(o.shares, 200.0);
    EXPECT_EQ(o.amount, 9000.0);
    EXPECT_EQ(o.second_date, "01/05/90");
    EXPECT_EQ(o.second_amount, 4000.0);
    EXPECT_EQ(o.address.substr(0, 4), std::string(line.Text(156, 4)));
}

TEST_F(EntryDialogs, ALineThatCannotBeReadIsNotWrittenOver) {
    WriteOfflineTrade();
    Open(kOfflineSource, "OFFLINET.DAT", 2);
    tran_->index = 5;  // a record past the end of the file
    const Bytes before = TempDataDir::ReadBytes("OFFLINET.DAT");
    CCashDlg cash;
    cash.SetOfflineMode(true);
    script_.ExpectDialog(kCashDialogId)
        .SetText(kDateEdit, "03/02/98")
        .SetText(CCashDlg::kAmount, "10")
        .Click(kPostButton)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("refused", Messages("[1.Could not write OFFLINET.DAT.]"))
        .Click(IDOK)
        .ExpectClosed()
        .Click(IDCANCEL)
        .ExpectClosed();
    EXPECT_EQ(Run(cash), IDCANCEL);
    EXPECT_EQ(TempDataDir::ReadBytes("OFFLINET.DAT"), before);
}

TEST_F(EntryDialogs, BlockAllocationsNeedADefinedBlock) {
    CTradesDlg none;
    none.SetBlockMode(true);
    script_.ExpectDialog(kTradesDialogId)
        .ExpectText(kPostButton, "Done")
        .ExpectVisible(kSymbolBox, false)
        .ExpectVisible(T::kBlockTotal, true)
        .Select(kAccountBox, 0)
        .SetText(kDateEdit, "03/02/98")
        .SetText(T::kShares, "100")
        .Click(kPostButton)
        .ExpectMessageBox("No Block to Allocate", IDOK)
        .Click(IDCANCEL)
        .ExpectClosed();
    EXPECT_EQ(Run(none), IDCANCEL);

    records::BlockDefinition block;
    block.marker = std::string(records::kBlockMarker);
    block.symbol = "IBM";
    block.code = "B";
    block.quantity = 1000;
    ASSERT_TRUE(records::WriteBlockDefinition(block));
    CTradesDlg allocate;
    allocate.SetBlockMode(true);
    script_.ExpectDialog(kTradesDialogId)
        .ExpectText(T::kBlockTotal, "1000.000000")
        .ExpectText(T::kBlockAllocated, "0.000000")
        .ExpectText(T::kBlockSymbol, "IBM")
        .ExpectText(T::kBlockCode, "B")
        .Select(kAccountBox, 1)
        .SetText(kDateEdit, "3/2/98")
        .SetText(T::kShares, "250")
        .SetText(T::kPrice, "45.5")
        .SetText(T::kSecFee, "0.5")
        .Click(kPostButton)
        .ExpectClosed();
    EXPECT_EQ(Run(allocate), IDOK);
    const Bytes bytes = TempDataDir::ReadBytes("TRADEBLK.DAT");
    ASSERT_EQ(bytes.size(), 1024u);
    records::Record view(140);
    std::memcpy(view.data(), bytes.data() + 512, 140);
    const records::BlockAllocation a = records::BlockAllocation::Decode(view);
    EXPECT_EQ(a.account, "ACC2    ");
    EXPECT_EQ(a.symbol, "IBM         ");
    EXPECT_EQ(a.code, "B   ");
    EXPECT_EQ(a.trade_date, "03/02/98");
    EXPECT_EQ(a.shares, 250.0);
    EXPECT_EQ(a.price, 45.5f);
    EXPECT_EQ(a.sec_fee, 0.5);
    EXPECT_EQ(bytes[0], 2);

    CTradesDlg shown;
    shown.SetBlockMode(true);
    script_.ExpectDialog(kTradesDialogId)
        .ExpectText(T::kBlockAllocated, "250.000000")
        .Click(IDCANCEL)
        .ExpectClosed();
    Run(shown);
}

TEST_F(EntryDialogs, TransfersShowTheHistoricalGroupForSIAndCheckTheirFields) {
    CTransfersDlg dialog;
    script_.ExpectDialog(kTransfersDialogId)
        .Run("SO first",
             [&] {
                 const Control box = dialog.GetDlgItem(kCodeBox);
                 return box.GetCount() == 2 && box.GetText(0) == "SO - Security Withdrawal" ? "" : "codes";
             })
        .Select(kCodeBox, 0)
        .ExpectVisible(CTransfersDlg::kPurchaseDate, false)
        .ExpectVisible(CTransfersDlg::kCost, false)
        .Select(kCodeBox, 1)
        .ExpectVisible(CTransfersDlg::kPurchaseDate, true)
        .SetText(kCodeBox, "SO")
        .ExpectVisible(CTransfersDlg::kHistoricalGroup, false)
        .SetText(kCodeBox, "SI - anything")
        .ExpectVisible(CTransfersDlg::kHistoricalGroup, true)
        .SetText(kDateEdit, "03/02/98")
        .SetText(CTransfersDlg::kPurchaseDate, "13/01/97")
        .SetText(CTransfersDlg::kAmount, "1x")
        .SetText(CTransfersDlg::kCost, "y")
        .SetText(CTransfersDlg::kShares, "z")
        .Click(kPostButton)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("four messages",
             Messages(
                 "[1.Illegal purchase date: 13/01/97][2.Illegal AMOUNT value: 1x][3.Illegal COST value: y]"
                 "[4.Illegal SHARES value: z]"))
        .Click(IDOK)
        .ExpectClosed()
        .Select(kAccountBox, 1)  // ACC1: reverse order
        .SetText(kSymbolBox, "IBM")
        .SetText(CTransfersDlg::kPurchaseDate, "")
        .SetText(CTransfersDlg::kAmount, "4,500")
        .SetText(CTransfersDlg::kCost, "4000")
        .SetText(CTransfersDlg::kShares, "100")
        .Click(kPostButton)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("posting messages", Messages("[1.Purchase Date:Invalid purchase date.]"))
        .Click(IDOK)
        .ExpectClosed()
        .SetText(CTransfersDlg::kTaxLot, "T1")
        .SetText(CTransfersDlg::kPurchaseDate, "01/05/90")
        .Click(kPostButton)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
    const std::vector<records::TransactionRecord> trs = fixtures::ReadTransactions("ACC1");
    ASSERT_EQ(trs.size(), 1u);
    EXPECT_EQ(trs[0].code, "SI  ");
    EXPECT_EQ(trs[0].lot_date, " 1/ 5/90");  // as the posting writes a date
    EXPECT_EQ(trs[0].lot_cost, 4000.0);

    Open(kAccountSource, "TRACC1.REC", 2, "ACC1");
    CTransfersDlg edit;
    script_.ExpectDialog(kTransfersDialogId)
        .ExpectVisible(CTransfersDlg::kHistoricalGroup, true)
        .ExpectText(CTransfersDlg::kCost, "4000.000000")
        .Click(IDCANCEL)
        .ExpectClosed();
    Run(edit);
}

}  // namespace
