// The chart data files of arbitrary bytes (the two pie files and the
// performance line file) through the chart window's readers.

#include "platform/chart_files.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 3);
    fuzz::FreshDataDir();
    fuzz::WriteFile("PIECHART.OUT", parts[0]);
    fuzz::WriteFile("PIECHRT1.OUT", parts[1]);
    fuzz::WriteFile("GRAPHER.OUT", parts[2]);
    const auto& dir = fuzz::DataDir();
    (void)platform::ReadPieChartFile(dir, platform::ChartFile::AssetAllocation);
    (void)platform::ReadPieChartFile(dir, platform::ChartFile::IndustryCategory);
    (void)platform::ReadLineChartFile(dir);
    return 0;
}
