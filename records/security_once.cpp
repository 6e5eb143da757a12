// The security master read once a run.

#include "records/security_once.h"


namespace records {

long SecurityPositions::Find(std::string_view symbol) {
    if (!positions_) {
        positions_.emplace();
        const std::vector<std::string> keys = ReadSecurityIndex();
        positions_->reserve(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i)
            positions_->emplace(Fixed(keys[i], kSecurityKeyWidth), static_cast<long>(i) + 1);
    }
    const auto it = positions_->find(Fixed(symbol, kSecurityKeyWidth));
    return it == positions_->end() ? 0 : it->second;
}

std::optional<SecurityRecord> DecodeSecurityRecord(const Record* rec) {
    if (!rec) return std::nullopt;
    return SecurityRecord::Decode(*rec);
}

std::optional<SecurityExtension> DecodeSecurityExtension(const Record* rec) {
    if (!rec) return std::nullopt;
    return SecurityExtension::Decode(*rec);
}

}  // namespace records
