#pragma once

// The client form of the account list: one account's data in two columns
// (personal and investment information, broker and custodian, billing and
// additional information), written after the page heading.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "reports/kernel/report_frame.h"

namespace reports {

// The account data the form prints, fresh for every account. A record of
// the account that could not be read leaves its fields out: they print
// blank (amounts and numbers too), never another account's values.
struct ClientData {
    // Which of the account's records 1 to 6 were read (index 0 = record 1).
    std::array<bool, 6> read{};

    std::array<std::string, 5> address;  // name and address lines 1-5
    std::string manager;                 // 4
    std::string salutation;              // 32
    std::string short_name;              // 32
    std::string tax_id;                  // 12
    std::string home_phone;              // 12 digits
    std::string business_phone;          // 12 digits
    std::string opened;                  // MM/DD/YY
    std::string custodian_account;       // 32
    std::string custodian;               // 8
    std::string broker;                  // 8
    int16_t fiscal_year_end = 0;
    std::array<std::string, 10> combined;  // 8 each
    std::string cash_code;                 // 4
    float index1_price = 0;
    float index2_price = 0;
    double opening_value = 0;
    std::string fee_code;  // 1
    float setup_charge = 0;
    int16_t billing_frequency = 0;
    int16_t invoice_letter = 0;
    int16_t fee_option = 0;
    std::string objective;  // 4 bytes as stored (four zero bytes: none)
    float total_billed = 0;
    float balance_due = 0;
    int16_t period_month = 0;
    int16_t period_year = 0;
    std::string master;                // 8
    std::array<std::string, 4> notes;  // 60 each

    ClientData();  // every text blank
};

// Writes the form of one account; shown_id is the account ID the form
// names (its first 6 characters are shown).
void WriteClientForm(ReportFrame& frame, std::string_view shown_id, const ClientData& client);

// Building blocks of the form, each a rule of its own.

// The list text of n items of w characters: each item whole, followed by
// ", " (". " after the last), from position 1 of a 132-character text of
// blanks. w or n of 0 or below, or (w + 2) x n above 132, leave result
// unchanged.
void Lstcat(const std::string* items, std::string& result, int w, int n);

// The 8-character period end date: "     N/A" for month 0 (and for a month
// outside 0-12), else month, last day of the month and the two-digit year
// ("(I2,'/',I2,'/',I2)", the year zero-filled).
std::string PeriodEndText(int16_t month, int16_t year);

// Month name of the fiscal year end ("Jan." ... "Dec."), blanks outside
// 1-12; billing frequency letter of "ASQM24*", a blank outside 1-7.
std::string FiscalMonthName(int16_t month);
std::string FrequencyLetter(int16_t frequency);

// The number of combined accounts: from the first on, up to the first whose
// first four characters are blanks or zero bytes, at most 10.
int CombinedCount(const std::array<std::string, 10>& combined);

}  // namespace reports
