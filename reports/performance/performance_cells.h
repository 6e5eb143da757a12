#pragma once

// The amount and percentage cells of the performance pages. Each routine
// builds its text in a 32-character work text and returns it; the caller
// takes the width it needs (12 characters of an amount, 6 of a
// percentage, 8 of a small amount). The no-value markers print "N/A".

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "records/layout.h"

namespace reports {

// The no-value markers: an amount and a return or percentage.
inline constexpr double kNoAmount = -99999.99;
inline constexpr float kNoReturn = -999.99f;

// Puts "+" in the blank just before the first non-blank character of the
// first min(n, 12) characters, unless that character is "-" or "0" or
// stands in the first position, or there is none. n of 0 or less does
// nothing.
void Mprftxt(std::string& text, int n);

// A whole amount under "(F12.0)" with thousands commas; with sign above 0,
// a plus sign before a positive amount. kNoAmount: "        N/A ".
std::string Mprfnum(double amount, int16_t sign);

// A percentage under "(F6.1)" with a plus sign before a positive value
// (not before 0.0 to 0.9, which start with "0"). kNoReturn: "   N/A".
std::string Mprfpct(float percent);

// An amount under "(F8.2)", unsigned. kNoReturn: "    N/A ".
std::string Mprfamt(float amount);

// The pieces an nAw list takes of one text: the layouts print texts held
// in words of w characters, one item per word. The items view the text,
// which must outlive them.
std::vector<records::OutItem> Words(const std::string& text, std::size_t width);

}  // namespace reports
