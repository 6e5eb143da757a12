// The account choice of the report dialogs as a person sees it: after All
// the Account radio group is no taller than the radios it holds (the lists
// it stood beside take no room), and after Select again the account list
// is where and as large as it first showed, without a scroll bar, in a
// dialog of the size it opened with. The transaction ledger's, the
// performance reports' and the account appraisal's dialogs refit alike.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QRect>
#include <QScrollBar>
#include <QWidget>
#include <functional>
#include <string>

#include "shell/ledger_dialog.h"
#include "shell/performance_dialog.h"
#include "shell/report_options_dialog.h"
#include "tests/fixtures/dialog_on_screen.h"
#include "tests/shell/report_dialog_fixture.h"

namespace {

using namespace platform;
using namespace shell;
using namespace dialog_test;

struct FitCase {
    const char* name;
    int dialog_id;
    int code;
    int all_radio;
    int select_radio;
    int account_list;
    std::function<int()> run;  // builds the dialog and runs it modally
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

template <class Dlg>
int RunDialog() {
    Dlg dialog;
    return dialog.DoModal();
}

const FitCase kCases[] = {
    {"TransactionLedger", kLedgerDialogId, 81, CTransactionLedgerDlg::kAllRadio,
     CTransactionLedgerDlg::kSelectRadio, CTransactionLedgerDlg::kAccountList,
     RunDialog<CTransactionLedgerDlg>},
    {"PerformanceReports", kPerformanceDialogId, 121, CPerformanceReportsDlg::kAllRadio,
     CPerformanceReportsDlg::kSelectRadio, CPerformanceReportsDlg::kAccountList,
     RunDialog<CPerformanceReportsDlg>},
    {"AccountAppraisal", kReportOptionsDialogId, 103, CReportOptionsDlg::kAllRadio,
     CReportOptionsDlg::kSelectRadio, CReportOptionsDlg::kAccountList, RunDialog<CReportOptionsDlg>},
};

// Where a control lies in its dialog, and how large it is.
QRect PlaceInDialog(const QWidget* control, const QWidget* dialog) {
    return {control->mapTo(dialog, QPoint(0, 0)), control->size()};
}

std::string Describe(const QRect& r) {
    return std::to_string(r.width()) + "x" + std::to_string(r.height()) + " at " + std::to_string(r.x()) +
           "," + std::to_string(r.y());
}

class AccountChoiceFit : public ReportDialogTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(AccountChoiceFit, AllLeavesNoTallRadioGroupAndSelectBringsTheListBackAsFirstShown) {
    const FitCase& c = GetParam();
    g_report.ReportCode = c.code;
    QSize opened;
    QRect list_opened;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(c.dialog_id)
        .Run("the dialog as it opens",
             [&]() -> std::string {
                 QWidget* w = fixtures::DialogOnScreen(c.dialog_id);
                 QWidget* accounts = Dialog::FindOpen(c.dialog_id)->GetDlgItem(c.account_list).Widget();
                 if (!w || !accounts || !accounts->isVisible()) return "the account list does not show";
                 opened = w->size();
                 list_opened = PlaceInDialog(accounts, w);
                 return "";
             })
        .Click(c.all_radio)
        .Run("after All",
             [&]() -> std::string {
                 QWidget* w = fixtures::DialogOnScreen(c.dialog_id);
                 // The inside of the Account group box: the radios' holder,
                 // which is as tall as the frame.
                 const QWidget* radios =
                     Dialog::FindOpen(c.dialog_id)->GetDlgItem(c.all_radio).Widget()->parentWidget();
                 const int holds = radios->sizeHint().height();
                 const int slack = QFontMetrics(w->font()).height() / 2;
                 if (radios->height() > holds + slack)
                     return "the Account group is " + std::to_string(radios->height()) + " px tall around " +
                            std::to_string(holds) + " px of radios";
                 return "";
             })
        .Click(c.select_radio)
        .Run("after Select",
             [&]() -> std::string {
                 QWidget* w = fixtures::DialogOnScreen(c.dialog_id);
                 const auto* accounts = qobject_cast<const QAbstractScrollArea*>(
                     Dialog::FindOpen(c.dialog_id)->GetDlgItem(c.account_list).Widget());
                 if (!accounts || !accounts->isVisible()) return "the account list does not show";
                 std::string out;
                 if (w->size() != opened)
                     out += "the dialog is " + std::to_string(w->width()) + "x" +
                            std::to_string(w->height()) + ", it opened " + std::to_string(opened.width()) +
                            "x" + std::to_string(opened.height()) + "; ";
                 if (const QRect now = PlaceInDialog(accounts, w); now != list_opened)
                     out +=
                         "the account list is " + Describe(now) + ", first " + Describe(list_opened) + "; ";
                 if (accounts->horizontalScrollBar()->isVisible() ||
                     accounts->verticalScrollBar()->isVisible())
                     out += "the account list shows a scroll bar; ";
                 return out;
             })
        .Click(IDCANCEL)
        .ExpectClosed();
    EXPECT_EQ(c.run(), IDCANCEL);
    ExpectNoFailures(script);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, AccountChoiceFit, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
