// The account extract (Mextract).

#include "entry/account_extract.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "records/account_file.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/security_types.h"
#include "records/sorts.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_items.h"

namespace entry {
namespace {

namespace fs = std::filesystem;
using records::Fixed;
using records::Record;
using reports::Items;

// The types priced per 100 of face value.

// The extract file, made anew in the folder (made when missing).
std::string ExtractFile(const char* name) {
    const fs::path folder = records::ResolveName(kExtractFolder);
    std::error_code error;
    fs::create_directories(folder, error);
    const std::string path = std::string(kExtractFolder) + "/" + name;
    records::Purge(path);
    return path;
}

// The program date text of COMMON.FIL record 2 (blanks when unreadable).
std::string ProgramDate() {
    return Fixed(records::ProgramDateText(), 8);
}

struct ListedAccount {
    std::string id;
    int entry = 0;
};

// Every account of the index but deleted and blank keys, by identifier.
std::vector<ListedAccount> AccountList() {
    const reports::AccountWalk walk = reports::WalkAccounts();
    std::vector<std::string> keys;
    std::vector<int16_t> tags;
    for (std::size_t i = 0; i < walk.accounts.size(); ++i) {
        keys.push_back(walk.accounts[i].id);
        tags.push_back(static_cast<int16_t>(i));
    }
    records::Shlk8(static_cast<int>(keys.size()), keys, tags);
    std::vector<ListedAccount> list;
    for (const int16_t t : tags) {
        const reports::AccountEntry& a = walk.accounts[static_cast<std::size_t>(t)];
        list.push_back({a.id, a.entry});
    }
    return list;
}

// A 4-character word of a text field that compares below four blanks
// when both are read as 4-byte reals (zero bytes of a record never
// written, for instance) becomes four blanks.
std::string CleanText(std::string text) {
    float blanks = 0;
    std::memcpy(&blanks, "    ", 4);
    for (std::size_t w = 0; w + 4 <= text.size(); w += 4) {
        float value = 0;
        std::memcpy(&value, text.data() + w, 4);
        if (value < blanks) text.replace(w, 4, "    ");
    }
    return text;
}

struct Security {
    std::string type = "    ";
    std::string description = std::string(32, ' ');
};

bool ReadSecurity(const records::DirectFile& file, long entry, Security& s) {
    Record rec;
    if (entry < 1 || !file.Read(entry, rec)) return false;
    s.type = rec.Text(76, 4);
    s.description = rec.Text(12, 32);
    return true;
}

// The value of a position at the price of the program date: type "4" at
// 100, a missing price as 0; the per-100 types divided by 100 unless
// unpriced, type "R" times 100.
double PositionValue(const Security& s, double quantity, double price) {
    if (s.type[0] == '4') price = 100.0;
    const bool no_value = price == records::kNoPriceValue;
    if (price < 0.0) price = 0.0;
    double value = price * quantity;
    const bool one_letter = s.type.compare(1, 3, "   ") == 0;
    if (one_letter && records::IsFixedIncomeType(s.type[0]) && !no_value) value *= 0.01;
    if (s.type == "R   ") value *= 100.0;
    return value;
}

// The city, state and zip of the fourth address line: the last word is the
// zip when it holds only digits and "-", the word before it the state and
// the rest the city (without a trailing comma); otherwise the whole line
// is the city.
void SplitCityLine(const std::string& line, std::string& city, std::string& state, std::string& zip) {
    std::vector<std::pair<std::size_t, std::size_t>> words;
    for (std::size_t i = 0; i < line.size();) {
        while (i < line.size() && line[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) words.emplace_back(start, i - start);
    }
    city = records::TrimRight(line);
    state.clear();
    zip.clear();
    if (words.size() < 2) return;
    const std::string last = line.substr(words.back().first, words.back().second);
    if (last.find_first_not_of("0123456789-") != std::string::npos) return;
    zip = last;
    const auto& s = words[words.size() - 2];
    state = line.substr(s.first, s.second);
    city = records::TrimRight(line.substr(0, s.first));
    if (!city.empty() && city.back() == ',') city.pop_back();
    city = records::TrimRight(city);
    if (!state.empty() && state.back() == ',') state.pop_back();
}

}  // namespace

void Mextract() {
    ExtractHoldings(1);
    ExtractAccounts(3);
    ExtractAccounts(4);
    ExtractSecurities();
}

void ExtractHoldings(int16_t) {
    records::TextFile out(ExtractFile("EXTRACT1.DAT"));
    const std::string date = ProgramDate();
    const std::vector<double> prices = records::ReadPriceFile(date);
    const auto price_of = [&prices](long entry) {
        return entry >= 1 && static_cast<std::size_t>(entry) <= prices.size()
                   ? prices[static_cast<std::size_t>(entry - 1)]
                   : records::kNoPriceValue;
    };
    records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
    records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);

    for (const ListedAccount& a : AccountList()) {
        Record r3;
        if (!accounts.Read(records::AccountBaseRecord(a.entry) + 2, r3)) break;
        const std::string custodian = CleanText(r3.Text(32, 32));
        const std::string file = records::TrimRight(records::Paknam(a.id, "HL", ".REC"));

        // The market value first: the header line carries it.
        double market_value = 0;
        {
            reports::LotIterator lots(file);
            int16_t record = 0;
            records::HoldingRecord lot;
            while (lots.Next(record, lot)) {
                if (lot.tax_lot == "S   ") continue;
                Security s;
                if (!ReadSecurity(securities, lot.security_record, s)) continue;
                market_value += PositionValue(s, lot.quantity, price_of(lot.security_record));
            }
        }

        reports::LotIterator lots(file);
        int16_t record = 0;
        records::HoldingRecord lot;
        while (lots.Next(record, lot)) {
            if (lot.tax_lot == "S   ") continue;
            if (records::Trim(lot.symbol) == "CASH") {
                out.WriteLine(
                    records::Write("('H ',2A4,1X,F11.2,1X,F11.2)",
                                   Items().Text(custodian, 4, 2).Number(lot.quantity).Number(market_value)));
                continue;
            }
            Security s;
            if (!ReadSecurity(securities, lot.security_record, s)) continue;
            if ((s.type == "L   " || s.type == "1   ") && lot.quantity > 0)
                out.WriteLine(records::Write(
                    "('D    ',2A4,1X,F12.3,8A4,'  ')",
                    Items().Text(lot.symbol, 4, 2).Number(lot.quantity).Text(s.description, 4, 8)));
        }
    }
}

void ExtractAccounts(int16_t mode) {
    const char* name = mode == 4 ? "EXTRACT4.DAT" : mode == 2 ? "EXTRACT2.DAT" : "EXTRACT3.DAT";
    records::TextFile out(ExtractFile(name));
    records::Gcn();
    char flag = ' ';
    {
        records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
        Record rec;
        if (common.Read(26, rec)) flag = static_cast<char>(rec.data()[0]);
    }
    const bool full = flag == 'B' || flag == 'b';
    records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);

    for (const ListedAccount& a : AccountList()) {
        std::array<Record, 4> r;
        const long base = records::AccountBaseRecord(a.entry);
        bool read = true;
        for (long i = 0; i < 4 && read; ++i) read = accounts.Read(base + i, r[static_cast<std::size_t>(i)]);
        if (!read) break;
        const std::string custodian = CleanText(r[2].Text(32, 32));
        if (mode == 4) {
            // The number right-aligned in its eight characters.
            std::string number = records::TrimRight(custodian.substr(0, 8));
            number = std::string(8 - number.size(), ' ') + number;
            out.WriteLine(records::Write("(8A1,F14.2)", Items().Text(number, 1, 8).Number(r[3].R4(0))));
            continue;
        }
        std::string city, state, zip;
        SplitCityLine(CleanText(r[0].Text(96, 32)), city, state, zip);
        const std::string phone = full ? CleanText(r[1].Text(108, 12)) : std::string(12, ' ');
        const std::string opened = full ? CleanText(r[1].Text(120, 8)) : std::string(8, ' ');
        const std::string goal = full ? CleanText(r[3].Text(87, 4)) : std::string(4, ' ');
        const std::string broker = full ? CleanText(r[2].Text(72, 8)) : std::string(8, ' ');
        out.WriteLine(records::Write("('$$',2A4)", Items().Text(custodian, 4, 2)));
        out.WriteLine(records::Write("('$name    ',8A4)", Items().Text(CleanText(r[0].Text(0, 32)), 4, 8)));
        out.WriteLine(records::Write("('$addr    ',8A4)", Items().Text(CleanText(r[0].Text(64, 32)), 4, 8)));
        out.WriteLine(records::Write("('$city    ',32A1)", Items().Text(city, 1, 32)));
        out.WriteLine(records::Write("('$state   ',32A1)", Items().Text(state, 1, 32)));
        out.WriteLine(records::Write("('$zip     ',32A1)", Items().Text(zip, 1, 32)));
        out.WriteLine(records::Write("('$phone   ',12A1)", Items().Text(phone, 1, 12)));
        out.WriteLine(records::Write("('$stdate  ',2A4)", Items().Text(opened, 4, 2)));
        out.WriteLine(records::Write("('$initval ',F16.2)", Items().Number(r[3].R8(8))));
        out.WriteLine(records::Write("('$goal    ',A4)", Items().Text(goal, 4, 1)));
        out.WriteLine(records::Write("('$broke   ',2A4)", Items().Text(broker, 4, 2)));
    }
}

void ExtractSecurities() {
    records::TextFile out(ExtractFile("SEC.INF"));
    records::DirectFile index(records::kSecurityIndex, 128, /*create=*/false);
    records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
    Record rec;
    const int count = index.Read(1, rec) ? rec.I16(0) : 0;
    long loaded = 0;
    for (int n = 1; n <= count; ++n) {
        const long r = 2 + (n - 1) / records::kSecurityKeysPerRecord;
        if (r != loaded) {
            if (!index.Read(r, rec)) return;
            loaded = r;
        }
        const std::string symbol = rec.Text(
            static_cast<std::size_t>((n - 1) % records::kSecurityKeysPerRecord) * records::kSecurityKeyWidth,
            records::kSecurityKeyWidth);
        if (symbol.compare(0, 4, "$$$$") == 0 || symbol.compare(0, 4, "CASH") == 0) continue;
        Security s;
        if (!ReadSecurity(securities, n, s)) return;
        if (s.type != "1   " && s.type != "L   ") continue;
        out.WriteLine(records::Write("(A2,2A4,25X,8A4)", Items()
                                                             .Text(s.type == "1   " ? "ca" : "mf", 2, 1)
                                                             .Text(symbol, 4, 2)
                                                             .Text(CleanText(s.description), 4, 8)));
    }
}

}  // namespace entry
