#include "reports/appraisal/appraisal_gathering.h"

#include <algorithm>
#include <cmath>

#include "records/account_file.h"
#include "records/account_lists.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "reports/appraisal/appraisal_side_files.h"
#include "reports/appraisal/working_appraisal.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/security_kinds.h"
#include "reports/performance/period_returns.h"

namespace reports {

namespace {

using records::kNoPriceValue;
using records::Record;

constexpr std::size_t kCommonLength = 128;
constexpr int kUnmanagedType = 36;
constexpr int kCashType = 2;              // type code "1"
constexpr int kBondType = 5;              // type code "4": priced at 100
constexpr int kUnitPricedType = 29;       // type code "S": priced at 1
constexpr int kTimes100Type = 28;         // type code "R": value x 100, never moved to cash equivalents
constexpr int kNoInterestType = 4;        // type code "3": no accrued interest
constexpr int kExemptInterestType = 34;   // type code "X": accrued interest not totalled
constexpr int kMissingSecurityType = 30;  // type code "T"
constexpr int kCommonStockType = 18;

// COMMON.FIL records 2, 26 (when record26) 31 and 37; the first that
// cannot be read ends the reading, and what was not read stays as it was.
void ReadCommon(AppraisalRun& run, bool record26) {
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    Record rec;
    if (!common.Read(records::kProgramDateRecord, rec)) return;
    run.program_date = rec.Text(0, 8);
    run.program_date_number = rec.R4(8);
    if (record26) {
        if (!common.Read(26, rec)) return;
        run.record26 = BytesAt<9>(rec, 0);
    }
    if (!common.Read(records::kOptionsRecord, rec)) return;
    for (std::size_t i = 0; i < run.options.size(); ++i) run.options[i] = rec.data()[i];
    if (!common.Read(37, rec)) return;
    run.index_periods = BytesAt<72>(rec, 0);
}

// The target allocation of R7: 23 bytes that are all blanks or all zero
// mean no target; otherwise a byte outside 0-100 counts 0.
std::array<int8_t, 23> TargetAllocation(const records::AccountRecordSet& recs) {
    const auto bytes = records::TargetAllocationBytes(recs);
    std::array<int8_t, 23> target{};
    const bool blanks = std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == ' '; });
    const bool zeros = std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == 0; });
    if (blanks || zeros) return target;
    for (std::size_t i = 0; i < target.size(); ++i) {
        const int v = static_cast<int8_t>(bytes[i]);
        target[i] = static_cast<int8_t>(v < 0 || v > 100 ? 0 : v);
    }
    return target;
}

// Fills the shared account data from the account's eight records; the
// fields stay blank when the records cannot be read.
void ReadAccountData(AppraisalRun& run, int entry, std::string& manager_code) {
    AppraisalAccount& a = run.current;
    a.address_word = records::OptionValue(run.options, records::Opt::kAccountAddress) == 1 ? 1 : 0;
    records::AccountRecordSet recs;
    run.target = {};
    manager_code = "    ";
    if (!records::ReadAccountRecordSet(entry, recs)) return;
    for (int i = 0; i < 4; ++i) a.lines[i] = recs[0].Text(32 * i, 32);
    a.lines[4] = recs[2].Text(0, 32);
    manager_code = recs[1].Text(16, 4);
    a.short_name = recs[1].Text(52, 32);
    a.date_opened = recs[1].Text(120, 8);
    a.fiscal_year_end = recs[2].I16(80);
    a.index1_level = recs[3].R4(0);
    a.index2_level = recs[3].R4(4);
    a.opening_value = recs[3].R8(8);
    a.objective = BytesAt<4>(recs[3], 87);
    run.target = TargetAllocation(recs);
}

// The valuation of one account.
class AccountValuation : LotValuationBase {
public:
    explicit AccountValuation(AppraisalRun& run) : LotValuationBase(run) {}

    // Values the lots of the holdings file into TEMP1.WRK. False when the
    // lot list breaks (the file then stays as far as it was written).
    bool Value(const std::string& holdings_file);

private:
    void ValueLot(const records::HoldingRecord& lot);
    void FinishHolding();
    // Writes TEMP1.WRK as made: the header and the finished holdings, with
    // one write.
    void WriteFile();
    void WriteHeader();

    records::DirectFile* work_ = nullptr;
    records::Record encoded_;  // a holding as TEMP1.WRK takes it
    // The industry categories of the account's lots, for the page word.
    std::array<int, 99> categories_{};
    // What the holding takes of its last lot: its date, its security (kept
    // by the run), its final type number and its category.
    std::string last_lot_date_;
    const LotSecurity* last_security_ = nullptr;
    int last_type_ = 0;
    int16_t last_category_ = 0;
};

bool AccountValuation::Value(const std::string& holdings_file) {
    records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength);
    work.Truncate(0);
    run_.work_file_kept = false;
    work_ = &work;
    // The file is made in memory, record 1 the empty header until the lots
    // are valued, and written with one write at the end.
    const records::Record empty = records::EmptyAppraisalHeader();
    run_.work_holding_bytes.assign(empty.data(), empty.data() + records::kWorkRecordLength);
    OpenSecurityFiles(/*price_file=*/false);
    // The prices of the report date, read whole once a run: the report
    // writes no price file.
    if (!run_.report_prices) run_.report_prices = records::ReadPriceFile(run_.report_date);

    bool broken = false;
    // A missing or empty holdings file is an account without lots.
    LotIterator lots(holdings_file);
    if (lots.records() > 0) {
        int16_t record = 0;
        records::HoldingRecord lot;
        while (lots.Next(record, lot)) ValueLot(lot);
        if (lots.end() != LotIterator::End::kListEnd) {
            broken = true;
            run_.Say(" ACCOUNT " + records::TrimRight(run_.current.id) + ": the lots of " + holdings_file +
                     " could not all be read; the lot list breaks after record " + std::to_string(record) +
                     ".");
        }
    }
    if (broken) {
        WriteFile();
        return false;
    }
    if (holding_open_) FinishHolding();
    WriteHeader();
    WriteFile();
    return true;
}

void AccountValuation::WriteFile() {
    std::vector<unsigned char>& encoded = run_.work_holding_bytes;
    work_->WriteRecords(1, encoded.data(), static_cast<std::size_t>(count_) + 1);
    encoded.clear();
}

void AccountValuation::ValueLot(const records::HoldingRecord& lot) {
    const records::Options& opt = run_.options;
    const bool cash_symbol = IsCashSymbol(lot.symbol);
    double quantity = lot.quantity;
    double amount = lot.cost;

    // Zero cash is left out.
    if (cash_symbol && records::OptionOn(opt, records::Opt::kNoZeroCash) && quantity > -0.005 &&
        quantity < 0.005)
        return;
    if (cash_symbol && amount == 0) return;

    const bool lot_unmanaged = records::FixedIs(lot.tax_lot, "S   ");
    const bool combine = holding_open_ && lot.symbol == holding_symbol_ && quantity > 0 &&
                         last_quantity_ > 0 &&
                         (records::OptionOn(opt, records::Opt::kUnmanagedInBody) || !lot_unmanaged);
    if (holding_open_ && !combine) FinishHolding();
    if (!holding_open_) {
        // Copied from an empty holding, so that its texts keep their storage.
        static const records::ValuedHolding kEmptyHolding;
        holding_ = kEmptyHolding;
        holding_open_ = true;
    }

    // The security.
    const bool cash_lot = lot.holding_key == 0;
    long position = lot.security_record;
    if (cash_lot) {
        quantity = amount;
        position = securities_->index.Find(lot.symbol);
    }
    const LotSecurity& sec = securities_->records.Read(position);
    maturity_number_ = sec.maturity_number;
    const bool cash = cash_lot || sec.type_code.compare(0, 1, "1") == 0;

    double price = 1.0;
    if (!cash) {
        price = kNoPriceValue;
        const std::vector<double>& prices = *run_.report_prices;
        if (sec.found && position >= 1 && static_cast<std::size_t>(position) <= prices.size())
            price = prices[static_cast<std::size_t>(position - 1)];
    }

    int type = SecurityTypeNumber(sec.type_code[0]);
    if (!InAppraisalTypeOrder(type)) type = kMissingSecurityType;
    type_flags_[type - 1] = 1;

    ReadExtension(sec, position, type);

    int16_t category = CategoryNumber(sec.category);
    if (category >= 1 && category <= 99) ++categories_[category - 1];
    if (records::OptionOn(opt, records::Opt::kNoIndustryCategories)) category = 0;
    if (type == kCommonStockType && category > 0) page_word_ = 3;

    if (cash || type == kUnitPricedType) price = 1.0;
    if (type == kBondType) price = 100.0;
    if (price != kNoPriceValue) records::RoundToDecimals(price, decimals_);

    const bool unmanaged_lot = lot_unmanaged && !records::OptionOn(opt, records::Opt::kUnmanagedInBody);
    if (price == kNoPriceValue && !unmanaged_lot) unpriced_ = true;

    double value = kNoPriceValue;
    if (cash) {
        value = quantity;
    } else if (price != kNoPriceValue) {
        value = price * quantity;
        if (PerHundredType(type)) value /= 100.0;
        if (type == kTimes100Type) value *= 100.0;
    }
    if (PerHundredType(type)) holding_.per_hundred = 1;
    if (quantity < 0 && !cash_symbol) amount = -amount;

    CountLot(sec, type, quantity, value, unmanaged_lot);

    holding_.quantity += quantity;
    holding_.cost += amount;
    if (value != kNoPriceValue) {
        double rounded = value;
        records::RoundToDecimals(rounded, decimals_);
        holding_.market_value += rounded;
    }

    // The holding takes the fields of its last lot, when it is finished.
    holding_symbol_ = lot.symbol;
    last_quantity_ = quantity;
    last_lot_unmanaged_ = lot_unmanaged;
    last_price_missing_ = price == kNoPriceValue;
    last_lot_date_ = lot.open_date;
    last_security_ = &sec;
    last_type_ = type;
    last_category_ = category;
}

void AccountValuation::FinishHolding() {
    const records::Options& opt = run_.options;
    TakeLotFields(holding_symbol_, last_lot_date_, *last_security_, last_type_, last_category_);
    records::ValuedHolding& h = holding_;
    if (last_price_missing_) h.market_value = kNoPriceValue;
    // Holdings maturing within a year of the report date, or matured, are
    // cash equivalents; a blank maturity date never moves. A holding of the
    // times-100 type is marked as maturing but keeps its type.
    if (!records::OptionOn(opt, records::Opt::kMaturingBondsNotCash) &&
        MovesToCashEquivalents(maturity_number_, run_.report_date_number)) {
        h.matures_within_year = 1;
        if (h.type_number != kTimes100Type) h.type_number = kCashType;
    }
    if (last_lot_unmanaged_ && !records::OptionOn(opt, records::Opt::kUnmanagedInBody))
        h.type_number = kUnmanagedType;
    type_flags_[h.type_number - 1] = 1;
    h.sort_key = records::Fixed(h.symbol, 10);
    // The performance figure of the holding, when option 55 asks for it: its
    // return since its first transaction (-999.99 when there is none).
    if (records::OptionOn(opt, records::Opt::kTimeWeightedReturn) && !IsCashSymbol(h.symbol) &&
        h.type_code.compare(0, 1, "1") != 0)
        h.performance = HoldingReturn(h.symbol);
    if (h.market_value != kNoPriceValue) run_.market_by_type[h.type_number - 1] += h.market_value;
    ++count_;
    h.EncodeInto(encoded_);
    run_.work_holding_bytes.insert(run_.work_holding_bytes.end(), encoded_.data(),
                                   encoded_.data() + records::kWorkRecordLength);
    holding_open_ = false;
}

void AccountValuation::WriteHeader() {
    records::AppraisalHeader head = Header();
    if (maturity_quantity_ != 0) head.average_years = days_by_quantity_ / maturity_quantity_ / 365.0;
    int page_word = page_word_;
    if (records::OptionOn(run_.options, records::Opt::kNoPortfolioSummary)) page_word -= 1;
    const int in_use =
        static_cast<int>(std::count_if(categories_.begin(), categories_.end(), [](int c) { return c > 0; }));
    const int usable = records::FirmHeadingBlock().page_length - 4;
    if (usable > 0) page_word += (in_use + 14) / usable;
    head.page_word = static_cast<int16_t>(page_word);
    const records::Record encoded = head.Encode();
    std::copy_n(encoded.data(), records::kWorkRecordLength, run_.work_holding_bytes.begin());
}

// Starts a run: reads the report date, starts OUTPUT.TMP and chooses the
// accounts. False when the run is abandoned.
bool StartRun(AppraisalRun& run, int16_t& step, const GatherVariant& variant) {
    run.started = true;
    if (run.output_mode <= 0) {
        step = kStepAbandoned;
        return false;
    }
    int16_t mode = 0, error = 0;
    run.report_date = records::Fixed(run.report_date, 8);
    records::Ckdate(run.report_date, mode, error, run.report_date_number, 0, 1991231);
    variant.open_output(run);
    if (records::Fixed(run.selection, 4) != "S   ") {
        run.selection = "A   ";
        run.run_slot = static_cast<int16_t>(std::max(ManagerCodePosition(run.manager), 1));
        run.walk = WalkAccounts();
    } else {
        run.run_slot = 0;
    }
    run.countdown = 999;
    run.slot_flags = {};
    run.slot_flags[static_cast<std::size_t>(std::max<int>(run.run_slot, 1) - 1)] = 1;
    // The control file starts afresh: nothing of an earlier run is kept.
    records::DirectFile control(records::kAppraisalControlFile, records::kWorkRecordLength);
    control.Truncate(0);
    return true;
}

void WriteFinished() {
    records::DirectFile control(records::kAppraisalControlFile, records::kWorkRecordLength);
    control.Write(1, records::FinishedControlHeader());
}

}  // namespace

LotValuationBase::LotValuationBase(AppraisalRun& run)
    : run_(run), decimals_(records::SystemDecimals(run.options)) {}

void LotValuationBase::OpenSecurityFiles(bool price_file) {
    if (!run_.securities) run_.securities = std::make_shared<RunSecurities>();
    securities_ = run_.securities.get();
    if (price_file) prices_.emplace(records::PriceFileName(run_.report_date), 8, /*create=*/false);
}

void LotValuationBase::ReadExtension(const LotSecurity& sec, long position, int type) {
    holding_.extension_read = 0;
    holding_.extension_percent = 0;
    if (sec.found && ExtendedType(type)) {
        holding_.extension_read = 1;
        const LotExtension& terms = securities_->terms.Read(position);
        holding_.extension_percent = terms.yield_to_maturity;
        if (terms.read) extension_ = terms;
    }
}

void LotValuationBase::TakeLotFields(std::string_view symbol, std::string_view open_date, const LotSecurity& sec,
                                     int type, int16_t category) {
    holding_.type_number = static_cast<int16_t>(type);
    holding_.category = category;
    holding_.symbol = records::Fixed(symbol, 12);
    holding_.description1 = sec.description1;
    holding_.description2 = sec.description2;
    holding_.rate = sec.rate;
    holding_.lot_date = open_date;
    holding_.type_code = sec.type_code;
    holding_.maturity_date = sec.maturity;
    holding_.security_first_word = sec.first_word;
    holding_.security_last_word = sec.last_word;
    extension_.CopyTerms(holding_);
}

float LotValuationBase::HoldingReturn(const std::string& symbol) const {
    return Mnappr2(HoldingPerformanceRequest(run_.current.id, symbol, run_.report_date, run_.index_periods),
                   run_.options)
        .since_start;
}

records::AppraisalHeader LotValuationBase::Header() const {
    records::AppraisalHeader head;
    head.account = run_.current.id;
    head.report_date = run_.report_date;
    head.count = count_;
    head.total_market_value = unpriced_ ? kNoPriceValue : total_ + total_accrued_;
    head.name = run_.current.short_name;
    head.largest_value = largest_;
    head.type_flags = type_flags_;
    head.order = records::kReaderOrders;
    head.total_accrued = total_accrued_;
    head.account_word = run_.current.objective;
    return head;
}

void LotValuationBase::CountLot(const LotSecurity& sec, int& type, double quantity, double value,
                                bool unmanaged_lot) {
    // Accrued interest from the last coupon date, for the per-100 types
    // but type "3".
    if (!records::FixedIs(run_.accrued_switch, "N   ") && PerHundredType(type) && type != kNoInterestType) {
        const double accrued = records::AccruedInterest(
            records::LastCouponDate(run_.report_date_number, sec.coupon_date, sec.maturity), run_.report_date,
            quantity, sec.rate);
        if (type != kExemptInterestType) total_accrued_ += accrued;
    }

    // Years to maturity.
    if (records::OptionOn(run_.options, records::Opt::kBondDetails) && PerHundredType(type) &&
        type != kBondType && maturity_number_ > 0) {
        const double days = records::Daycb(run_.report_date, sec.maturity, 0);
        days_by_quantity_ += days * quantity;
        maturity_quantity_ += quantity;
    }

    if (value != kNoPriceValue) largest_ = std::max(largest_, value);
    if (unmanaged_lot) type = kUnmanagedType;
    // Signed values, so that short lots and a negative cash balance lower
    // the total as they lower the lines.
    if (!unpriced_ && type != kUnmanagedType && value != kNoPriceValue) total_ += value;
}

bool PerHundredType(int n) {
    return (n >= 4 && n <= 8) || n == 12 || n == 14 || n == 16 || (n >= 33 && n <= 35);
}

bool ExtendedType(int n) {
    return (n >= 4 && n <= 8) || n == 10 || (n >= 12 && n <= 14) || n == 16 || n == 30 ||
           (n >= 33 && n <= 35);
}

bool InAppraisalTypeOrder(int n) {
    return std::find(kAppraisalTypeOrder.begin(), kAppraisalTypeOrder.end(), n) != kAppraisalTypeOrder.end();
}

int16_t CategoryNumber(const std::string& field) {
    int value = 0;
    bool digit = false;
    for (char c : field.substr(0, 2)) {
        if (c == ' ') continue;
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        digit = true;
    }
    return digit ? static_cast<int16_t>(value) : 0;
}

void GatherAccount(AppraisalRun& run, int16_t& step, const GatherVariant& variant) {
    ReadCommon(run, variant.read_record26);
    if (variant.refresh_firm_name) records::Gcn();
    if (!run.started && !StartRun(run, step, variant)) return;
    auto finish = [&] {
        run.done = true;
        WriteFinished();
        step = kStepFinished;
    };
    if (run.done) {
        finish();
        return;
    }
    if (run.countdown > 1) --run.countdown;
    run.market_by_type = {};

    // The next account.
    AppraisalAccount& a = run.current;
    a = AppraisalAccount{};
    const bool single = run.selection == "S   ";
    std::string manager_code;
    if (single) {
        if (run.next > 0) {
            finish();
            return;
        }
        run.next = 1;
        a.id = records::Fixed(run.account, 8);
        for (const AccountEntry& e : WalkAccounts().accounts)
            if (e.id == a.id) a.index = static_cast<int16_t>(e.entry);
        if (a.index == 0) {
            run.Say(" ACCOUNT " + records::TrimRight(a.id) + " is not in ACCOUNT.IDX; nothing is appraised.");
            finish();
            return;
        }
        ReadAccountData(run, a.index, manager_code);
    } else {
        bool found = false;
        while (run.next < run.walk.accounts.size()) {
            const AccountEntry& e = run.walk.accounts[run.next++];
            a = AppraisalAccount{};
            a.id = e.id;
            a.index = static_cast<int16_t>(e.entry);
            ReadAccountData(run, e.entry, manager_code);
            if (ManagerMatches(run.manager, manager_code)) {
                found = true;
                break;
            }
        }
        if (!found) {
            finish();
            return;
        }
        a.count = static_cast<int16_t>(run.walk.count);
    }
    a.run_slot = run.run_slot;
    run.account = a.id;

    // The lots.
    if (!variant.value(run)) {
        step = kStepLotReadFailed;
        return;
    }

    // The control file, for the page stages.
    records::DirectFile control(records::kAppraisalControlFile, records::kWorkRecordLength);
    const float yymmdd = run.report_date_number;
    if (run.run_slot > 0) {
        records::AppraisalControlAccount rec;
        rec.account = a.id;
        if (variant.scaled_date_parts) {
            rec.year = static_cast<int16_t>(std::trunc(yymmdd * 0.0001f));
            rec.month = static_cast<int16_t>(std::trunc((yymmdd - rec.year * 10000.0f) * 0.01f));
        } else {
            const records::DateNumberParts parts = records::SplitDateNumber(static_cast<long>(yymmdd));
            rec.year = static_cast<int16_t>(parts.year);
            rec.month = static_cast<int16_t>(parts.month);
        }
        rec.index = a.index;
        rec.count = a.count;
        rec.report_date = run.report_date;
        rec.date_number = yymmdd;
        rec.name = a.short_name;
        control.Write(run.run_slot + 1, rec.Encode());
    }
    records::AppraisalControlHeader head;
    int16_t slot = run.run_slot > 0 ? run.run_slot : int16_t{1};
    if (single || a.count < a.index) {
        run.slot_flags[static_cast<std::size_t>(slot - 1)] = 0;
        slot = 0;
    }
    head.slot = slot;
    head.slot_flags = run.slot_flags;
    head.countdown = run.countdown;
    head.manager = records::Fixed(run.manager, 4);
    head.output_mode = run.output_mode;
    control.Write(1, head.Encode());
    step = kStepHoldingsPages;
}

void Apgath(AppraisalRun& run, int16_t& step) {
    GatherVariant variant;
    variant.open_output = [](AppraisalRun& r) {
        if (r.output_mode != kOutputModeCount)
            r.frame.emplace(ReportFrame::ForOutputMode(r.output_name, r.output_mode));
        // The loan disbursement records grow over the run's accounts only.
        if (r.output_mode != kOutputModeCount &&
            records::OptionOn(r.options, records::Opt::kLoanLimitAndExtracts))
            records::Purge(kLoanFile);
    };
    variant.value = [](AppraisalRun& r) {
        const HoldingsSource source =
            PrepareHoldings(records::TrimRight(r.current.id), r.report_date_number, r.program_date_number);
        AccountValuation valuation(r);
        return valuation.Value(source.file);
    };
    GatherAccount(run, step, variant);
}

}  // namespace reports
