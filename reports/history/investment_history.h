#pragma once

// The investment history report (report code 104): one page per account
// with the portfolio market value at the beginning and end of a period and
// what explains the change between them: realised and unrealised gains,
// income earned, additions and withdrawals, fees and adjustments.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace reports {

// The sixteen amounts of one account's page; -99999.99 is no value.
struct HistoryAmounts {
    double beginning_value = 0;
    double ending_value = 0;
    double realized = 0;
    double unrealized = 0;
    double unrealized_withdrawals = 0;  // unrealised (additions) withdrawals
    double dividends = 0;
    double other_interest = 0;
    double municipal_interest = 0;
    double total_income = 0;
    double deposited = 0;
    double withdrawn = 0;
    double advisory_fees = 0;
    double custodian_fees = 0;
    double capital_distribution = 0;
    double adjustments = 0;
    double net_additions = 0;  // total net additions/withdrawals
};

// A holdings valuation as of a date.
struct HistoryValue {
    double market_value = 0;  // -99999.99 when a lot has no price
    double cost = 0;
};

// Hstval: the account's holdings rebuilt as of the date (the date's own
// transactions included) and valued at the date's prices. Lots of the
// tax-lot code "S" (unmanaged assets) are left out; the cash lot counts at
// its amount. With accrued "Y   " the per-hundred types add their accrued
// interest.
HistoryValue Hstval(std::string_view account, std::string_view date, std::string_view accrued);

// Hstcls: adds one transaction of the period to the amounts. category is
// the code's place (1-16) in DI DE SI SO FI FO II IE IS IP MF BC MI ME AI
// AO, 0 for another code (its accrued interest only). on_start: the
// transaction is dated on the period's start date.
void Hstcls(HistoryAmounts& amounts, int category, std::string_view code, double amount, double cost,
            double accrued_interest, bool on_start, std::string_view last_word, char security_type,
            bool capital_distribution_option);

// Hstamt: the amount as "(F15.2)" with thousands separators and a negative
// amount in brackets, 16 characters; no value gives "       N/A      ".
std::string Hstamt(double amount);

// The report routine of code 104.
void Invhsty(std::string_view selection, std::string_view manager, std::string_view account,
             std::string_view start, std::string_view end, std::string_view accrued, int16_t output_mode,
             std::string_view output_name, int name_length = 12);

}  // namespace reports
