#pragma once

// Amount and quantity fields of the gains and income reports, and the
// account fields they read.

#include <array>
#include <string>
#include <string_view>

#include "records/account_records.h"
#include "reports/gains_tax/tax_record_file.h"

namespace reports {

// An amount under a "(Fw.2,1X)" layout (w = width - 1) with thousands
// separators, a negative amount in brackets when asked: width characters.
std::string GainAmount(double value, int width, bool brackets);
// A quantity under "(F8.0)" with separators: 8 characters.
std::string GainQuantity(double quantity);

// A realised lot's proceeds and cost, each rounded to cents (Drnd2), and
// the gain between them rounded again: the figures the gains reports print
// and total.
struct RoundedLot {
    double proceeds = 0;
    double cost = 0;
    double gain = 0;
};
RoundedLot RoundLot(const records::GainRecord& lot);

// The account fields the gains and income reports take from ACCOUNT.REC.
struct GainAccount {
    TaxPayee payee;
    std::string manager = std::string(4, ' ');      // R2 bytes 17-20
    std::string short_name = std::string(32, ' ');  // R2 bytes 53-84
    std::string fifth_line = std::string(32, ' ');  // R3 bytes 1-32, the fifth address line
};
// Reads the account's first three records (entry p from 1); false when one
// of them cannot be read.
bool ReadGainAccount(int entry, std::string_view id, GainAccount& account);

// COMMON.FIL record 2: the program date text and number (blank and 0 when
// it cannot be read).
struct ProgramDate {
    std::string text = std::string(8, ' ');
    float number = 0;
};
ProgramDate ReadProgramDate();

// Checks the report's dates: the start between 0 and the program date, the
// end between the start and the program date. A date that fails keeps the
// number it read (the dialogs refuse bad dates before a run).
struct DateRange {
    std::string start;
    std::string end;
    float start_number = 0;
    float end_number = 0;
};
DateRange CheckReportDates(std::string_view start, std::string_view end, const ProgramDate& program);

}  // namespace reports
