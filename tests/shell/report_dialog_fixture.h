#pragma once

// A data directory for the report dialog tests: three accounts, two
// securities, two brokers, a manager code table with codes at the ends of
// records 81 and 82, and groups and super groups; the report globals start
// from the dates of a program date of 12/08/98. Also small readers of a
// dialog's control states, and the runs of a dialog the tests share: open
// and check it, generate a report, generate one that is refused.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "platform/constants.h"
#include "platform/dialog.h"
#include "platform/interaction.h"
#include "platform/scripted_interaction.h"
#include "platform/window.h"
#include "records/files.h"
#include "records/record.h"
#include "shell/command_ids.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace dialog_test {

inline void WriteText(const std::string& name, const std::string& text) {
    fixtures::TempDataDir::WriteBytes(name, {text.begin(), text.end()});
}

inline std::string ReadText(const std::string& name) {
    const std::vector<unsigned char> bytes = fixtures::TempDataDir::ReadBytes(name);
    return {bytes.begin(), bytes.end()};
}

// The ids among `watched` whose controls show.
inline std::set<int> VisibleIds(const platform::Window& w, const std::vector<int>& watched) {
    std::set<int> shown;
    for (const int id : watched)
        if (w.GetDlgItem(id).IsWindowVisible()) shown.insert(id);
    return shown;
}

// The ids among `watched` whose controls are enabled.
inline std::set<int> EnabledIds(const platform::Window& w, const std::vector<int>& watched) {
    std::set<int> on;
    for (const int id : watched)
        if (w.GetDlgItem(id).IsWindowEnabled()) on.insert(id);
    return on;
}

inline std::string Describe(const std::set<int>& ids) {
    std::string text;
    for (const int id : ids) text += std::to_string(id) + " ";
    return text;
}

// "" when the sets agree, else what differs ("shown 1 2 expected 1 3; ").
inline std::string CompareIds(const std::string& what, const std::set<int>& got, const std::set<int>& want) {
    return got == want ? "" : what + " " + Describe(got) + "expected " + Describe(want) + "; ";
}

// Groups of controls that show together, joined.
inline std::set<int> Join(std::initializer_list<std::set<int>> parts) {
    std::set<int> all;
    for (const auto& part : parts) all.insert(part.begin(), part.end());
    return all;
}

// "" when a stored value is the one wanted, else what differs; a store
// check adds up these for every value it looks at.
inline std::string Expect(const std::string& what, const std::string& got, const std::string& want) {
    return got == want ? "" : what + " is \"" + got + "\", expected \"" + want + "\"; ";
}
inline std::string Expect(const std::string& what, long got, long want) {
    return got == want ? ""
                       : what + " is " + std::to_string(got) + ", expected " + std::to_string(want) + "; ";
}

// What a test does in a dialog before it is closed.
using Steps = std::function<void(platform::ScriptedInteraction&)>;

// An index of 8-character keys, 16 a record (brokers, custodians).
inline void WriteKeyIndex(const std::string& name, const std::vector<std::string>& keys) {
    records::Record head(128, 0);
    head.SetI16(0, static_cast<int16_t>(keys.size()));
    records::DirectFile file(name, 128);
    file.Write(1, head);
    for (std::size_t first = 0; first < keys.size(); first += 16) {
        records::Record rec(128, ' ');
        for (std::size_t i = first; i < keys.size() && i < first + 16; ++i)
            rec.SetText((i - first) * 8, 8, keys[i]);
        file.Write(static_cast<long>(2 + first / 16), rec);
    }
}

class ReportDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteAccounts({{.id = "ACC001"}, {.id = "ACC002"}, {.id = "ACC003"}});
        fixtures::WriteSecurities({{.symbol = "IBM"}, {.symbol = "MSFT"}});
        WriteKeyIndex("BROKER.IDX", {"BRK1", "BRK2"});
        WriteKeyIndex("CUSTDN.IDX", {"CUS1", "CUS2", "CUS3"});
        // Manager codes: slot 1 in record 10, the last slots of records 81
        // (41, 42) and 82 (73, 74).
        records::Record r10(128, ' '), r81(128, ' '), r82(128, ' '), r83(128, ' ');
        r10.SetText(16, 4, "ABCD");
        r10.SetText(20, 4, "MGR2");
        r81.SetText(120, 4, "CC41");
        r81.SetText(124, 4, "CC42");
        r82.SetText(120, 4, "DD73");
        r82.SetText(124, 4, "DD74");
        fixtures::WriteCommonRecord(10, r10);
        fixtures::WriteCommonRecord(81, r81);
        fixtures::WriteCommonRecord(82, r82);
        fixtures::WriteCommonRecord(83, r83);
        WriteText("group.dat",
                  "GROWTH Growth accounts\r\n2\r\nACC001\r\nACC002\r\n"
                  "INCOME Income accounts\r\n2\r\nACC002\r\nACC003\r\n"
                  "EMPTY \r\n0\r\n");
        WriteText("super.dat",
                  "BOTH Growth and income\r\n2\r\nGROWTH\r\nINCOME\r\n"
                  "NONE Nothing in it\r\n1\r\nEMPTY\r\n"
                  "STALE Names a deleted group\r\n2\r\nGONE\r\nGROWTH\r\n");
        shell::g_report = shell::ReportGlobals{};
        shell::g_report.StartDate = "01/01/98";
        shell::g_report.EndDate = "12/08/98";
        shell::g_report.SystemDate = "12/08/98";
    }

    void TearDown() override {
        shell::ClearMessageList();
        shell::g_report = shell::ReportGlobals{};
    }

    // The message list as it stands.
    static std::vector<std::string> Messages() { return shell::GetMessages(); }

    static void ExpectNoFailures(const platform::ScriptedInteraction& script) {
        for (const std::string& failure : script.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script.StepsLeft(), 0u);
    }

    // "" when the dialog is still open and the message list reads `want`.
    static std::string CheckMessages(const platform::Dialog& dialog, const std::vector<std::string>& want) {
        if (dialog.IsEnded()) return "the dialog closed";
        std::string got;
        for (const std::string& m : Messages()) got += "[" + m + "]";
        return Messages() == want ? "" : "messages " + got;
    }

    // Opens dialog Dlg (resource `dialog_id`) and runs `check` on it as it
    // was set up ("" passes; anything else is the failure), then cancels.
    template <class Dlg, class Check>
    static void ExpectOnOpening(int dialog_id, const std::string& what, Check check) {
        platform::ScriptedInteraction script;
        platform::ScopedInteraction installed(script);
        Dlg dialog;
        script.ExpectDialog(dialog_id)
            .Run(what, [&]() -> std::string { return check(dialog); })
            .Click(platform::IDCANCEL)
            .ExpectClosed();
        EXPECT_EQ(dialog.DoModal(), platform::IDCANCEL);
        ExpectNoFailures(script);
    }

    // Opens dialog Dlg, takes `steps` and clicks Generate Report, which must
    // close the dialog with OK.
    template <class Dlg>
    static void ExpectGenerated(int dialog_id, const Steps& steps) {
        platform::ScriptedInteraction script;
        platform::ScopedInteraction installed(script);
        script.ExpectDialog(dialog_id);
        steps(script);
        script.Click(Dlg::kGenerate).ExpectClosed();
        Dlg dialog;
        EXPECT_EQ(dialog.DoModal(), platform::IDOK);
        ExpectNoFailures(script);
    }

    // Opens dialog Dlg, takes `steps` and clicks Generate Report, which must
    // leave the dialog open with the message list reading `messages` and
    // `also` passing (when given); then cancels.
    template <class Dlg>
    static void ExpectRefused(int dialog_id, const Steps& steps, const std::vector<std::string>& messages,
                              const std::function<std::string()>& also = {}) {
        platform::ScriptedInteraction script;
        platform::ScopedInteraction installed(script);
        Dlg dialog;
        script.ExpectDialog(dialog_id);
        steps(script);
        // The errors window opens on top of the dialog and takes the input
        // until Done; the dialog stays open behind it.
        script.Click(Dlg::kGenerate)
            .ExpectDialog(shell::kReportErrorsDialogId)
            .Run("messages",
                 [&]() -> std::string {
                     if (std::string failure = CheckMessages(dialog, messages); !failure.empty())
                         return failure;
                     return also ? also() : "";
                 })
            .Click(platform::IDOK)
            .ExpectClosed()
            .Run("the dialog stays open",
                 [&]() -> std::string { return dialog.IsEnded() ? "it closed" : ""; })
            .Click(platform::IDCANCEL)
            .ExpectClosed();
        EXPECT_EQ(dialog.DoModal(), platform::IDCANCEL);
        ExpectNoFailures(script);
    }

    fixtures::TempDataDir dir_;
};

}  // namespace dialog_test
