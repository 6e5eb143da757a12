#pragma once

// A data directory for the report dialog tests: three accounts, two
// securities, two brokers, a manager code table with codes at the ends of
// records 81 and 82, and groups and super groups; the report globals start
// from the dates of a program date of 12/08/98. Also small readers of a
// dialog's control states.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/scripted_interaction.h"
#include "platform/window.h"
#include "records/files.h"
#include "records/record.h"
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

inline std::string Describe(const std::set<int>& ids) {
    std::string text;
    for (const int id : ids) text += std::to_string(id) + " ";
    return text;
}

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

    fixtures::TempDataDir dir_;
};

}  // namespace dialog_test
