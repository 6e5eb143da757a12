// The member account import (Mdwnacct) and the proposed starting
// identifier (Nxtacid).

#include "entry/member_import.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/update.h"
#include "engine/value_history.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/member_accounts.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/transaction_lines.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace entry {
namespace {

using records::Fixed;
using records::Record;
using reports::Items;

// Bounds of the date check of deposit and transfer dates.
constexpr float kDateLow = 0.0f;
constexpr float kDateHigh = 1991231.0f;

// Cash line values that say "no value".
constexpr double kNoShares = -99999.99;
constexpr float kNoPrice = -999.99f;
constexpr double kNoAmount = -99999.99;

// Columns count from 1, as the member file's layout gives them.
std::string Cols(const std::string& line, std::size_t from, std::size_t to) {
    return line.substr(from - 1, to - from + 1);
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// One member line as read: blank padded (or cut) to 431 characters, with
// the postal code moved after the last address text. The postal code
// follows the last non-blank column of the name and address block (336
// down to 187) after two blanks, so that every later use of the block
// sees it; a blank block moves nothing.
std::string MemberLine(std::string_view text) {
    std::string line = Fixed(text, kMemberLineLength);
    for (std::size_t p = 336; p >= 187; --p) {
        if (line[p - 1] == ' ') continue;
        line.replace(p + 2, 5, line.substr(426, 5));
        break;
    }
    return line;
}

// A deposit group of a member line (first column g = 66, 96, 126, 156).
struct DepositGroup {
    std::string date;   // MM/DD/YY from the YYMMDD columns
    double amount = 0;  // "(F9.3)"
    double rate1 = 0;   // "(F7.2)"
    double rate2 = 0;   // "(F7.2)"
    bool read = true;   // false when a number did not read
};

DepositGroup ReadDepositGroup(const std::string& line, std::size_t g) {
    DepositGroup d;
    d.date = Ymddat(Cols(line, g, g + 5));
    d.read = records::Read(Cols(line, g + 6, g + 14), "(F9.3)", {&d.amount}) &&
             records::Read(Cols(line, g + 15, g + 21), "(F7.2)", {&d.rate1}) &&
             records::Read(Cols(line, g + 22, g + 28), "(F7.2)", {&d.rate2});
    return d;
}

// The working fields of one member.
struct Member {
    std::string line;
    std::string descriptor;            // 32: account number, suffix, 12 blanks
    std::array<std::string, 5> lines;  // 32 each: name and address lines
    std::array<std::string, 4> notes;  // 60 each: the block as four lines
    std::string cash_code;             // "S   " or "C   "
    std::string manager_code;          // 4
    std::string tax_id;                // 12
};

Member ReadMember(const std::string& line, std::string_view set_manager_flag, int16_t column) {
    Member m;
    m.line = line;
    m.descriptor = Fixed(Cols(line, 6, 22) + Cols(line, 23, 25), 32);
    for (std::size_t i = 0; i < 5; ++i) m.lines[i] = Fixed(Cols(line, 187 + 30 * i, 216 + 30 * i), 32);
    for (std::size_t i = 0; i < 4; ++i) m.notes[i] = Cols(line, 187 + 60 * i, 246 + 60 * i);
    m.cash_code = line[24] == 'N' ? "C   " : "S   ";
    m.manager_code = "    ";
    // The column is meant to be 1 to 4; another leaves the manager code
    // blank rather than write outside it.
    if (!set_manager_flag.empty() && set_manager_flag[0] == 'Y' && column >= 1 && column <= 4)
        m.manager_code[static_cast<std::size_t>(column - 1)] = m.cash_code[0];
    m.tax_id = Fixed(Cols(line, 37, 45), 12);
    return m;
}

// COMMON.FIL record 2 (the program date and its number) and the options.
struct RunDates {
    std::string program_date = std::string(8, ' ');
    float program_number = 0;
};

RunDates ReadProgramDate() {
    RunDates d;
    records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
    Record rec;
    if (common.Read(records::kProgramDateRecord, rec)) {
        d.program_date = rec.Text(0, 8);
        d.program_number = rec.R4(8);
    }
    return d;
}

// The identifier of the n-th account given out: six digits, two blanks.
std::string AccountIdentifier(int number) {
    std::string digits(6, ' ');
    records::WriteInto(digits, "(I6)", {static_cast<long long>(number)});
    std::replace(digits.begin(), digits.end(), ' ', '0');
    return digits + "  ";
}

// The account file as the import sees it: the index keys and the
// custodian account numbers stored in R3 of every slot, kept in memory for
// the run so that each member's look-up does not scan every account.
class AccountBook {
public:
    // Reads ACCOUNT.IDX (every key record in the file) and the R3 records of
    // ACCOUNT.REC, slot by slot in file order up to the first slot whose R2
    // or R3 cannot be read.
    void Load() {
        records::DirectFile index(records::kAccountIndex, 128, /*create=*/false);
        Record rec;
        count_read_ = index.Read(1, rec);
        count_ = count_read_ ? rec.I16(0) : 0;
        if (count_ < 0) count_ = 0;
        for (long r = 2; index.Read(r, rec); ++r)
            for (int place = 0; place < records::kAccountKeysPerRecord; ++place)
                keys_.push_back(rec.Text(static_cast<std::size_t>(place) * records::kAccountKeyWidth,
                                         records::kAccountKeyWidth));
        for (int k = 1; k <= count_ && k <= static_cast<int>(keys_.size()); ++k)
            in_use_.insert(keys_[static_cast<std::size_t>(k - 1)]);

        records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
        std::vector<unsigned char> bytes;
        if (!accounts.ReadWhole(bytes)) return;
        const long records_in_file = static_cast<long>(bytes.size() / 128);
        for (int k = 1; 8L * k - 5 <= records_in_file; ++k) {
            const std::size_t r3 = static_cast<std::size_t>(8L * k - 6) * 128;
            AddCustodian(k, std::string(reinterpret_cast<const char*>(bytes.data() + r3 + 32), 32));
        }
    }

    int count() const { return count_; }
    bool InUse(const std::string& key) const { return in_use_.count(key) != 0; }

    // Dscset: whether an account (deleted ones too) carries the descriptor
    // as its whole custodian account number.
    bool Carries(const std::string& descriptor) const { return whole_.count(descriptor) != 0; }

    // A new account at entry n: its key and its custodian account number.
    void Added(int n, const std::string& key, const std::string& descriptor) {
        if (static_cast<int>(keys_.size()) < n)
            keys_.resize(static_cast<std::size_t>(n), std::string(8, ' '));
        keys_[static_cast<std::size_t>(n - 1)] = key;
        in_use_.insert(key);
        count_ = n;
        AddCustodian(n, descriptor);
    }

    // Fnddsc: the first slot, in file order, whose custodian account number
    // agrees with the descriptor in its first 20 characters (17 when the
    // stored number has no suffix, character 18 blank). A stored number
    // without suffix is completed with the member's descriptor. Slots whose
    // key is deleted are passed over. Returns the slot and its identifier,
    // or nothing.
    std::optional<std::pair<int, std::string>> Find(const std::string& descriptor) {
        for (;;) {
            std::vector<int> slots;
            if (const auto it = by20_.find(descriptor.substr(0, 20)); it != by20_.end())
                slots.insert(slots.end(), it->second.begin(), it->second.end());
            if (const auto it = by17_.find(descriptor.substr(0, 17)); it != by17_.end())
                slots.insert(slots.end(), it->second.begin(), it->second.end());
            std::sort(slots.begin(), slots.end());
            bool changed = false;
            for (const int k : slots) {
                if (short_.count(k) != 0) {
                    Complete(k, descriptor);
                    changed = true;
                }
                if (static_cast<std::size_t>(k) > keys_.size()) continue;
                const std::string& key = keys_[static_cast<std::size_t>(k - 1)];
                if (key.compare(0, 4, "$$$$") == 0) continue;
                return std::make_pair(k, key);
            }
            if (!changed) return std::nullopt;
        }
    }

private:
    void AddCustodian(int k, const std::string& stored) {
        whole_.insert(stored);
        if (stored[17] != ' ') {
            by20_[stored.substr(0, 20)].push_back(k);
        } else {
            by17_[stored.substr(0, 17)].push_back(k);
            short_.insert(k);
        }
    }

    // Rewrites R3 of slot k with the whole descriptor as its custodian
    // account number (the rest of R3 as stored).
    void Complete(int k, const std::string& descriptor) {
        records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
        Record r3;
        const long r = 8L * k - 5;
        if (accounts.Read(r, r3)) {
            whole_.erase(r3.Text(32, 32));
            const std::string completed = Fixed(descriptor.substr(0, 20), 32);
            r3.SetText(32, 32, completed);
            accounts.Write(r, r3);
            whole_.insert(completed);
        }
        auto& list = by17_[descriptor.substr(0, 17)];
        list.erase(std::remove(list.begin(), list.end(), k), list.end());
        short_.erase(k);
        auto& longer = by20_[descriptor.substr(0, 20)];
        longer.insert(std::upper_bound(longer.begin(), longer.end(), k), k);
    }

    bool count_read_ = false;
    int count_ = 0;
    std::vector<std::string> keys_;
    std::unordered_set<std::string> in_use_;
    std::unordered_set<std::string> whole_;
    std::unordered_map<std::string, std::vector<int>> by20_;
    std::unordered_map<std::string, std::vector<int>> by17_;
    std::unordered_set<int> short_;
};

// Symidx: the entry of the symbol in SECURITY.IDX, 0 when there is none.
int16_t Symidx(std::string_view symbol) {
    const std::string key = Fixed(symbol, records::kSecurityKeyWidth);
    records::DirectFile index(records::kSecurityIndex, 128, /*create=*/false);
    Record rec;
    if (!index.Read(1, rec)) return 0;
    const int count = rec.I16(0);
    long loaded = 0;
    for (int n = 1; n <= count; ++n) {
        const long r = 2 + (n - 1) / records::kSecurityKeysPerRecord;
        if (r != loaded) {
            if (!index.Read(r, rec)) return 0;
            loaded = r;
        }
        const std::size_t place = static_cast<std::size_t>((n - 1) % records::kSecurityKeysPerRecord);
        if (rec.Text(place * records::kSecurityKeyWidth, records::kSecurityKeyWidth) == key)
            return static_cast<int16_t>(n);
    }
    return 0;
}

// The state of one run.
class ImportRun {
public:
    ImportRun(int16_t mode, std::string_view tran_code, std::string_view transfer_date,
              std::string_view set_manager_flag, int16_t column, std::string_view output_name)
        : member_mode_(mode <= 0),
          tran_code_(Fixed(tran_code, 4)),
          transfer_date_(Fixed(transfer_date, 8)),
          set_manager_flag_(Fixed(set_manager_flag, 4)),
          column_(column),
          frame_(output_name, /*copy=*/true) {}

    void Run(std::string_view member_file, int16_t& starting_id);

private:
    // Member mode: false when the run has to stop.
    bool SetUp(const Member& m, int16_t& starting_id);
    void Deposits(const Member& m);
    void DepositLines(const Member& m, const std::string& account, int slot, records::DirectFile& offline,
                      int16_t& counter, bool& full);
    int16_t MatchCode(const Member& m, int slot);
    void WriteNewAccount(int n, const std::string& id, const Member& m);

    bool member_mode_;
    std::string tran_code_;
    std::string transfer_date_;
    std::string set_manager_flag_;
    int16_t column_;
    reports::ReportFrame frame_;
    RunDates dates_;
    records::Options options_{};
    AccountBook book_;
    engine::CurrentSecurity security_;
    double sort_key_ = 0;
    std::string last_identifier_;
    bool stopped_ = false;
    // Member mode: the account files, open for the run once the first
    // account is set up.
    std::unique_ptr<records::DirectFile> index_file_;
    std::unique_ptr<records::DirectFile> account_file_;
};

void ImportRun::Run(std::string_view member_file, int16_t& starting_id) {
    dates_ = ReadProgramDate();
    options_ = records::Rdopts();
    records::Gcn();
    {
        int16_t mode = 0, error = 0;
        float number = 0;
        records::Ckdate(transfer_date_, mode, error, number, kDateLow, kDateHigh);
    }

    int16_t page = 1, line_count = 0, page_length = 0;
    records::Hdr80(page, line_count, page_length);
    frame_.Write(member_mode_ ? "(34X,'DOWNLOAD CLIENT DATA REPORT')"
                              : "(34X,'DOWNLOAD DEPOSIT DATA REPORT')");
    frame_.Blank();
    frame_.Blank();

    if (!member_mode_) {
        // Without the security the transactions get no sort key and no
        // security entry, and the report says so.
        const int16_t entry = Symidx(kDepositSymbol);
        Record rec;
        records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
        if (entry > 0 && securities.Read(entry, rec)) {
            security_ = engine::CurrentSecurity::FromRecord(rec, entry);
            sort_key_ = engine::Trnkey(security_);
        } else {
            frame_.Write("(3A4,' is not a recognized security identifier.')",
                         Items().Text(kDepositSymbol, 4, 3));
        }
    }

    book_.Load();
    const int count_at_start = book_.count();

    records::TextFile input(records::TrimRight(member_file), /*create=*/false);
    long read = 0;
    std::string text;
    while (!stopped_ && input.ok() && input.ReadLine(text)) {
        if (read == kMaxMemberLines) {
            frame_.Line(kImportStoppedLine);
            break;
        }
        ++read;
        if (text.empty() || text[0] != '1') continue;
        const std::string line = MemberLine(text);
        const Member m = ReadMember(line, set_manager_flag_, column_);
        if (member_mode_) {
            const std::string first = m.lines[0];
            if (first.find("NO ACTIV") != std::string::npos || first.find("NO MATCH") != std::string::npos) {
                frame_.Write("(1X,'The following account descriptor was found: ',30A1,2X,'for account ',8A4)",
                             Items().Text(first, 1, 30).Text(m.descriptor, 4, 8));
                continue;
            }
            if (!SetUp(m, starting_id)) break;
        } else {
            Deposits(m);
        }
    }

    if (member_mode_ && book_.count() != count_at_start) {
        records::WriteLastMemberIdentifier(last_identifier_);
        records::DirectFile& index = *index_file_;
        Record first(128, 0);
        if (!index.Read(1, first)) first = Record(128, 0);
        first.SetI16(0, static_cast<int16_t>(book_.count()));
        index.Write(1, first);
    }
}

bool ImportRun::SetUp(const Member& m, int16_t& starting_id) {
    // A member already set up is reported and passed over: setting it up
    // again would give one member two accounts.
    if (book_.Carries(m.descriptor)) {
        frame_.Write("(1X,'Account no. ',5A4,' has already been entered ','into the client setup.')",
                     Items().Text(m.descriptor, 4, 5));
        return true;
    }
    // The index counts its keys in a 16-bit word.
    if (book_.count() >= kMaxAccountKeys) {
        frame_.Line(kImportStoppedLine);
        stopped_ = true;
        return false;
    }
    // Identifiers already in the index are passed over: a second key for
    // one identifier would hide an account and overwrite its history file.
    int number = starting_id < 1 ? 1 : starting_id;
    while (number <= kMaxAccountKeys && book_.InUse(AccountIdentifier(number))) ++number;
    if (number > kMaxAccountKeys) {
        frame_.Line(kImportStoppedLine);
        stopped_ = true;
        return false;
    }
    const std::string id = AccountIdentifier(number);
    starting_id = static_cast<int16_t>(number < kMaxAccountKeys ? number + 1 : number);
    last_identifier_ = id;

    // The holdings-history file: the year of the program date, all zero.
    const records::DateNumberParts program =
        records::SplitDateNumber(static_cast<long>(dates_.program_number));
    const int year = program.year;
    const int month = program.month;
    const std::string history = records::TrimRight(records::Paknam(id, "HL", ".DAT"));
    {
        // A file of that name left behind (in any case) goes; the new one
        // is made under the exact name.
        std::error_code error;
        std::filesystem::remove(records::ResolveName(history), error);
        std::ofstream made(history, std::ios::binary | std::ios::trunc);
    }
    {
        records::DirectFile file(history, 128);
        for (long r = 2; r <= 5; ++r) {
            Record rec(128, 0);
            engine::ValueHistoryYear y;
            y.year = static_cast<int16_t>(year);
            y.Encode(rec);
            file.Write(r, rec);
        }
        Record rec(128, 0);
        engine::ValueHistoryHeader h;
        h.account = id;
        h.start_month = static_cast<int16_t>(month);
        h.first_year = static_cast<int16_t>(year);
        h.end_month = 12;
        h.last_year = static_cast<int16_t>(year);
        h.years = 1;
        h.Encode(rec);
        file.Write(1, rec);
    }

    // The key at entry n = count + 1.
    const int n = book_.count() + 1;
    {
        if (!index_file_) index_file_ = std::make_unique<records::DirectFile>(records::kAccountIndex, 128);
        records::DirectFile& index = *index_file_;
        const long r = 2 + (n - 1) / records::kAccountKeysPerRecord;
        const std::size_t place = static_cast<std::size_t>((n - 1) % records::kAccountKeysPerRecord);
        Record rec(128, ' ');
        if (place != 0 && !index.Read(r, rec)) rec = Record(128, ' ');
        rec.SetText(place * records::kAccountKeyWidth, records::kAccountKeyWidth, id);
        index.Write(r, rec);
    }
    book_.Added(n, id, m.descriptor);

    frame_.Write(
        "(8A4,8A4,8A4,8A4)",
        Items().Text(m.lines[0], 4, 8).Text(m.lines[1], 4, 8).Text(m.lines[2], 4, 8).Text(m.lines[3], 4, 8));
    WriteNewAccount(n, id, m);
    return true;
}

void ImportRun::WriteNewAccount(int n, const std::string&, const Member& m) {
    records::NewMemberAccount a;
    a.lines = m.lines;
    a.manager_code = m.manager_code;
    a.tax_id = m.tax_id;
    a.date_opened = dates_.program_date;
    a.custodian_account = m.descriptor;
    a.cash_balance_code = m.cash_code;
    a.notes = m.notes;
    if (!account_file_) account_file_ = std::make_unique<records::DirectFile>(records::kAccountRecords, 128);
    records::DirectFile& accounts = *account_file_;
    const long base = records::AccountBaseRecord(n);
    Record old_r3(128, 0);
    if (!accounts.Read(base + 2, old_r3)) old_r3 = Record(128, 0);
    const records::AccountRecordSet set = records::MemberAccountRecords(a, old_r3);
    for (long i = 0; i < 8; ++i) accounts.Write(base + i, set[static_cast<std::size_t>(i)]);
}

void ImportRun::Deposits(const Member& m) {
    const auto found = book_.Find(m.descriptor);
    const std::string account = found ? found->second : std::string(8, ' ');
    const int slot = found ? found->first : 0;

    records::DirectFile offline(records::kOfflineTransactionFile, records::kTransactionLineLength);
    Record first(records::kTransactionLineLength, 0);
    int16_t counter = 1;
    if (offline.Read(1, first))
        counter = first.I16(0);
    else
        first = Record(records::kTransactionLineLength, 0);
    // A counter below 1 names no line: the file counts as empty, so that no
    // line lands on the counter record or before the file's start.
    if (counter < 1) counter = 1;
    bool full = false;
    DepositLines(m, account, slot, offline, counter, full);
    first.SetI16(0, counter);
    offline.Write(1, first);
    if (full) {
        frame_.Line(kImportStoppedLine);
        stopped_ = true;
    }
}

void ImportRun::DepositLines(const Member& m, const std::string& account, int slot,
                             records::DirectFile& offline, int16_t& counter, bool& full) {
    const bool transfer = tran_code_ == "SI  ";
    const bool cash_line = records::OptionOn(options_, records::Opt::kCashLinesForTrades) &&
                           (tran_code_ == "B   " || tran_code_ == "S   ");
    for (std::size_t g : {66u, 96u, 126u, 156u}) {
        const DepositGroup d = ReadDepositGroup(m.line, g);
        if (!d.read) {
            frame_.Write("(' *** Deposit not read: ',5A4)", Items().Text(m.descriptor, 4, 5));
            continue;
        }
        if (!(d.amount > 0.0)) continue;
        // OFFLINET.DAT counts its lines in a 16-bit word.
        if (counter >= kMaxAccountKeys - (cash_line ? 1 : 0)) {
            full = true;
            return;
        }
        const double line_amount = d.rate2 * d.amount;
        const double second_amount = d.rate1 * d.amount;
        std::string date = d.date;
        if (transfer)
            for (std::size_t half = 0; half < 8; half += 4)
                if (!IsBlank(transfer_date_.substr(half, 4)))
                    date.replace(half, 4, transfer_date_.substr(half, 4));
        int16_t mode = 0, error = 0;
        float number = 0;
        records::Ckdate(date, mode, error, number, kDateLow, kDateHigh);
        if (error != 0)
            frame_.Write("(1X,'The date ',2A4,' in the following transaction is ','illegal.')",
                         Items().Text(date, 4, 2));
        const int16_t match = MatchCode(m, slot);
        frame_.Write("(2A4,3A4,2A4,1X,A4,2F12.4,F12.2,1X,5A4)", Items()
                                                                    .Text(account, 4, 2)
                                                                    .Text(kDepositSymbol, 4, 3)
                                                                    .Text(date, 4, 2)
                                                                    .Text(tran_code_, 4, 1)
                                                                    .Number(d.amount)
                                                                    .Number(d.rate2)
                                                                    .Number(line_amount)
                                                                    .Text(m.descriptor, 4, 5));
        records::OfflineTranRecord t;
        t.account = Fixed(account, 8);
        t.symbol = Fixed(kDepositSymbol, 12);
        t.trade_date = date;
        t.code = tran_code_;
        t.shares = d.amount;
        t.price = static_cast<float>(d.rate2);
        t.amount = line_amount;
        t.second_date = d.date;
        t.second_amount = second_amount;
        t.date_number = number;
        t.sort_key = sort_key_;
        t.security_entry = security_.entry;
        t.match_code = match;
        t.entry_kind = "A   ";
        t.member = m.descriptor.substr(0, 20);
        t.address = m.line.substr(186, 240);
        Record rec(records::kTransactionLineLength, 0);
        t.Encode(rec);
        offline.Write(++counter, rec);
        if (cash_line) {
            t.symbol = Fixed("CASH", 12);
            t.code = tran_code_ == "B   " ? "FI  " : "FO  ";
            t.shares = kNoShares;
            t.price = kNoPrice;
            t.second_amount = kNoAmount;
            t.sort_key = 0;
            t.security_entry = 0;
            Record cash(records::kTransactionLineLength, 0);
            t.Encode(cash);
            offline.Write(++counter, cash);
        }
    }
}

// 1 when the stored account agrees with the member, 3 when the first
// address line or the custodian account number differs, 4 when only the
// rest of the block differs. An account that was not found compares with
// blank fields.
int16_t ImportRun::MatchCode(const Member& m, int slot) {
    Record r3(128, ' '), r5(128, ' '), r6(128, ' ');
    if (slot > 0) {
        records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
        const long base = records::AccountBaseRecord(slot);
        if (!accounts.Read(base + 2, r3)) r3 = Record(128, ' ');
        if (!accounts.Read(base + 4, r5)) r5 = Record(128, ' ');
        if (!accounts.Read(base + 5, r6)) r6 = Record(128, ' ');
    }
    const std::string note1 = r5.Text(0, 60);
    if (Cols(m.line, 187, 216) != note1.substr(0, 30) || m.descriptor != r3.Text(32, 32)) return 3;
    if (Cols(m.line, 217, 246) != note1.substr(30, 30) || Cols(m.line, 247, 306) != r5.Text(60, 60) ||
        Cols(m.line, 307, 366) != r6.Text(0, 60) || Cols(m.line, 367, 426) != r6.Text(60, 60))
        return 4;
    return 1;
}

// A 4-character half of record 29 that does not compare above four blanks
// as a 4-byte real (zero bytes, as a record never written holds) counts
// as blanks.
bool AboveBlanks(std::string_view half) {
    float value = 0, blanks = 0;
    std::memcpy(&value, half.data(), 4);
    std::memcpy(&blanks, "    ", 4);
    return value > blanks;
}

}  // namespace

std::string Ymddat(std::string_view yymmdd) {
    const std::string t = Fixed(yymmdd, 6);
    return records::Write("(A2,'/',A2,'/',A2)",
                          {std::string_view(t).substr(2, 2), std::string_view(t).substr(4, 2),
                           std::string_view(t).substr(0, 2)});
}

void Mdwnacct(int16_t mode, std::string_view member_file, std::string_view tran_code,
              std::string_view transfer_date, std::string_view set_manager_flag, int16_t column,
              int16_t& starting_id, std::string_view output_name) {
    ImportRun run(mode, tran_code, transfer_date, set_manager_flag, column, output_name);
    run.Run(member_file, starting_id);
}

void Nxtacid(int16_t& starting_id, int16_t& error, std::string& message) {
    error = 0;
    message = std::string(80, ' ');
    std::string text(8, '\0');
    records::ReadLastMemberIdentifier(text);
    for (std::size_t half = 0; half < 8; half += 4)
        if (!AboveBlanks(std::string_view(text).substr(half, 4))) text.replace(half, 4, "    ");

    const auto fail = [&](std::string_view why) {
        error = 1;
        message = Fixed(why, 80);
    };
    int32_t number = 0;
    if (!records::Read(text.substr(0, 6), "(I6)", {&number})) {
        fail("Starting account identifier is too large.");
        return;
    }
    ++number;
    std::string digits(6, ' ');
    records::WriteInto(digits, "(I6)", {static_cast<long long>(number)});
    std::replace(digits.begin(), digits.end(), ' ', '0');
    if (digits.find_first_not_of("0123456789") != std::string::npos) {
        fail("invalid starting account identifier.");
        return;
    }
    if (number > 10000) {
        fail("Starting account identifier is too large.");
        return;
    }
    starting_id = static_cast<int16_t>(number);
}

}  // namespace entry
