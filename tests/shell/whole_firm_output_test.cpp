// Every report of the runner's table over a generated firm of a few
// accounts, all accounts, to a named file, one after the other in one data
// directory: each report's text against its golden file, and every file a
// run writes (its output file, the work files, the holdings and gains the
// update of the data base rebuilds) by its size and a hash of its bytes
// against one listing. A change to how the record layer reads, writes,
// buffers or caches must leave all of them as they are, byte for byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/firm_generator.h"
#include "records/groups.h"
#include "shell/dispatch.h"
#include "shell/report_globals.h"
#include "shell/runner.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/shell/road_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace shell;

constexpr const char* kOutput = "GENFIRM.TXT";

// The golden file of each code, by what the report is. Codes that read an
// input file of their own (the price import, the member imports) are not
// swept here.
const std::map<int, std::string>& GoldenNames() {
    static const std::map<int, std::string> names = {
        {81, "transaction_ledger"},
        {82, "security_cross_reference"},
        {83, "account_directory"},
        {84, "realised_gains"},
        {85, "income_summary"},
        {86, "commissions_by_broker"},
        {87, "maturity_alert"},
        {88, "detailed_cross_reference"},
        {90, "member_statement"},
        {91, "form_1099b"},
        {92, "trade_memorandum"},
        {93, "commissions_by_account"},
        {94, "commission_detail"},
        {95, "portfolio_changes"},
        {101, "working_appraisal"},
        {102, "position_summary"},
        {103, "account_appraisal"},
        {104, "investment_history"},
        {106, "mutual_fund_appraisal"},
        {107, "assets_under_management"},
        {108, "summary_of_assets_under_management"},
        {109, "summary_of_accounts"},
        {121, "performance_module"},
        {162, "update_database"},
        {181, "client_list"},
        {182, "security_list"},
        {183, "broker_list"},
        {184, "bond_list"},
        {185, "custodian_list"},
        {186, "summary_client_list"},
        {201, "composite_account_appraisal"},
        {202, "composite_working_appraisal"},
        {203, "composite_gains"},
        {204, "composite_transaction_ledger"},
        {221, "fixed_income_appraisal"},
        {222, "fixed_income_maturity"},
        {223, "fixed_income_coupon"},
        {224, "fixed_income_rating"},
        {225, "fixed_income_yield"},
        {226, "income_flow_fixed"},
        {227, "income_flow_other"},
        {228, "fixed_income_summary"},
        {341, "find_client_name"},
        {342, "find_short_name"},
        {343, "find_security"},
    };
    return names;
}

bool ReadsAnInputFile(int code) {
    return code == 63 || code == 44 || code == 291;
}

// A 64-bit FNV-1a hash of a file's bytes.
uint64_t Hash(const std::vector<unsigned char>& bytes) {
    uint64_t h = 0xcbf29ce484222325ULL;
    for (const unsigned char b : bytes) {
        h ^= b;
        h *= 0x100000001b3ULL;
    }
    return h;
}

// Every file of the data directory: its name, size and hash.
std::map<std::string, std::string> Listing() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(fs::current_path())) {
        if (!entry.is_regular_file()) continue;
        const std::string name = entry.path().filename().string();
        const std::vector<unsigned char> bytes = fixtures::TempDataDir::ReadBytes(name);
        char text[64];
        std::snprintf(text, sizeof text, "%zu %016llx", bytes.size(),
                      static_cast<unsigned long long>(Hash(bytes)));
        files[name] = text;
    }
    return files;
}

class WholeFirmOutputTest : public road::RoadTest {};

TEST_F(WholeFirmOutputTest, EveryReportOverAGeneratedFirmWritesWhatItWrote) {
    const bench::GeneratedFirm firm = bench::WriteGeneratedFirm({.accounts = 4, .transactions = 400});
    ASSERT_EQ(firm.error, "");
    ASSERT_EQ(firm.accounts.size(), 4u);

    // A golden name for every code the sweep runs: a new code needs one.
    for (const int code : ReportRoutineCodes()) {
        if (!ReadsAnInputFile(code)) {
            EXPECT_EQ(GoldenNames().count(code), 1u) << "code " << code << " has no golden name";
        }
    }

    {
        std::vector<std::string> group = {firm.accounts[0], firm.accounts[2]};
        ASSERT_TRUE(records::WriteAccountLines(group, records::kAccountListFile));
        g_report.GroupDescription = "GENERATED GROUP";
        g_report.ListFileName = records::kAccountListFile;
    }
    // The firm as generated (the holdings and gains by the update of the
    // data base), then what each run changes.
    std::string written;
    std::map<std::string, std::string> before = Listing();
    for (const auto& [name, sum] : before) written += "firm " + name + " " + sum + "\n";
    for (const int code : ReportRoutineCodes()) {
        if (ReadsAnInputFile(code) || GoldenNames().count(code) == 0) continue;
        SCOPED_TRACE("code " + std::to_string(code));
        std::error_code error;
        fs::remove(kOutput, error);
        g_report.ReportCode = code;
        g_report.ReportVariant = code == 121 ? 1 : 0;
        g_report.SelectionScope = 1;
        g_report.ManagerCode = "????";
        g_report.SelectedAccount = code == 343                  ? "GENERATED COMPANY 01"
                                   : code == 341 || code == 342 ? "CLIENT"
                                                                : firm.accounts[0];
        // The form 1099-B and the trade memorandum take one trade date; the
        // summary of accounts prices at a month-end.
        g_report.StartDate = code == 91 || code == 92 ? "02/04/98" : code == 109 ? "11/30/98" : "01/01/98";
        g_report.EndDate = "12/31/98";
        g_report.OutputDestination = kOutputFile;
        g_report.OutputFileName = kOutput;
        const road::Played played = Play("", [&] { RouteReportOutput(*frame_); });
        EXPECT_TRUE(played.failures.empty()) << played.Failures();
        EXPECT_TRUE(played.message_boxes.empty());
        ASSERT_TRUE(fixtures::TempDataDir::Exists(kOutput));
        fixtures::CompareWithGolden("generated_firm/" + GoldenNames().at(code) + ".txt",
                                    fixtures::ReportText(kOutput));

        const std::map<std::string, std::string> after = Listing();
        for (const auto& [name, sum] : after) {
            const auto it = before.find(name);
            if (it == before.end() || it->second != sum)
                written += std::to_string(code) + " " + name + " " + sum + "\n";
        }
        for (const auto& [name, sum] : before)
            if (after.count(name) == 0) written += std::to_string(code) + " " + name + " removed\n";
        before = after;
    }
    fixtures::CompareWithGolden("generated_firm/files_written.txt", written);
}

}  // namespace
