#include "reports/appraisal/composite_working_appraisal.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "records/amounts.h"
#include "records/appraisal_files.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/holdings_control.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_types.h"
#include "reports/appraisal/composite_appraisal.h"
#include "reports/appraisal/composite_holdings.h"
#include "reports/appraisal/working_appraisal_pages.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

using records::kNoPriceValue;

constexpr int kCashType = 2;
constexpr int kUnmanagedType = 36;
constexpr float kNoChange = -999.99f;
// The header's account id: the pages print "COMBINED" for it.
constexpr const char* kCompositeId = "COMBI.  ";

class CompositeWorking {
public:
    CompositeWorking(ReportFrame& frame, const records::Options& opt, const CompositeRunDates& dates,
                     float program_number, const std::string& prior_date, const std::string& title)
        : frame_(frame),
          opt_(opt),
          dates_(dates),
          program_number_(program_number),
          title_(title),
          files_(dates.report_date,
                 records::OptionOn(opt, records::Opt::kChangeFromPriorMonth) ? prior_date : std::string()) {}

    // Values every lot into TEMP1.WRK; false when the run stops (a report
    // line then says why).
    bool Value(const std::vector<std::string>& accounts);
    CompositeHoldings& holdings() { return holdings_; }

private:
    bool ValueAccount(const std::string& id);
    bool WriteLot(const records::HoldingRecord& lot, const CompositeLot& v);
    void WriteHeader();

    ReportFrame& frame_;
    const records::Options& opt_;
    const CompositeRunDates dates_;
    const float program_number_;
    const std::string title_;
    CompositeFiles files_;
    std::optional<records::DirectFile> work_;
    CompositeHoldings holdings_;
    LotExtension extension_;  // the last extension record read

    int written_ = 0;
    bool missing_price_ = false;
    double account_total_ = 0;
    double total_ = 0;
    double largest_ = 0;
    double last_accrued_ = 0;
    double total_accrued_ = 0;
    double days_by_quantity_ = 0;
    double maturity_quantity_ = 0;
    std::array<int16_t, records::kTypeNumberCount> type_flags_{};
};

bool CompositeWorking::Value(const std::vector<std::string>& accounts) {
    work_.emplace(records::kAppraisalWorkFile, records::kWorkRecordLength);
    work_->Truncate(0);
    work_->Write(1, records::EmptyAppraisalHeader());
    for (const std::string& id : accounts)
        if (!ValueAccount(id)) return false;
    WriteHeader();
    work_.reset();
    return true;
}

bool CompositeWorking::ValueAccount(const std::string& id) {
    account_total_ = 0;
    const bool read = EachCompositeLot(
        frame_, id, dates_, program_number_, "composite working appraisal", [&](records::HoldingRecord& lot) {
            if (records::OptionOn(opt_, records::Opt::kNoZeroCash) && IsCashSymbol(lot.symbol) &&
                lot.quantity > -0.005 && lot.quantity < 0.005)
                return true;
            return WriteLot(lot, ValueCompositeLot(lot, opt_, dates_, files_));
        });
    if (!read) return false;
    if (!missing_price_) total_ += account_total_;
    return true;
}

bool CompositeWorking::WriteLot(const records::HoldingRecord& lot, const CompositeLot& v) {
    if (written_ >= kMaxCompositeHoldings) {
        frame_.Write("('Warning:maximum of ',I5,' holdings currently allowed.')",
                     {static_cast<long long>(kMaxCompositeHoldings)});
        return false;
    }
    const LotSecurity& sec = v.security;
    records::ValuedHolding h;
    if (v.extension_read) {
        h.extension_read = 1;
        h.extension_percent = v.extension.yield_to_maturity;
        if (v.extension.read) extension_ = v.extension;
    }
    if (v.missing_price) missing_price_ = true;
    last_accrued_ = v.accrued;
    total_accrued_ += v.accrued_counted;
    if (v.in_average_years) {
        days_by_quantity_ += v.maturity_days * v.quantity;
        maturity_quantity_ += v.quantity;
    }
    if (v.market != kNoPriceValue) largest_ = std::max(largest_, v.market);
    type_flags_[static_cast<std::size_t>(v.type - 1)] = 1;

    int type = v.unmanaged ? kUnmanagedType : v.type;
    // The account total adds signed values: a short lot or an overdrawn
    // cash balance lowers it.
    if (!missing_price_ && type != kUnmanagedType && v.market != kNoPriceValue) account_total_ += v.market;
    int16_t category = v.category;
    if (type == kCashType) category = 98;
    if (MovesToCashEquivalentType(type, v.maturity, dates_.report_number, opt_)) {
        type = kCashType;
        h.matures_within_year = 1;
    }
    if (!records::OptionOn(opt_, records::Opt::kMaturingBondsNotCash))
        type_flags_[static_cast<std::size_t>(type - 1)] = 1;

    // The change from the prior month.
    if (records::OptionOn(opt_, records::Opt::kChangeFromPriorMonth)) {
        if (v.market == kNoPriceValue || v.prior_price == kNoPriceValue || v.price == 0) {
            h.month_change = kNoChange;
        } else {
            const double prior = v.market / v.price * v.prior_price;
            h.month_change = static_cast<float>(v.market - prior);
        }
    }

    h.type_number = static_cast<int16_t>(type);
    h.category = category;
    h.sort_key = sec.found ? records::Fixed(lot.symbol, 10) : std::string(10, ' ');
    h.symbol = records::Fixed(lot.symbol, 12);
    h.quantity = v.quantity;
    h.description1 = sec.description1;
    h.rate = sec.rate;
    h.lot_date = records::Fixed(lot.open_date, 8);
    h.description2 = sec.description2;
    h.cost = v.amount;
    h.market_value = v.market;
    h.per_hundred = v.per_hundred ? 1 : 0;
    h.type_code = records::Fixed(sec.type_code, 4);
    h.maturity_date = records::Fixed(sec.maturity, 8);
    extension_.CopyTerms(h);

    const int sort_type = CompositeSortType(type);
    double order_key = 0, merge_number = 0;
    records::Gtpcd2(order_key, sort_type, category, v.maturity, h.symbol);
    records::Gtpcd3(merge_number, sort_type, category, h.symbol);
    const bool short_side = v.quantity < 0;
    h.combining_key = short_side ? -merge_number : merge_number;
    if (!v.cash_symbol)
        records::Ckdesc(h.description2, std::string_view(reinterpret_cast<const char*>(opt_.data()), 4),
                        h.rate, h.maturity_date);

    const int16_t record = static_cast<int16_t>(written_ + 2);
    work_->Write(record, h.Encode());
    ++written_;
    holdings_.Add(order_key, MakeMergeKey(sort_type, category, h.symbol, short_side), record);
    return true;
}

void CompositeWorking::WriteHeader() {
    records::HoldingsWorkHeader head;
    head.account = kCompositeId;
    head.pricing_date = dates_.report_date;
    head.count = static_cast<int16_t>(written_);
    head.portfolio_value = missing_price_ ? kNoPriceValue : total_ + total_accrued_;
    head.name = records::Fixed(title_, 32);
    head.largest_value = largest_;
    head.type_flags = type_flags_;
    head.reserved_byte = ' ';
    head.run_kind = records::kHoldingsCompositeRun;
    head.reserved = dates_.accrued ? last_accrued_ : 0.0;
    head.accrued_interest = total_accrued_;
    head.no_category_totals = 0;
    if (maturity_quantity_ != 0) head.average_years = days_by_quantity_ / maturity_quantity_ * (1.0 / 365.0);
    // No second heading and no objective: bytes 169-212 stay blank.
    work_->Write(1, head.Encode());
}

}  // namespace

bool ValueCompositeWorking(ReportFrame& frame, const CompositeCommon& common, const CompositeRunDates& dates,
                           const std::vector<std::string>& accounts, std::string_view title,
                           CompositeHoldings& holdings) {
    {
        CompositeWorking working(frame, common.options, dates, common.program_date_number,
                                 PriorMonthDate(dates.report_date), records::Fixed(title, 32));
        if (!working.Value(accounts)) {
            records::Purge(records::kAppraisalWorkFile);
            return false;
        }
        holdings = std::move(working.holdings());
    }
    OrderCompositeHoldings(holdings, /*merge=*/false);
    return true;
}

std::string PriorMonthDate(const std::string& date) {
    int16_t month = 0, day = 0, year = 0;
    if (!records::Redate(date, month, day, year) || month < 1 || month > 12) return date;
    const bool last_day = day >= records::DaysInMonth(month, year);
    --month;
    if (month == 0) {
        month = 12;
        year = static_cast<int16_t>(year == 0 ? 99 : year - 1);
    }
    // February is reached from March, in the report's own year.
    const int length = records::DaysInMonth(month, year);
    if (day > length || last_day) day = static_cast<int16_t>(length);
    char text[24];
    std::snprintf(text, sizeof text, "%2d/%02d/%02d", month, day, year % 100);
    return text;
}

void Cohold(std::string_view kind, std::string_view manager, std::string_view date, std::string_view accrued,
            std::string_view list_file, int list_length, std::string_view output_name, int output_length,
            std::string_view title) {
    const std::string list = records::Fixed(list_file, static_cast<std::size_t>(std::max(list_length, 0)));
    const std::string output =
        records::Fixed(output_name, static_cast<std::size_t>(std::max(output_length, 0)));
    records::Gcn();
    const CompositeCommon common = ReadCompositeCommon();

    // OUTPUT.TMP is started, ended and copied on every path.
    ReportFrame frame(output, /*copy=*/true);
    std::vector<std::string> accounts;
    if (!SelectCompositeRun(
            frame, kind, manager, list,
            {"No accounts in system, enter accounts in menu option \"Setup\".", "Error in account file(s)"},
            accounts))
        return;
    const CompositeRunDates dates = CompositeDates(date, accrued, common.options);

    CompositeHoldings holdings;
    if (!ValueCompositeWorking(frame, common, dates, accounts, title, holdings)) return;

    // Without a control file the pages take TEMP1.WRK as one account and
    // mark the run finished.
    records::Purge(records::kHoldingsControlFile);
    int16_t phase = 0;
    Prhold(phase, 1, holdings.records);
}

}  // namespace reports
