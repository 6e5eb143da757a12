#include "engine/posting_steps.h"

#include <cstdio>
#include <filesystem>

#include "engine/rebuild.h"
#include "engine/replay.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/record.h"

namespace engine {

namespace {

using records::Record;

constexpr std::size_t kLength = records::kAccountRecordLength;

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
    // The file may be open with writes still in the record layer's buffer.
    records::FlushPendingWrites();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return bytes;
    unsigned char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

// Runs Ckdatm; false, with its message, when the date failed.
bool DatePassed(std::string& date, float& number, float low, float high, std::string& message) {
    int16_t flag = 0;
    Ckdatm(date, flag, number, low, high, message);
    return flag == 0;
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

// ---- Checks of form fields

void CheckDate(EntryForm& form, int n, std::string& date, float& number, float low, float high) {
    std::string message;
    if (!DatePassed(date, number, low, high, message)) form.Reject(n, message);
}

void CheckDate(EntryForm& form, int n, std::string& date, float& number, float low, float high,
               std::string_view message) {
    std::string ignored;
    if (!DatePassed(date, number, low, high, ignored)) form.Reject(n, message);
}

// ---- Filing

void Crtext(std::string_view name, int prefill) {
    records::DirectFile file(name, kLength);
    const Record blanks(kLength, ' ');
    for (int n = 1; n <= prefill; ++n) file.Write(n, blanks);
}

bool ExtensionFileWanted(const records::Options& options) {
    return records::OptionOn(options, records::Opt::kTransactionTexts) ||
           records::OptionOn(options, records::Opt::kLotTexts);
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
        // The header counts records in 16 bits: a file at 32,767 records
        // takes no more, since a wrapped count would hide every transaction
        // from the rebuild.
        if (last >= INT16_MAX) return false;
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

bool FileAndRebuild(std::string_view account, PostingMode mode, int32_t& record,
                    const records::TransactionRecord& transaction, std::string_view extension_date,
                    const records::Options& options, EntryForm& form) {
    const bool with_extension = ExtensionFileWanted(options);
    FileSnapshots snapshots;
    KeepTransactionFiles(snapshots, account, with_extension);
    KeepHoldingsFiles(snapshots, account);
    const int32_t given_record = record;
    if (!FileTransaction(account, mode, record, transaction, extension_date, with_extension, true)) {
        snapshots.Restore();
        record = given_record;
        form.Reject(9, kNotFiled);
        return false;
    }
    int16_t rebuild = 0;
    Rbldhl(account, rebuild);
    if (rebuild != kReplayDone) {
        snapshots.Restore();
        record = given_record;
        form.Reject(9, rebuild == kWorkFilesFailed ? kNotFiled : kLotSold);
        return false;
    }
    return true;
}

}  // namespace engine
