#include "engine/accounts.h"

#include <array>
#include <set>
#include <vector>

#include "records/account_records.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/lookups.h"
#include "records/record.h"

namespace engine {

namespace {

using records::Record;

constexpr std::size_t kRecordLength = 128;
constexpr int kIndexUnit = 6;
constexpr int kRecordUnit = 7;

// Offset of the short name in an account's second record.
constexpr std::size_t kShortNameOffset = 52;

constexpr const char* kInvalidIdentifier = "invalid account identifier";
constexpr const char* kAlreadyInSystem = "is already in the system.";
constexpr const char* kRecordsNotCopied = "the account records could not be copied";
constexpr const char* kCouldNotWrite = "could not write ";

// Characters that a file name on some system the data may travel to cannot
// hold, or that the record layer reads as separators or wild cards.
constexpr std::string_view kRefusedCharacters = "'.$\"/\\[]:|<>+=;,()*?^`";

void Refuse(int16_t& error, std::string& message, std::string_view text) {
    error = 1;
    message = records::Fixed(text, kCopyMessageWidth);
}

// A file image built record by record; records never put stay zero, as
// the gaps of a new direct-access file do.
class FileImage {
public:
    void Put(long n, const Record& rec) {
        const std::size_t at = static_cast<std::size_t>(n - 1) * kRecordLength;
        if (bytes_.size() < at + kRecordLength) bytes_.resize(at + kRecordLength, 0);
        for (std::size_t i = 0; i < kRecordLength; ++i) bytes_[at + i] = i < rec.size() ? rec.data()[i] : 0;
    }
    const std::vector<unsigned char>& bytes() const { return bytes_; }

private:
    std::vector<unsigned char> bytes_;
};

// Opens a file of the source account for reading only: a missing file is
// not created, it just has no records.
records::DirectFile OpenSource(std::string_view account, std::string_view kind, std::string_view extension) {
    return records::DirectFile(records::Paknam(account, kind, extension), kRecordLength, false);
}

// Holdings: the lots reached from the first lot, in their record places,
// under a header holding only the first four fields with the new
// identifier. The cash lot is copied with security record 1.
//
// The deleted records of the free chain are copied too: the header keeps
// the source's next-free record, and a posting that takes a record from
// the chain reads the chain's next link from it; a zero record there would
// end the chain at 0 and make the header read as an empty file.
FileImage CopyHoldings(std::string_view source, std::string_view target) {
    const records::DirectFile in = OpenSource(source, "HL", ".REC");
    FileImage out;
    Record rec;
    records::HoldingsHeader header;  // empty: first lot -1, in use 1, next free 2
    if (in.Read(1, rec)) header = records::HoldingsHeader::Decode(rec);

    std::set<long> visited = {1};  // a link back to the header, or a loop, ends a walk
    for (long k = header.first_lot; k >= 1 && visited.insert(k).second && in.Read(k, rec);) {
        records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
        if (lot.symbol.compare(0, 4, "CASH") == 0) {
            lot.security_record = 1;
            lot.Encode(rec);
        }
        out.Put(k, rec);
        k = lot.next;
    }
    for (long k = header.next_free;
         k >= 1 && visited.insert(k).second && in.Read(k, rec) && records::DeletedLot::Is(rec);) {
        out.Put(k, rec);
        k = records::DeletedLot::Decode(rec).next_free;
    }

    Record head(kRecordLength, 0);
    head.SetI16(0, header.first_lot);
    head.SetText(2, 8, target);
    head.SetI16(10, header.records_in_use);
    head.SetI16(12, header.next_free);
    out.Put(1, head);
    return out;
}

// A record-by-record copy from record 1 until a record cannot be read,
// however many records the file holds. With set_identifier, record 1 of
// the copy (if there is one) takes the new identifier in bytes 1-8.
FileImage CopyRecords(std::string_view source, std::string_view target, std::string_view kind,
                      std::string_view extension, bool set_identifier) {
    const records::DirectFile in = OpenSource(source, kind, extension);
    FileImage out;
    Record rec;
    for (long n = 1; in.Read(n, rec); ++n) {
        if (n == 1 && set_identifier) rec.SetText(0, 8, target);
        out.Put(n, rec);
    }
    return out;
}

// Adds the new account at the end of ACCOUNT.REC and ACCOUNT.IDX. The
// account's records go first, then its key, then the count in record 1, so
// the index never names an account whose records are not there.
bool AppendAccount(std::string_view target, const std::array<Record, 8>& block) {
    records::Open(kIndexUnit, records::kAccountIndex);
    records::UnitGuard index_guard(kIndexUnit);
    records::Open(kRecordUnit, records::kAccountRecords);
    records::UnitGuard record_guard(kRecordUnit);

    Record first;
    if (!records::ReadRecord(kIndexUnit, 1, first)) return false;
    const int count = first.I16(0);
    const int new_count = count + 1;
    if (new_count > INT16_MAX) return false;
    const int b = (new_count - 1) / records::kAccountKeysPerRecord + 1;
    const long key_record = b + 1;
    const int first_key = records::kAccountKeysPerRecord * b - (records::kAccountKeysPerRecord - 1);

    Record keys(kRecordLength, ' ');
    if (first_key < new_count && !records::ReadRecord(kIndexUnit, key_record, keys)) return false;
    keys.SetText(static_cast<std::size_t>(new_count - first_key) * records::kAccountKeyWidth,
                 records::kAccountKeyWidth, target);

    const long base = records::AccountBaseRecord(new_count);
    for (int i = 0; i < records::kRecordsPerAccount; ++i)
        if (!records::WriteRecord(kRecordUnit, base + i, block[static_cast<std::size_t>(i)])) return false;
    if (!records::WriteRecord(kIndexUnit, key_record, keys)) return false;
    first.SetI16(0, static_cast<int16_t>(new_count));
    return records::WriteRecord(kIndexUnit, 1, first);
}

}  // namespace

int16_t Ckacid(std::string_view identifier) {
    const std::string id = records::Fixed(identifier, 8);
    if (id == "        ") return 1;
    const std::string_view significant = std::string_view(id).substr(0, 6);
    const std::size_t last = significant.find_last_not_of(' ');
    const std::size_t length = last == std::string_view::npos ? 1 : last + 1;
    for (std::size_t i = 0; i < length; ++i)
        if (significant[i] == ' ') return 1;
    for (char c : significant) {
        const int code = static_cast<unsigned char>(c);
        if (code < 32 || code > 96) return 1;
        if (kRefusedCharacters.find(c) != std::string_view::npos) return 1;
    }
    return 0;
}

void Fndacc(std::string_view identifier, int16_t& entry, std::string& name) {
    entry = 0;
    name = std::string(32, ' ');
    const std::string key = records::Fixed(identifier, records::kAccountKeyWidth);
    {
        records::Open(kIndexUnit, records::kAccountIndex);
        records::UnitGuard guard(kIndexUnit);
        Record rec;
        if (!records::ReadRecord(kIndexUnit, 1, rec)) return;
        const int count = rec.I16(0);
        for (int f = 1, r = 2; f <= count && entry == 0; f += records::kAccountKeysPerRecord, ++r) {
            if (!records::ReadRecord(kIndexUnit, r, rec)) return;
            for (int j = 1; j <= records::kAccountKeysPerRecord && f + j - 1 <= count; ++j) {
                const std::size_t at = static_cast<std::size_t>(j - 1) * records::kAccountKeyWidth;
                if (rec.Text(at, records::kAccountKeyWidth) == key) {
                    entry = static_cast<int16_t>(f + j);
                    break;
                }
            }
        }
    }
    if (entry == 0) return;
    records::Open(kRecordUnit, records::kAccountRecords);
    records::UnitGuard guard(kRecordUnit);
    Record rec;
    if (records::ReadRecord(kRecordUnit, 8L * entry - 14, rec)) name = rec.Text(kShortNameOffset, 32);
}

void Cpyacc(std::string_view source_identifier, std::string_view new_identifier, int16_t& error,
            std::string& message, int /*message_length*/) {
    error = 0;
    const std::string source = records::Fixed(source_identifier, 8);
    const std::string target = records::Fixed(new_identifier, 8);

    const int e = records::Ckclnt(source).entry;
    if (e <= 0 || Ckacid(target) == 1) {
        Refuse(error, message, kInvalidIdentifier);
        return;
    }
    int16_t existing = 0;
    std::string name;
    Fndacc(target, existing, name);
    if (existing >= 1) {
        Refuse(error, message, target + kAlreadyInSystem);
        return;
    }

    // The source's eight records, unchanged; an account whose records cannot
    // all be read is not copied.
    std::array<Record, 8> block;
    {
        const records::DirectFile recs(records::kAccountRecords, kRecordLength, false);
        const long base = 8L * e - 15;
        for (int i = 0; i < records::kRecordsPerAccount; ++i) {
            if (!recs.Read(base + i, block[static_cast<std::size_t>(i)])) {
                Refuse(error, message, kRecordsNotCopied);
                return;
            }
        }
    }

    // The account's own files, each replaced whole under the new name. A
    // file that could not be written stops the copy before the account is
    // added; a copy already written under the new name is orphaned and is
    // replaced by the next copy to that name.
    struct Copy {
        std::string name;
        FileImage image;
    };
    const std::array<Copy, 4> copies = {{
        {records::Paknam(target, "HL", ".REC"), CopyHoldings(source, target)},
        {records::Paknam(target, "GL", ".REC"), CopyRecords(source, target, "GL", ".REC", true)},
        {records::Paknam(target, "HL", ".DAT"), CopyRecords(source, target, "HL", ".DAT", true)},
        {records::Paknam(target, "TR", ".REC"), CopyRecords(source, target, "TR", ".REC", false)},
    }};
    for (const Copy& copy : copies) {
        if (!records::ReplaceFile(copy.name, copy.image.bytes())) {
            Refuse(error, message, kCouldNotWrite + records::TrimRight(copy.name));
            return;
        }
    }

    if (!AppendAccount(target, block)) Refuse(error, message, kRecordsNotCopied);
}

}  // namespace engine
