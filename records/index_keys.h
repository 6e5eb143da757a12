#pragma once

// The one place where a key read from an index file becomes an
// identifier. The dialogs write an identifier blank padded to the key's
// width, so a key read back must give that identifier again: a key with a
// leading or an inner blank, or with more characters than an identifier
// holds, only comes from a damaged or foreign index, and taking it would
// change the key when the index is written back.

#include <cstddef>
#include <string>
#include <string_view>

namespace records {

struct IndexKey {
    enum Kind {
        kEntry,    // identifier holds the key without its trailing blanks
        kDeleted,  // the key's first word is "$$$$" (IsDeletedKey)
        kBlank,    // all blanks: names no entry
        kDamaged,  // not an identifier this program writes
    };
    Kind kind = kBlank;
    std::string identifier;
};

// Checks one key. `identifier_width` is the longest identifier (6 for
// ACCOUNT.IDX). Every index marks a deleted entry by the first word
// "$$$$", whatever follows it (eight "$" in the broker and custodian
// indexes, six in older account indexes, or "$$$$" and zero bytes). Bytes
// below the blank count as blanks only at the end of a key.
IndexKey CheckIndexKey(std::string_view key, std::size_t identifier_width);

// The message that refuses an index for a damaged key:
// `ACCOUNT.IDX holds the key " AB" ...`, the key's bytes below the blank
// shown as "?".
std::string DamagedIndexKeyMessage(std::string_view file, std::string_view key);

}  // namespace records
