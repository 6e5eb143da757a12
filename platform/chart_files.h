#pragma once

// The chart data files that the appraisal and performance reports leave in
// the data directory, read for the chart window:
//
//   PieChart.out   asset allocation of an account appraisal
//   PieChrt1.out   the account's common stocks by industry category
//   Grapher.out    performance of an account against up to two indexes
//
// Plain C++ (no Qt), so the chart window only hands what these return to the
// chart control. A failure comes back as the very text the user is shown,
// under the caption kChartErrorCaption; the window then does not open.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr std::string_view kChartErrorCaption = "Charting Error";

// The three charts, numbered as the chart dialog numbers them.
enum class ChartFile { AssetAllocation = 1, IndustryCategory = 2, Performance = 3 };

// The file's name as the chart window spells it ("PieChart.out", ...).
std::string_view ChartFileName(ChartFile file);

// The file `name` in `dir`, its name matched without regard to case (the
// reports write PIECHART.OUT, the window asks for PieChart.out); the exact
// spelling wins when several match. An empty path when no regular file
// matches.
std::filesystem::path FindChartFile(const std::filesystem::path& dir, std::string_view name);

// One slice of a pie file: the label as written, without trailing blanks,
// and its percentage.
struct PieSlice {
    std::string name;
    double percent = 0;

    // The text the chart shows for the slice: the name, " - " and the
    // percentage with one decimal and a percent sign ("EQUITIES - 61.5%").
    std::string Label() const;
};

struct PieChartData {
    std::string title;  // line 1, as written (without its line end)
    std::vector<PieSlice> slices;
};

// Grapher.out: one name and one series of values per data set (1 to 3), all
// series of the same length, one value a period.
struct LineChartData {
    std::vector<std::string> names;
    std::vector<std::vector<double>> values;  // values[set][point]
};

// What a reader gives: the data, or the message that ends the chart.
template <class T>
struct ChartRead {
    T data;
    std::string error;
    bool ok() const { return error.empty(); }
};

// PieChart.out (AssetAllocation) or PieChrt1.out (IndustryCategory) in
// `dir`. The two writers place their columns differently: the asset
// allocation lines hold the label in columns 1-32 and the percentage from
// column 33; the industry category lines begin with a blank, so the label is
// in columns 2-33 and the percentage starts at column 34.
ChartRead<PieChartData> ReadPieChartFile(const std::filesystem::path& dir, ChartFile file);

// Grapher.out in `dir`.
ChartRead<LineChartData> ReadLineChartFile(const std::filesystem::path& dir);

}  // namespace platform
