#include "records/account_lists.h"

#include <algorithm>
#include <map>

#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/sorts.h"

namespace records {

namespace {

constexpr int kListFileUnit = 14;
constexpr int kNumberedFileUnit = 5;
constexpr int kAccountIndexUnit = 7;
constexpr int kAccountRecordUnit = 8;
constexpr int kPartyIndexUnit = 9;
constexpr int kPartyRecordUnit = 10;
constexpr int kCustodianTextUnit = 7;

// Fields of the account records that the lists sort on (offsets from 0).
constexpr std::size_t kShortNameOffset = 52;         // R2, 32 characters
constexpr std::size_t kCustodianAccountOffset = 32;  // R3, 32 characters (two halves of 16)
constexpr std::size_t kCustodianIdOffset = 64;       // R3, 6 characters
constexpr std::size_t kBrokerIdOffset = 72;          // R3, 6 characters

// The names of the brokers or custodians by identifier: the first 32
// characters (address line 1) of the first of the entry's three records.
// A deleted entry names nothing; of two equal keys the first counts.
std::map<std::string, std::string> PartyNames(const char* index_name, const char* record_name) {
    std::map<std::string, std::string> names;
    Open(kPartyIndexUnit, index_name);
    UnitGuard index_guard(kPartyIndexUnit);
    Open(kPartyRecordUnit, record_name);
    UnitGuard record_guard(kPartyRecordUnit);
    const int n = IndexCount(kPartyIndexUnit);
    Record keys, rec;
    for (int first = 1, r = 2; first <= n; first += 16, ++r) {
        if (!ReadRecord(kPartyIndexUnit, r, keys)) break;
        for (int e = first; e <= n && e < first + 16; ++e) {
            std::string key = keys.Text(static_cast<std::size_t>(e - first) * 8, 8);
            if (IsDeletedKey(key) || names.count(key) != 0) continue;
            std::string name(32, ' ');
            if (ReadRecord(kPartyRecordUnit, 3L * e - 2, rec)) name = rec.Text(0, 32);
            names.emplace(key, name);
        }
    }
    return names;
}

// Sort kind of the work files and in-memory sorts for a list kind.
int SortKindOf(int kind) {
    switch (kind) {
        case kListByShortName:
        case kListByBrokerName:
        case kListByCustodianName:
            return kSortByKey32;
        case kListByCustodianAccount:
            return kSortByKey16;
        default:
            return kSortByIdentifier;
    }
}

// Accounts gathered for the list, in parallel arrays as the sorts take
// them; tags are entry numbers.
struct Gathered {
    std::vector<std::string> identifiers;
    std::vector<int16_t> tags;
    std::vector<std::string> keys16;
    std::vector<std::string> keys32;

    void Add(const std::string& id, int entry, const std::string& key16, const std::string& key32) {
        identifiers.push_back(id);
        tags.push_back(static_cast<int16_t>(entry));
        keys16.push_back(key16);
        keys32.push_back(key32);
    }
    int size() const { return static_cast<int>(identifiers.size()); }
    void clear() { *this = Gathered{}; }
};

// Sorts a list that fits one run with the kind's Shell sort, as the runs
// are sorted. A longer list, which callers otherwise take from the runs,
// is sorted stably instead (equal keys in entry order): the Shell sort
// exchanges equal keys, which makes long lists with many equal names (all
// the accounts of one broker) slow.
void SortGathered(Gathered& g, int sort_kind, bool long_list) {
    int n = g.size();
    if (long_list) {
        const std::vector<std::string>& keys = sort_kind == kSortByKey32   ? g.keys32
                                               : sort_kind == kSortByKey16 ? g.keys16
                                                                           : g.identifiers;
        std::vector<int> order(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(i)] = i;
        std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
            const std::string& ka = keys[static_cast<std::size_t>(a)];
            const std::string& kb = keys[static_cast<std::size_t>(b)];
            // Signed character codes, as the Shell sorts compare.
            return std::lexicographical_compare(
                ka.begin(), ka.end(), kb.begin(), kb.end(),
                [](char x, char y) { return static_cast<signed char>(x) < static_cast<signed char>(y); });
        });
        Gathered sorted;
        for (int i : order) {
            auto u = static_cast<std::size_t>(i);
            sorted.Add(g.identifiers[u], g.tags[u], g.keys16[u], g.keys32[u]);
        }
        g = std::move(sorted);
        return;
    }
    if (sort_kind == kSortByKey32)
        Shlk32(n, g.keys32, g.identifiers, g.tags);
    else if (sort_kind == kSortByKey16)
        Shlk16(n, g.keys16, g.identifiers, g.tags);
    else
        Shlk8(n, g.identifiers, g.tags);
}

}  // namespace

void Rdaclst(std::vector<std::string>& identifiers, int& count, std::string_view file_name) {
    identifiers.clear();
    Opena(kListFileUnit, file_name);
    UnitGuard guard(kListFileUnit);
    std::string line;
    while (ReadLine(kListFileUnit, line)) identifiers.push_back(Fixed(line, 8));
    count = static_cast<int>(identifiers.size());
}

void Bldacl(std::vector<std::string>& identifiers, int& count, std::vector<long>& first_records, int kind,
            const Options& options, int16_t& status, int& runs) {
    identifiers.clear();
    first_records.clear();
    count = 0;
    status = 0;
    runs = 0;
    const int sort_kind = SortKindOf(kind);
    const int run_size = sort_kind == kSortByKey32 ? kAccountNameRunSize : kAccountRunSize;
    const bool by_name = kind == kListByShortName || kind == kListByBrokerName;
    const bool last_name_first = by_name && OptionValue(options, Opt::kLastNameFirst) == 1;

    std::map<std::string, std::string> party_names;
    if (kind == kListByBrokerName) party_names = PartyNames("BROKER.IDX", "BROKER.REC");
    if (kind == kListByCustodianName) party_names = PartyNames("CUSTDN.IDX", "CUSTDN.REC");

    Open(kAccountIndexUnit, kAccountIndex);
    UnitGuard index_guard(kAccountIndexUnit);
    const bool needs_records = kind >= kListByShortName && kind <= kListByCustodianName;
    if (needs_records) Open(kAccountRecordUnit, kAccountRecords);
    UnitGuard record_guard(kAccountRecordUnit);

    Record header;
    if (!ReadRecord(kAccountIndexUnit, 1, header)) {
        status = 1;
        return;
    }
    const int n = header.I16(0);
    Gathered all, run;
    Record keys, rec;
    for (int first = 1, r = 2; first <= n; first += kAccountKeysPerRecord, ++r) {
        if (!ReadRecord(kAccountIndexUnit, r, keys)) {
            status = 1;  // a damaged index: callers must not rely on the list
            break;
        }
        for (int e = first; e <= n && e < first + kAccountKeysPerRecord; ++e) {
            std::string id =
                keys.Text(static_cast<std::size_t>(e - first) * kAccountKeyWidth, kAccountKeyWidth);
            if (IsDeletedKey(id) || id.compare(0, 4, "    ") == 0) continue;
            std::string key16(16, ' '), key32(32, ' ');
            if (kind == kListByShortName) {
                if (ReadRecord(kAccountRecordUnit, 8L * e - 6, rec)) key32 = rec.Text(kShortNameOffset, 32);
            } else if (kind == kListByCustodianAccount) {
                if (ReadRecord(kAccountRecordUnit, 8L * e - 5, rec))
                    key16 = rec.Text(kCustodianAccountOffset, 16);
            } else if (kind == kListByBrokerName || kind == kListByCustodianName) {
                if (ReadRecord(kAccountRecordUnit, 8L * e - 5, rec)) {
                    std::size_t at = kind == kListByBrokerName ? kBrokerIdOffset : kCustodianIdOffset;
                    auto it = party_names.find(Fixed(rec.Text(at, 6), 8));
                    if (it != party_names.end()) key32 = it->second;
                }
            }
            if (last_name_first) Reordr(key32);
            all.Add(id, e, key16, key32);
            run.Add(id, e, key16, key32);
            if (run.size() == run_size) {
                if (++runs > kMaxAccountRuns) {
                    status = 1;
                    break;
                }
                int m = run.size();
                Wrsort(m, run.identifiers, run.tags, runs, sort_kind, run.keys16, run.keys32);
                run.clear();
            }
        }
        if (status != 0) break;
    }
    // The last, partial run joins the others once the list has been split.
    if (status == 0 && runs > 0 && run.size() > 0) {
        if (++runs > kMaxAccountRuns) {
            status = 1;
        } else {
            int m = run.size();
            Wrsort(m, run.identifiers, run.tags, runs, sort_kind, run.keys16, run.keys32);
        }
    }
    count = all.size();
    if (status == 0) SortGathered(all, sort_kind, runs > 0);
    identifiers = all.identifiers;
    for (int16_t entry : all.tags) first_records.push_back(8L * entry - 7);
}

void Wcuso(std::string_view file_name, std::string_view record) {
    Open(kNumberedFileUnit, file_name);
    UnitGuard guard(kNumberedFileUnit);
    Record first;
    int32_t last = 1;
    if (!ReadRecord(kNumberedFileUnit, 1, first) || !Read(first.Text(0, 6), "(I6)", {&last})) last = 1;
    // A record 1 that holds no count (blanks, 0) must not let the caller's
    // record overwrite it.
    if (last < 1) last = 1;
    const int32_t m = last + 1;
    std::string number = Write("(I6)", {static_cast<long long>(m)});
    for (char& c : number)
        if (c == ' ') c = '0';
    Record head(128, ' ');
    head.SetText(0, 6, number);
    head.SetText(126, 2, "\r\n");
    WriteRecord(kNumberedFileUnit, 1, head);
    Record rec(128, ' ');
    rec.SetText(0, 128, record);
    rec.SetText(126, 2, "\r\n");
    WriteRecord(kNumberedFileUnit, m, rec);
}

void Wcurec(int entry, int16_t flag, std::string& field) {
    const long record = flag > 0 ? 8L * entry - 5 : 8L * entry - 13;
    Open(kCustodianTextUnit, kAccountRecords);
    UnitGuard guard(kCustodianTextUnit);
    Record rec;
    if (ReadRecord(kCustodianTextUnit, record, rec)) field = rec.Text(kCustodianAccountOffset, 32);
}

CAccountEntry::CAccountEntry(std::string_view typed_identifier) {
    std::size_t end = typed_identifier.find(' ');
    std::string_view id = typed_identifier.substr(0, end);
    identifier = std::string(id.substr(0, 6));
    date_opened = TrimRight(ProgramDateText());
}

std::vector<std::unique_ptr<CAccountEntry>>& AccountArray() {
    static std::vector<std::unique_ptr<CAccountEntry>> accounts;
    return accounts;
}

int FindAccountEntry(std::string_view identifier) {
    const auto& accounts = AccountArray();
    for (std::size_t i = 0; i < accounts.size(); ++i)
        if (accounts[i] && accounts[i]->identifier == identifier) return static_cast<int>(i);
    return -1;
}

}  // namespace records
