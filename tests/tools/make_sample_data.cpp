// make_sample_data: writes the small sample data directory that
// ./scripts/build starts the program on (sample-data/ in the repository):
// the firm name and program date in COMMON.FIL, two accounts, three
// securities and a start-up text, all through the record layer.
//
//   make_sample_data DIR      (DIR must not exist yet)

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "records/common_file.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_data DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    if (std::filesystem::exists(dir, error)) {
        std::fprintf(stderr, "make_sample_data: %s exists already; remove it first\n", argv[1]);
        return 1;
    }
    std::filesystem::create_directories(dir, error);
    std::filesystem::current_path(dir, error);
    if (error) {
        std::fprintf(stderr, "make_sample_data: cannot use %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }

    records::Record firm(128, ' ');
    firm.SetText(0, 50, "LEDRA SAMPLE ADVISERS");
    firm.SetI16(60, 0);  // page length: the printer's
    firm.SetI16(62, 0);  // no blank lines above the heading
    fixtures::WriteCommonRecord(records::kFirmHeadingRecord, firm);
    records::Setsdt("12/31/98");
    fixtures::SetOptions({{89, 1}});  // show the start-up text

    fixtures::WriteAccounts({
        {.id = "SMITH1",
         .name = "SMITH FAMILY TRUST",
         .manager = "AB",
         .salutation = "Dear Mr. and Mrs. Smith:",
         .short_name = "SMITH FAMILY TRUST",
         .opened = "01/02/97"},
        {.id = "JONES",
         .name = "MARY JONES IRA",
         .manager = "CD",
         .salutation = "Dear Ms. Jones:",
         .short_name = "MARY JONES IRA",
         .opened = "06/15/98"},
    });
    fixtures::WriteSecurities({
        {.symbol = "IBM", .cusip = "459200101", .description1 = "INTL BUSINESS MACHINES", .type = "H"},
        {.symbol = "GE", .cusip = "369604103", .description1 = "GENERAL ELECTRIC CO", .type = "H"},
        {.symbol = "CASHMM", .description1 = "MONEY MARKET FUND", .type = "1"},
    });

    std::ofstream text("startup.txt", std::ios::binary);
    for (const char* line :
         {"Welcome to Ledra.", "", "This sample data directory holds two client accounts (SMITH1 and JONES)",
          "and three securities. The program date is in the tool bar; type another",
          "date there to run reports as of that date.", "",
          "Check Disable and press Done to stop showing this text at start-up."})
        text << line << "\r\n";
    return text ? 0 : 1;
}
