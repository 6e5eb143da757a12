#include "reports/kernel/lot_securities.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LastCouponDate, BringsTheCouponDateToTheLastOneOnOrBeforeTheReportDate) {
    struct Case {
        const char* coupon;
        float report;
        const char* last;
    };
    const Case cases[] = {
        {" 1/15/99", 980315, " 1/15/98"},   // later: stepped back
        {"08/01/95", 981231, " 8/01/98"},   // earlier by years: stepped forward
        {" 3/15/98", 980315, " 3/15/98"},   // on the report date
        {" 9/15/97", 980314, " 9/15/97"},   // already the last one
        {"08/31/97", 980315, " 2/28/98"},   // the day kept within February
        {" 2/28/98", 980831, " 8/28/98"},   // the day of the stepped date carries on
        {"11/15/99", 1000601, " 5/15/00"},  // across 2000
        {"        ", 980315, "        "},   // blank: left alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.coupon);
        std::string date = c.coupon;
        reports::LastCouponDate(c.report, date);
        EXPECT_EQ(date, c.last);
    }
}

}  // namespace
