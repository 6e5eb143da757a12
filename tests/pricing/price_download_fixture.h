#pragma once

// The fixture of the Price Download tests. Once per run: a home folder for
// the data feed (VEXA.INI under XDG_CONFIG_HOME, qordata.par, the error
// texts) and the data-feed libraries loaded from the build with dlopen, as
// the program loads them (they read VEXA.INI as they load, so this comes
// first); the program's glue is handed their ol_DataRequest. Each test: a
// fresh data directory with the program started in it on 12/08/98 (test
// clock), a small firm of securities, and the simulated modem and price
// server of tests/feed/peer on the serial port COM2 of the data feed.
//
// Scripts under tests/pricing/scripts/ drive the program from its menu;
// they are played from here because the peer and the library must be set
// up first, and the test checks afterwards what the peer received.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "feed/dialup/vexa32md.h"
#include "pricing/price_download_dialog.h"
#include "records/account_records.h"
#include "records/files.h"
#include "records/index.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/security_file.h"
#include "tests/feed/common/feed_libraries.h"
#include "tests/feed/common/feed_test_support.h"
#include "tests/feed/peer/price_peer.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace pricingtest {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

using feedtest::ReadFile;
using feedtest::WriteFile;

inline constexpr const char* kParams = feedtest::kPeerCallParams;

class FeedEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        std::random_device random;
        home = fs::temp_directory_path() / ("ledra-price-download-" + std::to_string(random()));
        fs::create_directories(home / "config" / "ledra");
        setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        WriteIni("");
        WriteFile(home / "qordata.par", kParams);
        feedtest::CopyErrorTexts(home);
        const feedtest::FeedLibraries libraries = feedtest::LoadFeedLibraries(FEED_LIBRARY_DIR);
        ASSERT_EQ(libraries.error, "");
        entry = reinterpret_cast<pricing::DataRequestEntry>(libraries.entry);
        install_session = libraries.install_session;
        install_side_channel = libraries.install_side_channel;
        pricing::SetFeedEntry(entry);
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(home, error);
    }

    // VEXA.INI with the home folder and these further lines.
    static void WriteIni(const std::string& lines) {
        WriteFile(home / "config" / "ledra" / "VEXA.INI",
                  "[config]\nhome_dir=" + home.string() + "/\n" + lines);
    }

    static inline fs::path home;
    static inline pricing::DataRequestEntry entry = nullptr;
    static inline InstallTestSessionFunction install_session = nullptr;
    static inline InstallTestSideChannelFunction install_side_channel = nullptr;
};

// A security of the test firm: SECURITY.IDX symbol and the SECURITY.REC
// fields the pricing run reads.
struct Security {
    std::string symbol;
    std::string cusip;
    std::string type;
    char pricing_flag = 0;     // byte 105; 0 reads as "Y"
    char exchange_mark = ' ';  // byte 104, "I" for an information request
    int payments = 4;          // byte 106
    int16_t dividend_record = 0;
    std::string due_date{};  // bytes 89-96
    float rate = 0;          // bytes 97-100, the annual dividend
};

// Writes SECURITY.IDX (with the dividend-file record count), SECURITY.REC
// and an empty SECURITY.EXT record for every security.
inline void WriteFirm(const std::vector<Security>& securities, int16_t dividend_records = 10) {
    std::vector<fixtures::SecurityFields> fields;
    for (const Security& s : securities) {
        fixtures::SecurityFields f;
        f.symbol = s.symbol;
        f.cusip = s.cusip;
        f.type = s.type;
        f.maturity = s.due_date;
        f.rate = s.rate;
        fields.push_back(f);
    }
    fixtures::WriteSecurities(fields);
    {
        records::DirectFile index(records::kSecurityIndex, 128);
        records::Record head;
        index.Read(1, head);
        head.SetI16(2, dividend_records);
        index.Write(1, head);
    }
    for (std::size_t i = 0; i < securities.size(); ++i) {
        const long n = static_cast<long>(i) + 1;
        records::Record rec;
        records::ReadSecurityRecord(n, rec);
        rec.data()[103] = static_cast<unsigned char>(securities[i].exchange_mark);
        rec.data()[104] = static_cast<unsigned char>(securities[i].pricing_flag);
        rec.data()[105] = static_cast<unsigned char>(securities[i].payments);
        rec.SetI16(124, securities[i].dividend_record);
        records::WriteSecurityRecord(n, rec);
        records::WriteSecurityExtension(n, records::NewSecurityExtension());
    }
}

// COMMON.FIL record 32: the 14 type switches, these on (1-14).
inline void WriteTypeSwitches(const std::vector<int>& on) {
    records::Record rec(128, 0);
    for (int k : on) rec.SetI16(static_cast<std::size_t>(2 * (k - 1)), 1);
    fixtures::WriteCommonRecord(32, rec);
}

// HL<account>.REC with one lot a record, linked in the order given: each
// lot's symbol and SECURITY.REC record number.
inline void WriteHoldings(const std::string& account,
                          const std::vector<std::pair<std::string, int16_t>>& lots) {
    records::DirectFile file("HL" + account + ".REC", 128);
    records::HoldingsHeader header;
    header.account = account;
    header.first_lot = lots.empty() ? -1 : 2;
    header.records_in_use = static_cast<int16_t>(lots.size() + 1);
    header.next_free = static_cast<int16_t>(lots.size() + 2);
    records::Record rec(128, 0);
    header.Encode(rec);
    file.Write(1, rec);
    for (std::size_t i = 0; i < lots.size(); ++i) {
        records::HoldingRecord lot;
        lot.next = i + 1 < lots.size() ? static_cast<int16_t>(i + 3) : -1;
        lot.symbol = lots[i].first;
        lot.holding_key = lots[i].first.starts_with("CASH") ? 0 : static_cast<double>(i + 1);  // 0 is cash
        lot.security_record = lots[i].second;
        lot.quantity = 100;
        records::Record lot_rec(128, 0);
        lot.Encode(lot_rec);
        file.Write(static_cast<long>(i + 2), lot_rec);
    }
}

// A price as the price file of a date holds it.
inline double StoredPrice(const std::string& date, long record) {
    double price = 0;
    records::Rwpric(0, -7, date, record, price);
    return price;
}

class PriceDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FeedEnvironment::entry);
        run_ = std::make_unique<tools::ProgramRun>(dir_.path(),
                                                   tools::ProgramRun::Options{tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run_->Started());
        FeedEnvironment::install_session(nullptr);
        FeedEnvironment::install_side_channel(nullptr);
        pricing::ResetFeedRecordCounterForTesting();
    }
    void TearDown() override {
        if (run_) {
            run_->Close();
            for (const std::string& failure : run_->Failures()) ADD_FAILURE() << failure;
            run_.reset();
        }
        // The library as the next test finds it: nothing connected, no
        // options kept, the peer no longer its side channel.
        Request("HANGUP");
        Request("RESET");
        FeedEnvironment::install_side_channel(nullptr);
        FeedEnvironment::WriteIni("");
    }

    // The serial port COM2 is a pseudo-terminal with the simulated modem and
    // price server at its far end, answering these request lines.
    void UsePeer(std::map<std::string, Strings> answers) {
        peer_ = std::make_unique<feedpeer::PricePeer>();
        peer_->SetLogin("joe", "secret");
        peer_->SetAnswers(std::move(answers));
        FeedEnvironment::WriteIni("[ports]\nCOM2=" + peer_->DevicePath() + "\n");
        FeedEnvironment::install_side_channel(peer_.get());
    }

    // Plays a script of tests/pricing/scripts; true when it ran to its end.
    bool Play(const std::string& name) {
        return run_->RunScriptFile(fs::path(LEDRA_TESTS_DIR) / "pricing" / "scripts" / name);
    }
    bool PlayText(const std::string& text) { return run_->RunScript(text); }

    static int Request(const std::string& options) {
        std::vector<char> text(options.begin(), options.end());
        text.push_back('\0');
        return FeedEnvironment::entry(0, "", text.data());
    }

    // The request lines the server received (continuations left out).
    Strings Requests() const {
        Strings lines;
        for (const std::string& line : peer_->Requests())
            if (line != "C") lines.push_back(line);
        return lines;
    }

    fixtures::TempDataDir dir_;
    std::unique_ptr<feedpeer::PricePeer> peer_;
    std::unique_ptr<tools::ProgramRun> run_;
};

}  // namespace pricingtest
