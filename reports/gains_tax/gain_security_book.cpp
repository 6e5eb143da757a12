// The securities of the gains and income reports.

#include "reports/gains_tax/gain_security_book.h"

#include <vector>

#include "records/record.h"

namespace reports {

GainSecurityBook::GainSecurityBook() {
    const std::vector<std::string> keys = records::ReadSecurityIndex();
    for (std::size_t i = 0; i < keys.size(); ++i)
        positions_.emplace(records::Fixed(keys[i], 12), static_cast<int>(i) + 1);
}

int GainSecurityBook::Position(std::string_view symbol) const {
    const auto it = positions_.find(records::Fixed(symbol, 12));
    return it == positions_.end() ? 0 : it->second;
}

const records::SecurityRecord* GainSecurityBook::Record(int position) {
    if (position < 1) return nullptr;
    auto it = records_.find(position);
    if (it == records_.end()) {
        records::SecurityRecord security;
        std::optional<records::SecurityRecord> read;
        if (records::ReadSecurity(position, security)) read = std::move(security);
        it = records_.emplace(position, std::move(read)).first;
    }
    return it->second ? &*it->second : nullptr;
}

const records::SecurityRecord* GainSecurityBook::Find(std::string_view symbol) {
    return Record(Position(symbol));
}

}  // namespace reports
