#pragma once

// The pieces of the gathering step (Apgath, declared in appraisal_run.h)
// that the mutual fund valuation (Mfvalu) shares: the run's cursor over
// the accounts with its control file, the shared account data, and the
// security type classes of the valuations.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "records/record.h"
#include "reports/position/appraisal_run.h"

namespace reports {

// What a gathering step does differently from Apgath; the defaults are
// Apgath's own.
struct GatherVariant {
    // COMMON.FIL record 26 is read for the performance figures.
    bool read_record26 = true;
    // The firm's name is read again (records::Gcn) before each account.
    bool refresh_firm_name = true;
    // When the run starts, after the report date is checked: starts
    // OUTPUT.TMP (unless the run counts) and empties LDL.DAT under option
    // 52, and whatever else the report takes once.
    std::function<void(AppraisalRun&)> open_output;
    // Values the account in run.current into TEMP1.WRK; false when its lots
    // cannot all be read.
    std::function<bool(AppraisalRun&)> value;
    // The control record's year and month are taken by multiplying the
    // date by 0.0001 and 0.01 (otherwise by dividing by 10000 and 100).
    bool scaled_date_parts = false;
};

// One gathering step: picks the next account of the run (the one account
// of selection "S", otherwise the next of ACCOUNT.IDX whose manager code
// matches), fills the shared account data, values it and writes
// CCONTROL.FIL. step as Apgath says.
void GatherAccount(AppraisalRun& run, int16_t& step, const GatherVariant& variant);

// N bytes of a record from offset off; bytes past its end read as 0.
template <std::size_t N>
std::array<unsigned char, N> BytesAt(const records::Record& r, std::size_t off) {
    std::array<unsigned char, N> out{};
    for (std::size_t i = 0; i < N && off + i < r.size(); ++i) out[i] = r.data()[off + i];
    return out;
}

// Type numbers whose prices are per 100 of face value (3 4 5 6 7 B D F W
// X Y).
bool PerHundredType(int n);
// Type numbers whose SECURITY.EXT record the valuations read (3-7 9 B C D
// F T W X Y).
bool ExtendedType(int n);
// Type numbers that the appraisal pages print (kAppraisalTypeOrder).
bool InAppraisalTypeOrder(int n);
// The industry category: the first two characters of the category field
// as a number; 0 when they do not read as one.
int16_t CategoryNumber(const std::string& field);

}  // namespace reports
