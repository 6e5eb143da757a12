#include "engine/trade_posting.h"

#include <array>
#include <cmath>

#include "engine/lot_lists.h"
#include "records/account_records.h"
#include "records/codes.h"
#include "records/common_file.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/rounding.h"
#include "records/security_types.h"

namespace engine {

namespace {

// The "no lot cost" marker, a single-precision constant widened.
const double kNoLotCost = static_cast<double>(-99999.99f);

// Option 77: how prices are rounded (1 to the system decimals, 2 to 8).

struct CodeEntry {
    std::string_view letters;
    int16_t sign;
    int16_t cash_direction;
};

// The trade code table, in the order the code check searches it.
constexpr std::array<CodeEntry, 19> kTradeCodes = {{
    {"B ", -1, 0}, {"S ", 1, 0},  {"SS", 1, 0},  {"CS", -1, 0}, {"FI", 1, 1},  {"FO", -1, -1}, {"SI", 0, 1},
    {"SO", 0, -1}, {"DI", 1, 0},  {"DE", -1, 0}, {"II", 1, 0},  {"IE", -1, 0}, {"MF", -1, 0},  {"BC", -1, 0},
    {"MI", 1, 0},  {"ME", -1, 0}, {"AI", 1, 0},  {"AO", -1, 0}, {"SP", -1, 0},
}};

bool IsCode(const std::string& code, std::string_view letters) {
    return code.compare(0, 2, letters) == 0;
}

}  // namespace

// ---- Codes and lots

void Ckcode(std::string& code, int16_t mode_flag, int16_t& cash_direction, int16_t& sign, int16_t& flag) {
    const std::string letters = records::Fixed(code, 2);
    for (std::size_t i = 0; i < kTradeCodes.size(); ++i) {
        if (letters != kTradeCodes[i].letters) continue;
        code = letters + "  ";
        sign = kTradeCodes[i].sign;
        cash_direction = kTradeCodes[i].cash_direction;
        const bool trade = i < 4 || i == 18;     // B, S, SS, CS, SP
        const bool transfer = i == 6 || i == 7;  // SI, SO
        if (transfer || (!trade && mode_flag < 1)) flag = 1;
        return;
    }
    flag = 1;
}

void Lotdat(std::string_view tax_lot, std::string& lot_date) {
    const std::string want = records::Fixed(tax_lot, 4);
    for (const LotListEntry& lot : LastLotList())
        if (lot.tax_lot == want) {
            lot_date = lot.open_date;
            return;
        }
}

void Drnd8(double& value) {
    records::RoundToDecimals(value, 8);
}

// ---- Fbuysell

namespace {

// The numbers of a trade form, fields 10 to 18.
struct TradeNumbers {
    double shares = 0;
    float price = 0;
    double currency_rate = 0;
    float local_price = 0;
    double bond_interest = 0;
    double per_share = 0;
    double commission = 0;
    double fee = 0;
    double misc = 0;
};

// The scale of a quantity by the security's type index: bonds and other
// securities priced per 100 of face value count in hundreds, type R (and
// an unknown type) in hundredths.
double QuantityScale(int16_t index) {
    switch (index) {
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 12:
        case 14:
        case 16:
        case 33:
        case 34:
        case 35:
            return 0.01;
        case 28:
            return 100.0;
        default:
            return 1.0;
    }
}

bool FeeComputedFor(int16_t index) {
    return index == 18 || index == 24 || index == 26 || index == 28;
}

void RoundPrice(float& price) {
    double p = price;
    records::Drndn(p);
    price = static_cast<float>(p);
}

}  // namespace

void Fbuysell(PostingMode mode, int32_t& record, EntryForm& form) {
    const records::Options options = records::Rdopts();

    std::string account = Pakwrd(form.Field(1), 8);
    std::string symbol = Pakwrd(form.Field(2), 12);
    std::string code = Pakwrd(form.Field(3), 4);
    std::string tax_lot = Pakwrd(form.Field(4), 4);
    std::string trade_date = Pakwrd(form.Field(5), 8);
    std::string settlement = Pakwrd(form.Field(6), 8);
    std::string money_market = Pakwrd(form.Field(7), 12);
    std::string broker = Pakwrd(form.Field(8), 8);
    std::string type = Pakwrd(form.Field(9), 4);

    // Account, security, code and tax lot.
    FoundAccount found;
    Fndact(account, found);
    if (found.entry == 0) form.Reject(1, kInvalidAccount);
    int16_t security_record = 0;
    Fndsec(symbol, security_record);
    if (security_record == 0) form.Reject(2, kInvalidSecurity);
    int16_t cash_direction = 0, sign = 0, code_flag = 0;
    Ckcode(code, 0, cash_direction, sign, code_flag);
    if (code_flag != 0) form.Reject(3, kInvalidCode);
    const int16_t lot_check = records::Chktax(code, tax_lot);
    if (lot_check == 1) form.Reject(4, kBuySellLot);
    if (lot_check == 2) form.Reject(4, kShortCoverLot);

    // Dates: the trade date from the account's opening on, the settlement
    // date only when one was typed.
    float trade_number = 0, settlement_number = 0;
    CheckDate(form, 5, trade_date, trade_number, OpeningDateNumber(found), kLatestDate);
    if (!records::IsBlank(settlement)) CheckDate(form, 6, settlement, settlement_number, 0.0f, kLatestDate);

    if (!records::IsBlank(money_market)) {
        int16_t money_record = 0;
        Fndsec(money_market, money_record);
        if (money_record == 0) form.Reject(7, kInvalidMoneyMarket);
    }

    SecurityMaster master;
    ReadSecurityMaster(security_record, master);

    TradeNumbers v;
    CheckNumber(form, 10, v.shares);
    CheckNumber(form, 11, v.price);
    CheckNumber(form, 12, v.currency_rate);
    CheckNumber(form, 13, v.local_price);
    CheckNumber(form, 14, v.bond_interest);
    CheckNumber(form, 15, v.per_share);
    CheckNumber(form, 16, v.commission);
    CheckNumber(form, 17, v.fee);
    CheckNumber(form, 18, v.misc);
    if (v.per_share != 0 && v.commission != 0) form.Reject(15, kEitherCommission);

    if (form.Rejected(1, kEntryFieldCount)) return;

    records::TransactionRecord stored;
    if (mode != PostingMode::kAdd && !ReadStoredTransaction(account, record, stored)) {
        form.Reject(9, kRecordNotInUse);
        return;
    }

    // The values to file.
    if (v.per_share != 0 && v.commission == 0) v.commission = v.shares * v.per_share;
    const int16_t index = records::Itypsc(master.type);
    double quantity = v.shares * QuantityScale(index);
    if (index == 2 || index == 29) v.price = 1.0f;
    if (index == 5) v.price = 100.0f;
    if (records::OptionValue(options, records::Opt::kTradePriceRounding) == 1)
        RoundPrice(v.price);
    else if (records::OptionValue(options, records::Opt::kTradePriceRounding) == 2) {
        double p = v.price;
        Drnd8(p);
        v.price = static_cast<float>(p);
    }
    // The SEC fee of a sale of the types that carry one is computed from the
    // sale when a fee was asked for; every other entered fee stands.
    if (v.fee > 0 && (code == "S   " || code == "SS  ") && FeeComputedFor(index)) {
        const double divisor = index == 28 ? 300.0 : 30000.0;
        v.fee = std::fabs(v.shares) / divisor * static_cast<double>(v.price) + static_cast<double>(0.005f);
        records::Drnd2(v.fee);
    }
    records::Drndn(quantity);
    RoundPrice(v.price);
    records::Drndn(v.commission);
    records::Drndn(v.fee);
    records::Drndn(v.misc);
    // A buy files its cost, a sale its net proceeds.
    const double s = -sign;
    double amount = static_cast<double>(v.price) * quantity + s * v.commission + s * v.misc - v.fee;
    records::Drnd2(amount);

    std::string lot_date(8, ' ');
    double lot_cost = kNoLotCost;
    if (IsCode(code, "B ") || IsCode(code, "SP") || IsCode(code, "CS") || mode == PostingMode::kDelete) {
        lot_date = trade_date;
        lot_cost = amount;
    }
    if (IsCode(code, "S ") || IsCode(code, "CS")) Lotdat(tax_lot, lot_date);

    records::TransactionRecord t;
    t.symbol = symbol;
    t.tax_lot = tax_lot;
    t.trade_date = trade_date;
    t.code = code;
    t.quantity = v.shares;
    t.price = v.price;
    t.amount = amount;
    t.broker = broker;
    t.commission = v.commission;
    t.bond_interest = v.bond_interest;
    t.lot_date = lot_date;
    t.lot_cost = lot_cost;
    t.date_number = trade_number;
    t.holding_key = master.HoldingKey();
    t.security_record = security_record;
    t.type = type;
    t.gain_record = 0;
    t.SetTradeExtra(settlement, v.fee);

    // File the trade and rebuild; on any failure every file goes back.
    FileAndRebuild(account, mode, record, t, settlement, options, form);
}

}  // namespace engine
