#pragma once

// The securities the gains and income reports look up, read once a run:
// SECURITY.IDX into a map from symbol to position, and each SECURITY.REC
// record the first time it is asked for. Neither file is created when it
// is missing (a symbol is then simply not found).

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "records/security_file.h"

namespace reports {

class GainSecurityBook {
public:
    GainSecurityBook();

    // The position of the symbol (12 characters compared) in SECURITY.IDX;
    // 0 when it is not there.
    int Position(std::string_view symbol) const;
    // The record of a position; nothing when it cannot be read.
    const records::SecurityRecord* Record(int position);
    // The record of a symbol; nothing when the symbol is not in the index
    // or its record cannot be read.
    const records::SecurityRecord* Find(std::string_view symbol);

private:
    std::unordered_map<std::string, int> positions_;
    std::unordered_map<int, std::optional<records::SecurityRecord>> records_;
};

}  // namespace reports
