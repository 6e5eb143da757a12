#pragma once

// A data directory for the performance module runs, program date 6/30/97.
//
// ACCOUNT.IDX, in entry order:
//   H1 "SMITH FAMILY TRUST", manager AB, opened 12/31/96: 0 at 12/31/96,
//      funded with 100,000 in January and worth 105,000 at its end
//      (+5.0%), then +2.0%, +1.99% with 1,071 of income, +1.0, +2.0 and
//      -1.0% a month. Its own index slots SPX and LEH.
//   "$$$$" a deleted entry.
//   H3 "JONES ACCOUNT", manager CD, opened 01/15/97 with 50,000 (January's
//      flow holds it), 51,000 at January's end, then 2% a month. No index
//      slots of its own: the firm's two (COMMON.FIL record 37) are taken.
//   R1 "REPLAY ACCOUNT", manager AB, opened 01/02/97: funded with 100,000,
//      stock bought on 01/10, a bond on 02/03, a dividend in March; its
//      first index symbol "NOPE" is not in SECURITY.IDX, so the firm's two
//      indexes are taken. Its value history holds the replayed month ends.
// Month-end price files from 12/31/96 to 6/30/97: CASH 1, STK 50 rising 1
// a month, BND 100 falling 0.5, the indexes SPX 700 rising 7 and LEH 400
// rising 2. The manager code table holds AB and CD.

#include <array>
#include <string>
#include <vector>

#include "records/chars.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/reports/performance/history_fixture.h"

namespace pmfix {

using perffix::H1Values;
using perffix::Months;
using perffix::Year;

struct PerfAccount {
    std::string id;
    std::string manager;
    std::string short_name;
    std::string opened;
    double initial_value = 0;
    float index1_base = 0, index2_base = 0;
    std::string index1 = "", index2 = "";  // symbols of R8; blank: none
};

inline void WritePerfAccounts(const std::vector<PerfAccount>& accounts) {
    std::vector<std::string> keys;
    for (const PerfAccount& a : accounts) keys.push_back(a.id);
    fixtures::WriteAccountIndex(keys);
    int entry = 0;
    for (const PerfAccount& a : accounts) {
        ++entry;
        if (a.id == "$$$$") continue;
        auto recs = fixtures::AccountRecords(
            {.id = a.id, .manager = a.manager, .short_name = a.short_name, .opened = a.opened});
        recs[3].SetR4(0, a.index1_base);
        recs[3].SetR4(4, a.index2_base);
        recs[3].SetR8(8, a.initial_value);
        recs[3].SetI16(16, 0);  // no carry-in period
        recs[3].SetI16(18, 0);
        recs[3].SetR8(20, 0);
        recs[3].SetR4(28, 0);
        recs[3].SetR4(32, 0);
        recs[7].SetText(0, 36,
                        records::Fixed(a.index1, 12) +
                            (a.index1.empty() ? std::string(24, ' ') : "S&P     500     INDEX   "));
        recs[7].SetText(36, 36,
                        records::Fixed(a.index2, 12) +
                            (a.index2.empty() ? std::string(24, ' ') : "LEHMAN  GOV/CR  BOND    "));
        fixtures::WriteAccountRecords(entry, recs);
    }
}

// COMMON.FIL record 37: the firm's two market indexes.
inline void WriteFirmIndexes() {
    records::Record rec(128, ' ');
    rec.SetText(0, 36, records::Fixed("SPX", 12) + "STANDARD& POORS COMPOSIT");
    rec.SetText(36, 36, records::Fixed("LEH", 12) + "LEHMAN  BROTHERSINDEX   ");
    fixtures::WriteCommonRecord(37, rec);
}

// The manager code table, record 10 (from byte 17): AB and CD.
inline void WriteManagerCodes() {
    records::Record rec(128, 0);
    rec.SetText(16, 8, "AB  CD  ");
    fixtures::WriteCommonRecord(10, rec);
}

inline void WriteDirectory() {
    perffix::WriteHalfYearMarket();
    WriteFirmIndexes();
    WriteManagerCodes();
    WritePerfAccounts({
        {"H1", "AB", "SMITH FAMILY TRUST", "12/31/96", 0, 700, 400, "SPX", "LEH"},
        {"$$$$", "", "", ""},
        {"H3", "CD", "JONES ACCOUNT", " 1/15/97", 50000, 703.5f, 401},
        {"R1", "AB", "REPLAY ACCOUNT", " 1/02/97", 0, 700, 400, "NOPE"},
    });
    const Year none = Months({}, 0);
    perffix::WriteHistory("H1", 12, 96, {Months({{12, 0}}), H1Values()}, {none, Months({{1, 100000}})},
                          {none, Months({{3, 1071}})});
    perffix::WriteHistory(
        "H3", 1, 97,
        {Months({{1, 51000}, {2, 52020}, {3, 53060.4}, {4, 54121.608}, {5, 55204.04}, {6, 56308.12}})},
        {Months({{1, 50000}})}, {none});
    fixtures::WriteTransactions("R1", {fixtures::Transaction("FI", "CASH", "1", " 1/02/97", 0, 100000, 0, 1),
                                       fixtures::Transaction("B", "STK", "1", " 1/10/97", 1000, 50000, 1, 2),
                                       fixtures::Transaction("B", "BND", "1", " 2/03/97", 20000, 20000, 2, 3),
                                       fixtures::Transaction("DI", "STK", "1", " 3/14/97", 0, 500, 1, 2)});
    // R1's month ends: 50,000 cash and 1,000 shares from 01/10, 20,000 of
    // bonds from 02/03, 500 of dividend in March.
    perffix::WriteHistory(
        "R1", 1, 97, {Months({{1, 101000}, {2, 101800}, {3, 103200}, {4, 104100}, {5, 105000}, {6, 105900}})},
        {Months({{1, 100000}})}, {Months({{3, 500}})});
}

}  // namespace pmfix
