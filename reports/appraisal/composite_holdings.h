#pragma once

// The holding arrays of the composite appraisals (report codes 201 and 202)
// and their sort, Shelcm.
//
// Every holding record a composite run writes into TEMP1.WRK enters the
// arrays with two keys: the order key (Gtpcd2: sort type, category, then
// the maturity date or the first six characters of the symbol), whose
// ascending order is the print order, and the merge key, which says which
// holdings are the same security held the same way. The merge key is the
// exact tuple of sort type, category, the first eight characters of the
// symbol and the side (long or short), compared field by field: a single
// number built from them (Gtpcd3) gives the first symbol character the
// weight of the sort type and runs past the exact range of a double, so
// that different securities could compare equal.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace reports {

// The sort type of a type number: the type number, but for the types that
// print among others ('W' with the per-100 types, 'X', 'Y', 'P', 'N', 'H'
// and 'J' in the places of the appraisal type order), so that ascending
// sort types follow the order in which the appraisal pages print.
int CompositeSortType(int type_number);

struct CompositeMergeKey {
    int16_t sort_type = 0;
    int16_t category = 0;
    std::string symbol = std::string(8, ' ');  // the first 8 characters
    int16_t side = 1;                          // -1 for a short holding

    bool operator==(const CompositeMergeKey&) const = default;
    // Field by field in the order above.
    bool operator>(const CompositeMergeKey& other) const;
};

CompositeMergeKey MakeMergeKey(int sort_type, int category, std::string_view symbol, bool short_side);

// The holding arrays: entry k is one holding record of TEMP1.WRK.
struct CompositeHoldings {
    std::vector<double> order_keys;
    std::vector<CompositeMergeKey> merge_keys;
    std::vector<int16_t> records;  // TEMP1.WRK record numbers; 0 once merged into another

    std::size_t size() const { return records.size(); }
    void Add(double order_key, const CompositeMergeKey& merge_key, int16_t record) {
        order_keys.push_back(order_key);
        merge_keys.push_back(merge_key);
        records.push_back(record);
    }
};

// Shell's diminishing-increment sort of keys[0..n-1], ascending, with the
// gaps n/2, n/4, ..., 1; companion and tags are permuted with the keys.
// Entries are exchanged only when the first key is strictly greater than
// the second, so equal keys are never exchanged with each other (the sort
// is not stable: other exchanges can still change their relative order).
// n of 0 or 1 leaves everything as it is.
template <typename Key, typename Companion>
void Shelcm(int n, std::vector<Key>& keys, std::vector<Companion>& companion, std::vector<int16_t>& tags) {
    for (int gap = n / 2; gap > 0; gap /= 2) {
        for (int i = 0; i + gap < n; ++i) {
            for (int j = i; j >= 0 && keys[j] > keys[j + gap]; j -= gap) {
                std::swap(keys[j], keys[j + gap]);
                std::swap(companion[j], companion[j + gap]);
                std::swap(tags[j], tags[j + gap]);
            }
        }
    }
}

// Sorts the arrays by merge key, merges the holdings of equal merge key in
// TEMP1.WRK (Combin: the first in array order takes the sums, the others'
// record numbers become 0) when merge is true, and sorts by order key. The
// record numbers are then the print order.
void OrderCompositeHoldings(CompositeHoldings& holdings, bool merge);

}  // namespace reports
