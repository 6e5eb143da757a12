#include "engine/series.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <utility>

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/rounding.h"

namespace engine {

namespace {

using records::Record;
using records::TransactionRecord;

constexpr int kCategoryTableUnit = 16;
constexpr std::size_t kSecurityTypeOffset = 76;  // SECURITY.REC bytes 77-80
constexpr std::size_t kDescription1Offset = 12;  // bytes 13-44
constexpr std::size_t kDescription2Offset = 44;  // bytes 45-76

// The transaction codes as the series reads them: class and cash sign, and
// two flow multipliers: m1 on the cash-equivalents flow, m2 on the flow of
// the security's own category. ME moves cash out without being a flow of
// cash equivalents; SP (a purchase paid from outside) is no flow at all.
struct SeriesCode {
    std::string_view code;
    int16_t cls;
    int16_t sign;
    float m1;
    float m2;
};

constexpr std::array<SeriesCode, 21> kSeriesCodes = {{
    {"B   ", 4, -1, -1, 1}, {"S   ", 2, 1, 1, -1},  {"SS  ", 1, 1, 1, -1}, {"CS  ", 2, -1, -1, 1},
    {"FI  ", 3, 1, 1, 0},   {"FO  ", 3, -1, -1, 0}, {"SI  ", 4, -1, 0, 1}, {"SO  ", 2, 1, 0, -1},
    {"DI  ", 3, 1, 1, -1},  {"DE  ", 3, -1, -1, 1}, {"II  ", 3, 1, 1, -1}, {"IE  ", 3, -1, -1, 1},
    {"MF  ", 3, -1, -1, 0}, {"BC  ", 3, -1, -1, 0}, {"MI  ", 3, 1, 1, -1}, {"ME  ", 3, -1, 0, 0},
    {"AI  ", 3, 1, 1, 0},   {"AO  ", 3, -1, -1, 0}, {"SP  ", 4, -1, 0, 0}, {"IP  ", 3, -1, -1, 1},
    {"IS  ", 3, 1, 1, -1},
}};

constexpr bool IsOneOf(std::string_view code, std::initializer_list<std::string_view> codes) {
    for (std::string_view c : codes)
        if (c == code) return true;
    return false;
}

// Four characters as one word, for comparing codes without a string
// compare.
uint32_t Word(const char* four) {
    uint32_t w;
    std::memcpy(&w, four, 4);
    return w;
}

// What the series does with a code, worked out once from its text.
struct CodeFacts {
    const SeriesCode* code = nullptr;
    uint32_t word = 0;
    bool income_code = false;    // DI, DE, II, IE, MI, IP, IS
    bool income_adds = false;    // DI, MI, II, IP: the amount is income
    bool pays_interest = false;  // B, SS: bond interest bought is income given away
    bool gets_interest = false;  // S, CS: bond interest sold is income received
    bool money_in = false;       // FI, SI
    bool money_out = false;      // FO, SO
    bool income_kept = false;    // DI, II, MI: with status N, income left in the account
    bool fee = false;            // MF, BC
    bool transfer = false;       // SI, SO
    bool with_interest = false;  // B, SS, S, CS: the flow includes the bond interest
};

constexpr CodeFacts FactsOf(const SeriesCode& c) {
    CodeFacts f;
    f.code = &c;
    f.income_code = IsOneOf(c.code, {"DI  ", "DE  ", "II  ", "IE  ", "MI  ", "IP  ", "IS  "});
    f.income_adds = IsOneOf(c.code, {"DI  ", "MI  ", "II  ", "IP  "});
    f.pays_interest = IsOneOf(c.code, {"B   ", "SS  "});
    f.gets_interest = IsOneOf(c.code, {"S   ", "CS  "});
    f.money_in = IsOneOf(c.code, {"FI  ", "SI  "});
    f.money_out = IsOneOf(c.code, {"FO  ", "SO  "});
    f.income_kept = IsOneOf(c.code, {"DI  ", "II  ", "MI  "});
    f.fee = IsOneOf(c.code, {"MF  ", "BC  "});
    f.transfer = IsOneOf(c.code, {"SI  ", "SO  "});
    f.with_interest = IsOneOf(c.code, {"B   ", "SS  ", "S   ", "CS  "});
    return f;
}

const std::array<CodeFacts, kSeriesCodes.size()>& AllCodeFacts() {
    static const std::array<CodeFacts, kSeriesCodes.size()> all = [] {
        std::array<CodeFacts, kSeriesCodes.size()> a{};
        for (std::size_t k = 0; k < kSeriesCodes.size(); ++k) {
            a[k] = FactsOf(kSeriesCodes[k]);
            a[k].word = Word(kSeriesCodes[k].code.data());
        }
        return a;
    }();
    return all;
}

// The facts of a transaction code (four characters), or nullptr for a
// code the series does not know.
const CodeFacts* FindCode(std::string_view code) {
    if (code.size() != 4) return nullptr;
    const uint32_t w = Word(code.data());
    for (const CodeFacts& f : AllCodeFacts())
        if (f.word == w) return &f;
    return nullptr;
}

// Trades are replayed after the cash and income transactions of their day.
int16_t ClassRank(std::string_view code) {
    static const std::array<uint32_t, 6> trades = {Word("B   "), Word("SS  "), Word("SI  "),
                                                   Word("S   "), Word("CS  "), Word("SO  ")};
    if (code.size() != 4) return 0;
    const uint32_t w = Word(code.data());
    return std::find(trades.begin(), trades.end(), w) != trades.end() ? 1 : 0;
}

// The kind of a security type for the category selections.
int16_t KindOfType(char type) {
    if (type == '1') return kCashEquivalentsKind;
    if (std::string_view("PNHJLRST").find(type) != std::string_view::npos) return kEquitiesKind;
    return kFixedIncomeKind;
}

// A first-activity date is still open while it is blank (or holds bytes
// below a blank, as a never-written field does): it orders, byte by byte
// as unsigned, at or before eight blanks.
bool StillOpen(std::string_view date) {
    return date.compare("        ") <= 0;
}

// Income of a transaction: an income code adds (DI, MI, II, IP) or
// subtracts (DE, IE, IS) its amount unless its status is "N"; otherwise
// the bond interest bought with B and SS is income given away and that
// sold with S and CS income received.
double IncomeOf(const CodeFacts& code, const TransactionRecord& t, bool status_n) {
    if (status_n || !code.income_code) {
        if (code.pays_interest) return -t.bond_interest;
        if (code.gets_interest) return t.bond_interest;
        return 0.0;
    }
    if (code.income_adds) return t.amount;
    return -t.amount;
}

// Money put into or taken out of the account.
double ContributionOf(const CodeFacts& code, const TransactionRecord& t, bool status_n, int fee_switch) {
    if (code.money_in) return t.amount;
    if (code.money_out) return -t.amount;
    if (status_n && code.income_kept) return -t.amount;
    if (!status_n && fee_switch < 1 && code.fee) return -t.amount;
    return 0.0;
}

// The category of each security type (by its first character) under one
// table, worked out once instead of at every transaction.
class CategoryLookup {
public:
    enum Which : int8_t { kOther, kCash, kFixed, kEquity };
    explicit CategoryLookup(const CategoryTable& table) {
        for (auto& t : texts_) t = {kOtherCategory[0], kOtherCategory[1]};
        which_.fill(kOther);
        for (std::size_t k = 0; k < kCategoryTypeOrder.size(); ++k) {
            const auto c = static_cast<unsigned char>(kCategoryTypeOrder[k]);
            const std::string text = records::Fixed(table[k], 2);
            texts_[c] = {text[0], text[1]};
            which_[c] = text == kCashEquivalents ? kCash
                        : text == kFixedIncome   ? kFixed
                        : text == kEquities      ? kEquity
                                                 : kOther;
        }
    }
    // The category's two characters and which of the three it is ("O "
    // and kOther for an empty type).
    const std::array<char, 2>& Text(std::string_view type) const {
        return type.empty() ? other_ : texts_[static_cast<unsigned char>(type[0])];
    }
    Which Of(std::string_view type) const {
        return type.empty() ? kOther : which_[static_cast<unsigned char>(type[0])];
    }

private:
    std::array<std::array<char, 2>, 256> texts_;
    std::array<Which, 256> which_;
    std::array<char, 2> other_ = {kOtherCategory[0], kOtherCategory[1]};
};

std::string TransactionFileName(std::string_view account) {
    return records::Paknam(account, "TR", ".REC");
}

void WriteShortSaleWarning(int16_t condition, std::string_view account, long record) {
    const std::string id = records::Fixed(account, 6);
    const auto lines = records::WriteRecords(
        "(1X,'Warning: short sale condition',I2,' found in ','account: ',A4,A2,', transaction no. ',I4,/)",
        {static_cast<long long>(condition), std::string_view(id).substr(0, 4),
         std::string_view(id).substr(4, 2), static_cast<long long>(record - 1)});
    for (const std::string& line : lines) records::WriteLine(kWarningUnit, line);
}

// The period plan of a series: its ends and whether it fits.
struct Plan {
    std::vector<PeriodEnd> ends;
    bool fits = true;
};

Plan PlanPeriods(const SeriesDate& start, std::string_view end_date, bool by_category, int first_count) {
    Plan plan;
    const std::size_t room = static_cast<std::size_t>(kMaxPeriods - first_count);
    plan.ends = PeriodEnds(start, SeriesDate::FromText(end_date), by_category, first_count, room + 1);
    plan.fits = plan.ends.size() <= room;
    return plan;
}

// The transactions of the selection dated up to the period's date number,
// from the first one not yet applied.
std::span<const long> TakeUpTo(const TransactionSelection& sel, const std::vector<long>& records,
                               std::size_t& next, double number) {
    const std::size_t from = next;
    while (next < sel.entries.size() && sel.entries[next].date <= number) ++next;
    return std::span<const long>(records.data() + from, next - from);
}

template <class Lots>
void PostglOn(Lots& lots, std::string_view account, std::string_view period_date,
              std::span<const long> records, int16_t gl_switch, PeriodSums& sums,
              const AccountData& account_data, const CategoryTable& table, FirstActivity& first,
              std::string& last_category, SeriesFiles* files);

// A series replayed period by period into a fresh scratch lot file (on
// the lot unit, with TR<acct>.REC on the series unit while the replay
// lasts): each step applies the transactions of the selection dated up to
// the period end (Postgl) and values the lots at that end (Getprc).
class PeriodReplay {
public:
    // transactions: TR<acct>.REC as the selection read it.
    PeriodReplay(std::string_view account, const std::string& lot_file, const TransactionSelection& sel,
                 std::shared_ptr<const records::MappedRecords> transactions, const AccountData& account_data,
                 const CategoryTable& table)
        : lot_guard_(OpenLotFile(lot_file)),
          tr_guard_(OpenTransactionFile(account)),
          account_(account),
          sel_(sel),
          account_data_(account_data),
          table_(table) {
        record_numbers_.reserve(sel.entries.size());
        for (const SelectedTransaction& e : sel.entries) record_numbers_.push_back(e.record);
        // The scratch lot file is written once, when the series ends. It
        // is empty once purged; should it not be, its lots are taken as
        // they stand.
        if (records::RecordCount(kLotUnit) == 0) {
            series_lots_.emplace(kLotUnit);
        } else {
            file_lots_.emplace(kLotUnit);
            file_lots_->DeferWrites();
        }
        files_.transactions = std::span<const unsigned char>(transactions->data(), transactions->size());
        files_.transaction_file = std::move(transactions);
        files_.security_file = std::make_shared<records::MappedRecords>(records::kSecurityRecords,
                                                                        records::kAccountRecordLength);
        files_.valuation.UseSecurities(files_.security_file.get());
        files_.loaded = true;
    }
    ~PeriodReplay() {
        if (series_lots_) series_lots_->Flush();
        if (file_lots_) file_lots_->Flush();
    }
    PeriodReplay(const PeriodReplay&) = delete;
    PeriodReplay& operator=(const PeriodReplay&) = delete;

    Valuation Step(const PeriodEnd& period, PeriodSums& sums, FirstActivity& first,
                   std::string& last_category) {
        const std::span<const long> records = TakeUpTo(sel_, record_numbers_, next_, period.number);
        if (series_lots_)
            PostglOn(*series_lots_, account_, period.text, records, 0, sums, account_data_, table_, first,
                     last_category, &files_);
        else
            PostglOn(*file_lots_, account_, period.text, records, 0, sums, account_data_, table_, first,
                     last_category, &files_);
        if (decimals_ < 0) decimals_ = records::SystemDecimals(records::Rdopts());
        if (series_lots_) return Getprc(period.text, table_, *series_lots_, &files_.valuation, decimals_);
        return Getprc(period.text, table_, *file_lots_, &files_.valuation, decimals_);
    }

private:
    static int OpenLotFile(const std::string& lot_file) {
        records::Purge(lot_file);
        records::Open(kLotUnit, lot_file);
        return kLotUnit;
    }
    static int OpenTransactionFile(std::string_view account) {
        records::Open(kSeriesTransactionUnit, TransactionFileName(account));
        return kSeriesTransactionUnit;
    }

    records::UnitGuard lot_guard_;
    records::UnitGuard tr_guard_;
    std::optional<SeriesLots> series_lots_;
    std::optional<LotList> file_lots_;
    std::string_view account_;
    const TransactionSelection& sel_;
    const AccountData& account_data_;
    const CategoryTable& table_;
    std::vector<long> record_numbers_;
    std::size_t next_ = 0;
    // The system's decimals, read at the first valuation: the options do
    // not change while a series runs.
    int decimals_ = -1;
    SeriesFiles files_;
};

}  // namespace

int FeeSwitch(const AccountData& account_data) {
    return static_cast<int8_t>(account_data[19]);
}

// ---- Gettrn

namespace {

// The entries in replay order: by date, then rank, then record. They come
// in record order; when their dates never fall from one record to the
// next (a file kept in date order) each day's cash and income entries are
// put before its trades, keeping record order within each, which is that
// order without a sort.
void PutInReplayOrder(std::vector<SelectedTransaction>& entries) {
    const bool by_date = std::is_sorted(
        entries.begin(), entries.end(),
        [](const SelectedTransaction& a, const SelectedTransaction& b) { return a.date < b.date; });
    if (!by_date) {
        std::sort(entries.begin(), entries.end(),
                  [](const SelectedTransaction& a, const SelectedTransaction& b) {
                      if (a.date != b.date) return a.date < b.date;
                      if (a.rank != b.rank) return a.rank < b.rank;
                      return a.record < b.record;
                  });
        return;
    }
    std::vector<SelectedTransaction> trades;
    for (std::size_t day = 0; day < entries.size();) {
        std::size_t end = day + 1;
        bool mixed = false;
        while (end < entries.size() && entries[end].date == entries[day].date) {
            mixed = mixed || (entries[end].rank < entries[end - 1].rank);
            ++end;
        }
        if (mixed) {
            trades.clear();
            std::size_t put = day;
            for (std::size_t i = day; i < end; ++i) {
                if (entries[i].rank == 0)
                    entries[put++] = entries[i];
                else
                    trades.push_back(entries[i]);
            }
            std::copy(trades.begin(), trades.end(), entries.begin() + static_cast<long>(put));
        }
        day = end;
    }
}

// Gettrn on the transaction file's bytes (record r at (r - 1) x 128).
TransactionSelection SelectTransactions(std::span<const unsigned char> file, double& start, double end,
                                        int16_t all_dates, std::string_view security_filter, int16_t kind) {
    TransactionSelection sel;
    const long whole = static_cast<long>(file.size() / records::kAccountRecordLength);
    Record rec(records::kAccountRecordLength, 0);
    auto read = [&](long r) {
        if (r < 1 || r > whole) return false;
        std::memcpy(rec.data(), file.data() + (r - 1) * static_cast<long>(records::kAccountRecordLength),
                    records::kAccountRecordLength);
        return true;
    };
    if (!read(1)) return sel;
    const long count = records::TransactionFileHeader::Decode(rec).last_record;
    if (count < 2) return sel;

    const bool by_kind = kind >= kCashEquivalentsKind && kind <= kFixedIncomeKind;
    const std::string filter = records::Fixed(security_filter, 12);
    const bool filtered = !records::IsBlank(filter);
    std::unordered_map<int, int16_t> kinds;  // by security record
    {
        records::Open(kSeriesSecurityUnit, records::kSecurityRecords);
        records::UnitGuard security_guard(kSeriesSecurityUnit);
        TransactionRecord t;  // decoded into for each record
        sel.entries.reserve(static_cast<std::size_t>(std::max(0L, std::min(count, whole) - 1)));
        for (long r = 2; r <= count; ++r) {
            if (!read(r)) break;
            TransactionRecord::DecodeInto(rec, t);
            const double date = std::round(static_cast<double>(t.date_number));
            if (!(all_dates != 0 ? date <= end : (start <= date && date <= end))) continue;
            if (by_kind && t.security_record > 0) {
                auto [it, added] = kinds.try_emplace(t.security_record, kFixedIncomeKind);
                if (added) {
                    Record srec;
                    if (records::ReadRecord(kSeriesSecurityUnit, t.security_record, srec))
                        it->second = KindOfType(srec.Text(kSecurityTypeOffset, 1)[0]);
                }
                if (it->second != kind) continue;
            }
            if (t.IsDeleted()) continue;
            if (filtered) {
                const bool cash = t.symbol.compare(0, 4, "CASH") == 0;
                if (cash ? t.SourceSymbol() != filter : t.symbol != filter) continue;
            }
            sel.entries.push_back({r, date, ClassRank(t.code)});
        }
    }
    if (sel.entries.empty()) return sel;
    PutInReplayOrder(sel.entries);

    if (!read(sel.entries[0].record)) return sel;
    const TransactionRecord first = TransactionRecord::Decode(rec);
    sel.first_date = first.trade_date;
    sel.first_day_amount = first.amount;
    if (by_kind) start = sel.entries[0].date;
    if (by_kind || filtered) {
        for (std::size_t i = 1; i < sel.entries.size() && sel.entries[i].date <= sel.entries[0].date; ++i) {
            if (!read(sel.entries[i].record)) break;
            sel.first_day_amount += TransactionRecord::Decode(rec).amount;
        }
    }
    return sel;
}

// Opens the transaction file on the series unit (as the selection always
// has) and maps its records.
std::shared_ptr<const records::MappedRecords> ReadTransactions(std::string_view account) {
    records::Open(kSeriesTransactionUnit, TransactionFileName(account));
    records::UnitGuard tr_guard(kSeriesTransactionUnit);
    return std::make_shared<records::MappedRecords>(TransactionFileName(account),
                                                    records::kAccountRecordLength);
}

std::span<const unsigned char> BytesOf(const records::MappedRecords& file) {
    return std::span<const unsigned char>(file.data(), file.size());
}

}  // namespace

TransactionSelection Gettrn(std::string_view account, double& start, double end, int16_t all_dates,
                            std::string_view security_filter, int16_t kind) {
    const auto file = ReadTransactions(account);
    return SelectTransactions(BytesOf(*file), start, end, all_dates, security_filter, kind);
}

// ---- Postgl

namespace {

template <class Lots>
void PostglOn(Lots& lots, std::string_view account, std::string_view period_date,
              std::span<const long> records, int16_t gl_switch, PeriodSums& sums,
              const AccountData& account_data, const CategoryTable& table, FirstActivity& first,
              std::string& last_category, SeriesFiles* files) {
    sums = PeriodSums{};
    const int unit = kSeriesTransactionUnit;
    const bool own_unit = !records::IsOpen(unit);
    if (own_unit) records::Open(unit, TransactionFileName(account));
    struct CloseIfOwn {
        bool own;
        int unit;
        ~CloseIfOwn() {
            if (own) records::Close(unit);
        }
    } close_tr{own_unit, unit};

    // With files (a series, whose Gettrn has opened SECURITY.REC before)
    // the file is opened only when a security not met before is read.
    bool securities_open = false;
    auto open_securities = [&] {
        if (securities_open) return;
        records::Open(kSeriesSecurityUnit, records::kSecurityRecords);
        securities_open = true;
    };
    if (files == nullptr) open_securities();
    records::UnitGuard security_guard(kSeriesSecurityUnit);
    if (gl_switch != 0) {
        const std::string gains = records::Paknam("", "GL", ".TMP");
        records::Purge(gains);
        records::Open(kGainUnit, gains);
    }
    struct CloseGains {
        bool open;
        ~CloseGains() {
            if (open) records::Close(kGainUnit);
        }
    } close_gl{gl_switch != 0};

    using SecurityFacts = SeriesFiles::Security;
    std::vector<SecurityFacts> own_securities;
    std::vector<SecurityFacts>& securities = files != nullptr ? files->securities : own_securities;
    const int fee_switch = FeeSwitch(account_data);
    const CategoryLookup categories(table);
    const std::array<char, 2>* last = nullptr;  // the category of the last transaction

    Record rec(records::kAccountRecordLength, 0);
    // The facts of a transaction without a security record.
    const SecurityFacts no_security{true, "1", std::string(32, ' '), std::string(32, ' ')};
    const uint32_t lot_code_s = Word("S   ");
    const uint32_t status_word_n = Word("N   ");
    auto word_is = [](const std::string& text, uint32_t word) {
        return text.size() == 4 && Word(text.data()) == word;
    };
    TransactionRecord t;  // decoded into for each transaction
    for (const long r : records) {
        if (files != nullptr) {
            const std::size_t at = static_cast<std::size_t>(r - 1) * records::kAccountRecordLength;
            if (r < 1 || at + records::kAccountRecordLength > files->transactions.size()) break;
            std::memcpy(rec.data(), files->transactions.data() + at, records::kAccountRecordLength);
        } else if (!records::ReadRecord(unit, r, rec)) {
            break;
        }
        TransactionRecord::DecodeInto(rec, t);
        const CodeFacts* code = FindCode(t.code);
        if (code != nullptr && code->code->code == "MI  ")
            t.security_record = static_cast<int16_t>(records::Fndsym(t.SourceSymbol()));

        // The facts as kept, not copied: a copy of the two descriptions
        // costs two allocations a transaction.
        const SecurityFacts* known = &no_security;
        if (t.security_record > 0) {
            const auto at = static_cast<std::size_t>(t.security_record);
            if (at >= securities.size()) securities.resize(at + 1);
            SecurityFacts& facts = securities[at];
            if (!facts.read) {
                facts = no_security;
                Record srec;
                bool read = false;
                if (files != nullptr && files->security_file != nullptr) {
                    // A record past the end cannot be read, as from the file.
                    const records::MappedRecords& file = *files->security_file;
                    read = t.security_record <= file.Count();
                    if (read) {
                        srec = Record(records::kAccountRecordLength, 0);
                        std::memcpy(srec.data(),
                                    file.data() + static_cast<std::size_t>(t.security_record - 1) *
                                                      records::kAccountRecordLength,
                                    records::kAccountRecordLength);
                    }
                } else {
                    open_securities();
                    read = records::ReadRecord(kSeriesSecurityUnit, t.security_record, srec);
                }
                if (read)
                    facts = {true, srec.Text(kSecurityTypeOffset, 4), srec.Text(kDescription1Offset, 32),
                             srec.Text(kDescription2Offset, 32)};
            }
            known = &facts;
        }
        const SecurityFacts& facts = *known;
        if (word_is(t.tax_lot, lot_code_s)) continue;

        last = &categories.Text(facts.type);
        if (code == nullptr) continue;  // no sum, no lot
        const bool status_n = word_is(t.type, status_word_n);

        const double income = IncomeOf(*code, t, status_n);
        sums.income += income;
        sums.net_contribution += ContributionOf(*code, t, status_n, fee_switch);

        double v = t.amount;
        if (code->with_interest) v += t.bond_interest;
        if (!(fee_switch >= 1 && code->fee)) {
            const double m1 = code->code->m1, m2 = code->code->m2;
            switch (categories.Of(facts.type)) {
                case CategoryLookup::kCash:
                    sums.cash_equivalents_income += income;
                    if (!code->transfer) sums.cash_equivalents_flow += m1 * v;
                    sums.cash_equivalents_flow += m2 * v;
                    if (StillOpen(first.cash_equivalents)) first.cash_equivalents = t.trade_date;
                    break;
                case CategoryLookup::kFixed:
                    sums.fixed_income_income += income;
                    sums.cash_equivalents_flow += m1 * v;
                    sums.fixed_income_flow += m2 * v;
                    if (StillOpen(first.fixed_income)) first.fixed_income = t.trade_date;
                    break;
                case CategoryLookup::kEquity:
                    sums.equities_income += income;
                    sums.cash_equivalents_flow += m1 * v;
                    sums.equities_flow += m2 * v;
                    if (StillOpen(first.equities)) first.equities = t.trade_date;
                    break;
                default:
                    break;
            }
        }

        if (!status_n) {
            const int16_t transfer = code->transfer ? 1 : 0;
            const int16_t condition = Lotupd(lots, account, period_date, 0, code->code->cls, code->code->sign,
                                             transfer, gl_switch, t, facts.description1, facts.description2);
            if (condition != kNoShortSale) WriteShortSaleWarning(condition, account, r);
        }
    }
    if (last != nullptr) last_category.assign(last->data(), 2);
}

}  // namespace

void Postgl(LotList& lots, std::string_view account, std::string_view period_date,
            std::span<const long> records, int16_t gl_switch, PeriodSums& sums,
            const AccountData& account_data, const CategoryTable& table, FirstActivity& first,
            std::string& last_category, SeriesFiles* files) {
    PostglOn(lots, account, period_date, records, gl_switch, sums, account_data, table, first, last_category,
             files);
}

// ---- Getmmv

int16_t Getmmv(std::string_view account, std::string_view end_date, std::string& start_date,
               PeriodValues& values, PeriodValues& flows, PeriodIncomes& incomes, int16_t& periods,
               const AccountData& account_data, int16_t kind, const CategoryTable& table,
               std::string& first_equities, std::string& first_fixed_income,
               std::string& first_cash_equivalents, std::string_view security_filter, int16_t& selected,
               SeriesBlock& block) {
    double start = SeriesDateNumber(start_date);
    const double end = SeriesDateNumber(end_date);
    auto transactions = ReadTransactions(account);
    const TransactionSelection sel =
        SelectTransactions(BytesOf(*transactions), start, end, 0, security_filter, kind);
    if (sel.entries.empty()) {
        block.result = PeriodSeries{};
        selected = 0;
        return kSeriesDone;
    }

    const SeriesDate series_start = SeriesDate::FromText(sel.first_date);
    const int first_count = (series_start.IsMonthEnd() && kind >= 1 && kind <= 5) ? 1 : 0;
    const bool by_category = kind >= kCashEquivalentsKind && kind <= kFixedIncomeKind;
    const Plan plan = PlanPeriods(series_start, end_date, by_category, first_count);
    if (!plan.fits) return kSeriesTooLong;

    selected = static_cast<int16_t>(std::min<std::size_t>(sel.entries.size(), 32767));
    block.result = PeriodSeries{};
    start_date = sel.first_date;
    block.start_month = series_start.month;
    block.start_year = series_start.year;
    values[0] = sel.first_day_amount;
    block.result.value[0] = sel.first_day_amount;
    int n = first_count;

    PeriodReplay replay(account, records::Paknam("", "HL", ".TMP"), sel, std::move(transactions),
                        account_data, table);
    FirstActivity first;
    std::string last_category(2, ' ');
    for (const PeriodEnd& period : plan.ends) {
        PeriodSums sums;
        const Valuation val = replay.Step(period, sums, first, last_category);
        const double ce = val.cash_equivalents > 0 ? val.cash_equivalents : 0.00001;
        const double eq = val.equities > 0 ? val.equities : 0.00001;
        const double fi = val.fixed_income > 0 ? val.fixed_income : 0.00001;

        if (kind == kCashEquivalentsKind && !records::IsBlank(first.cash_equivalents))
            start_date = first.cash_equivalents;
        if (kind == kEquitiesKind && !records::IsBlank(first.equities)) start_date = first.equities;
        if (kind == kFixedIncomeKind && !records::IsBlank(first.fixed_income))
            start_date = first.fixed_income;
        const double whole = val.missing_price != 0 ? records::kNoPriceValue : val.whole;

        ++n;
        const std::size_t i = static_cast<std::size_t>(n - 1);
        block.cash_equivalents.value[i] = ce;
        block.cash_equivalents.flow[i] = sums.cash_equivalents_flow;
        block.cash_equivalents.income[i] = static_cast<float>(sums.cash_equivalents_income);
        block.equities.value[i] = eq;
        block.equities.flow[i] = sums.equities_flow;
        block.equities.income[i] = static_cast<float>(sums.equities_income);
        block.fixed_income.value[i] = fi;
        block.fixed_income.flow[i] = sums.fixed_income_flow;
        block.fixed_income.income[i] = static_cast<float>(sums.fixed_income_income);

        auto take = [&](double value, double flow, double income, bool with_value) {
            if (with_value) values[i] = value;
            flows[i] = flow;
            incomes[i] = static_cast<float>(income);
        };
        switch (kind) {
            case kCashEquivalentsKind:
                take(ce, sums.cash_equivalents_flow, sums.cash_equivalents_income, true);
                break;
            case kEquitiesKind:
                take(eq, sums.equities_flow, sums.equities_income, true);
                break;
            case kFixedIncomeKind:
                take(fi, sums.fixed_income_flow, sums.fixed_income_income, true);
                break;
            case kSecurityKind:
                if (last_category == kCashEquivalents)
                    take(ce, sums.cash_equivalents_flow, sums.cash_equivalents_income, n != 1);
                else if (last_category == kFixedIncome)
                    take(fi, sums.fixed_income_flow, sums.fixed_income_income, n != 1);
                else
                    take(eq, sums.equities_flow, sums.equities_income, n != 1);
                break;
            default:
                break;
        }
        if (n == 2 && kind <= kFixedIncomeKind) {
            values[0] = sel.first_day_amount;
            flows[0] = sel.first_day_amount;
            incomes[0] = 0;
        }
        if (kind == kWholeAccountKind) {
            block.result.value[i] = whole;
            block.result.flow[i] = sums.net_contribution;
            block.result.income[i] = static_cast<float>(sums.income);
        } else {
            block.result.value[i] = values[i];
            block.result.flow[i] = flows[i];
            block.result.income[i] = incomes[i];
        }
    }
    periods = static_cast<int16_t>(n);

    first_equities = StillOpen(first.equities) ? start_date : first.equities;
    first_fixed_income = StillOpen(first.fixed_income) ? start_date : first.fixed_income;
    first_cash_equivalents = StillOpen(first.cash_equivalents) ? start_date : first.cash_equivalents;
    return kSeriesDone;
}

// ---- Getmmv2

CategoryTable ReadCategoryTable() {
    records::Open(kCategoryTableUnit, records::kCommonFile);
    records::UnitGuard guard(kCategoryTableUnit);
    Record rec;
    if (!records::ReadRecord(kCategoryTableUnit, 14, rec)) return DefaultCategoryTable();
    for (int k = 0; k < 22; ++k)
        if (rec.I16(2 * k) <= 0) return DefaultCategoryTable();
    return CategoryTableFromText(rec.Text(0, 44));
}

int16_t Getmmv2(std::string_view account, std::string_view end_date, std::string& start_date,
                PeriodValues& values, PeriodValues& flows, PeriodIncomes& incomes, int16_t& periods,
                const AccountData& account_data, std::string_view security_filter, double opening_value,
                SeriesBlock& block) {
    const CategoryTable table = ReadCategoryTable();
    const bool named = !records::IsBlank(records::Fixed(security_filter, 12));
    // Every transaction up to the end date is replayed, whatever the start
    // asked: a lot bought before it still has to be valued.
    double start = 0;
    const double end = SeriesDateNumber(end_date);
    auto transactions = ReadTransactions(account);
    const TransactionSelection sel =
        SelectTransactions(BytesOf(*transactions), start, end, 1, security_filter, kAllTransactionsKind);
    if (sel.entries.empty()) {
        block.result = PeriodSeries{};
        periods = 0;
        return kSeriesDone;
    }

    const SeriesDate series_start = SeriesDate::FromText(sel.first_date);
    const int first_count = series_start.IsMonthEnd() ? 1 : 0;
    const Plan plan = PlanPeriods(series_start, end_date, false, first_count);
    if (!plan.fits) return kSeriesTooLong;

    block.result = PeriodSeries{};
    start_date = sel.first_date;
    block.start_month = series_start.month;
    block.start_year = series_start.year;
    values[0] = named ? sel.first_day_amount : opening_value;
    block.result.value[0] = values[0];
    int n = first_count;

    PeriodReplay replay(account, records::Paknam("", "HL", ".TP1"), sel, std::move(transactions),
                        account_data, table);
    FirstActivity first;
    std::string last_category(2, ' ');
    for (const PeriodEnd& period : plan.ends) {
        PeriodSums sums;
        const Valuation val = replay.Step(period, sums, first, last_category);

        ++n;
        const std::size_t i = static_cast<std::size_t>(n - 1);
        double value, flow, income;
        if (!named) {
            value = val.missing_price != 0 ? records::kNoPriceValue : val.whole;
            flow = sums.net_contribution;
            income = sums.income;
            // Without an opening value the series opens with the account's
            // value at the end of its first day.
            if (n == 1 && !(opening_value > 0)) values[0] = value;
        } else if (last_category == kCashEquivalents) {
            value = val.cash_equivalents;
            flow = sums.cash_equivalents_flow;
            income = sums.cash_equivalents_income;
        } else if (last_category == kFixedIncome) {
            value = val.fixed_income;
            flow = sums.fixed_income_flow;
            income = sums.fixed_income_income;
        } else {
            value = val.equities;
            flow = sums.equities_flow;
            income = sums.equities_income;
        }
        if (n != 1) values[i] = value;
        flows[i] = flow;
        incomes[i] = static_cast<float>(income);
        block.result.value[i] = values[i];
        block.result.flow[i] = flows[i];
        block.result.income[i] = incomes[i];
    }
    periods = static_cast<int16_t>(n);
    return kSeriesDone;
}

}  // namespace engine
