// The automatic pricing run (Autopric) and its account list (Chkdel).

#include "pricing/automatic_pricing.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "engine/replay.h"
#include "pricing/dividend_split_files.h"
#include "pricing/feed_answers.h"
#include "pricing/feed_requests.h"
#include "pricing/price_download_dialog.h"
#include "pricing/pricing_warnings.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/security_file.h"

namespace pricing {
namespace {

using records::Record;

constexpr int kIndexUnit = 7;  // SECURITY.IDX during selection, then the price file
constexpr int kPriceUnit = 7;
constexpr int kSecurityUnit = 8;
constexpr int kExtensionUnit = 9;
constexpr int kHoldingsUnit = 10;
constexpr std::size_t kCommonLength = 128;
constexpr int kTypeSwitchRecord = 32;
constexpr int kTypeSwitches = 14;

// SECURITY.REC offsets (from 0) of the fields the run reads and writes.
constexpr std::size_t kTypeAt = 76;
constexpr std::size_t kDueDateAt = 88;
constexpr std::size_t kAnnualDividendAt = 96;
constexpr std::size_t kInformationMarkAt = 103;  // fourth character of the exchange code
constexpr std::size_t kPricingFlagAt = 104;
constexpr std::size_t kPaymentsAt = 105;
constexpr std::size_t kExDateAt = 108;
constexpr std::size_t kPayDateAt = 116;
constexpr std::size_t kDividendRecordAt = 124;
// SECURITY.EXT: the J value.
constexpr std::size_t kJValueAt = 54;

constexpr const char* kNoTypesMessage = " No security types have been selected for pricing.";
constexpr const char* kNoSecuritiesMessage =
    " *** Warning: no securities identified for pricing, please check specified security types.";
constexpr const char* kCommonMessage = " *** ERROR: the settings in COMMON.FIL cannot be read.";

// The type switch (1-14) that prices a security type; 0 for a type that is
// never priced.
int TypeSwitch(char type) {
    switch (type) {
        case '3':
        case '5':
        case '6':
        case 'W':
            return 1;
        case '7':
            return 2;
        case 'Y':
            return 3;
        case '9':
            return 4;
        case 'B':
            return 5;
        case 'C':
            return 6;
        case 'D':
            return 7;
        case 'F':
            return 8;
        case 'P':
            return 9;
        case 'N':
            return 10;
        case 'H':
            return 11;
        case 'J':
            return 12;
        case 'L':
            return 13;
        case 'R':
            return 14;
        default:
            return 0;
    }
}

// The pricing class a "V" request carries; 0 for a type without one.
char PricingClass(char type) {
    switch (type) {
        case '3':
        case '5':
        case '6':
        case 'W':
        case 'B':
        case 'D':
        case 'F':
            return 'B';
        case '7':
        case 'Y':
            return 'M';
        case '9':
        case 'C':
        case 'P':
        case 'N':
        case 'H':
        case 'J':
        case 'L':
            return 'E';
        case 'R':
            return 'O';
        default:
            return 0;
    }
}

std::string Fixed(std::string_view text, std::size_t n) {
    return records::Fixed(text, n);
}

// The windowed date number of a MM/DD/YY text; nothing for a text that
// does not read as a date.
std::optional<float> DateNumber(std::string_view date) {
    int16_t month = 0, day = 0, year = 0;
    if (!records::Redate(date, month, day, year) || month < 1 || month > 12 || day < 1) return std::nullopt;
    return records::WindowedDateNumber(month, day, year);
}

void SetMessage(std::string& message, int length, std::string_view text) {
    message = Fixed(text, static_cast<std::size_t>(std::max(length, 0)));
}

// The COMMON.FIL records the run needs: the program date number and the
// type switches. False when a record cannot be read.
bool ReadSettings(float& program_date_number, std::array<bool, kTypeSwitches>& switches) {
    const records::DirectFile common(records::kCommonFile, kCommonLength, /*create=*/false);
    Record date, options, types;
    if (!common.Read(records::kProgramDateRecord, date) || !common.Read(records::kOptionsRecord, options) ||
        !common.Read(kTypeSwitchRecord, types))
        return false;
    program_date_number = date.R4(8);
    for (int k = 0; k < kTypeSwitches; ++k) {
        const std::size_t at = static_cast<std::size_t>(2 * k);
        // A word of two blanks is a switch never set.
        switches[k] = types.I16(at) != 0 && types.Text(at, 2) != "  ";
    }
    return true;
}

// Every security of the types switched on, in index order. False with the
// message set when no type is switched on.
bool ScanIndex(int count, const std::array<bool, kTypeSwitches>& switches,
               std::vector<PricingCandidate>& list, std::string& message, int message_length) {
    const bool any_switch = std::find(switches.begin(), switches.end(), true) != switches.end();
    for (int n = 1; n <= count; ++n) {
        std::string symbol(12, ' ');
        if (!records::ReadIndexKey(kIndexUnit, n, records::kSecurityKeyWidth, records::kSecurityKeysPerRecord,
                                   symbol))
            break;
        const std::string head = Fixed(symbol, 4);
        if (head == "$$$$" || head == "CASH") continue;
        Record rec;
        if (!records::ReadRecord(kSecurityUnit, n, rec)) break;
        if (!any_switch) {
            SetMessage(message, message_length, kNoTypesMessage);
            return false;
        }
        char flag = static_cast<char>(rec.data()[kPricingFlagAt]);
        if (static_cast<unsigned char>(flag) <= ' ') flag = 'Y';
        if (flag == 'N') continue;
        const int type_switch = TypeSwitch(static_cast<char>(rec.data()[kTypeAt]));
        if (type_switch == 0 || !switches[type_switch - 1]) continue;
        list.push_back({static_cast<int16_t>(n), PricingKey(rec.Text(0, 12)), Fixed(symbol, 12)});
    }
    return true;
}

// The pricing date as the requests carry it: YYMMDD, blanks as "0".
std::string RequestDate(int16_t year, int16_t month, int16_t day) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d%2d%2d", year % 100, month % 100, day % 100);
    std::string date(text, 6);
    std::replace(date.begin(), date.end(), ' ', '0');
    return date;
}

// What one security's conversation yields.
struct Working {
    double price = records::kNoPriceValue;
    float j_value = 0;
    DividendAnswer dividend;
};

}  // namespace

float PricingKey(std::string_view cusip) {
    const std::string c = Fixed(cusip, 6);
    float key = 0;
    float scale = 1;
    for (int k = 5; k >= 0; --k) {
        key = key + static_cast<float>(static_cast<unsigned char>(c[static_cast<std::size_t>(k)])) * scale;
        scale *= 100.0f;
    }
    return key;
}

void Chkdel(std::string_view account, std::string_view price_date, int16_t& count, float date_number,
            float program_date_number, std::vector<PricingCandidate>& list) {
    count = 0;
    list.clear();
    std::string holdings;
    if (date_number < program_date_number) {
        int16_t status = 2;
        engine::Creatt(account, price_date, date_number, 0, 0, status);
        holdings = records::Paknam("        ", "HL  ", ".TMP");
    } else {
        holdings = records::Paknam(account, "HL  ", ".REC");
    }
    if (!std::filesystem::exists(records::ResolveName(holdings))) return;
    records::Open(kHoldingsUnit, holdings);
    records::UnitGuard close_holdings(kHoldingsUnit);
    Record rec;
    if (!records::ReadRecord(kHoldingsUnit, 1, rec)) return;
    int16_t link = rec.I16(0);
    const std::optional<float> pricing_number = DateNumber(price_date);

    // The walk ends at the list's end (a link below 1), at a record that
    // does not read, or after as many steps as the file has records, so a
    // damaged file whose links run in a circle cannot hold it.
    const long limit = records::RecordCount(kHoldingsUnit);
    std::string last_symbol;
    for (long steps = 0; link > 0 && steps < limit; ++steps) {
        if (!records::ReadRecord(kHoldingsUnit, link, rec)) break;
        const records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
        link = lot.next;
        const std::string symbol = Fixed(lot.symbol, 12);
        if (symbol.starts_with("CASH") || symbol == last_symbol) continue;
        last_symbol = symbol;

        Record security;
        if (!records::ReadRecord(kSecurityUnit, lot.security_record, security)) break;
        const char type = static_cast<char>(security.data()[kTypeAt]);
        if (type == '1' || type == '4' || type == 'S' || type == 'Z') continue;
        if (std::string_view("3567BWXY").find(type) != std::string_view::npos && pricing_number) {
            // A security whose due date has passed is not priced; a date
            // that does not read is no due date.
            const std::optional<float> due = DateNumber(security.Text(kDueDateAt, 8));
            if (due && *due < *pricing_number) continue;
        }
        std::string entry(12, ' ');
        if (records::Getadr(entry, lot.security_record) != 0) continue;
        if (Fixed(entry, 4) == "$$$$") continue;
        list.push_back({lot.security_record, 0, Fixed(entry, 12)});
        ++count;
    }
}

void Autopric(std::string_view select_flag, std::string_view account, char kind, std::string_view skip_priced,
              std::string_view alternate, std::string_view price_date, std::string_view div_start,
              std::string_view div_end, int16_t /*spare*/, int16_t& status, std::string& message,
              int message_length) {
    SetMessage(message, message_length, "");
    // While a run waits for the data feed the user-interface thread handles
    // the dialog's buttons, so a second Start Download can arrive inside
    // it. It is refused as a connect is refused (status 1, no text) before
    // it opens anything: the units of the run under way stay as they are.
    static bool running = false;
    if (running) {
        status = 1;
        return;
    }
    running = true;
    struct RunEnds {
        ~RunEnds() { running = false; }
    } run_ends;

    const std::string date = Fixed(price_date, 8);
    const bool prices = kind == 'P' || kind == 'B';
    const bool alternate_requests = Fixed(alternate, 4) == "Y   ";

    // Units 7, 8 and 9 are closed on every way out.
    records::UnitGuard close_7(kIndexUnit), close_8(kSecurityUnit), close_9(kExtensionUnit);

    float program_date_number = 0;
    std::array<bool, kTypeSwitches> switches{};
    if (!ReadSettings(program_date_number, switches)) {
        status = 1;
        SetMessage(message, message_length, kCommonMessage);
        return;
    }
    int16_t month = 0, day = 0, year = 0;
    records::Redate(date, month, day, year);
    const float date_number = records::WindowedDateNumber(month, day, year);

    std::vector<PricingCandidate> list;
    int16_t dividend_records = 0;
    int count = 0;
    // SECURITY.IDX is only read: a data directory without one has nothing
    // to price (and gets no empty index).
    if (std::filesystem::exists(records::ResolveName(records::kSecurityIndex))) {
        records::Open(kIndexUnit, records::kSecurityIndex);
        Record head;
        if (records::ReadRecord(kIndexUnit, 1, head)) {
            count = head.I16(0);
            dividend_records = head.I16(2);
        }
    }
    if (count > 0) {
        records::Open(kSecurityUnit, records::kSecurityRecords);
        records::Open(kExtensionUnit, records::kSecurityExtensionFile);
        if (Fixed(select_flag, 4) == "Y   ") {
            // The account's list keeps the order of its lots.
            int16_t listed = 0;
            Chkdel(account, date, listed, date_number, program_date_number, list);
        } else {
            if (!ScanIndex(count, switches, list, message, message_length)) {
                status = 1;
                return;
            }
            std::stable_sort(
                list.begin(), list.end(),
                [](const PricingCandidate& a, const PricingCandidate& b) { return a.key < b.key; });
        }
    }
    records::Close(kIndexUnit);
    if (count <= 0 || (list.empty() && Fixed(select_flag, 4) != "Y   ")) {
        status = 1;
        SetMessage(message, message_length, kNoSecuritiesMessage);
        return;
    }

    records::Open8(kPriceUnit, records::PriceFileName(date));
    const std::string request_date = RequestDate(year, month, day);

    status = 0;
    FeedConnect(status);
    if (status != 0) return;

    // The file holds this run's warnings only: what an earlier run left in
    // it goes, also when this run has none to write.
    records::Purge(kAutoErrorFileName);
    records::Openaw(kAutoErrorUnit, kAutoErrorFileName);
    const WarningSink warnings_file = UnitWarnings(kAutoErrorUnit);
    int16_t warnings = 0;
    const int total = static_cast<int>(list.size());
    for (int i = 1; i <= total; ++i) {
        const PricingCandidate& candidate = list[static_cast<std::size_t>(i - 1)];
        const long n = candidate.record;
        Working work;
        Record security;
        if (!records::ReadRecord(kSecurityUnit, n, security)) continue;

        if (Fixed(skip_priced, 4) == "Y   ") {
            double stored = records::kNoPriceValue;
            records::Rwpric(0, kPriceUnit, date, n, stored);
            if (stored > 0 && stored < 99999.99) continue;
        }

        // A type without a pricing class (reachable only from an account's
        // holdings) is not asked.
        const char pricing_class = PricingClass(static_cast<char>(security.data()[kTypeAt]));
        if (pricing_class == 0) continue;
        Record extension;
        if (pricing_class != 'E' && !records::ReadRecord(kExtensionUnit, n, extension)) continue;

        const std::string cusip = security.Text(0, 12);
        const bool information = security.data()[kInformationMarkAt] == 'I';
        const int16_t dividend_record = security.I16(kDividendRecordAt);
        const bool alternate_class = alternate_requests && pricing_class != 'E';
        std::string price_request(kFeedLineWidth, ' '), price_answer(kFeedLineWidth, ' ');
        std::string dividend_request(kFeedLineWidth, ' '), dividend_answer(kFeedLineWidth, ' ');
        if (prices) {
            if (information)
                Reqi(price_request, request_date, cusip);
            else if (alternate_class)
                Reqj(price_request, request_date, cusip);
            else
                Reqv(price_request, request_date, pricing_class, cusip);
        }
        const bool dividends = kind == 'D' || (kind == 'B' && dividend_record > 0 && !information);
        if (dividends) Reqdaa(dividend_request, Fixed(div_start, 8), Fixed(div_end, 8), cusip);

        char progress[64];
        std::snprintf(progress, sizeof progress, "Downloading %4d of %4d, %s", i, total,
                      candidate.symbol.c_str());
        FeedShowStatus(Fixed(progress, 40), 40);

        if (prices) {
            FeedExchangeLine(price_request, price_answer, status);
            if (status != 0) break;
        }
        if (dividends) {
            FeedExchangeLine(dividend_request, dividend_answer, status);
            if (status != 0) break;
        }

        if (prices && !information) {
            if (alternate_class)
                Prsprj(price_answer, work.price, work.j_value, warnings, warnings_file);
            else
                Prsprc(price_answer, work.price, warnings, warnings_file);
        }
        if (dividends) Prsdaa(dividend_answer, work.dividend, warnings, warnings_file);

        // Only a price obtained is filed: a security the server could not
        // price keeps what the date's price file holds.
        if (prices && work.price != records::kNoPriceValue)
            records::Rwpric(1, kPriceUnit, date, n, work.price);

        if (kind == 'B' || kind == 'D') {
            const DividendAnswer& d = work.dividend;
            if (d.amount > 0)
                Wrdiv(d.amount, d.ex_date, d.pay_date, dividend_record, dividend_records, warnings_file);
            if (d.split_ratio > 0)
                Wrspl(candidate.symbol, d.split_ex_date, d.split_pay_date, d.split_ratio, warnings_file);
            if (d.amount > 0) {
                security.SetText(kExDateAt, 8, d.ex_date);
                security.SetText(kPayDateAt, 8, d.pay_date);
                int payments = static_cast<int8_t>(security.data()[kPaymentsAt]);
                if (payments < 0 || payments > 12) payments = 4;
                // A security without payments a year keeps its stored rate.
                if (payments > 0) security.SetR4(kAnnualDividendAt, static_cast<float>(payments) * d.amount);
            }
            records::WriteRecord(kSecurityUnit, n, security);
        }
        if (pricing_class != 'E') {
            if (work.j_value > 0) extension.SetR4(kJValueAt, work.j_value);
            records::WriteRecord(kExtensionUnit, n, extension);
        }
    }

    records::Close(kAutoErrorUnit);
    FeedHangup();
}

}  // namespace pricing
