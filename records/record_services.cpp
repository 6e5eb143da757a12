#include "records/record_services.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/rounding.h"

namespace records {

namespace {

constexpr std::size_t kRecordBytes = 128;
constexpr std::size_t kEditViewBytes = 140;
constexpr std::size_t kPriceBytes = 8;
constexpr std::size_t kMaxNameLength = 12;

// Reads record rec of the unit and checks that it holds at least n bytes.
bool ReadAtLeast(int unit, long rec, std::size_t n, Record& out) {
    Record r;
    if (!ReadRecord(unit, rec, r) || r.size() < n) return false;
    out = std::move(r);
    return true;
}

}  // namespace

bool ReadLeading(int unit, long rec, std::size_t n, std::string& out) {
    Record r;
    if (!ReadAtLeast(unit, rec, n, r)) return false;
    out.assign(reinterpret_cast<const char*>(r.data()), n);
    return true;
}

bool WriteLeading(int unit, long rec, std::string_view bytes) {
    const std::size_t length = RecordLength(unit);
    if (length == 0 || bytes.size() > length) return false;
    // Read-modify-write: the bytes after the ones given keep their stored
    // values, so a view of part of a record never clears the rest.
    Record r;
    if (!ReadRecord(unit, rec, r) || r.size() != length) r = Record(length, 0);
    std::memcpy(r.data(), bytes.data(), bytes.size());
    return WriteRecord(unit, rec, r);
}

int16_t Opnfil(int unit, int record_length, std::string_view name) {
    if (record_length < 1) return 1;
    // Names of the data directory have at most 12 characters; a longer one
    // would be cut to another file's name by the unit table, so it is
    // refused rather than opened under the wrong name.
    const std::string trimmed = TrimRight(name);
    if (trimmed.empty() || trimmed.size() > kMaxNameLength) return 1;
    OpenDirect(unit, trimmed, static_cast<std::size_t>(record_length));
    return IsOpen(unit) ? 0 : 1;
}

int16_t Clsfil(int unit) {
    if (unit < 1 || unit > kMaxUnit) return 1;
    Close(unit);
    return 0;
}

int16_t Rdrecw(int unit, long rec, std::array<int16_t, 64>& words) {
    Record r;
    if (!ReadAtLeast(unit, rec, kRecordBytes, r)) return 1;
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = r.I16(2 * i);
    return 0;
}

int16_t Rdrec(int unit, long rec, std::string& bytes) {
    return ReadLeading(unit, rec, kRecordBytes, bytes) ? 0 : 1;
}

int16_t Wrrec(int unit, long rec, std::string_view bytes) {
    return WriteLeading(unit, rec, bytes.substr(0, std::min(bytes.size(), kRecordBytes))) ? 0 : 1;
}

int16_t Rdr140(int unit, long rec, std::string& bytes) {
    return ReadLeading(unit, rec, kEditViewBytes, bytes) ? 0 : 1;
}

int16_t Wrr140(int unit, long rec, std::string_view bytes) {
    return WriteLeading(unit, rec, bytes.substr(0, std::min(bytes.size(), kEditViewBytes))) ? 0 : 1;
}

int16_t Rdprc(int unit, long rec, double& price) {
    Record r;
    if (!ReadAtLeast(unit, rec, kPriceBytes, r)) return 1;
    // Prices are kept to 6 decimals: the value a report prints is the value
    // the dialog shows and compares. One that cannot be rounded is given
    // as it is stored.
    price = r.R8(0);
    return RoundStoredPrice(price) ? 0 : 2;
}

int16_t Wrprc(int unit, long rec, double price) {
    Record r(kPriceBytes);
    r.SetR8(0, price);
    return WriteLeading(unit, rec, std::string_view(reinterpret_cast<const char*>(r.data()), kPriceBytes))
               ? 0
               : 1;
}

// ---- Transaction list

namespace {

// The fields of a transaction that the list shows, whichever source it
// comes from.
struct ListedTransaction {
    std::string account = std::string(8, ' ');
    std::string symbol;
    std::string tax_lot;
    std::string date;
    std::string code;
    double quantity = 0;
    float price = 0;
    double amount = 0;
    std::string broker;
    double commission = 0;
    double bond_interest = 0;
    double lot_cost = 0;
    float date_number = 0;
    std::string mark;    // the transaction type word
    int16_t flag = 0;    // block and off-line layouts: the 16-bit word before the mark
    std::string source;  // the symbol of an income's source
};

// The fields that every layout holds in the order of an account's
// transaction record.
void TakeTransactionFields(const TransactionRecord& tr, ListedTransaction& t) {
    t.symbol = tr.symbol;
    t.tax_lot = tr.tax_lot;
    t.date = tr.trade_date;
    t.code = tr.code;
    t.quantity = tr.quantity;
    t.price = tr.price;
    t.amount = tr.amount;
    t.broker = tr.broker;
    t.commission = tr.commission;
    t.bond_interest = tr.bond_interest;
    t.lot_cost = tr.lot_cost;
    t.date_number = tr.date_number;
}

// The block trade and off-line records carry the account identifier in
// their first 8 bytes and the transaction's fields after it, in the order
// of an account's transaction record up to the security record number;
// then a 16-bit word, the 4-character type word and the 20-character text
// whose first 12 characters name an income's source. The list reads the
// first 136 bytes.
constexpr std::size_t kAccountPrefixBytes = 8;
constexpr std::size_t kAccountPrefixedViewBytes = kAccountPrefixBytes + kRecordBytes;

bool ReadListed(int layout, long rec, ListedTransaction& t) {
    Record r;
    if (layout == kAccountLayout) {
        if (!ReadAtLeast(kTransactionListUnit, rec, kRecordBytes, r)) return false;
        const TransactionRecord tr = TransactionRecord::Decode(r);
        TakeTransactionFields(tr, t);
        t.mark = tr.type;
        t.flag = tr.gain_record;
        t.source = tr.SourceSymbol();
        return true;
    }
    if (layout != kBlockLayout && layout != kOfflineLayout) return false;
    if (!ReadAtLeast(kTransactionListUnit, rec, kAccountPrefixedViewBytes, r)) return false;
    t.account = r.Text(0, kAccountPrefixBytes);
    // The transaction's fields as an account's record holds them, 8 bytes on.
    Record shifted(kRecordBytes);
    std::memcpy(shifted.data(), r.data() + kAccountPrefixBytes, kRecordBytes);
    TakeTransactionFields(TransactionRecord::Decode(shifted), t);
    t.flag = r.I16(110);
    t.mark = r.Text(112, 4);
    t.source = r.Text(116, 12);
    return true;
}

// Income transactions are listed under the security that paid them, whose
// symbol the record carries in its text field. The loader and the line
// formatter use the same set, so a transaction selected by security shows
// that security's symbol.
bool IsIncomeCode(std::string_view code) {
    static constexpr std::string_view kIncome[] = {"DI  ", "DE  ", "II  ", "IE  ",
                                                   "IP  ", "IS  ", "MI  ", "ME  "};
    for (std::string_view c : kIncome)
        if (code == c) return true;
    return false;
}

// A text word is tested for blanks by comparing it, read as a 4-byte float,
// with four blanks read the same way; a word that compares below (the zero
// bytes of a record never written, for instance) stands for blanks.
std::string WordOrBlanks(std::string_view word) {
    Record w(4);
    std::memcpy(w.data(), word.data(), 4);
    Record b(4, ' ');
    return w.R4(0) < b.R4(0) ? std::string(4, ' ') : std::string(word.substr(0, 4));
}

std::string WordsOrBlanks(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) out += WordOrBlanks(text.substr(i, 4));
    return out;
}

double SystemRounded(double value) {
    Drndn(value);
    return value;
}

constexpr double kNoValue = -99999.99;

// The 85 columns of a list line: number, symbol, code, mark, lot, date,
// quantity, price, commission, net amount and broker (or account).
constexpr std::string_view kListLineLayout = "(I5,A1,3A4,A2,A1,A1,A1,A4,2A4,A1,A11,A10,A8,A11,A1,2A4)";

}  // namespace

void Ldtrns(std::vector<int16_t>& list, int16_t& count, float from_date, int16_t& pages,
            std::string_view symbol, std::string_view code, int16_t& overflow, int16_t& total, int layout) {
    list.clear();
    count = 0;
    pages = 0;
    overflow = 0;
    total = 0;
    Record first;
    if (!ReadAtLeast(kTransactionListUnit, 1, 2, first)) return;
    const int16_t last = first.I16(0);
    total = last;
    if (last < 2) return;

    const std::string wanted = Fixed(symbol, 12);
    const bool by_security = Fixed(code, 4) == "S   ";
    // Sorted by date number, then by record number: the date alone ties for
    // every transaction of one day, and the record order keeps them in the
    // order they were filed. A date that is not a number sorts last.
    std::vector<std::pair<double, int16_t>> taken;
    for (int r = 2; r <= last; ++r) {
        ListedTransaction t;
        if (!ReadListed(layout, r, t)) break;  // a short file: list what was read
        if (layout == kAccountLayout) {
            if (by_security) {
                const std::string& s = IsIncomeCode(t.code) ? t.source : t.symbol;
                if (s != wanted) continue;
            } else {
                if (t.symbol.compare(0, 4, "    ") == 0) continue;
                if (t.date_number < from_date) continue;
            }
        }
        if (static_cast<int>(taken.size()) + 1 > kTransactionListLimit) {
            overflow = -1;
            total = static_cast<int16_t>(taken.size() + 1);
            pages = -9999;
            count = 0;
            return;
        }
        const double date = std::isnan(t.date_number) ? HUGE_VAL : static_cast<double>(t.date_number);
        taken.emplace_back(date, static_cast<int16_t>(r - 1));
    }
    std::sort(taken.begin(), taken.end());
    list.reserve(taken.size());
    for (const auto& entry : taken) list.push_back(entry.second);
    count = static_cast<int16_t>(list.size());
    pages = static_cast<int16_t>((count + 15) / 16);
}

int16_t Trnlin(const std::vector<int16_t>& list, int index, int layout, std::string& line) {
    if (index < 1 || static_cast<std::size_t>(index) > list.size()) return -1;
    const int16_t number = list[static_cast<std::size_t>(index) - 1];
    ListedTransaction t;
    if (!ReadListed(layout, static_cast<long>(number) + 1, t)) return -1;

    const std::string own_symbol = WordsOrBlanks(t.symbol);
    if (IsBlank(own_symbol)) return -10;
    const std::string code = WordOrBlanks(t.code);
    const std::string symbol = IsIncomeCode(t.code) ? WordsOrBlanks(t.source) : own_symbol;
    std::string mark = WordOrBlanks(t.mark);
    if (layout == kBlockLayout && t.flag == 0) mark = "D   ";
    const std::string lot = WordOrBlanks(t.tax_lot);
    const std::string date = WordsOrBlanks(t.date);
    const std::string last_column = WordsOrBlanks(layout == kAccountLayout ? t.broker : t.account);

    std::string quantity(11, ' ');
    const double q = SystemRounded(t.quantity);
    if ((q != 0 && std::fabs(q - kNoValue) >= 0.02) || code == "SP  ") WriteInto(quantity, "(F11.4)", {q});
    std::string price(10, ' ');
    if (!(t.price < 0)) WriteInto(price, "(F10.4)", {static_cast<double>(t.price)});
    std::string commission(8, ' ');
    if (t.commission > 0) WriteInto(commission, "(F8.2)", {t.commission});
    // A transfer in is shown at the cost it brings in; a transfer out with
    // no amount at its lot cost.
    double amount = t.amount;
    if (code == "SI  " || (code == "SO  " && amount == 0)) amount = t.lot_cost;
    amount += t.bond_interest;
    std::string net(11, ' ');
    WriteInto(net, "(F11.2)", {amount});

    const std::string_view s(symbol), d(date), a(last_column), blank(" ");
    line = Write(kListLineLayout, {static_cast<long long>(number),
                                   blank,
                                   s.substr(0, 4),
                                   s.substr(4, 4),
                                   s.substr(8, 4),
                                   std::string_view(code).substr(0, 2),
                                   blank,
                                   std::string_view(mark).substr(0, 1),
                                   blank,
                                   std::string_view(lot),
                                   d.substr(0, 4),
                                   d.substr(4, 4),
                                   blank,
                                   std::string_view(quantity),
                                   std::string_view(price),
                                   std::string_view(commission),
                                   std::string_view(net),
                                   blank,
                                   a.substr(0, 4),
                                   a.substr(4, 4)});
    return 0;
}

}  // namespace records
