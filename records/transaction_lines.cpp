#include "records/transaction_lines.h"

#include <algorithm>

#include "records/files.h"
#include "records/record_services.h"
#include "records/store_counter.h"

namespace records {
namespace {

// Field access that stops at the end of a shorter record (an edit view):
// a field past the end reads as its default and is not written; a text cut
// by the end is read and written as far as the record goes.
void GetText(const Record& rec, std::size_t off, std::string& field) {
    if (off >= rec.size()) return;
    const std::size_t n = std::min(field.size(), rec.size() - off);
    field.replace(0, n, rec.Text(off, n));
}
void PutText(Record& rec, std::size_t off, std::size_t len, std::string_view text) {
    if (off >= rec.size()) return;
    const std::string fixed = Fixed(text, len);
    const std::size_t n = std::min(len, rec.size() - off);
    std::copy(fixed.begin(), fixed.begin() + static_cast<std::ptrdiff_t>(n), rec.data() + off);
}
bool Fits(const Record& rec, std::size_t off, std::size_t len) {
    return off + len <= rec.size();
}
void GetR8(const Record& rec, std::size_t off, double& v) {
    if (Fits(rec, off, 8)) v = rec.R8(off);
}
void GetR4(const Record& rec, std::size_t off, float& v) {
    if (Fits(rec, off, 4)) v = rec.R4(off);
}
void GetI16(const Record& rec, std::size_t off, int16_t& v) {
    if (Fits(rec, off, 2)) v = rec.I16(off);
}
void PutR8(Record& rec, std::size_t off, double v) {
    if (Fits(rec, off, 8)) rec.SetR8(off, v);
}
void PutR4(Record& rec, std::size_t off, float v) {
    if (Fits(rec, off, 4)) rec.SetR4(off, v);
}
void PutI16(Record& rec, std::size_t off, int16_t v) {
    if (Fits(rec, off, 2)) rec.SetI16(off, v);
}

Record FromText(std::string_view bytes) {
    Record rec(bytes.size());
    std::copy(bytes.begin(), bytes.end(), rec.data());
    return rec;
}

}  // namespace

OfflineTranRecord OfflineTranRecord::Decode(const Record& rec) {
    OfflineTranRecord r;
    GetText(rec, 0, r.account);
    GetText(rec, 8, r.symbol);
    GetText(rec, 20, r.tax_lot);
    GetText(rec, 24, r.trade_date);
    GetText(rec, 32, r.code);
    GetR8(rec, 36, r.shares);
    GetR4(rec, 44, r.price);
    GetR8(rec, 48, r.amount);
    GetText(rec, 56, r.broker);
    GetR8(rec, 64, r.commission);
    GetR8(rec, 72, r.bond_interest);
    GetText(rec, 80, r.second_date);
    GetR8(rec, 88, r.second_amount);
    GetR4(rec, 96, r.date_number);
    GetR8(rec, 100, r.sort_key);
    GetI16(rec, 108, r.security_entry);
    GetI16(rec, 110, r.match_code);
    GetText(rec, 112, r.entry_kind);
    GetText(rec, 116, r.reserved);
    GetText(rec, 136, r.member);
    GetText(rec, 156, r.address);
    return r;
}

void OfflineTranRecord::Encode(Record& rec) const {
    PutText(rec, 0, 8, account);
    PutText(rec, 8, 12, symbol);
    PutText(rec, 20, 4, tax_lot);
    PutText(rec, 24, 8, trade_date);
    PutText(rec, 32, 4, code);
    PutR8(rec, 36, shares);
    PutR4(rec, 44, price);
    PutR8(rec, 48, amount);
    PutText(rec, 56, 8, broker);
    PutR8(rec, 64, commission);
    PutR8(rec, 72, bond_interest);
    PutText(rec, 80, 8, second_date);
    PutR8(rec, 88, second_amount);
    PutR4(rec, 96, date_number);
    PutR8(rec, 100, sort_key);
    PutI16(rec, 108, security_entry);
    PutI16(rec, 110, match_code);
    PutText(rec, 112, 4, entry_kind);
    PutText(rec, 116, 20, reserved);
    PutText(rec, 136, 20, member);
    PutText(rec, 156, 240, address);
}

BlockAllocation BlockAllocation::Decode(const Record& rec) {
    BlockAllocation a;
    GetText(rec, 0, a.account);
    GetText(rec, 8, a.symbol);
    GetText(rec, 20, a.tax_lot);
    GetText(rec, 24, a.trade_date);
    GetText(rec, 32, a.code);
    GetR8(rec, 36, a.shares);
    GetR4(rec, 44, a.price);
    GetText(rec, 56, a.broker);
    GetR8(rec, 64, a.commission);
    GetR8(rec, 72, a.bond_interest);
    GetI16(rec, 110, a.word);
    GetText(rec, 112, a.kind);
    GetR8(rec, 114, a.sec_fee);
    return a;
}

void BlockAllocation::Encode(Record& rec) const {
    PutText(rec, 0, 8, account);
    PutText(rec, 8, 12, symbol);
    PutText(rec, 20, 4, tax_lot);
    PutText(rec, 24, 8, trade_date);
    PutText(rec, 32, 4, code);
    PutR8(rec, 36, shares);
    PutR4(rec, 44, price);
    PutText(rec, 56, 8, broker);
    PutR8(rec, 64, commission);
    PutR8(rec, 72, bond_interest);
    PutI16(rec, 110, word);
    PutText(rec, 112, 2, kind);
    PutR8(rec, 114, sec_fee);
}

BlockDefinition BlockDefinition::Decode(const Record& rec) {
    BlockDefinition b;
    GetI16(rec, 0, b.last_record);
    GetText(rec, 2, b.marker);
    GetText(rec, 6, b.symbol);
    GetText(rec, 18, b.code);
    GetText(rec, 22, b.trade_date);
    GetR8(rec, 30, b.quantity);
    GetR4(rec, 38, b.price);
    GetR8(rec, 42, b.bond_interest);
    GetText(rec, 50, b.broker);
    GetR8(rec, 58, b.commission_per_share);
    GetR8(rec, 66, b.total_commission);
    GetR8(rec, 74, b.misc_expense);
    return b;
}

void BlockDefinition::Encode(Record& rec) const {
    PutI16(rec, 0, last_record);
    PutText(rec, 2, 4, marker);
    PutText(rec, 6, 12, symbol);
    PutText(rec, 18, 4, code);
    PutText(rec, 22, 8, trade_date);
    PutR8(rec, 30, quantity);
    PutR4(rec, 38, price);
    PutR8(rec, 42, bond_interest);
    PutText(rec, 50, 8, broker);
    PutR8(rec, 58, commission_per_share);
    PutR8(rec, 66, total_commission);
    PutR8(rec, 74, misc_expense);
}

int16_t ReadLineCounter(std::string_view file) {
    Open4(kTransactionLineUnit, file);
    UnitGuard guard(kTransactionLineUnit);
    std::string first;
    if (Rdr140(kTransactionLineUnit, 1, first) != 0) return 1;
    return FromText(first).I16(0);
}

bool ReadBlockDefinition(BlockDefinition& block) {
    Open4(kTransactionLineUnit, kBlockTradeFile);
    UnitGuard guard(kTransactionLineUnit);
    Record rec;
    if (!ReadRecord(kTransactionLineUnit, 1, rec)) return false;
    block = BlockDefinition::Decode(rec);
    return block.Defined();
}

bool WriteBlockDefinition(const BlockDefinition& block) {
    Open4(kTransactionLineUnit, kBlockTradeFile);
    UnitGuard guard(kTransactionLineUnit);
    Record rec(kTransactionLineLength);
    if (!ReadRecord(kTransactionLineUnit, 1, rec)) rec = Record(kTransactionLineLength);
    block.Encode(rec);
    return WriteRecord(kTransactionLineUnit, 1, rec);
}

int16_t ReadEditView(std::string_view file, long rec, std::string& view) {
    Open4(kTransactionLineUnit, file);
    UnitGuard guard(kTransactionLineUnit);
    if (!IsOpen(kTransactionLineUnit)) return 1;
    return Rdr140(kTransactionLineUnit, rec, view);
}

int16_t WriteEditView(std::string_view file, long rec, std::string_view view) {
    Open4(kTransactionLineUnit, file);
    UnitGuard guard(kTransactionLineUnit);
    if (!IsOpen(kTransactionLineUnit)) return 1;
    return Wrr140(kTransactionLineUnit, rec, view);
}

double AllocatedBlockShares() {
    Open4(kTransactionLineUnit, kBlockTradeFile);
    UnitGuard guard(kTransactionLineUnit);
    Record first;
    if (!ReadRecord(kTransactionLineUnit, 1, first) || first.size() < 2) return 0;
    const int16_t last = first.I16(0);
    double shares = 0;
    Record line;
    for (long rec = 2; rec <= last; ++rec) {
        if (!ReadRecord(kTransactionLineUnit, rec, line)) break;
        const BlockAllocation a = BlockAllocation::Decode(line);
        if (!IsBlank(a.symbol)) shares += a.shares;
    }
    return shares;
}

int16_t AppendBlockAllocation(std::string_view view, long& rec, std::string* message) {
    rec = -1;
    Open4(kTransactionLineUnit, kBlockTradeFile);
    UnitGuard guard(kTransactionLineUnit);
    if (!IsOpen(kTransactionLineUnit)) return 1;
    Record first;
    if (!ReadRecord(kTransactionLineUnit, 1, first)) return 1;
    BlockDefinition block = BlockDefinition::Decode(first);
    if (!block.Defined()) return 1;
    // The counter addresses the new record: out of range it would write
    // over the first allocation or far past the file's end.
    const StoreCounter counter = CheckStoreCounter(block.last_record, RecordCount(kTransactionLineUnit));
    if (counter.damaged || counter.Full()) {
        if (message != nullptr)
            *message = counter.damaged ? StoreDamagedMessage(kBlockTradeFile, block.last_record)
                                       : StoreFullMessage(kBlockTradeFile);
        return 1;
    }
    const long target = counter.last + 1;
    if (Wrr140(kTransactionLineUnit, target, view) != 0) return 1;
    first.SetI16(0, static_cast<int16_t>(target));
    if (!WriteRecord(kTransactionLineUnit, 1, first)) return 1;
    rec = target;
    return 0;
}

}  // namespace records
