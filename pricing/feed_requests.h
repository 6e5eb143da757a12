#pragma once

// The request lines that the automatic pricing run sends to the remote
// price server, one 200-column blank-padded line per request:
//
//   "!I" YYMMDD CUSIP         information request (Reqi)
//   "V" class YYMMDD CUSIP    price request (Reqv)
//   "J" YYMMDD CUSIP          alternate price request (Reqj)
//   "DAA" YYMMDD YYMMDD CUSIP dividend request for a period (Reqdaa)
//
// The CUSIP number is the security record's 12-character field without
// its trailing blanks; a field of only blanks gives one blank.

#include <cstddef>
#include <string>
#include <string_view>

namespace pricing {

// Width of a request line and of an answer line.
inline constexpr std::size_t kFeedLineWidth = 200;

// Each builder fills the request with 200 columns. The pricing date is six
// characters YYMMDD; the CUSIP number is taken as 12 characters.
void Reqi(std::string& request, std::string_view date, std::string_view cusip);
// The pricing class is one letter: B, M, E or O.
void Reqv(std::string& request, std::string_view date, char pricing_class, std::string_view cusip);
void Reqj(std::string& request, std::string_view date, std::string_view cusip);
// The period's dates are MM/DD/YY texts; each goes out as YYMMDD with every
// blank turned into "0" (" 1/ 5/98" gives 980105).
void Reqdaa(std::string& request, std::string_view start, std::string_view end, std::string_view cusip);

}  // namespace pricing
