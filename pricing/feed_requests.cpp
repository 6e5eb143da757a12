#include "pricing/feed_requests.h"

#include <algorithm>
#include <initializer_list>

#include "pricing/feed_dates.h"
#include "records/record.h"

namespace pricing {

namespace {

constexpr std::size_t kCusipWidth = 12;
constexpr std::size_t kDateWidth = 6;

// A request line: the fixed letters and dates, then the CUSIP number up to
// its last non-blank character (at least its first character).
void Build(std::string& request, std::initializer_list<std::string_view> head, std::string_view cusip) {
    request.assign(kFeedLineWidth, ' ');
    std::size_t column = 0;
    for (std::string_view part : head) {
        request.replace(column, part.size(), part);
        column += part.size();
    }
    const std::string symbol = records::Fixed(cusip, kCusipWidth);
    std::size_t length = kCusipWidth;
    while (length > 1 && symbol[length - 1] == ' ') --length;
    request.replace(column, length, symbol, 0, length);
}

// A period date as YYMMDD, every blank a "0".
std::string RequestDate(std::string_view date) {
    std::string ymd(date);
    Mdyymd(ymd);
    ymd.resize(kDateWidth);
    std::replace(ymd.begin(), ymd.end(), ' ', '0');
    return ymd;
}

}  // namespace

void Reqi(std::string& request, std::string_view date, std::string_view cusip) {
    Build(request, {"!I", records::Fixed(date, kDateWidth)}, cusip);
}

void Reqv(std::string& request, std::string_view date, char pricing_class, std::string_view cusip) {
    const char letter[] = {pricing_class, '\0'};
    Build(request, {"V", std::string_view(letter, 1), records::Fixed(date, kDateWidth)}, cusip);
}

void Reqj(std::string& request, std::string_view date, std::string_view cusip) {
    Build(request, {"J", records::Fixed(date, kDateWidth)}, cusip);
}

void Reqdaa(std::string& request, std::string_view start, std::string_view end, std::string_view cusip) {
    Build(request, {"DAA", RequestDate(start), RequestDate(end)}, cusip);
}

}  // namespace pricing
