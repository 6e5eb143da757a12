#pragma once

// A data directory for the posting tests: one account, a few securities,
// the program date, and helpers to fill entry forms and to compare what
// the directory held before and after a posting.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/entry_form.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace posting_fixture {

inline const std::string kAccount = "ACC1";
inline const std::string kOpened = "01/02/95";
inline const std::string kProgramDate = "12/31/98";

// The account's own files.
inline const std::string kTr = "TRACC1.REC";
inline const std::string kTrExt = "TRACC1.EXT";
inline const std::string kHl = "HLACC1.REC";

// Security entries: 1 CASH (type 1, as firms keep it first), 2 IBM (an
// equity, type H), 3 BOND (type B, per 100 of face value), 4 MMF (a
// money-market fund, type 1).
inline void WriteDataDirectory() {
    fixtures::WriteAccounts({{.id = kAccount, .short_name = "TEST ACCOUNT", .opened = kOpened}});
    fixtures::WriteSecurities({
        {.symbol = "CASH", .cusip = "CASH", .description1 = "CASH", .type = "1"},
        {.symbol = "IBM",
         .cusip = "459200101",
         .description1 = "INTL BUSINESS MACHINES",
         .type = "H",
         .category = "12"},
        {.symbol = "BOND",
         .cusip = "BOND",
         .description1 = "TREASURY NOTE",
         .type = "B",
         .category = "03",
         .maturity = "06/15/10",
         .rate = 6.5f},
        {.symbol = "MMF", .cusip = "MMF", .description1 = "MONEY FUND", .type = "1"},
    });
    records::Record date(128, 0);
    date.SetText(0, 8, kProgramDate);
    date.SetR4(8, 981231.0f);
    fixtures::WriteCommonRecord(2, date);
    fixtures::SetOptions({});
}

// A form from (field, text) pairs; other fields blank.
inline engine::EntryForm Form(const std::vector<std::pair<int, std::string>>& fields) {
    engine::EntryForm form;
    for (const auto& [n, text] : fields) form.SetField(n, text);
    return form;
}

// Every file of the data directory with its bytes.
inline std::map<std::string, std::vector<unsigned char>> DirectoryBytes() {
    std::map<std::string, std::vector<unsigned char>> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::current_path()))
        if (entry.is_regular_file()) {
            const std::string name = entry.path().filename().string();
            files[name] = fixtures::TempDataDir::ReadBytes(name);
        }
    return files;
}

// The account's own files: what a posting may change. The replay's work
// files (HL.TMP, GL.TMP) are scratch and are left out.
inline std::map<std::string, std::vector<unsigned char>> AccountFiles() {
    std::map<std::string, std::vector<unsigned char>> files;
    for (auto& [name, bytes] : DirectoryBytes())
        if (name.find("ACC1") != std::string::npos) files[name] = bytes;
    return files;
}

inline records::Record ReadRecordOf(const std::string& name, long n) {
    const records::DirectFile file(name, 128, false);
    records::Record rec;
    EXPECT_TRUE(file.Read(n, rec)) << name << " record " << n;
    rec.bytes().resize(128, 0);
    return rec;
}

// The flags and messages a form should come back with: field n and its
// message ("" for a flag without a message).
using Rejections = std::map<int, std::string>;

inline void ExpectRejections(const engine::EntryForm& form, const Rejections& want) {
    for (int n = 1; n <= engine::kEntryStatusCount; ++n) {
        const auto it = want.find(n);
        if (it == want.end()) {
            EXPECT_EQ(form.Flag(n), 0) << "flag " << n << ": " << form.Message(n);
            EXPECT_EQ(records::Trim(form.Message(n)), "") << "message " << n;
        } else {
            EXPECT_EQ(form.Flag(n), 1) << "flag " << n;
            EXPECT_EQ(records::TrimRight(form.Message(n)), it->second) << "message " << n;
        }
    }
}

// A posting routine: Fbuysell, Fcash or Fasset.
using Poster = void (*)(engine::PostingMode, int32_t&, engine::EntryForm&);

// Posts a form that must pass; returns the record number it was filed in.
inline int32_t PostValid(Poster post, engine::EntryForm form, engine::PostingMode mode, int32_t record) {
    post(mode, record, form);
    ExpectRejections(form, {});
    return record;
}

// Posts a form that must be refused with `want`, leaving the record number
// and the files `snapshot` reads as they were.
inline void ExpectRefused(Poster post, engine::EntryForm form, engine::PostingMode mode, int32_t record,
                          const Rejections& want,
                          std::map<std::string, std::vector<unsigned char>> (*snapshot)()) {
    const auto before = snapshot();
    int32_t posted = record;
    post(mode, posted, form);
    ExpectRejections(form, want);
    EXPECT_EQ(posted, record);
    EXPECT_TRUE(snapshot() == before) << "a file changed";
}

// Each row: the changed form, posted in its mode to its record, must be
// refused with `want`, leaving the files `snapshot` reads as they were.
struct RefusedCase {
    std::string name;
    engine::EntryForm form;
    engine::PostingMode mode;
    int32_t record;
};

inline void ExpectEachRefused(Poster post, const std::vector<RefusedCase>& cases, const Rejections& want,
                              std::map<std::string, std::vector<unsigned char>> (*snapshot)()) {
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(post, c.form, c.mode, c.record, want, snapshot);
    }
}

// The value history HLACC1.DAT with a damaged year in its header: the first
// year (offset 10, bytes 11-12) or the last year (offset 14, bytes 15-16).
struct DamagedHistoryYear {
    const char* name;
    std::size_t offset;
    int16_t year;
};
inline const std::vector<DamagedHistoryYear>& DamagedHistoryYears() {
    static const std::vector<DamagedHistoryYear> cases = {
        {"first year -32768", 10, INT16_MIN},
        {"last year 32767", 14, INT16_MAX},
        {"last year 131 years on", 14, 98 + 130},
    };
    return cases;
}
inline void DamageHistoryYear(const DamagedHistoryYear& damage) {
    records::Record head = ReadRecordOf("HLACC1.DAT", 1);
    head.SetI16(damage.offset, damage.year);
    records::DirectFile("HLACC1.DAT", 128).Write(1, head);
}

// The transaction file's header counts its records in 16 bits: this sets
// the count to 32,767, the last it can name, so that no record can be added.
inline void FillTransactionFile() {
    records::Record head = ReadRecordOf(kTr, 1);
    head.SetI16(0, 32767);
    records::DirectFile(kTr, 128).Write(1, head);
}

// An extension record holding one date at byte 20 (the record date of a
// transfer, the settlement date of a trade) and zeros elsewhere.
inline void ExpectExtensionWithOnlyTheDate(const records::Record& ext, const std::string& date) {
    for (std::size_t b = 0; b < 20; ++b) EXPECT_EQ(ext.data()[b], 0) << b;
    EXPECT_EQ(ext.Text(20, 8), date);
    for (std::size_t b = 28; b < 60; ++b) EXPECT_EQ(ext.data()[b], 0) << b;
}

// A code check that takes no mode (Ckcodc, Ckcodt): the code, blank-padded
// to four characters, in; cash direction, sign, state and flag out.
using CodeCheck = void (*)(std::string&, int16_t&, int16_t&, int16_t&, int16_t&);

// A typed code and what the check gives for it; the state it leaves is the
// flag.
struct CodeCase {
    std::string typed;
    int16_t flag, sign, direction;
};

inline void ExpectCodeChecks(CodeCheck check, const std::vector<CodeCase>& cases) {
    for (const CodeCase& c : cases) {
        std::string code = records::Fixed(c.typed, 4);
        int16_t direction = 9, sign = 9, state = 0, flag = 0;
        check(code, direction, sign, state, flag);
        EXPECT_EQ(flag, c.flag) << c.typed;
        EXPECT_EQ(state, c.flag) << c.typed;
        EXPECT_EQ(sign, c.sign) << c.typed;
        EXPECT_EQ(direction, c.direction) << c.typed;
    }
}

// One row of a table of checks: the changes to a valid form, the flags and
// messages they bring, and the mode and record the form is posted with.
struct CheckCase {
    std::string name;
    std::vector<std::pair<int, std::string>> fields;
    Rejections want;
    engine::PostingMode mode = engine::PostingMode::kAdd;
    int32_t record = 0;
};

// Each row applied to `valid` must be refused and leave every file alone.
inline void ExpectChecksRejectAndWriteNothing(Poster post, const engine::EntryForm& valid,
                                              const std::vector<CheckCase>& cases) {
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        engine::EntryForm form = valid;
        for (const auto& [n, text] : c.fields) form.SetField(n, text);
        ExpectRefused(post, form, c.mode, c.record, c.want, DirectoryBytes);
    }
}

}  // namespace posting_fixture
