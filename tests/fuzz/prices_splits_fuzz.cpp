// Price and split files of arbitrary bytes: a day's price file read whole
// and price by price, and a year's split file (with SECURITY.IDX) read for
// a security and written back.

#include <string>

#include "records/prices.h"
#include "records/stock_splits.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 4);
    fuzz::FreshDataDir();
    const std::string date = "06/30/05";
    fuzz::WriteFile(records::PriceFileName(date), parts[0]);
    fuzz::WriteFile(records::SplitFileName(2005), parts[1]);
    fuzz::WriteFile("SECURITY.IDX", parts[2]);

    const std::vector<double> prices = records::ReadPriceFile(date);
    for (long n = 1; n <= static_cast<long>(prices.size()) + 2 && n < 400; ++n) {
        double price = 0;
        records::Rwpric(0, -9, date, n, price);
    }
    const std::string_view symbol = parts[3].substr(0, 12);
    std::string message;
    records::SplitList list;
    records::Rdsplt(symbol, 2005, message, list);
    fuzz::Require(list.count >= 0 && list.count <= records::kMaxSplits);
    if (message.empty()) records::Wrsplt(symbol, 2005, list);
    return 0;
}
