#include "engine/trade_posting.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <type_traits>

#include "engine/lot_lists.h"
#include "engine/rebuild.h"
#include "engine/replay.h"
#include "records/codes.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/rounding.h"
#include "records/security_types.h"

namespace engine {

namespace {

using records::Record;

constexpr std::size_t kLength = records::kAccountRecordLength;

// The latest date a trade, settlement or purchase date may carry:
// 12/31/2099 in the windowed form.
constexpr float kLatestDate = 1991231.0f;

// The "no lot cost" marker, a single-precision constant widened.
const double kNoLotCost = static_cast<double>(-99999.99f);

// Option 77: how prices are rounded (1 to the system decimals, 2 to 8).
constexpr std::size_t kPriceRoundingOption = 76;

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

// Scans an index file (count in record 1, keys from record 2) for the key;
// deleted entries never match. 0 when absent or unreadable.
int ScanIndexFile(const char* name, std::string_view key, std::size_t width, int per_record) {
    const records::DirectFile file(name, kLength, false);
    Record rec;
    if (!file.Read(1, rec)) return 0;
    const int count = rec.I16(0);
    const std::string want = records::Fixed(key, width);
    for (int first = 1; first <= count; first += per_record) {
        if (!file.Read(2 + (first - 1) / per_record, rec)) return 0;
        for (int i = 0; i < per_record && first + i <= count; ++i) {
            const std::string k = rec.Text(static_cast<std::size_t>(i) * width, width);
            if (records::IsDeletedKey(k)) continue;
            if (k == want) return first + i;
        }
    }
    return 0;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

std::vector<unsigned char> FileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return bytes;
    unsigned char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

bool IsCode(const std::string& code, std::string_view letters) {
    return code.compare(0, 2, letters) == 0;
}

}  // namespace

// ---- Look-ups

void Fndact(std::string_view account, FoundAccount& found) {
    found = FoundAccount{};
    const int k = ScanIndexFile(records::kAccountIndex, account, records::kAccountKeyWidth,
                                records::kAccountKeysPerRecord);
    if (k == 0) return;
    found.entry = static_cast<int16_t>(k + 1);
    const records::DirectFile file(records::kAccountRecords, kLength, false);
    Record rec;
    const long base = records::AccountBaseRecord(k);
    if (file.Read(base + 1, rec)) {
        found.name = rec.Text(52, 32);
        found.opened = rec.Text(120, 8);
    }
    if (file.Read(base + 2, rec)) found.broker = rec.Text(72, 8);
    if (file.Read(base + 5, rec)) found.words = rec.Text(60, 12);
}

void Fndsec(std::string_view symbol, int16_t& record) {
    record = static_cast<int16_t>(ScanIndexFile(records::kSecurityIndex, symbol, records::kSecurityKeyWidth,
                                                records::kSecurityKeysPerRecord));
}

double SecurityMaster::HoldingKey() const {
    return records::Gtprcd(type[0], subclass, date_number, symbol);
}

bool ReadSecurityMaster(int16_t record, SecurityMaster& master) {
    if (record < 1) return false;
    const records::DirectFile file(records::kSecurityRecords, kLength, false);
    Record rec;
    if (!file.Read(record, rec)) return false;
    master.symbol = rec.Text(0, 12);
    master.description1 = rec.Text(12, 32);
    master.description2 = rec.Text(44, 32);
    master.type = rec.Text(76, 4);
    master.subclass = rec.Text(80, 4);
    master.third = rec.Text(84, 4);
    master.date = rec.Text(88, 8);
    master.date_number = DateTextNumber(master.date);
    return true;
}

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
    const std::string text = records::Write("(F20.8)", {value});
    records::Read(text, "(F20.8)", {&value});
}

void Crtext(std::string_view name, int prefill) {
    records::DirectFile file(name, kLength);
    const Record blanks(kLength, ' ');
    for (int n = 1; n <= prefill; ++n) file.Write(n, blanks);
}

// ---- Shared steps

bool ExtensionFileWanted(const records::Options& options) {
    return options[kTextsOption] >= 1 || options[kLotTextsOption] >= 1;
}

ProgramDate ReadProgramDate() {
    ProgramDate date;
    const records::DirectFile file(records::kCommonFile, kLength, false);
    Record rec;
    if (!file.Read(records::kProgramDateRecord, rec)) return date;
    date.text = rec.Text(0, 8);
    date.number = rec.R4(8);
    return date;
}

float OpeningDateNumber(const FoundAccount& account) {
    return DateTextNumber(account.opened);
}

void FileSnapshots::Keep(std::string_view name) {
    const std::string path = records::ResolveName(name);
    for (const Snapshot& s : snapshots_)
        if (s.name == path) return;
    Snapshot s;
    s.name = path;
    s.existed = FileExists(path);
    if (s.existed) s.bytes = FileBytes(path);
    snapshots_.push_back(std::move(s));
}

bool FileSnapshots::Restore() const {
    bool ok = true;
    for (const Snapshot& s : snapshots_) {
        if (s.existed) {
            if (FileExists(s.name) && FileBytes(s.name) == s.bytes) continue;
            ok = records::ReplaceFile(s.name, s.bytes) && ok;
        } else if (FileExists(s.name)) {
            std::error_code ec;
            ok = std::filesystem::remove(s.name, ec) && ok;
        }
    }
    return ok;
}

bool ReadStoredTransaction(std::string_view account, int32_t record,
                           records::TransactionRecord& transaction) {
    const records::DirectFile file(records::Paknam(account, "TR", ".REC"), kLength, false);
    Record rec;
    if (!file.Read(1, rec)) return false;
    const int last = records::TransactionFileHeader::Decode(rec).last_record;
    if (record < 2 || record > last || !file.Read(record, rec)) return false;
    transaction = records::TransactionRecord::Decode(rec);
    return !transaction.IsDeleted();
}

bool FileTransaction(std::string_view account, PostingMode mode, int32_t& record,
                     const records::TransactionRecord& transaction, std::string_view extension_date,
                     bool with_extension, bool keep_tail) {
    const std::string name = records::Paknam(account, "TR", ".REC");
    std::string ext_name;
    if (with_extension) {
        ext_name = records::Paknam(account, "TR", ".EXT");
        Crtext(ext_name, 0);
    }
    records::DirectFile file(name, kLength);
    if (!file.ok()) return false;
    Record rec;
    if (mode == PostingMode::kAdd) {
        Record head;
        int32_t last = 1;
        if (file.Read(1, head))
            last = records::TransactionFileHeader::Decode(head).last_record;
        else
            head = Record(kLength, 0);
        record = last + 1;
        records::TransactionFileHeader header;
        header.last_record = static_cast<int16_t>(record);
        header.Encode(head);
        if (!file.Write(1, head)) return false;
    }
    if (record < 2) return false;

    if (mode == PostingMode::kDelete) {
        rec = Record(kLength, ' ');
    } else {
        Record old;
        const bool had = file.Read(record, old);
        rec = had ? old : Record(kLength, 0);
        transaction.Encode(rec);
        if (keep_tail && had)
            for (std::size_t b = 124; b < kLength; ++b) rec.data()[b] = old.data()[b];
        else if (keep_tail)
            for (std::size_t b = 124; b < kLength; ++b) rec.data()[b] = 0;
    }
    if (!file.Write(record, rec)) return false;

    if (with_extension) {
        records::DirectFile ext(ext_name, kLength);
        Record e;
        if (mode == PostingMode::kDelete) {
            e = Record(kLength, ' ');
        } else {
            if (!ext.Read(record, e)) e = Record(kLength, 0);
            for (std::size_t b = 0; b < 60; ++b) e.data()[b] = 0;
            const std::string date = records::Fixed(extension_date, 8);
            for (std::size_t b = 0; b < 8; ++b) e.data()[20 + b] = static_cast<unsigned char>(date[b]);
        }
        if (!ext.Write(record, e)) return false;
    }
    return true;
}

void KeepTransactionFiles(FileSnapshots& snapshots, std::string_view account, bool with_extension) {
    snapshots.Keep(records::Paknam(account, "TR", ".REC"));
    if (with_extension) snapshots.Keep(records::Paknam(account, "TR", ".EXT"));
}

void KeepHoldingsFiles(FileSnapshots& snapshots, std::string_view account) {
    snapshots.Keep(records::Paknam(account, "HL", ".REC"));
    snapshots.Keep(records::Paknam(account, "HL", ".EXT"));
    snapshots.Keep(records::Paknam(account, "GL", ".REC"));
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

template <class T>
void CheckNumber(EntryForm& form, int n, T& value) {
    if (!ReadEntryNumber(form.Field(n), value)) {
        form.Reject(n, kValueMustBeNumeric);
        return;
    }
    int16_t flag = 0;
    std::string message;
    if constexpr (std::is_same_v<T, float>)
        Cknum4(value, flag, message);
    else
        Cknum8(value, flag, message);
    if (flag != 0) form.Reject(n, message);
}

// Runs a dated check and puts its outcome on the form's field n.
void CheckDate(EntryForm& form, int n, std::string& date, float& number, float low, float high) {
    int16_t flag = 0;
    std::string message;
    Ckdatm(date, flag, number, low, high, message);
    if (flag != 0) form.Reject(n, message);
}

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
    if (options[kPriceRoundingOption] == 1)
        RoundPrice(v.price);
    else if (options[kPriceRoundingOption] == 2) {
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
    const bool with_extension = ExtensionFileWanted(options);
    FileSnapshots snapshots;
    KeepTransactionFiles(snapshots, account, with_extension);
    KeepHoldingsFiles(snapshots, account);
    const int32_t given_record = record;
    if (!FileTransaction(account, mode, record, t, settlement, with_extension, true)) {
        snapshots.Restore();
        record = given_record;
        form.Reject(9, kNotFiled);
        return;
    }
    int16_t rebuild = 0;
    Rbldhl(account, rebuild);
    if (rebuild != kReplayDone) {
        snapshots.Restore();
        record = given_record;
        form.Reject(9, rebuild == kWorkFilesFailed ? kNotFiled : kLotSold);
    }
}

}  // namespace engine
