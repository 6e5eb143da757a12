// The page-number override that printing holds while it reruns a report:
// the headings follow it instead of option 30, and COMMON.FIL keeps the
// option as it was.

#include <gtest/gtest.h>

#include <string>

#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

// The second line of one page heading written into OUTPUT.TMP: the page
// line, or a blank line when page numbers are suppressed.
std::string PageLine() {
    std::string name;
    Prtout(" ", "START", name);
    int16_t page = 7, line_count = 0, page_length = 0;
    Pghead(page, line_count, page_length);
    Prtout(" ", "END", name);
    DirectFile file(kReportWorkFile, 132, false);
    Record rec;
    return file.Read(2, rec) ? rec.Text(0, 132) : std::string("(no line)");
}

TEST(PageNumberOverride, HeadingsFollowTheOverrideAndTheOptionRecordStays) {
    TempDataDir dir;
    const std::string numbered = std::string(109, ' ') + "PAGE   7" + std::string(15, ' ');
    const std::string blank(132, ' ');
    for (const unsigned char option30 : {0, 1}) {
        Options options{};
        records::SetOption(options, records::Opt::kNoPageNumbers, option30);
        Wropts(options);
        SCOPED_TRACE("option 30 = " + std::to_string(option30));
        EXPECT_EQ(PageLine(), option30 ? blank : numbered);
        EXPECT_EQ(PageNumbersSuppressed(), option30 != 0);
        {
            PageNumberOverride numbers_on(false);
            EXPECT_EQ(PageLine(), numbered);
            EXPECT_FALSE(PageNumbersSuppressed());
            {
                PageNumberOverride numbers_off(true);
                EXPECT_EQ(PageLine(), blank);
            }
            EXPECT_EQ(PageLine(), numbered);
            EXPECT_EQ(records::OptionValue(Rdopts(), records::Opt::kNoPageNumbers), option30);
        }
        EXPECT_EQ(PageLine(), option30 ? blank : numbered);
    }
}

}  // namespace
