#pragma once

// The assets under management run (report codes 107 and 88) and the
// automatic-pricing switch of the price download dialog.
//
// Meom walks the accounts of ACCOUNT.IDX whose manager code fits the
// selection, values each account's lots as of one date and writes every
// lot into the work file MSTRSUMM.HLD with an in-memory index by security.
// The cross reference pass (Secxref) then prints the DETAILED SECURITY
// CROSS REFERENCE or, through Aumprt, the ASSETS UNDER MANAGEMENT page. In
// autoprice mode the same walk marks "Y" the automatic-pricing flag of
// every security some account holds on the date (after marking the others
// "N") and prints nothing.
//
// A lot without a price keeps the no-price marker as its value, and every
// lot of an account holding one gets the percent -999.99; the pages print
// "N/A" for them and for every total such a lot feeds.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/common_file.h"
#include "records/files.h"
#include "reports/aum/aum_index.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// The most holding records MSTRSUMM.HLD takes: its 16-bit record count.
inline constexpr int32_t kMaxSecurityHoldings = 32766;
// The percent of account of the lots of an account with an unpriced lot.
inline constexpr float kNoPercent = -999.99f;

// Everything one run shares between Meom, Aumhld and the page writer.
struct AumRun {
    bool report = true;  // a report run (pages); false in autoprice mode
    std::string as_of_date = std::string(8, ' ');
    float as_of_number = 0;
    float program_date_number = 0;
    std::string program_date = std::string(8, ' ');
    records::Options options{};
    int decimals = 4;
    std::string accrued_flag = "N   ";
    long cash_position = 0;  // "CASH" in SECURITY.IDX

    HoldingsIndex index;
    int32_t record_counter = 1;  // the last record written
    bool lots_left_out = false;  // the work file was full
    double accrued_total = 0;

    std::optional<records::DirectFile> work;        // MSTRSUMM.HLD
    std::optional<records::DirectFile> securities;  // SECURITY.REC
    std::optional<records::DirectFile> prices;      // the as-of date's price file
    std::optional<ReportFrame> frame;               // OUTPUT.TMP in a report run

    void Say(const std::string& line) {
        if (frame) frame->Line(line);
    }
};

// One account as the run values it.
struct AumAccount {
    std::string id = std::string(8, ' ');
    std::string title = std::string(32, ' ');              // ACCOUNT.REC 8n - 6, bytes 52-83
    std::string custodian_account = std::string(32, ' ');  // ACCOUNT.REC 8n - 5, bytes 32-63
    // Results.
    double value = 0;
    bool missing_price = false;
    double accrued = 0;
    int16_t rebuild_status = 0;
};

// The run. mode below 1: a report run, "Y   " as report_choice for the
// assets under management page, else the cross reference; output_kind 3
// copies the report into output_file. mode 1 or more: autoprice mode. The
// as-of date is normalised in place. second_option is accepted and not
// used.
void Meom(int16_t mode, std::string& as_of_date, std::string_view manager_code, std::string_view accrued_flag,
          std::string_view autoprice_flag, std::string_view second_option, std::string_view report_choice,
          int16_t output_kind, std::string_view output_file, int output_file_length = 12);

// Values one account's lots: sums its value and accrued interest, and in a
// report run writes one MSTRSUMM.HLD record per lot; in autoprice mode
// marks the held securities.
void Aumhld(AumRun& run, AumAccount& account);

// Marks "N" the automatic-pricing flag of every security but cash, types
// "1", "4", "S", "T" and "X" and those whose descriptions hold "INDEX".
void Clrapf();

}  // namespace reports
