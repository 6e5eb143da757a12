#include "reports/appraisal/working_appraisal.h"

#include <algorithm>
#include <cmath>

#include "records/account_file.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/holdings_control.h"
#include "records/index.h"
#include "records/lookups.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "reports/appraisal/appraisal_gathering.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/appraisal/working_appraisal_pages.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

using records::HoldingsControlRecord;
using records::kNoPriceValue;
using records::Record;

constexpr std::size_t kCommonLength = 128;
constexpr int kCashType = 2;              // "1"
constexpr int kBondType = 5;              // "4": priced at 100, no part in the average maturity
constexpr int kTimes100Type = 28;         // "R"
constexpr int kUnitPricedType = 29;       // "S"
constexpr int kMissingType = 30;          // "T": a lot whose type the pages do not print
constexpr int kNoInterestTotalType = 34;  // "X"
constexpr int kUnmanagedType = 36;        // "Z"

// Types whose SECURITY.EXT record is read: 0 4 5 6 7 9 B C D F T W X Y.
bool Extended(int t) {
    return t == 1 || (t >= 5 && t <= 8) || t == 10 || (t >= 12 && t <= 14) || t == 16 || t == 30 ||
           (t >= 33 && t <= 35);
}

// The text as Fixed(text, word.size()) gives it equals the word, without
// making that text.
bool FixedIs(std::string_view text, std::string_view word) {
    const std::size_t n = std::min(text.size(), word.size());
    if (text.compare(0, n, word.substr(0, n)) != 0) return false;
    for (std::size_t i = n; i < word.size(); ++i)
        if (word[i] != ' ') return false;
    return true;
}

bool HasDeletedHalf(const std::string& id) {
    const std::string key = records::Fixed(id, 8);
    return key.compare(0, 4, "$$$$") == 0 || key.compare(4, 4, "$$$$") == 0;
}

// HCONTROL.FIL record 1, or the preset (the manager code, all else 0) when
// it cannot be read.
HoldingsControlRecord ReadControl(const std::string& manager, bool& read) {
    HoldingsControlRecord c;
    c.manager = records::Fixed(manager, 4);
    const records::DirectFile file(records::kHoldingsControlFile, records::kHoldingsControlLength,
                                   /*create=*/false);
    Record rec;
    read = file.ok() && file.Read(1, rec);
    if (read) c = HoldingsControlRecord::Decode(rec);
    return c;
}

void WriteFinishedMark() {
    records::DirectFile file(records::kHoldingsControlFile, records::kHoldingsControlLength);
    Record rec;
    if (!file.Read(1, rec)) rec = Record(records::kHoldingsControlLength, 0);
    records::MarkHoldingsRunFinished(rec);
    file.Write(1, rec);
}

// The account in hand.
struct PassAccount {
    std::string id = std::string(8, ' ');
    std::string name = std::string(32, ' ');
    std::string manager = std::string(4, ' ');
    std::string custodian = std::string(32, ' ');
    std::string code = std::string(8, ' ');
    std::string objective = std::string(4, ' ');
};

// What the lots of an account add up to, for the header of TEMP1.WRK.
struct Valuation {
    records::HoldingsWorkHeader head;
    int16_t count = 0;
    bool missing = false;
    double total = 0, accrued_total = 0, largest = 0, days_by_face = 0, face = 0;
    LotExtension ext;  // the last extension record read
};

// What every lot of a valuation is valued against.
struct LotContext {
    const std::string& report_date;
    float report_number;
    bool accrued;  // the accrued interest is asked for (the answer is not "N")
    const records::Options& opt;
    int decimals;
    RunSecurities& files;
    const records::DirectFile& prices;
    Record& price;  // the price record read last
};

// The texts and terms of a work record: the lot's symbol, date and
// quantity, the security's descriptions, and the extension record's call,
// put and rating fields (the last extension record read).
// The record's texts are cut or blank padded to their fields as they are
// encoded, so they are copied as they stand.
void DescribeLot(records::HoldingsWorkRecord& w, const records::HoldingRecord& lot, const LotSecurity& sec,
                 const LotExtension& ext) {
    w.symbol_head = lot.symbol;
    w.symbol = lot.symbol;
    w.description = sec.description1;
    w.rate = sec.rate;
    w.trade_date = lot.open_date;
    w.description2 = sec.description2;
    w.type_code = sec.type_code;
    w.call_date = ext.call_date;
    w.call_price = ext.call_price;
    w.rating1.assign(ext.word2.begin(), ext.word2.end());
    w.rating2.assign(ext.word3.begin(), ext.word3.end());
    w.insurance = ext.code;
    w.call_feature.assign(ext.word4.begin(), ext.word4.end());
    w.put_feature.assign(ext.word5.begin(), ext.word5.end());
    w.put_date = ext.put_date;
    w.put_price = ext.put_price;
    w.maturity_date = sec.maturity;
}

// Values one lot into its work record (one kept from lot to lot) and adds
// it to the account's sums; false for a zero cash lot that option 45
// leaves out.
bool ValueLot(const LotContext& c, const records::HoldingRecord& lot, Valuation& v,
              records::HoldingsWorkRecord& w) {
    w.reclassified = 0;
    const records::Options& opt = c.opt;
    const bool cash_symbol = IsCashSymbol(lot.symbol);
    if (records::OptionOn(opt, records::Opt::kNoZeroCash) && cash_symbol && lot.quantity > -0.005 &&
        lot.quantity < 0.005)
        return false;
    const bool cash_lot = lot.holding_key <= 0;
    double quantity = lot.quantity;
    double cost = lot.cost;
    long position = lot.security_record;
    if (cash_lot) {
        cost = quantity;
        position = c.files.index.Find(lot.symbol);
    }
    static const LotSecurity kNoSecurity;
    const LotSecurity& sec = position > 0 ? c.files.records.Read(position) : kNoSecurity;
    const float maturity = LotDateNumber(sec.maturity);
    const bool cash = cash_lot || FixedIs(sec.type_code, "1   ");
    double price = 1.0;
    if (!cash) {
        price = kNoPriceValue;
        if (sec.found && c.prices.Read(position, c.price)) price = records::StoredPrice(c.price);
    }
    int type = SecurityTypeNumber(sec.type_code[0]);
    const int own_type = type;
    if (!InAppraisalTypeOrder(type)) type = kMissingType;

    float ext_rate = 0;
    unsigned char ext_flag = 0;
    if (sec.found && Extended(own_type)) {
        const LotExtension& terms = c.files.terms.Read(position);
        ext_rate = terms.yield_to_maturity;
        if (terms.read) v.ext = terms;
        ext_flag = 1;
    }
    const int16_t category = CategoryNumber(sec.category);
    if (cash || type == kUnitPricedType) price = 1.0;
    if (type == kBondType) price = 100.0;
    if (price != kNoPriceValue) records::RoundToDecimals(price, c.decimals);

    const bool unmanaged = FixedIs(lot.tax_lot, "S   ");
    if (price == kNoPriceValue && (!unmanaged || records::OptionOn(opt, records::Opt::kUnmanagedInBody)))
        v.missing = true;

    double value = kNoPriceValue;
    if (price != kNoPriceValue) {
        value = price * quantity;
        if (PerHundredType(type)) value /= 100.0;
        if (type == kTimes100Type) value *= 100.0;
    }
    w.percent_priced = PerHundredType(type) ? 1 : 0;
    if (quantity < 0 && !cash_symbol) cost = -cost;
    if (cash_lot) value = quantity;

    if (c.accrued && PerHundredType(type)) {
        const double interest = records::AccruedInterest(
            records::LastCouponDate(c.report_number, sec.coupon_date, sec.maturity), c.report_date, quantity,
            sec.rate);
        if (type != kNoInterestTotalType) v.accrued_total += interest;
    }
    if (records::OptionOn(opt, records::Opt::kBondDetails) && PerHundredType(type) && type != kBondType &&
        maturity > 0) {
        const double days = records::Daycb(c.report_date, sec.maturity, 0);
        v.days_by_face += quantity * days;
        v.face += quantity;
    }
    if (value != kNoPriceValue) {
        records::RoundToDecimals(value, c.decimals);
        v.largest = std::max(v.largest, value);
    }
    int final_type = type;
    if (unmanaged && !records::OptionOn(opt, records::Opt::kUnmanagedInBody)) final_type = kUnmanagedType;
    if (!v.missing && final_type != kUnmanagedType && value != kNoPriceValue) v.total += value;

    if (!records::OptionOn(opt, records::Opt::kMaturingBondsNotCash) && own_type != kTimes100Type &&
        MovesToCashEquivalents(maturity, c.report_number)) {
        final_type = kCashType;
        w.reclassified = 1;
    }
    if (unmanaged && !records::OptionOn(opt, records::Opt::kUnmanagedInBody)) final_type = kUnmanagedType;
    if (own_type >= 1 && own_type <= 37) v.head.type_flags[own_type - 1] = 1;
    v.head.type_flags[type - 1] = 1;
    v.head.type_flags[final_type - 1] = 1;

    w.type_index = static_cast<int16_t>(final_type);
    w.category = category;
    w.quantity = quantity;
    w.cost = cost;
    w.market_value = value;
    w.extended_yield = ext_rate;
    w.extended = ext_flag;
    w.security = static_cast<int16_t>(position);
    DescribeLot(w, lot, sec, v.ext);
    return true;
}

// The valuation of one account into TEMP1.WRK. False when a lot could not
// be read (TEMP1.WRK then holds what was written so far).
bool ValueAccount(const PassAccount& a, const std::string& kind, const std::string& report_date,
                  float report_number, float program_number, const std::string& accrued,
                  const records::Options& opt, RunSecurities& files, long& broken_record) {
    const HoldingsSource source = PrepareHoldings(records::TrimRight(a.id), report_number, program_number);

    // The records are written over the last account's and the file is cut
    // to what this account wrote once it is done. Cutting it to nothing
    // first would cost a wait a run of pages: ext4 sends a file cut to
    // nothing and written again to the disk as it closes, and the next cut
    // waits for that.
    records::DirectFile work(records::kAppraisalWorkFile, records::kHoldingsControlLength);
    const records::DirectFile prices(records::PriceFileName(report_date), 8, /*create=*/false);
    Record price;
    const LotContext context{report_date, report_number, !FixedIs(accrued, "N   "), opt,
                             records::SystemDecimals(opt), files, prices, price};
    Valuation v;

    // Record 1 zero until the header is known, then the lots' records: all
    // written together after the last lot.
    std::vector<unsigned char> valued(records::kHoldingsControlLength, 0);
    auto write_lots = [&] { work.WriteRecords(1, valued.data(), static_cast<std::size_t>(v.count) + 1); };
    const records::DirectFile probe(source.file, records::kAccountRecordLength, /*create=*/false);
    // An account holds no more lots than its holdings file has records.
    valued.reserve(static_cast<std::size_t>(probe.Count() + 1) * records::kHoldingsControlLength);
    if (probe.ok() && probe.Count() > 0) {
        LotIterator lots(source.file);
        int16_t record = 0;
        records::HoldingRecord lot;
        records::HoldingsWorkRecord w;
        while (lots.Next(record, lot)) {
            if (!ValueLot(context, lot, v, w)) continue;
            ++v.count;
            valued.resize(static_cast<std::size_t>(v.count + 1) * records::kHoldingsControlLength);
            w.EncodeTo(valued.data() + valued.size() - records::kHoldingsControlLength);
        }
        if (lots.end() != LotIterator::End::kListEnd) {
            broken_record = record;
            write_lots();
            work.Truncate(v.count + 1);
            return false;
        }
    }
    write_lots();

    records::HoldingsWorkHeader& head = v.head;
    head.account = records::Fixed(a.id, 8);
    head.pricing_date = records::Fixed(report_date, 8);
    head.count = v.count;
    head.portfolio_value = v.missing ? kNoPriceValue : v.total + v.accrued_total;
    head.name = records::Fixed(a.name, 32);
    head.largest_value = v.largest;
    head.run_kind =
        records::Fixed(kind, 4) == "S   " ? records::kHoldingsAccountRun : records::kHoldingsManagerRun;
    head.accrued_interest = v.accrued_total;
    if (v.face != 0) head.average_years = v.days_by_face / v.face * (1.0 / 365.0);
    head.second_name = records::Fixed(a.custodian, 32);
    head.second_code = records::Fixed(a.code, 8);
    head.objective = records::Fixed(a.objective, 4);
    work.Write(1, head.Encode());
    work.Truncate(v.count + 1);
    return true;
}

}  // namespace

void HoldingsRun::Start() {
    if (!frame) frame.emplace(ReportFrame::ForOutputMode(output_name, mode));
}

void HoldingsRun::Say(const std::string& line) {
    Start();
    frame->Line(line);
}

bool MovesToCashEquivalents(float maturity, float report) {
    if (maturity <= 0) return false;
    return (maturity >= report && maturity <= report + 10000) || (maturity > 700000 && maturity < report);
}

void Gtclid(const std::string& account, int16_t& position, std::string& name, std::string& text,
            std::string& code, std::string& manager, std::string& word) {
    name = std::string(32, ' ');
    const records::AccountEntry found = records::Ckclnt(records::Fixed(account, 8));
    position = static_cast<int16_t>(found.entry);
    if (found.entry <= 0) return;
    int at = found.entry - 2;  // Gtclt2 steps to the next entry
    const records::AccountDetail d = records::Gtclt2(at);
    name = d.name;
    manager = d.manager;
    text = d.custodian_account;
    code = d.broker;
    word = d.objective;
}

void Holend(int16_t& state) {
    state = kHoldingsDone;
}

namespace {

// COMMON.FIL: the program date and its number, and the options.
void ReadCommon(std::string& program_date, float& program_number, records::Options& opt) {
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    Record rec;
    if (common.Read(records::kProgramDateRecord, rec)) {
        program_date = rec.Text(0, 8);
        program_number = rec.R4(8);
    }
    if (common.Read(records::kOptionsRecord, rec))
        for (std::size_t i = 0; i < opt.size(); ++i) opt[i] = rec.data()[i];
}

// The cursor: index 0 (a single account, or no run) and -99 are an empty
// cursor; a run in progress has its cursor at index + 1, and a cursor at
// its end finishes the run (true).
bool ReadCursor(HoldingsControlRecord& control, records::AccountCursorRecord& cursor, const std::string& manager,
                std::string& account, std::string& date, std::string& kind) {
    if (control.index == records::kHoldingsRunFinished) {
        control = HoldingsControlRecord{};
        control.manager = records::Fixed(manager, 4);
        return false;
    }
    if (control.index <= 0 || control.index > records::kHoldingsSlotCount) {
        control.index = 0;
        return false;
    }
    --control.budget;
    const records::DirectFile file(records::kHoldingsControlFile, records::kHoldingsControlLength, false);
    Record rec;
    if (!file.Read(control.index + 1, rec)) return false;
    cursor = records::AccountCursorRecord::Decode(rec);
    account = cursor.account;
    date = cursor.report_date;
    if (cursor.position < cursor.count) return false;
    control.slot_flags[control.index - 1] = 0;
    cursor.position = cursor.count = 0;
    kind = "A   ";
    return true;
}

// The next account of the index after the cursor whose manager code
// matches; false when none is left.
bool NextManagerAccount(const HoldingsControlRecord& control, records::AccountCursorRecord& cursor,
                        PassAccount& a) {
    while (true) {
        int at = cursor.position;
        const records::AccountDetail d = records::Gtclt2(at);
        if (d.count <= 0 || at > d.count || at <= cursor.position) return false;
        cursor.position = static_cast<int16_t>(at);
        cursor.count = static_cast<int16_t>(d.count);
        if (records::IsBlank(d.account) || HasDeletedHalf(d.account) || !ManagerMatches(control.manager, d.manager))
            continue;
        a.id = d.account;
        a.name = d.name;
        a.manager = d.manager;
        a.custodian = d.custodian_account;
        a.code = d.broker;
        a.objective = d.objective;
        return true;
    }
}

// The control file: the cursor of a manager run, then record 1 (the run
// ended when no account was found or the cursor is past its count).
void WriteControl(HoldingsControlRecord& control, records::AccountCursorRecord& cursor, bool found,
                  const PassAccount& a, float report_number, const std::string& program_date,
                  const std::string& date) {
    records::DirectFile file(records::kHoldingsControlFile, records::kHoldingsControlLength);
    if (control.index > 0) {
        if (found) cursor.account = records::Fixed(a.id, 8);
        const float n = report_number;
        const records::DateNumberParts parts = records::SplitDateNumber(static_cast<long>(n));
        cursor.year = static_cast<int16_t>(parts.year);
        cursor.month = static_cast<int16_t>(parts.month);
        cursor.program_date = program_date;
        cursor.report_date = records::Fixed(date, 8);
        cursor.date_number = n;
        file.Write(control.index + 1, cursor.Encode());
    }
    if (!found || cursor.count < cursor.position) {
        if (control.index >= 1 && control.index <= records::kHoldingsSlotCount)
            control.slot_flags[control.index - 1] = 0;
        control.index = 0;
    }
    file.Write(1, control.Encode());
}

}  // namespace

void Holval(HoldingsRun& run, int16_t& state, int16_t& mode, std::string& kind, std::string& manager,
            std::string& account, std::string& date, const std::string& accrued, const std::string& post) {
    // COMMON.FIL: the program date and the options.
    std::string program_date(8, ' ');
    float program_number = 0;
    records::Options opt{};
    ReadCommon(program_date, program_number, opt);

    // The cursor.
    bool read = false;
    HoldingsControlRecord control = ReadControl(manager, read);
    records::AccountCursorRecord cursor;
    const bool finished = ReadCursor(control, cursor, manager, account, date, kind);

    PassAccount a;
    float report_number = cursor.date_number;
    bool first = false;
    bool found = false;
    const bool single = records::Fixed(kind, 4) == "S   ";
    if (!finished) {
        if (cursor.count <= cursor.position) {
            // A new selection.
            control.index = 0;
            first = true;
            if (single) {
                int16_t position = 0;
                Gtclid(account, position, a.name, a.custodian, a.code, a.manager, a.objective);
                a.id = records::Fixed(account, 8);
                cursor.position = position;
                cursor.count = 0;
                control.manager = a.manager;
            } else {
                control.index = static_cast<int16_t>(std::max(ManagerCodePosition(control.manager), 1));
                control.budget = 999;
                control.slot_flags[control.index - 1] = 1;
            }
        }
        if (first) {
            int16_t check_mode = 2, error = 0;
            date = records::Fixed(date, 8);
            records::Ckdate(date, check_mode, error, report_number, 0, 1991231);
            const std::string word = records::Fixed(post, 4);
            control.value_option = (word == "Y   " || word == "y   ") ? 1 : 0;
            control.output_mode = mode;
            run.Start();
        }
        if (single) {
            if (cursor.position > 0) {
                found = true;
            } else {
                run.Say(" ACCOUNT " + records::TrimRight(account) + " IS NOT IN ACCOUNT.IDX.");
            }
        } else {
            // The next account of the index whose manager code matches.
            found = NextManagerAccount(control, cursor, a);
            if (!found) {
                if (first)
                    run.Say(" NO ACCOUNT OF MANAGER CODE " + records::Fixed(control.manager, 4) +
                            " WAS FOUND.");
                control.slot_flags[control.index - 1] = 0;
            }
            kind = "A   ";
        }
    }

    if (found) {
        account = a.id;
        long broken = 0;
        if (!run.securities) run.securities.emplace();
        if (!ValueAccount(a, kind, date, report_number, program_number, accrued, opt, *run.securities,
                          broken)) {
            run.Say(" ACCOUNT " + records::TrimRight(a.id) +
                    ": A LOT OF ITS HOLDINGS COULD NOT BE READ AFTER RECORD " + std::to_string(broken) +
                    "; THE RUN STOPS HERE.");
            records::Purge(records::kAppraisalWorkFile);
            found = false;
        }
    }

    WriteControl(control, cursor, found, a, report_number, program_date, date);
    if (!found) {
        WriteFinishedMark();
        state = kHoldingsDone;
        return;
    }
    state = kHoldingsPrint;
}

void Holdings(std::string& kind, std::string& manager, std::string& account, std::string& date,
              std::string& accrued, std::string& post, int16_t& mode, std::string& output_name,
              int name_length) {
    records::Gcn();
    HoldingsRun run;
    run.output_name = records::Fixed(output_name, static_cast<std::size_t>(std::max(name_length, 1)));
    run.mode = mode;
    // Every run starts afresh.
    records::Purge(records::kHoldingsControlFile);
    int16_t state = kHoldingsValue;
    const std::vector<int16_t> no_order;
    while (state != kHoldingsDone) {
        if (state == kHoldingsValue) Holval(run, state, mode, kind, manager, account, date, accrued, post);
        if (state == kHoldingsPrint) Prhold(state, mode, no_order);
        if (state == kHoldingsGainStep) Holend(state);
    }
    run.Start();  // a run that ends before its first account still ends its work file
    run.frame.reset();
    records::Purge(records::kHoldingsControlFile);
    // The pages keep TEMP1.WRK while more accounts may follow.
    const bool work_left =
        records::DirectFile(records::kAppraisalWorkFile, records::kHoldingsControlLength, /*create=*/false)
            .ok();
    if (work_left) records::Purge(records::kAppraisalWorkFile);
}

}  // namespace reports
