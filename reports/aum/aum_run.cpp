#include "reports/aum/aum_run.h"

#include <algorithm>

#include "records/account_file.h"
#include "records/dates.h"
#include "records/index.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "records/security_holdings_files.h"
#include "reports/aum/aum_security_pages.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

using records::kNoPriceValue;
using records::Record;

constexpr std::size_t kCommonLength = 128;

// Types whose automatic-pricing flag the run never touches: cash, bonds
// priced at 100, unit-priced and missing securities, and type "X".
bool KeepsPricingFlag(char type) {
    return type == '1' || type == '4' || type == 'S' || type == 'T' || type == 'X';
}

// Sets the automatic-pricing flag of a security record that was read and
// writes it back; the record's other bytes stay as stored.
void SetPricingFlag(records::DirectFile& securities, long position, Record rec, char flag) {
    records::SecurityRecord sec = records::SecurityRecord::Decode(rec);
    sec.autopricing = flag;
    sec.Encode(rec);
    securities.Write(position, rec);
}

// A record that was read and holds data (a never-written record is zero
// bytes and names no security).
bool ReadWritten(const records::DirectFile& file, long position, Record& rec) {
    if (position < 1 || !file.Read(position, rec)) return false;
    return !rec.NeverWritten();
}

// One lot as both walks value it.
struct LotValue {
    LotSecurity security;
    std::string key_symbol;  // the symbol the index key is made of
    long position = 0;
    double price = 0;
    double value = 0;  // kNoPriceValue without a price
    double amount = 0;
    int8_t kind = records::kValuedPlain;
    float rate = 0;
    bool cash = false;
};

// Steps a to j of a lot: its security, price, value and cost. Returns false
// for a lot the walks pass over (lot code "S"); the pricing flag of a held
// security is set before that test, so a security whose only lot is "S"
// still counts as held.
bool ValueLot(AumRun& run, const records::HoldingRecord& lot, bool set_flags, LotValue& v) {
    v = LotValue{};
    v.cash = lot.holding_key == 0;
    v.position = v.cash ? run.cash_position : lot.security_record;
    Record rec;
    const bool read = ReadWritten(*run.securities, v.position, rec);
    v.security = ReadLotSecurity(*run.securities, v.position);
    const char type = v.security.type_code.empty() ? ' ' : v.security.type_code[0];
    if (set_flags && read && v.security.found && !KeepsPricingFlag(type))
        SetPricingFlag(*run.securities, v.position, rec, 'Y');

    if (records::Fixed(lot.tax_lot, 4) == "S   ") return false;

    // The key is made of the security's symbol as the lot holds it (its
    // SECURITY.IDX key); SECURITY.REC's own first field holds the CUSIP.
    v.key_symbol = lot.symbol;

    double price = kNoPriceValue;
    if (type == '1' || v.cash) {
        price = 1.0;
    } else if (v.position > 0 && v.security.found) {
        Record p;
        if (run.prices->ok() && run.prices->Read(v.position, p)) price = records::StoredPrice(p);
    }
    if (type == 'S') price = 1.0;
    if (type == '4') price = 100.0;
    if (price != kNoPriceValue) records::RoundToDecimals(price, run.decimals);
    v.price = price;

    v.rate = v.security.rate;
    if (v.cash) {
        v.value = lot.cost;
    } else if (price == kNoPriceValue) {
        v.value = kNoPriceValue;
    } else {
        v.value = price * lot.quantity;
    }
    if (IsFixedIncomeType(type)) {
        if (v.value != kNoPriceValue && !v.cash) v.value *= 0.01;
        v.kind = records::kValuedPerHundred;
    } else if (type == 'R') {
        if (v.value != kNoPriceValue && !v.cash) v.value *= 100.0;
        v.rate = 0;
        v.kind = records::kValuedTimes100;
    }
    v.amount = lot.cost;
    if (lot.quantity < 0 && !v.cash) v.amount = -v.amount;
    return true;
}

bool ReadCommon(AumRun& run) {
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    Record rec;
    if (!common.Read(records::kProgramDateRecord, rec)) return false;
    run.program_date = rec.Text(0, 8);
    run.program_date_number = rec.R4(8);
    if (common.Read(records::kOptionsRecord, rec))
        for (std::size_t i = 0; i < run.options.size(); ++i) run.options[i] = rec.data()[i];
    return true;
}

}  // namespace

void Clrapf() {
    const std::vector<std::string> symbols = records::ReadSecurityIndex();
    records::DirectFile securities(records::kSecurityRecords, records::kSecurityRecordLength,
                                   /*create=*/false);
    if (!securities.ok()) return;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const std::string head = records::Fixed(symbols[i], 4);
        if (head == "$$$$" || head == "CASH") continue;
        const long position = static_cast<long>(i) + 1;
        Record rec;
        if (!ReadWritten(securities, position, rec)) continue;
        const records::SecurityRecord sec = records::SecurityRecord::Decode(rec);
        if (KeepsPricingFlag(sec.TypeCharacter())) continue;
        if (sec.description1.find("INDEX") != std::string::npos ||
            sec.description2.find("INDEX") != std::string::npos)
            continue;
        SetPricingFlag(securities, position, rec, 'N');
    }
}

void Aumhld(AumRun& run, AumAccount& account) {
    account.value = 0;
    account.accrued = 0;
    account.missing_price = false;
    const HoldingsSource source =
        PrepareHoldings(records::TrimRight(account.id), run.as_of_number, run.program_date_number);
    account.rebuild_status = source.replay_status;
    if (source.replayed && source.replay_status != 0)
        run.Say(" " + records::TrimRight(account.id) + ": the holdings rebuild as of " + run.as_of_date +
                " stopped with status " + std::to_string(source.replay_status) +
                "; its lots as rebuilt are reported.");

    // First walk: the account's value and accrued interest; in autoprice
    // mode the held securities are marked.
    {
        LotIterator lots(source.file);
        int16_t record = 0;
        records::HoldingRecord lot;
        LotValue v;
        while (lots.Next(record, lot)) {
            if (!ValueLot(run, lot, !run.report, v)) continue;
            if (v.value == kNoPriceValue) account.missing_price = true;
            const char type = v.security.type_code[0];
            if (records::Fixed(run.accrued_flag, 4) == "Y   " && IsFixedIncomeType(type) && type != '3' &&
                type != 'X') {
                account.accrued += records::AccruedInterest(
                    records::LastCouponDate(run.as_of_number, v.security.coupon_date, v.security.maturity),
                    run.as_of_date, lot.quantity, v.security.rate);
            }
            if (v.value != kNoPriceValue) {
                double value = v.value;
                records::RoundToDecimals(value, run.decimals);
                account.value += value;
            }
        }
    }
    if (!run.report) return;

    // Second walk: one work record per lot.
    LotIterator lots(source.file);
    int16_t record = 0;
    records::HoldingRecord lot;
    LotValue v;
    while (lots.Next(record, lot)) {
        if (!ValueLot(run, lot, false, v)) continue;
        if (run.record_counter + 1 > kMaxSecurityHoldings + 1) {
            run.lots_left_out = true;
            return;
        }
        records::SecurityHolding h;
        h.market_value = v.value;
        if (h.market_value != kNoPriceValue) records::RoundToDecimals(h.market_value, run.decimals);
        h.symbol = lot.symbol;
        h.account_title = account.title;
        h.account_id = account.id;
        h.lot_date = lot.open_date;
        h.quantity = v.security.type_code[0] == '1' ? lot.cost : lot.quantity;
        h.cost = v.amount;
        records::RoundToDecimals(h.cost, run.decimals);
        if (account.missing_price)
            h.percent_of_account = kNoPercent;
        else if (account.value != 0)
            h.percent_of_account = static_cast<float>(100.0 * h.market_value / account.value);
        h.rate = v.rate;
        h.lot_code = records::Fixed(lot.tax_lot, 2);
        h.security_number = static_cast<int16_t>(v.position);
        h.valuation_kind = v.kind;
        h.description1 = v.security.description1;
        h.description2 = v.security.description2;
        h.security_type = v.security.type_code;
        h.maturity_date = v.security.maturity;
        h.rate2 = v.rate;
        h.lot_text20 = lot.memo;
        h.custodian_account = account.custodian_account;
        ++run.record_counter;
        run.index.Aumidx(HoldingKey(v.key_symbol), run.record_counter, v.key_symbol);
        run.work->Write(run.record_counter, h.Encode());
    }
}

void Meom(int16_t mode, std::string& as_of_date, std::string_view manager_code, std::string_view accrued_flag,
          std::string_view /*autoprice_flag*/, std::string_view /*second_option*/,
          std::string_view report_choice, int16_t output_kind, std::string_view output_file,
          int /*output_file_length*/) {
    AumRun run;
    run.report = mode < 1;
    const std::string manager = records::Fixed(manager_code, 4);
    ReadCommon(run);
    records::Gcn();
    run.decimals = records::SystemDecimals(run.options);
    run.accrued_flag = records::Fixed(accrued_flag, 4);
    as_of_date = records::Fixed(as_of_date, 8);
    {
        int16_t check_mode = 0, error = 0;
        records::Ckdate(as_of_date, check_mode, error, run.as_of_number, 0, 1991231);
    }
    run.as_of_date = as_of_date;
    if (run.report) run.frame.emplace(ReportFrame::ForOutputMode(output_file, output_kind));

    run.index.Aumclr();
    run.record_counter = 1;
    run.cash_position = SecuritySearch().Find("CASH");
    if (!run.report) Clrapf();

    run.work.emplace(records::kSecurityHoldingsFile, records::kSecurityHoldingsRecordLength);
    run.work->Truncate(0);
    run.securities.emplace(records::kSecurityRecords, records::kSecurityRecordLength, /*create=*/false);
    run.prices.emplace(records::PriceFileName(run.as_of_date), 8, /*create=*/false);

    // The accounts of the selection.
    const AccountWalk walk = WalkAccounts();
    std::string stop;
    if (!walk.count_read) {
        stop = UnreadableLine(records::kAccountIndex, 1);
    } else if (walk.failed_record > 0) {
        stop = UnreadableLine(records::kAccountIndex, walk.failed_record);
    } else if (walk.count <= 0) {
        stop = " ACCOUNT.IDX holds no accounts; nothing is reported.";
    }
    for (std::size_t k = 0; stop.empty() && k < walk.accounts.size(); ++k) {
        const AccountEntry& e = walk.accounts[k];
        if (e.id.compare(4, 4, "$$$$") == 0) continue;
        records::AccountRecordSet recs;
        if (!records::ReadAccountRecordSet(e.entry, recs)) {
            stop = UnreadableLine(records::kAccountRecords, e.first_record + 1);
            break;
        }
        if (!ManagerMatches(manager, recs[1].Text(16, 4))) continue;
        AumAccount account;
        account.id = e.id;
        account.title = recs[1].Text(52, 32);
        account.custodian_account = recs[2].Text(32, 32);
        Aumhld(run, account);
        run.accrued_total += account.accrued;
    }

    records::SecurityHoldingsHeader header;
    header.record_count = static_cast<int16_t>(run.record_counter - 1);
    header.as_of_date = run.as_of_date;
    header.manager = manager;
    run.work->Write(1, header.Encode());
    run.securities.reset();
    run.prices.reset();
    run.work.reset();

    if (run.report) {
        if (!stop.empty()) {
            run.Say(stop);
        } else {
            Secxref("    ", "    ", report_choice, output_kind, "    ", " ALL SECURITY TYPES ",
                    run.accrued_flag, run.accrued_total, run.index, *run.frame);
            if (run.lots_left_out)
                run.Say(" MSTRSUMM.HLD is full at " + std::to_string(kMaxSecurityHoldings) +
                        " lots: the lots of later holdings are left out of the totals.");
        }
    }
    run.frame.reset();
    records::Purge(records::kSecurityHoldingsFile);
}

}  // namespace reports
