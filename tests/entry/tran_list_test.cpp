// The transaction list window, in the program, over hand-built sources:
// the lines and scroll range by the number of transactions and by the
// lines the box holds (opened, resized, maximized and restored), each
// scroll request, moving key and the wheel, the selection following the
// lines and kept across a resize, the sort by
// security (an income transaction counted through its description), the
// off-line and block files with their heading, a double-click opening the
// trade, transfer or cash dialog and the list reloading after OK.

#include "entry/tran_list.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QWheelEvent>
#include <QPrinter>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/constants.h"
#include "platform/control.h"
#include "records/files.h"
#include "records/report_output.h"
#include "records/transaction_lines.h"
#include "shell/app.h"
#include "shell/colors.h"
#include "shell/main_frame.h"
#include "shell/report_globals.h"
#include "shell/tran_selection.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using entry::CTranList;
using fixtures::TempDataDir;

std::string Date(int n) {
    // Day n of 1998, as MM/DD/YY on days 1-28 of each month.
    char text[16];
    std::snprintf(text, sizeof text, "%2d/%2d/98", 1 + (n / 28) % 12, 1 + n % 28);
    return text;
}

// An account A1 holding IBM (security 2) with `count` buys of 1 to count
// shares, one a day, and a dividend of IBM at the end.
void WriteAccount(int count, bool dividend = false) {
    fixtures::WriteAccounts({{.id = "A1", .name = "FIRST ACCOUNT", .opened = "01/01/90"}});
    fixtures::WriteSecurities({{.symbol = "CASH", .type = "1"},
                               {.symbol = "IBM", .description1 = "INTL BUSINESS MACHINES", .type = "H"},
                               {.symbol = "GE", .description1 = "GENERAL ELECTRIC", .type = "H"}});
    std::vector<records::TransactionRecord> trs;
    for (int k = 1; k <= count; ++k) {
        records::TransactionRecord t = fixtures::Transaction(
            "B", k % 5 == 0 ? "GE" : "IBM", std::to_string(k), Date(k), k, 10.0 * k, 0, k % 5 == 0 ? 3 : 2);
        t.price = 10.0f;
        trs.push_back(t);
    }
    if (dividend) {
        records::TransactionRecord t =
            fixtures::Transaction("DI", "CASH", "", Date(count + 1), 0, 12.5, 0, 1);
        t.SetCashText("IBM");
        trs.push_back(t);
    }
    fixtures::WriteTransactions("A1", trs);
}

class TranListTest : public ::testing::Test {
protected:
    void Start() {
        run_ = std::make_unique<tools::ProgramRun>(
            dir_.path(), tools::ProgramRun::Options{.today = tools::LocalDate(1998, 12, 31)});
        ASSERT_TRUE(run_->Started());
    }
    void TearDown() override {
        if (run_)
            for (const std::string& f : run_->Failures()) ADD_FAILURE() << f;
    }
    // Opens the list through the Transaction Editor, by date from 01/01/98
    // or by the security given.
    bool Open(const std::string& security = "", const std::string& message = "") {
        std::string script = "menu \"Transactions/Transaction Editor\"\ndialog 122\n  select 1148 \"A1\"\n";
        if (security.empty())
            script += "  set 1149 \"01/01/98\"\n";
        else
            script += "  click 1152\n  select 1150 \"" + security + "\"\n";
        script += "  click 1000\nclosed\n";
        if (!message.empty()) script += "message \"" + message + "\" \"Transaction Menu Diagnostic\" ok\n";
        return run_->RunScript(script);
    }
    CTranList* List() {
        platform::ChildFrame* child = run_->Frame()->MDIGetActive();
        return child ? dynamic_cast<CTranList*>(child->GetView()) : nullptr;
    }
    std::vector<std::string> Shown() {
        std::vector<std::string> lines;
        platform::Control list = List()->GetDlgItem(CTranList::kList);
        for (int i = 0; i < list.GetCount(); ++i) lines.push_back(list.GetText(i));
        return lines;
    }
    std::pair<int, int> Range() {
        int low = 0, high = 0;
        List()->GetDlgItem(CTranList::kScroll).GetScrollRange(low, high);
        return {low, high};
    }
    int Selection() { return List()->GetDlgItem(CTranList::kList).GetCurSel(); }
    QListWidget* ListWidget() {
        return qobject_cast<QListWidget*>(List()->GetDlgItem(CTranList::kList).Widget());
    }
    // Sizes the window so that its box holds `rows` lines of the list: the
    // box takes the height the window gains or loses. The box may then be
    // lower than its table's height, as a smaller font or screen leaves it.
    void BoxHolds(int rows) {
        QListWidget* list = ListWidget();
        list->setMinimumHeight(0);
        QWidget* frame = List()->GetParentFrame()->GetWidget();
        ASSERT_GT(list->count(), 0);
        const int wanted = rows * list->sizeHintForRow(0) + 2 * list->frameWidth();
        const int height = frame->height() + wanted - list->height();
        frame->setFixedSize(frame->width(), height);
        ASSERT_EQ(list->height(), wanted) << "the box does not follow the window";
    }
    // The lines shown fill the box: each shows whole, one more would not
    // fit unless the list has ended, and the box needs no scroll bar of
    // its own.
    void ExpectFillsTheBox() {
        QListWidget* list = ListWidget();
        const int room = list->viewport()->height();
        const int shown = list->count();
        ASSERT_GT(shown, 0);
        EXPECT_EQ(list->verticalScrollBar()->maximum(), 0);
        EXPECT_LE(list->visualItemRect(list->item(shown - 1)).bottom(), room - 1);
        if (List()->ScrollPosition() + shown - 1 < List()->ListedCount() || List()->ScrollPosition() > 1) {
            EXPECT_GT(list->visualItemRect(list->item(shown - 1)).bottom() + list->sizeHintForRow(0),
                      room - 1)
                << "room for another line";
        }
    }
    void Scroll(int code, int position = 0) {
        EXPECT_EQ(List()->UserScroll(CTranList::kScroll, code, position), "");
    }

    TempDataDir dir_;
    std::unique_ptr<tools::ProgramRun> run_;
};

TEST_F(TranListTest, LinesAndScrollRangeBySize) {
    struct Case {
        int count;
        int shown;
        int high;
    };
    // A box of fourteen lines.
    for (const Case c : {Case{0, 0, 1}, Case{14, 14, 1}, Case{15, 14, 2}, Case{40, 14, 27}}) {
        SCOPED_TRACE(c.count);
        run_.reset();
        WriteAccount(c.count);
        Start();
        ASSERT_TRUE(Open("", c.count == 0 ? "Error no transactions found." : ""));
        ASSERT_NE(List(), nullptr);
        if (c.count > 0) BoxHolds(14);
        EXPECT_EQ(List()->ListedCount(), c.count);
        EXPECT_EQ(static_cast<int>(Shown().size()), c.shown);
        EXPECT_EQ(Range(), std::make_pair(1, c.high));
        EXPECT_EQ(List()->GetDlgItemText(CTranList::kSelectionLine),
                  "Account=A1  Sort option: date 01/01/98");
        if (c.count > 0) {
            EXPECT_EQ(Shown()[0].substr(0, 20), " IBM         B    1 ");
        }
    }
}

// The box shows as many lines as it holds, whatever its height: fewer
// than fourteen, fourteen, many more. The scroll bar's range ends where
// the last transaction stands on the last line, its page is the lines
// shown, and the shown lines fill the box without a scroll bar of its own.
TEST_F(TranListTest, TheBoxShowsAsManyLinesAsItHolds) {
    WriteAccount(60);
    Start();
    ASSERT_TRUE(Open());
    ASSERT_NE(List(), nullptr);
    for (const int rows : {5, 13, 14, 15, 45}) {
        SCOPED_TRACE(rows);
        BoxHolds(rows);
        EXPECT_EQ(List()->PageLines(), rows);
        EXPECT_EQ(static_cast<int>(Shown().size()), rows);
        EXPECT_EQ(Range(), std::make_pair(1, 60 - rows + 1));
        EXPECT_EQ(List()->GetDlgItem(CTranList::kScroll).GetScrollPage(), rows);
        ExpectFillsTheBox();
    }
}

// Growing the box at the end of the list brings earlier lines into view:
// the last transaction stays on the last line, with no blank line below
// it while any transaction lies above the view. A list shorter than the
// box shows every line.
TEST_F(TranListTest, AGrowingBoxAtTheEndOfTheListLeavesNoBlankLines) {
    WriteAccount(40);
    Start();
    ASSERT_TRUE(Open());
    BoxHolds(10);
    Scroll(platform::SB_BOTTOM);
    EXPECT_EQ(List()->ScrollPosition(), 31);
    BoxHolds(25);
    EXPECT_EQ(List()->ScrollPosition(), 16);
    EXPECT_EQ(Shown().back(), List()->AllLines().back());
    EXPECT_EQ(static_cast<int>(Shown().size()), 25);
    BoxHolds(50);
    EXPECT_EQ(List()->ScrollPosition(), 1);
    EXPECT_EQ(Shown(), List()->AllLines());
    EXPECT_EQ(Range(), std::make_pair(1, 1));
}

// A resize keeps the selected transaction selected and in view, whether
// the box grows or shrinks past it.
TEST_F(TranListTest, AResizeKeepsTheSelectedTransactionInView) {
    WriteAccount(60);
    Start();
    ASSERT_TRUE(Open());
    const std::vector<std::string> all = List()->AllLines();
    BoxHolds(14);
    Scroll(platform::SB_THUMBPOSITION, 20);
    EXPECT_EQ(List()->UserSelect(CTranList::kList, 12), "");
    const std::string selected = all[20 - 1 + 12];
    for (const int rows : {30, 5, 3, 45, 14}) {
        SCOPED_TRACE(rows);
        BoxHolds(rows);
        ASSERT_GE(Selection(), 0);
        EXPECT_LT(Selection(), rows);
        EXPECT_EQ(List()->GetDlgItem(CTranList::kList).GetText(Selection()), selected);
        ExpectFillsTheBox();
    }
    // Double-click still opens the selected transaction's dialog: a buy.
    ASSERT_TRUE(run_->RunScript("child active dblclick 1040 " + std::to_string(Selection()) +
                                "\ndialog 125\n  click 2\nclosed\n"));
}

// Maximized the box holds more lines, and shows them; restored it shows
// what it holds at its own size again.
TEST_F(TranListTest, MaximizedAndRestoredTheBoxIsFilled) {
    WriteAccount(120);
    Start();
    ASSERT_TRUE(Open());
    const int own = List()->PageLines();
    ExpectFillsTheBox();
    QWidget* frame = List()->GetParentFrame()->GetWidget();
    frame->showMaximized();
    EXPECT_GT(List()->PageLines(), own);
    EXPECT_EQ(static_cast<int>(Shown().size()), List()->PageLines());
    ExpectFillsTheBox();
    frame->showNormal();
    EXPECT_EQ(List()->PageLines(), own);
    ExpectFillsTheBox();
    // Minimized and restored, the view stands where it stood.
    Scroll(platform::SB_THUMBPOSITION, 50);
    EXPECT_EQ(List()->UserSelect(CTranList::kList, 3), "");
    frame->showMinimized();
    frame->showNormal();
    EXPECT_EQ(List()->PageLines(), own);
    EXPECT_EQ(List()->ScrollPosition(), 50);
    EXPECT_EQ(Selection(), 3);
}

// The moving keys: the arrows move the selection and, past the view's
// edge, the view a line; the paging keys move both by the lines shown;
// Home and End go to the list's ends. The wheel moves the view as the
// scroll bar's arrows do. Walking down to the end brings the last
// transaction onto the last line.
TEST_F(TranListTest, KeysAndTheWheelStepAndPageByTheLinesShown) {
    WriteAccount(60);
    Start();
    ASSERT_TRUE(Open());
    const std::vector<std::string> all = List()->AllLines();
    BoxHolds(10);
    ASSERT_EQ(List()->UserFocus(CTranList::kList), "");
    auto selected = [&] { return List()->GetDlgItem(CTranList::kList).GetText(Selection()); };
    auto press = [&](platform::Key key) { EXPECT_EQ(List()->UserKey(key), ""); };
    for (int i = 0; i < 9; ++i) press(platform::Key::Down);
    EXPECT_EQ(List()->ScrollPosition(), 1);
    EXPECT_EQ(Selection(), 9);
    press(platform::Key::Down);  // past the last line shown
    EXPECT_EQ(List()->ScrollPosition(), 2);
    EXPECT_EQ(Selection(), 9);
    EXPECT_EQ(selected(), all[10]);
    press(platform::Key::PageDown);
    EXPECT_EQ(List()->ScrollPosition(), 12);
    EXPECT_EQ(selected(), all[20]);
    press(platform::Key::PageUp);
    EXPECT_EQ(List()->ScrollPosition(), 2);
    EXPECT_EQ(selected(), all[10]);
    press(platform::Key::Up);  // within the view
    EXPECT_EQ(List()->ScrollPosition(), 2);
    EXPECT_EQ(selected(), all[9]);
    for (int i = 0; i < 9; ++i) press(platform::Key::Up);
    EXPECT_EQ(List()->ScrollPosition(), 1);
    EXPECT_EQ(selected(), all[0]);
    press(platform::Key::Up);  // at the top: nothing moves
    EXPECT_EQ(List()->ScrollPosition(), 1);
    EXPECT_EQ(selected(), all[0]);

    // Down to the end, one line at a time.
    for (int i = 0; i < 70; ++i) press(platform::Key::Down);
    EXPECT_EQ(List()->ScrollPosition(), 51);
    EXPECT_EQ(List()->GetDlgItem(CTranList::kScroll).GetScrollPos(), 51);
    EXPECT_EQ(Shown().back(), all.back());
    EXPECT_EQ(static_cast<int>(Shown().size()), 10);
    EXPECT_EQ(selected(), all.back());
    press(platform::Key::PageDown);  // at the end: nothing moves
    EXPECT_EQ(List()->ScrollPosition(), 51);
    EXPECT_EQ(selected(), all.back());
    press(platform::Key::Home);
    EXPECT_EQ(List()->ScrollPosition(), 1);
    EXPECT_EQ(selected(), all.front());
    press(platform::Key::End);
    EXPECT_EQ(List()->ScrollPosition(), 51);
    EXPECT_EQ(selected(), all.back());
    press(platform::Key::Home);

    // A notch of the wheel over the lines moves the view by the desktop's
    // lines a notch.
    QWidget* viewport = ListWidget()->viewport();
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &wheel);
    EXPECT_EQ(List()->ScrollPosition(), 1 + QApplication::wheelScrollLines());
    ExpectFillsTheBox();
}

// The lines are laid out in columns under the heading: both are in the
// reports' fixed-pitch face, and the window shows the lines whole.
TEST_F(TranListTest, ColumnsLineUpWithTheHeading) {
    WriteAccount(3);
    Start();
    ASSERT_TRUE(Open());
    ASSERT_NE(List(), nullptr);
    auto* list = qobject_cast<QListWidget*>(List()->GetDlgItem(CTranList::kList).Widget());
    QWidget* heading = List()->GetDlgItem(CTranList::kHeading).Widget();
    ASSERT_TRUE(list && heading);
    EXPECT_TRUE(QFontInfo(list->font()).fixedPitch()) << QFontInfo(list->font()).family().toStdString();
    EXPECT_EQ(QFontInfo(heading->font()).family(), QFontInfo(list->font()).family());
    const QFontMetrics metrics(list->font());
    EXPECT_EQ(metrics.horizontalAdvance("WWWWWWWWWW"), metrics.horizontalAdvance(".........."));
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(list->item(i)->text()));
    List()->GetParentFrame()->GetWidget()->grab();
    EXPECT_GE(list->viewport()->width(), widest);
}

TEST_F(TranListTest, TheListTakesTheProgramColoursOfItsForm) {
    WriteAccount(3);
    Start();
    shell::ColorList().push_back({"Transactions List Listbox", {platform::Rgb(10, 20, 30), 0, {}}});
    ASSERT_TRUE(Open());
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->GetWindowText(), "Transactions List");
    const QColor base = List()->GetDlgItem(CTranList::kList).Widget()->palette().color(QPalette::Base);
    EXPECT_EQ(base, QColor(10, 20, 30));
}

TEST_F(TranListTest, ScrollRequestsMoveTheLinesAndTheSelectionFollows) {
    WriteAccount(40);
    Start();
    ASSERT_TRUE(Open());
    const std::vector<std::string> all = List()->AllLines();
    ASSERT_EQ(all.size(), 40u);
    BoxHolds(14);
    auto shows_from = [&](int first) {
        const std::vector<std::string> shown = Shown();
        ASSERT_EQ(shown.size(), 14u);
        for (int i = 0; i < 14; ++i)
            EXPECT_EQ(shown[static_cast<std::size_t>(i)], all[static_cast<std::size_t>(first - 1 + i)]) << i;
        EXPECT_EQ(List()->ScrollPosition(), first);
        EXPECT_EQ(List()->GetDlgItem(CTranList::kScroll).GetScrollPos(), first);
    };
    EXPECT_EQ(List()->UserSelect(CTranList::kList, 5), "");
    Scroll(platform::SB_LINEDOWN);
    shows_from(2);
    EXPECT_EQ(Selection(), 4);  // the selected transaction moved up a line
    Scroll(platform::SB_LINEUP);
    shows_from(1);
    EXPECT_EQ(Selection(), 5);
    Scroll(platform::SB_LINEUP);  // at the top: nothing moves
    shows_from(1);
    Scroll(platform::SB_PAGEDOWN);
    shows_from(15);
    Scroll(platform::SB_THUMBPOSITION, 20);
    shows_from(20);
    Scroll(platform::SB_BOTTOM);
    shows_from(27);
    Scroll(platform::SB_LINEDOWN);  // clamped at the end
    shows_from(27);
    Scroll(platform::SB_PAGEDOWN);
    shows_from(27);
    Scroll(platform::SB_PAGEUP);
    shows_from(13);
    Scroll(platform::SB_TOP);
    shows_from(1);
}

TEST_F(TranListTest, SortBySecurityTakesAnIncomeThroughItsDescription) {
    WriteAccount(10, true);
    Start();
    ASSERT_TRUE(Open("IBM"));
    // Eight buys of IBM (every fifth is GE) and the dividend.
    EXPECT_EQ(List()->ListedCount(), 9);
    EXPECT_EQ(List()->GetDlgItemText(CTranList::kSelectionLine), "Account=A1  Sort option: security IBM");
    EXPECT_NE(Shown().back().find("DI"), std::string::npos);
}

void WriteLines(const char* file, const std::vector<std::pair<std::string, std::string>>& lines) {
    records::DirectFile f(file, records::kTransactionLineLength);
    records::Record header(records::kTransactionLineLength, 0);
    header.SetI16(0, static_cast<int16_t>(lines.size() + 1));
    if (std::string(file) == records::kBlockTradeFile) header.SetText(2, 4, "BLOK");
    f.Write(1, header);
    long n = 2;
    for (const auto& [account, code] : lines) {
        records::OfflineTranRecord r;
        r.account = records::Fixed(account, 8);
        r.symbol = records::Fixed("IBM", 12);
        r.tax_lot = records::Fixed("1", 4);
        r.trade_date = " 3/ 3/98";
        r.code = records::Fixed(code, 4);
        r.shares = 100;
        r.price = 50;
        r.amount = 5000;
        r.date_number = 980303;
        records::Record rec(records::kTransactionLineLength, ' ');
        r.Encode(rec);
        f.Write(n++, rec);
    }
}

TEST_F(TranListTest, OfflineAndBlockSourcesWithTheirHeadingAndButtons) {
    WriteAccount(3);
    WriteLines(records::kOfflineTransactionFile, {{"A1", "B"}, {"A1", "DI"}, {"A1", "SI"}});
    WriteLines(records::kBlockTradeFile, {{"A1", "B"}, {"A1", "B"}});
    Start();
    // Modules/Transaction Download/Edit Transactions.
    shell::g_report.EditDownloadedFlag = 1;
    run_->Frame()->OpenTemplateWindow(shell::kTranListTemplate);
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->Source(), 2);
    EXPECT_EQ(List()->ListedCount(), 3);
    EXPECT_EQ(List()->GetDlgItemText(CTranList::kSelectionLine), "");
    EXPECT_NE(List()->GetDlgItemText(CTranList::kHeading).find("AMOUNT  ACCOUNT"), std::string::npos);
    EXPECT_FALSE(List()->GetDlgItem(CTranList::kAddAllocation).IsWindowVisible());
    EXPECT_EQ(shell::g_report.EditDownloadedFlag, 0);
    // A cash code on an off-line line opens the cash dialog; Cancel keeps the list.
    ASSERT_TRUE(run_->RunScript("child active dblclick 1040 1\ndialog 145\n  click 2\nclosed\n"));
    ASSERT_TRUE(run_->RunScript("child active dblclick 1040 2\ndialog 144\n  click 2\nclosed\n"));
    ASSERT_TRUE(run_->RunScript("child active dblclick 1040 0\ndialog 125\n  click 2\nclosed\n"));

    // Block mode: the block file, "Add Allocation" shown.
    shell::g_report.EditBlockFlag = 1;
    run_->Frame()->OpenTemplateWindow(shell::kTranListTemplate);
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->Source(), 1);
    EXPECT_EQ(List()->ListedCount(), 2);
    EXPECT_TRUE(List()->GetDlgItem(CTranList::kAddAllocation).IsWindowVisible());
    EXPECT_TRUE(List()->GetDlgItem(CTranList::kAddAllocation).IsWindowEnabled());
    ASSERT_TRUE(run_->RunScript("child active click 1470\ndialog 125\n  click 2\nclosed\n"));
}

TEST_F(TranListTest, ADoubleClickedBuyChangedReloadsKeepingThePosition) {
    WriteAccount(20);
    Start();
    ASSERT_TRUE(Open());
    BoxHolds(14);
    Scroll(platform::SB_THUMBPOSITION, 4);
    const std::string before = Shown()[2];
    // Line 3 shown is the sixth buy: 6 shares; make them 60.
    ASSERT_TRUE(run_->RunScript(
        "child active dblclick 1040 2\ndialog 125\n  set 1125 \"60\"\n  click 1143\nclosed\n"))
        << before;
    EXPECT_EQ(List()->ScrollPosition(), 4);
    EXPECT_EQ(Selection(), 2);
    EXPECT_NE(Shown()[2], before);
    EXPECT_NE(Shown()[2].find("60"), std::string::npos);
}

// The list as a report: the page heading, the two column headings and all
// forty listed lines (not only the fourteen shown), a new page when one is
// full. Checked by hand against the heading strings of the window.
TEST(TranListReport, FortyLinesUnderTheirHeadingsPageAfterPage) {
    TempDataDir dir;
    WriteAccount(40);
    fixtures::WriteFirmHeading("ACME CAPITAL", 30, 0);
    shell::SetTranSelection(shell::kTranSortByDate, "", "01/01/98", "A1");
    entry::SetTranListPrintSource(0);
    entry::Tranlist(3, "LIST.TXT");
    fixtures::CompareWithGolden("entry/tran_list_forty.txt", fixtures::ReportText("LIST.TXT"));

    // An account without transactions says so under the headings.
    WriteAccount(0);
    entry::Tranlist(3, "EMPTY.TXT");
    const std::vector<std::string> lines = fixtures::ReportFileLines("EMPTY.TXT");
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("Error no transactions found."), std::string::npos);
    shell::SetTranSelection(shell::kTranSortByDate, "", "", "");
}

// File/Print of the window prints its own list through the runner's code
// 21, whatever report ran last: a PDF of the forty lines, and no work file
// left behind.
TEST_F(TranListTest, PrintingTheWindowPrintsItsList) {
    WriteAccount(40);
    Start();
    ASSERT_TRUE(Open());
    shell::g_report.ReportCode = 181;  // an earlier report
    QPrinter& printer = run_->App().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string pdf = (dir_.path() / "list.pdf").string();
    printer.setOutputFileName(QString::fromStdString(pdf));
    ASSERT_TRUE(run_->RunScript("command 57607\nprint ok\n"));
    ASSERT_TRUE(std::filesystem::exists(pdf));
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(bytes.find("/Type /Page"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("O000001.TMP"));
    // The run was the window's own: its saved selection, code 21.
    EXPECT_EQ(shell::g_report.ReportCode, entry::kTranListReportCode);
}

}  // namespace
