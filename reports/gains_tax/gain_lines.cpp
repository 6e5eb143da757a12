// Fields of the gains and income reports.

#include "reports/gains_tax/gain_lines.h"

#include <cstdint>

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/rounding.h"
#include "reports/kernel/amount_texts.h"

namespace reports {

std::string GainAmount(double value, int width, bool brackets) {
    const std::string layout = "(F" + std::to_string(width - 1) + ".2,1X)";
    return NumberColumn(value, layout, width - 1, brackets, static_cast<std::size_t>(width));
}

RoundedLot RoundLot(const records::GainRecord& lot) {
    RoundedLot r{lot.proceeds, lot.cost, 0};
    records::Drnd2(r.proceeds);
    records::Drnd2(r.cost);
    r.gain = r.proceeds - r.cost;
    records::Drnd2(r.gain);
    return r;
}

std::string GainQuantity(double quantity) {
    records::Drnd2(quantity);
    return NumberColumn(quantity, "(F8.0)", 8, false, 8);
}

bool ReadGainAccount(int entry, std::string_view id, GainAccount& account) {
    records::DirectFile file(records::kAccountRecords, records::kAccountRecordLength, /*create=*/false);
    const long first = 8L * entry - 7;
    records::Record r1, r2, r3;
    if (!file.Read(first, r1) || !file.Read(first + 1, r2) || !file.Read(first + 2, r3)) return false;
    account.payee.id = records::Fixed(id, 8);
    for (std::size_t i = 0; i < 4; ++i) account.payee.address[i] = r1.Text(32 * i, 32);
    account.manager = r2.Text(16, 4);
    account.short_name = r2.Text(52, 32);
    account.payee.tax_id = r2.Text(84, 12);
    account.fifth_line = r3.Text(0, 32);
    account.payee.payer_account = r3.Text(32, 32);
    return true;
}

ProgramDate ReadProgramDate() {
    ProgramDate date;
    records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
    records::Record rec;
    if (common.Read(records::kProgramDateRecord, rec)) {
        date.text = rec.Text(0, 8);
        date.number = rec.R4(8);
    }
    return date;
}

DateRange CheckReportDates(std::string_view start, std::string_view end, const ProgramDate& program) {
    DateRange range;
    range.start = records::Fixed(start, 8);
    range.end = records::Fixed(end, 8);
    int16_t mode = 0, error = 0;
    records::Ckdate(range.start, mode, error, range.start_number, 0.0f, program.number);
    mode = 0;
    error = 0;
    records::Ckdate(range.end, mode, error, range.end_number, range.start_number, program.number);
    return range;
}

}  // namespace reports
