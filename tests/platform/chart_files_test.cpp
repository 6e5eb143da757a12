// The chart data files as the chart window reads them: files as the reports
// write them, names in any case, every failure with its message, and the
// period lines of Grapher.out.

#include "platform/chart_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/fixtures/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::ChartFile;

// Files the appraisal and performance reports wrote for one account.
fs::path FixtureDir() {
    return fs::path(LEDRA_TESTS_DIR) / "fixtures" / "charts";
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

TEST(ChartFiles, AssetAllocationAsTheAppraisalWritesIt) {
    const auto read = platform::ReadPieChartFile(FixtureDir(), ChartFile::AssetAllocation);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.data.title, "ASSET ALLOCATION - SMITH FAMILY");
    std::vector<std::string> labels;
    double total = 0;
    for (const auto& slice : read.data.slices) {
        labels.push_back(slice.Label());
        total += slice.percent;
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"CASH & EQUIVALENTS - 4.3%", "COMMON STOCKS - 61.5%",
                                                "PREFERRED STOCKS - 2.0%", "CORPORATE BONDS - 18.7%",
                                                "MUNICIPAL BONDS - 10.2%", "MUTUAL FUNDS - 3.1%",
                                                "TOTAL ACCRUED INTEREST - 0.2%"}));
    EXPECT_NEAR(total, 100.0, 1e-9);
}

// The category lines begin with a blank: the label is in columns 2-33 and
// the percentage starts at column 34. A category without a description
// keeps its line.
TEST(ChartFiles, IndustryCategoriesAsTheAppraisalWritesThem) {
    const auto read = platform::ReadPieChartFile(FixtureDir(), ChartFile::IndustryCategory);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.data.title, " COMMON STOCKS - SMITH FAMILY");
    ASSERT_EQ(read.data.slices.size(), 8u);
    EXPECT_EQ(read.data.slices[0].name, "BANKS");
    EXPECT_DOUBLE_EQ(read.data.slices[0].percent, 12.4);
    EXPECT_EQ(read.data.slices[2].Label(), "COMPUTERS & SOFTWARE - 22.6%");
    EXPECT_EQ(read.data.slices[6].name, "");
    EXPECT_EQ(read.data.slices[6].Label(), " - 7.5%");
    EXPECT_EQ(read.data.slices[7].Label(), "TELECOMMUNICATIONS - 12.6%");
}

TEST(ChartFiles, PerformanceAsThePerformanceTableWritesIt) {
    const auto read = platform::ReadLineChartFile(FixtureDir());
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.data.names, (std::vector<std::string>{" SMITH   PORTFOLIO", " S&P 500", " DJIA"}));
    ASSERT_EQ(read.data.values.size(), 3u);
    for (const auto& series : read.data.values) {
        ASSERT_EQ(series.size(), 13u);
        EXPECT_EQ(series[0], 0.0);
    }
    EXPECT_DOUBLE_EQ(read.data.values[0][1], 1.2);
    EXPECT_DOUBLE_EQ(read.data.values[1][12], 11.4);
    EXPECT_DOUBLE_EQ(read.data.values[2][12], 10.9);
}

TEST(ChartFiles, NamesMatchInAnyCaseAndTheExactSpellingWins) {
    fixtures::TempDataDir dir;
    fs::copy_file(FixtureDir() / "PIECHART.OUT", dir.path() / "piechart.OUT");
    fs::copy_file(FixtureDir() / "GRAPHER.OUT", dir.path() / "Grapher.Out");
    EXPECT_EQ(platform::FindChartFile(dir.path(), "PieChart.out").filename(), "piechart.OUT");
    EXPECT_TRUE(platform::ReadPieChartFile(dir.path(), ChartFile::AssetAllocation).ok());
    EXPECT_TRUE(platform::ReadLineChartFile(dir.path()).ok());
    EXPECT_TRUE(platform::FindChartFile(dir.path(), "PieChrt1.out").empty());

    WriteText(dir.path() / "PieChart.out", "EXACT\r\nX                                     1.0\r\n");
    EXPECT_EQ(platform::FindChartFile(dir.path(), "PieChart.out").filename(), "PieChart.out");
    EXPECT_EQ(platform::ReadPieChartFile(dir.path(), ChartFile::AssetAllocation).data.title, "EXACT");
}

struct ErrorCase {
    const char* what;
    ChartFile file;
    const char* name;  // the file written, or nullptr for none
    std::string text;
    const char* message;
};

std::string Label32(const std::string& label) {
    return label + std::string(32 - label.size(), ' ');
}

const std::string kNames = "2\nPORTFOLIO\nINDEX\nMONTHS\n";

const std::vector<ErrorCase> kErrors = {
    {"no asset allocation file", ChartFile::AssetAllocation, nullptr, "", "Chart data file does not exist."},
    {"no industry category file", ChartFile::IndustryCategory, "PIECHART.OUT",
     "T\nX" + std::string(31, ' ') + " 5.0\n", "Chart data file does not exist."},
    {"no performance file", ChartFile::Performance, nullptr, "", "Chart data file does not exist."},
    {"a folder of the name", ChartFile::AssetAllocation, "PIECHART.OUT/", "",
     "Chart data file does not exist."},
    {"empty asset allocation file", ChartFile::AssetAllocation, "PIECHART.OUT", "",
     "PieChart.out does not have title."},
    {"empty industry category file", ChartFile::IndustryCategory, "PIECHRT1.OUT", "",
     "PieChart.out does not have title."},
    {"title only", ChartFile::AssetAllocation, "PIECHART.OUT", "ASSET ALLOCATION - SMITH\r\n",
     "0 data records in file."},
    {"industry title only", ChartFile::IndustryCategory, "PIECHRT1.OUT", " COMMON STOCKS - SMITH\r\n",
     "0 data records in file."},
    {"text for the percentage", ChartFile::AssetAllocation, "PIECHART.OUT",
     "T\n" + Label32("BONDS") + "   N/A\n", "PieChart.out has improperly formatted percentage."},
    {"a line shorter than the label", ChartFile::AssetAllocation, "PIECHART.OUT", "T\nBONDS   12.0\n",
     "PieChart.out has improperly formatted percentage."},
    {"an overflowed percentage", ChartFile::AssetAllocation, "PIECHART.OUT",
     "T\n" + Label32("BONDS") + "**********\n", "PieChart.out has improperly formatted percentage."},
    {"a blank line among the slices", ChartFile::AssetAllocation, "PIECHART.OUT",
     "T\n" + Label32("BONDS") + "      12.0\n\n" + Label32("STOCKS") + "      88.0\n",
     "PieChart.out has improperly formatted percentage."},
    {"empty performance file", ChartFile::Performance, "GRAPHER.OUT", "",
     "Grapher.out does not have record 1."},
    {"no count", ChartFile::Performance, "GRAPHER.OUT", " X\nA\n", "Grapher.out does not have record 1."},
    {"four data sets", ChartFile::Performance, "GRAPHER.OUT", " 4\nA\nB\nC\nD\nM\n 1 1 2 3 4\n",
     "Grapher.out has more than 10 data sets."},
    {"a name missing", ChartFile::Performance, "GRAPHER.OUT", " 3\n PORTFOLIO\n INDEX\n",
     "Grapher.out:Error reading names."},
    {"no period lines", ChartFile::Performance, "GRAPHER.OUT", kNames, "0 data records in file."},
    {"no period line after the names", ChartFile::Performance, "GRAPHER.OUT", "2\nPORTFOLIO\nINDEX\n",
     "0 data records in file."},
    {"no data set", ChartFile::Performance, "GRAPHER.OUT", " 0\n MONTHS\n   1\n", "0 data records in file."},
    {"only unreadable period lines", ChartFile::Performance, "GRAPHER.OUT",
     kNames + "   1   N/A    0.0 \n   2   1.0 \n", "0 data records in file."},
};

TEST(ChartFiles, EachFailureGivesItsMessage) {
    EXPECT_EQ(platform::kChartErrorCaption, "Charting Error");
    for (const ErrorCase& c : kErrors) {
        SCOPED_TRACE(c.what);
        fixtures::TempDataDir dir;
        if (c.name) {
            const std::string name = c.name;
            if (name.back() == '/')
                fs::create_directory(dir.path() / name.substr(0, name.size() - 1));
            else
                WriteText(dir.path() / name, c.text);
        }
        const std::string error = c.file == ChartFile::Performance
                                      ? platform::ReadLineChartFile(dir.path()).error
                                      : platform::ReadPieChartFile(dir.path(), c.file).error;
        EXPECT_EQ(error, c.message);
    }
}

// Three data sets fit; the chart shows no more.
TEST(ChartFiles, ThreeDataSetsAreRead) {
    fixtures::TempDataDir dir;
    WriteText(dir.path() / "GRAPHER.OUT", " 3\n A\n B\n C\n MONTHS\n   1   1.0    2.0    3.0 \n");
    const auto read = platform::ReadLineChartFile(dir.path());
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.data.values, (std::vector<std::vector<double>>{{1.0}, {2.0}, {3.0}}));
}

struct PeriodCase {
    const char* what;
    int sets;
    std::string line;
    std::optional<std::vector<double>> values;  // nullopt: the line is left out
};

const std::vector<PeriodCase> kPeriods = {
    {"writer's layout", 3, "   2   1.2    0.8    1.0 ", std::vector<double>{1.2, 0.8, 1.0}},
    {"values beyond the data sets ignored", 1, "   2   1.2    0.8    1.0 ", std::vector<double>{1.2}},
    {"free spacing and signs", 2, "5 -3.5\t+7", std::vector<double>{-3.5, 7.0}},
    {"six-character value against the period", 1, "  991000.0    0.0    0.0 ", std::vector<double>{1000.0}},
    {"three-digit period and wide values", 3, " 1231234.5 -100.0   12.0 ",
     std::vector<double>{1234.5, -100.0, 12.0}},
    {"a value not given", 2, "   4   N/A    1.0 ", std::nullopt},
    {"a value missing", 2, "   4   1.0", std::nullopt},
    {"a letter for the period", 1, "  A   1.5", std::nullopt},
    {"a blank line", 1, "", std::nullopt},
};

TEST(ChartFiles, PeriodLines) {
    for (const PeriodCase& c : kPeriods) {
        SCOPED_TRACE(c.what);
        fixtures::TempDataDir dir;
        std::string text = " " + std::to_string(c.sets) + "\n";
        for (int s = 0; s < c.sets; ++s) text += " NAME\n";
        // A good line after the one under test shows whether it was left out.
        text += " MONTHS\n" + c.line + "\r\n  99  42.0   42.0   42.0 \r\n";
        WriteText(dir.path() / "GRAPHER.OUT", text);
        const auto read = platform::ReadLineChartFile(dir.path());
        ASSERT_TRUE(read.ok()) << read.error;
        ASSERT_EQ(read.data.values.size(), static_cast<std::size_t>(c.sets));
        for (int s = 0; s < c.sets; ++s) {
            std::vector<double> expected;
            if (c.values) expected.push_back((*c.values)[static_cast<std::size_t>(s)]);
            expected.push_back(42.0);
            EXPECT_EQ(read.data.values[static_cast<std::size_t>(s)], expected) << "data set " << s + 1;
        }
    }
}

// Lines are read whole however long they are; a data set's name keeps its
// first 49 characters.
TEST(ChartFiles, LongLines) {
    fixtures::TempDataDir dir;
    const std::string title(150, 'T');
    WriteText(dir.path() / "PIECHART.OUT", title + "\n" + Label32("BONDS") + std::string(100, ' ') + "7.5\n");
    const auto pie = platform::ReadPieChartFile(dir.path(), ChartFile::AssetAllocation);
    ASSERT_TRUE(pie.ok()) << pie.error;
    EXPECT_EQ(pie.data.title, title);
    ASSERT_EQ(pie.data.slices.size(), 1u);
    EXPECT_DOUBLE_EQ(pie.data.slices[0].percent, 7.5);

    WriteText(dir.path() / "GRAPHER.OUT", "1\n" + std::string(60, 'N') + "\nMONTHS\n1 2.5\n");
    const auto line = platform::ReadLineChartFile(dir.path());
    ASSERT_TRUE(line.ok()) << line.error;
    EXPECT_EQ(line.data.names, std::vector<std::string>{std::string(49, 'N')});
}

TEST(ChartFiles, SliceLabels) {
    const struct {
        double percent;
        const char* label;
    } cases[] = {{61.5, "X - 61.5%"},
                 {0.04, "X - 0.0%"},
                 {-2.35, "X - -2.4%"},
                 {100.0, "X - 100.0%"},
                 {12.25, "X - 12.2%"}};  // printf's rounding of the nearest double
    for (const auto& c : cases) EXPECT_EQ((platform::PieSlice{"X", c.percent}.Label()), c.label) << c.percent;
}

}  // namespace
