#pragma once

// What the gathering step (Apgath, declared in appraisal_run.h) and the
// mutual fund valuation (Mfvalu) share: the run's cursor over the accounts
// with its control file, the shared account data, the state and common
// steps of the lot valuations, and the security type classes.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "records/account_records.h"
#include "records/appraisal_files.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/kernel/lot_securities.h"

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

// What the lot valuations of Apgath and Mfvalu share: the security files
// kept open over an account's lots, the holding being built from them, the
// account's totals, and the steps that both take alike.
class LotValuationBase {
protected:
    explicit LotValuationBase(AppraisalRun& run);

    // Opens SECURITY.REC, SECURITY.EXT and, with price_file, the price
    // file of the report date; none is created when missing.
    void OpenSecurityFiles(bool price_file = true);
    // The holding's extension fields: for a found security of a type that
    // reads SECURITY.EXT, its yield to maturity, and its terms kept as the
    // last extension record read; otherwise 0.
    void ReadExtension(const LotSecurity& sec, long position, int type);
    // The fields the holding takes from its last lot and its security.
    void TakeLotFields(std::string_view symbol, std::string_view open_date, const LotSecurity& sec, int type,
                       int16_t category);
    // The return of the holding's security since its first transaction
    // (-999.99 when there is none), for option 55.
    float HoldingReturn(const std::string& symbol) const;
    // TEMP1.WRK's header as far as both fill it alike: all but the average
    // years to maturity and the page word.
    records::AppraisalHeader Header() const;
    // What a valued lot adds to the account: its accrued interest from the
    // last coupon date (per-100 types but "3", unless the run's accrued
    // switch is "N"; type "X" is not totalled), its quantity and days to
    // maturity for the average years (option 20, per-100 types but "4",
    // with a maturity), and its value to the largest value and, while the
    // account is fully priced, to the total. An unmanaged lot's type
    // becomes the unmanaged type.
    void CountLot(const LotSecurity& sec, int& type, double quantity, double value, bool unmanaged_lot);

    AppraisalRun& run_;
    const int decimals_;
    RunSecurities* securities_ = nullptr;  // the run's
    std::optional<records::DirectFile> prices_;

    // The holding in progress.
    bool holding_open_ = false;
    records::ValuedHolding holding_;
    std::string holding_symbol_;
    double last_quantity_ = 0;
    bool last_lot_unmanaged_ = false;
    bool last_price_missing_ = false;
    float maturity_number_ = 0;
    LotExtension extension_;  // the last extension record read

    // The account.
    int16_t count_ = 0;
    bool unpriced_ = false;
    double total_ = 0;
    double total_accrued_ = 0;
    double largest_ = 0;
    double days_by_quantity_ = 0;
    double maturity_quantity_ = 0;  // the quantities that enter the average years
    std::array<int16_t, records::kTypeNumberCount> type_flags_{};
    int16_t page_word_ = 2;
};

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
