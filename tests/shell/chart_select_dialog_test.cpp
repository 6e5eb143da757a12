// The chart dialog: where it starts, the type radios that apply to the pie
// files only, and the choice OK (also Enter) leaves in ChartKind and
// ChartType.

#include "shell/chart_select_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/scripted_interaction.h"

namespace {

using namespace shell;
using D = CChartSelectDlg;

struct ChoiceCase {
    std::string name;
    std::vector<int> clicks;  // in this order, then OK
    int16_t kind;
    int16_t type;
};

class ChartChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChartChoice, OkStoresKindAndType) {
    const ChoiceCase& c = GetParam();
    ChartKind = 0;
    ChartType = 0;
    platform::ScriptedInteraction script;
    platform::ScopedInteraction installed(script);
    script.ExpectDialog(kChartSelectDialogId);
    for (const int id : c.clicks) script.Click(id);
    script.Click(platform::IDOK).ExpectClosed();
    CChartSelectDlg dialog;
    EXPECT_EQ(dialog.DoModal(), platform::IDOK);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_EQ(ChartKind, c.kind);
    EXPECT_EQ(ChartType, c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ChartChoice,
    ::testing::Values(ChoiceCase{"Defaults", {}, 1, 2},
                      ChoiceCase{"AssetAllocationPie", {D::kPieChart}, 1, 1},
                      ChoiceCase{"IndustryCategoryBar", {D::kIndustryCategory}, 2, 2},
                      ChoiceCase{"IndustryCategoryPie", {D::kPieChart, D::kIndustryCategory}, 2, 1},
                      // The type radios are disabled, but keep what they show.
                      ChoiceCase{"PerformanceAfterPie", {D::kPieChart, D::kPerformance}, 3, 1},
                      ChoiceCase{
                          "PerformanceThenBackToAssets", {D::kPerformance, D::kAssetAllocation}, 1, 2}),
    [](const auto& info) { return info.param.name; });

TEST(ChartSelectDlg, StartsOnAssetAllocationAsBarAndDisablesTheTypeForPerformance) {
    ChartKind = 3;  // the last choice does not carry into the dialog
    ChartType = 1;
    platform::ScriptedInteraction script;
    platform::ScopedInteraction installed(script);
    script.ExpectDialog(kChartSelectDialogId)
        .ExpectChecked(D::kAssetAllocation, true)
        .ExpectChecked(D::kIndustryCategory, false)
        .ExpectChecked(D::kPerformance, false)
        .ExpectChecked(D::kBarChart, true)
        .ExpectChecked(D::kPieChart, false)
        .Click(D::kPerformance)
        .ExpectChecked(D::kAssetAllocation, false)
        .ExpectEnabled(D::kTypeGroup, false)
        .ExpectEnabled(D::kPieChart, false)
        .ExpectEnabled(D::kBarChart, false)
        .ExpectChecked(D::kBarChart, true)
        .Click(D::kIndustryCategory)
        .ExpectEnabled(D::kTypeGroup, true)
        .ExpectEnabled(D::kPieChart, true)
        .ExpectEnabled(D::kBarChart, true)
        .Click(D::kPerformance)
        .Click(D::kAssetAllocation)
        .ExpectEnabled(D::kPieChart, true)
        // Cancel keeps the last choice.
        .Click(platform::IDCANCEL)
        .ExpectClosed();
    CChartSelectDlg dialog;
    EXPECT_EQ(dialog.DoModal(), platform::IDCANCEL);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_EQ(script.StepsLeft(), 0u);
    EXPECT_EQ(ChartKind, 3);
    EXPECT_EQ(ChartType, 1);

    // A disabled type radio cannot be clicked.
    platform::ScriptedInteraction refused([](const std::string&) {});
    platform::ScopedInteraction installed_refused(refused);
    refused.ExpectDialog(kChartSelectDialogId).Click(D::kPerformance).Click(D::kPieChart);
    CChartSelectDlg again;
    again.DoModal();
    EXPECT_FALSE(refused.Failures().empty());
}

// A choice, not data entry: Enter on a radio presses OK.
TEST(ChartSelectDlg, EnterPressesOk) {
    ChartKind = 0;
    ChartType = 0;
    platform::ScriptedInteraction script;
    platform::ScopedInteraction installed(script);
    script.ExpectDialog(kChartSelectDialogId)
        .Click(D::kIndustryCategory)
        .Click(D::kPieChart)
        .Press(platform::Key::Enter)
        .ExpectClosed();
    CChartSelectDlg dialog;
    EXPECT_EQ(dialog.DoModal(), platform::IDOK);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_EQ(ChartKind, 2);
    EXPECT_EQ(ChartType, 1);
}

}  // namespace
