#include "engine/transfer_posting.h"

#include <array>

#include "engine/posting_steps.h"
#include "engine/value_history.h"
#include "records/account_records.h"
#include "records/codes.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/lookups.h"
#include "records/record.h"

namespace engine {

namespace {

struct TransferCodeEntry {
    std::string_view letters;
    int16_t sign;
};

constexpr std::array<TransferCodeEntry, 20> kTransferCodes = {{
    {"B ", -1}, {"S ", 1},  {"SS", 1},  {"CS", -1}, {"FI", 1},  {"FO", -1}, {"SI", 0},
    {"SO", 0},  {"DI", 1},  {"DE", -1}, {"II", 1},  {"IE", -1}, {"MF", -1}, {"BC", -1},
    {"MI", 1},  {"ME", -1}, {"AI", 1},  {"AO", -1}, {" B", -1}, {" S", 1},
}};

// Adds a transfer's flow to the history in the month of its date; a
// transfer taken back out adds the negated flow. The transfer codes'
// sign is 0, so the market values and the carried series do not move.
void AddToHistory(std::string_view account, const records::TransactionRecord& t, bool reverse) {
    std::string code = records::Fixed(t.code, 2);
    int16_t direction = 0, sign = 0, state = 0, flag = 0;
    Ckcodt(code, direction, sign, state, flag);
    if (flag != 0) return;
    double flow = direction * t.amount;
    double series1 = code == "SI  " ? sign * t.lot_cost : sign * sign * t.amount;
    if (reverse) {
        flow = -flow;
        series1 = -series1;
    }
    const records::DateNumberParts parts = records::SplitDateNumber(static_cast<long>(t.date_number));
    const int16_t year = static_cast<int16_t>(parts.year);
    const int16_t month = static_cast<int16_t>(parts.month);
    // A history that is not there is left alone: opening it would create it.
    {
        const records::DirectFile file(records::Paknam(account, "HL", ".DAT"), records::kAccountRecordLength,
                                       false);
        records::Record head;
        if (!file.Read(1, head)) return;
    }
    Hladja(account, month, year, series1, flow, series1, 0);
}

}  // namespace

void Ckcodt(std::string& code, int16_t& direction, int16_t& sign, int16_t& state, int16_t& flag) {
    if (state == 3) return;
    const std::string letters = records::Fixed(code, 2);
    for (const TransferCodeEntry& e : kTransferCodes) {
        if (letters != e.letters) continue;
        code = letters + "  ";
        sign = e.sign;
        if (letters == "SI")
            direction = 1;
        else if (letters == "SO")
            direction = -1;
        else
            state = flag = 1;
        return;
    }
    state = flag = 1;
}

void Fasset(PostingMode mode, int32_t& record, EntryForm& form) {
    const records::Options options = records::Rdopts();
    const ProgramDate program_date = ReadProgramDate();

    const std::string account = Pakwrd(form.Field(1), 8);
    const std::string symbol = Pakwrd(form.Field(2), 12);
    std::string code = Pakwrd(form.Field(3), 4);
    std::string transfer_date = Pakwrd(form.Field(4), 8);
    std::string record_date = Pakwrd(form.Field(5), 8);
    const std::string tax_lot = Pakwrd(form.Field(6), 4);
    const std::string broker = Pakwrd(form.Field(7), 8);
    std::string purchase_date = Pakwrd(form.Field(8), 8);
    const std::string type = Pakwrd(form.Field(9), 4);

    FoundAccount found;
    Fndact(account, found);
    if (found.entry == 0) form.Reject(1, kInvalidAccount);
    int16_t security_record = 0;
    Fndsec(symbol, security_record);
    if (security_record == 0) form.Reject(2, kInvalidSecurity);
    {
        int16_t direction = 0, sign = 0, state = 0, flag = 0;
        Ckcodt(code, direction, sign, state, flag);
        if (flag != 0) form.Reject(3, kInvalidCode);
    }
    float transfer_number = 0, record_number = 0, purchase_number = 0;
    CheckDate(form, 4, transfer_date, transfer_number, OpeningDateNumber(found), program_date.number,
              kInvalidTransferDate);
    if (!records::IsBlank(record_date))
        CheckDate(form, 5, record_date, record_number, 0.0f, kLatestDate, kInvalidRecordDate);
    if (records::Chktax(code, tax_lot) != 0) form.Reject(6, kTransferLot);
    const bool withdrawal = code == "SO  ";
    if (!withdrawal)
        CheckDate(form, 8, purchase_date, purchase_number, 0.0f, kLatestDate, kInvalidPurchaseDate);
    if (mode != PostingMode::kAdd && records::Chktax(code, tax_lot) != 0) form.Reject(9, kTaxLotSold);
    double shares = 0, amount = 0, cost = 0;
    CheckNumber(form, 10, shares);
    CheckNumber(form, 11, amount);
    CheckNumber(form, 12, cost);
    if (form.Rejected(1, kEntryFieldCount)) return;

    records::TransactionRecord stored;
    if (mode != PostingMode::kAdd && !ReadStoredTransaction(account, record, stored)) {
        form.Reject(9, kRecordNotInUse);
        return;
    }

    SecurityMaster master;
    ReadSecurityMaster(security_record, master);

    // A withdrawal relieves a lot of the stored holdings at that lot's
    // date and cost.
    std::string lot_date = purchase_date;
    double lot_cost = cost;
    if (withdrawal) {
        if (const auto lot = records::Getco(account, symbol, tax_lot)) {
            lot_date = lot->open_date;
            lot_cost = lot->cost;
        }
    }

    records::TransactionRecord t;
    t.symbol = symbol;
    t.tax_lot = tax_lot;
    t.trade_date = transfer_date;
    t.code = code;
    t.quantity = shares;
    t.price = 0;
    t.amount = amount;
    t.broker = broker;
    t.commission = 0;
    t.bond_interest = 0;
    t.lot_date = lot_date;
    t.lot_cost = lot_cost;
    t.date_number = transfer_number;
    t.holding_key = master.HoldingKey();
    t.security_record = security_record;
    t.type = type;
    t.gain_record = 0;
    t.SetTransferExtra();

    // A damaged value history would take the transfer's figures into years
    // without end: the posting is refused before anything is filed.
    const auto year_of = [](const records::TransactionRecord& tr) {
        return static_cast<int16_t>(records::SplitDateNumber(static_cast<long>(tr.date_number)).year);
    };
    if ((mode != PostingMode::kAdd && HistoryDamaged(account, year_of(stored))) ||
        (mode != PostingMode::kDelete && HistoryDamaged(account, year_of(t)))) {
        form.Reject(9, kNotFiled);
        return;
    }

    if (!FileAndRebuild(account, mode, record, t, record_date, options, form)) return;

    // The history: the stored transfer out, the new one in.
    if (mode != PostingMode::kAdd) AddToHistory(account, stored, true);
    if (mode != PostingMode::kDelete) AddToHistory(account, t, false);
}

}  // namespace engine
