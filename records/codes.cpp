#include "records/codes.h"

#include "records/record.h"

namespace records {

void Code(std::string_view code, int16_t& cls, int16_t& sign, int16_t& transfer, int16_t mode,
          int16_t& not_found) {
    const std::string word = Fixed(code, 4);
    const TransactionCodeEntry* entry = nullptr;
    for (const auto& e : TransactionCodeTable) {
        if (e.code == word) {
            entry = &e;
            break;
        }
    }
    if (entry == nullptr) {
        not_found = 1;
        return;
    }
    cls = entry->cls;
    sign = entry->sign;
    transfer = (word == "SI  " || word == "SO  ") ? 1 : 0;
    if (mode != 0 && mode != 9) return;
    // Taking a transaction back out: what it closed is reopened, and a
    // purchase or a transfer in closes the lot it had opened.
    if (cls == kShortSaleClass || cls == kClosingClass) cls = kOpeningClass;
    if (word == "B   " || word == "SI  ") cls = kClosingClass;
    sign = static_cast<int16_t>(-sign);
}

namespace {

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsUpperOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

int16_t Chktax(std::string_view code, std::string_view lot) {
    const std::string word = Fixed(code, 4);
    const std::string designation = Fixed(lot, 2);
    const char c1 = designation[0], c2 = designation[1];
    if (word == "SS  " || word == "CS  ") {
        // Short lots are told apart from long lots by their lower case.
        return (IsLower(c1) && (IsLower(c2) || c2 == ' ')) ? 0 : 2;
    }
    auto ordinary = [](char c) { return c == ' ' || IsUpperOrDigit(c); };
    return (ordinary(c1) && ordinary(c2)) ? 0 : 1;
}

}  // namespace records
