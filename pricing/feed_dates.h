#pragma once

// The two date forms of the data feed: the price server writes and reads
// dates as YYMMDD, the program keeps them as MM/DD/YY texts. Both routines
// only move characters; they never look at whether the digits make a date.

#include <string>

namespace pricing {

// YYMMDD (the first six of eight characters) to MM/DD/YY in place. A date
// starting "N/A " (the server's answer for a date it does not have) is kept
// as it is. The text is taken as 8 characters, cut or blank-padded.
void Ymdmdy(std::string& date);

// MM/DD/YY to YYMMDD followed by two blanks, in place; the separators are
// not looked at. The text is taken as 8 characters, cut or blank-padded.
void Mdyymd(std::string& date);

}  // namespace pricing
