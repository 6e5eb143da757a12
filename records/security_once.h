#pragma once

// The security master for a run that only reads it: SECURITY.REC and
// SECURITY.EXT kept open, each record read at its first ask and decoded
// once into the shape the caller needs, and SECURITY.IDX read at the first
// search. An account's lots belong to few securities and a run's accounts
// to the same ones, so every later lot of a security costs a look-up.
// Neither file is created when it is missing: its records then do not read.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/security_file.h"

namespace records {

// One file's records, each decoded once while the reader lives. Decode
// gets the record read, or nullptr when it cannot be read (a position below
// 1, past the file's end, a file that is missing). The references returned
// stay valid while the reader lives.
template <class Fields>
class RecordsOnce {
public:
    using Decoder = Fields (*)(const Record* rec);

    RecordsOnce(std::string_view name, std::size_t record_length, Decoder decode)
        : file_(name, record_length, /*create=*/false), decode_(decode) {}

    const Fields& Read(long position) {
        // Positions a 16-bit record number can give are looked up by index,
        // any other (a damaged lot's) in a table.
        if (position >= 1 && position <= kIndexedPositions) {
            const auto at = static_cast<std::size_t>(position);
            if (at >= indexed_.size()) indexed_.resize(at + 1);
            std::unique_ptr<Fields>& known = indexed_[at];
            if (!known) known = std::make_unique<Fields>(Decoded(position));
            return *known;
        }
        auto [at, added] = others_.try_emplace(position);
        if (added) at->second = Decoded(position);
        return at->second;
    }

private:
    static constexpr long kIndexedPositions = 65535;

    Fields Decoded(long position) const {
        Record rec;
        return decode_(file_.Read(position, rec) ? &rec : nullptr);
    }

    DirectFile file_;
    Decoder decode_;
    std::vector<std::unique_ptr<Fields>> indexed_;
    std::unordered_map<long, Fields> others_;
};

// SECURITY.IDX read at the first search: the position (1 on) of a symbol
// (its first 12 characters compared, blank-padded), 0 when it is not there.
// A symbol listed twice is found at its first place.
class SecurityPositions {
public:
    long Find(std::string_view symbol);

private:
    std::optional<std::unordered_map<std::string, long>> positions_;
};

// The two files' records as stored; nothing when a record cannot be read.
std::optional<SecurityRecord> DecodeSecurityRecord(const Record* rec);
std::optional<SecurityExtension> DecodeSecurityExtension(const Record* rec);
using SecurityRecordsOnce = RecordsOnce<std::optional<SecurityRecord>>;
using SecurityExtensionsOnce = RecordsOnce<std::optional<SecurityExtension>>;

}  // namespace records
