#include "reports/kernel/account_walk.h"

#include "records/common_file.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "reports/kernel/account_names.h"

namespace reports {

namespace {

constexpr std::size_t kIndexRecordLength = 128;

bool AllQuestionMarks(std::string_view code) {
    return code.find_first_not_of('?') == std::string_view::npos;
}

// Position by position: equal, or "?" on either side.
bool AgreesWithTableCode(const std::string& requested, const std::string& table_code) {
    for (std::size_t i = 0; i < 4; ++i) {
        const char r = requested[i];
        const char t = table_code[i];
        if (r != '?' && t != '?' && r != t) return false;
    }
    return true;
}

}  // namespace

AccountWalk RunAccounts(bool all, std::string_view account) {
    if (all) return WalkAccounts();
    AccountWalk walk;
    walk.count_read = true;
    const AccountPlace place = Gtacnm(account);
    if (place.position > 0)
        walk.accounts.push_back({records::Fixed(account, 8), place.entry(), place.first_record()});
    walk.count = static_cast<int>(walk.accounts.size());
    return walk;
}

bool IsUnusedKey(std::string_view key) {
    const std::string head = records::Fixed(key, 4);
    if (records::IsDeletedKey(head)) return true;
    for (char c : head)
        if (c != ' ' && c != '\0') return false;
    return true;
}

AccountWalk WalkAccounts() {
    AccountWalk walk;
    records::DirectFile index(records::kAccountIndex, kIndexRecordLength, /*create=*/false);
    records::Record rec;
    if (!index.Read(1, rec)) return walk;
    walk.count_read = true;
    const int count = rec.I16(0);
    walk.count = count;
    for (int first = 1; first <= count; first += records::kAccountKeysPerRecord) {
        const long record = 2 + (first - 1) / records::kAccountKeysPerRecord;
        if (!index.Read(record, rec)) {
            walk.failed_record = record;
            break;
        }
        for (int slot = 0; slot < records::kAccountKeysPerRecord && first + slot <= count; ++slot) {
            std::string key = rec.Text(static_cast<std::size_t>(slot) * records::kAccountKeyWidth,
                                       records::kAccountKeyWidth);
            if (IsUnusedKey(key)) continue;
            const int entry = first + slot;
            walk.accounts.push_back({std::move(key), entry, records::AccountBaseRecord(entry)});
        }
    }
    return walk;
}

bool ManagerMatches(std::string_view requested, std::string_view account_code) {
    const std::string want = records::Fixed(requested, 4);
    const std::string have = records::Fixed(account_code, 4);
    for (std::size_t i = 0; i < 4; ++i)
        if (want[i] != '?' && want[i] != have[i]) return false;
    return true;
}

int ManagerCodePosition(std::string_view requested) {
    const std::string code = records::Fixed(requested, 4);
    const auto table = records::ReadManagerCodes();
    for (std::size_t k = 0; k < table.size(); ++k)
        if (AgreesWithTableCode(code, table[k])) return static_cast<int>(k) + 1;
    return AllQuestionMarks(code) ? 1 : 0;
}

bool ManagerCodeAccepted(std::string_view requested) {
    return ManagerCodePosition(requested) > 0;
}

}  // namespace reports
