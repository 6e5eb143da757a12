#pragma once

// The update of the data base (Utilities / Update Data Base, report code
// 162). Every account of ACCOUNT.IDX is refreshed against the current
// security master and the rate files, and its holdings and gains files are
// then rebuilt from the refreshed transactions. The run writes a short
// report to OUTPUT.TMP: a two-line heading and one warning line for each
// transaction whose security can no longer be found and for each account
// whose rebuild did not succeed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/files.h"
#include "records/record.h"

namespace engine {

// Units of the update. Acctrn expects SECURITY.IDX open on
// kUpdateSecurityIndexUnit (the unit the security look-ups read) and
// SECURITY.REC on kUpdateSecurityUnit.
inline constexpr int kUpdateAccountIndexUnit = 6;
inline constexpr int kUpdateSecurityIndexUnit = 7;
inline constexpr int kUpdateSecurityUnit = 8;

// Report destination of Acctrn that sends its warning lines to the report
// through Prtout; with any other value the warnings are not written.
inline constexpr int16_t kUpdateReportDestination = 1;

// Limits of the settlement date check in the rate step: a settlement date
// is taken from 01/01/70 to 12/31/99 (the check places no year in a
// century, so a two-digit year below 70 is refused).
inline constexpr float kSettlementLow = 700101.0f;
inline constexpr float kSettlementHigh = 1991231.0f;

// The security fields a holding key is built from: the program-wide
// current-security area, filled from a SECURITY.REC record before Trnkey.
struct CurrentSecurity {
    std::string symbol = std::string(12, ' ');   // SECURITY.REC bytes 1-12
    std::string type = std::string(4, ' ');      // bytes 77-80; its first character is the type code
    std::string category = std::string(4, ' ');  // bytes 81-84; its first two characters a number
    std::string date = std::string(8, ' ');      // bytes 89-96, MM/DD/YY (blank: none)
    float date_number = 0;                       // the date as YY x 10000 + MM x 100 + DD, no window
    int16_t entry = 0;                           // the security's entry in SECURITY.IDX

    // The area as a SECURITY.REC record fills it; a date that does not
    // read as a date gives the number 0 (no date).
    static CurrentSecurity FromRecord(const records::Record& rec, int16_t entry);
};

// The program-wide current-security area.
CurrentSecurity& CurrentSecurityBlock();

// Holding key of a security: type rank (position of the type code in
// "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ", 37 when absent) x 10^14 +
// category number x 10^12 + the date widened to eight digits; without a
// date the symbol's first six character codes, two digits each, take the
// date's place.
double Trnkey(const CurrentSecurity& security);
// The key of the current-security area.
void Trnkey(double& key);

// Error of Ckdat2.
enum Ckdat2Error : int16_t {
    kDateChecked = 0,
    kDateBelowLow = 1,
    kDateAboveHigh = 2,
    kDateOutOfRange = 3,  // month, day or year out of range, or a day beyond its month
    kDateMalformed = 4,   // a character other than a digit, blank or "/", or a group empty or too long
};

// Checks a settlement date text (8 characters). The text is read from the
// right in three groups, year, day and month, each of one or two digits,
// ended by "/" (blanks are skipped; characters left of the month are not
// looked at). A date that reads and lies in range is rewritten MM/DD/YY
// with leading blanks (the year zero-filled below 10) and its windowed
// number Y x 10000 + MM x 100 + DD (Y = 100 + YY below 51, so 2000-2050
// follow 1999) is stored and compared with the limits. Text and number are left alone on errors 3 and 4.
void Ckdat2(std::string& date, int16_t& error, float& number, float low, float high);

// Refreshes one account's transactions (TR<acct>.REC, rewritten in place
// record by record): restates the price and amount of a transaction whose
// extension carries a new settlement date at the rates of the two dates,
// recomputes each holding key from the security master, re-points
// transactions whose security entry was deleted and entered again, and
// copies the current security descriptions into the gains records the
// transactions name. A transaction whose security can no longer be found
// gets a warning line (destination kUpdateReportDestination). Expects
// SECURITY.IDX and SECURITY.REC open on units 7 and 8.
void Acctrn(std::string_view account, int16_t destination);

// The update of the data base: writes the report heading into OUTPUT.TMP,
// then for every account of ACCOUNT.IDX in entry order (deleted entries
// passed over, the first blank entry ending the run) runs Acctrn and
// rebuilds the holdings and gains files (Rbldhl). An account whose rebuild
// fails keeps its stored holdings and gains files and gets a warning line.
// Returns 0.
int Getacc();

// What an update of the data base did with its accounts: how many it
// rebuilt, and which it could not (each keeps its stored holdings and
// gains files), for a caller that must say so where the report's warning
// lines could not be written.
struct UpdateOutcome {
    int rebuilt = 0;
    std::vector<std::string> not_rebuilt;  // account identifiers, trailing blanks dropped
    // Why the rebuilt files of an account could not be written or put in
    // place (the first such cause), which the rebuild took itself; none
    // when every account not rebuilt failed for its transactions alone.
    std::optional<records::WriteFault> fault;
};
int Getacc(UpdateOutcome& outcome);

}  // namespace engine
