#pragma once

// What the tests of the two composite appraisals (Clntcom1, Cohold) share:
// the account appraisal's data directory, the run dates and account ids of
// a valuation pass, TEMP1.WRK read back, and a group whose rebuild stops.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "records/appraisal_files.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/groups.h"
#include "records/index.h"
#include "records/options.h"
#include "records/record.h"
#include "reports/appraisal/composite_appraisal.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/reports/appraisal/account_appraisal_fixture.h"

namespace compfix {

inline void Prepare(const std::vector<std::pair<records::Opt, unsigned char>>& options = {}) {
    aafix::WriteDirectory();
    aafix::SetOptions(options);
}

// The dates of a valuation pass as of date (the system rounding left at
// its default).
inline reports::CompositeRunDates Dates(const std::string& date, const std::string& accrued) {
    reports::CompositeRunDates dates;
    dates.report_date = date;
    int16_t mode = 0, error = 0;
    records::Ckdate(dates.report_date, mode, error, dates.report_number, 0, 1991231);
    dates.accrued = accrued != "N   ";
    return dates;
}

inline std::vector<std::string> Ids(const std::vector<std::string>& accounts) {
    std::vector<std::string> ids;
    for (const std::string& a : accounts) ids.push_back(records::Fixed(a, 8));
    return ids;
}

// TEMP1.WRK as the pass left it: its header (returned through head_record
// as stored) and its holding records in file order.
template <typename Header>
void ReadWork(Header& head, records::Record& head_record, std::vector<records::ValuedHolding>& holdings) {
    const records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength, false);
    EXPECT_TRUE(work.Read(1, head_record));
    head = Header::Decode(head_record);
    records::Record rec;
    for (int r = 2; r <= head.count + 1; ++r) {
        EXPECT_TRUE(work.Read(r, rec));
        holdings.push_back(records::ValuedHolding::Decode(rec));
    }
}

// AA2's transactions sell XYZ, which it does not hold (the rebuild stops
// with status 2); the prices of 11/30/98; the account list holds AA2.
inline void WriteStoppingRebuild() {
    fixtures::WriteTransactions(
        "AA2", {fixtures::Transaction("B", "IBM", "", " 1/05/98", 100, 12000, 1, aafix::kIbm),
                fixtures::Transaction("S", "XYZ", "", " 2/01/98", 10, 250, 2, aafix::kXyz)});
    fixtures::WritePrices("11/30/98", {1.0, 1.0, 100.0, 97.0, 140.0, 19.0, 12.0, 10.0});
    records::WriteAccountLines({"AA2"}, records::kAccountListFile);
}

}  // namespace compfix
