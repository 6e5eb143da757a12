// PCONTROL.FIL: both records built by hand at their byte offsets, read
// field by field and written back byte for byte; the file routines keep
// slots apart, refuse slots outside 1-100 and keep the header when a run
// is marked finished.

#include "records/performance_control.h"

#include <gtest/gtest.h>

#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

Record HandHeader() {
    Record r(256, 0);
    r.SetI16(0, 10);
    r.SetI16(2 + 2 * 9, 1);   // flag of slot 10
    r.SetI16(2 + 2 * 99, 7);  // last flag
    r.SetI16(202, 42);
    r.SetI16(204, 1);
    r.SetText(206, 4, "AB??");
    r.SetText(210, 4, "Q");
    r.SetI16(214, 3);
    r.SetText(216, 8, "01/31/24");
    return r;
}

Record HandAccount() {
    Record r(256, 0);
    r.SetText(0, 8, "ACCT0001");
    r.SetI16(8, 12);
    r.SetI16(10, 123);
    r.SetI16(12, 5);
    r.SetI16(14, 17);
    r.SetText(16, 8, "12/31/23");
    r.SetText(24, 8, "12/31/23");
    r.SetR4(32, 1231231.0f);
    r.SetText(36, 32, "SMITH FAMILY TRUST");
    r.SetText(68, 4, "ABCD");
    r.SetText(72, 8, "03/15/19");
    r.SetR8(80, 250000.25);
    r.SetR4(88, 101.5f);
    r.SetR4(92, -2.25f);
    r.SetI16(96, 6);
    r.SetI16(98, 122);
    r.SetR8(100, -1234.5);
    r.SetR4(108, 7.75f);
    r.SetR4(112, 0.5f);
    r.SetI16(116, 2);
    r.SetText(118, 4, "S");
    r.SetR4(122, 3.125f);
    r.SetI16(126, 31);
    r.SetI16(128, 12);
    r.SetI16(130, 1);
    r.SetI16(132, 9);
    r.SetI16(134, 5);
    return r;
}

TEST(PerformanceControl, HeaderFieldsAndRoundTrip) {
    const Record rec = HandHeader();
    const PerformanceHeader h = PerformanceHeader::Decode(rec);
    EXPECT_EQ(h.slot, 10);
    EXPECT_EQ(h.slot_flags[9], 1);
    EXPECT_EQ(h.slot_flags[99], 7);
    EXPECT_EQ(h.slot_flags[0], 0);
    EXPECT_EQ(h.remaining, 42);
    EXPECT_EQ(h.written, 1);
    EXPECT_EQ(h.manager, "AB??");
    EXPECT_EQ(h.frequency, "Q   ");
    EXPECT_EQ(h.output_mode, 3);
    EXPECT_EQ(h.start_date, "01/31/24");
    EXPECT_EQ(h.Encode().bytes(), rec.bytes());
}

TEST(PerformanceControl, AccountFieldsAndRoundTrip) {
    const Record rec = HandAccount();
    const PerformanceAccount a = PerformanceAccount::Decode(rec);
    EXPECT_EQ(a.account, "ACCT0001");
    EXPECT_EQ(a.last_month, 12);
    EXPECT_EQ(a.last_year, 123);
    EXPECT_EQ(a.index_position, 5);
    EXPECT_EQ(a.index_count, 17);
    EXPECT_EQ(a.end_date, "12/31/23");
    EXPECT_EQ(a.end_date_copy, "12/31/23");
    EXPECT_FLOAT_EQ(a.end_date_number, 1231231.0f);
    EXPECT_EQ(TrimRight(a.title), "SMITH FAMILY TRUST");
    EXPECT_EQ(a.manager, "ABCD");
    EXPECT_EQ(a.opening_date, "03/15/19");
    EXPECT_DOUBLE_EQ(a.initial_value, 250000.25);
    EXPECT_FLOAT_EQ(a.index1_base, 101.5f);
    EXPECT_FLOAT_EQ(a.index2_base, -2.25f);
    EXPECT_EQ(a.carry_month, 6);
    EXPECT_EQ(a.carry_year, 122);
    EXPECT_DOUBLE_EQ(a.carried_gain, -1234.5);
    EXPECT_FLOAT_EQ(a.carried_return, 7.75f);
    EXPECT_FLOAT_EQ(a.figure_b, 0.5f);
    EXPECT_EQ(a.status, 2);
    EXPECT_EQ(a.selection, "S   ");
    EXPECT_FLOAT_EQ(a.figure_c, 3.125f);
    EXPECT_EQ(a.end_day, 31);
    EXPECT_EQ(a.end_month, 12);
    EXPECT_EQ(a.history, 1);
    EXPECT_EQ(a.fiscal_month, 9);
    EXPECT_EQ(a.choice, 5);
    EXPECT_EQ(a.Encode().bytes(), rec.bytes());
}

TEST(PerformanceControl, ShortRecordReadsAsZeroFilledAndEncodingDropsStrayBytes) {
    Record cut(100, 0);
    cut.SetI16(0, -99);
    const PerformanceHeader h = PerformanceHeader::Decode(cut);
    EXPECT_EQ(h.slot, -99);
    EXPECT_EQ(h.output_mode, 0);
    EXPECT_EQ(h.start_date, std::string(8, '\0'));

    Record dirty = HandAccount();
    for (std::size_t k = 136; k < 256; ++k) dirty.data()[k] = 0xEE;
    EXPECT_EQ(PerformanceAccount::Decode(dirty).Encode().bytes(), HandAccount().bytes());
}

TEST(PerformanceControl, FileRoutines) {
    TempDataDir dir;
    PerformanceHeader h;
    EXPECT_FALSE(ReadPerformanceHeader(h));  // no file: no run in progress
    PerformanceAccount a;
    EXPECT_FALSE(ReadPerformanceAccount(10, a));

    const PerformanceAccount ten = PerformanceAccount::Decode(HandAccount());
    PerformanceAccount one = ten;
    one.account = "OTHER   ";
    ASSERT_TRUE(WritePerformanceAccount(10, ten));
    ASSERT_TRUE(WritePerformanceAccount(1, one));
    EXPECT_FALSE(WritePerformanceAccount(0, one));
    EXPECT_FALSE(WritePerformanceAccount(101, one));
    EXPECT_FALSE(ReadPerformanceAccount(101, a));

    ASSERT_TRUE(ReadPerformanceAccount(10, a));
    EXPECT_EQ(a.Encode().bytes(), HandAccount().bytes());
    ASSERT_TRUE(ReadPerformanceAccount(1, a));
    EXPECT_EQ(a.account, "OTHER   ");
    EXPECT_EQ(TempDataDir::ReadBytes(kPerformanceControlFile).size(), 20u * 256u);

    // Marking the run finished keeps the rest of the header.
    ASSERT_TRUE(WritePerformanceHeader(PerformanceHeader::Decode(HandHeader())));
    ASSERT_TRUE(WritePerformanceFinished());
    ASSERT_TRUE(ReadPerformanceHeader(h));
    EXPECT_EQ(h.slot, kPerformanceFinished);
    EXPECT_EQ(h.start_date, "01/31/24");
    EXPECT_EQ(h.manager, "AB??");
    ASSERT_TRUE(ReadPerformanceAccount(10, a));
    EXPECT_EQ(a.account, "ACCT0001");
}

TEST(PerformanceControl, FinishedWithoutFileWritesAFinishedHeader) {
    TempDataDir dir;
    ASSERT_TRUE(WritePerformanceFinished());
    PerformanceHeader h;
    ASSERT_TRUE(ReadPerformanceHeader(h));
    EXPECT_EQ(h.slot, kPerformanceFinished);
}

}  // namespace
