#pragma once

// Account identifiers and the copy of an account.
//
// An account identifier names the account's key in ACCOUNT.IDX and, packed
// by Paknam, the names of all the account's files (HL<acct>.REC,
// TR<acct>.REC, ...), so it must be a valid piece of a file name on every
// system the data directory may travel to. Ckacid is the one rule for a
// new identifier; the account setup dialog and Cpyacc apply it.
//
// Cpyacc makes a new account as a copy of an existing one: a new index
// entry at the end of ACCOUNT.IDX, a byte copy of the source's eight
// ACCOUNT.REC records at the end of ACCOUNT.REC, and copies of its
// holdings, gains, value history and transaction files under the new
// identifier. The copy appends; the account sort puts the new account in
// its place afterwards.

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// Width of the message that Cpyacc returns.
inline constexpr std::size_t kCopyMessageWidth = 80;

// Checks a new account identifier (8 characters, blank padded; only the
// first six are looked at). Returns 0 when it is acceptable, 1 when not:
// an all-blank identifier, a leading or embedded blank, or any character
// other than the upper-case letters, the digits and ! # % & - _ @.
int16_t Ckacid(std::string_view identifier);

// Finds the identifier in ACCOUNT.IDX (keys compared exactly, word by
// word). entry is the key's position + 1, as Ckclnt counts it, or 0 when
// absent; name is 32 blanks and then, when found, the account's short name
// (second ACCOUNT.REC record of the account, bytes 53-84).
void Fndacc(std::string_view identifier, int16_t& entry, std::string& name);

// Copies the account `source` to the new account `target`. error 0: copied,
// message untouched. error 1: refused, message (80 characters, blank
// filled) says why; no account was added. The refusals: a source that is
// not in the index or a target that Ckacid refuses ("invalid account
// identifier"), a target already in the index ("<target, 8 characters>is
// already in the system."), and a copy that could not be completed
// (source account records unreadable, or a file of the new account that
// could not be written). The message length argument is not used.
//
// Every per-account file of the new account (HL .REC, GL .REC, HL .DAT,
// TR .REC) is written whole beside its name and renamed over it only when
// all of it was written, and the new index entry is added only after all
// of them and the account's records are in place.
void Cpyacc(std::string_view source, std::string_view target, int16_t& error, std::string& message,
            int message_length = static_cast<int>(kCopyMessageWidth));

}  // namespace engine
