#pragma once

// Commissions by account (report code 93) and the pieces the broker
// commission reports share with it: the three commission windows, the
// selection of commissioned trades and the broker sort file as read back.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "records/account_records.h"
#include "records/dates.h"

namespace reports {

class ReportFrame;

// The report date of a commission report as checked (MM/DD/YY, eight
// characters) and its YYMMDD number.
struct CommissionDate {
    std::string text;
    float number = 0;
};
CommissionDate CheckCommissionDate(std::string_view report_date);

// What the page headings of the commission reports keep: the dates and
// manager code they print and the page and line counters.
struct CommissionRun {
    ReportFrame& frame;
    std::string report_date;   // as checked
    std::string program_date;  // COMMON.FIL record 2
    std::string manager;
    int16_t page = 1;
    int16_t lines = 0;
    int16_t page_length = 0;
};

// Calls `take` with each transaction of the account's TR file (records 2
// to the header's last record), stopping at the first record that cannot
// be read; nothing when the file or its header cannot be read.
void ForEachTransaction(const std::string& account_id,
                        const std::function<void(const records::TransactionRecord&)>& take);

// The three columns of the commission reports for a report date R: the
// month of R up to R, everything up to R, and the calendar year of R up to
// R. Dates are YYMMDD numbers with a year below 51 counted as 100 + YY.
struct CommissionWindows {
    float report = 0;       // R
    float month_start = 0;  // M0: the first day of R's month
    long year = 0;          // integer part of R / 10,000

    // From a checked report date text (MM/DD/YY) and its number.
    static CommissionWindows Of(std::string_view report_date, float report_number);

    bool InMonth(float date) const { return month_start <= date && date <= report; }
    bool InYear(float date) const { return records::SplitDateNumber(static_cast<long>(date)).year == year; }
};

// A trade the commission reports count: its symbol's first word orders
// above four blanks, it carries a commission above zero and its code is
// "B", "S", "SS" or "CS". The date test is the caller's.
bool IsCommissionTrade(const records::TransactionRecord& t);

// A buy, sale, short sale or cover short ("B", "S", "SS", "CS").
bool IsTradeCode(std::string_view code);

// BRSORT.DAT as the commission reports read it: record 1 holds N, the
// number of its last record; records 2 to N one broker each (ID bytes 0-7,
// text bytes 8-67). Entry k of `brokers` is record k (entries 0 and 1
// unused); a record that could not be read is marked so.
struct BrokerSortEntry {
    std::string id = std::string(8, ' ');
    std::string name = std::string(60, ' ');
    bool read = false;
};
struct BrokerSortFile {
    bool header_read = false;
    int last = 0;  // N
    std::vector<BrokerSortEntry> brokers;

    // The first record (2 to N) whose ID equals the given one, 0 when none.
    int Find(std::string_view id) const;
};
BrokerSortFile ReadBrokerSortFile();

// The settlement date of a trade: its date number (YYMMDD, a year below 51
// counted as 100 + YY) plus three calendar days, February of a year
// divisible by 4 counted 29 days, written as Wrdate writes a date.
std::string SettlementDate(float trade_number);

// The "WARNING: ... HAS NOT BEEN ENTERED INTO THE BROKER DATABASE" layout.
inline constexpr const char* kUnknownBrokerWarning =
    "(1X,'WARNING: ',2A4,'HAS NOT BEEN ENTERED INTO THE ','BROKER DATABASE, COMMISSION NOT REPORTED.')";

// The commissions by account: for every account of the manager code
// (selection "A   ") or the one account (selection "S   "), the account's
// commissions per broker in the month, as-of and year-to-date columns.
// BRSORT.DAT is rebuilt first. The work file is always copied to
// output_name.
void Btcomacc(std::string_view report_date, std::string_view selection, std::string_view account,
              std::string_view manager, std::string_view output_name);

}  // namespace reports
