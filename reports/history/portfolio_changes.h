#pragma once

// The portfolio changes report (report code 95): for each selected account
// the transactions of a date range in seven sections (Purchased, Sold,
// Income & Expenses, Sold Short, Covered Short, Additions, Withdrawals),
// each sorted by security description, trade date, lot and record, with
// its total; under option 58 framed by the cash balances before the start
// date and at the end date.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace reports {

// The most transactions a section lists; one more ends the section with
// its limit line.
inline constexpr int kChangesSectionLimit = 1000;

// The report routine of code 95. selection "A   " takes every account of
// the manager pattern, anything else the one account named; account holds
// the last account reported on return. A blank security filter takes every
// security.
void Portchng(std::string_view selection, std::string_view manager, std::string& account,
              std::string_view start, std::string_view end, std::string_view security,
              std::string_view output_name, int name_length = 12);

// The period text of the heading: "MM/DD/YY - MM/DD/YY" of two YYMMDD
// numbers (19 characters).
std::string Datrng(float start, float end);

// The account's cash balance before the date (before true) or at the end
// of it: the holdings rebuilt as of the date into HL.TMP, adding the amount
// (cost) of the cash lot and of every lot of security record 1. 0 when the
// holdings are empty or cannot be read.
double Cshbal(std::string_view account, std::string_view date, bool before);

// Puts "$" like Putdol but looks for the blank from position n - 1
// leftwards, so that a number followed by a blank at position n is served.
// flag -1 (text unchanged) when there is no room, else 0.
void Putdl2(std::string& text, int n, int16_t& flag);

// Sorts the first count 42-character keys ascending, byte by byte as
// signed codes, carrying the tags (a Shell sort; equal keys are exchanged).
void Shel42(int count, std::vector<std::string>& keys, std::vector<int16_t>& tags);

}  // namespace reports
