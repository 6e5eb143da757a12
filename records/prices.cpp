#include "records/prices.h"

#include <algorithm>
#include <cstdlib>

#include "records/dates.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/rounding.h"

namespace records {

namespace {

// Name of the price or rate file of a date: "('SE',6A1,ext)".
std::string DatedFileName(std::string_view date, std::string_view layout) {
    std::string digits = Prcdat(date);
    std::string_view d(digits);
    return Write(layout, {d.substr(0, 1), d.substr(1, 1), d.substr(2, 1), d.substr(3, 1), d.substr(4, 1),
                          d.substr(5, 1)});
}

// A price as its file holds it, as the readers take it: one that cannot
// be rounded has no price.
double StoredPriceValue(double price) {
    if (!RoundStoredPrice(price)) return kNoPriceValue;
    return price < 0 || price > kHighestPrice ? kNoPriceValue : price;
}

}  // namespace

bool RoundStoredPrice(double& price) {
    if (TryRoundToDecimals(price, 6)) return true;
    std::string text(32, ' ');
    WriteInto(text, "(F20.6)", {price});
    double rounded = 0;
    if (!Read(text, "(F20.6)", {&rounded})) return false;
    price = rounded;
    return true;
}

double StoredPrice(const Record& rec) {
    if (rec.size() < 8) return kNoPriceValue;
    return StoredPriceValue(rec.R8(0));
}

namespace {

void ReadPrice(int unit, long record, double& price) {
    price = kNoPriceValue;
    Record rec;
    if (!ReadRecord(unit, record, rec)) return;
    price = StoredPrice(rec);
}

void WritePrice(int unit, long record, double price) {
    Record rec(8);
    rec.SetR8(0, price);
    WriteRecord(unit, record, rec);
}

// The four-digit year of a yearly file: a two-digit year through the date
// window, a windowed year (100 + YY) as 1900 + it, four digits as given.
int YearOfFile(int year) {
    return year >= 0 && year <= 150 ? FourDigitYear(year) : year;
}

constexpr std::size_t kSplitOffset = 14;
constexpr std::size_t kSplitSize = 13;

}  // namespace

void Prcdat(std::string_view date, std::string& digits) {
    int16_t month = 0, day = 0, year = 0;
    Redate(date, month, day, year);
    digits = Write(
        "(3I2)", {static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(year)});
    digits.resize(6, ' ');
    for (char& c : digits)
        if (c < '0') c = '0';
}

std::string Prcdat(std::string_view date) {
    std::string digits;
    Prcdat(date, digits);
    return digits;
}

std::string PriceFileName(std::string_view date) {
    return DatedFileName(date, "('SE',6A1,'.PRC')");
}

std::string RateFileName(std::string_view date) {
    return DatedFileName(date, "('SE',6A1,'.CUR')");
}

void Rwpric(int mode, int unit, std::string_view date, long record, double& price) {
    if (unit == 0) return;
    int u = std::abs(unit);
    bool opened_here = unit < 0;
    if (opened_here) Open8(u, PriceFileName(date));
    if (mode < 1)
        ReadPrice(u, record, price);
    else
        WritePrice(u, record, price);
    if (opened_here) Close(u);
}

std::vector<double> ReadPriceFile(std::string_view date) {
    std::vector<double> prices;
    std::vector<unsigned char> bytes;
    if (!DirectFile(PriceFileName(date), 8, false).ReadWhole(bytes)) return prices;
    prices.reserve(bytes.size() / 8);
    Record rec(8, 0);
    for (std::size_t at = 0; at + 8 <= bytes.size(); at += 8) {
        std::copy_n(bytes.begin() + static_cast<long>(at), 8, rec.bytes().begin());
        prices.push_back(StoredPriceValue(rec.R8(0)));
    }
    return prices;
}

void Getai(std::string_view date1, std::string_view date2, double face, float rate, int16_t mode,
           double& result) {
    result = 0.0;
    if (mode != 1) return;
    double days = Daycb(date1, date2, mode);
    result = (days / 180.0) * (rate / 2.0f) * face;
    Drndn(result);
}

double AccruedInterest(std::string_view last_coupon, std::string_view date, double face, float rate_percent) {
    double result = 0.0;
    if (IsBlank(Fixed(last_coupon, 8))) return result;
    Getai(last_coupon, date, face, rate_percent / 100.0f, 1, result);
    return result > 0.0 ? result : 0.0;
}

std::string SplitFileName(int year) {
    return Write("('SECR',I4,'.SPL')", {static_cast<long long>(YearOfFile(year))});
}

std::string SplitFileNameOfDate(std::string_view date) {
    int16_t month = 0, day = 0, year = 0;
    Redate(date, month, day, year);
    return SplitFileName(year);
}

SplitFileHeader SplitFileHeader::Decode(const Record& rec) {
    SplitFileHeader h;
    if (rec.size() >= 2) h.last_record = rec.I16(0);
    return h;
}

void SplitFileHeader::Encode(Record& rec) const {
    if (rec.size() < kSplitRecordLength) rec.bytes().resize(kSplitRecordLength, 0);
    rec.SetI16(0, last_record);
}

SplitRecord SplitRecord::Decode(const Record& rec) {
    Record r = rec;
    if (r.size() < kSplitRecordLength) r.bytes().resize(kSplitRecordLength, 0);
    SplitRecord s;
    s.symbol = r.Text(0, 12);
    s.count = r.I16(12);
    for (int k = 0; k < kMaxSplits; ++k) {
        std::size_t off = kSplitOffset + kSplitSize * static_cast<std::size_t>(k);
        s.splits[k].ratio = r.R4(off);
        s.splits[k].ex_date = r.R4(off + 4);
        s.splits[k].pay_date = r.R4(off + 8);
        s.splits[k].posted = r.data()[off + 12];
    }
    return s;
}

void SplitRecord::Encode(Record& rec) const {
    if (rec.size() < kSplitRecordLength) rec.bytes().resize(kSplitRecordLength, 0);
    rec.SetText(0, 12, symbol);
    rec.SetI16(12, count);
    for (int k = 0; k < kMaxSplits; ++k) {
        std::size_t off = kSplitOffset + kSplitSize * static_cast<std::size_t>(k);
        rec.SetR4(off, splits[k].ratio);
        rec.SetR4(off + 4, splits[k].ex_date);
        rec.SetR4(off + 8, splits[k].pay_date);
        rec.data()[off + 12] = splits[k].posted;
    }
}

std::string DividendFileName(int year) {
    return Write("('SECR',I4,'.DIV')", {static_cast<long long>(YearOfFile(year))});
}

DividendRecord DividendRecord::Decode(const Record& rec) {
    Record r = rec;
    if (r.size() < kDividendRecordLength) r.bytes().resize(kDividendRecordLength, 0);
    DividendRecord d;
    for (int k = 0; k < kDividendSlots; ++k) {
        const std::size_t off = kDividendSlotSize * static_cast<std::size_t>(k);
        d.months[k].amount = r.R4(off);
        d.months[k].ex_date = r.R4(off + 4);
        d.months[k].pay_day = r.data()[off + 8];
    }
    return d;
}

void DividendRecord::Encode(Record& rec) const {
    if (rec.size() < kDividendRecordLength) rec.bytes().resize(kDividendRecordLength, 0);
    for (int k = 0; k < kDividendSlots; ++k) {
        const std::size_t off = kDividendSlotSize * static_cast<std::size_t>(k);
        rec.SetR4(off, months[k].amount);
        rec.SetR4(off + 4, months[k].ex_date);
        rec.data()[off + 8] = months[k].pay_day;
    }
}

Record DividendRecord::NewFileRecord() {
    Record rec(kDividendRecordLength, 0);
    std::fill_n(rec.data(), kDividendBlankBytes, static_cast<unsigned char>(' '));
    return rec;
}

}  // namespace records
