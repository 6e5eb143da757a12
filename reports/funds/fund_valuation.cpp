#include "reports/funds/fund_valuation.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/replay.h"
#include "records/account_file.h"
#include "records/account_records.h"
#include "records/appraisal_files.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "reports/appraisal/appraisal_gathering.h"
#include "reports/appraisal/appraisal_side_files.h"
#include "reports/appraisal/working_appraisal.h"
#include "reports/funds/fund_rebuild.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

using records::kNoPriceValue;
using records::Record;

constexpr std::size_t kCommonLength = 128;
constexpr int kCashType = 2;              // type code "1"
constexpr int kBondType = 5;              // type code "4": priced at 100
constexpr int kCommonStockType = 18;      // type code "H"
constexpr int kTimes100Type = 28;         // type code "R": value x 100, never a cash equivalent
constexpr int kUnitPricedType = 29;       // type code "S": priced at 1
constexpr int kMissingSecurityType = 30;  // type code "T"
constexpr int kUnmanagedType = 36;
// Zero cash under option 41: a quantity within this band is left out.
constexpr double kZeroCashBand = 0.0055;

bool StartsWithCash(const std::string& symbol) {
    return records::Fixed(symbol, 4) == "CASH";
}

// A symbol whose first four bytes are blanks or never written.
bool BlankStart(const std::string& symbol) {
    const std::string four = records::Fixed(symbol, 4);
    return std::all_of(four.begin(), four.end(), [](char c) { return c == ' ' || c == '\0'; });
}

// The report title of option 38: COMMON.FIL record 70, read (never
// written) and centred; blanks without the option or the record.
std::string ReportTitle(const records::Options& options) {
    std::string title(64, ' ');
    if (!records::OptionOn(options, records::Opt::kChangeReportName)) return title;
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    Record rec;
    if (!common.Read(kReportTitleRecord, rec)) return title;
    title = rec.Text(0, 64);
    std::replace(title.begin(), title.end(), '\0', ' ');
    int16_t status = 0;
    records::Center(title, 64, status);
    return title;
}

// The valuation of one account from the lots of HL.TMP.
class FundValuation : LotValuationBase {
public:
    explicit FundValuation(AppraisalRun& run) : LotValuationBase(run) {}

    // Values the lots into TEMP1.WRK. False when a lot cannot be read
    // (TEMP1.WRK then stays as far as it was written).
    bool Value();

private:
    void ValueLot(const records::FundLotRecord& fund_lot);
    void CloseHolding();
    void WriteHeader();

    std::optional<records::DirectFile> work_;
};

bool FundValuation::Value() {
    work_.emplace(records::kAppraisalWorkFile, records::kWorkRecordLength);
    work_->Truncate(0);
    run_.work_file_kept = false;
    work_->Write(1, records::EmptyAppraisalHeader());
    OpenSecurityFiles();

    // HL.TMP as the rebuild left it; a missing or never filled file has no
    // lots. The walk is bounded by the file's records, so a chain that
    // loops ends as a failed read.
    const records::DirectFile lots(engine::HoldingsWorkName(), records::kAccountRecordLength,
                                   /*create=*/false);
    Record rec;
    long link = -1;
    if (lots.ok() && lots.Read(1, rec)) link = records::HoldingsHeader::Decode(rec).first_lot;
    long steps_left = lots.ok() ? lots.Count() : 0;
    while (link > 0) {
        if (steps_left-- <= 0 || !lots.Read(link, rec)) {
            run_.Say(" ACCOUNT " + records::TrimRight(run_.current.id) + ": lot " + std::to_string(link) +
                     " of HL.TMP could not be read; the mutual fund appraisal stops here.");
            return false;
        }
        const records::FundLotRecord lot = records::FundLotRecord::Decode(rec);
        ValueLot(lot);
        link = lot.lot.next;
    }
    if (holding_open_) CloseHolding();
    WriteHeader();
    return true;
}

void FundValuation::ValueLot(const records::FundLotRecord& fund_lot) {
    const records::Options& opt = run_.options;
    const records::HoldingRecord& lot = fund_lot.lot;
    double quantity = lot.quantity;
    double amount = lot.cost;

    // Zero cash is left out under option 41; a cash lot without an amount
    // invested always.
    if (records::OptionOn(opt, records::Opt::kNoZeroCash) &&
        (StartsWithCash(lot.symbol) || BlankStart(lot.symbol)) && quantity >= -kZeroCashBand &&
        quantity <= kZeroCashBand)
        return;
    if (StartsWithCash(lot.symbol) && amount == 0.0) return;

    const bool lot_unmanaged = records::Fixed(lot.tax_lot, 4) == "S   ";
    const bool joins = holding_open_ && records::Fixed(lot.symbol, 12) == holding_symbol_ && quantity > 0 &&
                       last_quantity_ > 0 &&
                       (records::OptionOn(opt, records::Opt::kUnmanagedInBody) || !lot_unmanaged);
    if (holding_open_ && !joins) CloseHolding();
    if (!holding_open_) {
        holding_ = records::FundWorkLine{};
        holding_open_ = true;
    }

    // The security: a lot without a key above 0 is found by its symbol.
    bool cash = lot.holding_key == 0.0;
    long position = lot.security_record;
    if (lot.holding_key <= 0.0) {
        quantity = amount;
        position = securities_->index.Find(lot.symbol);
    }
    const LotSecurity& sec = securities_->records.Read(position);
    // Windowed, so that maturities from 2000 on compare with the date.
    maturity_number_ = sec.found ? LotDateNumber(sec.maturity) : 0.0f;
    if (sec.found && records::Fixed(sec.type_code, 4) == "1   ") cash = true;
    double price = kNoPriceValue;
    if (sec.found) {
        price = 1.0;
        Record rec;
        if (!cash) price = prices_->Read(position, rec) ? records::StoredPrice(rec) : kNoPriceValue;
    }

    // The class; a type character outside the class text, or one the
    // pages do not print, files as "T".
    int type = SecurityTypeNumber(sec.type_code[0]);
    if (!InAppraisalTypeOrder(type)) type = kMissingSecurityType;

    ReadExtension(sec, position, type);

    int16_t category = CategoryNumber(sec.category);
    if (records::OptionOn(opt, records::Opt::kNoIndustryCategories)) category = 0;
    if (type == kCommonStockType && category > 0) page_word_ = 3;

    if (cash || type == kUnitPricedType) price = 1.0;
    if (type == kBondType && sec.found) price = 100.0;
    if (price != kNoPriceValue) records::RoundToDecimals(price, decimals_);

    const bool unmanaged_lot = lot_unmanaged && !records::OptionOn(opt, records::Opt::kUnmanagedInBody);
    if (price == kNoPriceValue && !unmanaged_lot) unpriced_ = true;

    double value = kNoPriceValue;
    if (price != kNoPriceValue) value = quantity * price;
    type_flags_[static_cast<std::size_t>(type - 1)] = 1;
    if (PerHundredType(type)) {
        if (value != kNoPriceValue) value *= 0.01;
        holding_.per_hundred = 1;
    }
    if (type == kTimes100Type && value != kNoPriceValue) value *= 100;
    if (quantity < 0 && !StartsWithCash(lot.symbol)) amount = -amount;
    if (cash) value = quantity;

    CountLot(sec, type, quantity, value, unmanaged_lot);

    holding_.quantity += quantity;
    holding_.cost += amount;
    holding_.cost_basis += fund_lot.total_cost;
    if (value != kNoPriceValue) {
        double rounded = value;
        records::RoundToDecimals(rounded, decimals_);
        holding_.market_value += rounded;
    }

    // The holding takes the fields of its last lot.
    holding_symbol_ = records::Fixed(lot.symbol, 12);
    last_quantity_ = quantity;
    last_lot_unmanaged_ = lot_unmanaged;
    last_price_missing_ = price == kNoPriceValue;
    TakeLotFields(lot.symbol, lot.open_date, sec, type, category);
    holding_.sort_key = sec.found ? records::Fixed(lot.symbol, 10) : std::string(10, ' ');
}

void FundValuation::CloseHolding() {
    const records::Options& opt = run_.options;
    records::FundWorkLine& h = holding_;
    if (last_price_missing_) h.market_value = kNoPriceValue;
    // A holding maturing within a year of the date, or matured, is a cash
    // equivalent; a blank maturity date never moves.
    h.matures_within_year = 0;
    if (!records::OptionOn(opt, records::Opt::kMaturingBondsNotCash) && h.type_number != kTimes100Type &&
        MovesToCashEquivalents(maturity_number_, run_.report_date_number)) {
        h.type_number = kCashType;
        h.matures_within_year = 1;
        type_flags_[kCashType - 1] = 1;
    }
    // An unmanaged holding is filed, and marked present, as such, so that
    // the pages print its group.
    if (last_lot_unmanaged_ && !records::OptionOn(opt, records::Opt::kUnmanagedInBody)) {
        h.type_number = kUnmanagedType;
        type_flags_[kUnmanagedType - 1] = 1;
    }
    h.performance = 0;
    if (records::OptionOn(opt, records::Opt::kTimeWeightedReturn) && !StartsWithCash(h.symbol) &&
        records::Fixed(h.type_code, 4) != "1   ")
        h.performance = HoldingReturn(h.symbol);
    ++count_;
    work_->Write(count_ + 1, h.Encode());
    holding_open_ = false;
}

void FundValuation::WriteHeader() {
    records::FundWorkHeader head = Header();
    if (maturity_quantity_ != 0) head.average_years = days_by_quantity_ / maturity_quantity_ * (1.0 / 365.0);
    int16_t stage = page_word_;
    if (records::OptionOn(run_.options, records::Opt::kNoPortfolioSummary))
        stage = static_cast<int16_t>(stage - 1);
    head.page_word = stage;
    work_->Write(1, head.Encode());
}

}  // namespace

void Mfvalu(AppraisalRun& run, int16_t& step, std::string& title) {
    GatherVariant variant;
    variant.read_record26 = false;
    variant.refresh_firm_name = false;
    // The report title, OUTPUT.TMP, and LDL.DAT under option 52 even when
    // the run counts.
    variant.open_output = [&title](AppraisalRun& r) {
        title = ReportTitle(r.options);
        if (r.output_mode != kOutputModeCount) r.frame.emplace(r.output_name, /*copy=*/true);
        if (records::OptionOn(r.options, records::Opt::kLoanLimitAndExtracts)) records::Purge(kLoanFile);
    };
    // The lots as of the date, rebuilt from the transactions.
    variant.value = [](AppraisalRun& r) {
        Mfhold(r.current.id, r.report_date, r.report_date_number, r.output_mode);
        FundValuation valuation(r);
        return valuation.Value();
    };
    variant.scaled_date_parts = true;
    GatherAccount(run, step, variant);
}

}  // namespace reports
