// The gathering pass of the fixed income appraisal: the run's next account,
// its holdings as of the report date, and the valuation of its lots into
// TEMP1.WRK, one record per security.

#include <algorithm>
#include <cmath>

#include "records/account_file.h"
#include "records/appraisal_files.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/fixed_income_files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "reports/fixed_income/fixed_income_appraisal.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

using records::kNoPriceValue;
using records::Record;

constexpr int kCashType = 2;             // type code "1"
constexpr int kNoInterestType = 4;       // type code "3": accrues nothing
constexpr int kParPricedType = 5;        // type code "4": priced at 100, no years to maturity
constexpr int kTimes100Type = 28;        // type code "R"
constexpr int kUnitPricedType = 29;      // type code "S": priced at 1
constexpr int kExemptInterestType = 34;  // type code "X": its accrued interest is not totalled

// Securities whose SECURITY.EXT record is read: 3 4 5 6 7 9 B C D F T W X Y.
bool Extended(int n) {
    return (n >= 4 && n <= 8) || n == 10 || (n >= 12 && n <= 14) || n == 16 || n == 30 ||
           (n >= 33 && n <= 35);
}

// COMMON.FIL record 2 (program date) and the options record.
void ReadCommon(FixedIncomeRun& run) {
    const records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
    Record rec;
    if (common.Read(records::kProgramDateRecord, rec)) {
        run.program_date = rec.Text(0, 8);
        run.program_date_number = rec.R4(8);
    }
    run.options = records::Rdopts();
}

// The valuation of one account's lots.
class FixedIncomeValuation {
public:
    FixedIncomeValuation(const FixedIncomeRun& run, RunSecurities& securities) : run_(run), securities_(securities) {}

    // Values the lots into TEMP1.WRK and writes its header. False when a
    // lot could not be read (TEMP1.WRK is then left incomplete).
    bool Value(const std::string& holdings_file, const std::string& name,
               const std::array<unsigned char, 4>& word);
    int16_t last_record() const { return last_record_; }

private:
    void ValueLot(const records::HoldingRecord& lot);
    void FinishSecurity();

    const FixedIncomeRun& run_;
    records::DirectFile* work_ = nullptr;
    RunSecurities& securities_;
    std::optional<records::DirectFile> prices_;
    int16_t last_record_ = 0;

    // The security under way.
    bool open_ = false;
    records::FixedIncomeHolding security_;
    bool unmanaged_ = false;
    bool security_unpriced_ = false;

    // The account.
    int16_t count_ = 0;
    bool unpriced_ = false;
    double managed_total_ = 0;
    double accrued_total_ = 0;
    double largest_ = 0;
    double days_by_quantity_ = 0;
    double quantity_sum_ = 0;
    std::array<int16_t, records::kTypeNumberCount> type_flags_{};
};

bool FixedIncomeValuation::Value(const std::string& holdings_file, const std::string& name,
                                 const std::array<unsigned char, 4>& word) {
    records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength);
    work.Truncate(0);
    work.Write(1, records::EmptyAppraisalHeader());
    work_ = &work;
    prices_.emplace(records::PriceFileName(run_.report_date), 8, /*create=*/false);

    // A holdings file that is missing or empty holds no lots.
    const records::DirectFile probe(holdings_file, records::kAccountRecordLength, /*create=*/false);
    if (probe.ok() && probe.Count() > 0) {
        // A header that cannot be read, or names no first lot, is an
        // empty chain; a lot that cannot be read stops the run.
        LotIterator lots(holdings_file);
        if (lots.end() == LotIterator::End::kNone && lots.header().first_lot != 0) {
            records::HoldingRecord lot;
            int16_t record = 0;
            while (lots.Next(record, lot)) {
                last_record_ = record;
                ValueLot(lot);
            }
            if (lots.end() != LotIterator::End::kListEnd) return false;
        }
    }
    if (open_) FinishSecurity();

    records::AppraisalHeader head;
    head.account = run_.account_id;
    head.report_date = run_.report_date;
    head.count = count_;
    head.total_market_value = unpriced_ ? kNoPriceValue : managed_total_ + accrued_total_;
    head.name = name;
    head.largest_value = largest_;
    head.type_flags = type_flags_;
    head.order = records::kFixedIncomeReportKind;
    head.last_accrued = 0;
    head.total_accrued = accrued_total_;
    head.combined = 0;
    head.page_word = 1;
    head.average_years = quantity_sum_ != 0 ? days_by_quantity_ / quantity_sum_ * 0.0027397260273972603 : 0;
    head.account_word = word;
    work.Write(1, head.Encode());
    return true;
}

void FixedIncomeValuation::ValueLot(const records::HoldingRecord& lot) {
    const records::Options& opt = run_.options;
    const bool cash_symbol = records::Fixed(lot.symbol, 4) == "CASH";
    double quantity = lot.quantity;
    double cost = lot.cost;

    if (cash_symbol && records::OptionOn(opt, records::Opt::kNoZeroCash) && quantity > -0.005 &&
        quantity < 0.005)
        return;
    if (cash_symbol && cost == 0) return;

    // Lots of one security in a row fold into one record; a short lot, or
    // an unmanaged lot kept apart, starts its own.
    const bool lot_unmanaged = records::Fixed(lot.tax_lot, 4) == "S   ";
    const bool fold = open_ &&
                      records::Fixed(lot.symbol, 12) == records::Fixed(security_.holding.symbol, 12) &&
                      quantity > 0 && security_.holding.quantity > 0 &&
                      (records::OptionOn(opt, records::Opt::kUnmanagedInBody) || !lot_unmanaged);
    if (open_ && !fold) FinishSecurity();
    if (!open_) {
        security_ = records::FixedIncomeHolding{};
        security_unpriced_ = false;
        open_ = true;
    }

    const bool cash_lot = lot.holding_key == 0;
    long position = lot.security_record;
    if (lot.holding_key <= 0) {
        quantity = cost;
        position = securities_.index.Find(lot.symbol);
    }
    const LotSecurity& sec = securities_.records.Read(position);
    const char type_char = sec.type_code.empty() ? ' ' : sec.type_code[0];
    int type = SecurityTypeNumber(type_char);

    double price = kNoPriceValue;
    if (cash_lot || type == kCashType || type == kUnitPricedType) {
        price = 1.0;
    } else if (type == kParPricedType) {
        price = 100.0;
    } else if (sec.found) {
        Record rec;
        if (prices_->Read(position, rec)) price = records::StoredPrice(rec);
        if (price != kNoPriceValue) records::Drndn(price);
    }

    const bool unmanaged_lot = lot_unmanaged && !records::OptionOn(opt, records::Opt::kUnmanagedInBody);
    if (price == kNoPriceValue && (!lot_unmanaged || records::OptionOn(opt, records::Opt::kUnmanagedInBody)))
        unpriced_ = true;

    const bool percent_priced = IsPercentPricedTypeNumber(type);
    double value = kNoPriceValue;
    if (cash_lot || type == kCashType) {
        value = quantity;
    } else if (price != kNoPriceValue) {
        value = quantity * price;
        if (percent_priced) value /= 100.0;
        if (type == kTimes100Type) value *= 100.0;
    }
    if (percent_priced) security_.holding.per_hundred = 1;
    if (quantity < 0 && !cash_symbol) cost = -cost;

    // Accrued interest from the last coupon date on or before the report
    // date.
    if (percent_priced && type != kNoInterestType) {
        const double accrued = records::AccruedInterest(
            records::LastCouponDate(run_.report_date_number, sec.coupon_date, sec.maturity), run_.report_date,
            quantity, sec.rate);
        if (type != kExemptInterestType) {
            security_.accrued += accrued;
            records::Drnd2(security_.accrued);
            accrued_total_ += accrued;
        }
    }

    // Years to maturity, weighted by quantity; a blank maturity date has
    // none.
    if (percent_priced && type != kParPricedType && LotDateNumber(sec.maturity) > 0) {
        const double days = records::Daycb(run_.report_date, sec.maturity, 0);
        days_by_quantity_ += days * quantity;
        quantity_sum_ += quantity;
    }

    if (value != kNoPriceValue) largest_ = std::max(largest_, value);
    if (unmanaged_lot) type = kFixedIncomeUnmanagedType;
    if (!unpriced_ && type != kFixedIncomeUnmanagedType && value != kNoPriceValue) managed_total_ += value;

    records::ValuedHolding& h = security_.holding;
    h.quantity += quantity;
    h.cost += cost;
    if (value != kNoPriceValue) h.market_value += value;
    if (price == kNoPriceValue) security_unpriced_ = true;
    unmanaged_ = unmanaged_lot;
    h.type_number = static_cast<int16_t>(type);
    h.symbol = records::Fixed(lot.symbol, 12);
    h.description1 = sec.description1;
    h.description2 = sec.description2;
    h.rate = sec.rate;
    h.lot_date = lot.open_date;
    h.type_code = sec.type_code;
    h.maturity_date = sec.maturity;
    h.extension_read = 0;
    h.extension_percent = 0;
    if (sec.found && Extended(SecurityTypeNumber(type_char))) {
        const LotExtension& terms = securities_.terms.Read(position);
        h.extension_read = terms.read ? 1 : 0;
        h.extension_percent = terms.yield_to_maturity;
        terms.CopyTerms(h);
        security_.yield_to_call = terms.yield_to_call;
    }
    type_flags_[static_cast<std::size_t>(type - 1)] = 1;
}

void FixedIncomeValuation::FinishSecurity() {
    records::ValuedHolding& h = security_.holding;
    if (security_unpriced_) h.market_value = kNoPriceValue;
    records::Drndn(h.cost);
    if (h.market_value != kNoPriceValue) records::Drndn(h.market_value);
    if (unmanaged_) h.type_number = kFixedIncomeUnmanagedType;
    ++count_;
    work_->Write(count_ + 1, security_.Encode());
    open_ = false;
}

// The account's address lines, short name, manager code and the word of its
// fourth record; blank when its records cannot be read.
struct AccountFields {
    std::array<std::string, 5> lines{std::string(32, ' '), std::string(32, ' '), std::string(32, ' '),
                                     std::string(32, ' '), std::string(32, ' ')};
    std::string name = std::string(32, ' ');
    std::string manager = std::string(4, ' ');
    std::array<unsigned char, 4> word{};
};

AccountFields ReadAccount(int entry) {
    AccountFields f;
    records::AccountRecordSet recs;
    if (entry < 1 || !records::ReadAccountRecordSet(entry, recs)) return f;
    for (int i = 0; i < 4; ++i)
        f.lines[static_cast<std::size_t>(i)] = recs[0].Text(32 * static_cast<std::size_t>(i), 32);
    f.lines[4] = recs[2].Text(0, 32);
    f.manager = recs[1].Text(16, 4);
    f.name = recs[1].Text(52, 32);
    f.word = WordAt(recs[3], 87);
    return f;
}

void WriteControlHeader(const FixedIncomeRun& run, int16_t position) {
    records::FixedIncomeControlHeader head;
    head.slot = position;
    head.slot_flags = run.manager_flags;
    head.countdown = run.countdown;
    head.manager = records::Fixed(run.manager, 4);
    head.output_mode = 0;
    records::DirectFile control(records::kFixedIncomeControlFile, records::kWorkRecordLength);
    control.Write(1, head.Encode());
}

void StartRun(FixedIncomeRun& run) {
    run.started = true;
    MarkFixedIncomeRunFree();
    int16_t mode = 0, error = 0;
    run.report_date = records::Fixed(run.report_date, 8);
    records::Ckdate(run.report_date, mode, error, run.report_date_number, 0, 1991231);
    run.order_choice = 1;
    run.countdown = 999;
    run.manager_flags = {};
    if (records::Fixed(run.selection, 4) == "S   ") {
        run.manager_number = 0;
    } else {
        run.selection = "A   ";
        run.manager_number = static_cast<int16_t>(std::max(ManagerCodePosition(run.manager), 1));
        run.manager_flags[static_cast<std::size_t>(run.manager_number - 1)] = 1;
    }
    run.walk = WalkAccounts();
}

void Finish(FixedIncomeRun& run, int16_t& status) {
    run.done = true;
    MarkFixedIncomeRunFree();
    status = kFixedIncomeFinished;
}

}  // namespace

bool IsPercentPricedTypeNumber(int n) {
    return (n >= 4 && n <= 8) || n == 12 || n == 14 || n == 16 || (n >= 33 && n <= 35);
}

void MarkFixedIncomeRunFree() {
    records::DirectFile control(records::kFixedIncomeControlFile, records::kWorkRecordLength);
    records::FixedIncomeControlHeader head;
    head.slot = records::kRunFinished;
    control.Write(1, head.Encode());
}

void Faprval(FixedIncomeRun& run, int16_t& status) {
    ReadCommon(run);
    if (!run.started) StartRun(run);
    if (run.done) {
        Finish(run, status);
        return;
    }
    if (run.countdown > 0) --run.countdown;

    // The next account.
    const bool single = run.selection == "S   ";
    AccountFields fields;
    const AccountEntry* found = nullptr;
    if (single) {
        const std::string wanted = records::Fixed(run.account, 8);
        for (const AccountEntry& e : run.walk.accounts)
            if (e.id == wanted) found = &e;
        run.next = run.walk.accounts.size();
        if (!found) {
            if (!run.walk.count_read)
                run.Say(UnreadableLine(records::kAccountIndex, 1));
            else
                run.Say(" ACCOUNT " + records::TrimRight(wanted) +
                        " is not in ACCOUNT.IDX; nothing is appraised.");
            Finish(run, status);
            return;
        }
        fields = ReadAccount(found->entry);
    } else {
        while (run.next < run.walk.accounts.size()) {
            const AccountEntry& e = run.walk.accounts[run.next++];
            AccountFields f = ReadAccount(e.entry);
            if (ManagerMatches(run.manager, f.manager)) {
                found = &e;
                fields = std::move(f);
                break;
            }
        }
        if (!found) {
            // An index that ended the walk early, or a run without an
            // account, says so.
            if (!run.walk.count_read)
                run.Say(UnreadableLine(records::kAccountIndex, 1));
            else if (run.walk.failed_record > 0)
                run.Say(UnreadableLine(records::kAccountIndex, run.walk.failed_record));
            else if (run.gathered == 0)
                run.Say(" No account has the manager code " + records::TrimRight(run.manager) + ".");
            Finish(run, status);
            return;
        }
    }
    ++run.gathered;
    run.account_id = found->id;
    run.entry = found->entry;
    run.address = fields.lines;
    run.address_flag = records::OptionValue(run.options, records::Opt::kAccountAddress) == 1 ? 1 : 0;

    const HoldingsSource source =
        PrepareHoldings(records::TrimRight(run.account_id), run.report_date_number, run.program_date_number);
    if (!run.securities) run.securities = std::make_shared<RunSecurities>();
    FixedIncomeValuation valuation(run, *run.securities);
    if (!valuation.Value(source.file, fields.name, fields.word)) {
        run.Say(" " + records::TrimRight(run.account_id) + ": the lots of " + source.file +
                " could not all be read; the lot list breaks after record " +
                std::to_string(valuation.last_record()) + ".");
        records::Purge(records::kAppraisalWorkFile);
        Finish(run, status);
        status = kFixedIncomeLotReadFailed;
        return;
    }

    // The run record of a manager run, and record 1.
    if (!single) {
        records::FixedIncomeRunRecord rec;
        rec.account = run.account_id;
        const float yymmdd = run.report_date_number;
        const records::DateNumberParts parts = records::SplitDateNumber(static_cast<long>(yymmdd));
        rec.year = static_cast<int16_t>(parts.year);
        rec.month = static_cast<int16_t>(parts.month);
        rec.entry = static_cast<int16_t>(run.entry);
        rec.count = static_cast<int16_t>(run.walk.count);
        rec.report_date = run.report_date;
        rec.date_number = yymmdd;
        records::DirectFile control(records::kFixedIncomeControlFile, records::kWorkRecordLength);
        control.Write(run.manager_number + 1, rec.Encode());
    }
    const bool last = single || run.next >= run.walk.accounts.size();
    if (last && run.manager_number > 0)
        run.manager_flags[static_cast<std::size_t>(run.manager_number - 1)] = 0;
    WriteControlHeader(run, last ? int16_t{0} : run.manager_number);
    status = kFixedIncomePrint;
}

}  // namespace reports
