#include "engine/update.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/rebuild.h"
#include "engine/replay.h"
#include "records/account_records.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/prices.h"
#include "records/report_output.h"

namespace engine {

namespace {

using records::DirectFile;
using records::Fixed;
using records::Record;
using records::TransactionRecord;

// ---- Report lines

// The two 4-character halves of an 8-character identifier, for "2A4".
void Say(std::string_view layout, std::string_view account, std::string_view text) {
    const std::string a = Fixed(account, 8);
    const std::string t = Fixed(text, 12);
    const std::string_view av(a), tv(t);
    records::Prtout(records::Write(
        layout, {av.substr(0, 4), av.substr(4, 4), tv.substr(0, 4), tv.substr(4, 4), tv.substr(8, 4)}));
}

void WarnCashDeleted(std::string_view account, std::string_view symbol) {
    Say("(1X,'*** Warning: ',2A4,' has a cash transaction for ',3A4,'which may have been deleted.')", account,
        symbol);
}

void WarnDeleted(std::string_view account, std::string_view symbol) {
    Say("(1X,'*** Warning: ',2A4,' has a transaction for ',3A4,'which has been deleted.')", account, symbol);
}

// The line for an account whose rebuild failed: its stored holdings and
// gains files are kept, and the user learns why.
void WarnNotRebuilt(std::string_view account, int16_t flag) {
    const std::string a = Fixed(account, 8);
    const std::string_view av(a);
    const char* layout;
    switch (flag) {
        case kLotExceeded:
            layout =
                "(1X,'*** Warning: ',2A4,' holdings and gains not rebuilt: a closing transaction exceeds "
                "the quantity of its lot.')";
            break;
        case kLotNotFound:
            layout =
                "(1X,'*** Warning: ',2A4,' holdings and gains not rebuilt: a closing transaction finds no "
                "lot with its lot code.')";
            break;
        default:
            layout =
                "(1X,'*** Warning: ',2A4,' holdings and gains not rebuilt: the rebuilt files could not be "
                "put in place.')";
            break;
    }
    records::Prtout(records::Write(layout, {av.substr(0, 4), av.substr(4, 4)}));
}

// ---- Rate step

// The sign of a trade code as the trade code check gives it, the code
// word rewritten as its two letters and two blanks; a code not in the
// table gives 0 and stays as it is. Cash codes keep their signs here,
// transfers have none.
int16_t TradeCodeSign(std::string& code) {
    struct Entry {
        const char* letters;
        int16_t sign;
    };
    static constexpr Entry kTable[] = {
        {"B ", -1}, {"S ", 1},  {"SS", 1},  {"CS", -1}, {"FI", 1},  {"FO", -1}, {"SI", 0},
        {"SO", 0},  {"DI", 1},  {"DE", -1}, {"II", 1},  {"IE", -1}, {"MF", -1}, {"BC", -1},
        {"MI", 1},  {"ME", -1}, {"AI", 1},  {"AO", -1}, {"SP", -1},
    };
    code = Fixed(code, 4);
    for (const Entry& e : kTable) {
        if (code.compare(0, 2, e.letters) == 0) {
            code = std::string(e.letters) + "  ";
            return e.sign;
        }
    }
    return 0;
}

// The rate of the security from the rate file of the date; false when the
// file or the record cannot be read or the rate is not above 0. A missing
// rate file is not created.
bool ReadRate(std::string_view date, int16_t security, double& rate) {
    const DirectFile file(records::RateFileName(date), 8, false);
    Record rec;
    if (!file.ok() || !file.Read(security, rec)) return false;
    rate = rec.R8(0);
    return rate > 0 && std::isfinite(rate);
}

// Restates the price and amount of a trade whose extension carries a
// settlement date other than the one the transaction was last restated
// at: the price moves by the ratio of the security's rates on the
// settlement date and the trade date, and the amount by the quantity times
// the change in price, everything else of the amount (commission, fee,
// interest) staying as it was.
void RestateAtSettlementRate(TransactionRecord& t, const DirectFile& extensions, long r) {
    Record rec;
    if (!extensions.ok() || !extensions.Read(r, rec)) return;
    std::string settlement = records::TransactionExtension::Decode(rec).settlement_date;
    int16_t error = 0;
    float number = 0;
    Ckdat2(settlement, error, number, kSettlementLow, kSettlementHigh);
    if (error > 0 || settlement == t.SettlementDate()) return;

    const double m = -TradeCodeSign(t.code);
    const double q = t.quantity, p = t.price, a = t.amount, c = t.commission, z = t.bond_interest;
    const double y = t.SecFee();
    const double rest = m * (a - (p * q + c * m - y + z));
    double rate1 = 0, rate2 = 0;
    if (!ReadRate(t.trade_date, t.security_record, rate1)) return;
    if (!ReadRate(settlement, t.security_record, rate2)) return;
    const float price = static_cast<float>(rate2 * (p / rate1));
    const double amount = q * price + rest * m + c * m - y + z;
    // A rate too far from the other to give a number leaves the trade alone.
    if (!std::isfinite(price) || !std::isfinite(amount)) return;
    t.price = price;
    t.amount = amount;
    std::memcpy(t.extra.data(), settlement.data(), 8);
}

// ---- Security check

// The SECURITY.IDX key of the entry (unit 7): false when the entry lies
// outside the index, cannot be read or was never written.
bool SecurityEntry(int entry, int count, std::string& key) {
    if (entry < 1 || entry > count) return false;
    std::string read;
    if (records::Getadr(read, entry) != 0) return false;
    if (records::IsBlank(records::TrimRight(read.substr(0, 4)))) return false;
    key = Fixed(read, 12);
    return true;
}

// What the refresh of one account looks up for a security entry: its
// SECURITY.REC record, the current-security area and holding key built
// from it, and its SECURITY.IDX key. An account's transactions name a few
// hundred securities thousands of times, and neither file changes while
// the account is refreshed, so each entry is read once an account. A read
// that fails is not kept: it is tried again, as before, when asked again.
class SecurityLookups {
public:
    explicit SecurityLookups(int count) : count_(count) {}

    // The number of SECURITY.IDX entries the look-ups were made for.
    int count() const { return count_; }

    // The SECURITY.REC record of the entry (unit 8); nullptr when it cannot
    // be read.
    const Record* Security(int16_t entry) { return Read(At(entry), entry); }

    // The current-security area of the entry and its holding key; nullptr
    // when the entry's record cannot be read.
    const CurrentSecurity* Current(int16_t entry, double& key) {
        Slot& slot = At(entry);
        const Record* security = Read(slot, entry);
        if (security == nullptr) return nullptr;
        if (!slot.built) {
            slot.current = CurrentSecurity::FromRecord(*security, entry);
            slot.key = Trnkey(slot.current);
            slot.built = true;
        }
        key = slot.key;
        return &slot.current;
    }

    // SecurityEntry, kept once it has been read.
    bool IndexKey(int entry, std::string& key) {
        if (entry < 1 || entry > count_) return false;
        Slot& slot = At(static_cast<int16_t>(entry));
        if (slot.index == IndexState::Unknown) {
            slot.index = SecurityEntry(entry, count_, slot.index_key) ? IndexState::Found : IndexState::Missing;
        }
        if (slot.index != IndexState::Found) return false;
        key = slot.index_key;
        return true;
    }

private:
    enum class IndexState : uint8_t { Unknown, Found, Missing };
    struct Slot {
        bool read = false;
        bool built = false;
        IndexState index = IndexState::Unknown;
        Record security;
        CurrentSecurity current;
        double key = 0;
        std::string index_key;
    };

    static const Record* Read(Slot& slot, int16_t entry) {
        if (!slot.read) {
            if (!records::ReadRecord(kUpdateSecurityUnit, entry, slot.security)) return nullptr;
            slot.read = true;
        }
        return &slot.security;
    }

    // The slot of the entry, by the entry's 16 bits; each slot lives on
    // its own, so one handed out stays in place as others are added.
    Slot& At(int16_t entry) {
        const auto e = static_cast<std::size_t>(static_cast<uint16_t>(entry));
        if (e >= slots_.size()) slots_.resize(e + 1);
        std::unique_ptr<Slot>& slot = slots_[e];
        if (!slot) slot = std::make_unique<Slot>();
        return *slot;
    }

    int count_;
    std::vector<std::unique_ptr<Slot>> slots_;  // by entry (empty: none yet)
};

// The look-ups for an account's refresh. Within a run (records::CurrentRun)
// nothing writes SECURITY.IDX or SECURITY.REC, and the update reads the
// same securities for every account, so the look-ups are kept from one
// account to the next while the run and the index's count stay the same.
// Outside a run each refresh reads them anew.
SecurityLookups& LookupsFor(int count) {
    thread_local std::unique_ptr<SecurityLookups> kept;
    thread_local long kept_run = 0;
    const long run = records::CurrentRun();
    if (!kept || run == 0 || run != kept_run || kept->count() != count) {
        kept = std::make_unique<SecurityLookups>(count);
        kept_run = run;
    }
    return *kept;
}

// Checks the transaction's security entry against SECURITY.IDX: the symbol
// follows the index; a deleted entry whose symbol was entered again is
// re-pointed to the new entry; one not entered again gets a warning line.
// A transaction whose entry cannot be read is left as it is.
void CheckSecurity(std::string_view account, TransactionRecord& t, SecurityLookups& lookups, int16_t destination) {
    const bool cash = t.symbol.compare(0, 4, "CASH") == 0;
    if (cash && t.security_record <= 1) return;
    std::string entry;
    if (!lookups.IndexKey(t.security_record, entry)) return;
    const bool report = destination == kUpdateReportDestination;
    if (cash) {
        const std::string source = t.SourceSymbol();
        if (records::IsDeletedKey(entry)) {
            const int found = records::Newsym(source);
            if (found == 0) {
                if (report) WarnCashDeleted(account, source);
                return;
            }
            t.security_record = static_cast<int16_t>(found);
            entry = Fixed(source, 12);
        }
        std::memcpy(t.extra.data(), entry.data(), 12);
        return;
    }
    if (!records::IsDeletedKey(entry)) {
        t.symbol = entry;
        return;
    }
    const int found = records::Newsym(t.symbol);
    if (found != 0) {
        t.security_record = static_cast<int16_t>(found);
    } else if (report) {
        WarnDeleted(account, t.symbol);
    }
}

// ---- Gains refresh

// The account's gains file (not created when missing), read whole the
// first time a gain is refreshed. A record the refresh changes is written
// to the file and into the copy, so the copy holds what the file does.
class GainsFile {
public:
    explicit GainsFile(const std::string& account)
        : file_(records::Paknam(account, "GL", ".REC"), records::kAccountRecordLength, false) {}

    // Record n's bytes; nullptr when the file is missing or the record lies
    // (partly) past its end, as a read of it fails.
    unsigned char* Find(long n) {
        if (!file_.ok() || n < 1) return nullptr;
        if (!read_) {
            read_ = true;
            if (!file_.ReadWhole(bytes_)) bytes_.clear();
        }
        const std::size_t length = records::kAccountRecordLength;
        if (static_cast<std::size_t>(n) * length > bytes_.size()) return nullptr;
        return bytes_.data() + static_cast<std::size_t>(n - 1) * length;
    }

    // Writes rec as record n, which Find gave.
    void Write(long n, const Record& rec) {
        std::memcpy(bytes_.data() + static_cast<std::size_t>(n - 1) * records::kAccountRecordLength, rec.data(),
                    records::kAccountRecordLength);
        file_.Write(n, rec);
    }

private:
    DirectFile file_;
    bool read_ = false;
    std::vector<unsigned char> bytes_;
};

// Copies the security's current description lines and the transaction's
// symbol into the gain record the transaction names (record 1 is the
// header and is never a gain). The record's other bytes stay as they are,
// so it is written only when one of these changed. scratch: a 128-byte
// record to work in.
void RefreshGain(GainsFile& gains, const TransactionRecord& t, SecurityLookups& lookups, Record& scratch) {
    if (t.gain_record < 2) return;
    const unsigned char* stored = gains.Find(t.gain_record);
    if (stored == nullptr) return;
    std::memcpy(scratch.data(), stored, records::kAccountRecordLength);
    const int16_t entry = records::GainRecord::SecurityRecordOf(scratch);
    if (entry < 1) return;
    const Record* security = lookups.Security(entry);
    if (security == nullptr) return;
    const std::string_view texts(reinterpret_cast<const char*>(security->data()), security->size());
    records::GainRecord::SetTexts(scratch, texts.substr(12, 32), texts.substr(44, 32), t.symbol);
    if (std::memcmp(scratch.data(), stored, records::kAccountRecordLength) != 0)
        gains.Write(t.gain_record, scratch);
}

}  // namespace

// ---- Holding keys

CurrentSecurity CurrentSecurity::FromRecord(const Record& rec, int16_t entry) {
    CurrentSecurity s;
    s.symbol = rec.Text(0, 12);
    s.type = rec.Text(76, 4);
    s.category = rec.Text(80, 4);
    s.date = rec.Text(88, 8);
    int16_t month = 0, day = 0, year = 0;
    if (!records::Redate(s.date, month, day, year)) month = day = year = 0;
    s.date_number = static_cast<float>(year * 10000 + month * 100 + day);
    s.entry = entry;
    return s;
}

CurrentSecurity& CurrentSecurityBlock() {
    static CurrentSecurity block;
    return block;
}

double Trnkey(const CurrentSecurity& security) {
    return records::Gtprcd(security.type.empty() ? ' ' : security.type[0], security.category,
                           security.date_number, security.symbol);
}

void Trnkey(double& key) {
    key = Trnkey(CurrentSecurityBlock());
}

// ---- Settlement date check

void Ckdat2(std::string& date, int16_t& error, float& number, float low, float high) {
    // The shared date check, with the two-digit-year window, so settlement
    // dates of 2000 to 2050 lie within the limits.
    switch (records::CheckDateText(date, number, low, high)) {
        case records::DateCheck::kValid: error = kDateChecked; break;
        case records::DateCheck::kBelowLow: error = kDateBelowLow; break;
        case records::DateCheck::kAboveHigh: error = kDateAboveHigh; break;
        case records::DateCheck::kOutOfRange: error = kDateOutOfRange; break;
        case records::DateCheck::kMalformed: error = kDateMalformed; break;
    }
}

// ---- The refresh of one account

void Acctrn(std::string_view account_in, int16_t destination) {
    const std::string account = Fixed(account_in, 8);
    // Files that do not exist are not created: an account without
    // transactions has nothing to refresh.
    DirectFile transactions(records::Paknam(account, "TR", ".REC"), records::kAccountRecordLength, false);
    const DirectFile extensions(records::Paknam(account, "TR", ".EXT"), records::kAccountRecordLength, false);
    if (!transactions.ok()) return;
    // The transactions are read from the file mapped whole; each record is
    // rewritten, when the refresh changes it, after it has been read, and
    // the loop never goes back, so the bytes read are every record as the
    // loop comes to it.
    const std::size_t length = records::kAccountRecordLength;
    const records::MappedRecords stored(records::Paknam(account, "TR", ".REC"), length);
    const long held = stored.Count();
    if (held < 1) return;
    Record rec(length);
    std::memcpy(rec.data(), stored.data(), length);
    // The gains file is opened once for the account's transactions.
    GainsFile gains(account);
    const long last = records::TransactionFileHeader::Decode(rec).last_record;
    SecurityLookups& lookups = LookupsFor(records::IndexCount(kUpdateSecurityIndexUnit));
    // The current-security block ends as the last transaction with a
    // security entry leaves it. Nothing in the loop reads it, so it is set
    // once, when the refresh ends, however it ends.
    struct LastSecurity {
        const CurrentSecurity* current = nullptr;
        ~LastSecurity() {
            if (current != nullptr) CurrentSecurityBlock() = *current;
        }
    } last_security;
    TransactionRecord t;  // decoded into for each transaction
    for (long r = 2; r <= last; ++r) {
        if (r > held) return;
        const unsigned char* bytes = stored.data() + static_cast<std::size_t>(r - 1) * length;
        TransactionRecord::DecodeFrom(bytes, t);
        if (t.IsDeleted()) continue;

        RestateAtSettlementRate(t, extensions, r);

        // The holding key follows the security master. A transaction with
        // no security entry keeps its key: there is nothing to build one
        // from.
        if (t.security_record > 0) {
            const CurrentSecurity* current = lookups.Current(t.security_record, t.holding_key);
            if (current == nullptr) return;
            last_security.current = current;
        }

        CheckSecurity(account, t, lookups, destination);

        // A transaction the refresh left as it was is not written again:
        // the file would get the bytes it holds.
        if (!t.EncodesTo(bytes)) {
            t.Encode(rec);
            if (!transactions.Write(r, rec)) return;
        }
        if (t.gain_record > 0) RefreshGain(gains, t, lookups, rec);
    }
}

// ---- The update of the data base

int Getacc() {
    UpdateOutcome outcome;
    return Getacc(outcome);
}

int Getacc(UpdateOutcome& outcome) {
    outcome = UpdateOutcome{};
    // One run over every account: the files each account reads again stay open.
    records::RunFileCache run;
    std::string name;
    const std::string blank(records::kReportLineWidth, ' ');
    records::Prtout(blank, "START", name);
    records::Prtout(records::Write("(32X,'Update Database')"));
    records::Prtout(records::Write("(32X,'---------------')"));
    records::Prtout(blank);
    {
        records::Open(kUpdateAccountIndexUnit, records::kAccountIndex);
        records::UnitGuard account_index(kUpdateAccountIndexUnit);
        records::Open(kUpdateSecurityIndexUnit, records::kSecurityIndex);
        records::UnitGuard security_index(kUpdateSecurityIndexUnit);
        const int count = records::IndexCount(kUpdateAccountIndexUnit);
        for (int k = 1; k <= count; ++k) {
            std::string key;
            if (!records::ReadIndexKey(kUpdateAccountIndexUnit, k, records::kAccountKeyWidth,
                                       records::kAccountKeysPerRecord, key))
                break;
            if (records::IsDeletedKey(key)) continue;
            // A blank key (or one never written) ends the index.
            if (records::IsBlank(records::TrimRight(key.substr(0, 4)))) break;
            {
                records::Open(kUpdateSecurityUnit, records::kSecurityRecords);
                records::UnitGuard securities(kUpdateSecurityUnit);
                Acctrn(key, kUpdateReportDestination);
            }
            // The stored holdings and gains are replaced only by a replay
            // that went through; otherwise they stay as they were.
            int16_t flag = kReplayDone;
            std::optional<records::WriteFault> fault;
            Rbldhl(key, flag, fault);
            if (flag == kReplayDone) {
                ++outcome.rebuilt;
            } else {
                WarnNotRebuilt(key, flag);
                outcome.not_rebuilt.push_back(records::TrimRight(key));
                if (!outcome.fault) outcome.fault = fault;
            }
        }
    }
    // A rebuild that went through moved its work files over the account's
    // files; one that failed left them behind, and nothing reads them
    // after the update (a report replays before it reads them). They go
    // once the last account is done, and the space they hold with them.
    // The rebuild took their lost writes; any left are still told at the
    // run's end. A file that cannot be deleted stays, untold.
    if (outcome.rebuilt > 0 || !outcome.not_rebuilt.empty()) {
        for (const std::string& work : {HoldingsWorkName(), GainsWorkName(), LotTextsWorkName()})
            records::DeleteFile(work);
    }
    records::Prtout(blank, "END", name);
    return 0;
}

}  // namespace engine
