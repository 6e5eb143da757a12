#include "records/lookups.h"

#include "records/account_file.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"

namespace records {

namespace {

// ACCOUNT.REC fields read here (offsets from 0 within the account's record).
// R2, the account's second record:
constexpr std::size_t kManagerOffset = 16;    // manager code, 4
constexpr std::size_t kShortNameOffset = 52;  // account short name, 32
constexpr std::size_t kOpenedOffset = 120;    // date account opened, 8
// R3:
constexpr std::size_t kCustodianAccountOffset = 32;  // 32
constexpr std::size_t kBrokerOffset = 72;            // 8 (6 used)
constexpr std::size_t kFiscalYearEndOffset = 80;     // 2-byte integer
constexpr std::size_t kFigureCOffset = 124;          // 4-byte float
// R4:
constexpr std::size_t kIndex1BaseOffset = 0;      // 4-byte float
constexpr std::size_t kIndex2BaseOffset = 4;      // 4-byte float
constexpr std::size_t kInitialValueOffset = 8;    // 8-byte float
constexpr std::size_t kCarryMonthOffset = 16;     // 2-byte integer
constexpr std::size_t kCarryYearOffset = 18;      // 2-byte integer
constexpr std::size_t kCarriedGainOffset = 20;    // 8-byte float
constexpr std::size_t kCarriedReturnOffset = 28;  // 4-byte float
constexpr std::size_t kFigureBOffset = 32;        // 4-byte float
constexpr std::size_t kObjectiveOffset = 87;      // investment objective, 4

// SECURITY.REC fields (offsets from 0).
constexpr std::size_t kCusipOffset = 0;          // 12
constexpr std::size_t kDescription1Offset = 12;  // 32
constexpr std::size_t kDescription2Offset = 44;  // 32
constexpr std::size_t kTypeOffset = 76;          // 4
constexpr std::size_t kCategoryOffset = 80;      // 4
constexpr std::size_t kMaturityOffset = 88;      // 8
constexpr std::size_t kRateOffset = 96;          // 4-byte float

constexpr float kNoRate = -999.99f;
constexpr int kAccountUnit = 6;

// Reads record `which` (1 = R1 ... 8 = R8) of account entry k.
bool ReadAccountRecord(int unit, int entry, int which, Record& rec) {
    return ReadRecord(unit, AccountBaseRecord(entry) + which - 1, rec);
}

// Reads the key of account entry `position` and its R2 fields. Shared by
// Gtclnt and Gtclt2; returns false when the walk has no account to read.
bool StepAccount(int& position, AccountSummary& out) {
    ++position;
    {
        Open(kAccountUnit, kAccountIndex);
        UnitGuard guard(kAccountUnit);
        out.count = IndexCount(kAccountUnit);
        if (out.count == 0) {
            position = 0;
            return false;
        }
        if (position > out.count ||
            !ReadIndexKey(kAccountUnit, position, kAccountKeyWidth, kAccountKeysPerRecord, out.account))
            return false;
    }
    Open(kAccountUnit, kAccountRecords);
    UnitGuard guard(kAccountUnit);
    Record rec;
    if (!ReadAccountRecord(kAccountUnit, position, 2, rec)) return false;
    out.manager = rec.Text(kManagerOffset, 4);
    out.name = rec.Text(kShortNameOffset, 32);
    return true;
}

// Finds the account's entry k in ACCOUNT.IDX (0 when absent).
int FindAccount(std::string_view account) {
    Open(kAccountUnit, kAccountIndex);
    UnitGuard guard(kAccountUnit);
    return ScanIndex(kAccountUnit, account, kAccountKeyWidth, kAccountKeysPerRecord, false);
}

// Reads the short name of account entry k; false when it cannot be read.
bool ReadAccountName(int entry, std::string& name) {
    Open(kAccountUnit, kAccountRecords);
    UnitGuard guard(kAccountUnit);
    Record rec;
    if (!ReadAccountRecord(kAccountUnit, entry, 2, rec)) return false;
    name = rec.Text(kShortNameOffset, 32);
    return true;
}

bool StartsWithCash(std::string_view symbol) {
    return symbol.substr(0, 4) == "CASH";
}

// ---- Holdings file
//
// Only the fields of HL<acct>.REC that the lot look-ups need are read
// here, at their offsets; the engine owns the full holding record.
// Header (record 1): first lot record (2-byte integer at 0), records in
// use (at 10) and next free record (at 12); a 0 in any of them marks an
// empty file. Lot records: next lot (2-byte integer at 0, -1 ends the
// chain), symbol (12 at 10), tax lot code (4 at 32), cost (8-byte float at
// 44), open date (8 at 52), memo (20 at 76). The holdings extension file
// HL<acct>.EXT has one record per lot record: a date (8 at 0) and a
// description (32 at 8).
constexpr std::size_t kLotNextOffset = 0;
constexpr std::size_t kLotSymbolOffset = 10;
constexpr std::size_t kLotTaxLotOffset = 32;
constexpr std::size_t kLotCostOffset = 44;
constexpr std::size_t kLotOpenDateOffset = 52;
constexpr std::size_t kLotMemoOffset = 76;

// Follows the lot chain of the holdings file open on unit and returns the
// record number of the first lot with the symbol and tax lot code (0 when
// none, or when a record cannot be read), leaving that lot in lot. The walk
// takes at most as many steps as the file has records, so a damaged chain
// that loops back cannot hold it.
long FindLot(int unit, std::string_view symbol, std::string_view tax_lot, Record& lot) {
    Record header;
    if (!ReadRecord(unit, 1, header)) return 0;
    if (header.I16(0) == 0 || header.I16(10) == 0 || header.I16(12) == 0) return 0;
    const std::string want_symbol = Fixed(symbol, 12);
    const std::string want_lot = Fixed(tax_lot, 4);
    const long limit = RecordCount(unit);
    long link = header.I16(0);
    for (long steps = 0; link >= 2 && steps < limit; ++steps) {
        if (!ReadRecord(unit, link, lot)) return 0;
        if (lot.Text(kLotSymbolOffset, 12) == want_symbol && lot.Text(kLotTaxLotOffset, 4) == want_lot)
            return link;
        link = lot.I16(kLotNextOffset);
    }
    return 0;
}

}  // namespace

SecurityType Gettyp(std::string_view symbol, int index_unit, int record_unit) {
    SecurityType out;
    const int entry = ScanIndex(index_unit, symbol, kSecurityKeyWidth, kSecurityKeysPerRecord, false);
    if (entry == 0) return out;
    Record rec;
    if (!ReadRecord(record_unit, entry, rec)) return out;
    out.entry = entry;
    out.type = rec.Text(kTypeOffset, 4);
    out.cusip = rec.Text(kCusipOffset, 12);
    out.maturity = rec.Text(kMaturityOffset, 8);
    out.rate = rec.R4(kRateOffset);
    return out;
}

SecurityDescription Cksym(std::string_view symbol, const Options& options) {
    SecurityDescription out;
    Open(7, kSecurityIndex);
    UnitGuard index_guard(7);
    Open(8, kSecurityRecords);
    UnitGuard record_guard(8);
    const int entry = ScanIndex(7, symbol, kSecurityKeyWidth, kSecurityKeysPerRecord, false);
    if (entry == 0) return out;
    Record rec;
    if (!ReadRecord(8, entry, rec)) return out;
    out.entry = entry;
    out.cusip = rec.Text(kCusipOffset, 12);
    out.description1 = rec.Text(kDescription1Offset, 32);
    out.description2 = rec.Text(kDescription2Offset, 32);
    out.type = rec.Text(kTypeOffset, 4);
    out.category = rec.Text(kCategoryOffset, 4);
    out.maturity = rec.Text(kMaturityOffset, 8);
    out.rate = rec.R4(kRateOffset);
    // A bond without a second line shows its coupon and maturity there.
    if (IsBlank(out.description2) && OptionOn(options, Opt::kCouponDueDescription) &&
        !IsBlank(out.maturity) && !StartsWithCash(Fixed(symbol, 12)) && out.type != "1   " &&
        out.rate != kNoRate)
        WriteInto(out.description2, "(1X,F7.3,'%  ',2A4,13(' '))",
                  {static_cast<double>(out.rate), std::string_view(out.maturity).substr(0, 4),
                   std::string_view(out.maturity).substr(4, 4)});
    return out;
}

AccountSummary Gtclnt(int& position) {
    AccountSummary out;
    StepAccount(position, out);
    return out;
}

AccountDetail Gtclt2(int& position) {
    AccountDetail out;
    if (!StepAccount(position, out)) return out;
    Open(kAccountUnit, kAccountRecords);
    UnitGuard guard(kAccountUnit);
    Record rec;
    if (!ReadAccountRecord(kAccountUnit, position, 3, rec)) return out;
    out.custodian_account = rec.Text(kCustodianAccountOffset, 32);
    out.broker = rec.Text(kBrokerOffset, 8);
    if (!ReadAccountRecord(kAccountUnit, position, 4, rec)) return out;
    out.objective = rec.Text(kObjectiveOffset, 4);
    return out;
}

AccountEntry Ckclnt(std::string_view account) {
    AccountEntry out;
    const int k = FindAccount(account);
    if (k == 0) return out;
    out.entry = k + 1;
    ReadAccountName(k, out.name);
    return out;
}

AccountPlace Jncltx(std::string_view account) {
    AccountPlace out;
    const int k = FindAccount(account);
    if (k == 0) return out;
    out.place = (k - 1) % kAccountKeysPerRecord + 1;
    out.index_record = 2 + (k - 1) / kAccountKeysPerRecord;
    ReadAccountName(k, out.name);
    return out;
}

PerformanceAccount Ckct75(std::string_view account) {
    const int k = FindAccount(account);
    if (k == 0) {
        PerformanceAccount out;
        out.initial_value = 0;
        return out;
    }
    return ReadPerformanceFields(k);
}

PerformanceAccount ReadPerformanceFields(int k) {
    PerformanceAccount out;
    out.initial_value = 0;
    if (k < 1) return out;
    out.position = k;
    Open(kAccountUnit, kAccountRecords);
    UnitGuard guard(kAccountUnit);
    Record rec;
    if (!ReadAccountRecord(kAccountUnit, k, 2, rec)) return out;
    out.manager = rec.Text(kManagerOffset, 4);
    out.title = rec.Text(kShortNameOffset, 32);
    out.opening_date = rec.Text(kOpenedOffset, 8);
    if (!ReadAccountRecord(kAccountUnit, k, 3, rec)) return out;
    out.fiscal_month = rec.I16(kFiscalYearEndOffset);
    out.figure_c = rec.R4(kFigureCOffset);
    if (!ReadAccountRecord(kAccountUnit, k, 4, rec)) return out;
    out.index1_base = rec.R4(kIndex1BaseOffset);
    out.index2_base = rec.R4(kIndex2BaseOffset);
    out.initial_value = rec.R8(kInitialValueOffset);
    out.carry_month = rec.I16(kCarryMonthOffset);
    out.carry_year = rec.I16(kCarryYearOffset);
    out.carried_gain = rec.R8(kCarriedGainOffset);
    out.carried_return = rec.R4(kCarriedReturnOffset);
    out.figure_b = rec.R4(kFigureBOffset);
    if (!ReadAccountRecord(kAccountUnit, k, 7, rec)) return out;
    for (std::size_t i = 0; i < out.fields.size(); ++i) out.fields[i] = rec.Text(8 * i, 8);
    if (!ReadAccountRecord(kAccountUnit, k, 8, rec)) return out;
    IndexSlot* slots[] = {&out.index1, &out.index2};
    for (std::size_t s = 0; s < 2; ++s) {
        const std::size_t base = 36 * s;
        slots[s]->symbol = rec.Text(base, 12);
        for (std::size_t h = 0; h < 3; ++h) slots[s]->headers[h] = rec.Text(base + 12 + 8 * h, 8);
    }
    return out;
}

std::vector<std::string> CompositeMembers(int entry, bool& read) {
    std::vector<std::string> members;
    read = false;
    if (entry < 1) return members;
    // The combined accounts lie in R4 (1 to 5) and R3 (6 to 10), at the
    // places the account file's codec knows; the other records stay blank.
    AccountRecordSet set;
    for (Record& r : set) r = Record(128, ' ');
    {
        Open(kAccountUnit, kAccountRecords);
        UnitGuard guard(kAccountUnit);
        for (int which = 3; which <= 4; ++which)
            if (!ReadAccountRecord(kAccountUnit, entry, which, set[static_cast<std::size_t>(which - 1)]))
                return members;
    }
    CAccountEntry account;
    DecodeAccountRecords(set, account);
    read = true;
    for (const std::string& combined : account.combined) {
        std::string id = Fixed(combined, 8);
        // A never-written identifier (zero bytes) is blank too.
        for (char& c : id)
            if (c == '\0') c = ' ';
        if (IsBlank(id)) break;
        members.push_back(id);
    }
    return members;
}

std::optional<LotOpening> Getco(std::string_view account, std::string_view symbol, std::string_view tax_lot) {
    constexpr int kUnit = 10;
    Open(kUnit, Paknam(account, "HL", ".REC"));
    UnitGuard guard(kUnit);
    Record lot;
    if (FindLot(kUnit, symbol, tax_lot, lot) == 0) return std::nullopt;
    LotOpening out;
    out.open_date = lot.Text(kLotOpenDateOffset, 8);
    out.cost = lot.R8(kLotCostOffset);
    return out;
}

void Ftele(std::string_view account, std::string_view symbol, std::string_view tax_lot, std::string& text,
           std::string& date, std::string& description, const Options& options) {
    constexpr int kUnit = 16;
    // The whole text must be blank: a memo that only begins with blanks is
    // the transaction's own.
    if (!IsBlank(Fixed(text, 20)) || StartsWithCash(Fixed(symbol, 12))) return;
    long found = 0;
    {
        Open(kUnit, Paknam(account, "HL", ".REC"));
        UnitGuard guard(kUnit);
        Record lot;
        found = FindLot(kUnit, symbol, tax_lot, lot);
        if (found == 0) return;
        text = lot.Text(kLotMemoOffset, 20);
    }
    // The extension texts come only from the lot that matched.
    if (!OptionOn(options, Opt::kLotTexts)) return;
    Open(kUnit, Paknam(account, "HL", ".EXT"));
    UnitGuard guard(kUnit);
    Record ext;
    if (!ReadRecord(kUnit, found, ext)) return;
    date = ext.Text(0, 8);
    description = ext.Text(8, 32);
}

}  // namespace records
