#pragma once

// Per-account file names and the clean-up routines built on them.

#include <string>
#include <string_view>

namespace records {

// Builds the 12-character name of an account's file: the kind's first 2
// characters, the first 6 of the account identifier and the 4-character
// extension, with every blank removed and the rest left-justified:
// kind "HL", account "AB1", extension ".REC" give "HLAB1.REC   ".
std::string Paknam(std::string_view account, std::string_view kind, std::string_view extension);

// Deletes an account's holdings, transaction and gains files: HL .REC,
// .EXT and .DAT, TR .REC and .EXT, GL .REC, in that order.
void Delacf(std::string_view account);

// Deletes the tax output file A:IRSTAX. Returns 0 when it was opened and
// deleted, 1 when either step failed (no disk in drive A).
int Delirs();

// Deletes the report work and control files and resets the two counters
// at the start of QOR.DAT record 4.
void Finit();

}  // namespace records
