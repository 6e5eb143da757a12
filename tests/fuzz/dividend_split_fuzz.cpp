// A dividend file and a split file of arbitrary bytes, and a dividend and a
// split as the price server reports them (dates, symbol, amount, ratio, the
// security's record and the file's record count of arbitrary bytes), filed
// as an automatic pricing run files them. Nothing may crash; every warning
// is one line; a dividend or split refused with a warning leaves both files
// as they were.

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "pricing/dividend_split_files.h"
#include "records/prices.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

float FloatAt(std::string_view part, std::size_t at) {
    unsigned char bytes[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < 4 && at + i < part.size(); ++i)
        bytes[i] = static_cast<unsigned char>(part[at + i]);
    float value;
    std::memcpy(&value, bytes, 4);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 3);
    fuzz::FreshDataDir();
    const std::string dividends = records::DividendFileName(2005);
    const std::string splits = records::SplitFileName(2005);
    fuzz::WriteFile(dividends, parts[0]);
    fuzz::WriteFile(splits, parts[1]);

    // The report: ex-date 8, pay date 8, symbol 12, amount or ratio 4, the
    // security's record and the record count one byte each.
    // The pricing run takes them from one answer line: no line ends.
    std::string report = std::string(parts[2]) + std::string(34, ' ');
    for (std::size_t i = 0; i < 28; ++i)
        if (report[i] == '\n' || report[i] == '\r') report[i] = ' ';
    const std::string_view ex_date = std::string_view(report).substr(0, 8);
    const std::string_view pay_date = std::string_view(report).substr(8, 8);
    const std::string_view symbol = std::string_view(report).substr(16, 12);
    const float amount = FloatAt(parts[2], 28);
    const int16_t record = static_cast<int16_t>(fuzz::Byte(parts[2], 32) - 8);
    const int16_t count = static_cast<int16_t>(fuzz::Byte(parts[2], 33));

    int warnings = 0;
    const pricing::WarningSink sink = [&](std::string_view line) {
        fuzz::Require(line.find('\n') == std::string_view::npos && line.find('\r') == std::string_view::npos);
        ++warnings;
    };

    const std::string dividends_before = ReadAll(dividends);
    const std::string splits_before = ReadAll(splits);
    pricing::Wrdiv(amount, ex_date, pay_date, record, count, sink);
    if (warnings > 0) fuzz::Require(ReadAll(dividends) == dividends_before);

    warnings = 0;
    const std::string splits_between = ReadAll(splits);
    fuzz::Require(splits_between == splits_before);
    pricing::Wrspl(symbol, ex_date, pay_date, amount, sink);
    if (warnings > 0) fuzz::Require(ReadAll(splits) == splits_between);
    return 0;
}
