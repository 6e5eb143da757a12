#include "records/security_types.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/prices.h"
#include "records/record.h"

namespace records {

namespace {

constexpr std::string_view kTypeCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kFixedIncomeTypes = "34567BDFWXY";
constexpr int16_t kUnknownTypeIndex = 28;  // "R"
constexpr int16_t kAgencyTypeIndex = 33;   // "W"

// Entry k (from 0) of the type conversion table: the 22 one-character
// types in the order of the firm's code list, then a blank.
char TypeAt(int k) {
    static constexpr char kTypes[23] = {'1', '3', '4', '5', '6', 'W', '7', '9', 'B', 'C', 'D', 'X',
                                        'F', 'P', 'N', 'Y', 'H', 'J', 'L', 'R', 'S', 'T', ' '};
    return kTypes[k];
}

constexpr int kCategoryUnit = 6;
constexpr int kHoldingsUnit = 7;

// COMMON.FIL record 27 as the table is written: 128 blanks with the codes
// in bytes 1-44, each blank padded or cut to its width.
Record TypeCodesRecord(const TypeNames& types) {
    Record rec(128, ' ');
    for (std::size_t i = 0; i < kTypeOrder.size(); ++i)
        rec.SetText(i * kTypeCodeWidth, kTypeCodeWidth,
                    i < types.codes.size() ? std::string_view(types.codes[i]) : std::string_view());
    return rec;
}

// A listed type's TYPENAME.DAT record as the table is written: its name,
// blank padded or cut, then blanks.
Record TypeNameRecordOf(std::string_view name) {
    Record rec(128, ' ');
    rec.SetText(0, kTypeNameWidth, name);
    return rec;
}

// TYPENAME.DAT record r as WriteTypeNames(types) leaves a file it makes:
// a listed type's record holds its name then blanks, a record between the
// listed types' was never written (zeros), and there is none past the last
// listed type's (false).
bool WrittenTypeNameRecord(const TypeNames& types, long r, Record& rec) {
    int last = 0;
    rec = Record(128, 0);
    for (std::size_t k = 0; k < kTypeOrder.size(); ++k) {
        const int n = TypeNameRecord(kTypeOrder[k]);
        last = std::max(last, n);
        if (n == r) rec = TypeNameRecordOf(k < types.names.size() ? std::string_view(types.names[k]) : "");
    }
    return r >= 1 && r <= last;
}

// The firm's codes of COMMON.FIL record 27, names left blank; every code
// blank when the record cannot be read.
TypeNames ReadTypeCodes() {
    TypeNames types;
    Record rec;
    const DirectFile common(kCommonFile, 128, /*create=*/false);
    if (common.Read(kTypeCodesRecord, rec))
        for (int k = 0; k < kListedTypeCount; ++k)
            types.codes[static_cast<std::size_t>(k)] =
                rec.Text(static_cast<std::size_t>(k) * kTypeCodeWidth, kTypeCodeWidth);
    return types;
}

// Names each listed type by the standard name of its code, looked up among
// the standard codes wherever the firm listed it; a code the standard table
// has not (one of the firm's own, or a blank) gives a blank name.
TypeNames WithStandardNamesOfCodes(TypeNames types) {
    const TypeNames standard = StandardTypeNames();
    for (std::size_t k = 0; k < types.codes.size() && k < types.names.size(); ++k) {
        const auto it = std::find(standard.codes.begin(), standard.codes.end(), types.codes[k]);
        types.names[k] = it == standard.codes.end()
                             ? std::string(kTypeNameWidth, ' ')
                             : standard.names[static_cast<std::size_t>(it - standard.codes.begin())];
    }
    return types;
}

// The TYPENAME.DAT records as every reader of the type table takes them.
// A directory without a type table (HasTypeTable) reads the standard table
// as it would be written. One with a table reads the records its
// TYPENAME.DAT holds as they are; a record the file does not hold (no
// file, or one too short) reads as the table would be written with the
// standard names of the firm's codes, so that a firm whose names file is
// lost still sees its types named in the lists and the reports. Nothing is
// opened for writing, no file made.
class TypeNameRecords {
public:
    TypeNameRecords() : has_table_(HasTypeTable()) {
        if (has_table_) names_.emplace(kTypeNameFile, 128, /*create=*/false);
    }

    bool has_table() const { return has_table_; }

    bool Read(long r, Record& rec) const {
        if (!has_table_) return WrittenTypeNameRecord(StandardTypeNames(), r, rec);
        if (names_->Read(r, rec)) return true;
        if (!fallback_) fallback_ = WithStandardNamesOfCodes(ReadTypeCodes());
        return WrittenTypeNameRecord(*fallback_, r, rec);
    }

private:
    bool has_table_;
    std::optional<DirectFile> names_;
    mutable std::optional<TypeNames> fallback_;  // read at the first record the file lacks
};

// Position (1 to 36) of a type character, 0 when it is none.
int TypePosition(std::string_view word) {
    if (word.empty()) return 0;
    std::size_t p = kTypeCharacters.find(word[0]);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

// The built-in titles of agency bonds by agency code, 20 characters.
std::string AgencyTitle(int16_t agency) {
    const char* title = "GNMA";
    switch (agency) {
        case 3:
            title = "FHLB";
            break;
        case 4:
            title = "FICB";
            break;
        case 5:
            title = "FNMA DEB";
            break;
        case 6:
            title = "FLB";
            break;
        case 7:
            title = "BFC";
            break;
        case 11:
            title = "FNMA CAP";
            break;
        case 27:
            title = "FFCB";
            break;
        default:
            break;
    }
    return Fixed(title, 20);
}

// Reads a type's 28-character title; false when the type is not a type
// character or its record cannot be read.
bool ReadTypeTitle(std::string_view type, std::string& title28) {
    int p = TypePosition(type);
    if (p == 0) return false;
    Record rec;
    if (!ReadTypeNameRecord(p + 1, rec)) return false;
    title28 = rec.Text(0, 28);
    return true;
}

// Character codes of the symbol's first `width` characters, character i
// weighted 100^(width - i). A symbol shorter than width counts blanks.
double SymbolKey(std::string_view symbol, int width) {
    std::string s = Fixed(symbol, static_cast<std::size_t>(width));
    double sum = 0.0;
    double weight = 1.0;
    for (int i = width - 1; i >= 0; --i) {
        sum += static_cast<double>(static_cast<unsigned char>(s[static_cast<std::size_t>(i)])) * weight;
        weight *= 100.0;
    }
    return sum;
}

}  // namespace

bool IsFixedIncomeType(char type) {
    return type != '\0' && kFixedIncomeTypes.find(type) != std::string_view::npos;
}

void Itypsc(std::string_view word, int16_t& index) {
    int p = TypePosition(word);
    index = p == 0 ? kUnknownTypeIndex : static_cast<int16_t>(p);
}

int16_t Itypsc(std::string_view word) {
    int16_t index = 0;
    Itypsc(word, index);
    return index;
}

void Cvtypc(std::string_view code_list, std::string_view firm_code, std::string& type_out,
            std::string_view type_in, std::string& firm_code_out, int16_t mode) {
    std::string list = Fixed(code_list, 46);
    if (mode > 1) {
        std::string code = Fixed(firm_code, 2);
        int k = 22;
        for (int i = 0; i < 22; ++i)
            if (list.compare(static_cast<std::size_t>(2 * i), 2, code) == 0) {
                k = i;
                break;
            }
        type_out = std::string(1, TypeAt(k)) + "   ";
        return;
    }
    char type = type_in.empty() ? ' ' : type_in[0];
    int k = 22;
    for (int i = 0; i < 22; ++i)
        if (TypeAt(i) == type) {
            k = i;
            break;
        }
    firm_code_out = k == 22 ? std::string(2, ' ') : list.substr(static_cast<std::size_t>(2 * k), 2);
}

void Gtitl2(std::string_view type, std::string& title, int16_t agency, int16_t& status) {
    std::string title28;
    status = ReadTypeTitle(type, title28) ? 0 : 1;
    if (status == 0) title = title28;
    if (TypePosition(type) == kAgencyTypeIndex && agency >= 1)
        title = AgencyTitle(agency) + std::string(8, ' ');
}

void Gtitle(std::string_view type, std::string& title, int16_t agency, int16_t& status) {
    std::string title28 = Fixed(title, 28);
    Gtitl2(type, title28, agency, status);
    if (status == 0 || (TypePosition(type) == kAgencyTypeIndex && agency >= 1)) title = title28.substr(0, 20);
}

void Ptyp63(std::string_view type, std::string& title, int16_t agency, int16_t& status) {
    Gtitle(type, title, agency, status);
}

int TypeNameRecord(char type) {
    return Itypsc(std::string_view(&type, 1)) + 1;
}

TypeNames ReadTypeNames() {
    const TypeNameRecords table;
    if (!table.has_table()) return StandardTypeNames();
    TypeNames types = ReadTypeCodes();
    Record rec;
    for (int k = 0; k < kListedTypeCount; ++k)
        if (table.Read(TypeNameRecord(kTypeOrder[static_cast<std::size_t>(k)]), rec))
            types.names[static_cast<std::size_t>(k)] = rec.Text(0, kTypeNameWidth);
    return types;
}

bool ReadTypeNameRecord(long r, Record& rec) {
    return TypeNameRecords().Read(r, rec);
}

std::string TypeCodeList() {
    Record rec;
    if (!HasTypeTable()) {
        rec = TypeCodesRecord(StandardTypeNames());
    } else {
        const DirectFile common(kCommonFile, 128, /*create=*/false);
        if (!common.Read(kTypeCodesRecord, rec)) return std::string(kTypeCodeListWidth, ' ');
    }
    return rec.Widened(128).Text(0, kTypeCodeListWidth);
}

bool WriteTypeNames(const TypeNames& types) {
    bool ok = true;
    {
        DirectFile common(kCommonFile, 128);
        ok = common.Write(kTypeCodesRecord, TypeCodesRecord(types)) && ok;
    }
    DirectFile names(kTypeNameFile, 128);
    for (std::size_t i = 0; i < kTypeOrder.size(); ++i) {
        const std::string_view name =
            i < types.names.size() ? std::string_view(types.names[i]) : std::string_view();
        ok = names.Write(TypeNameRecord(kTypeOrder[i]), TypeNameRecordOf(name)) && ok;
    }
    return ok;
}

TypeNames StandardTypeNames() {
    struct Standard {
        const char* code;
        const char* name;
    };
    // In the list order of kTypeOrder.
    static constexpr Standard kStandard[kListedTypeCount] = {
        {"CA", "CASH AND EQUIVALENTS"},        // 1
        {"TB", "U.S. TREASURY BILLS"},         // 3
        {"CD", "CERTIFICATES OF DEPOSIT"},     // 4
        {"TN", "U.S. TREASURY NOTES"},         // 5
        {"MB", "MORTGAGE BACKED SECURITIES"},  // 6
        {"AG", "GOVERNMENT AGENCY BONDS"},     // W
        {"MU", "MUNICIPAL BONDS"},             // 7
        {"MI", "MONEY MARKET INSTRUMENTS"},    // 9
        {"CB", "CORPORATE BONDS"},             // B
        {"CN", "CONVERTIBLE SECURITIES"},      // C
        {"CV", "CONVERTIBLE BONDS"},           // D
        {"FB", "FOREIGN BONDS"},               // X
        {"ZC", "ZERO COUPON BONDS"},           // F
        {"PS", "PREFERRED STOCKS"},            // P
        {"FS", "FOREIGN STOCKS"},              // N
        {"TF", "TAX-FREE NOTES"},              // Y
        {"CS", "COMMON STOCKS"},               // H
        {"EF", "EQUITY MUTUAL FUNDS"},         // J
        {"BF", "BOND MUTUAL FUNDS"},           // L
        {"OP", "OPTIONS"},                     // R
        {"RE", "REAL ESTATE"},                 // S
        {"OT", "OTHER ASSETS"},                // T
    };
    TypeNames types;
    for (std::size_t k = 0; k < std::size(kStandard); ++k) {
        types.codes[k] = Fixed(kStandard[k].code, kTypeCodeWidth);
        types.names[k] = Fixed(kStandard[k].name, kTypeNameWidth);
    }
    return types;
}

bool HasTypeTable() {
    // A record of blanks holds no more than one never written: Done on a
    // table never filled in writes every code and name blank.
    Record rec;
    {
        DirectFile common(kCommonFile, 128, false);
        if (common.Read(kTypeCodesRecord, rec) && !rec.BlankOrNeverWritten()) return true;
    }
    // Record 1 and the records of types outside the 22 listed ones count
    // too: a firm may have titles there for its reports.
    DirectFile names(kTypeNameFile, 128, false);
    const long last = static_cast<long>(kTypeCharacters.size()) + 1;
    for (long r = 1; r <= last; ++r) {
        if (!names.Read(r, rec)) break;
        if (!rec.BlankOrNeverWritten()) return true;
    }
    return false;
}

bool StartTypeTable() {
    if (HasTypeTable()) return false;
    return WriteTypeNames(StandardTypeNames());
}

void Siccat(std::vector<std::string>& names) {
    names.resize(kCategoryCount, std::string(kCategoryNameWidth, ' '));
    Open(kCategoryUnit, kCategoryNameFile);
    UnitGuard guard(kCategoryUnit);
    Record rec;
    for (int k = 1; k <= kCategoryCount; ++k) {
        if (!ReadRecord(kCategoryUnit, k + 1, rec)) break;
        names[static_cast<std::size_t>(k - 1)] = rec.Text(0, kCategoryNameWidth);
    }
}

void Wrscat(const std::vector<std::string>& names) {
    Open(kCategoryUnit, kCategoryNameFile);
    UnitGuard guard(kCategoryUnit);
    Record rec;
    for (int k = 1; k <= kCategoryCount; ++k) {
        if (!ReadRecord(kCategoryUnit, k + 1, rec)) rec = Record(128, ' ');
        std::size_t i = static_cast<std::size_t>(k - 1);
        rec.SetText(0, kCategoryNameWidth,
                    i < names.size() ? std::string_view(names[i]) : std::string_view());
        WriteRecord(kCategoryUnit, k + 1, rec);
    }
}

bool ReadCategoryNameRecord(long r, Record& rec) {
    const DirectFile names(kCategoryNameFile, 128, /*create=*/false);
    return names.Read(r, rec);
}

std::string NameInRecord(bool (*read)(long, Record&), long r, bool& found) {
    Record rec;
    found = read(r, rec);
    if (!found) return std::string(kCategoryNameWidth, ' ');
    std::string name = rec.Text(0, kCategoryNameWidth);
    std::replace(name.begin(), name.end(), '\0', ' ');
    return name;
}

void Gtpcd3(double& key, int a, int b, std::string_view symbol) {
    key = a * 1e14 + b * 1e12 + SymbolKey(symbol, 8);
}

void Gtpcd2(double& key, int a, int b, float date_number, std::string_view symbol) {
    double widened = WidenDate(date_number);
    if (widened != 0.0)
        key = a * 1e14 + b * 1e12 + widened;
    else
        key = a * 1e14 + b * 1e12 + SymbolKey(symbol, 6);
}

void Combin(int n, const std::vector<double>& keys, std::vector<int16_t>& records,
            const HoldingMergeFields& fields) {
    n = std::min<int>(n, static_cast<int>(std::min(keys.size(), records.size())));
    Open2(kHoldingsUnit, kHoldingsWorkFile);
    UnitGuard guard(kHoldingsUnit);
    Record first, later;
    for (int i = 0; i < n; ++i) {
        if (records[i] <= 0) continue;
        if (!ReadRecord(kHoldingsUnit, records[i], first)) continue;
        bool merged = false;
        for (int j = i + 1; j < n; ++j) {
            if (records[j] <= 0 || keys[j] != keys[i]) continue;
            if (!ReadRecord(kHoldingsUnit, records[j], later)) continue;
            first.SetR8(fields.quantity, first.R8(fields.quantity) + later.R8(fields.quantity));
            first.SetR8(fields.cost, first.R8(fields.cost) + later.R8(fields.cost));
            double mv1 = first.R8(fields.market_value), mv2 = later.R8(fields.market_value);
            first.SetR8(fields.market_value,
                        (mv1 == kNoPriceValue || mv2 == kNoPriceValue) ? kNoPriceValue : mv1 + mv2);
            float ch1 = first.R4(fields.change), ch2 = later.R4(fields.change);
            first.SetR4(fields.change,
                        (ch1 == kNoChangeValue || ch2 == kNoChangeValue) ? kNoChangeValue : ch1 + ch2);
            if (first.I16(fields.face_value_flag) != 0 || later.I16(fields.face_value_flag) != 0)
                first.SetI16(fields.face_value_flag, 1);
            records[j] = 0;
            merged = true;
        }
        if (merged) WriteRecord(kHoldingsUnit, records[i], first);
    }
}

}  // namespace records
