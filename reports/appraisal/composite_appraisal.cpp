#include "reports/appraisal/composite_appraisal.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/series.h"
#include "engine/valuation.h"
#include "records/account_lists.h"
#include "records/amounts.h"
#include "records/appraisal_files.h"
#include "records/chars.h"
#include "records/dates.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "records/security_types.h"
#include "reports/appraisal/appraisal_gathering.h"
#include "reports/appraisal/appraisal_holdings_pages.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/appraisal/composite_holdings.h"
#include "reports/appraisal/stocks_by_industry.h"
#include "reports/appraisal/summary_by_asset_class.h"
#include "reports/appraisal/summary_by_security_type.h"
#include "reports/appraisal/working_appraisal.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

using records::kNoPriceValue;

constexpr std::size_t kCommonLength = 128;
constexpr int kCashType = 2;             // "1"
constexpr int kNoInterestType = 4;       // "3": no accrued interest
constexpr int kBondType = 5;             // "4": priced at 100, not in the average maturity
constexpr int kCommonStockType = 18;     // "H"
constexpr int kTimes100Type = 28;        // "R"
constexpr int kUnitPricedType = 29;      // "S"
constexpr int kMissingType = 30;         // "T"
constexpr int kExemptInterestType = 34;  // "X": accrued interest not totalled
constexpr int kUnmanagedType = 36;       // the lots held away
constexpr float kNotAvailable = -999.99f;

// The type number of a type character; a character whose type the pages
// do not print (or that is outside the table) files as "T".
int CompositeTypeNumber(char c) {
    static const std::string kTable = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    const auto at = kTable.find(c);
    const int type = at == std::string::npos ? kMissingType : static_cast<int>(at) + 1;
    return InAppraisalTypeOrder(type) ? type : kMissingType;
}

// The industry category: the category word read as a two-digit number;
// 99 when it does not read or lies outside 1-99.
int16_t Category(const std::string& field) {
    const std::string two = records::Fixed(field, 2);
    int value = 0;
    bool digit = false;
    for (char c : two) {
        if (c == ' ') continue;
        if (c < '0' || c > '9') return 99;
        value = value * 10 + (c - '0');
        digit = true;
    }
    if (!digit || value < 1 || value > 99) return 99;
    return static_cast<int16_t>(value);
}

}  // namespace

// ---- Shared with Cohold.

CompositeSelection SelectCompositeAccounts(std::string_view kind, std::string_view manager,
                                           std::string_view list_file, const CompositeTexts& texts) {
    CompositeSelection s;
    const AccountWalk walk = WalkAccounts();
    if (records::Fixed(kind, 4) == "S   ") {
        std::map<std::string, int> known;
        for (const AccountEntry& e : walk.accounts) known.emplace(records::Fixed(e.id, 8), e.entry);
        std::vector<std::string> ids;
        int count = 0;
        records::Rdaclst(ids, count, records::TrimRight(list_file));
        ids.resize(std::min(ids.size(), static_cast<std::size_t>(std::max(count, 0))));
        for (const std::string& raw : ids) {
            const std::string id = records::Fixed(raw, 8);
            if (records::IsBlank(id)) continue;
            if (known.count(id) == 0) {
                s.notes.push_back(" ACCOUNT " + records::TrimRight(id) +
                                  " of the account list is not in ACCOUNT.IDX; it is passed over.");
                continue;
            }
            s.accounts.push_back(id);
        }
        return s;
    }
    if (!walk.count_read) {
        s.stop = texts.file_error;
        return s;
    }
    if (walk.count <= 0) {
        s.stop = texts.no_accounts;
        return s;
    }
    const records::DirectFile file(records::kAccountRecords, records::kAccountRecordLength, /*create=*/false);
    records::Record rec;
    const std::string pattern = records::Fixed(manager, 4);
    for (const AccountEntry& e : walk.accounts) {
        if (!file.ok() || !file.Read(e.first_record + 1, rec)) {
            s.accounts.clear();
            s.stop = texts.file_error;
            return s;
        }
        if (records::Match(rec.Widened(records::kAccountRecordLength).Text(16, 4), pattern, 4) == 0)
            s.accounts.push_back(records::Fixed(e.id, 8));
    }
    return s;
}

bool SelectCompositeRun(ReportFrame& frame, std::string_view kind, std::string_view manager,
                        std::string_view list_file, const CompositeTexts& texts,
                        std::vector<std::string>& accounts) {
    const CompositeSelection selection = SelectCompositeAccounts(kind, manager, list_file, texts);
    for (const std::string& note : selection.notes) frame.Line(note);
    if (!selection.stop.empty()) {
        frame.Line(selection.stop);
        return false;
    }
    if (selection.accounts.empty()) {
        frame.Line("No accounts selected.");
        return false;
    }
    accounts = selection.accounts;
    return true;
}

CompositeRunDates CompositeDates(std::string_view date, std::string_view accrued,
                                 const records::Options& options) {
    CompositeRunDates dates;
    dates.report_date = records::Fixed(date, 8);
    int16_t mode = 0, error = 0;
    records::Ckdate(dates.report_date, mode, error, dates.report_number, 0, 1991231);
    dates.accrued = records::Fixed(accrued, 4) != "N   ";
    dates.decimals = records::SystemDecimals(options);
    return dates;
}

bool EachCompositeLot(ReportFrame& frame, const std::string& id, const CompositeRunDates& dates,
                      float program_number, const std::string& report,
                      const std::function<bool(records::HoldingRecord&)>& lot) {
    const HoldingsSource source =
        PrepareHoldings(records::TrimRight(id), dates.report_number, program_number);
    if (source.replayed && source.replay_status != 0)
        frame.Line(" ACCOUNT " + records::TrimRight(id) + ": the rebuild of its holdings ended with status " +
                   std::to_string(source.replay_status) + "; its lots are appraised as rebuilt.");
    const records::DirectFile probe(source.file, records::kAccountRecordLength, /*create=*/false);
    if (!probe.ok() || probe.Count() <= 0) return true;
    LotIterator lots(source.file);
    int16_t record = 0;
    records::HoldingRecord next;
    while (lots.Next(record, next))
        if (!lot(next)) return false;
    if (lots.end() != LotIterator::End::kListEnd) {
        frame.Line(" ACCOUNT " + records::TrimRight(id) + ": the lots of " + source.file +
                   " could not all be read after record " + std::to_string(record) + "; the " + report +
                   " stops here.");
        return false;
    }
    return true;
}

CompositeCommon ReadCompositeCommon() {
    CompositeCommon c;
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    records::Record rec;
    if (!common.Read(records::kProgramDateRecord, rec)) return c;
    c.program_date_number = rec.R4(8);
    if (!common.Read(records::kOptionsRecord, rec)) return c;
    for (std::size_t i = 0; i < c.options.size() && i < rec.size(); ++i) c.options[i] = rec.data()[i];
    return c;
}

CompositeFiles::CompositeFiles(const std::string& report_date, const std::string& prior_date)
    : prices(records::PriceFileName(report_date), 8, /*create=*/false) {
    if (!prior_date.empty()) prior_prices.emplace(records::PriceFileName(prior_date), 8, /*create=*/false);
}

bool MovesToCashEquivalentType(int type, float maturity, float report_number, const records::Options& opt) {
    return !records::OptionOn(opt, records::Opt::kMaturingBondsNotCash) && type != kTimes100Type &&
           MovesToCashEquivalents(maturity, report_number);
}

CompositeLot ValueCompositeLot(const records::HoldingRecord& lot, const records::Options& opt,
                               const CompositeRunDates& dates, CompositeFiles& files) {
    CompositeLot v;
    v.cash_symbol = IsCashSymbol(lot.symbol);
    v.quantity = lot.quantity;
    v.amount = lot.cost;
    const bool cash_lot = lot.holding_key <= 0;
    v.position = lot.security_record;
    if (cash_lot) {
        v.quantity = v.amount;
        v.position = files.securities.index.Find(lot.symbol);
    }
    if (v.position > 0) v.security = files.securities.records.Read(v.position);
    const LotSecurity& sec = v.security;
    v.maturity = LotDateNumber(sec.maturity);
    v.cash = lot.holding_key == 0 || records::Fixed(sec.type_code, 4) == "1   ";

    auto stored = [&](const records::DirectFile& prices) {
        records::Record rec;
        if (sec.found && prices.Read(v.position, rec)) return records::StoredPrice(rec);
        return kNoPriceValue;
    };
    v.price = 1.0;
    v.prior_price = 1.0;
    if (!v.cash) {
        v.price = stored(files.prices);
        if (files.prior_prices) v.prior_price = stored(*files.prior_prices);
    }

    v.type = CompositeTypeNumber(sec.type_code[0]);
    if (sec.found && ExtendedType(v.type)) {
        v.extension_read = true;
        v.extension = files.securities.terms.Read(v.position);
    }
    v.category = Category(sec.category);

    if (v.cash || v.type == kUnitPricedType) v.price = v.prior_price = 1.0;
    if (v.type == kBondType) v.price = v.prior_price = 100.0;
    if (v.price != kNoPriceValue) records::RoundToDecimals(v.price, dates.decimals);
    if (v.prior_price != kNoPriceValue) records::RoundToDecimals(v.prior_price, dates.decimals);

    const bool held_away = records::Fixed(lot.tax_lot, 4) == "S   ";
    v.unmanaged = held_away && !records::OptionOn(opt, records::Opt::kUnmanagedInBody);
    v.missing_price = v.price == kNoPriceValue && !v.unmanaged;

    v.per_hundred = PerHundredType(v.type);
    v.market = kNoPriceValue;
    if (v.cash) {
        v.market = v.quantity;
    } else if (v.price != kNoPriceValue) {
        v.market = v.price * v.quantity;
        if (v.per_hundred) v.market *= 0.01;
        if (v.type == kTimes100Type) v.market *= 100;
    }
    if (v.quantity < 0 && !v.cash_symbol) v.amount = -v.amount;

    // Accrued interest from the last coupon on or before the report date.
    if (dates.accrued && v.per_hundred && v.type != kNoInterestType) {
        const double accrued = records::AccruedInterest(
            records::LastCouponDate(dates.report_number, sec.coupon_date, sec.maturity), dates.report_date,
            v.quantity, sec.rate);
        v.accrued = accrued;
        if (v.type != kExemptInterestType) v.accrued_counted = accrued;
    }
    // Years to maturity.
    if (records::OptionOn(opt, records::Opt::kBondDetails) && v.per_hundred && v.type != kBondType &&
        v.maturity > 0) {
        v.maturity_days = records::Daycb(dates.report_date, sec.maturity, 0);
        v.in_average_years = true;
    }
    return v;
}

// ---- The composite account appraisal.

namespace {

class CompositeAppraisal {
public:
    CompositeAppraisal(AppraisalRun& run, ReportFrame& frame, const CompositeRunDates& dates,
                       const std::string& group)
        : run_(run), frame_(frame), dates_(dates), group_(group), files_(dates.report_date) {}

    // Values the accounts' lots into TEMP1.WRK; false when the run stops
    // (a report line then says why).
    bool Value(const std::vector<std::string>& accounts);
    CompositeHoldings& holdings() { return holdings_; }

private:
    bool ValueAccount(const std::string& id);
    void AddLot(const records::HoldingRecord& lot, const CompositeLot& v);
    bool WriteHolding();
    void WriteHeader(const std::string& last_account);

    AppraisalRun& run_;
    ReportFrame& frame_;
    const CompositeRunDates dates_;
    const std::string group_;
    CompositeFiles files_;
    std::optional<records::DirectFile> work_;
    CompositeHoldings holdings_;

    // The pending holding: built from consecutive lots of one security.
    bool pending_ = false;
    records::ValuedHolding holding_;
    std::string pending_symbol_;
    double last_quantity_ = kNoPriceValue;
    bool market_missing_ = false;
    bool last_unmanaged_ = false;
    bool security_found_ = false;
    float maturity_ = 0;
    LotExtension extension_;  // the last extension record read

    // The run.
    int written_ = 0;
    bool missing_price_ = false;
    double managed_ = 0;
    double total_ = 0;
    double last_accrued_ = 0;
    double total_accrued_ = 0;
    double days_by_quantity_ = 0;
    double maturity_quantity_ = 0;
    std::array<int16_t, records::kTypeNumberCount> type_flags_{};
    int16_t page_word_ = 2;
};

bool CompositeAppraisal::Value(const std::vector<std::string>& accounts) {
    work_.emplace(records::kAppraisalWorkFile, records::kWorkRecordLength);
    work_->Truncate(0);
    work_->Write(1, records::EmptyAppraisalHeader());
    for (const std::string& id : accounts)
        if (!ValueAccount(id)) return false;
    if (pending_ && !WriteHolding()) return false;
    WriteHeader(accounts.back());
    work_.reset();
    return true;
}

bool CompositeAppraisal::ValueAccount(const std::string& id) {
    managed_ = 0;
    const bool read = EachCompositeLot(
        frame_, id, dates_, run_.program_date_number, "composite appraisal",
        [&](records::HoldingRecord& lot) {
            const double quantity = lot.quantity;
            const bool cash_symbol = IsCashSymbol(lot.symbol);
            if (cash_symbol && records::OptionOn(run_.options, records::Opt::kNoZeroCash) &&
                quantity > -0.005 && quantity < 0.005)
                return true;
            if (cash_symbol && lot.cost > -0.1 && lot.cost < 0) lot.cost = 0;
            const bool held_away = records::Fixed(lot.tax_lot, 4) == "S   ";
            const bool continues =
                !pending_ ||
                (lot.symbol == pending_symbol_ && quantity > 0 && last_quantity_ > 0 &&
                 (!held_away || records::OptionOn(run_.options, records::Opt::kUnmanagedInBody)));
            if (!continues && !WriteHolding()) return false;
            AddLot(lot, ValueCompositeLot(lot, run_.options, dates_, files_));
            return true;
        });
    if (!read) return false;
    if (!missing_price_) total_ += managed_;
    return true;
}

void CompositeAppraisal::AddLot(const records::HoldingRecord& lot, const CompositeLot& v) {
    if (!pending_) {
        holding_ = records::ValuedHolding{};
        market_missing_ = false;
        pending_ = true;
    }
    const LotSecurity& sec = v.security;
    type_flags_[v.type - 1] = 1;
    if (v.extension_read) {
        holding_.extension_read = 1;
        holding_.extension_percent = v.extension.yield_to_maturity;
        if (v.extension.read) extension_ = v.extension;
    } else {
        holding_.extension_read = 0;
        holding_.extension_percent = 0;
    }
    if (v.type == kCommonStockType && v.category > 0) page_word_ = 3;
    if (v.missing_price) missing_price_ = true;
    if (v.per_hundred) holding_.per_hundred = 1;
    last_accrued_ = v.accrued;
    total_accrued_ += v.accrued_counted;
    if (v.in_average_years) {
        days_by_quantity_ += v.maturity_days * v.quantity;
        maturity_quantity_ += v.quantity;
    }
    const int type = v.unmanaged ? kUnmanagedType : v.type;
    // The managed market value adds signed values: a short lot or an
    // overdrawn cash balance lowers it.
    if (!missing_price_ && type != kUnmanagedType && v.market != kNoPriceValue) managed_ += v.market;

    holding_.quantity += v.quantity;
    holding_.cost += v.amount;
    if (v.market == kNoPriceValue)
        market_missing_ = true;
    else
        holding_.market_value += v.market;

    // The holding takes the fields of its last lot.
    pending_symbol_ = lot.symbol;
    last_quantity_ = v.quantity;
    last_unmanaged_ = records::Fixed(lot.tax_lot, 4) == "S   " &&
                      !records::OptionOn(run_.options, records::Opt::kUnmanagedInBody);
    security_found_ = sec.found;
    maturity_ = v.maturity;
    holding_.type_number = static_cast<int16_t>(v.type);
    holding_.category = v.category;
    holding_.symbol = records::Fixed(lot.symbol, 12);
    holding_.description1 = sec.description1;
    holding_.description2 = sec.description2;
    holding_.rate = sec.rate;
    holding_.lot_date = records::Fixed(lot.open_date, 8);
    holding_.type_code = records::Fixed(sec.type_code, 4);
    holding_.maturity_date = records::Fixed(sec.maturity, 8);
    extension_.CopyTerms(holding_);
}

bool CompositeAppraisal::WriteHolding() {
    pending_ = false;
    if (written_ >= kMaxCompositeHoldings) {
        frame_.Write("(8X,'Warning:maximum of ',I5,' holdings currently allowed.')",
                     {static_cast<long long>(kMaxCompositeHoldings)});
        return false;
    }
    records::ValuedHolding& h = holding_;
    const records::Options& opt = run_.options;
    int type = h.type_number;
    if (type == kCashType) h.category = 98;
    if (MovesToCashEquivalentType(type, maturity_, dates_.report_number, opt)) {
        type = kCashType;
        h.matures_within_year = 1;
    }
    type_flags_[type - 1] = 1;
    if (last_unmanaged_) {
        type = kUnmanagedType;
        type_flags_[type - 1] = 1;
    }
    h.type_number = static_cast<int16_t>(type);
    h.sort_key = security_found_ ? records::Fixed(h.symbol, 10) : std::string(10, ' ');
    if (market_missing_) h.market_value = kNoPriceValue;

    const int sort_type = CompositeSortType(type);
    double order_key = 0, merge_number = 0;
    records::Gtpcd2(order_key, sort_type, h.category, maturity_, h.symbol);
    records::Gtpcd3(merge_number, sort_type, h.category, h.symbol);
    const bool short_side = last_quantity_ < 0;
    h.combining_key = short_side ? -merge_number : merge_number;
    if (!IsCashSymbol(h.symbol) && records::Fixed(h.type_code, 4) == "1   ")
        records::Ckdesc(h.description2, std::string_view(reinterpret_cast<const char*>(opt.data()), 4),
                        h.rate, h.maturity_date);
    // No loan value and no allocation class for a composite; no return of
    // its own either (the rate column then prints "N/A").
    h.security_last_word = 0;
    h.security_first_word = 0;
    h.performance = records::OptionOn(opt, records::Opt::kTimeWeightedReturn) ? kNotAvailable : 0.0f;

    const int16_t record = static_cast<int16_t>(written_ + 2);
    work_->Write(record, h.Encode());
    ++written_;
    if (h.market_value != kNoPriceValue)
        run_.market_by_type[static_cast<std::size_t>(type - 1)] += h.market_value;
    holdings_.Add(order_key, MakeMergeKey(sort_type, h.category, h.symbol, short_side), record);
    last_quantity_ = kNoPriceValue;
    return true;
}

void CompositeAppraisal::WriteHeader(const std::string& last_account) {
    records::AppraisalHeader head;
    head.account = records::Fixed(last_account, 8);
    head.report_date = dates_.report_date;
    head.count = static_cast<int16_t>(written_);
    head.total_market_value = (total_ == 0 || missing_price_) ? kNoPriceValue : total_ + total_accrued_;
    head.name = records::Fixed(group_, 32);
    head.largest_value = 0;
    head.type_flags = type_flags_;
    head.spare = ' ';
    head.order = 2;
    head.last_accrued = dates_.accrued ? last_accrued_ : 0.0;
    head.total_accrued = total_accrued_;
    head.combined = 1;
    head.page_word = page_word_;
    if (maturity_quantity_ != 0) head.average_years = days_by_quantity_ / maturity_quantity_ * (1.0 / 365.0);
    work_->Write(1, head.Encode());
}

}  // namespace

bool ValueCompositeAppraisal(AppraisalRun& run, ReportFrame& frame, const CompositeRunDates& dates,
                             const std::vector<std::string>& accounts, std::string_view group,
                             CompositeHoldings& holdings) {
    {
        CompositeAppraisal appraisal(run, frame, dates, records::Fixed(group, 32));
        if (!appraisal.Value(accounts)) {
            records::Purge(records::kAppraisalWorkFile);
            return false;
        }
        holdings = std::move(appraisal.holdings());
    }
    OrderCompositeHoldings(holdings, /*merge=*/true);
    return true;
}

void Clntcom1(std::string_view kind, std::string_view manager, std::string_view date,
              std::string_view accrued, std::string_view list_file, int list_length,
              std::string_view output_name, int output_length, std::string_view group) {
    const std::string list = records::Fixed(list_file, static_cast<std::size_t>(std::max(list_length, 0)));
    const std::string output =
        records::Fixed(output_name, static_cast<std::size_t>(std::max(output_length, 0)));
    records::Gcn();
    const CompositeCommon common = ReadCompositeCommon();
    const engine::CategoryTable classes = engine::ReadCategoryTable();
    std::string title(64, ' ');
    int16_t title_flag = 0;
    if (records::OptionOn(common.options, records::Opt::kChangeReportName)) {
        const records::DirectFile file(records::kCommonFile, kCommonLength, /*create=*/false);
        records::Record rec;
        if (file.Read(70, rec)) title = rec.Text(0, 64);
        int16_t blank = 0;
        records::Center(title, 64, blank);
        title_flag = blank;
    }

    // OUTPUT.TMP is started, ended and copied on every path.
    ReportFrame frame(output, /*copy=*/true);
    std::vector<std::string> accounts;
    if (!SelectCompositeRun(
            frame, kind, manager, list,
            {"No accounts in system, enter accounts in \"Setup\".", " Error in account file(s)."}, accounts))
        return;
    const CompositeRunDates dates = CompositeDates(date, accrued, common.options);

    AppraisalRun run;
    run.composite = true;
    run.selection = records::Fixed(kind, 4);
    run.manager = records::Fixed(manager, 4);
    run.report_date = dates.report_date;
    run.accrued_switch = records::Fixed(accrued, 4);
    run.output_mode = 1;
    run.output_name = output;
    run.options = common.options;
    run.program_date_number = common.program_date_number;
    run.report_date_number = dates.report_number;
    run.started = true;

    CompositeHoldings holdings;
    if (!ValueCompositeAppraisal(run, frame, dates, accounts, group, holdings)) return;

    // The print engines run without a control file: they take TEMP1.WRK as
    // one account.
    records::Purge(records::kAppraisalControlFile);
    run.current.id = records::Fixed(accounts.back(), 8);
    run.current.short_name = records::Fixed(group, 32);
    run.current.lines[0] = records::Fixed(group, 32);
    int16_t step = kStepHoldingsPages;
    Clntapr2(run, step, holdings.records, title_flag, title, classes);
    if (records::OptionValue(common.options, records::Opt::kPortfolioSummaryType) <= 1)
        Clntapr3(run, step);
    else
        Apsumac(run, step, classes);
    Apstkcat(run, step);
    records::Purge(records::kAppraisalControlFile);
}

}  // namespace reports
