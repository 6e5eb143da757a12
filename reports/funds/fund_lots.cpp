#include "reports/funds/fund_lots.h"

#include <vector>

#include "engine/lot_texts.h"
#include "engine/replay.h"
#include "records/codes.h"
#include "records/options.h"
#include "records/record.h"
#include "records/rounding.h"

namespace reports {

namespace {

using records::FundLotRecord;
using records::HoldingRecord;
using records::Record;

constexpr double kClosedQuantity = 0.0005;  // a lot this close to 0 has ended
// Record numbers are 16-bit and the next free number must fit too.
constexpr int16_t kLastLotRecord = 32766;
constexpr int16_t kCashSecurityRecord = 2;

}  // namespace

FundLots::FundLots(std::string_view account, std::string_view as_of_text, const records::Options& options)
    : account_(records::Fixed(account, 8)),
      as_of_text_(records::Fixed(as_of_text, 8)),
      decimals_(records::SystemDecimals(options)),
      lots_(records::OptionOn(options, records::Opt::kLotTexts)) {}

void FundLots::Start() {
    // The file starts without a header: it is written with the first
    // transaction that changes the file.
    lots_.Create(engine::HoldingsWorkName(), engine::LotTextsWorkName());
    lots_.DeferWrites();
    sound_ = true;
}

void FundLots::Resume() {
    lots_.Load(engine::HoldingsWorkName(), engine::LotTextsWorkName());
    lots_.DeferWrites();
    sound_ = ChainSound();
}

bool FundLots::Flush() {
    return lots_.Flush();
}

void FundLots::Round(double& value) const {
    records::RoundToDecimals(value, decimals_);
}

bool FundLots::ChainSound() const {
    const records::HoldingsHeader header =
        lots_.Readable(1) ? records::HoldingsHeader::Decode(lots_.Raw(1)) : records::HoldingsHeader{};
    std::vector<bool> seen;
    for (long link = header.first_lot; link >= 0;) {
        if (link < 2 || !lots_.Readable(link)) return false;
        const auto at = static_cast<std::size_t>(link);
        if (seen.size() <= at) seen.resize(at + 1, false);
        if (seen[at]) return false;
        seen[at] = true;
        link = lots_.Raw(link).I16(0);
    }
    return true;
}

void FundLots::RoundLot(int16_t n) {
    scratch_ = lots_.Raw(n);
    double quantity = HoldingRecord::QuantityOf(scratch_);
    double amount = HoldingRecord::CostOf(scratch_);
    Round(quantity);
    Round(amount);
    HoldingRecord::SetQuantityAndCost(scratch_, quantity, amount);
    lots_.Rewrite(n, scratch_);
}

int16_t FundLots::NewRecord() {
    records::HoldingsHeader& header = lots_.header();
    const int16_t n = header.next_free;
    if (n > header.records_in_use) {
        if (n > kLastLotRecord || header.records_in_use >= kLastLotRecord) return 0;
        ++header.records_in_use;
        ++header.next_free;
        return n;
    }
    if (n >= 2 && lots_.Readable(n) && records::DeletedLot::Is(lots_.Raw(n))) {
        header.next_free = records::DeletedLot::Decode(lots_.Raw(n)).next_free;
        return n;
    }
    // The free chain's head is no freed record (a damaged file): the lot
    // goes after the last record in use instead of being lost, and the
    // free chain is left as it is.
    if (header.records_in_use >= kLastLotRecord) return 0;
    return ++header.records_in_use;
}

void FundLots::LinkNew(int16_t n, const FundLotRecord& lot) {
    const int16_t previous = lots_.InsertionPoint(lot.lot.holding_key, lot.lot.symbol, lot.lot.tax_lot);
    if (previous != 0) RoundLot(previous);
    // The lot is encoded over the bytes its record holds (zeros past the
    // end of the file), so bytes 105-128 of a reused record stay.
    if (lots_.Readable(n))
        scratch_ = lots_.Raw(n);
    else
        scratch_.bytes().assign(records::kAccountRecordLength, 0);
    lot.Encode(scratch_);
    lots_.Link(n, previous, scratch_);
}

FundLotOutcome FundLots::Mflotu(const records::TransactionRecord& t, int16_t cls, int16_t sign,
                                int16_t transfer, int16_t& condition, std::string_view memo,
                                std::string_view date, std::string_view description, double total_cost) {
    condition = 0;
    // A class outside the code table's moves nothing.
    if (cls < records::kShortSaleClass || cls > records::kOpeningClass) return FundLotOutcome::kApplied;
    if (!sound_) return FundLotOutcome::kChainDamaged;
    // The header as record 1 holds it: a transaction that ended without
    // writing it leaves no trace of what it took.
    lots_.ReadHeader();
    records::HoldingsHeader& header = lots_.header();
    const bool lot_texts = lots_.with_extension();
    const records::HoldingExtension texts{records::Fixed(date, 8), records::Fixed(description, 32)};
    bool changed = false;

    if (cls != records::kCashOnlyClass) {
        const engine::LotChain::Place place = lots_.Find(t.holding_key, t.symbol, t.tax_lot);
        if (place.found()) {
            double lot_quantity = HoldingRecord::QuantityOf(lots_.Raw(place.record));
            double quantity = t.quantity;
            Round(lot_quantity);
            Round(quantity);
            if (cls == records::kClosingClass && sign * lot_quantity < quantity) {
                condition = kLotExceeded;
                return FundLotOutcome::kApplied;
            }
            double remaining = lot_quantity - sign * quantity;
            if (remaining >= -kClosedQuantity && remaining <= kClosedQuantity) {
                if (place.previous != 0) RoundLot(place.previous);
                lots_.Unlink(place);
                scratch_ = lots_.Raw(place.record);
                records::DeletedLot{header.next_free}.Encode(scratch_);
                lots_.WriteFree(place.record, scratch_);
                header.next_free = place.record;
            } else {
                scratch_ = lots_.Raw(place.record);
                double amount = HoldingRecord::CostOf(scratch_);
                double lot_total = FundLotRecord::TotalCostOf(scratch_);
                if (cls == records::kShortSaleClass) {
                    // A further short sale adds its proceeds to the short lot.
                    amount += t.amount;
                    lot_total += total_cost;
                } else if (sign > 0 || t.code == "CS  ") {
                    // What remains keeps its share of both amounts.
                    if (lot_quantity != 0) {
                        amount = amount / lot_quantity * remaining;
                        lot_total = lot_total / lot_quantity * remaining;
                    }
                } else {
                    amount += t.amount;
                    lot_total += total_cost;
                }
                Round(amount);
                Round(lot_total);
                Round(remaining);
                HoldingRecord::SetQuantityAndCost(scratch_, remaining, amount);
                FundLotRecord::SetTotalCost(scratch_, lot_total);
                HoldingRecord::SetMemo(scratch_, records::Fixed(memo, 20));
                lots_.Rewrite(place.record, scratch_);
                if (lot_texts) lots_.WriteExtension(place.record, texts);
            }
        } else {
            if (cls == records::kClosingClass) {
                condition = kNoLot;
                return FundLotOutcome::kApplied;
            }
            const int16_t n = NewRecord();
            if (n == 0) return FundLotOutcome::kFileFull;
            FundLotRecord lot;
            lot.lot.holding_key = t.holding_key;
            lot.lot.symbol = t.symbol;
            lot.lot.security_record = t.security_record;
            lot.lot.broker = t.broker;
            lot.lot.tax_lot = t.tax_lot;
            const bool short_sale = cls == records::kShortSaleClass;
            lot.lot.quantity = short_sale ? -t.quantity : t.quantity;
            lot.lot.cost = t.amount;
            Round(lot.lot.quantity);
            Round(lot.lot.cost);
            lot.lot.open_date = short_sale ? t.trade_date : t.lot_date;
            lot.lot.bond_interest = t.bond_interest;
            lot.lot.reference = (t.code == "SI  " || t.code == "SO  ") ? t.trade_date : std::string(8, ' ');
            lot.lot.memo = records::Fixed(memo, 20);
            lot.total_cost = total_cost;
            LinkNew(n, lot);
            if (lot_texts) lots_.WriteExtension(n, texts);
        }
        changed = true;
    }

    auto write_header = [&] {
        header.account = account_;
        header.label = as_of_text_;
        header.spare = 0;
        lots_.WriteHeader();
    };

    if (transfer != 1) {
        double amount = t.amount;
        double added = t.bond_interest;
        records::Drnd2(amount);
        records::Drnd2(added);
        const double d = (added + amount) * sign;
        const engine::LotChain::Place cash = lots_.FindKey(0.0);
        if (cash.found()) {
            scratch_ = lots_.Raw(cash.record);
            double balance = HoldingRecord::CostOf(scratch_);
            records::Drnd2(balance);
            balance = balance + d;
            const double cash_total = FundLotRecord::TotalCostOf(scratch_) + d;
            records::Drnd2(balance);
            HoldingRecord::SetQuantityAndCost(scratch_, balance, balance);
            FundLotRecord::SetTotalCost(scratch_, cash_total);
            lots_.Rewrite(cash.record, scratch_);
        } else {
            const int16_t n = NewRecord();
            if (n == 0) {
                // The lot's change stays, with the header that lists it.
                if (changed) write_header();
                return FundLotOutcome::kFileFull;
            }
            FundLotRecord element;
            element.lot.holding_key = 0.0;
            element.lot.symbol = "CASH        ";
            element.lot.security_record = kCashSecurityRecord;
            element.lot.broker = t.broker;
            element.lot.quantity = d;
            element.lot.cost = d;
            Round(element.lot.quantity);
            Round(element.lot.cost);
            element.lot.memo = records::Fixed(memo, 20);
            element.total_cost = d;
            LinkNew(n, element);
            if (lot_texts) lots_.WriteExtension(n, texts);
        }
    }

    write_header();
    return FundLotOutcome::kApplied;
}

void FundLots::Mfcash(double reinvested) {
    if (!lots_.Readable(1)) return;
    const records::HoldingsHeader header = records::HoldingsHeader::Decode(lots_.Raw(1));
    // A header with a zero counter decodes as an empty list.
    if (header.first_lot < 0) return;
    std::vector<bool> seen;
    for (long link = header.first_lot; link >= 0;) {
        if (link < 2 || !lots_.Readable(link)) return;
        const auto at = static_cast<std::size_t>(link);
        if (seen.size() <= at) seen.resize(at + 1, false);
        if (seen[at]) return;
        seen[at] = true;
        const Record& lot = lots_.Raw(link);
        if (lot.Text(10, 4) == "CASH" && lot.R8(2) == 0.0) {
            scratch_ = lot;
            double quantity = HoldingRecord::QuantityOf(scratch_) - reinvested;
            double amount = HoldingRecord::CostOf(scratch_) - reinvested;
            Round(quantity);
            Round(amount);
            HoldingRecord::SetQuantityAndCost(scratch_, quantity, amount);
            lots_.Rewrite(static_cast<int16_t>(link), scratch_);
            return;
        }
        link = lot.I16(0);
    }
}

void FundLots::Ftele2(std::string_view symbol, std::string_view tax_lot, std::string& memo, std::string& date,
                      std::string& description) {
    engine::FillFromLots(lots_, symbol, tax_lot, memo, date, description, lots_.with_extension());
}

}  // namespace reports
