#include "records/common_file.h"

#include "records/dates.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/rounding.h"

namespace records {

namespace {

// These services are called from everywhere, rounding included, often
// while the caller has files open on its own units; they therefore read
// COMMON.FIL and ACCOUNT.REC through files of their own rather than
// through units 6 and 10, which a caller may be using.
constexpr std::size_t kRecordLength = 128;

// Four blanks as a little-endian 4-byte word: a text word that compares
// below it was never written (it holds zero bytes).
constexpr int32_t kFourBlanks = 0x20202020;

int32_t WordValue(std::string_view word) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(word[static_cast<std::size_t>(i)]);
    return static_cast<int32_t>(u);
}

// A table code matches when every character is equal or the table's is "?".
bool WildMatch(const std::string& table_code, const std::string& code) {
    for (std::size_t i = 0; i < 4; ++i)
        if (table_code[i] != '?' && table_code[i] != code[i]) return false;
    return true;
}

}  // namespace

std::array<std::string, kManagerCodeCount> ReadManagerCodes() {
    std::array<std::string, kManagerCodeCount> table;
    table.fill(std::string(4, '\0'));
    DirectFile file(kCommonFile, kRecordLength, /*create=*/false);
    struct Part {
        int record;
        std::size_t offset;
        int first;  // table index of its first code
        int count;
    };
    constexpr Part parts[] = {{kManagerCodes1Record, 16, 0, 10},
                              {kManagerCodes2Record, 0, 10, 32},
                              {kManagerCodes3Record, 0, 42, 32},
                              {kManagerCodes4Record, 0, 74, 26}};
    Record rec;
    for (const Part& p : parts) {
        if (!file.Read(p.record, rec)) break;
        for (int i = 0; i < p.count; ++i)
            table[static_cast<std::size_t>(p.first + i)] =
                rec.Text(p.offset + 4 * static_cast<std::size_t>(i), 4);
    }
    return table;
}

namespace {

// True when some account's second record (2, 10, 18, ...) carries the
// manager code at bytes 17-20.
bool AccountHasManager(const std::string& code) {
    DirectFile file("ACCOUNT.REC", kRecordLength);
    Record rec;
    for (long r = 2; file.Read(r, rec); r += 8)
        if (rec.Text(16, 4) == code) return true;
    return false;
}

}  // namespace

int Setsdt(std::string_view date_text) {
    std::string date = Fixed(date_text, 8);
    int16_t month = 0, day = 0, year = 0;
    if (!Read(date, "(I2,1X,I2,1X,I2)", {&month, &day, &year})) return 2;
    // Two-digit years below 51 are in the 2000s: the number carries them as
    // 100 + YY so that date numbers keep their order across the century.
    year = static_cast<int16_t>(WindowYear(year));
    float number = static_cast<float>((year * 100 + month) * 100 + day);

    DirectFile file(kCommonFile, kRecordLength);
    if (!file.ok()) return 1;
    Record rec(kRecordLength, 0);
    if (!file.Read(kProgramDateRecord, rec)) {
        // A file too short to hold record 2 is a new parameter file: the
        // record starts as zeros. A record that exists but cannot be read
        // is left alone.
        if (file.Count() >= kProgramDateRecord) return 2;
        rec = Record(kRecordLength, 0);
    }
    rec.SetText(0, 8, date);
    rec.SetR4(8, number);
    if (!file.Write(kProgramDateRecord, rec)) return 2;
    return 0;
}

std::string ProgramDateText() {
    DirectFile file(kCommonFile, kRecordLength, false);
    Record rec;
    if (!file.Read(kProgramDateRecord, rec)) return std::string(8, ' ');
    return rec.Text(0, 8);
}

Options Rdopts() {
    Options options{};
    DirectFile file(kCommonFile, kRecordLength);
    Record rec;
    if (file.Read(kOptionsRecord, rec))
        for (std::size_t i = 0; i < options.size(); ++i) options[i] = rec.data()[i];
    return options;
}

RunSettings ReadRunSettings() {
    RunSettings s;
    const DirectFile file(kCommonFile, kRecordLength, /*create=*/false);
    Record rec;
    if (file.Read(kProgramDateRecord, rec)) {
        s.program_date = rec.Text(0, 8);
        s.program_number = rec.R4(8);
    }
    if (file.Read(kOptionsRecord, rec))
        for (std::size_t i = 0; i < s.options.size() && i < rec.size(); ++i) s.options[i] = rec.data()[i];
    return s;
}

bool Wropts(const Options& options) {
    Record rec(kRecordLength, 0);
    for (std::size_t i = 0; i < options.size(); ++i) rec.data()[i] = options[i];
    DirectFile file(kCommonFile, kRecordLength);
    const bool written = file.Write(kOptionsRecord, rec);
    // The rounding keeps option 81 for the run under way: a new value
    // counts from here on, as it did when the rounding read it every call.
    rounding_detail::ForgetSystemDecimals();
    return written;
}

PrinterWords Rdprto() {
    PrinterWords words{};
    DirectFile file(kCommonFile, kRecordLength);
    Record rec;
    if (!file.Read(kPrinterSettingsRecord, rec)) return words;
    if (rec.I16(124) != kPrinterMark1 || rec.I16(126) != kPrinterMark2) return words;
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = rec.I16(2 * i);
    return words;
}

void Wrprto(PrinterWords& words) {
    words[62] = kPrinterMark1;
    words[63] = kPrinterMark2;
    Record rec(kRecordLength, 0);
    for (std::size_t i = 0; i < words.size(); ++i) rec.SetI16(2 * i, words[i]);
    DirectFile file(kCommonFile, kRecordLength);
    file.Write(kPrinterSettingsRecord, rec);
}

void Chksec(std::string_view code, int16_t& position, int16_t& status) {
    status = kChksecFound;
    const std::array<std::string, kManagerCodeCount> table = ReadManagerCodes();

    bool written = false;
    for (const std::string& c : table)
        if (WordValue(c) >= kFourBlanks) written = true;
    if (!written) {
        status = kChksecNoTable;
        position = 0;
        return;
    }

    const std::string given = Fixed(code, 4);
    for (int k = 1; k <= kManagerCodeCount; ++k) {
        const std::string& entry = table[static_cast<std::size_t>(k - 1)];
        if (entry == given) {
            const int16_t incoming = position;
            position = static_cast<int16_t>(k);
            // -999 asks only for the code's place in the table.
            if (incoming == -999) return;
            if (AccountHasManager(given)) return;
            status = kChksecNoAccount;
            position = 0;
            return;
        }
        if (WildMatch(entry, given)) {
            position = static_cast<int16_t>(k);
            return;
        }
    }
    status = kChksecNoMatch;
    position = 0;
}

}  // namespace records
