#include "reports/performance/combined_performance.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <vector>

#include "engine/value_history.h"
#include "records/account_lists.h"
#include "records/chars.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/lookups.h"
#include "records/performance_control.h"
#include "records/record.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/report_frame.h"
#include "reports/performance/performance_accounts.h"

namespace reports {

namespace {

constexpr std::size_t kRecordLength = 128;
constexpr int kCompositeUnit = 8;
constexpr int kMemberUnit = 9;
constexpr double kNoValue = engine::kNoMarketValue;

// A member of the composite: the account's performance fields, its
// inception key (YYMMDD with years 0-50 as 100 + YY) and its history's
// header.
struct Member {
    std::string id;
    records::PerformanceAccount fields;
    double key = 0;
    engine::ValueHistoryHeader history;
};

// The fourth account record's start month and year, when they name one
// (blanks, which new accounts carry, read as 8224 and do not).
bool HasStart(const records::PerformanceAccount& a) {
    return a.carry_month >= 1 && a.carry_month <= 12 && a.carry_year >= 1 && a.carry_year <= 150;
}

// The account's starting value: the value at its start when it has one,
// else its initial value.
double StartingValue(const records::PerformanceAccount& a) {
    return HasStart(a) ? a.carried_gain : a.initial_value;
}

double InceptionKey(std::string_view date) {
    int16_t month = 0, day = 0, year = 0;
    records::Redate(date, month, day, year);
    const int y = records::WindowYear(year);
    return static_cast<double>(y) * 10000 + month * 100 + day;
}

// Splits a YYMMDD key into month, day and year.
void Cmbymd(double key, int16_t& month, int16_t& day, int16_t& year) {
    const records::DateNumberParts parts = records::SplitDateNumber(static_cast<long>(key));
    year = static_cast<int16_t>(parts.year);
    month = static_cast<int16_t>(parts.month);
    day = static_cast<int16_t>(parts.day);
}

bool ReadYear(int unit, long n, records::Record& rec, engine::ValueHistoryYear& year) {
    if (!records::ReadRecord(unit, n, rec)) return false;
    year = engine::ValueHistoryYear::Decode(rec);
    return true;
}

bool WriteYear(int unit, long n, records::Record& rec, const engine::ValueHistoryYear& year) {
    year.Encode(rec);
    return records::WriteRecord(unit, n, rec);
}

class Composite {
public:
    Composite(int16_t& status, CompositeRequest& request) : status_(status), rq_(request) {}
    void Run();

private:
    bool Gather();
    bool GatherList();
    bool GatherManager();
    bool GatherComposite();
    bool Enter(const std::string& id);
    bool Fail(const std::string& line);
    void Cmbcpy(const Member& first, int from_year, int to_year);
    void Cmbmrg(const Member& member);
    void WriteControl(double start_value, float to_number);

    int16_t& status_;
    CompositeRequest& rq_;
    std::vector<Member> members_;
    int16_t first_year_ = 0;
    int16_t to_month_ = 0, to_day_ = 0, to_year_ = 0;
};

bool Composite::Fail(const std::string& line) {
    ReportFrame frame = ReportFrame::ForOutputMode(rq_.output_name, rq_.output_mode);
    frame.Line(line);
    return false;
}

// One member: its fields and its history's header, both of which must be
// there.
bool Composite::Enter(const std::string& raw) {
    const std::string id = records::Fixed(raw, 8);
    Member m;
    m.id = id;
    m.fields = records::Ckct75(id);
    if (m.fields.position == 0)
        return Fail(records::Write("(1X,'ACCOUNT ',A8,' IS NOT IN ACCOUNT.IDX: NO COMPOSITE IS REPORTED')",
                                   {std::string_view(id)}));
    // The second and fourth account records give the member's opening date
    // and starting value: without them the member cannot be placed.
    {
        const records::DirectFile accounts(records::kAccountRecords, kRecordLength, /*create=*/false);
        const long base = records::AccountBaseRecord(m.fields.position);
        records::Record probe;
        if (!accounts.Read(base + 1, probe) || !accounts.Read(base + 3, probe))
            return Fail(std::string(" ") + records::kAccountRecords +
                        " COULD NOT BE READ: NO COMPOSITE IS REPORTED");
    }
    const std::string name = records::TrimRight(records::Paknam(id, "HL", ".DAT"));
    const records::DirectFile file(name, kRecordLength, /*create=*/false);
    records::Record rec;
    if (!file.Read(1, rec)) return Fail(" " + name + " COULD NOT BE READ: NO COMPOSITE IS REPORTED");
    m.history = engine::ValueHistoryHeader::Decode(rec);
    m.key = InceptionKey(m.fields.opening_date);
    members_.push_back(std::move(m));
    return true;
}

// Kind S: the identifiers of the account-list file.
bool Composite::GatherList() {
    const std::string name = records::TrimRight(rq_.list_file);
    if (!records::TextFile(name, /*create=*/false).ok())
        return Fail(" " + name + " COULD NOT BE READ: NO COMPOSITE IS REPORTED");
    std::vector<std::string> ids;
    int count = 0;
    records::Rdaclst(ids, count, name);
    for (int k = 0; k < count && k < static_cast<int>(ids.size()); ++k) {
        if (records::TrimRight(ids[static_cast<std::size_t>(k)]).empty()) continue;
        if (!Enter(ids[static_cast<std::size_t>(k)])) return false;
    }
    if (members_.empty()) return Fail(" " + name + " NAMES NO ACCOUNT: NO COMPOSITE IS REPORTED");
    return true;
}

// Kind A: every account of the request's manager pattern, in index order.
bool Composite::GatherManager() {
    const AccountWalk walk = WalkAccounts();
    if (!walk.count_read)
        return Fail(std::string(" ") + records::kAccountIndex +
                    " COULD NOT BE READ: NO COMPOSITE IS REPORTED");
    if (walk.failed_record != 0)
        return Fail(UnreadableLine(records::kAccountIndex, walk.failed_record) + " NO COMPOSITE IS REPORTED");
    for (const AccountEntry& e : walk.accounts) {
        const records::PerformanceAccount a = Mprfcls(e.entry);
        if (!ManagerMatches(rq_.manager, a.manager)) continue;
        if (!Enter(e.id)) return false;
    }
    if (members_.empty())
        return Fail(records::Write("(1X,'NO ACCOUNT OF MANAGER CODE ',A4,': NO COMPOSITE IS REPORTED')",
                                   {std::string_view(rq_.manager)}));
    return true;
}

// Kind C (Cmblst): the composite account itself, then the accounts its
// third and fourth records list.
bool Composite::GatherComposite() {
    const std::string id = records::Fixed(rq_.account, 8);
    if (!Enter(id)) return false;
    bool read = false;
    const std::vector<std::string> listed = records::CompositeMembers(members_.front().fields.position, read);
    if (!read)
        return Fail(std::string(" ") + records::kAccountRecords +
                    " COULD NOT BE READ: NO COMPOSITE IS REPORTED");
    for (const std::string& m : listed)
        if (!Enter(m)) return false;
    return true;
}

bool Composite::Gather() {
    const std::string kind = records::Fixed(rq_.kind, 4);
    if (kind == "S   ") return GatherList();
    if (kind == "A   ") return GatherManager();
    if (kind == "C   ") return GatherComposite();
    return Fail(records::Write("(1X,'COMPOSITE KIND ',A4,' IS NOT KNOWN: NO COMPOSITE IS REPORTED')",
                               {std::string_view(kind)}));
}

// Copies the first member's years from_year to to_year, four records each,
// into the composite; a year the member does not hold, or a record that
// cannot be read, ends the copy.
void Composite::Cmbcpy(const Member& first, int from_year, int to_year) {
    for (int y = from_year; y <= to_year; ++y) {
        if (!first.history.Holds(y)) break;
        const long source = first.history.YearRecord(y);
        const long target = (static_cast<long>(y) - first_year_) * 4 + 2;
        for (int s = 0; s < 4; ++s) {
            records::Record rec;
            if (!records::ReadRecord(kMemberUnit, source + s, rec)) return;
            records::WriteRecord(kCompositeUnit, target + s, rec);
        }
    }
}

// Adds one member's history into the composite's. Years before the
// composite's first year, and years after its last, are left out; a record
// that cannot be read ends the member's merge.
void Composite::Cmbmrg(const Member& member) {
    records::Open(kMemberUnit, records::Paknam(member.id, "HL", ".DAT"));
    records::UnitGuard guard(kMemberUnit);
    records::Record head;
    if (!records::ReadRecord(kMemberUnit, 1, head)) return;
    const engine::ValueHistoryHeader h = engine::ValueHistoryHeader::Decode(head);
    int first_month = h.start_month;
    int first_year = h.first_year;
    // A history that begins before the composite starts the member at its
    // own start month and year.
    if (first_year_ > first_year && HasStart(member.fields)) {
        first_month = member.fields.carry_month;
        first_year = member.fields.carry_year;
    }
    for (int y = std::max<int>(first_year, first_year_); y <= h.last_year; ++y) {
        if (!h.Holds(y)) continue;
        const int start_month = y == first_year ? first_month : 1;
        if (start_month < 1 || start_month > 12) return;
        const long source = h.YearRecord(y);
        const long target = (static_cast<long>(y) - first_year_) * 4 + 2;
        records::Record c1r, c2r, c3r, m1r, m2r;
        engine::ValueHistoryYear c1, c2, c3, m1, m2;
        if (!ReadYear(kCompositeUnit, target, c1r, c1) || !ReadYear(kCompositeUnit, target + 1, c2r, c2) ||
            !ReadYear(kMemberUnit, source, m1r, m1) || !ReadYear(kMemberUnit, source + 1, m2r, m2))
            return;
        if (!ReadYear(kCompositeUnit, target + 2, c3r, c3)) c3r = records::Record(kRecordLength, 0);
        // The built third series: the member's flow of a month that it
        // funded from nothing or emptied to nothing.
        engine::ValueHistoryYear built;
        built.year = c3.year != 0 ? c3.year : c1.year;
        for (int m = 1; m < 12; ++m) {
            const double flow = m2.values[static_cast<std::size_t>(m)];
            if (flow != 0.0 && (m1.values[static_cast<std::size_t>(m)] == 0.0 ||
                                m1.values[static_cast<std::size_t>(m - 1)] == 0.0))
                built.values[static_cast<std::size_t>(m)] = flow;
        }
        Cmbadd(c1.values, m1.values, start_month);
        Cmbadd(c2.values, m2.values, start_month);
        WriteYear(kCompositeUnit, target, c1r, c1);
        WriteYear(kCompositeUnit, target + 1, c2r, c2);
        WriteYear(kCompositeUnit, target + 2, c3r, built);
        records::Record c4r, m4r;
        engine::ValueHistoryYear c4, m4;
        if (!ReadYear(kCompositeUnit, target + 3, c4r, c4) || !ReadYear(kMemberUnit, source + 3, m4r, m4))
            return;
        Cmbadd(c4.values, m4.values, start_month);
        WriteYear(kCompositeUnit, target + 3, c4r, c4);
    }
}

// PCONTROL.FIL for the composite: the header and the account record of
// slot 1.
void Composite::WriteControl(double start_value, float to_number) {
    records::Purge(records::kPerformanceControlFile);
    records::PerformanceHeader h;
    h.slot = records::kPerformanceCompositeSlot;
    h.remaining = static_cast<int16_t>(members_.size());
    h.written = 0;
    h.manager = records::Fixed(rq_.manager, 4);
    h.frequency = records::Fixed(rq_.frequency, 4);
    h.output_mode = rq_.output_mode;
    h.start_date = records::Fixed(rq_.from, 8);
    records::WritePerformanceHeader(h);

    const records::PerformanceAccount& first = members_.front().fields;
    records::PerformanceAccount a;
    a.account = kCompositeAccount;
    a.last_month = 0;
    a.last_year = 0;
    // A walk of one account, at its end.
    a.index_position = 1;
    a.index_count = 1;
    a.end_date = records::Fixed(rq_.to, 8);
    a.end_date_copy = a.end_date;
    a.end_date_number = to_number;
    a.title = records::Fixed(rq_.description, 32);
    a.manager = records::Fixed(rq_.manager, 4);
    a.opening_date = records::Fixed(rq_.from, 8);
    a.initial_value = start_value;
    a.index1_base = first.index1_base;
    a.index2_base = first.index2_base;
    a.carry_month = 0;
    a.carry_year = 0;
    a.carried_gain = 0;
    a.carried_return = 0;
    a.figure_b = 0;
    a.status = 0;
    a.selection = "S   ";
    a.figure_c = std::bit_cast<float>(0x20202020u);  // a blank word
    a.end_day = to_day_;
    a.end_month = to_month_;
    a.history = 1;
    a.fiscal_month = 12;
    a.choice = 0;
    records::WritePerformanceAccount(records::kPerformanceCompositeSlot, a);
}

void Composite::Run() {
    status_ = 0;
    members_.clear();
    const records::DirectFile common(records::kCommonFile, kRecordLength, /*create=*/false);
    records::Record rec;
    std::string program_date(8, ' ');
    float program_number = 0;
    if (common.Read(records::kProgramDateRecord, rec)) {
        program_date = rec.Text(0, 8);
        program_number = rec.R4(8);
    }
    if (!Gather()) return;

    // Earliest inception first; equal keys keep the order gathered.
    std::stable_sort(members_.begin(), members_.end(),
                     [](const Member& a, const Member& b) { return a.key < b.key; });
    const Member& first = members_.front();
    int16_t month = 0, day = 0, year = 0;
    Cmbymd(first.key, month, day, year);
    first_year_ = year;
    const int16_t first_month = month;
    int16_t written_year = year;
    records::Wrdate(rq_.from, month, day, written_year);
    rq_.account = first.id;

    float from_number = 0, to_number = 0;
    int16_t step_status = 0;
    Mprfstep(program_date, program_number, rq_.from, from_number, rq_.to, to_number, step_status, "A   ", 0,
             0);
    records::Redate(rq_.to, to_month_, to_day_, to_year_);
    to_year_ = static_cast<int16_t>(records::WindowYear(to_year_));

    // HLCOMB$$.DAT: the header, the first member's years, the others merged.
    records::Purge(kCompositeHistory);
    {
        records::Open(kCompositeUnit, kCompositeHistory);
        records::UnitGuard composite(kCompositeUnit);
        engine::ValueHistoryHeader h;
        h.account = kCompositeAccount;
        h.start_month = first_month;
        h.first_year = first_year_;
        h.end_month = to_month_;
        h.last_year = to_year_;
        h.years = static_cast<int16_t>(to_year_ - first_year_ + 1);
        records::Record head(kRecordLength, 0);
        h.Encode(head);
        records::WriteRecord(kCompositeUnit, 1, head);
        {
            records::Open(kMemberUnit, records::Paknam(first.id, "HL", ".DAT"));
            records::UnitGuard member(kMemberUnit);
            if (first.history.last_year < to_year_) {
                Cmbcpy(first, first_year_, first.history.last_year);
                h.last_year = first.history.last_year;
                h.years = static_cast<int16_t>(h.last_year - first_year_ + 1);
                h.Encode(head);
                records::WriteRecord(kCompositeUnit, 1, head);
                engine::Hlapnd(kCompositeAccount, to_year_, kCompositeUnit);
            } else {
                Cmbcpy(first, first_year_, to_year_);
            }
        }
        for (std::size_t k = 1; k < members_.size(); ++k) Cmbmrg(members_[k]);
    }

    WriteControl(StartingValue(first.fields), to_number);

    PerformanceDriverRun run;
    run.mode = 1;
    run.options = rq_.options;
    run.sub_kind = 0;
    run.history = 1;
    run.choice = 0;
    run.selection = records::Fixed(rq_.kind, 4);
    run.manager = records::Fixed(rq_.manager, 4);
    run.account = rq_.account;
    run.start = rq_.from;
    run.end = rq_.to;
    run.frequency = rq_.frequency;
    run.output_mode = rq_.output_mode;
    run.output_name = rq_.output_name;
    Mprfacct(run);
}

}  // namespace

void Cmbadd(std::array<double, 12>& composite, const std::array<double, 12>& member, int start_month) {
    for (int m = std::max(start_month, 1); m <= 12; ++m) {
        double& c = composite[static_cast<std::size_t>(m - 1)];
        const double v = member[static_cast<std::size_t>(m - 1)];
        if (v == kNoValue) continue;
        if (c == kNoValue)
            c = v;
        else
            c += v;
    }
}

void Combpf(int16_t& status, CompositeRequest& request) {
    Composite(status, request).Run();
}

}  // namespace reports
