// The tax record file A:IRSTAX: 1099-B and 1099-DIV runs compared byte for
// byte with records built by hand from the record layouts, the address
// analysis, and the runs whose file cannot be written or whose amounts do
// not fit.

#include "reports/gains_tax/tax_record_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "records/record.h"
#include "reports/gains_tax/income_summary.h"
#include "reports/gains_tax/realised_gains.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/gains_tax/gains_fixture.h"

namespace {

using fixtures::TempDataDir;

// A 420-character record: blanks, with each text placed at its 1-based
// position.
std::string Rec(std::initializer_list<std::pair<int, std::string>> fields) {
    std::string rec(420, ' ');
    for (const auto& [position, text] : fields)
        rec.replace(static_cast<std::size_t>(position - 1), text.size(), text);
    return rec;
}

std::string Pad(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

std::string Zeros(std::size_t n) {
    return std::string(n, '0');
}

// The file as it stands: its lines, each ended by CR LF.
std::vector<std::string> TaxFileLines() {
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("A/IRSTAX");
    const std::string text(bytes.begin(), bytes.end());
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "a record not ended by CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

void ExpectRecords(const std::vector<std::string>& expected) {
    const std::vector<std::string> got = TaxFileLines();
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].size(), 420u);
        EXPECT_EQ(got[i], expected[i]) << "record " << i + 1;
    }
}

void WriteLetterhead() {
    fixtures::WriteLetterheadLines({"LEDRA TEST ADVISERS INC", "1 FINANCIAL PLAZA", "HARTFORD CT 06103", "",
                                    "", "061234567 PAYER", "", ""});
}

// The end-of-transmission record.
const std::string kF = Rec({{1, "F0001"}, {6, Zeros(25)}});

TEST(TaxRecordFile, GainsRunWritesPayerTwoPayeesAndEnds) {
    TempDataDir dir;
    gains_fixture::WriteAll();
    WriteLetterhead();
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    std::filesystem::create_directory("A");
    std::string id = "        ";
    int16_t status = 0, page = 0;
    // March: SMITH's reacquired lot (a gain of 100.00) and JONES's loss of
    // 123.45; BILLS has no lot in the month.
    reports::Glprint("A   ", "????", id, " 3/01/97", " 3/31/97", 3, status, page, "TAXB.TXT    ", "TC123   ",
                     "ACME");
    fixtures::CompareWithGolden("reports/gains_tax/realised_gains_tax_file_run.txt",
                                fixtures::ReportText("TAXB.TXT"));

    const std::string a = Rec({{1, "A"},
                               {2, "97"},
                               {7, "061234567"},
                               {16, "ACME"},
                               {22, "B"},
                               {23, "26"},
                               {44, "TC123"},
                               {50, Pad("LEDRA TEST ADVISERS INC", 40)},
                               {131, Pad("1 FINANCIAL PLAZA", 40)},
                               {171, Pad("HARTFORD CT 06103", 40)}});
    // JOHN Q PUBLIC: one-letter middle initial; a street line with digits;
    // the number's dashes dropped.
    const std::string smith = Rec({{1, "B"},
                                   {2, "97"},
                                   {8, "PUBL"},
                                   {14, "2"},
                                   {15, "123456789"},
                                   {24, "SMITH-ACCOUNT-NUMBER"},
                                   {51, Zeros(90)},
                                   {61, "0000100000"},
                                   {101, "0000010000"},
                                   {162, Pad("JOHN Q PUBLIC", 32)},
                                   {242, Pad("123 MAIN STREET", 32)},
                                   {282, Pad("SPRINGFIELD,", 29)},
                                   {311, "IL"},
                                   {313, "62701"},
                                   {360, "1"},
                                   {361, "030397"},
                                   {371, "459200101"},
                                   {380, "    10.00 shares of IBM         "}});
    // MARY SMITH: a second name line; the ZIP cut to 9 characters.
    const std::string jones = Rec({{1, "B"},
                                   {2, "97"},
                                   {8, "SMIT"},
                                   {14, "2"},
                                   {15, "987654321"},
                                   {24, "JONES-1"},
                                   {51, Zeros(90)},
                                   {61, "0000200000"},
                                   {101, "-000012345"},
                                   {162, Pad("MARY SMITH", 32)},
                                   {202, Pad("C/O JONES TRUST", 32)},
                                   {242, Pad("44 ELM ROAD APT 5", 32)},
                                   {282, Pad("BOSTON", 29)},
                                   {311, "MA"},
                                   {313, "02110-123"},
                                   {360, "1"},
                                   {361, "030197"},
                                   {371, "123456AB7"},
                                   {380, "    20.00 shares of BOND        "}});
    // Proceeds 3,000.00; gains 100.00 - 123.45 = -23.45.
    const std::string c =
        Rec({{1, "C"}, {2, "000002"}, {11, Zeros(135)}, {26, "000000000300000"}, {86, "-00000000002345"}});
    ExpectRecords({a, smith, jones, c, kF});
}

// Dividends of 10.00 (SMITH), 9.99 (JONES, no record) and 250.00 (LEBLANC,
// a foreign address) for the income summary's 1099-DIV file.
void WriteDividendData() {
    gains_fixture::WriteCommon();
    WriteLetterhead();
    fixtures::WriteSecurityFiles(
        {{.symbol = "CASH", .description1 = "CASH", .type = "C   "},
         {.symbol = "IBM", .description1 = "INTL BUSINESS MACHINES", .type = "N   "}});
    fixtures::WriteClients({
        gains_fixture::SmithClient(),
        gains_fixture::JonesClient(),
        {.id = "LEBLANC",
         .address = {"PIERRE LEBLANC", "APT 12 RUE DU PORT", "TORONTO ONTARIO M5V3L9", "", ""},
         .manager = "AB",
         .short_name = "PIERRE LEBLANC",
         .tax_id = "555 444 333",
         .custodian_account = "LEBLANC-7"},
    });
    const auto dividend = [](const char* date, double amount) {
        return fixtures::Transaction("DI", "IBM", "", date, 0, amount, 0, 2);
    };
    fixtures::WriteTransactions("SMITH", {dividend(" 3/01/97", 4.00), dividend(" 6/01/97", 6.00)});
    fixtures::WriteTransactions("JONES", {dividend(" 3/01/97", 9.99)});
    fixtures::WriteTransactions("LEBLANC", {dividend(" 3/01/97", 250.00)});
}

std::string RunIncome(const std::string& correction, const std::string& manager = "????") {
    int16_t status = 0;
    reports::Taxre("A   ", manager, "        ", " 1/01/97", "12/31/97", status, 3, "TAXD.TXT    ", 12,
                   "TC123   ", "ACME", correction);
    return fixtures::ReportText("TAXD.TXT");
}

const std::string kDivPayer = Rec({{1, "A"},
                                   {2, "97"},
                                   {7, "061234567"},
                                   {16, "ACME"},
                                   {22, "1"},
                                   {23, "12345"},
                                   {44, "TC123"},
                                   {50, Pad("LEDRA TEST ADVISERS INC", 40)},
                                   {130, "0"},
                                   {131, Pad("1 FINANCIAL PLAZA", 40)},
                                   {171, Pad("HARTFORD CT 06103", 40)}});

TEST(TaxRecordFile, DividendRunWritesAccountsOfTenDollarsOrMore) {
    TempDataDir dir;
    WriteDividendData();
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    std::filesystem::create_directory("A");
    // The report prints SMITH and LEBLANC (not JONES, below 10.00) and
    // the format error report warns of LEBLANC's address.
    fixtures::CompareWithGolden("reports/gains_tax/income_summary_tax_file_run.txt", RunIncome("N   "));

    const std::string smith = Rec({{1, "B"},
                                   {2, "97"},
                                   {8, "PUBL"},
                                   {14, "2"},
                                   {15, "123456789"},
                                   {24, "SMITH-ACCOUNT-NUMBER"},
                                   {51, Zeros(90)},
                                   {51, "0000001000"},
                                   {61, "0000001000"},
                                   {162, Pad("JOHN Q PUBLIC", 32)},
                                   {242, Pad("123 MAIN STREET", 32)},
                                   {282, Pad("SPRINGFIELD,", 29)},
                                   {311, "IL"},
                                   {313, "62701"}});
    // A second line with a digit is the street; the province's last two
    // letters ("IO") are no state: foreign, the whole line in 282-321.
    const std::string leblanc = Rec({{1, "B"},
                                     {2, "97"},
                                     {8, "LEBL"},
                                     {14, "2"},
                                     {15, "555444333"},
                                     {24, "LEBLANC-7"},
                                     {51, Zeros(90)},
                                     {51, "0000025000"},
                                     {61, "0000025000"},
                                     {161, "1"},
                                     {162, Pad("PIERRE LEBLANC", 32)},
                                     {242, Pad("APT 12 RUE DU PORT", 32)},
                                     {282, Pad("TORONTO ONTARIO M5V3L9", 40)}});
    const std::string c =
        Rec({{1, "C"}, {2, "000002"}, {11, Zeros(135)}, {11, "000000000026000"}, {26, "000000000026000"}});
    ExpectRecords({kDivPayer, smith, leblanc, c, kF});
}

TEST(TaxRecordFile, WithoutTheOptionEveryAccountIsPrintedAndNoFileWritten) {
    TempDataDir dir;
    WriteDividendData();
    std::filesystem::create_directory("A");
    const std::string text = RunIncome("N   ");
    EXPECT_NE(text.find("ACCOUNT: JONES"), std::string::npos);
    EXPECT_NE(text.find("                                   9.99"), std::string::npos);
    EXPECT_EQ(text.find("FORMAT ERROR"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists("A/IRSTAX"));
}

TEST(TaxRecordFile, CorrectionFileMarksPayerAndPayees) {
    TempDataDir dir;
    WriteDividendData();
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    std::filesystem::create_directory("A");
    RunIncome("Y   ", "AC  ");  // JONES alone: no payee
    std::string payer = kDivPayer;
    payer[31] = 'C';
    const std::string c = Rec({{1, "C"}, {2, "000000"}, {11, Zeros(135)}});
    ExpectRecords({payer, c, kF});
    RunIncome("Y   ", "AB  ");
    const std::vector<std::string> lines = TaxFileLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0][31], 'C');
    EXPECT_EQ(lines[1].substr(0, 11), "B97   GPUBL");
    EXPECT_EQ(lines[2].substr(0, 11), "B97   GLEBL");
}

TEST(TaxRecordFile, GainsRunWithoutPaymentsWritesTheEnds) {
    TempDataDir dir;
    gains_fixture::WriteAll();
    WriteLetterhead();
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    std::filesystem::create_directory("A");
    std::string id = "BILLS   ";
    int16_t status = 0, page = 0;
    reports::Glprint("S   ", "????", id, " 1/01/97", "12/31/97", 3, status, page, "TAXB.TXT    ", "TC123   ",
                     "ACME");
    const std::vector<std::string> lines = TaxFileLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], Rec({{1, "C"}, {2, "000000"}, {11, Zeros(135)}}));
    EXPECT_EQ(lines[2], kF);
}

TEST(TaxRecordFile, AmountTooLargeForItsFieldWritesNoPayee) {
    TempDataDir dir;
    gains_fixture::WriteAll();
    WriteLetterhead();
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    std::filesystem::create_directory("A");
    fixtures::WriteGains("JONES", {{.sold = " 3/01/97",
                                    .bought = " 9/15/96",
                                    .description1 = "BIG SALE",
                                    .proceeds = 100000000.00,
                                    .cost = 99999990.00,
                                    .quantity = 1,
                                    .symbol = "IBM"},
                                   {.sold = " 3/02/97",
                                    .bought = " 9/15/96",
                                    .description1 = "LARGEST FIT",
                                    .proceeds = 99999999.99,
                                    .cost = 99999990.00,
                                    .quantity = 1,
                                    .symbol = "IBM"}});
    std::string id = "JONES   ";
    int16_t status = 0, page = 0;
    reports::Glprint("S   ", "????", id, " 1/01/97", "12/31/97", 3, status, page, "TAXB.TXT    ", "TC123   ",
                     "ACME");
    const std::string text = fixtures::ReportText("TAXB.TXT");
    EXPECT_NE(text.find("                        1099-B RECORD FORMAT ERROR REPORT\n\n"
                        " WARNING; ACCOUNT JONES   HAS AN AMOUNT TOO LARGE FOR THE TAX FILE.\n"),
              std::string::npos);
    const std::vector<std::string> lines = TaxFileLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].substr(60, 10), "9999999999");
    EXPECT_EQ(lines[1].substr(100, 10), "0000000999");
    EXPECT_EQ(lines[2].substr(0, 7), "C000001");
}

TEST(TaxRecordFile, AFileThatCannotBeWrittenIsToldInTheReport) {
    TempDataDir dir;
    WriteDividendData();
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    // No folder A: the file cannot be made.
    const std::string text = RunIncome("N   ");
    EXPECT_NE(text.find(" *** Warning: the tax file A:IRSTAX could not be written.\n"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists("A/IRSTAX"));
}

TEST(TaxRecordFile, AddressAnalysis) {
    struct Case {
        std::array<std::string, 4> lines;
        const char* name_control;
        const char* second_name;
        const char* street;
        const char* city;
        const char* state;
        const char* zip;
        bool foreign;
    };
    const Case cases[] = {
        {{"JOHN Q PUBLIC", "123 MAIN ST", "SPRINGFIELD IL 62701", ""},
         "PUBL",
         "",
         "123 MAIN ST",
         "SPRINGFIELD",
         "IL",
         "62701",
         false},
        // An apartment line with a digit is the street, so the next line is
        // taken as the city line, whatever it holds.
        {{"MARY SMITH", "APT 4B", "12 OAK LANE", "DALLAS TX 75201"},
         "SMIT",
         "",
         "APT 4B",
         "12 O",
         "AK",
         "LANE",
         false},
        {{"MARY SMITH", "SMITH FAMILY TRUST", "12 OAK LANE", "DALLAS,TX 752011234567"},
         "SMIT",
         "SMITH FAMILY TRUST",
         "12 OAK LANE",
         "DALLAS,",
         "TX",
         "752011234",
         false},
        {{"AL B CD", "1 A ST", "", ""}, "CD", "", "1 A ST", "", "", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines[0] + " / " + c.lines[1]);
        const reports::PayeeAddress a = reports::AnalysePayeeAddress(c.lines);
        EXPECT_EQ(a.name_control, records::Fixed(c.name_control, 4));
        EXPECT_EQ(a.second_name, records::Fixed(c.second_name, 32));
        EXPECT_EQ(a.street, records::Fixed(c.street, 32));
        EXPECT_EQ(a.city, records::Fixed(c.city, 29));
        EXPECT_EQ(a.state, records::Fixed(c.state, 2));
        EXPECT_EQ(a.zip, records::Fixed(c.zip, 9));
        EXPECT_EQ(a.foreign, c.foreign);
    }
    EXPECT_EQ(reports::TaxAmountField(-12345, 10), "-000012345");
    EXPECT_EQ(reports::TaxAmountField(9999999999LL, 10), "9999999999");
    EXPECT_EQ(reports::TaxAmountField(10000000000LL, 10), "");
    EXPECT_EQ(reports::TaxAmountField(-999999999LL, 10), "-999999999");
    EXPECT_EQ(reports::TaxAmountField(-1000000000LL, 10), "");
}

}  // namespace
