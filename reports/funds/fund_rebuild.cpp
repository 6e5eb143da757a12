#include "reports/funds/fund_rebuild.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/lot_texts.h"
#include "engine/replay.h"
#include "records/account_records.h"
#include "records/codes.h"
#include "records/common_file.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "reports/funds/fund_lots.h"

namespace reports {

namespace {

using records::Record;

// The warning lines. Each ends with a blank line.
constexpr const char* kShortSaleWarning =
    "(1X,'Warning: short sale condition',I2,' found in ','account: ',A4,A2,', transaction no. ',I4,/)";
constexpr const char* kUnknownCodeWarning =
    "(1X,'Warning: unknown transaction code ',A4,' found in ','account: ',A4,A2,', transaction no. ',I5,/)";
constexpr const char* kDamagedChainWarning =
    "(1X,'Warning: damaged lot chain of HL.TMP found in ','account: ',A4,A2,', transaction no. ',I5,"
    "' not replayed',/)";
constexpr const char* kFileFullWarning =
    "(1X,'Warning: holdings limit of 32766 records reached in ','account: ',A4,A2,', transaction no. ',I5,"
    "', rebuild stopped',/)";
constexpr const char* kUnreadableWarning =
    "(1X,'Warning: unreadable transaction found in ','account: ',A4,A2,', transaction no. ',I5,"
    "', holdings not rebuilt',/)";

// Trades and transfers come after the cash-only codes of their day.
bool TradeOrTransfer(std::string_view code) {
    return code == "B   " || code == "SS  " || code == "SI  " || code == "S   " || code == "CS  " ||
           code == "SO  ";
}

// Replay order packed into one word: the date (its bits mapped so that
// integer order is real order, -0 as +0), the day group, the record number.
uint64_t ReplayOrder(float date, bool trade, long record) {
    uint32_t bits = 0;
    const float d = date == 0.0f ? 0.0f : date;
    std::memcpy(&bits, &d, sizeof bits);
    bits = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
    return (uint64_t{bits} << 32) | (uint64_t{trade ? 1u : 0u} << 16) | static_cast<uint64_t>(record);
}

class Warnings {
public:
    Warnings(std::string_view account, int16_t message_mode)
        : account_(records::Fixed(account, 8)), on_(message_mode != 2 && message_mode >= 0) {}

    // Writes the lines of the layout: the items given, then the account's
    // first four and next two characters, then the transaction number
    // (record - 1); the short-sale line takes its condition first.
    void Say(const char* layout, std::vector<records::OutItem> items, long record) {
        if (!on_) return;
        items.emplace_back(std::string_view(account_).substr(0, 4));
        items.emplace_back(std::string_view(account_).substr(4, 2));
        items.emplace_back(static_cast<long long>(record - 1));
        for (const std::string& line : records::WriteRecords(layout, items)) records::Prtout(line);
    }

private:
    std::string account_;
    bool on_;
};

}  // namespace

void Mfhold(std::string_view account, std::string_view as_of_text, float as_of, int16_t message_mode) {
    Warnings warnings(account, message_mode);

    // The options record; without it nothing is rebuilt and HL.TMP stays.
    records::Options options{};
    {
        const records::DirectFile common(records::kCommonFile, records::kAccountRecordLength, false);
        Record rec;
        if (!common.Read(records::kOptionsRecord, rec)) return;
        std::copy_n(rec.data(), options.size(), options.begin());
    }
    const bool texts = records::OptionOn(options, records::Opt::kTransactionTexts);
    const bool lot_texts = records::OptionOn(options, records::Opt::kLotTexts);

    records::Purge(engine::HoldingsWorkName());

    // The transaction file, read whole; record n at (n - 1) x 128. A missing
    // file is not created.
    std::vector<unsigned char> file;
    records::DirectFile(records::Paknam(account, "TR", ".REC"), records::kAccountRecordLength, false)
        .ReadWhole(file);
    const long records_read = static_cast<long>(file.size() / records::kAccountRecordLength);
    if (records_read < 1) return;
    Record rec(records::kAccountRecordLength, 0);
    auto take = [&](const std::vector<unsigned char>& bytes, long n) {
        std::copy_n(bytes.begin() + (n - 1) * static_cast<long>(records::kAccountRecordLength),
                    records::kAccountRecordLength, rec.bytes().begin());
    };
    take(file, 1);
    const long last = records::TransactionFileHeader::Decode(rec).last_record;
    if (last <= 1) return;

    // The transactions that qualify, in replay order.
    struct Entry {
        uint64_t order;
        std::size_t decoded;
    };
    std::vector<Entry> entries;
    std::vector<records::TransactionRecord> decoded;
    entries.reserve(static_cast<std::size_t>(std::min(last, records_read)));
    decoded.reserve(static_cast<std::size_t>(std::min(last, records_read)));
    for (long n = 2; n <= last; ++n) {
        if (n > records_read) {
            // The count promises more than the file holds.
            warnings.Say(kUnreadableWarning, {}, n);
            return;
        }
        take(file, n);
        records::TransactionRecord t = records::TransactionRecord::Decode(rec);
        if (t.date_number > as_of || t.IsDeleted() || t.type == "N   ") continue;
        entries.push_back({ReplayOrder(t.date_number, TradeOrTransfer(t.code), n), decoded.size()});
        decoded.push_back(std::move(t));
    }
    if (entries.empty()) return;
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.order < b.order; });

    std::vector<unsigned char> extensions;
    if (texts)
        records::DirectFile(records::Paknam(account, "TR", ".EXT"), records::kAccountRecordLength, false)
            .ReadWhole(extensions);
    const long extensions_read = static_cast<long>(extensions.size() / records::kAccountRecordLength);
    engine::StoredLotTexts stored(account, options);

    FundLots lots(account, as_of_text, options);
    lots.Start();
    double reinvested = 0;
    bool complete = true;
    std::string memo, date, description;
    for (const Entry& entry : entries) {
        records::TransactionRecord& t = decoded[entry.decoded];
        const long record = static_cast<long>(entry.order & 0xFFFF);
        memo.assign(20, ' ');
        date.assign(8, ' ');
        description.assign(32, ' ');
        if (texts || lot_texts) {
            if (texts && record <= extensions_read) {
                take(extensions, record);
                const records::TransactionExtension ext = records::TransactionExtension::Decode(rec);
                memo = ext.memo;
                date = ext.settlement_date;
                description = ext.text;
            }
            lots.Ftele2(t.symbol, t.tax_lot, memo, date, description);
            stored.Ftele(t.symbol, t.tax_lot, memo, date, description);
        }
        if (t.code == "SI  ") t.amount = t.lot_cost;
        int16_t cls = 0, sign = 0, transfer = 0, not_found = 0;
        records::Code(t.code, cls, sign, transfer, 1, not_found);
        if (not_found != 0) {
            warnings.Say(kUnknownCodeWarning, {std::string_view(t.code)}, record);
            continue;
        }
        // The total cost is the amount as filed; what the lots and the cash
        // take is the amount to the cent, nothing for a reinvested purchase.
        const double total_cost = t.amount;
        records::Drnd2(t.amount);
        if (t.type == "R   " && t.code == "B   ") {
            reinvested += t.amount;
            t.amount = 0;
        }
        int16_t condition = 0;
        const FundLotOutcome outcome =
            lots.Mflotu(t, cls, sign, transfer, condition, memo, date, description, total_cost);
        if (outcome == FundLotOutcome::kChainDamaged) {
            warnings.Say(kDamagedChainWarning, {}, record);
            continue;
        }
        if (outcome == FundLotOutcome::kFileFull) {
            warnings.Say(kFileFullWarning, {}, record);
            complete = false;
            break;
        }
        if (condition > 0) warnings.Say(kShortSaleWarning, {static_cast<long long>(condition)}, record);
    }
    // A rebuild that stopped short keeps the lots it built, uncorrected.
    if (complete) lots.Mfcash(reinvested);
    lots.Flush();
}

}  // namespace reports
