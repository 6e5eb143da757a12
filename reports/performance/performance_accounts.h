#pragma once

// The performance account driver: runs the performance pages over one
// account or over every account of a manager pattern ("?" matches any
// character), or over the composite account that Combpf has prepared.
// For each account it reads the account's performance fields, checks the
// dates, records the account in PCONTROL.FIL (slot 10 for one account, the
// manager code's table position for a manager run, 1 for a composite) and
// has the performance table printed (Mnappr), followed by the summary by
// asset class (Sumac) when all classes are asked for. The summary and
// monthly by-account reports print their collecting page's heading once,
// then one line an account. The run ends with -99 in PCONTROL.FIL's
// header.

#include <cstdint>
#include <string>
#include <string_view>

#include "records/common_file.h"
#include "records/performance_control.h"

namespace reports {

struct PerformanceDriverRun {
    // 0 a run over accounts; above 0 the composite account of slot 1.
    int16_t mode = 0;
    records::Options options{};
    // 0 the performance table; 1 the summary of performance by account;
    // 2 the monthly performance by account (both over a manager pattern).
    int16_t sub_kind = 0;
    // 1 the table takes the account's history records, 0 it replays.
    int16_t history = 1;
    // 0 none, 1 cash equivalents, 2 equities, 3 fixed income, 4 all classes
    // (the summary by asset class), 5 one security.
    int16_t choice = 0;
    std::string selection = "S   ";  // "S   " one account, else the manager pattern
    std::string manager = "????";
    std::string account = std::string(8, ' ');
    std::string start = std::string(8, ' ');  // MM/DD/YY or blank
    std::string end = std::string(8, ' ');    // MM/DD/YY
    std::string frequency = "M   ";           // "Q   " quarterly, anything else monthly
    // 1 the work file, 3 also a copy into output_name, 2 continue the
    // output already open (no START, no END).
    int16_t output_mode = 1;
    std::string output_name = "XXX.TXT     ";
};

void Mprfacct(PerformanceDriverRun& run);

// The performance fields of the account of entry n of ACCOUNT.IDX (the
// fields PCONTROL.FIL's account record takes from the account).
records::PerformanceAccount Mprfcls(int entry);

// The date checks of a run: the start date against [low, program date]
// (not for sub-kinds 1 and 2, nor for a manager run with a blank start),
// then the end date against [start number, program date]. Each accepted
// date is rewritten MM/DD/YY and its number (YYMMDD, years below 51 as
// 100 + YY) stored. The status word is left as it is. Returns false when a
// date was refused; the caller goes on all the same.
bool Mprfstep(std::string_view program_date, float program_number, std::string& start, float& start_number,
              std::string& end, float& end_number, int16_t& status, std::string_view selection, float low,
              int16_t sub_kind);

}  // namespace reports
