// TEMPHSUM.FIL: the header and a group record built by hand at their byte
// offsets, read field by field and written back byte for byte; the writer
// puts pass one's records after the header slot, the header's count over
// them and the type 36 group beyond the count.

#include "records/appraisal_summary.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

Record HandHeader() {
    Record r(256, 0);
    r.SetI16(0, 5);
    r.SetText(2, 8, "12/31/25");
    r.SetI16(10, 3);
    r.SetR8(12, 123456.78);
    r.SetI16(20, 1);
    r.SetI16(22, 3);
    r.SetText(24, 32, "         JOHN Q. SMITH");
    r.data()[56] = 'C';
    r.data()[57] = 'G';
    r.data()[58] = ' ';
    r.data()[59] = ' ';
    const unsigned char shares[7] = {10, 0, 25, 0, 65, 0, 0};
    for (int k = 0; k < 7; ++k) r.data()[60 + k] = shares[k];
    r.SetText(67, 32, "JOHN Q. SMITH");
    return r;
}

Record HandLine() {
    Record r(256, 0);
    r.SetI16(0, 18);
    r.SetText(2, 28, "COMMON STOCKS");
    r.SetText(30, 32, "  45.2% ");
    r.SetText(62, 32, "      100,000.00 ");
    r.SetText(94, 32, "      123,456.78 ");
    r.SetText(126, 32, "     23,456 ");
    r.SetText(158, 32, "   2.1% ");
    r.SetText(190, 32, "  2,592.00");
    r.SetI16(222, 18);
    return r;
}

TEST(AppraisalSummaryFile, HeaderReadsAndWritesEveryFieldAtItsOffset) {
    const Record hand = HandHeader();
    const AppraisalSummaryHeader h = AppraisalSummaryHeader::Decode(hand);
    EXPECT_EQ(h.count, 5);
    EXPECT_EQ(h.report_date, "12/31/25");
    EXPECT_EQ(h.stock_records, 3);
    EXPECT_DOUBLE_EQ(h.stock_market_value, 123456.78);
    EXPECT_EQ(h.first_category_index, 1);
    EXPECT_EQ(h.stock_total_index, 3);
    EXPECT_EQ(h.heading_name.substr(9, 13), "JOHN Q. SMITH");
    EXPECT_EQ(h.work_word[0], 'C');
    EXPECT_EQ(h.allocation[2], 25);
    EXPECT_EQ(h.allocation[4], 65);
    EXPECT_EQ(h.name.substr(0, 13), "JOHN Q. SMITH");
    EXPECT_EQ(h.Encode().bytes(), hand.bytes());
}

TEST(AppraisalSummaryFile, GroupRecordReadsAndWritesEveryFieldAtItsOffset) {
    const Record hand = HandLine();
    const AppraisalSummaryLine l = AppraisalSummaryLine::Decode(hand);
    EXPECT_EQ(l.kind, 18);
    EXPECT_EQ(l.name, "COMMON STOCKS               ");
    EXPECT_EQ(l.texts[0].substr(0, 8), "  45.2% ");
    EXPECT_EQ(l.texts[5].substr(0, 10), "  2,592.00");
    EXPECT_EQ(l.last_type, 18);
    EXPECT_EQ(l.Encode().bytes(), hand.bytes());
}

TEST(AppraisalSummaryFile, ShortRecordReadsAsZeroFilled) {
    Record cut(40, 0);
    cut.SetI16(0, 7);
    cut.SetText(2, 28, "BONDS");
    const AppraisalSummaryLine l = AppraisalSummaryLine::Decode(cut);
    EXPECT_EQ(l.kind, 7);
    EXPECT_EQ(l.texts[5], std::string(32, '\0'));
    EXPECT_EQ(l.last_type, 0);
}

AppraisalSummaryLine Line(int16_t kind, const char* name) {
    AppraisalSummaryLine l;
    l.kind = kind;
    l.name = name;
    return l;
}

TEST(AppraisalSummaryFile, WriterPutsTheHeaderOverPassOneAndType36BeyondIt) {
    TempDataDir dir;
    {
        AppraisalSummaryWriter w;
        ASSERT_TRUE(w.ok());
        EXPECT_TRUE(w.Add(Line(0, "OIL")));
        EXPECT_TRUE(w.Add(Line(0, "COMMON STOCKS")));
        EXPECT_TRUE(w.Add(Line(18, "COMMON STOCKS")));
        EXPECT_TRUE(w.Add(Line(kAccruedInterestKind, "TOTAL ACCRUED INTEREST")));
        EXPECT_TRUE(w.Add(Line(0, "COMMON STOCKS")));  // portfolio totals
        EXPECT_TRUE(w.WriteHeader(AppraisalSummaryHeader{}));
        EXPECT_TRUE(w.AddAfterHeader(Line(36, "OTHER")));
    }
    const DirectFile f(kAppraisalSummaryFile, 256, false);
    ASSERT_EQ(f.Count(), 7);
    Record r;
    ASSERT_TRUE(f.Read(1, r));
    EXPECT_EQ(AppraisalSummaryHeader::Decode(r).count, 5);
    ASSERT_TRUE(f.Read(5, r));
    EXPECT_EQ(AppraisalSummaryLine::Decode(r).kind, kAccruedInterestKind);
    ASSERT_TRUE(f.Read(7, r));
    EXPECT_EQ(AppraisalSummaryLine::Decode(r).kind, 36);
}

// A writing over an earlier, longer one: kept, the records past the new
// writing are the earlier ones; emptied, the file holds the new writing
// alone, as if it had been deleted first.
TEST(AppraisalSummaryFile, EarlierRecordsKeptOrEmptied) {
    for (const auto start : {AppraisalSummaryWriter::Start::Kept, AppraisalSummaryWriter::Start::Emptied}) {
        TempDataDir dir;
        {
            AppraisalSummaryWriter w;
            for (int i = 0; i < 4; ++i) w.Add(Line(0, "EARLIER"));
            w.WriteHeader(AppraisalSummaryHeader{});
        }
        {
            AppraisalSummaryWriter w(start);
            ASSERT_TRUE(w.ok());
            w.Add(Line(0, "LATER"));
            w.WriteHeader(AppraisalSummaryHeader{});
        }
        const DirectFile f(kAppraisalSummaryFile, 256, false);
        const bool kept = start == AppraisalSummaryWriter::Start::Kept;
        ASSERT_EQ(f.Count(), kept ? 5 : 2);
        Record r;
        ASSERT_TRUE(f.Read(2, r));
        EXPECT_EQ(TrimRight(AppraisalSummaryLine::Decode(r).name), "LATER");
        if (kept) {
            ASSERT_TRUE(f.Read(5, r));
            EXPECT_EQ(TrimRight(AppraisalSummaryLine::Decode(r).name), "EARLIER");
        }
    }
}

TEST(AppraisalSummaryFile, OnlyType36GivesCountOneAndTheGroupAtRecordThree) {
    TempDataDir dir;
    {
        AppraisalSummaryWriter w;
        w.Add(Line(0, "OTHER"));  // portfolio totals
        w.WriteHeader(AppraisalSummaryHeader{});
        w.AddAfterHeader(Line(36, "OTHER"));
    }
    const DirectFile f(kAppraisalSummaryFile, 256, false);
    Record r;
    ASSERT_TRUE(f.Read(1, r));
    EXPECT_EQ(AppraisalSummaryHeader::Decode(r).count, 1);
    ASSERT_TRUE(f.Read(3, r));
    EXPECT_EQ(AppraisalSummaryLine::Decode(r).kind, 36);
}

}  // namespace
