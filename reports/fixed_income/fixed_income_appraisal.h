#pragma once

// The fixed income appraisal (report code 221): for one account, or every
// account of a manager pattern, the account's fixed-income holdings as of
// the report date, grouped by security type with type totals, the
// account's accrued interest, the portfolio total and the average years
// to maturity, then the unmanaged assets.
//
// Each account goes through two passes driven by a status word: Faprval
// values the next account of the run into TEMP1.WRK, Faprprt prints its
// pages from there and writes TEMPHSUM.FIL. FCONTROL.FIL records the run's
// progress for whoever looks at it; every call of Fapr1 is one complete
// run that starts by marking the file free (-99) and leaves it so.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "records/common_file.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// The status word of a fixed income appraisal run.
enum FixedIncomeStatus : int16_t {
    kFixedIncomeGather = 0,
    kFixedIncomePrint = 1,
    kFixedIncomeFinished = 4,
    kFixedIncomeLotReadFailed = -2,
};

// Type number of the unmanaged lots (option 46 off).
inline constexpr int kFixedIncomeUnmanagedType = 36;

// The percent-priced (fixed-income) types by type number 1-36.
bool IsPercentPricedTypeNumber(int type_number);

// Everything the passes of one run share.
struct FixedIncomeRun {
    // ---- The request.
    std::string selection = "S   ";
    std::string manager = "????";
    std::string account = std::string(8, ' ');
    std::string report_date = std::string(8, ' ');  // MM/DD/YY

    // ---- Set when the run starts.
    bool started = false;
    records::Options options{};
    std::string program_date = std::string(8, ' ');
    float program_date_number = 0;
    float report_date_number = 0;  // windowed YYMMDD
    int16_t manager_number = 0;    // m: the run record m + 1 of FCONTROL.FIL (0 for one account)
    int16_t countdown = 999;
    std::array<int16_t, 100> manager_flags{};
    int16_t order_choice = 0;  // 1: the pages sort each type by maturity
    std::optional<ReportFrame> frame;
    // The security master, read once over the run's accounts.
    std::shared_ptr<RunSecurities> securities;

    // ---- The cursor.
    bool done = false;
    int gathered = 0;  // accounts valued so far
    AccountWalk walk;
    std::size_t next = 0;

    // ---- The account in hand (written by the gathering pass).
    std::string account_id = std::string(8, ' ');
    int entry = 0;  // its entry in ACCOUNT.IDX
    std::array<std::string, 5> address{std::string(32, ' '), std::string(32, ' '), std::string(32, ' '),
                                       std::string(32, ' '), std::string(32, ' ')};
    int16_t address_flag = 0;  // 1 when option 6 is exactly 1

    // A report line, when OUTPUT.TMP is open.
    void Say(const std::string& line) {
        if (frame) frame->Line(line);
    }
};

// The gathering pass: values the next account of the run into TEMP1.WRK.
// status comes back kFixedIncomePrint (an account was valued),
// kFixedIncomeFinished (no account left) or kFixedIncomeLotReadFailed (a
// lot of the account's holdings could not be read; nothing of the account
// is printed).
void Faprval(FixedIncomeRun& run, int16_t& status);

// The printing pass: prints the account of TEMP1.WRK, writes TEMPHSUM.FIL,
// deletes TEMP1.WRK, and sets status to kFixedIncomeGather when the run
// goes on, else kFixedIncomeFinished (FCONTROL.FIL then marked free).
void Faprprt(FixedIncomeRun& run, int16_t& status);

// Marks FCONTROL.FIL free: record 1 with run position -99.
void MarkFixedIncomeRunFree();

// The entry of report code 221. selection "S   " the one account, "A   "
// every account whose manager code matches manager ("?" matches any
// character); report_date MM/DD/YY. The report is always copied into
// output_name.
void Fapr1(std::string_view selection, std::string_view manager, std::string_view account,
           std::string_view report_date, std::string_view output_name);

}  // namespace reports
