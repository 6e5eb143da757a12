#include "pricing/feed_dates.h"

#include <string_view>

#include "records/layout.h"
#include "records/record.h"

namespace pricing {

namespace {
constexpr std::size_t kDateWidth = 8;
}  // namespace

void Ymdmdy(std::string& date) {
    date = records::Fixed(date, kDateWidth);
    if (date.starts_with("N/A ")) return;
    const std::string ymd = date.substr(0, 6);
    const std::string_view d(ymd);
    records::WriteInto(date, "(A2,'/',A2,'/',A2)", {d.substr(2, 2), d.substr(4, 2), d.substr(0, 2)});
}

void Mdyymd(std::string& date) {
    date = records::Fixed(date, kDateWidth);
    std::string month(2, ' '), day(2, ' '), year(2, ' ');
    records::Read(date, "(A2,1X,A2,1X,A2)", {&month, &day, &year});
    records::WriteInto(date, "(3A2,2X)",
                       {std::string_view(year), std::string_view(month), std::string_view(day)});
}

}  // namespace pricing
