// One price server answer of arbitrary bytes, cut or blank-padded to 200
// columns, through the price, J and dividend answer parsers, and its first
// eight bytes through both date converters. None may crash or read outside
// the answer; a price or value read is never negative (no sign is taken),
// dates keep their eight characters and every warning is one line.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pricing/feed_answers.h"
#include "pricing/feed_dates.h"
#include "records/prices.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool IsNothingOrAPrice(double price) {
    return price == records::kNoPriceValue || (std::isfinite(price) && price >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string answer(reinterpret_cast<const char*>(data), size);
    answer.resize(200, ' ');

    const pricing::WarningSink sink = [](std::string_view line) {
        Require(line.find('\n') == std::string_view::npos && line.find('\r') == std::string_view::npos);
        // The parsers never call their column helpers outside the answer.
        Require(!line.starts_with(" Warning: parsing error"));
    };
    int16_t warnings = 0;

    double price = 0;
    pricing::Prsprc(answer, price, warnings, sink);
    Require(IsNothingOrAPrice(price));

    float j = -1;
    pricing::Prsprj(answer, price, j, warnings, sink);
    Require(IsNothingOrAPrice(price));
    Require(std::isfinite(j) && j >= 0);

    pricing::DividendAnswer dividend;
    pricing::Prsdaa(answer, dividend, warnings, sink);
    Require(std::isfinite(dividend.amount) && dividend.amount >= 0);
    Require(std::isfinite(dividend.split_ratio) && dividend.split_ratio >= 0);
    Require(dividend.ex_date.size() == 8 && dividend.pay_date.size() == 8);
    Require(dividend.split_ex_date.size() == 8 && dividend.split_pay_date.size() == 8);
    // At most one refused number field a parse.
    Require(warnings >= 0 && warnings <= 3);

    std::string date(reinterpret_cast<const char*>(data), size < 8 ? size : 8);
    std::string other = date;
    pricing::Ymdmdy(date);
    Require(date.size() == 8);
    pricing::Mdyymd(other);
    Require(other.size() == 8 && other[6] == ' ' && other[7] == ' ');
    return 0;
}
