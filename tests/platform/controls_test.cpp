// Control operations by id on a modeless dialog: list and combo lines and
// selections, edits, check boxes and radios, scroll bars and up-down
// controls, and which changes notify.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QThread>
#include <functional>
#include <map>
#include <set>

#include "platform/dialog.h"
#include "platform/dialog_keys.h"

namespace {

using namespace platform;

enum : int {
    kList = 10,
    kSortedList = 11,
    kMultiList = 12,
    kDropList = 13,
    kEditCombo = 14,
    kEdit = 20,
    kMultiEdit = 21,
    kCheck = 30,
    kRadioA = 31,
    kRadioB = 32,
    kRadioC = 33,
    kBar = 40,
    kSpin = 41,
};

const DialogTemplate kTable{
    900, "Controls",
    Column({
        Row({ListBox(kList), ListBox(kSortedList, kSorted), ListBox(kMultiList, kMultiSelect)}),
        Row({ComboBox(kDropList, kDropDownList), ComboBox(kEditCombo)}),
        Row({Edit(kEdit), Edit(kMultiEdit, kMultiLine)}),
        Row({CheckBox(kCheck, "Check"), Radio(kRadioA, "A"), Radio(kRadioB, "B"),
             Radio(kRadioC, "C", kGroupStart)}),
        Row({ScrollBar(kBar), UpDown(kSpin)}),
    })};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        for (int id : {kList, kSortedList, kMultiList, kDropList, kEditCombo, kEdit, kBar})
            dialog.Bind(id, Notify::SelChange, [this, id] { selchanges.push_back(id); });
        dialog.Bind(kEdit, Notify::Changed, [this] { ++edit_changes; });
        dialog.Bind(kEditCombo, Notify::Changed, [this] { ++combo_changes; });
        dialog.Bind(kBar, Notify::Scroll,
                    [this](const Notification& n) { scrolls.push_back(n.scroll_code); });
        dialog.Bind(kSpin, Notify::DeltaPos, [this](const Notification& n) { deltas.push_back(n.delta); });
    }
    void TearDown() override { dialog.DestroyWindow(); }

    Control Item(int id) { return dialog.GetDlgItem(id); }

    Dialog dialog{kTable};
    std::vector<int> selchanges;
    int edit_changes = 0;
    int combo_changes = 0;
    std::vector<int> scrolls;
    std::vector<int> deltas;
};

TEST_F(ControlsTest, ListLinesAddInsertDeleteFind) {
    Control list = Item(kList);
    EXPECT_EQ(list.AddString("beta"), 0);
    EXPECT_EQ(list.AddString("alpha"), 1);  // unsorted: at the end
    EXPECT_EQ(list.InsertString(0, "gamma"), 0);
    EXPECT_EQ(list.InsertString(-1, "Alphabet"), 3);
    EXPECT_EQ(list.InsertString(9, "x"), LB_ERR);
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetText(1), "beta");
    EXPECT_EQ(list.GetText(7), "");

    struct Find {
        int start;
        const char* text;
        int prefix;  // FindString
        int exact;   // FindStringExact
    };
    const Find rows[] = {
        {-1, "alpha", 2, 2},    {-1, "ALPHA", 2, 2},  // case is ignored
        {2, "alpha", 3, 2},                           // after line 2, wrapping around
        {-1, "alp", 2, LB_ERR}, {-1, "delta", LB_ERR, LB_ERR}, {3, "gam", 0, LB_ERR},
    };
    for (const Find& r : rows) {
        EXPECT_EQ(list.FindString(r.start, r.text), r.prefix) << r.text << " from " << r.start;
        EXPECT_EQ(list.FindStringExact(r.start, r.text), r.exact) << r.text << " from " << r.start;
    }

    EXPECT_EQ(list.DeleteString(0), 3);
    EXPECT_EQ(list.DeleteString(5), LB_ERR);
    EXPECT_EQ(list.GetText(0), "beta");
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.FindString(-1, ""), LB_ERR);
    EXPECT_TRUE(selchanges.empty());
}

TEST_F(ControlsTest, SortedListKeepsOrderIgnoringCase) {
    Control list = Item(kSortedList);
    for (const char* s : {"Mango", "apple", "Banana", "cherry", "APPLE"}) list.AddString(s);
    std::vector<std::string> lines;
    for (int i = 0; i < list.GetCount(); ++i) lines.push_back(list.GetText(i));
    EXPECT_EQ(lines, (std::vector<std::string>{"apple", "APPLE", "Banana", "cherry", "Mango"}));
}

TEST_F(ControlsTest, SelectionInCodeDoesNotNotify) {
    Control list = Item(kList);
    for (const char* s : {"a", "b", "c"}) list.AddString(s);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.SetCurSel(2), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.SelectString(-1, "B"), 1);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.SetCurSel(-1), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_TRUE(selchanges.empty());
    // A user's selection notifies once.
    EXPECT_EQ(dialog.UserSelect(kList, 0), "");
    EXPECT_EQ(selchanges, std::vector<int>{kList});
}

TEST_F(ControlsTest, MultipleSelectionList) {
    Control list = Item(kMultiList);
    for (const char* s : {"a", "b", "c", "d"}) list.AddString(s);
    EXPECT_EQ(list.GetSelCount(), 0);
    list.SetItemSelected(1, true);
    list.SetItemSelected(3, true);
    EXPECT_EQ(list.GetSelItems(), (std::vector<int>{1, 3}));
    EXPECT_TRUE(list.IsItemSelected(3));
    list.SetItemSelected(-1, true);
    EXPECT_EQ(list.GetSelCount(), 4);
    list.SetItemSelected(-1, false);
    EXPECT_EQ(list.GetSelCount(), 0);
    // A click toggles one line.
    EXPECT_EQ(dialog.UserSelect(kMultiList, 2), "");
    EXPECT_EQ(dialog.UserSelect(kMultiList, 0), "");
    EXPECT_EQ(list.GetSelItems(), (std::vector<int>{0, 2}));
    EXPECT_EQ(dialog.UserSelect(kMultiList, 2), "");
    EXPECT_EQ(list.GetSelItems(), std::vector<int>{0});
    EXPECT_EQ(Item(kList).GetSelCount(), LB_ERR);  // a single-selection list has no count
}

TEST_F(ControlsTest, ComboBoxes) {
    Control drop = Item(kDropList);
    for (const char* s : {"????", "AB12"}) drop.AddString(s);
    EXPECT_EQ(drop.GetCurSel(), CB_ERR);  // adding selects nothing
    EXPECT_EQ(drop.GetWindowText(), "");
    drop.SetCurSel(1);
    EXPECT_EQ(drop.GetWindowText(), "AB12");
    drop.SetWindowText("zz");  // a drop-down list has no edit part
    EXPECT_EQ(drop.GetWindowText(), "AB12");
    EXPECT_EQ(drop.DeleteString(1), 1);
    EXPECT_EQ(drop.GetCurSel(), CB_ERR);  // the selected line is gone

    Control combo = Item(kEditCombo);
    for (const char* s : {"one", "two"}) combo.AddString(s);
    combo.SetWindowText("typed");
    EXPECT_EQ(combo.GetWindowText(), "typed");
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.SetCurSel(0);
    EXPECT_EQ(combo.GetWindowText(), "one");
    EXPECT_EQ(combo_changes, 0);  // set in code
    EXPECT_EQ(dialog.UserSetText(kEditCombo, "on"), "");
    EXPECT_EQ(combo_changes, 1);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);  // typing leaves no line selected
    EXPECT_EQ(dialog.UserSelectText(kEditCombo, "TWO"), "");
    EXPECT_EQ(combo.GetWindowText(), "two");
    combo.LimitText(3);
    EXPECT_EQ(dialog.UserType(kEditCombo, "xyz"), "");
    EXPECT_EQ(combo.GetWindowText().size(), 3u);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetWindowText(), "");
    EXPECT_EQ(selchanges, std::vector<int>{kEditCombo});
}

TEST_F(ControlsTest, EditTextLimitAndSelection) {
    Control edit = Item(kEdit);
    edit.SetWindowText("12/31/98");
    EXPECT_EQ(edit_changes, 1);  // a text set in code notifies
    struct Sel {
        int start, end;
        int got_start, got_end;
    };
    for (const Sel& s : {Sel{0, -1, 0, 8}, Sel{2, 5, 2, 5}, Sel{3, 3, 3, 3}, Sel{4, 99, 4, 8}}) {
        edit.SetSel(s.start, s.end);
        int a = -9, b = -9;
        edit.GetSel(a, b);
        EXPECT_EQ(a, s.got_start) << s.start << "," << s.end;
        EXPECT_EQ(b, s.got_end) << s.start << "," << s.end;
    }
    // Typing replaces the selection at the caret.
    edit.SetSel(0, 2);
    EXPECT_EQ(dialog.UserType(kEdit, "01"), "");
    EXPECT_EQ(edit.GetWindowText(), "01/31/98");
    edit.LimitText(4);
    edit.SetWindowText("");
    EXPECT_EQ(dialog.UserType(kEdit, "123456"), "");
    EXPECT_EQ(edit.GetWindowText(), "1234");

    Control multi = Item(kMultiEdit);
    multi.SetWindowText("first\r\nsecond");
    EXPECT_EQ(multi.GetWindowText(), "first\r\nsecond");
}

TEST_F(ControlsTest, TextIsOneBytePerCharacter) {
    const std::string bytes =
        "Caf\xe9 \xa3"
        "5";  // Latin-1 bytes survive the widget
    Item(kEdit).SetWindowText(bytes);
    EXPECT_EQ(Item(kEdit).GetWindowText(), bytes);
}

TEST_F(ControlsTest, ChecksAndRadioGroups) {
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCheck), 0);
    dialog.CheckDlgButton(kCheck, 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCheck), 1);
    // Radios set in code are independent; a user's click keeps its group.
    dialog.CheckDlgButton(kRadioA, 1);
    dialog.CheckDlgButton(kRadioB, 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kRadioA), 1);
    EXPECT_EQ(dialog.UserClick(kRadioB), "");
    EXPECT_EQ(dialog.IsDlgButtonChecked(kRadioA), 0);
    dialog.CheckDlgButton(kRadioC, 1);
    EXPECT_EQ(dialog.UserClick(kRadioA), "");
    EXPECT_EQ(dialog.IsDlgButtonChecked(kRadioB), 0);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kRadioC), 1);  // C starts a group of its own
    dialog.CheckRadioButton(kRadioA, kRadioC, kRadioB);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kRadioA), 0);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kRadioB), 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kRadioC), 0);
}

TEST_F(ControlsTest, ScrollBarAndUpDownOnlyAsk) {
    Control bar = Item(kBar);
    bar.SetScrollRange(1, 13);
    int lo = 0, hi = 0;
    bar.GetScrollRange(lo, hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 13);
    EXPECT_EQ(bar.SetScrollPos(5), 1);
    EXPECT_EQ(bar.SetScrollPos(40), 5);
    EXPECT_EQ(bar.GetScrollPos(), 13);  // kept within the range
    EXPECT_EQ(dialog.UserScroll(kBar, SB_PAGEUP), "");
    EXPECT_EQ(dialog.UserScroll(kBar, SB_LINEDOWN), "");
    EXPECT_EQ(scrolls, (std::vector<int>{SB_PAGEUP, SB_LINEDOWN}));
    EXPECT_EQ(bar.GetScrollPos(), 13);  // the handler decides where it goes

    EXPECT_EQ(dialog.UserSpin(kSpin, true), "");
    EXPECT_EQ(dialog.UserSpin(kSpin, false), "");
    EXPECT_EQ(deltas, (std::vector<int>{-1, 1}));
}

TEST_F(ControlsTest, NullControlIsHarmless) {
    Control none = dialog.GetDlgItem(12345);
    EXPECT_FALSE(none);
    none.SetWindowText("x");
    none.AddString("x");
    EXPECT_EQ(none.GetWindowText(), "");
    EXPECT_EQ(none.GetCurSel(), LB_ERR);
    Control kept = Item(kEdit);
    dialog.DestroyWindow();
    kept.SetWindowText("after");  // its window is gone
    EXPECT_EQ(kept.GetWindowText(), "");
    EXPECT_EQ(dialog.GetDlgItemText(kEdit), "");
}

}  // namespace

namespace {

using namespace platform;

// Zero bytes of a field never written show as blanks wherever text is only
// shown (list and combo lines, labels, captions), while the program reads
// back the bytes it put in and an edit keeps every byte.
TEST(ZeroBytes, ShowAsBlanksAndReadBackAsPutIn) {
    enum : int { kLines = 10, kCombo = 13, kLabel = 50, kField = 20 };
    Dialog dialog(
        {901, "Zeros",
         Column({ListBox(kLines), ComboBox(kCombo, kDropDownList), Static(kLabel, "label"), Edit(kField)})});
    ASSERT_TRUE(dialog.Create());
    const std::string bytes("EQ\0\0NAME", 8);
    const QString shown = QStringLiteral("EQ  NAME");

    Control list = dialog.GetDlgItem(kLines);
    list.AddString(bytes);
    EXPECT_EQ(qobject_cast<QListWidget*>(list.Widget())->item(0)->text(), shown);
    EXPECT_EQ(list.GetText(0), bytes);
    EXPECT_EQ(list.FindStringExact(-1, bytes), 0);

    Control combo = dialog.GetDlgItem(kCombo);
    combo.AddString("plain");
    combo.AddString(bytes);
    EXPECT_EQ(qobject_cast<QComboBox*>(combo.Widget())->itemText(1), shown);
    EXPECT_EQ(combo.GetText(1), bytes);
    EXPECT_EQ(combo.GetText(0), "plain");

    dialog.SetDlgItemText(kLabel, bytes);
    // Less the "&" of the key the label of a field has.
    EXPECT_EQ(qobject_cast<QLabel*>(dialog.GetDlgItem(kLabel).Widget())->text().remove(QLatin1Char('&')),
              shown);

    dialog.SetWindowText(bytes);
    EXPECT_EQ(dialog.GetWidget()->windowTitle(), shown);

    dialog.SetDlgItemText(kField, bytes);
    EXPECT_EQ(dialog.GetDlgItemText(kField), bytes);
    dialog.DestroyWindow();
}

}  // namespace

// How controls are sized for their texts: a combo box's table height is
// its dropped list's and the closed box is one line high; combo boxes are
// as wide as their longest line and lists cut nothing in the middle;
// fields are as wide as their table width in capitals and grow with a
// longer text, which shows from its start; lines laid out in columns are
// in the fixed-pitch face of the reports.
namespace sizing {

enum : int { kCombo = 10, kCodes = 11, kField = 20, kColumns = 30, kHeading = 31 };

const DialogTemplate kSized{
    901, "Sized",
    Column({
        Row({ComboBox(kCombo).Chars(8).Lines(8), ComboBox(kCodes, kDropDownList).Chars(6)}),
        Row({Edit(kField).Chars(8), Stretch()}),
        Static(kHeading, "Lot      Cost", kFixedPitch),
        ListBox(kColumns, kFixedPitch).Chars(20).Lines(4),
    })};

TEST(ControlSizes, FollowTheirTexts) {
    Dialog dialog{kSized};
    ASSERT_TRUE(dialog.Create());
    QWidget* window = dialog.GetWidget();

    auto* combo = qobject_cast<QComboBox*>(dialog.GetDlgItem(kCombo).Widget());
    ASSERT_NE(combo, nullptr);
    const int line = combo->fontMetrics().height();
    window->adjustSize();
    EXPECT_LT(combo->height(), 2 * line + 8) << "a closed combo box is one line high";
    EXPECT_EQ(combo->maxVisibleItems(), 7);
    EXPECT_NE(combo->view()->textElideMode(), Qt::ElideMiddle);

    // The longest line decides the width; "MF - Management Fee" is whole.
    Control codes = dialog.GetDlgItem(kCodes);
    for (const char* code : {"BY - Buy", "MF - Management Fee", "SL - Sell"}) codes.AddString(code);
    codes.SetCurSel(1);
    window->adjustSize();
    auto* codes_box = qobject_cast<QComboBox*>(codes.Widget());
    EXPECT_GE(codes_box->width(), codes_box->fontMetrics().horizontalAdvance("MF - Management Fee") + 20);

    // An edit of 8 characters holds 8 capitals; a longer text widens it and
    // shows from its first character.
    Control field = dialog.GetDlgItem(kField);
    auto* edit = qobject_cast<QLineEdit*>(field.Widget());
    ASSERT_NE(edit, nullptr);
    EXPECT_GE(edit->minimumWidth(), edit->fontMetrics().horizontalAdvance("WWWWWWWW") * 8 / 10);
    EXPECT_GE(edit->minimumWidth(), edit->fontMetrics().horizontalAdvance("HARBOR  "));
    const std::string text = "GROWTH ACCOUNTS OF MANAGER AB";
    field.SetWindowText(text);
    window->adjustSize();
    EXPECT_EQ(edit->cursorPosition(), 0);
    EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(QString::fromStdString(text)));
    EXPECT_EQ(field.GetWindowText(), text);
    // Combo box edits show their texts from the start too, unless the user
    // is typing in them.
    dialog.GetDlgItem(kColumns).SetFocus();
    dialog.GetDlgItem(kCombo).SetWindowText("CORWIN AND SONS TRUST");
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0);

    // Columns line up: the face is of fixed pitch.
    for (const int id : {kColumns, kHeading}) {
        const QFontInfo info(dialog.GetDlgItem(id).Widget()->font());
        EXPECT_TRUE(info.fixedPitch()) << id << " " << info.family().toStdString();
    }
    EXPECT_FALSE(QFontInfo(edit->font()).fixedPitch() && !QFontInfo(window->font()).fixedPitch());
    dialog.DestroyWindow();
}

}  // namespace sizing

// Keys of a dialog: a caption's own "&" keeps its letter; push buttons,
// check boxes, radios and the labels of fields get letters unique within
// the dialog, buttons first, the captions' words unchanged; Alt and the
// letter presses the button or moves to the field.
namespace keys {

enum : int {
    kDate = 10,
    kCombo = 11,
    kCheck = 20,
    kRadioA = 21,
    kRadioB = 22,
    kGenerate = 30,
    kGet = 31,
    kOff = 32
};

const DialogTemplate kKeys{
    902, "Keys",
    Column({Row({Label("Report Date"), Edit(kDate).Chars(8)}),
            Row({Label("Manager & Code"), ComboBox(kCombo)}),
            Row({CheckBox(kCheck, "Group Report"), Radio(kRadioA, "Display"), Radio(kRadioB, "Print")}),
            Row({Label("no field follows")}),
            Row({Button(kGenerate, "Generate Report", kDefault), Button(IDCANCEL, "Cancel"),
                 Button(kGet, "Get Data"), Button(kOff, "&Turn Off")})})};

TEST(DialogKeys, UniqueLettersWithoutChangingTheWords) {
    Dialog dialog{kKeys};
    ASSERT_TRUE(dialog.Create());
    QWidget* window = dialog.GetWidget();
    std::map<QString, std::string> owners;
    std::vector<QWidget*> keyed;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) keyed.push_back(b);
    for (QLabel* l : window->findChildren<QLabel*>()) keyed.push_back(l);
    int with_key = 0;
    for (QWidget* w : keyed) {
        const QString text = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                      : qobject_cast<QAbstractButton*>(w)->text();
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty()) continue;
        ++with_key;
        EXPECT_TRUE(owners.emplace(key.toString(), text.toStdString()).second)
            << text.toStdString() << " shares " << key.toString().toStdString() << " with "
            << owners[key.toString()];
    }
    // 4 buttons, the check box, 2 radios, the 2 labels of fields.
    EXPECT_EQ(with_key, 9);
    const auto key_of = [&](int id) {
        auto* b = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id).Widget());
        return QKeySequence::mnemonic(b->text()).toString().toStdString();
    };
    EXPECT_EQ(key_of(kGenerate), "Alt+G");
    EXPECT_EQ(key_of(kOff), "Alt+T");
    EXPECT_EQ(key_of(IDCANCEL), "Alt+C");
    // The program reads the captions as written.
    EXPECT_EQ(dialog.GetDlgItemText(kGenerate), "Generate Report");
    EXPECT_EQ(dialog.GetDlgItemText(kOff), "&Turn Off");
    dialog.SetDlgItemText(kGet, "Get Data Now");
    EXPECT_EQ(dialog.GetDlgItemText(kGet), "Get Data Now");
    EXPECT_EQ(key_of(kGet).size(), 5u) << "a new text keeps the letter";
    // A text without the letter gets another that no control has.
    dialog.SetDlgItemText(kOff, "Post");
    EXPECT_EQ(dialog.GetDlgItemText(kOff), "Post");
    EXPECT_FALSE(key_of(kOff).empty());
    std::set<std::string> button_keys;
    for (const int id :
         {int{kGenerate}, IDCANCEL, int{kGet}, int{kOff}, int{kCheck}, int{kRadioA}, int{kRadioB}})
        EXPECT_TRUE(button_keys.insert(key_of(id)).second) << id << " " << key_of(id);
    dialog.SetDlgItemText(kOff, "&Turn Off");
    // A label names the field after it; its "&" shows as written.
    QLabel* manager = nullptr;
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->buddy() == dialog.GetDlgItem(kCombo).Widget()) manager = l;
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(manager->text().contains("&&")) << manager->text().toStdString();

    // On screen Alt+G presses Generate Report, Alt and a label's letter
    // moves to its field; Enter and Escape are left to the dialog.
    int generated = 0;
    dialog.Bind(kGenerate, Notify::Clicked, [&generated] { ++generated; });
    dialog.ShowWindow(SW_SHOW);
    window->activateWindow();
    QApplication::setActiveWindow(window);
    dialog.GetDlgItem(kDate).SetFocus();
    QApplication::processEvents();
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QKeyEvent alt_g(QEvent::KeyPress, Qt::Key_G, Qt::AltModifier, "g");
    QApplication::sendEvent(focus, &alt_g);
    // The button shows itself pressed for a moment before it clicks.
    for (int i = 0; i < 100 && generated == 0; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    EXPECT_EQ(generated, 1);
    const QString combo_key = QKeySequence::mnemonic(manager->text()).toString();
    ASSERT_FALSE(combo_key.isEmpty());
    const QKeySequence sequence(combo_key);
    QKeyEvent to_combo(QEvent::KeyPress, sequence[0].key(), sequence[0].keyboardModifiers(),
                       QString(QChar(sequence[0].key()).toLower()));
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : window, &to_combo);
    QApplication::processEvents();
    EXPECT_EQ(dialog.GetFocusId(), kCombo);
    dialog.DestroyWindow();
}

// The check that walks a dialog's keys: own letters that clash (a label's
// letter among them) and a push button left without a letter are faults;
// letters the dialog chose are not, hidden controls included.
TEST(DialogKeys, ClashingOwnLettersAndPushButtonsWithoutAKeyAreFaults) {
    struct Case {
        const char* name;
        Node body;
        std::vector<std::string> faults;
        // What the program does to the dialog once it is built.
        std::function<void(Dialog&)> then = {};
    };
    const std::vector<Case> cases = {
        {"letters chosen by the dialog",
         Column({Row({Label("Report Date"), Edit(kDate)}), CheckBox(kCheck, "Print Report", kHidden),
                 Radio(kRadioA, "Report"), Button(kGenerate, "Report"), Button(IDCANCEL, "Cancel")}),
         {}},
        {"two own letters",
         Column({CheckBox(kCheck, "&Gross"), Radio(kRadioA, "&Group", kHidden), Button(kGenerate, "&Go")}),
         {"Alt+G is \"Gross\", \"Group\" and \"Go\""}},
        {"a button whose letters others own",
         Column({Button(kGenerate, "&Ok"), Button(kGet, "&Keep"), Button(kOff, "Ok")}),
         {"push button \"Ok\" has no key"}},
        // The label took R as the dialog was built; the check box's new
        // text brings an own R.
        {"a label's letter",
         Column({Row({Label("Report Date"), Edit(kDate)}), CheckBox(kCheck, "Print"),
                 Button(IDCANCEL, "Cancel")}),
         {"Alt+R is \"Report Date\" and \"Run\""},
         [](Dialog& dialog) { dialog.SetDlgItemText(kCheck, "&Run"); }},
    };
    for (const Case& c : cases) {
        Dialog dialog{{904, "Faults", c.body}};
        ASSERT_TRUE(dialog.Create()) << c.name;
        if (c.then) c.then(dialog);
        EXPECT_EQ(KeyFaults(dialog), c.faults) << c.name;
        dialog.DestroyWindow();
    }
}

// Where the letters run short, a push button the table shows takes a
// letter before one the program shows only in some modes ("Done" before
// "Add Allocation"), whatever their order.
TEST(DialogKeys, AButtonAlwaysShownChoosesBeforeOneShownInSomeModes) {
    Dialog dialog{
        {905, "Modes", Row({Button(kGet, "Go", kHidden), CheckBox(kCheck, "&Out"), Button(kOff, "Go")})}};
    ASSERT_TRUE(dialog.Create());
    const auto key_of = [&](int id) {
        auto* b = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id).Widget());
        return QKeySequence::mnemonic(b->text()).toString().toStdString();
    };
    EXPECT_EQ(key_of(kOff), "Alt+G");
    EXPECT_EQ(key_of(kGet), "");
    EXPECT_EQ(KeyFaults(dialog), std::vector<std::string>{"push button \"Go\" has no key"});
    dialog.DestroyWindow();
}

}  // namespace keys
