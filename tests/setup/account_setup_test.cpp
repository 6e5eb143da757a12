// Accounts, brokers and custodians through the program's own commands,
// driven by text scripts: the data dialog's messages and captions, new and
// deleted entries and what Done and Escape leave on disk; the account
// sheet's defaults, refusals and apply rules, and its size; broker
// information; copy account.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>
#include <QSize>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/property_sheet.h"
#include "platform/scripted_interaction.h"
#include "records/account_file.h"
#include "records/broker_list.h"
#include "records/files.h"
#include "setup/account_info_sheet.h"
#include "setup/broker_data_dialog.h"
#include "setup/broker_info_dialog.h"
#include "shell/message_list.h"
#include "tests/fixtures/dialog_on_screen.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"
#include "tests/tools/script_driver.h"

namespace {

using fixtures::TempDataDir;

// One scripted case: files written first, the script played on the program
// (started on 12/08/98), then checks on what it left.
struct Case {
    const char* name;
    std::string script;
    std::function<void()> check = {};
    std::function<void()> files = {};
};

bool Exists(const std::string& name) {
    return TempDataDir::Exists(records::ResolveName(name));
}

std::vector<std::string> AccountIds() {
    std::vector<std::string> ids;
    for (const auto& a : records::LoadAccountFile().accounts) ids.push_back(a->identifier);
    return ids;
}

std::unique_ptr<records::CAccountEntry> LoadedAccount(const std::string& id) {
    for (auto& a : records::LoadAccountFile().accounts)
        if (a->identifier == id) return std::move(a);
    return nullptr;
}

// Accounts A1 and A2 with the files that Delacf removes.
const char* const kAccountFiles[] = {"HL{}.REC", "HL{}.EXT", "HL{}.DAT", "TR{}.REC", "TR{}.EXT", "GL{}.REC"};
std::string FileOf(const char* pattern, const std::string& id) {
    std::string name = pattern;
    name.replace(name.find("{}"), 2, id);
    return name;
}
void TwoAccountsWithFiles() {
    fixtures::WriteAccounts({{.id = "A1", .name = "FIRST", .opened = "01/05/98"},
                             {.id = "A2", .name = "SECOND", .opened = "02/05/98"}});
    for (const std::string id : {"A1", "A2"})
        for (const char* pattern : kAccountFiles) TempDataDir::WriteBytes(FileOf(pattern, id), {'x'});
}

void Brokers(records::BrokerListKind kind, const std::vector<std::string>& ids) {
    std::vector<std::unique_ptr<records::CBrokerRecord>> list;
    for (const std::string& id : ids) {
        list.push_back(std::make_unique<records::CBrokerRecord>());
        list.back()->identifier = id;
        list.back()->short_name = id + " SHORT";
    }
    ASSERT_EQ(records::SaveBrokerList(kind, list), "");
}

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        if (c.files) c.files();
        {
            tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
            ASSERT_TRUE(run.Started());
            run.RunScript(c.script);
            // Checked while the program runs: closing it empties the
            // message list.
            if (c.check) c.check();
            run.Close();
            for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
        }
        shell::ClearMessageList();
    }
}

std::vector<std::string> Messages() {
    return shell::GetMessages();
}

TEST(AccountData, IdentifiersDeletesDoneAndEscape) {
    RunCases({
        {"an empty identifier",
         "menu \"Setup/Account\"\ndialog 106\nclick 1005\n"
         "message \"Add: ID cannot be empty.\" \"ID Error\" ok\nkey escape\nclosed\n"},
        {"a character Ckacid refuses",
         "menu \"Setup/Account\"\ndialog 106\nset 1003 \"AB.C\"\nclick 1005\n"
         "message \"New account ID contains invalid characters.\" \"ID Error\" ok\nkey escape\nclosed\n",
         [] { EXPECT_FALSE(Exists("ACCOUNT.IDX") && !AccountIds().empty()); }},
        {"lower case stored upper; Info on a new identifier adds it even when the sheet is cancelled",
         "menu \"Setup/Account\"\ndialog 106\nset 1003 \"acc9\"\nclick 1005\n"
         "dialog 127\nexpect-text 1300 \"Account Identifier:ACC9\"\nclick 2\nclosed\n"
         "expect-text 1003 \"ACC9\"\nclick 1008\nclosed\n",
         [] {
             EXPECT_EQ(AccountIds(), std::vector<std::string>{"ACC9"});
             EXPECT_TRUE(Exists("HLACC9.DAT"));
         }},
        {"the delete messages say Broker ID in account mode",
         "menu \"Setup/Account\"\ndialog 106\nclick 1006\n"
         "message \"Delete: Broker ID cannot be empty.\" \"Broker ID Error\" ok\n"
         "set 1003 \"NONE\"\nclick 1006\n"
         "message \"Delete: Broker ID does not exist.\" \"Broker ID Error\" ok\nkey escape\nclosed\n"},
        {"a cancelled delete keeps the account",
         "menu \"Setup/Account\"\ndialog 106\nselect 1004 \"A1\"\nexpect-text 1003 \"A1\"\nclick 1006\n"
         "message \"Are you sure you want to delete Account A1 ?\" \"Confirm Delete\" cancel\n"
         "click 1008\nclosed\n",
         [] {
             EXPECT_EQ(AccountIds(), (std::vector<std::string>{"A1", "A2"}));
             EXPECT_TRUE(Exists("TRA1.REC"));
         },
         TwoAccountsWithFiles},
        {"delete then Escape keeps every file and key",
         "menu \"Setup/Account\"\ndialog 106\nset 1003 \"A1\"\nclick 1006\n"
         "message \"Are you sure you want to delete Account A1 ?\" \"Confirm Delete\" ok\n"
         "expect-text 1003 \"\"\nkey escape\nclosed\n",
         [] {
             EXPECT_EQ(AccountIds(), (std::vector<std::string>{"A1", "A2"}));
             for (const char* pattern : kAccountFiles) EXPECT_TRUE(Exists(FileOf(pattern, "A1"))) << pattern;
         },
         TwoAccountsWithFiles},
        {"delete then Done removes the files and the key",
         "menu \"Setup/Account\"\ndialog 106\nset 1003 \"A1\"\nclick 1006\n"
         "message \"Are you sure you want to delete Account A1 ?\" \"Confirm Delete\" ok\nclick "
         "1008\nclosed\n",
         [] {
             EXPECT_EQ(AccountIds(), std::vector<std::string>{"A2"});
             for (const char* pattern : kAccountFiles) EXPECT_FALSE(Exists(FileOf(pattern, "A1"))) << pattern;
             EXPECT_TRUE(Exists("TRA2.REC"));
         },
         TwoAccountsWithFiles},
        {"an account deleted and added again starts afresh",
         "menu \"Setup/Account\"\ndialog 106\nset 1003 \"A2\"\nclick 1006\n"
         "message \"Are you sure you want to delete Account A2 ?\" \"Confirm Delete\" ok\n"
         "set 1003 \"A2\"\nclick 1005\ndialog 127\nexpect-text 1245 \"\"\nclick 1\nclosed\nclick "
         "1008\nclosed\n",
         [] {
             EXPECT_EQ(AccountIds(), (std::vector<std::string>{"A1", "A2"}));
             EXPECT_FALSE(Exists("TRA2.REC"));
             EXPECT_TRUE(Exists("HLA2.DAT"));  // started again by the save
             EXPECT_EQ(LoadedAccount("A2")->date_opened, "12/08/98");
         },
         TwoAccountsWithFiles},
        {"the custodian list and its delete confirmation",
         "menu \"Setup/Custodian\"\ndialog 106\nexpect-text 1317 \"Custodian List\"\n"
         "expect-text 1005 \"Custodian Info\"\nselect 1004 \"BNY\"\nclick 1006\n"
         "message \"Are you sure you want to delete Custodian BNY ?\" \"Confirm Delete\" ok\n"
         "set 1003 \"\"\nclick 1006\nmessage \"Delete: Broker ID cannot be empty.\" \"Broker ID Error\" ok\n"
         "click 1008\nclosed\n",
         [] {
             EXPECT_EQ(records::LoadBrokerList(records::BrokerListKind::Custodians).size(), 1u);
             EXPECT_EQ(records::LoadBrokerList(records::BrokerListKind::Brokers).size(), 1u);
         },
         [] {
             Brokers(records::BrokerListKind::Custodians, {"BNY", "STATE"});
             Brokers(records::BrokerListKind::Brokers, {"BNY"});
         }},
        {"identifiers longer than 6 are refused by name in every mode, not cut",
         "menu \"Setup/Custodian\"\ndialog 106\nset 1003 \"TRUSTCO\"\nclick 1005\n"
         "message \"New custodian ID must be 1 to 6 characters.\" \"ID Error\" ok\n"
         "expect-text 1003 \"TRUSTCO\"\nclick 1008\nclosed\n"
         "menu \"Setup/Broker\"\ndialog 106\nset 1003 \"BROKERS\"\nclick 1005\n"
         "message \"New broker ID must be 1 to 6 characters.\" \"ID Error\" ok\nclick 1008\nclosed\n"
         "menu \"Setup/Account\"\ndialog 106\nset 1003 \"ABCDEFG\"\nclick 1005\n"
         "message \"New account ID must be 1 to 6 characters.\" \"ID Error\" ok\nkey escape\nclosed\n",
         [] {
             EXPECT_TRUE(records::LoadBrokerList(records::BrokerListKind::Custodians).empty());
             EXPECT_TRUE(records::LoadBrokerList(records::BrokerListKind::Brokers).empty());
         }},
        {"a custodian already listed with 7 characters can still be deleted",
         "menu \"Setup/Custodian\"\ndialog 106\nselect 1004 \"FIRSTTR\"\nexpect-text 1003 \"FIRSTTR\"\n"
         "click 1006\nmessage \"Are you sure you want to delete Custodian FIRSTTR ?\" \"Confirm Delete\" ok\n"
         "click 1008\nclosed\n",
         [] { EXPECT_EQ(records::LoadBrokerList(records::BrokerListKind::Custodians).size(), 1u); },
         [] {
             Brokers(records::BrokerListKind::Custodians, {"FIRSTTR", "BNY"});
         }},
        {"a broker deleted then Escape stays",
         "menu \"Setup/Broker\"\ndialog 106\nexpect-text 1317 \"Broker ID\"\nselect 1004 \"B1\"\nclick 1006\n"
         "message \"Are you sure you want to delete Broker B1 ?\" \"Confirm Delete\" ok\nkey "
         "escape\nclosed\n",
         [] { EXPECT_EQ(records::LoadBrokerList(records::BrokerListKind::Brokers).size(), 2u); },
         [] {
             Brokers(records::BrokerListKind::Brokers, {"B1", "B2"});
         }},
        {"an index whose key would be cut on saving is refused and not written back",
         "menu \"Setup/Account\"\ndialog 106\n"
         "dialog 142\nexpect-text 1177 \"1.ACCOUNT.IDX holds the key \\\"ABCDEFGH\\\", which is not an identifier "
         "(a damaged or foreign index): it is not read and not written back.\"\nclick 1\nclosed\n"
         "click 1008\n"
         "message \"ACCOUNT.IDX holds the key \\\"ABCDEFGH\\\", which is not an identifier (a damaged or foreign "
         "index): it is not read and not written back.\" \"Account Data\" ok\nclosed\n",
         [] {
             const std::vector<unsigned char> index = TempDataDir::ReadBytes("ACCOUNT.IDX");
             ASSERT_GE(index.size(), 144u);
             EXPECT_EQ(std::string(index.begin() + 136, index.begin() + 144), "ABCDEFGH");
         },
         [] {
             fixtures::WriteAccounts({{.id = "A1"}, {.id = "A2"}});
             std::vector<unsigned char> index = TempDataDir::ReadBytes("ACCOUNT.IDX");
             const std::string key = "ABCDEFGH";
             std::copy(key.begin(), key.end(), index.begin() + 136);
             TempDataDir::WriteBytes("ACCOUNT.IDX", index);
         }},
        {"an account whose records do not read is listed and named",
         "menu \"Setup/Account\"\ndialog 106\n"
         "dialog 142\nexpect-text 1177 \"1.Account A2: records could not be read.\"\nclick 1\nclosed\n"
         "select 1004 \"A2\"\nkey escape\nclosed\n",
         [] { EXPECT_TRUE(Messages().empty()); },  // shown in the errors window, emptied by Done
         [] {
             fixtures::WriteAccounts({{.id = "A1"}, {.id = "A2"}});
             std::vector<unsigned char> rec = TempDataDir::ReadBytes("ACCOUNT.REC");
             rec.resize(12 * 128);
             TempDataDir::WriteBytes("ACCOUNT.REC", rec);
         }},
    });
}

// Window captions are no script step: they are checked on the dialog.
TEST(AccountData, CaptionsOfTheModes) {
    struct ModeCase {
        int mode;
        const char* caption;
        const char* frame;
        const char* info;
    } cases[] = {{0, "Account Data", "Account List", "Account Info"},
                 {1, "Broker Data", "Broker ID", "Broker Info"},
                 {2, "Custodian Data", "Custodian List", "Custodian Info"}};
    for (const ModeCase& c : cases) {
        TempDataDir dir;
        platform::ScriptedInteraction script{[](const std::string&) {}};
        platform::ScopedInteraction installed(script);
        setup::CBrokerDataDlg dialog;
        if (c.mode == 0) dialog.SetAccountMode();
        if (c.mode == 1) dialog.SetBrokerMode();
        if (c.mode == 2) dialog.SetCustodianMode();
        script.ExpectDialog(setup::kBrokerDataDialogId)
            .Run("caption",
                 [&]() -> std::string { return dialog.GetWindowText() == c.caption ? "" : "caption"; })
            .ExpectText(setup::CBrokerDataDlg::kListFrame, c.frame)
            .ExpectText(setup::CBrokerDataDlg::kInfo, c.info)
            .Run("flag",
                 [&]() -> std::string { return setup::CustodianFlag() == (c.mode == 2) ? "" : "flag"; })
            .Press(platform::Key::Escape);
        dialog.DoModal();
        for (const std::string& f : script.Failures()) ADD_FAILURE() << c.caption << ": " << f;
    }
}

TEST(AccountSheet, DefaultsRefusalsAndApplyRules) {
    const std::string open_new =
        "menu \"Setup/Account\"\ndialog 106\nset 1003 \"NEW\"\nclick 1005\ndialog 127\n";
    const std::string open_a1 =
        "menu \"Setup/Account\"\ndialog 106\nset 1003 \"A1\"\nclick 1005\ndialog 127\n";
    const std::string done = "closed\nclick 1008\nclosed\n";
    RunCases({
        {"a new account's defaults",
         open_new +
             "expect-text 1257 \"12/08/98\"\npage 130\nexpect-text 1271 \"12\"\nexpect-check 1274 on\n"
             "page 132\nexpect-check 1284 on\nexpect-visible 1284 off\nexpect-text 1279 \"0\"\n"
             "expect-visible 1279 off\nexpect-text 1288 \"2\"\nexpect-text 1289 \"1\"\nexpect-visible 1324 "
             "off\n"
             // The combined accounts' frame stays shown around its hidden
             // edits; the billing frequency's goes with its buttons.
             "expect-visible 1290 on\nexpect-visible 1281 off\n"
             "click 2\n" +
             done},
        {"page 1 refuses a bad opening date and stores nothing",
         open_a1 +
             "set 1245 \"CHANGED\"\nset 1257 \"13/01/98\"\nclick 1\n"
             "dialog 142\nexpect-text 1177 \"1.Illegal Opening Date:13/01/98\"\nclick 1\nclosed\n"
             "expect-text 1245 \"CHANGED\"\n"
             "click 2\n" +
             done,
         [] {
             EXPECT_TRUE(Messages().empty());  // shown in the errors window, emptied by Done
             EXPECT_EQ(LoadedAccount("A1")->name, "FIRST");
         },
         TwoAccountsWithFiles},
        {"page 2's month and numbers",
         open_a1 +
             "page 130\nset 1271 \"13\"\npage 133\nclick 1\n"
             "message \"Please enter an integer between 1 and 12.\" \"TREL1\" ok\n"
             "set 1271 \"x\"\nclick 1\nmessage \"Please enter an integer.\" \"TREL1\" ok\n"
             "set 1271 \"3\"\nset 1276 \"1.2.3\"\nclick 1\nmessage \"Please enter a number.\" \"TREL1\" ok\n"
             "set 1276 \"\"\nset 1277 \"1,250.50\"\nclick 1\n" +
             done,
         [] {
             const auto a = LoadedAccount("A1");
             EXPECT_EQ(a->fiscal_year_end_month, 3);
             EXPECT_DOUBLE_EQ(a->opening_value, 1250.5);
             EXPECT_EQ(a->index2_price, 0.0f);
             EXPECT_EQ(a->cash_balance_code, "N");  // empty code shown and stored as N
         },
         TwoAccountsWithFiles},
        {"page 2 refuses a broker or custodian identifier longer than 6",
         open_a1 +
             "page 130\nselect 1269 \"LONGBRKR\"\nset 1268 \"CUSTODY\"\nclick 1\n"
             "dialog 142\nexpect-text 1177 \"1.Illegal Account Custodian ID: CUSTODY\"\n"
             "expect-text 2 \"2.Illegal Account Broker ID: LONGBRKR\"\nclick 1\nclosed\n"
             "select 1269 \"B1\"\nset 1268 \"BNY\"\nset 1270 \"ZZ\"\nclick 1\n" +
             done,
         [] {
             EXPECT_TRUE(Messages().empty());
             const auto a = LoadedAccount("A1");
             EXPECT_EQ(a->broker_id, "B1");
             EXPECT_EQ(a->custodian_id, "BNY");
             EXPECT_EQ(a->manager_code, "ZZ");
         },
         [] {
             TwoAccountsWithFiles();
             Brokers(records::BrokerListKind::Brokers, {"B1", "LONGBRKR"});
         }},
        {"Cancel keeps every page's fields",
         open_a1 + "set 1245 \"CHANGED\"\npage 130\nset 1270 \"ZZ\"\nclick 2\n" + done,
         [] {
             const auto a = LoadedAccount("A1");
             EXPECT_EQ(a->name, "FIRST");
             EXPECT_EQ(a->manager_code, "");
         },
         TwoAccountsWithFiles},
        {"page 3 applies its fields; a frequency it cannot show becomes annual",
         open_a1 +
             "page 132\nexpect-check 1282 on\nset 1288 \"x\"\nclick 1\n"
             "message \"Please enter an integer.\" \"TREL1\" ok\nset 1288 \"4\"\nset 1291 \"INC\"\n"
             "set 1295 \"LAST NOTE\"\nclick 1\n" +
             done,
         [] {
             const auto a = LoadedAccount("A1");
             EXPECT_EQ(a->invoice_letter_type, 4);
             EXPECT_EQ(a->billing_frequency, 1);
             EXPECT_EQ(a->investment_objective, "INC");
             EXPECT_EQ(a->notes[3], "LAST NOTE");
             EXPECT_EQ(a->combined[0], "");
         },
         TwoAccountsWithFiles},
        {"page 4 applies its symbols and headers",
         open_a1 + "page 133\nset 1312 \"SPX\"\nset 1309 \"HDR\"\nclick 1\n" + done,
         [] {
             const auto a = LoadedAccount("A1");
             EXPECT_EQ(a->index_symbol[0], "SPX");
             EXPECT_EQ(a->column_headers[1][2], "HDR");
         },
         TwoAccountsWithFiles},
    });
}

// Opens the account sheet of A1 through Setup/Account in the program on
// TwoAccountsWithFiles and shows each of its pages in turn, running
// `check` (its failures, empty when it passed) after the sheet opens
// (page empty) and after each page shows; then cancels the sheet and the
// account dialog.
void OnEachAccountSheetPage(const std::vector<const char*>& pages,
                            const std::function<std::string(const std::string& page)>& check) {
    TempDataDir dir;
    TwoAccountsWithFiles();
    tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started());
    platform::ScriptedInteraction script([](const std::string& failure) { ADD_FAILURE() << failure; });
    script.SetTopLevelWindow(run.Frame());
    auto play = [&](const std::string& text) {
        tools::ParsedScript parsed = tools::ParseScript(text, run.Frame());
        for (const std::string& error : parsed.errors) ADD_FAILURE() << error;
        for (platform::ScriptStep& step : parsed.steps) script.Add(std::move(step));
    };
    play("menu \"Setup/Account\"\ndialog 106\nset 1003 \"A1\"\nclick 1005\ndialog 127\n");
    script.Run("the sheet opens", [&] { return check(""); });
    for (const char* page : pages) {
        play(std::string("page ") + page + "\n");
        script.Run(std::string("page ") + page + " shown", [&check, page] { return check(page); });
    }
    play("click 2\nclosed\nclick 1008\nclosed\n");
    {
        platform::ScopedInteraction installed(script);
        script.RunScript();
        script.FailIfStepsLeft();
    }
    run.Close();
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
}

// The sheet takes its size once, as it opens: showing a page for the
// first time (the Billing page hides most of its controls as it
// initialises) changes neither its width nor its height.
TEST(AccountSheet, KeepsTheSizeItOpensWith) {
    QSize opened;
    OnEachAccountSheetPage({"130", "132", "133", "127"}, [&](const std::string& page) -> std::string {
        const QWidget* sheet = fixtures::DialogOnScreen(setup::kAccountInfoSheetId);
        if (!sheet) return "the sheet is not open";
        if (page.empty()) opened = sheet->size();
        if (sheet->size() == opened) return "";
        return "the sheet is " + std::to_string(sheet->width()) + "x" + std::to_string(sheet->height()) +
               ", it opened " + std::to_string(opened.width()) + "x" + std::to_string(opened.height());
    });
}

// Where each shown widget of a page stands, from the page's top left.
std::map<const QWidget*, QPoint> Places(QWidget* page) {
    std::map<const QWidget*, QPoint> places;
    for (const QWidget* w : page->findChildren<QWidget*>())
        if (w->isVisibleTo(page)) places[w] = w->mapTo(page, QPoint(0, 0));
    return places;
}

// The sheet is as tall as its tallest page; a shorter page keeps its rows
// where its table puts them, from the top, with the spare height below
// them: every widget stands where it stands with the page laid out alone
// at the height it asks for.
TEST(AccountSheet, ShorterPagesKeepTheirRowsAtTheTop) {
    int spare = 0;  // the height the sheet gives its pages beyond what they ask, added up
    OnEachAccountSheetPage({"127", "130", "132", "133"}, [&](const std::string& page) -> std::string {
        if (page.empty()) return "";
        QWidget* sheet = fixtures::DialogOnScreen(setup::kAccountInfoSheetId);
        auto* dialog = dynamic_cast<platform::PropertySheet*>(
            platform::Dialog::FindOpen(setup::kAccountInfoSheetId));
        QWidget* shown =
            dialog && dialog->GetActivePage() ? dialog->GetActivePage()->GetWidget() : nullptr;
        if (!sheet || !shown || !shown->layout()) return "the sheet shows no page";
        if (const QByteArray folder = qgetenv("LEDRA_DIALOG_PICTURES"); !folder.isEmpty())
            sheet->grab().save(QString(folder) + "/account-sheet-" + QString::fromStdString(page) + ".png");
        const auto in_sheet = Places(shown);
        QLayout* layout = shown->layout();
        const int natural = layout->sizeHint().height();
        spare += shown->height() - natural;
        layout->setGeometry(QRect(0, 0, shown->width(), natural));
        const auto alone = Places(shown);
        layout->setGeometry(shown->rect());
        std::string moved;
        for (const auto& [w, at] : in_sheet) {
            const auto it = alone.find(w);
            if (it == alone.end() || it->second == at) continue;
            const auto* label = qobject_cast<const QLabel*>(w);
            moved += " " + std::string(w->metaObject()->className()) +
                     (label ? " \"" + label->text().toStdString() + "\"" : "") + " at y " +
                     std::to_string(at.y()) + ", alone " + std::to_string(it->second.y()) + ";";
        }
        if (!moved.empty())
            ADD_FAILURE() << "page " << page << " is " << shown->height() << " high, it asks for "
                          << natural << ":" << moved;
        return "";
    });
    EXPECT_GT(spare, 0);  // some page is shorter than the sheet
}

TEST(BrokerInfo, CaptionsNewAndReplacedIdentifiers) {
    const std::string open_b1 =
        "menu \"Setup/Broker\"\ndialog 106\nselect 1004 \"B1\"\nclick 1005\ndialog 108\n";
    auto names = [] {
        std::vector<std::string> out;
        for (const auto& b : records::LoadBrokerList(records::BrokerListKind::Brokers))
            out.push_back(b->identifier + "=" + b->short_name);
        return out;
    };
    RunCases({
        {"custodian captions; the empty identifier still says Broker ID",
         "menu \"Setup/Custodian\"\ndialog 106\nset 1003 \"C1\"\nclick 1005\ndialog 108\n"
         "expect-text 1081 \"Custodian Address\"\nexpect-text 1083 \"Custodian Firm\"\n"
         "expect-text 1382 \"Custodian ID\"\nexpect-text 1082 \"Custodian Phone\"\n"
         "expect-text 1080 \"Custodian Shortname\"\nset 1026 \"\"\nclick 1016\n"
         "message \"Save: Broker ID cannot be empty.\" \"Broker ID Error\" ok\nkey escape\nclosed\n"
         "click 1008\nclosed\n",
         [] { EXPECT_EQ(records::LoadBrokerList(records::BrokerListKind::Custodians).size(), 1u); }},
        {"a new identifier adds a second entry",
         open_b1 + "expect-text 1027 \"B1 SHORT\"\nset 1026 \"B3\"\nset 1027 \"THIRD\"\nclick 1016\nclosed\n"
                   "click 1008\nclosed\n",
         [&] {
             EXPECT_EQ(names(), (std::vector<std::string>{"B1=B1 SHORT", "B2=B2 SHORT", "B3=THIRD"}));
         },
         [] {
             Brokers(records::BrokerListKind::Brokers, {"B1", "B2"});
         }},
        {"another entry's identifier: Cancel keeps both",
         open_b1 + "set 1026 \"B2\"\nset 1027 \"CHANGED\"\nclick 1016\n"
                   "message \"ID B2 already exists. Replace its information ?\" \"Confirm Change\" cancel\n"
                   "key escape\nclosed\nclick 1008\nclosed\n",
         [&] {
             EXPECT_EQ(names(), (std::vector<std::string>{"B1=B1 SHORT", "B2=B2 SHORT"}));
         },
         [] {
             Brokers(records::BrokerListKind::Brokers, {"B1", "B2"});
         }},
        {"another entry's identifier: OK replaces it",
         open_b1 + "set 1026 \"B2\"\nset 1027 \"CHANGED\"\nclick 1016\n"
                   "message \"ID B2 already exists. Replace its information ?\" \"Confirm Change\" ok\n"
                   "closed\nclick 1008\nclosed\n",
         [&] {
             EXPECT_EQ(names(), (std::vector<std::string>{"B1=B1 SHORT", "B2=CHANGED"}));
         },
         [] {
             Brokers(records::BrokerListKind::Brokers, {"B1", "B2"});
         }},
        {"the firm long name keeps all 60 characters",
         open_b1 + "set 1035 \"" + std::string(59, 'L') + "Z\"\nclick 1016\nclosed\nclick 1008\nclosed\n",
         [] {
             EXPECT_EQ(records::LoadBrokerList(records::BrokerListKind::Brokers)[0]->firm_long_name,
                       std::string(59, 'L') + "Z");
         },
         [] { Brokers(records::BrokerListKind::Brokers, {"B1"}); }},
    });
}

TEST(CopyAccount, RefusalsAndTheCopy) {
    const std::string open = "menu \"Utilities/Copy Account\"\ndialog 152\n";
    RunCases({
        {"no account to copy",
         open + "set 1076 \"NEW\"\nclick 1004\n"
                "message \"Old account not selected.\" \"ID Error\" ok\nclick 2\nclosed\n"},
        {"an empty new identifier",
         open + "click 1004\nmessage \"New account ID is empty.\" \"ID Error\" ok\nclick 2\nclosed\n",
         {},
         TwoAccountsWithFiles},
        {"a new identifier of 7 characters",
         open + "set 1076 \"ABCDEFG\"\nclick 1004\n"
                "message \"New account ID limited to 6 characters.\" \"ID Error\" ok\nclick 2\nclosed\n",
         [] {
             EXPECT_EQ(AccountIds(), (std::vector<std::string>{"A1", "A2"}));
         },
         TwoAccountsWithFiles},
        {"an identifier in use: Cpyacc's text, nothing changed",
         open + "select 1075 \"A1\"\nset 1076 \"a2\"\nclick 1004\n"
                "message \"A2      is already in the system.\" \"ID Error\" ok\nclick 2\nclosed\n",
         [] {
             EXPECT_EQ(AccountIds(), (std::vector<std::string>{"A1", "A2"}));
         },
         TwoAccountsWithFiles},
        {"lower case copied upper", open + "select 1075 \"A2\"\nset 1076 \"copy2\"\nclick 1004\nclosed\n",
         [] {
             EXPECT_EQ(AccountIds(), (std::vector<std::string>{"A1", "A2", "COPY2"}));
             EXPECT_EQ(LoadedAccount("COPY2")->name, "SECOND");
         },
         TwoAccountsWithFiles},
    });
}

}  // namespace
