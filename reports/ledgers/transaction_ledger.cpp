// The transaction ledger: the run, the account loop and the selection of
// each account's transactions.

#include "reports/ledgers/transaction_ledger.h"

#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "engine/replay.h"
#include "engine/replay_cash.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/lookups.h"
#include "records/options.h"
#include "records/record.h"
#include "records/security_types.h"
#include "records/sorts.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_frame.h"
#include "reports/ledgers/ledger_account_pages.h"
#include "reports/ledgers/opening_cash.h"

namespace reports {

namespace {

// The selected transactions of one account, by trade date, from the
// records of its transaction file where they lie; a record past the end
// (or a partial last one) ends the walk as a failed read does.
std::vector<int16_t> SelectTransactions(std::span<const unsigned char> bytes, const LedgerFilter& filter,
                                        float start, float end) {
    const std::size_t length = records::kAccountRecordLength;
    if (bytes.size() < length) return {};
    const int16_t last = records::TransactionFileHeader::LastRecordOf(bytes.data());
    std::vector<double> keys;
    std::vector<int16_t> tags;
    std::unique_ptr<records::DirectFile> securities;
    if (filter.has_security_type())
        securities = std::make_unique<records::DirectFile>(records::kSecurityRecords, 128, /*create=*/false);
    records::TransactionRecord t;
    for (int n = 2; n <= last; ++n) {
        if (static_cast<std::size_t>(n) * length > bytes.size()) break;
        const unsigned char* b = bytes.data() + static_cast<std::size_t>(n - 1) * length;
        // A deleted record and the trade date are read where they lie; the
        // transaction is decoded only for the filters that need it.
        if (SortsAtOrBelowBlanks(reinterpret_cast<const char*>(b))) continue;
        float date_number = 0;
        std::memcpy(&date_number, b + records::transaction_offsets::kDateNumber, sizeof date_number);
        if (date_number < start || date_number > end) continue;
        if (!filter.unfiltered()) {
            records::TransactionRecord::DecodeFrom(b, t);
            if (!filter.PassesCodes(t) || !filter.PassesTransactionType(t)) continue;
            if (filter.has_security_type()) {
                char type = ' ';
                records::Record security;
                if (t.security_record > 1 && securities->Read(t.security_record, security))
                    type = SecurityTypeWord(security.Widened(128))[0];
                if (type != filter.security_type[0]) continue;
            }
        }
        keys.push_back(date_number);
        tags.push_back(static_cast<int16_t>(n));
    }
    records::Sheldb(static_cast<int>(keys.size()), keys, tags);
    return tags;
}

// The opening balance of an account: what Ldgcsh gives, worked out from
// the transactions where that is certain. Ldgcsh's replay leaves its work
// files behind; the run replays its last account at the end (FinishRun),
// so the work files left are the same.
double OpeningBalance(LedgerRun& run, const std::string& account, std::span<const unsigned char> bytes) {
    const engine::ReplayedCash cash =
        engine::CashBeforeDate(bytes.data(), bytes.size(), LedgerAsOf(run.start_date), run.options);
    if (!cash.decided) {
        run.replay_pending.clear();
        int16_t status = 0;
        return Ldgcsh(account, run.start_date, status);
    }
    run.replay_pending = account;
    if (!cash.cash_lot) return 0;
    if (run.cash_security_checked == 0) run.cash_security_checked = CashSecurityIsCash() ? 1 : -1;
    return run.cash_security_checked > 0 ? cash.balance : 0;
}

// Replays the last account whose opening balance was worked out without
// its replay, leaving the work files as the replay of each account would.
void FinishRun(LedgerRun& run) {
    if (run.replay_pending.empty()) return;
    int16_t status = 0;
    Ldgcsh(run.replay_pending, run.start_date, status);
    run.replay_pending.clear();
}

// One account's ledger.
void LedgerOfAccount(ReportFrame& frame, LedgerRun& run, const std::string& account, std::string name,
                     float start, float end) {
    // The transaction file, mapped once for the opening balance, the
    // selection and the lines.
    const records::MappedRecords file(records::TrimRight(records::Paknam(account, "TR  ", ".REC")),
                                      records::kAccountRecordLength);
    const std::span<const unsigned char> bytes(file.data(), file.size());
    double balance = 0;
    if (run.filter.unfiltered()) balance = OpeningBalance(run, account, bytes);
    if (records::OptionValue(run.options, records::Opt::kLedgerExportType) == 1 && !run.export_file) {
        // Written anew by each run.
        records::Purge(kLedgerExportFile);
        run.export_file = std::make_unique<records::TextFile>(kLedgerExportFile);
    }
    const std::vector<int16_t> selection = SelectTransactions(bytes, run.filter, start, end);
    int16_t status = 0;
    name = records::Fixed(name, 32);
    records::Center(name, 32, status);
    Ldgact(frame, run, bytes, account, name, selection, balance);
}

}  // namespace

bool Nxtclt(int& position, int& count, std::string& id, std::string& name, std::string& manager) {
    const records::DirectFile index(records::kAccountIndex, 128, /*create=*/false);
    const records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
    return Nxtclt(position, count, id, name, manager, index, accounts);
}

bool Nxtclt(int& position, int& count, std::string& id, std::string& name, std::string& manager,
            const records::DirectFile& index, const records::DirectFile& accounts) {
    ++position;
    name = std::string(32, ' ');
    manager = std::string(4, ' ');
    records::Record rec;
    if (!index.Read(1, rec) || rec.Widened(128).I16(0) == 0) {
        position = 0;
        count = 0;
        return false;
    }
    count = rec.Widened(128).I16(0);
    const long index_record = (position - 1) / 16 + 2;
    if (index.Read(index_record, rec))
        id = rec.Widened(128).Text(static_cast<std::size_t>(8 * ((position - 1) % 16)), 8);
    else
        id = std::string(8, ' ');
    if (accounts.Read(8L * position - 6, rec)) {
        const records::Record second = rec.Widened(128);
        manager = second.Text(16, 4);
        name = second.Text(52, 32);
    }
    return true;
}

double Ldgcsh(std::string_view account, std::string_view date, int16_t& status) {
    engine::Creatt(records::Fixed(account, 8), records::Fixed(date, 8), LedgerAsOf(date), 0, 1, status);

    records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
    LotIterator lots(records::TrimRight(engine::HoldingsWorkName()));
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot)) {
        if (lot.tax_lot == "S   " || lot.holding_key != 0) continue;
        records::Record cash;
        if (!securities.Read(1, cash)) return 0;
        if (SecurityTypeWord(cash.Widened(128)) == "1   ") return lot.cost;
    }
    return 0;
}

void Transld(std::string_view mode, std::string_view manager, std::string_view account,
             std::string_view start_date, std::string_view end_date, std::string_view security_type,
             std::string_view codes, std::string_view transaction_type, int16_t output_mode,
             std::string_view output_name, int16_t /*name_length*/) {
    if (output_mode < 1) return;
    ReportFrame frame = ReportFrame::ForOutputMode(output_name, output_mode);
    // Mode 2 lists nothing: the work file stays empty.
    if (output_mode == 2) return;

    std::string pattern = records::Fixed(manager, 4);
    if (pattern == "!   ") pattern = "    ";
    LedgerRun run;
    run.options = records::Rdopts();
    run.filter = MakeLedgerFilter(security_type, codes, transaction_type, records::TypeCodeList());
    run.start_date = records::Fixed(start_date, 8);
    run.end_date = records::Fixed(end_date, 8);
    const float start = CheckedDate(run.start_date, 0);
    const float end = CheckedDate(run.end_date, start);

    if (records::Fixed(mode, 4) == "S   ") {
        const std::string id = records::Fixed(account, 8);
        const records::AccountEntry found = records::Ckclnt(id);
        LedgerOfAccount(frame, run, id, found.name, start, end);
        FinishRun(run);
        return;
    }
    // The account index and records, open for the whole walk.
    const records::DirectFile index(records::kAccountIndex, 128, /*create=*/false);
    const records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
    int position = 0, count = 0;
    std::string id, name, code;
    if (!Nxtclt(position, count, id, name, code, index, accounts)) {
        // An index that cannot be read is said; an empty one lists nothing.
        records::Record rec;
        if (!records::DirectFile(records::kAccountIndex, 128, /*create=*/false).Read(1, rec))
            frame.Stop(UnreadableLine(records::kAccountIndex, 1));
        return;
    }
    while (position >= 1 && position <= count) {
        if (!IsUnusedKey(id) && id.substr(4, 4) != "$$$$" && ManagerMatches(pattern, code))
            LedgerOfAccount(frame, run, id, name, start, end);
        Nxtclt(position, count, id, name, code, index, accounts);
    }
    FinishRun(run);
}

}  // namespace reports
