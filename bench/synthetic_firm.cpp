#include "bench/synthetic_firm.h"

#include <cstdio>

#include "records/account_records.h"
#include "records/files.h"
#include "records/prices.h"

namespace bench {

std::string Id(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "A%05d", n);
    return text;
}

std::string PrefixedId(const char* prefix, int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%05d", prefix, n);
    return text;
}

void Append(std::vector<unsigned char>& bytes, const records::Record& rec) {
    bytes.insert(bytes.end(), rec.bytes().begin(), rec.bytes().end());
}

std::vector<unsigned char> IndexBytes(const std::vector<std::string>& keys, std::size_t width,
                                      std::size_t per) {
    std::vector<unsigned char> bytes(128, 0);
    bytes[0] = static_cast<unsigned char>(keys.size() & 0xff);
    bytes[1] = static_cast<unsigned char>((keys.size() >> 8) & 0xff);
    for (std::size_t first = 0; first < keys.size(); first += per) {
        records::Record rec(128, ' ');
        for (std::size_t i = 0; i < per && first + i < keys.size(); ++i)
            rec.SetText(width * i, width, keys[first + i]);
        Append(bytes, rec);
    }
    return bytes;
}

void WriteFirmCommon(const std::string& date, float date_number, const records::Record* options) {
    std::vector<records::Record> recs(31, records::Record(128, 0));
    recs[1].SetText(0, 8, date);
    recs[1].SetR4(8, date_number);
    recs[12].Fill(' ');
    recs[12].SetText(0, 50, "BENCHMARK ADVISERS");
    recs[12].SetI16(60, 58);
    recs[12].SetI16(62, 0);
    if (options != nullptr) recs[30] = *options;
    std::vector<unsigned char> bytes;
    for (const records::Record& r : recs) Append(bytes, r);
    records::ReplaceFile("COMMON.FIL", bytes);
}

// COMMON.FIL, the securities (every third a bond, or four in five, the rest
// stocks in ten industry categories), their extension records and the
// prices of the report date.
void WriteMarket(const MarketShape& shape) {
    WriteFirmCommon(kDate, 1000630.0f);
    if (shape.page_kind_i) {
        records::Record page_kind(128, 0);
        page_kind.data()[0] = 'I';
        records::DirectFile("COMMON.FIL", 128).Write(17, page_kind);
    }

    std::vector<unsigned char> index(128, 0);
    index[0] = kSecurities & 0xff;
    index[1] = kSecurities >> 8;
    std::vector<unsigned char> recs, exts, prices;
    for (int s = 1; s <= kSecurities; ++s) {
        if ((s - 1) % 10 == 0) Append(index, records::Record(128, ' '));
        const std::string symbol = s == 1 ? "CASH" : "SEC" + std::to_string(s);
        std::copy(symbol.begin(), symbol.end(), index.end() - 128 + 12 * ((s - 1) % 10));
        records::Record rec(128, 0);
        rec.SetText(0, 12, symbol);
        rec.SetText(12, 32, "SECURITY " + symbol);
        static const char* const kBondTypes[] = {"5", "6", "B", "Y", "H"};
        const char* type = s == 1 ? "1" : shape.mostly_bonds ? kBondTypes[s % 5] : s % 3 == 0 ? "6" : "H";
        const bool bond = s != 1 && type[0] != 'H';
        rec.SetText(76, 4, type);
        rec.SetText(80, 4, std::to_string(10 + s % 10));
        char maturity[16];
        std::snprintf(maturity, sizeof maturity, "%2d/15/%02d", 1 + s % 12, (1 + s % 30) % 100);
        rec.SetText(88, 8, !bond ? "" : shape.mostly_bonds ? maturity : " 6/15/05");
        rec.SetR4(96, bond ? 6.5f : 1.0f);
        rec.SetText(116, 8, bond ? "12/15/99" : "");
        Append(recs, rec);
        records::Record ext(128, 0);
        ext.SetR4(54, 5.0f);
        Append(exts, ext);
        records::Record price(8, 0);
        price.SetR8(0, bond ? 99.5 : 20.0 + s % 50);
        Append(prices, price);
    }
    records::ReplaceFile("SECURITY.IDX", index);
    records::ReplaceFile("SECURITY.REC", recs);
    records::ReplaceFile("SECURITY.EXT", exts);
    records::ReplaceFile(records::PriceFileName(kDate), prices);
    if (shape.name_files) {
        std::vector<unsigned char> names;
        for (int k = 0; k <= 99; ++k) {
            records::Record rec(128, ' ');
            if (k > 0) rec.SetText(0, 28, "NAME " + std::to_string(k));
            Append(names, rec);
        }
        records::ReplaceFile("TYPENAME.DAT", names);
        records::ReplaceFile("SCATNAME.DAT", names);
    }
}

// HL<acct>.REC with cash and lots of securities in turn, `lots_per_security`
// lots of each security in a row (they combine into one holding).
void WriteHoldings(const std::string& account, int lots, int first_security, const LotShape& shape) {
    std::vector<unsigned char> bytes;
    records::Record head(128, 0);
    records::HoldingsHeader h;
    h.first_lot = 2;
    h.account = account;
    h.records_in_use = static_cast<int16_t>(lots + 1);
    h.next_free = static_cast<int16_t>(lots + 2);
    h.Encode(head);
    Append(bytes, head);
    for (int i = 0; i < lots; ++i) {
        records::Record rec(128, ' ');
        records::HoldingRecord lot;
        lot.next = static_cast<int16_t>(i + 1 < lots ? i + 3 : -1);
        const int security =
            i == 0 ? 1 : 2 + (first_security + i / shape.lots_per_security) % (kSecurities - 1);
        lot.holding_key = i == 0 ? 0 : security;
        lot.symbol = security == 1 ? "CASH" : "SEC" + std::to_string(security);
        lot.security_record = static_cast<int16_t>(security);
        lot.quantity = i == 0 ? 5000 : shape.quantity;
        lot.cost = i == 0 ? 5000 : shape.cost;
        lot.open_date = " 1/15/99";
        lot.Encode(rec);
        Append(bytes, rec);
    }
    records::ReplaceFile("HL" + account + ".REC", bytes);
}

void WriteAccounts(int accounts, int lots, const LotShape& shape) {
    std::vector<std::string> ids;
    std::vector<unsigned char> recs;
    for (int k = 1; k <= accounts; ++k) {
        const std::string id = Id(k);
        ids.push_back(id);
        std::vector<records::Record> set(8, records::Record(128, ' '));
        set[0].SetText(0, 32, "CLIENT " + id);
        set[1].SetText(16, 4, "AB");
        set[1].SetText(52, 32, "SHORT " + id);
        set[2].SetI16(80, 12);
        for (const records::Record& r : set) Append(recs, r);
        WriteHoldings(id, lots, k * 7, shape);
    }
    records::ReplaceFile("ACCOUNT.IDX", IndexBytes(ids));
    records::ReplaceFile("ACCOUNT.REC", recs);
}

}  // namespace bench
