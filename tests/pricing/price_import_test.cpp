// The price file import: the sample file of each layout imported into a
// small data directory, the price files it writes byte for byte, the error
// report against its golden file, and the runs that import nothing.

#include "pricing/price_import.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/golden.h"
#include "tests/pricing/price_import_fixture.h"

namespace pricing {
namespace {

using pricing_test::Files;
using pricing_test::ReportText;
using records::Fixed;

// The bytes of a price file holding the prices, one 8-byte real a record.
std::vector<unsigned char> PriceFileBytes(const std::vector<double>& prices) {
    std::vector<unsigned char> bytes;
    for (double p : prices) {
        records::Record rec(8);
        rec.SetR8(0, p);
        bytes.insert(bytes.end(), rec.data(), rec.data() + 8);
    }
    return bytes;
}

void Import(const std::string& sample, int16_t layout, const std::string& identification = "S   ",
            const std::string& output = "") {
    pricing_test::CopySample(sample, "PRICES.PRI");
    Tranfi(Fixed("PRICES.PRI", 48), 48, layout, identification, Fixed(output, 12), 12);
}

struct LayoutCase {
    const char* sample;
    int16_t layout;
    std::map<std::string, std::vector<double>> price_files;
    const char* golden;
};

class ImportSampleTest : public ::testing::TestWithParam<LayoutCase> {};

// Every good line is filed in the price file of its date, every bad line
// gets a page of the report, and nothing else in the directory changes.
TEST_P(ImportSampleTest, FilesTheGoodLinesAndReportsTheBadOnes) {
    const LayoutCase& c = GetParam();
    fixtures::TempDataDir dir;
    pricing_test::WriteSampleData();
    Import(c.sample, c.layout);

    std::vector<std::string> expected_files = {"COMMON.FIL", "OUTPUT.TMP", "PRICES.PRI", "SECURITY.IDX",
                                               "SECURITY.REC"};
    for (const auto& [name, prices] : c.price_files) {
        expected_files.push_back(name);
        EXPECT_EQ(fixtures::TempDataDir::ReadBytes(name), PriceFileBytes(prices)) << name;
    }
    std::sort(expected_files.begin(), expected_files.end());
    EXPECT_EQ(Files(), expected_files);
    fixtures::CompareWithGolden(c.golden, ReportText());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ImportSampleTest,
    ::testing::Values(
        LayoutCase{"layout1.txt",
                   1,
                   {{"SE011598.PRC", {123.4567, 0, 0, 0, 0.1234, 0, 3.0}},
                    {"SE011698.PRC", {0, 0, 0, 0, 45.25}},
                    {"SE010598.PRC", {0, 0, 10.0}},
                    {"SE022996.PRC", {0, 0, 21.0}},
                    {"SE011498.PRC", {124.0}}},
                   "pricing/import_layout1.txt"},
        LayoutCase{"layout2.txt",
                   2,
                   {{"SE012098.PRC", {150.25, 0, 5.0, 0.1234, 0, 0, 3.5}}},
                   "pricing/import_layout2.txt"},
        LayoutCase{
            "layout3.txt", 3, {{"SE012098.PRC", {125, 0, 10.5, 0, 1234}}}, "pricing/import_layout3.txt"},
        LayoutCase{
            "layout4.txt", 4, {{"SE012098.PRC", {150.25, 0, 0, 0, 0.0042}}}, "pricing/import_layout4.txt"},
        LayoutCase{"layout5.txt",
                   5,
                   // "ABCDEFGH" prices ABCDEFGHIJ: the layout compares 8 characters.
                   {{"SE011598.PRC", {123.4567, 0, 77.125}}, {"SE011698.PRC", {0, 0, 0, 0, 45.5, 0, 12.25}}},
                   "pricing/import_layout5.txt"},
        LayoutCase{
            "layout6.txt", 6, {{"SE012098.PRC", {0, 0, 0, 99.5, 45.25}}}, "pricing/import_layout6.txt"},
        LayoutCase{
            "layout7.txt", 7, {{"SE011598.PRC", {123.4567, 0, 50, 1.234567}}}, "pricing/import_layout7.txt"},
        LayoutCase{"empty.txt", 1, {}, "pricing/import_no_lines.txt"}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) {
        return std::string(info.param.sample).substr(0, std::string(info.param.sample).find('.'));
    });

TEST(ImportTest, ByCusipTheFirstLiveSecurityWithThatCusipIsPriced) {
    fixtures::TempDataDir dir;
    pricing_test::WriteSampleData();
    pricing_test::CopySample("layout1.txt", "PRICES.PRI");
    Tranfi(Fixed("PRICES.PRI", 48), 48, 1, "C   ", Fixed("", 12), 12);
    // The IBM lines price MSFT, whose CUSIP is IBM (the deleted entry 2
    // before it has the same CUSIP); ABCDEFGHIJ is also a CUSIP.
    EXPECT_EQ(fixtures::TempDataDir::ReadBytes("SE011598.PRC"),
              PriceFileBytes({0, 0, 123.4567, 0, 0, 0, 3.0}));
    EXPECT_EQ(fixtures::TempDataDir::ReadBytes("SE011498.PRC"), PriceFileBytes({0, 0, 124.0}));
    EXPECT_FALSE(fixtures::TempDataDir::Exists("SE011698.PRC"));
    EXPECT_FALSE(fixtures::TempDataDir::Exists("SE010598.PRC"));
}

TEST(ImportTest, TheNamedOutputFileTakesACopyOfTheReport) {
    fixtures::TempDataDir dir;
    pricing_test::WriteSampleData();
    Import("layout4.txt", 4, "S   ", "NEWPRICE.TXT");
    const std::vector<unsigned char> bytes = fixtures::TempDataDir::ReadBytes("NEWPRICE.TXT");
    const std::string copy(bytes.begin(), bytes.end());
    EXPECT_NE(copy.find(" Warning, MSFT        has invalid price data."), std::string::npos);
    EXPECT_NE(copy.find(" Price data for MSFT        is not available."), std::string::npos);
    EXPECT_EQ(copy.find('\n'), 132u + 1);  // 132-character lines ended by CR LF
}

// Layouts 5 and 7 read their lines as they are: a control byte or a byte
// above 126 in a failing line's identifier shows as a blank on its page.
TEST(ImportTest, BytesThatAreNoCharactersShowAsBlanksInTheReport) {
    fixtures::TempDataDir dir;
    pricing_test::WriteSampleData();
    {
        records::TextFile file("PRICES.PRI");
        file.WriteLine(std::string("      X\x01Y\xffZ             9801150012A4567"));
    }
    Tranfi(Fixed("PRICES.PRI", 48), 48, 7, "S   ", Fixed("", 12), 12);
    EXPECT_NE(ReportText().find(" Warning, X Y Z       has invalid price data."), std::string::npos)
        << ReportText();
}

TEST(ImportTest, EveryLineIsImportedPastTenThousand) {
    fixtures::TempDataDir dir;
    pricing_test::WriteSampleData();
    {
        records::TextFile file("PRICES.PRI");
        for (int i = 1; i <= 12000; ++i) {
            // The last line's price is the one that stays.
            const std::string price = std::to_string(i) + ".5";
            file.WriteLine("XRX         01/15/98" + std::string(12 - price.size(), ' ') + price);
        }
    }
    Tranfi(Fixed("PRICES.PRI", 48), 48, 1, "S   ", Fixed("", 12), 12);
    EXPECT_EQ(fixtures::TempDataDir::ReadBytes("SE011598.PRC"), PriceFileBytes({0, 0, 0, 0, 12000.5}));
    EXPECT_NE(ReportText().find("No errors:  12000 prices filed."), std::string::npos);
}

TEST(ImportTest, AnImportIntoAnExistingPriceFileChangesOnlyItsRecords) {
    fixtures::TempDataDir dir;
    pricing_test::WriteSampleData();
    fixtures::TempDataDir::WriteBytes("SE012098.PRC", PriceFileBytes({1, 2, 3, 4, 5, 6, 7, 8}));
    Import("layout6.txt", 6);
    EXPECT_EQ(fixtures::TempDataDir::ReadBytes("SE012098.PRC"),
              PriceFileBytes({1, 2, 3, 99.5, 45.25, 6, 7, 8}));
}

// The security list is walked in entry order: entries past an unreadable
// SECURITY.REC record cannot be reached.
TEST(ImportTest, SecuritiesPastAnUnreadableRecordAreNotFound) {
    fixtures::TempDataDir dir;
    pricing_test::WriteSampleData();
    {
        records::DirectFile securities("SECURITY.REC", 128);
        securities.Truncate(3);
    }
    Import("layout3.txt", 3);
    EXPECT_EQ(fixtures::TempDataDir::ReadBytes("SE012098.PRC"), PriceFileBytes({125, 0, 10.5}));
}

TEST(ImportTest, RunsThatCannotImportWriteNothing) {
    struct Case {
        const char* what;
        bool securities;
        bool import_file;
    } cases[] = {
        {"no import file", true, false},
        {"no security list", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fixtures::TempDataDir dir;
        pricing_test::WriteCommon("01/20/98", 980120);
        if (c.securities) fixtures::WriteSecurities(pricing_test::SampleSecurities());
        if (c.import_file) pricing_test::CopySample("layout1.txt", "PRICES.PRI");
        const std::vector<std::string> before = Files();
        Tranfi(Fixed("PRICES.PRI", 48), 48, 1, "S   ", Fixed("OUT.TXT", 12), 12);
        EXPECT_EQ(Files(), before);
    }
    // An index whose count is 0.
    fixtures::TempDataDir dir;
    pricing_test::WriteCommon("01/20/98", 980120);
    fixtures::WriteSecurityIndex({});
    pricing_test::CopySample("layout1.txt", "PRICES.PRI");
    const std::vector<std::string> before = Files();
    Tranfi(Fixed("PRICES.PRI", 48), 48, 1, "S   ", Fixed("", 12), 12);
    EXPECT_EQ(Files(), before);
}

}  // namespace
}  // namespace pricing
