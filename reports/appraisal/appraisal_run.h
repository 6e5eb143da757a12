#pragma once

// The run context of an account appraisal: everything the stages of one run
// share, created by the run entry and handed to each stage. Nothing lives
// outside it, so a run never sees what an earlier run left in memory.
//
// A run is a loop over stages driven by one step word (AppraisalStep):
// Apgath values the next account into TEMP1.WRK and records the run's
// cursor in CCONTROL.FIL; the page stages print from them. The cursor the
// run itself goes by is kept here (walk, position); CCONTROL.FIL is written
// for the page stages and is never read back by the gathering, so a file
// that an earlier, broken run left behind changes nothing.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// The step word of an appraisal run.
enum AppraisalStep : int16_t {
    kStepGather = 0,
    kStepHoldingsPages = 1,
    kStepSummaryPage = 2,
    kStepCategoryPage = 3,
    kStepFinished = 4,
    kStepLotReadFailed = -2,
    kStepAbandoned = -999,
};

// Output mode 2 is the counting pass: work files are written, no report
// line is.
inline constexpr int16_t kOutputModeCount = 2;

// The appraisal type order: the 23 type numbers whose groups the appraisal
// pages print, in their order (type 36, the unmanaged lots, last).
inline constexpr std::array<int, 23> kAppraisalTypeOrder = {2,  4,  5,  6,  7,  8,  33, 10, 12, 13, 14, 34,
                                                            16, 26, 24, 35, 18, 20, 22, 28, 29, 30, 36};

// The account data that the stages share: written by Apgath for each
// account, read by the page headings and the summary pages.
struct AppraisalAccount {
    std::string id = std::string(8, ' ');
    std::string short_name = std::string(32, ' ');  // ACCOUNT.REC R2 bytes 52-83
    // Name and address: R1's four 32-character lines and R3 bytes 0-31.
    std::array<std::string, 5> lines{std::string(32, ' '), std::string(32, ' '), std::string(32, ' '),
                                     std::string(32, ' '), std::string(32, ' ')};
    int16_t address_word = 0;  // 1 when option 6 is exactly 1: the pages print the address
    int16_t index = 0;         // the account's entry in ACCOUNT.IDX
    int16_t count = 0;         // entries of ACCOUNT.IDX; 0 in a run of one account
    int16_t run_slot = 0;      // N of CCONTROL.FIL
    std::string date_opened = std::string(8, ' ');  // R2 bytes 120-127
    int16_t fiscal_year_end = 0;                    // R3 bytes 80-81
    float index1_level = 0;                         // R4 bytes 0-3
    float index2_level = 0;                         // R4 bytes 4-7
    double opening_value = 0;                       // R4 bytes 8-15
    std::array<unsigned char, 4> objective{};       // R4 bytes 87-90, as stored
};

// Totals of one account by asset class ("CE", "FI", "EQ", "O " in that
// order), which the holdings pages add up and the summary pages print.
struct AssetClassTotals {
    std::array<double, 4> cost{};
    std::array<double, 4> market_value{};
    std::array<double, 4> annual_income{};
    std::array<double, 4> annual_income_unrounded{};
};

struct AppraisalRun {
    // ---- The request.
    std::string selection = "S   ";  // "S   " one account; anything else every account of the pattern
    std::string manager = "????";    // manager pattern ("?" matches any character)
    std::string account = std::string(8, ' ');
    std::string report_date = std::string(8, ' ');  // MM/DD/YY
    std::string accrued_switch = "Y   ";            // "N   " leaves accrued interest out
    int16_t output_mode = 1;
    std::string output_name = "OUTPUT.TMP";  // the file a mode-3 run copies OUTPUT.TMP to
    // A composite of several accounts (report code 201): it has no value
    // history of its own, so the summary page shows no rates of return.
    bool composite = false;

    // ---- Set when the run starts.
    records::Options options{};
    std::string program_date = std::string(8, ' ');
    float program_date_number = 0;
    float report_date_number = 0;  // windowed YYMMDD of report_date
    // COMMON.FIL record 26 (its first 9 bytes) and record 37 (the eight
    // index and period fields, 72 bytes), handed to the performance figures.
    std::array<unsigned char, 9> record26{};
    std::array<unsigned char, 72> index_periods{};
    // OUTPUT.TMP, started before the first account unless the run counts.
    std::optional<ReportFrame> frame;
    // The security files, opened at the first account valued.
    std::shared_ptr<RunSecurities> securities;
    // The prices of the report date (record n the price of security n, as
    // the readers take it), read whole at the first account valued.
    std::optional<std::vector<double>> report_prices;
    // Set by the stage loop: the pages keep TEMP1.WRK after an account
    // (the next valuation empties it and writes it anew) instead of deleting
    // it, and the loop deletes it at the run's end. work_file_kept says that
    // the file holds an account whose pages are done.
    bool keep_work_file = false;
    bool work_file_kept = false;

    // ---- The cursor.
    bool started = false;
    bool done = false;
    AccountWalk walk;       // the accounts of ACCOUNT.IDX (selection "A")
    std::size_t next = 0;   // the walk's next account
    int16_t run_slot = 0;   // N
    int16_t countdown = 0;  // kept in CCONTROL.FIL for its readers
    std::array<int16_t, records::kControlSlotCount> slot_flags{};

    // ---- The account in hand.
    AppraisalAccount current;
    // Target allocation percentages by group of the appraisal type order;
    // all zero when the account has none.
    std::array<int8_t, 23> target{};
    // Market value of the written holdings by final type number (index
    // number - 1), cleared per account.
    std::array<double, records::kTypeNumberCount> market_by_type{};
    // The holding list (TEMP1.WRK record numbers) and order flag the pages
    // keep, and the per-group figures they hand to the summary pages:
    // income and unrealized gain of each group in the order the holdings
    // pages print them (23 slots for their first pass, slot 23 for the
    // unmanaged lots).
    std::vector<int16_t> holding_list;
    int16_t order_flag = 0;
    AssetClassTotals classes;
    std::array<float, 24> group_income{};
    std::array<float, 24> group_gain{};
    // The account's total accrued interest, which the summary page adds to
    // the unrealized gain or loss.
    double total_accrued = 0;

    // Buffers kept from one account to the next: TEMP1.WRK as the
    // gathering makes it, and the file as the pages read it with its
    // holdings as decoded.
    std::vector<unsigned char> work_holding_bytes;
    std::vector<unsigned char> work_bytes;
    std::vector<records::ValuedHolding> work_holdings;

    // A report line, when OUTPUT.TMP is open.
    void Say(const std::string& line) {
        if (frame) frame->Line(line);
    }
};

// The gathering step: values the next account of the run as of the report
// date into TEMP1.WRK and writes CCONTROL.FIL. step comes back as
// kStepHoldingsPages (an account was valued), kStepFinished (no account
// left), kStepAbandoned (output mode 0 or less) or kStepLotReadFailed (the
// account's lot list breaks; a report line says where).
void Apgath(AppraisalRun& run, int16_t& step);

}  // namespace reports
