// The tax record file A:IRSTAX.

#include "reports/gains_tax/tax_record_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "records/letterhead.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/holding_periods.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

constexpr std::string_view kStates[] = {
    "AL", "AK", "AS", "AZ", "AR", "CA", "CO", "CT", "DE", "DC", "FL", "GA", "GU", "HI",
    "ID", "IL", "IN", "IA", "KS", "KY", "LA", "ME", "MP", "MD", "MA", "MI", "MN", "MS",
    "MO", "MT", "NE", "NV", "NH", "NJ", "NM", "NY", "NC", "ND", "OH", "OK", "OR", "PA",
    "PR", "RI", "SC", "SD", "TN", "TX", "UT", "VT", "VI", "VA", "WA", "WV", "WI", "WY"};

bool HasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Puts text at 1-based positions first.. of the record (cut at the record's
// end).
void Place(std::string& record, std::size_t first, std::string_view text) {
    for (std::size_t i = 0; i < text.size() && first - 1 + i < record.size(); ++i)
        record[first - 1 + i] = text[i];
}

long long Cents(double amount) {
    return std::llround(amount * 100.0);
}

std::string TwoDigits(int n) {
    const int v = ((n % 100) + 100) % 100;
    return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

// The digits of a taxpayer number in order, left-aligned, blank padded.
std::string DigitsOnly(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return records::Fixed(digits, text.size());
}

}  // namespace

std::string TaxAmountField(long long cents, std::size_t width) {
    const bool negative = cents < 0;
    const std::string digits = std::to_string(negative ? -cents : cents);
    const std::size_t room = negative ? width - 1 : width;
    if (digits.size() > room) return {};
    return (negative ? "-" : "") + std::string(room - digits.size(), '0') + digits;
}

PayeeAddress AnalysePayeeAddress(const std::array<std::string, 4>& lines) {
    PayeeAddress out;
    std::array<std::string, 4> l;
    for (std::size_t i = 0; i < 4; ++i) l[i] = records::Fixed(lines[i], 32);

    // Name control: the four characters after the first blank of line 1,
    // or after the blank that follows a one-letter middle initial.
    const std::size_t blank = l[0].find(' ');
    if (blank != std::string::npos) {
        std::size_t from = blank + 1;
        if (blank + 2 < l[0].size() && l[0][blank + 2] == ' ') from = blank + 3;
        if (from < l[0].size()) out.name_control = records::Fixed(l[0].substr(from, 4), 4);
    }

    // A second line with a digit is the street; otherwise it is a second
    // name line and the street and city follow a line later.
    if (HasDigit(l[1])) {
        out.street = l[1];
        out.city_line = l[2];
    } else {
        out.second_name = l[1];
        out.street = l[2];
        out.city_line = l[3];
    }

    // City line: the ZIP code is its last word, the state the two
    // characters ending at the last non-blank before it, the city all
    // before the state.
    const std::string& c = out.city_line;
    const std::size_t zip_end = c.find_last_not_of(' ');
    if (zip_end != std::string::npos) {
        const std::size_t blank_before = zip_end == 0 ? std::string::npos : c.rfind(' ', zip_end);
        const std::size_t zip_start = blank_before == std::string::npos ? 0 : blank_before + 1;
        out.zip = records::Fixed(c.substr(zip_start, std::min<std::size_t>(zip_end - zip_start + 1, 9)), 9);
        const std::size_t state_end =
            zip_start == 0 ? std::string::npos : c.find_last_not_of(' ', zip_start - 1);
        if (state_end != std::string::npos) {
            const std::size_t state_start = state_end == 0 ? 0 : state_end - 1;
            out.state = state_end == 0 ? std::string(" ") + c[0] : c.substr(state_start, 2);
            out.city = records::Fixed(c.substr(0, std::min<std::size_t>(state_start, 29)), 29);
        }
    }
    out.foreign = std::find(std::begin(kStates), std::end(kStates), out.state) == std::end(kStates);
    return out;
}

TaxRecordFile::TaxRecordFile(const TaxFileSetup& setup, ReportFrame& frame) : setup_(setup), frame_(frame) {
    file_ = std::make_unique<records::TextFile>(kTaxRecordFile);
    if (!file_->ok()) failed_ = true;

    const records::LetterheadLines letterhead = records::Letrhd();
    const bool dividends = setup_.form == TaxForm::k1099Div;
    std::string rec = Record();
    Place(rec, 1, "A");
    Place(rec, 2, TwoDigits(setup_.payment_year));
    Place(rec, 7, records::Fixed(letterhead[5], 9));
    Place(rec, 16, records::Fixed(setup_.payer_control, 4));
    Place(rec, 22, dividends ? "1" : "B");
    Place(rec, 23, dividends ? "12345" : "26");
    if (dividends && setup_.correction) Place(rec, 32, "C");
    Place(rec, 44, records::Fixed(setup_.transmitter, 5));
    Place(rec, 50, records::Fixed(records::Fixed(letterhead[0], 32), 40));
    if (dividends) Place(rec, 130, "0");
    Place(rec, 131, records::Fixed(records::Fixed(letterhead[1], 32), 40));
    Place(rec, 171, records::Fixed(records::Fixed(letterhead[2], 32), 40));
    Put(rec);
}

TaxRecordFile::~TaxRecordFile() {
    Finish();
}

std::string TaxRecordFile::Record() const {
    return std::string(kTaxRecordLength, ' ');
}

void TaxRecordFile::Put(const std::string& record) {
    if (failed_) return;
    if (!file_->WriteLine(record)) failed_ = true;
}

void TaxRecordFile::Warn(const std::string& line) {
    // The format error report: its heading before the first warning and on
    // every page the warnings fill.
    if (!warned_ || lines_ > page_length_) {
        records::Hdr80(page_, lines_, page_length_);
        frame_.Write(setup_.form == TaxForm::k1099Div ? "(24X,'1099-DIV RECORD FORMAT ERROR REPORT')"
                                                      : "(24X,'1099-B RECORD FORMAT ERROR REPORT')");
        frame_.Blank();
        lines_ = static_cast<int16_t>(lines_ + 2);
        warned_ = true;
    }
    frame_.Line(line);
    ++lines_;
}

void TaxRecordFile::WriteAddress(std::string& rec, const TaxPayee& payee, const PayeeAddress& address) {
    Place(rec, 1, "B");
    Place(rec, 2, TwoDigits(setup_.payment_year));
    if (setup_.form == TaxForm::k1099Div && setup_.correction) Place(rec, 7, "G");
    Place(rec, 8, address.name_control);
    Place(rec, 14, "2");
    Place(rec, 15, records::Fixed(DigitsOnly(records::Fixed(payee.tax_id, 12)), 9));
    Place(rec, 24, records::Fixed(payee.payer_account, 20));
    Place(rec, 51, std::string(90, '0'));
    if (address.foreign) Place(rec, 161, "1");
    Place(rec, 162, records::Fixed(payee.address[0], 32));
    Place(rec, 202, address.second_name);
    Place(rec, 242, address.street);
    if (address.foreign) {
        Place(rec, 282, records::Fixed(address.city_line, 40));
    } else {
        Place(rec, 282, address.city);
        Place(rec, 311, address.state);
        Place(rec, 313, address.zip);
    }
    if (address.foreign)
        Warn(
            records::Write("(1X,'WARNING; ACCOUNT ',2A4,'HAS EITHER AN INVALID ','ZIP CODE OR STATE "
                           "ABBREVIATION, SETTING FOREIGN ','COUNTRY INDICATOR, ',A2,'.')",
                           Items().Text(payee.id, 4, 2).Text(address.state, 2, 1)));
}

void TaxRecordFile::WriteLot(const TaxPayee& payee, double proceeds, double gain, double quantity,
                             std::string_view symbol, std::string_view cusip, float sale_number) {
    const long long proceeds_cents = Cents(proceeds);
    const long long gain_cents = Cents(gain);
    const std::string proceeds_text = TaxAmountField(proceeds_cents, 10);
    const std::string gain_text = TaxAmountField(gain_cents, 10);
    const PayeeAddress address = AnalysePayeeAddress(payee.address);
    if (proceeds_text.empty() || gain_text.empty()) {
        Warn(records::Write("(1X,'WARNING; ACCOUNT ',2A4,'HAS AN AMOUNT TOO LARGE FOR THE TAX FILE.')",
                            Items().Text(payee.id, 4, 2)));
        return;
    }
    std::string rec = Record();
    WriteAddress(rec, payee, address);
    Place(rec, 61, proceeds_text);
    Place(rec, 101, gain_text);
    Place(rec, 360, "1");
    const SaleDate sold = SaleDateOf(sale_number);
    Place(rec, 361, TwoDigits(sold.month) + TwoDigits(sold.day) + TwoDigits(sold.year));
    Place(rec, 371, records::Fixed(cusip, 9));
    Place(rec, 380, records::Write("(F9.2,' shares of ',3A4)", Items().Number(quantity).Text(symbol, 4, 3)));
    Put(rec);
    ++payees_;
    proceeds_cents_ += proceeds_cents;
    gain_cents_ += gain_cents;
}

void TaxRecordFile::WriteDividends(const TaxPayee& payee, double amount) {
    const long long cents = Cents(amount);
    const std::string text = TaxAmountField(cents, 10);
    const PayeeAddress address = AnalysePayeeAddress(payee.address);
    if (text.empty()) {
        Warn(records::Write("(1X,'WARNING; ACCOUNT ',2A4,'HAS AN AMOUNT TOO LARGE FOR THE TAX FILE.')",
                            Items().Text(payee.id, 4, 2)));
        return;
    }
    std::string rec = Record();
    WriteAddress(rec, payee, address);
    Place(rec, 51, text);
    Place(rec, 61, text);
    Put(rec);
    ++payees_;
    dividend_cents_ += cents;
}

void TaxRecordFile::Finish() {
    if (finished_) return;
    finished_ = true;
    std::string rec = Record();
    Place(rec, 1, "C");
    Place(rec, 2, TaxAmountField(payees_, 6));
    Place(rec, 11, std::string(135, '0'));
    if (setup_.form == TaxForm::k1099Div) {
        Place(rec, 11, TaxAmountField(dividend_cents_, 15));
        Place(rec, 26, TaxAmountField(dividend_cents_, 15));
    } else {
        Place(rec, 26, TaxAmountField(proceeds_cents_, 15));
        Place(rec, 86, TaxAmountField(gain_cents_, 15));
    }
    Put(rec);
    rec = Record();
    Place(rec, 1, "F0001");
    Place(rec, 6, std::string(25, '0'));
    Put(rec);
    file_.reset();
    if (failed_) frame_.Write("(1X,'*** Warning: the tax file A:IRSTAX could not be written.')");
}

}  // namespace reports
