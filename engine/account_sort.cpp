#include "engine/account_sort.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/value_history.h"
#include "records/account_file.h"
#include "records/account_lists.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/sorts.h"

namespace engine {

namespace {

using records::Record;

constexpr std::size_t kRecordLength = 128;

// ---- Account sort

constexpr int kAccountRecordUnit = 7;
constexpr int kIndexWorkUnit = 8;  // the merge of the sort runs writes its key records here
constexpr int kRecordWorkUnit = 9;
constexpr int kFirstRunUnit = 12;  // SORT1.DAT; the merge reads SORTi.DAT on unit 11 + i
constexpr const char* kIndexWorkFile = "ACCTIDX.TMP";
constexpr const char* kRecordWorkFile = "ACCTREC.TMP";

std::string RunFileName(int i) {
    return records::Write("('SORT',I1,'.DAT   ')", {static_cast<long long>(i)});
}

// Closes the work units and deletes the sort runs, and on failure the two
// work files, so that nothing of an abandoned sort is left behind.
void EndSort(int runs, bool failed) {
    records::Close(kAccountRecordUnit);
    if (failed) {
        records::CloseDelete(kIndexWorkUnit);
        records::CloseDelete(kRecordWorkUnit);
    } else {
        records::Close(kIndexWorkUnit);
        records::Close(kRecordWorkUnit);
    }
    for (int i = 1; i <= runs; ++i) {
        const int unit = kFirstRunUnit + i - 1;
        if (records::IsOpen(unit))
            records::CloseDelete(unit);
        else
            records::Purge(RunFileName(i));
    }
}

// ---- Value history

constexpr int kHistoryEndMonth = 12;

std::string HistoryFileName(std::string_view account) {
    return records::Paknam(account, "HL", ".DAT");
}

// Month and windowed year of a date text; false when it does not read as a
// date with a month from 1 to 12.
bool MonthAndYear(std::string_view date, int16_t& month, int16_t& year) {
    int16_t day = 0, yy = 0;
    if (!records::Redate(records::Fixed(date, 8), month, day, yy)) return false;
    if (month < 1 || month > 12 || yy < 0 || yy > 99) return false;
    year = static_cast<int16_t>(records::WindowYear(yy));
    return true;
}

// The program date of COMMON.FIL record 2 (bytes 1-8); false when it
// cannot be read.
bool ProgramDate(std::string& date) {
    const records::DirectFile common(records::kCommonFile, kRecordLength, false);
    Record rec;
    if (!common.Read(records::kProgramDateRecord, rec)) return false;
    date = rec.Text(0, 8);
    return true;
}

Record EmptyYearRecord(int16_t year) {
    Record rec(kRecordLength, 0);
    ValueHistoryYear empty;
    empty.year = year;
    empty.Encode(rec);
    return rec;
}

// A history file image: record 1 the header, then the year records.
std::vector<unsigned char> HistoryImage(const Record& header, const std::vector<Record>& years) {
    std::vector<unsigned char> bytes;
    bytes.reserve((years.size() + 1) * kRecordLength);
    auto append = [&bytes](const Record& rec) {
        for (std::size_t i = 0; i < kRecordLength; ++i) bytes.push_back(i < rec.size() ? rec.data()[i] : 0);
    };
    append(header);
    for (const Record& rec : years) append(rec);
    return bytes;
}

void AppendEmptyYear(std::vector<Record>& years, int16_t year) {
    for (int i = 0; i < 4; ++i) years.push_back(EmptyYearRecord(year));
}

}  // namespace

void Accsrt() {
    Record first;
    {
        const records::DirectFile index(records::kAccountIndex, kRecordLength, false);
        if (!index.Read(1, first)) return;
    }
    const int16_t w2 = first.I16(2);
    const int16_t w3 = first.I16(4);
    const int16_t w4 = 1;

    std::vector<std::string> identifiers;
    std::vector<long> bases;
    int n = 0, runs = 0;
    int16_t status = 0;
    records::Bldacl(identifiers, n, bases, records::kListByIdentifier, records::Options{}, status, runs);
    if (status >= 1 || n <= 1) {
        EndSort(runs, false);
        return;
    }

    // Work files from an earlier sort that stopped must not lend records to
    // this one.
    records::Purge(kIndexWorkFile);
    records::Purge(kRecordWorkFile);
    records::Open(kAccountRecordUnit, records::kAccountRecords);
    records::Open(kIndexWorkUnit, kIndexWorkFile);
    records::Open(kRecordWorkUnit, kRecordWorkFile);

    // A list that fits one run has its key records written below and the
    // third header word set to 1; a list sorted in runs gets its key records
    // from the merge and keeps the word as it was.
    Record header(kRecordLength, 0);
    header.SetI16(0, static_cast<int16_t>(n));
    header.SetI16(2, w2);
    header.SetI16(4, runs == 0 ? int16_t{1} : w3);
    header.SetI16(6, w4);
    bool ok = records::WriteRecord(kIndexWorkUnit, 1, header);

    for (int i = 1; i <= runs; ++i) records::Open(kFirstRunUnit + i - 1, RunFileName(i));
    records::MergeState merge;
    merge.output_record = 2;
    merge.read_positions.assign(static_cast<std::size_t>(runs), 1);

    Record rec;
    for (int k = 1; ok && k <= n; ++k) {
        long s = 0;
        if (runs == 0) {
            s = bases[static_cast<std::size_t>(k - 1)];
        } else {
            int16_t tag = 0;
            records::Rdsort(runs, merge, tag, records::kSortByIdentifier, k == n ? 1 : 0);
            if (tag <= 0) {  // the runs hold fewer accounts than the list
                ok = false;
                break;
            }
            s = records::AccountBaseRecord(tag);
        }
        // An account whose records cannot all be read or written stops the
        // sort: the account files must not lose it.
        for (int i = 0; ok && i < records::kRecordsPerAccount; ++i)
            ok = records::ReadRecord(kAccountRecordUnit, s + i, rec) &&
                 records::WriteRecord(kRecordWorkUnit, 8L * k - 7 + i, rec);
    }
    if (ok && records::RecordCount(kRecordWorkUnit) != 8L * n) ok = false;

    if (ok && runs == 0) {
        for (int j = 2; ok && 16 * (j - 2) + 1 <= n; ++j) {
            Record keys(kRecordLength, ' ');
            for (int p = 16 * (j - 2) + 1; p <= std::min(16 * (j - 1), n); ++p)
                keys.SetText(static_cast<std::size_t>(p - 16 * (j - 2) - 1) * records::kAccountKeyWidth,
                             records::kAccountKeyWidth, identifiers[static_cast<std::size_t>(p - 1)]);
            ok = records::WriteRecord(kIndexWorkUnit, j, keys);
        }
    }
    const long key_records = (n + records::kAccountKeysPerRecord - 1) / records::kAccountKeysPerRecord;
    if (ok && records::RecordCount(kIndexWorkUnit) != 1 + key_records) ok = false;

    EndSort(runs, !ok);
    if (!ok) return;
    // Records first, then the index; when the records cannot be moved both
    // account files stay as they were.
    if (!records::MoveFileOver(kRecordWorkFile, records::kAccountRecords)) {
        records::Purge(kRecordWorkFile);
        records::Purge(kIndexWorkFile);
        return;
    }
    if (!records::MoveFileOver(kIndexWorkFile, records::kAccountIndex)) records::Purge(kIndexWorkFile);
}

std::string SaveAccountFiles(const std::vector<std::unique_ptr<records::CAccountEntry>>& accounts,
                             unsigned char flag) {
    const std::string failed = records::SaveAccountFile(accounts, flag);
    if (!failed.empty()) return failed;
    for (const auto& account : accounts)
        Hlinit(records::Fixed(account->identifier, 8), records::Fixed(account->date_opened, 8));
    Accsrt();
    return {};
}

void Hlinit(std::string_view account, std::string_view start_date) {
    std::string program_date;
    if (!ProgramDate(program_date)) return;
    const std::string name = HistoryFileName(account);
    {
        const records::DirectFile file(name, kRecordLength, false);
        Record rec;
        if (file.Read(1, rec)) {
            int16_t error = 0;
            Hlresp(account, start_date, error);
            return;
        }
    }
    int16_t start_month = 0, start_year = 0, program_month = 0, program_year = 0;
    if (!MonthAndYear(start_date, start_month, start_year)) return;
    if (!MonthAndYear(program_date, program_month, program_year)) return;
    const int16_t last_year = std::max(start_year, program_year);

    std::vector<Record> years;
    for (int16_t y = start_year; y <= last_year; ++y) AppendEmptyYear(years, y);
    ValueHistoryHeader header;
    header.account = records::Fixed(account, 8);
    header.start_month = start_month;
    header.first_year = start_year;
    header.end_month = kHistoryEndMonth;
    header.last_year = last_year;
    header.years = static_cast<int16_t>(last_year - start_year + 1);
    Record head(kRecordLength, 0);
    header.Encode(head);
    records::ReplaceFile(name, HistoryImage(head, years));
}

void Hlresp(std::string_view account, std::string_view start_date, int16_t& error) {
    error = kRespanDone;
    const std::string name = HistoryFileName(account);
    int16_t m = 0, y = 0;
    if (!MonthAndYear(start_date, m, y)) {
        error = kRespanBadDate;
        return;
    }
    Record head;
    ValueHistoryHeader header;
    std::vector<Record> stored;
    {
        records::DirectFile file(name, kRecordLength, false);
        if (!file.Read(1, head)) {
            error = kRespanUnreadable;
            return;
        }
        header = ValueHistoryHeader::Decode(head);
        const int sy = header.first_year, ey = header.last_year;
        if (y == sy) {
            header.start_month = m;
            header.Encode(head);
            file.Write(1, head);
            return;
        }
        if (!header.SpanFits(y)) {
            error = kRespanTooLong;
            return;
        }
        const long count = 4L * std::max(0, ey - sy + 1);
        Record rec;
        for (long r = 2; r < 2 + count; ++r) {
            if (!file.Read(r, rec)) {
                error = kRespanUnreadable;
                return;
            }
            stored.push_back(rec);
        }
    }

    const int16_t sy = header.first_year, ey = header.last_year;
    std::vector<Record> years;
    if (y < sy) {
        for (int16_t p = y; p < sy; ++p) AppendEmptyYear(years, p);
        years.insert(years.end(), stored.begin(), stored.end());
        header.years = static_cast<int16_t>(ey - y + 1);
    } else if (y <= ey) {
        years.assign(stored.begin() + 4L * (y - sy), stored.end());
        header.years = static_cast<int16_t>(ey - y + 1);
    } else {
        AppendEmptyYear(years, y);
        header.end_month = kHistoryEndMonth;
        header.last_year = y;
        header.years = 1;
    }
    header.account = records::Fixed(account, 8);
    header.start_month = m;
    header.first_year = y;
    header.Encode(head);
    records::ReplaceFile(name, HistoryImage(head, years));
}

}  // namespace engine
