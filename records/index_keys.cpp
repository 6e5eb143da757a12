// Index keys to identifiers.

#include "records/index_keys.h"

#include "records/index.h"

namespace records {

IndexKey CheckIndexKey(std::string_view key, std::size_t identifier_width) {
    IndexKey out;
    if (IsDeletedKey(key)) {
        out.kind = IndexKey::kDeleted;
        return out;
    }
    std::size_t end = key.size();
    while (end > 0 && (key[end - 1] == ' ' || key[end - 1] == '\0')) --end;
    if (end == 0) return out;  // blank
    const std::string_view id = key.substr(0, end);
    const bool inner_blank = id.find(' ') != std::string_view::npos;
    out.kind = inner_blank || id.size() > identifier_width ? IndexKey::kDamaged : IndexKey::kEntry;
    if (out.kind == IndexKey::kEntry) out.identifier = std::string(id);
    return out;
}

std::string DamagedIndexKeyMessage(std::string_view file, std::string_view key) {
    std::string shown(key);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < ' ' || static_cast<unsigned char>(c) > '~') c = '?';
    return std::string(file) + " holds the key \"" + shown +
           "\", which is not an identifier (a damaged or foreign index): it is not read and not written back.";
}

}  // namespace records
