#pragma once

// The securities the gains and income reports look up, read once a run
// through the record layer's security master: SECURITY.IDX at the first
// search, each SECURITY.REC record the first time it is asked for. Neither
// file is created when it is missing (a symbol is then simply not found).

#include <string_view>

#include "records/security_file.h"
#include "records/security_once.h"

namespace reports {

class GainSecurityBook {
public:
    // The position of the symbol (12 characters compared) in SECURITY.IDX;
    // 0 when it is not there.
    int Position(std::string_view symbol) { return static_cast<int>(index_.Find(symbol)); }
    // The record of a position; nothing when it cannot be read.
    const records::SecurityRecord* Record(int position) {
        const auto& read = records_.Read(position);
        return read ? &*read : nullptr;
    }
    // The record of a symbol; nothing when the symbol is not in the index
    // or its record cannot be read.
    const records::SecurityRecord* Find(std::string_view symbol) { return Record(Position(symbol)); }

private:
    records::SecurityPositions index_;
    records::SecurityRecordsOnce records_{records::kSecurityRecords, records::kSecurityRecordLength,
                                          records::DecodeSecurityRecord};
};

}  // namespace reports
