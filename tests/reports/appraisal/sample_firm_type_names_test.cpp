// The type names of the sample firm's account appraisal when its
// TYPENAME.DAT is gone: the firm still lists its codes in COMMON.FIL
// record 27, and the titles come from the standard names of those codes.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/security_types.h"
#include "reports/appraisal/account_appraisal.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

constexpr const char* kCopy = "APPR.TXT";

struct Appraised {
    records::TypeNames types;  // as the type lists read them
    std::string text;          // report 103 of SMITH1
};

// A copy of the sample firm, with or without its TYPENAME.DAT: the type
// table the lists read there and the account appraisal of SMITH1 as of the
// firm's program date. Neither writes the type table: no TYPENAME.DAT is
// made and COMMON.FIL keeps its bytes.
Appraised AppraiseSmith1(bool names_file) {
    SCOPED_TRACE(names_file ? "with TYPENAME.DAT" : "without TYPENAME.DAT");
    TempDataDir dir;
    TempDataDir::CopySampleFirm();
    if (!names_file) {
        EXPECT_EQ(std::remove(records::kTypeNameFile), 0);
    }
    EXPECT_TRUE(records::HasTypeTable());
    const std::vector<unsigned char> common = TempDataDir::ReadBytes(records::kCommonFile);
    Appraised a;
    a.types = records::ReadTypeNames();
    reports::Mclntapr("S   ", "????", "SMITH1", records::ProgramDateText(), "N   ", 3, kCopy, 12);
    a.text = fixtures::ReportText(kCopy);
    EXPECT_EQ(TempDataDir::Exists(records::kTypeNameFile), names_file);
    EXPECT_EQ(TempDataDir::ReadBytes(records::kCommonFile), common);
    return a;
}

TEST(SampleFirmTypeNames, WithoutTheNamesFileTheListsAndTheAppraisalKeepTheNames) {
    const Appraised with = AppraiseSmith1(true);
    const Appraised without = AppraiseSmith1(false);
    // The sample firm's names are the standard ones, under its codes.
    EXPECT_EQ(with.types.names, records::StandardTypeNames().names);
    EXPECT_EQ(without.types.codes, with.types.codes);
    EXPECT_EQ(without.types.names, with.types.names);
    // SMITH1's groups on the holdings pages, each titled and underlined
    // with the name of its type; the whole report is the same without the
    // names file.
    for (const std::string title : {"CASH AND EQUIVALENTS", "MUNICIPAL BONDS", "GOVERNMENT AGENCY BONDS",
                                    "CORPORATE BONDS", "COMMON STOCKS"}) {
        const std::string indent(21, ' ');
        EXPECT_NE(
            with.text.find("\n" + indent + title + "\n" + indent + std::string(title.size(), '-') + "\n"),
            std::string::npos)
            << title;
    }
    EXPECT_NE(with.text.find("\n" + std::string(21, ' ') + "TOTAL COMMON STOCKS "), std::string::npos);
    EXPECT_EQ(without.text, with.text);
}

}  // namespace
