// One bond's accrued interest is the same in every valuation: the working
// appraisal, the account appraisal, the mutual fund appraisal, assets
// under management, the fixed income appraisal, the composite appraisal,
// the account valuation of the summaries, the investment history and the
// engine's month-end valuation value one account on one date and agree to
// the cent.

#include <gtest/gtest.h>

#include <string>

#include "engine/valuation.h"
#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/holdings_control.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/security_holdings_files.h"
#include "reports/appraisal/account_valuations.h"
#include "reports/appraisal/appraisal_gathering.h"
#include "reports/appraisal/composite_appraisal.h"
#include "reports/appraisal/working_appraisal.h"
#include "reports/aum/aum_run.h"
#include "reports/fixed_income/fixed_income_appraisal.h"
#include "reports/funds/fund_valuation.h"
#include "reports/history/investment_history.h"
#include "reports/kernel/report_frame.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::Record;

constexpr const char* kDate = "12/30/00";
constexpr float kDateNumber = 1001230;
constexpr const char* kAccount = "ACCR1";

// 10,000 of a 6% note whose stored coupon date is five years old (its last
// coupon 12/15/00, 16 days on 30/360 with the end date in: 26.67), and
// 5,000 of a 5% note without a coupon date maturing on 12/31/10 (its last
// coupon 06/30/00, a whole period: 125.00), both priced at 100.
constexpr double kAccrued = 26.6667 + 125.0;
constexpr double kPricedValue = 1000.0 + 10000.0 + 5000.0;

void WriteAccount() {
    fixtures::WriteProgramDate(kDate);
    fixtures::WriteFirmHeading("FIRM", 58);
    fixtures::WriteCommonRecord(records::kOptionsRecord, Record(128, 0));
    fixtures::WriteSecurityFiles({{.symbol = "CASH", .description1 = "CASH", .type = "1", .rate = 0},
                                  {.symbol = "NOTE6",
                                   .description1 = "TREASURY NOTE 6%",
                                   .type = "5",
                                   .maturity = "12/15/10",
                                   .rate = 6.0f,
                                   .coupon_date = " 6/15/95"},
                                  {.symbol = "NOTE5",
                                   .description1 = "TREASURY NOTE 5%",
                                   .type = "5",
                                   .maturity = "12/31/10",
                                   .rate = 5.0f}});
    fixtures::WritePrices(kDate, {1.0, 100.0, 100.0});
    fixtures::WriteClients(
        {{.id = kAccount, .address = {"ANN ACCRUAL"}, .manager = "AB", .short_name = "ACCRUAL"}});
    auto lot = [](const std::string& symbol, int16_t position, double key, double quantity) {
        return fixtures::LotFields{.symbol = symbol,
                                   .security_record = position,
                                   .quantity = quantity,
                                   .cost = quantity,
                                   .open_date = " 1/02/98",
                                   .holding_key = key};
    };
    fixtures::WriteHoldings(kAccount,
                            {lot("CASH", 1, 0, 1000), lot("NOTE6", 2, 1, 10000), lot("NOTE5", 3, 2, 5000)});
    // The same holdings as transactions, for the valuations that replay
    // them.
    fixtures::WriteTransactions(kAccount,
                                {fixtures::Transaction("FI", "CASH", "A", " 1/02/98", 0, 16000, 0, 1),
                                 fixtures::Transaction("B", "NOTE6", "A", " 1/02/98", 10000, 10000, 2, 2),
                                 fixtures::Transaction("B", "NOTE5", "A", " 1/02/98", 5000, 5000, 3, 3)});
}

records::AppraisalHeader AppraisalWorkHeader() {
    const records::DirectFile work(records::kAppraisalWorkFile, records::kWorkRecordLength, false);
    Record rec;
    EXPECT_TRUE(work.Read(1, rec));
    return records::AppraisalHeader::Decode(rec);
}

double WorkingAppraisal() {
    reports::HoldingsRun run;
    run.output_name = "XXX.TXT";
    int16_t state = 0, mode = 1;
    std::string kind = "S   ", manager = "????", account = records::Fixed(kAccount, 8), date = kDate,
                accrued = "Y   ", post = "N   ";
    reports::Holval(run, state, mode, kind, manager, account, date, accrued, post);
    const records::DirectFile file("TEMP1.WRK", 256, false);
    Record rec;
    EXPECT_TRUE(file.Read(1, rec));
    return records::HoldingsWorkHeader::Decode(rec).accrued_interest;
}

reports::AppraisalRun AppraisalRequest() {
    reports::AppraisalRun run;
    run.selection = "S   ";
    run.account = records::Fixed(kAccount, 8);
    run.report_date = kDate;
    run.accrued_switch = "Y   ";
    run.output_mode = 1;
    run.output_name = "VALUE.TXT";
    return run;
}

double AccountAppraisal() {
    reports::AppraisalRun run = AppraisalRequest();
    int16_t step = 0;
    reports::Apgath(run, step);
    return AppraisalWorkHeader().total_accrued;
}

double MutualFundAppraisal() {
    reports::AppraisalRun run = AppraisalRequest();
    int16_t step = 0;
    std::string title;
    reports::Mfvalu(run, step, title);
    return AppraisalWorkHeader().total_accrued;
}

double AssetsUnderManagement() {
    reports::AumRun run;
    run.as_of_date = kDate;
    run.as_of_number = kDateNumber;
    run.program_date_number = kDateNumber;
    run.options = records::Rdopts();
    run.accrued_flag = "Y   ";
    run.cash_position = 1;
    run.work.emplace(records::kSecurityHoldingsFile, records::kSecurityHoldingsRecordLength);
    run.securities.emplace("SECURITY.REC", 128, false);
    run.prices.emplace(records::PriceFileName(run.as_of_date), 8, false);
    reports::AumAccount account;
    account.id = records::Fixed(kAccount, 8);
    reports::Aumhld(run, account);
    return account.accrued;
}

double FixedIncomeAppraisal() {
    reports::FixedIncomeRun run;
    run.selection = "S   ";
    run.account = records::Fixed(kAccount, 8);
    run.report_date = kDate;
    int16_t status = 0;
    reports::Faprval(run, status);
    return AppraisalWorkHeader().total_accrued;
}

double CompositeAppraisal() {
    reports::AppraisalRun run;
    run.options = records::Rdopts();
    run.program_date_number = kDateNumber;
    reports::CompositeRunDates dates;
    dates.report_date = kDate;
    dates.report_number = kDateNumber;
    dates.accrued = true;
    reports::CompositeHoldings holdings;
    {
        reports::ReportFrame frame("GROUP.TXT", true);
        EXPECT_TRUE(reports::ValueCompositeAppraisal(run, frame, dates, {records::Fixed(kAccount, 8)},
                                                     "THE GROUP", holdings));
    }
    return AppraisalWorkHeader().total_accrued;
}

double SummaryValuation() {
    double market = 0, income = 0, yield = 0, cost = 0;
    int16_t missing = 0;
    reports::Acsval(kAccount, kDate, kDateNumber, kDateNumber, market, income, yield, missing, cost,
                    records::Rdopts());
    return market - kPricedValue;
}

double InvestmentHistory() {
    return reports::Hstval(kAccount, kDate, "Y   ").market_value - kPricedValue;
}

// The valuation behind the month-end values of the performance pages.
double MonthEndValuation() {
    records::Open(engine::kLotUnit, records::Paknam(kAccount, "HL", ".REC"));
    const engine::Valuation v = engine::Getprc(kDate, engine::DefaultCategoryTable());
    records::Close(engine::kLotUnit);
    return v.whole - kPricedValue;
}

TEST(AccruedInterest, EveryValuationOfAnAccountShowsTheSameFigure) {
    struct Case {
        const char* report;
        double (*value)();
    } cases[] = {
        {"working appraisal", WorkingAppraisal},          {"account appraisal", AccountAppraisal},
        {"mutual fund appraisal", MutualFundAppraisal},   {"assets under management", AssetsUnderManagement},
        {"fixed income appraisal", FixedIncomeAppraisal}, {"composite appraisal", CompositeAppraisal},
        {"summary valuation", SummaryValuation},          {"investment history", InvestmentHistory},
        {"month-end valuation", MonthEndValuation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        TempDataDir dir;
        WriteAccount();
        EXPECT_NEAR(c.value(), kAccrued, 0.005);
    }
}

}  // namespace
