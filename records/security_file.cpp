#include "records/security_file.h"

#include <algorithm>
#include <cstring>

#include "records/files.h"
#include "records/index.h"

namespace records {

namespace {

// Offsets below are 0-based: byte b of a layout is offset b - 1.

// Decoding works on a full-length copy, so a short or empty record decodes
// as zeros instead of reading past its end.
Record Full(const Record& rec) {
    if (rec.size() >= kSecurityRecordLength) return rec;
    Record copy(kSecurityRecordLength, 0);
    if (rec.size() > 0) std::memcpy(copy.data(), rec.data(), rec.size());
    return copy;
}

void Extend(Record& rec) {
    if (rec.size() < kSecurityRecordLength) rec.bytes().resize(kSecurityRecordLength, 0);
}

char Byte(const Record& rec, std::size_t off) {
    return static_cast<char>(rec.data()[off]);
}

void SetByte(Record& rec, std::size_t off, char c) {
    rec.data()[off] = static_cast<unsigned char>(c);
}

bool ReadOne(std::string_view name, long n, Record& rec) {
    DirectFile file(name, kSecurityRecordLength, false);
    Record read;
    if (!file.Read(n, read)) return false;
    rec = read;
    return true;
}

bool WriteOne(std::string_view name, long n, const Record& rec) {
    DirectFile file(name, kSecurityRecordLength);
    Record full = rec;
    Extend(full);
    full.bytes().resize(kSecurityRecordLength);
    return file.Write(n, full);
}

}  // namespace

// ---- SECURITY.REC

SecurityRecord SecurityRecord::Decode(const Record& in) {
    const Record rec = Full(in);
    SecurityRecord s;
    s.cusip = rec.Text(0, 12);
    s.description1 = rec.Text(12, 32);
    s.description2 = rec.Text(44, 32);
    s.type = rec.Text(76, 4);
    s.category = rec.Text(80, 4);
    s.allocation = rec.Text(84, 2);
    s.due_date = rec.Text(88, 8);
    s.rate = rec.R4(96);
    s.exchange = rec.Text(100, 4);
    s.autopricing = Byte(rec, 104);
    s.payment_frequency = rec.data()[105];
    s.ex_date = rec.Text(108, 8);
    s.pay_date = rec.Text(116, 8);
    s.entry = rec.I16(124);
    s.loan_limit = rec.I16(126);
    return s;
}

void SecurityRecord::Encode(Record& rec) const {
    Extend(rec);
    rec.SetText(0, 12, cusip);
    rec.SetText(12, 32, description1);
    rec.SetText(44, 32, description2);
    rec.SetText(76, 4, type);
    rec.SetText(80, 4, category);
    rec.SetText(84, 2, allocation);
    rec.SetText(88, 8, due_date);
    rec.SetR4(96, rate);
    rec.SetText(100, 4, exchange);
    SetByte(rec, 104, autopricing);
    rec.data()[105] = payment_frequency;
    rec.SetText(108, 8, ex_date);
    rec.SetText(116, 8, pay_date);
    rec.SetI16(124, entry);
    rec.SetI16(126, loan_limit);
}

Record NewSecurityRecord(std::string_view identifier, int16_t entry, bool cusip_from_identifier) {
    Record rec(kSecurityRecordLength, 0);
    rec.SetText(76, 4, "");
    if (cusip_from_identifier) rec.SetText(0, 12, identifier);
    rec.SetI16(124, entry);
    return rec;
}

// ---- SECURITY.EXT

SecurityExtension SecurityExtension::Decode(const Record& in) {
    const Record rec = Full(in);
    SecurityExtension e;
    e.issue_date = rec.Text(2, 8);
    e.first_coupon_date = rec.Text(10, 8);
    e.last_coupon_date = rec.Text(18, 8);
    e.prerefunded_date = rec.Text(26, 8);
    e.call_date = rec.Text(38, 8);
    e.call_price = rec.R8(46);
    e.yield_to_maturity = rec.R4(54);
    e.bond_type = rec.Text(64, 4);
    e.moody_rating = rec.Text(68, 4);
    e.sp_rating = rec.Text(72, 4);
    e.insurer = rec.Text(76, 5);
    e.oid = Byte(rec, 81);
    e.oid_yield = rec.R4(85);
    e.call_feature = Byte(rec, 89);
    e.put_feature = Byte(rec, 93);
    e.put_date = rec.Text(97, 8);
    e.put_price = rec.R8(105);
    return e;
}

void SecurityExtension::Encode(Record& rec) const {
    Extend(rec);
    rec.SetText(2, 8, issue_date);
    rec.SetText(10, 8, first_coupon_date);
    rec.SetText(18, 8, last_coupon_date);
    rec.SetText(26, 8, prerefunded_date);
    rec.SetText(38, 8, call_date);
    rec.SetR8(46, call_price);
    rec.SetR4(54, yield_to_maturity);
    rec.SetText(64, 4, bond_type);
    rec.SetText(68, 4, moody_rating);
    rec.SetText(72, 4, sp_rating);
    rec.SetText(76, 5, insurer);
    SetByte(rec, 81, oid);
    rec.SetR4(85, oid_yield);
    SetByte(rec, 89, call_feature);
    SetByte(rec, 93, put_feature);
    rec.SetText(97, 8, put_date);
    rec.SetR8(105, put_price);
}

Record NewSecurityExtension() {
    return Record(kSecurityRecordLength, 0);
}

// ---- The cash security

SecurityRecord CashSecurity() {
    SecurityRecord cash;
    cash.description1 = std::string(kCashSecurityId);
    cash.type = "1   ";
    cash.rate = 0;  // cash earns nothing of its own: reports print 0.00, not "no rate"
    cash.entry = static_cast<int16_t>(kCashSecurityEntry);
    return cash;
}

bool StartSecurityMaster() {
    if (!ReadSecurityIndex().empty()) return false;
    Record rec(kSecurityRecordLength, 0);
    CashSecurity().Encode(rec);
    // An index that is lost or does not read while SECURITY.REC still holds
    // another security as its first record is not a new master: writing the
    // cash security there would overwrite that security and leave an index
    // of CASH alone. A start whose index could not be written is finished.
    Record first;
    if (ReadSecurityRecord(kCashSecurityEntry, first) && first.bytes() != rec.bytes()) return false;
    // The records first, so that an index never names a record not written.
    return WriteSecurityRecord(kCashSecurityEntry, rec) &&
           WriteSecurityExtension(kCashSecurityEntry, NewSecurityExtension()) &&
           WriteSecurityIndex({std::string(kCashSecurityId)});
}

// ---- SECURITY.IDX

std::vector<std::string> ReadSecurityIndex() {
    std::vector<std::string> keys;
    DirectFile file(kSecurityIndex, kSecurityRecordLength, false);
    Record rec;
    if (!file.Read(1, rec)) return keys;
    const int count = std::max<int>(rec.I16(0), 0);
    for (int first = 1, r = 2; first <= count; first += kSecurityKeysPerRecord, ++r) {
        if (!file.Read(r, rec)) break;
        const int last = std::min(first + kSecurityKeysPerRecord - 1, count);
        for (int e = first; e <= last; ++e)
            keys.push_back(
                rec.Text(static_cast<std::size_t>(e - first) * kSecurityKeyWidth, kSecurityKeyWidth));
    }
    return keys;
}

std::vector<unsigned char> EncodeSecurityIndex(const std::vector<std::string>& identifiers) {
    const std::size_t count = identifiers.size();
    const std::size_t records = 1 + (count + kSecurityKeysPerRecord - 1) / kSecurityKeysPerRecord;
    std::vector<unsigned char> bytes;
    bytes.reserve(records * kSecurityRecordLength);
    Record head(kSecurityRecordLength, 0);
    head.SetI16(0, static_cast<int16_t>(count));
    bytes.insert(bytes.end(), head.bytes().begin(), head.bytes().end());
    for (std::size_t first = 0; first < count; first += kSecurityKeysPerRecord) {
        Record rec(kSecurityRecordLength, ' ');
        const std::size_t last = std::min(first + kSecurityKeysPerRecord, count);
        for (std::size_t i = first; i < last; ++i)
            rec.SetText((i - first) * kSecurityKeyWidth, kSecurityKeyWidth, identifiers[i]);
        bytes.insert(bytes.end(), rec.bytes().begin(), rec.bytes().end());
    }
    return bytes;
}

bool WriteSecurityIndex(const std::vector<std::string>& identifiers) {
    return ReplaceFile(kSecurityIndex, EncodeSecurityIndex(identifiers));
}

// ---- SECURITY.REC and SECURITY.EXT

bool ReadSecurityRecord(long n, Record& rec) {
    return ReadOne(kSecurityRecords, n, rec);
}

bool ReadSecurityExtension(long n, Record& rec) {
    return ReadOne(kSecurityExtensionFile, n, rec);
}

bool WriteSecurityRecord(long n, const Record& rec) {
    return WriteOne(kSecurityRecords, n, rec);
}

bool WriteSecurityExtension(long n, const Record& rec) {
    return WriteOne(kSecurityExtensionFile, n, rec);
}

bool ReadSecurity(long n, SecurityRecord& security) {
    Record rec;
    const bool ok = ReadSecurityRecord(n, rec);
    security = SecurityRecord::Decode(ok ? rec : Record());
    return ok;
}

bool ReadSecurityTerms(long n, SecurityExtension& terms) {
    Record rec;
    const bool ok = ReadSecurityExtension(n, rec);
    terms = SecurityExtension::Decode(ok ? rec : Record());
    return ok;
}

}  // namespace records
