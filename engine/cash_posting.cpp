#include "engine/cash_posting.h"

#include <array>

#include "engine/value_history.h"
#include "records/account_records.h"
#include "records/codes.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/rounding.h"

namespace engine {

namespace {

using records::Record;

constexpr std::size_t kLength = records::kAccountRecordLength;

// Option 20: fees (MF, BC) count as capital flows only by their type.

// The cash lot's security record number, as the replay creates it.
constexpr int16_t kCashSecurityRecord = 2;
const std::string kCashSymbol = "CASH        ";

// No quantity and no price on a cash transaction.
constexpr double kNoQuantity = -99999.99;
constexpr float kNoPrice = -999.99f;

struct CashCodeEntry {
    std::string_view letters;
    int16_t sign;
    int16_t cash_direction;
    bool refused;  // not a code of the Cash dialog
};

constexpr std::array<CashCodeEntry, 22> kCashCodes = {{
    {"B ", -1, 0, true},   {"S ", 1, 0, true},    {"SS", 1, 0, true},  {"CS", -1, 0, true},
    {"FI", 1, 1, false},   {"FO", -1, -1, false}, {"SI", 0, 1, true},  {"SO", 0, -1, true},
    {"DI", 1, 0, false},   {"DE", -1, 0, false},  {"II", 1, 0, false}, {"IE", -1, 0, false},
    {"MF", -1, -1, false}, {"BC", -1, -1, false}, {"MI", 1, 0, false}, {"ME", -1, 0, false},
    {"AI", 1, 0, false},   {"AO", -1, 0, false},  {" B", -1, 0, true}, {" S", 1, 0, true},
    {"IP", -1, 0, false},  {"IS", 1, 0, false},
}};

bool IsFee(std::string_view code) {
    const std::string letters = records::Fixed(code, 2);
    return letters == "MF" || letters == "BC";
}

std::string HistoryName(std::string_view account) {
    return records::Paknam(account, "HL", ".DAT");
}

// One cash movement as posting applies it: a transaction's code, type,
// amount and the month and year of its date.
struct Movement {
    std::string code;
    std::string type;
    double amount = 0;
    int16_t month = 0;
    int16_t year = 0;  // as the date number holds it (100 + YY below 51)
};

Movement MovementOf(const records::TransactionRecord& t) {
    Movement m;
    m.code = t.code;
    m.type = t.type;
    m.amount = t.amount;
    const records::DateNumberParts parts = records::SplitDateNumber(static_cast<long>(t.date_number));
    m.year = static_cast<int16_t>(parts.year);
    m.month = static_cast<int16_t>(parts.month);
    return m;
}

bool IsTypeN(std::string_view type) {
    return records::Fixed(type, 4) == "N   ";
}

// The value and flow of a movement; a movement taken back out counts
// negated.
void Amounts(const Movement& m, bool reverse, double& value, double& flow) {
    std::string code = records::Fixed(m.code, 2);
    int16_t direction = 0, sign = 0, state = 0, flag = 0;
    Ckcodc(code, direction, sign, state, flag);
    if (reverse) {
        direction = static_cast<int16_t>(-direction);
        sign = static_cast<int16_t>(-sign);
    }
    flow = direction * m.amount;
    value = sign * m.amount;
}

// Applies the movement to the cash lot image (unless its type is "N").
bool ApplyToCashLot(HoldingsImage& holdings, std::string_view account, const Movement& m, bool reverse,
                    EntryForm& form) {
    if (IsTypeN(m.type)) return true;
    double value = 0, flow = 0;
    Amounts(m, reverse, value, flow);
    int16_t cls = 0, sign = 0, transfer = 0, not_found = 0;
    records::Code(records::Fixed(m.code, 4), cls, sign, transfer, 1, not_found);
    int16_t flag = 0;
    std::string message;
    Updcsl(holdings, account, cls, 1, transfer, value, flag, message);
    if (flag == 0) return true;
    form.Reject(9, message);
    return false;
}

bool ApplyToHistory(std::string_view account, const Movement& m, bool reverse,
                    const records::Options& options) {
    double value = 0, flow = 0;
    Amounts(m, reverse, value, flow);
    return Updcsh(account, m.month, m.year, value, flow, value, 1, m.type, options, m.code);
}

}  // namespace

// ---- Codes

void Ckcodc(std::string& code, int16_t& cash_direction, int16_t& sign, int16_t& state, int16_t& flag) {
    if (state == 3) return;
    const std::string letters = records::Fixed(code, 2);
    for (const CashCodeEntry& e : kCashCodes) {
        if (letters != e.letters) continue;
        code = letters + "  ";
        sign = e.sign;
        cash_direction = e.cash_direction;
        if (e.refused) state = flag = 1;
        return;
    }
    state = flag = 1;
}

bool IsIncomeCode(std::string_view code) {
    const std::string letters = records::Fixed(code, 2);
    for (std::string_view c : {"DI", "DE", "II", "IE", "IP", "IS"})
        if (letters == c) return true;
    return false;
}

bool IsCashCode(std::string_view code) {
    const std::string letters = records::Fixed(code, 2);
    for (const CashCodeEntry& e : kCashCodes)
        if (!e.refused && letters == e.letters) return true;
    return false;
}

void Fndsc2(std::string_view symbol, int16_t& record, SecurityMaster& master) {
    Fndsec(symbol, record);
    if (record > 0) ReadSecurityMaster(record, master);
}

// ---- The value history

bool Updcsh(std::string_view account, int16_t month, int16_t year, double value, double flow, double carried,
            int16_t value_switch, std::string_view type, const records::Options& options,
            std::string_view code) {
    if (month < 1 || month > 12) return true;
    // Leave a history that is not there alone: opening it would create it.
    {
        const records::DirectFile file(HistoryName(account), kLength, false);
        Record head;
        if (!file.Read(1, head)) return true;
    }
    const bool income = IsIncomeCode(code);
    const double income_amount = carried;
    const bool fee_rule = records::OptionOn(options, records::Opt::kFeesAsExpense) && IsFee(code);
    if (IsTypeN(type)) {
        value = 0;
        if (!fee_rule) flow -= carried;
        carried = 0;
    }
    if (fee_rule) {
        const std::string t = records::Fixed(type, 4);
        flow = (t == "    " || t == "A   ") ? 0.0 : -flow;
    }
    if (!Hladja(account, month, year, value, flow, carried, value_switch)) return false;
    if (!income || income_amount == 0) return true;

    // The income of the month, in the transaction's year.
    records::DirectFile file(HistoryName(account), kLength, false);
    Record rec;
    if (!file.Read(1, rec)) return true;
    const ValueHistoryHeader header = ValueHistoryHeader::Decode(rec);
    const int16_t y = HistoryYear(year);
    if (!header.Holds(y)) return true;
    const long n = header.YearRecord(y) + kIncomeSeries;
    if (!file.Read(n, rec)) return true;
    ValueHistoryYear incomes = ValueHistoryYear::Decode(rec);
    if (incomes.year != y) return true;
    incomes.values[static_cast<std::size_t>(month - 1)] += income_amount;
    incomes.Encode(rec);
    file.Write(n, rec);
    return true;
}

// ---- The cash lot

HoldingsImage HoldingsImage::Load(std::string_view account) {
    HoldingsImage image;
    image.records.emplace_back();
    const records::DirectFile file(records::Paknam(account, "HL", ".REC"), kLength, false);
    const long count = file.Count();
    Record rec;
    for (long n = 1; n <= count && file.Read(n, rec); ++n) image.records.push_back(rec);
    return image;
}

std::vector<unsigned char> HoldingsImage::Bytes() const {
    std::vector<unsigned char> bytes;
    for (std::size_t n = 1; n < records.size(); ++n) {
        Record rec = records[n];
        rec.bytes().resize(kLength, 0);
        bytes.insert(bytes.end(), rec.bytes().begin(), rec.bytes().end());
    }
    return bytes;
}

void Updcsl(HoldingsImage& holdings, std::string_view account, int16_t cls, int16_t sign, int16_t transfer,
            double value, int16_t& flag, std::string& message) {
    if (transfer > 0) return;
    auto fail = [&](int number) {
        flag = 1;
        message =
            records::Fixed(records::Write("('*** Warning, system error no.',2I3,' ***')",
                                          {static_cast<long long>(number), static_cast<long long>(cls)}),
                           kEntryMessageWidth);
    };
    // Only the cash classes reach the cash lot; a short sale's lot (class
    // 1) is the replay's business.
    if (cls < 2 || cls > 6) return fail(1);

    std::vector<Record> image = holdings.records;
    auto readable = [&](long n) { return n >= 2 && n < static_cast<long>(image.size()); };
    records::HoldingsHeader header;
    if (image.size() > 1) header = records::HoldingsHeader::Decode(image[1]);
    if (image.size() <= 1 || header.IsEmpty()) {
        // An empty list: a new header for the account (the label as the
        // rebuild writes it), keeping the record and free-chain counts of a
        // header that was there.
        if (image.size() <= 1) {
            header.label = std::string(8, '\0');
            image.resize(2, Record(kLength, 0));
        }
        header.account = records::Fixed(account, 8);
    }

    double amount = value;
    records::Drnd2(amount);

    // Walk the list for the cash lot; it comes first in key order.
    long previous = 0;
    long link = header.first_lot;
    for (std::size_t steps = 0; link != -1; ++steps) {
        if (!readable(link) || steps >= image.size() || records::DeletedLot::Is(image[link])) return fail(2);
        const records::HoldingRecord lot = records::HoldingRecord::Decode(image[link]);
        if (lot.holding_key == 0 && lot.symbol == kCashSymbol) {
            records::HoldingRecord cash = lot;
            double balance = cash.cost;
            records::Drnd2(balance);
            balance += sign * amount;
            records::Drnd2(balance);
            cash.quantity = balance;
            cash.cost = balance;
            cash.Encode(image[link]);
            holdings.records = std::move(image);
            holdings.changed = true;
            return;
        }
        if (lot.holding_key > 0) break;
        previous = link;
        link = lot.next;
    }

    // No cash lot: take a record from the free chain, or the next one never
    // used, and link the new lot in before the lot the walk stopped at.
    const long n = header.next_free;
    if (n < 2) return fail(3);
    if (n <= header.records_in_use) {
        if (!readable(n) || !records::DeletedLot::Is(image[n])) return fail(3);
        header.next_free = records::DeletedLot::Decode(image[n]).next_free;
    } else {
        if (header.next_free == INT16_MAX) return fail(3);
        header.records_in_use = static_cast<int16_t>(header.records_in_use + 1);
        header.next_free = static_cast<int16_t>(header.next_free + 1);
    }
    if (static_cast<long>(image.size()) <= n)
        image.resize(static_cast<std::size_t>(n) + 1, Record(kLength, 0));

    records::HoldingRecord cash;
    cash.next = static_cast<int16_t>(link);
    cash.holding_key = 0;
    cash.symbol = kCashSymbol;
    cash.security_record = kCashSecurityRecord;
    double balance = sign * amount;
    records::Drnd2(balance);
    cash.quantity = balance;
    cash.cost = balance;
    cash.Encode(image[n]);
    if (previous == 0) {
        header.first_lot = static_cast<int16_t>(n);
    } else {
        records::HoldingRecord before = records::HoldingRecord::Decode(image[previous]);
        before.next = static_cast<int16_t>(n);
        before.Encode(image[previous]);
    }
    header.Encode(image[1]);
    holdings.records = std::move(image);
    holdings.changed = true;
}

// ---- Fcash

void Fcash(PostingMode mode, int32_t& record, EntryForm& form) {
    const records::Options options = records::Rdopts();
    const ProgramDate program_date = ReadProgramDate();

    const std::string account = Pakwrd(form.Field(1), 8);
    std::string code = Pakwrd(form.Field(3), 2) + "  ";
    std::string date = Pakwrd(form.Field(4), 8);
    const std::string money_market = Pakwrd(form.Field(5), 12);
    const std::string text = Pakwrd(form.Field(7), 20);
    const std::string type = Pakwrd(form.Field(9), 4);

    FoundAccount found;
    Fndact(account, found);
    if (found.entry == 0) form.Reject(1, kInvalidAccount);

    // An income item names the security that paid it; everything else, and
    // an income item whose security is unknown, is filed under "CASH".
    SecurityMaster shared;
    std::string symbol = text.substr(0, 12);
    int16_t security_record = 1;
    if (IsIncomeCode(code)) Fndsc2(symbol, security_record, shared);
    if (security_record <= 1) symbol = kCashSymbol;

    if (!IsCashCode(code)) form.Reject(3, kInvalidCode);

    float date_number = 0;
    CheckDate(form, 4, date, date_number, OpeningDateNumber(found), program_date.number);
    {
        int16_t unused = 0;
        Fndsc2(money_market, unused, shared);
    }
    double amount = 0;
    CheckNumber(form, 6, amount);
    if (form.Rejected(1, kEntryFieldCount)) return;

    // A change or a deletion takes the stored cash transaction back out.
    records::TransactionRecord stored;
    if (mode != PostingMode::kAdd) {
        if (!ReadStoredTransaction(account, record, stored)) {
            form.Reject(9, kRecordNotInUse);
            return;
        }
        if (!IsCashCode(stored.code) || stored.code.compare(2, 2, "  ") != 0) {
            form.Reject(9, kNotCashTransaction);
            return;
        }
    }
    Movement posted;
    {
        int16_t direction = 0, sign = 0, state = 0, flag = 0;
        Ckcodc(code, direction, sign, state, flag);
    }
    posted.code = code;
    posted.type = type;
    posted.amount = amount;
    const records::DateNumberParts parts = records::SplitDateNumber(static_cast<long>(date_number));
    posted.year = static_cast<int16_t>(parts.year);
    posted.month = static_cast<int16_t>(parts.month);
    const Movement old = MovementOf(stored);

    // The cash lot first, in memory: a damaged holdings file refuses the
    // posting before anything is written.
    HoldingsImage holdings = HoldingsImage::Load(account);
    if (mode != PostingMode::kAdd && !ApplyToCashLot(holdings, account, old, true, form)) return;
    if (mode != PostingMode::kDelete && !ApplyToCashLot(holdings, account, posted, false, form)) return;

    // The transaction record.
    ReadSecurityMaster(security_record, shared);
    records::TransactionRecord t;
    t.symbol = symbol;
    t.tax_lot = "    ";
    t.trade_date = date;
    t.code = code;
    t.quantity = kNoQuantity;
    t.price = kNoPrice;
    t.amount = amount;
    t.broker = std::string(8, ' ');
    t.commission = 0;
    t.bond_interest = 0;
    t.lot_date = std::string(8, ' ');
    t.lot_cost = 0;
    t.date_number = date_number;
    t.holding_key = shared.HoldingKey();
    t.security_record = security_record;
    t.type = type;
    t.gain_record = 0;
    t.SetCashText(text);

    // Write the transaction, the history and the cash lot; when a write
    // fails, put back every file already written.
    const bool with_extension = ExtensionFileWanted(options);
    FileSnapshots snapshots;
    KeepTransactionFiles(snapshots, account, with_extension);
    snapshots.Keep(HistoryName(account));
    snapshots.Keep(records::Paknam(account, "HL", ".REC"));
    const int32_t given_record = record;
    bool ok = FileTransaction(account, mode, record, t, std::string(8, '\0'), with_extension, false);
    if (ok) {
        // A damaged history refuses the posting as a failed write does.
        if (mode != PostingMode::kAdd) ok = ApplyToHistory(account, old, true, options);
        if (ok && mode != PostingMode::kDelete) ok = ApplyToHistory(account, posted, false, options);
    }
    if (ok) {
        if (holdings.changed)
            ok = records::ReplaceFile(records::Paknam(account, "HL", ".REC"), holdings.Bytes());
    }
    if (!ok) {
        snapshots.Restore();
        record = given_record;
        form.Reject(9, kNotFiled);
    }
}

}  // namespace engine
