#pragma once

// The chart dialog (dialog 147, "Charts"): which chart to show (the asset
// allocation or the industry categories of the last account appraisal, or
// the performance of the last performance table) and, for the first two,
// whether as a pie or a bar chart. OK (also Enter) stores the choice in
// ChartKind and ChartType for the chart window; Cancel changes nothing.

#include <cstdint>

#include "platform/dialog.h"

namespace shell {

// The last choice, kept for the whole run.
// ChartKind: 1 asset allocation (PieChart.out), 2 industry category
// (PieChrt1.out), 3 performance (Grapher.out).
extern int16_t ChartKind;
// ChartType: 1 pie, 2 bar; the performance chart is always a line chart.
extern int16_t ChartType;

inline constexpr int kChartSelectDialogId = 147;

class CChartSelectDlg : public platform::Dialog {
public:
    static constexpr int kAssetAllocation = 1030;
    static constexpr int kIndustryCategory = 1031;
    static constexpr int kPerformance = 1063;
    static constexpr int kTypeGroup = 1386;
    static constexpr int kPieChart = 1032;
    static constexpr int kBarChart = 1034;

    explicit CChartSelectDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    // A choice, not data entry: Enter presses OK.
    bool OnEnterKey() override { return PressDefaultButton() || Dialog::OnEnterKey(); }

private:
    // The type radios apply to the two pie files only.
    void EnableType(bool enable);
};

}  // namespace shell
