#include "reports/appraisal/composite_holdings.h"

#include <algorithm>

#include "records/record.h"
#include "records/security_types.h"

namespace reports {

int CompositeSortType(int type_number) {
    switch (type_number) {
        case 33:
            return 9;  // W
        case 34:
            return 15;  // X
        case 35:
            return 19;  // Y
        case 26:
            return 17;  // P
        case 24:
            return 18;  // N
        case 18:
            return 20;  // H
        case 20:
            return 21;  // J
        default:
            return type_number;
    }
}

bool CompositeMergeKey::operator>(const CompositeMergeKey& o) const {
    if (sort_type != o.sort_type) return sort_type > o.sort_type;
    if (category != o.category) return category > o.category;
    if (symbol != o.symbol) return symbol > o.symbol;
    return side > o.side;
}

CompositeMergeKey MakeMergeKey(int sort_type, int category, std::string_view symbol, bool short_side) {
    CompositeMergeKey key;
    key.sort_type = static_cast<int16_t>(sort_type);
    key.category = static_cast<int16_t>(category);
    key.symbol = records::Fixed(symbol, 8);
    key.side = short_side ? int16_t{-1} : int16_t{1};
    return key;
}

void OrderCompositeHoldings(CompositeHoldings& h, bool merge) {
    const int n = static_cast<int>(h.size());
    Shelcm(n, h.merge_keys, h.order_keys, h.records);
    if (merge) {
        // The sort has put equal merge keys side by side: Combin merges
        // each run of them (it compares numbers, so a run's keys are all 0),
        // which keeps the merge linear in the number of holdings.
        for (std::size_t first = 0; first < h.size();) {
            std::size_t end = first + 1;
            while (end < h.size() && h.merge_keys[end] == h.merge_keys[first]) ++end;
            if (end - first > 1) {
                const std::vector<double> keys(end - first, 0.0);
                std::vector<int16_t> run(h.records.begin() + static_cast<std::ptrdiff_t>(first),
                                         h.records.begin() + static_cast<std::ptrdiff_t>(end));
                records::Combin(static_cast<int>(run.size()), keys, run);
                std::copy(run.begin(), run.end(), h.records.begin() + static_cast<std::ptrdiff_t>(first));
            }
            first = end;
        }
    }
    Shelcm(n, h.order_keys, h.merge_keys, h.records);
}

}  // namespace reports
