#pragma once

// The tax record file A:IRSTAX (the file IRSTAX in the folder A of the data
// directory): the 1099-B records of the realised gains report and the
// 1099-DIV records of the income summary, one text line of exactly 420
// characters per record. A run writes the file anew: one payer ("A")
// record, one payee ("B") record per payment, one end-of-payer ("C") and
// one end-of-transmission ("F") record.
//
// Addresses the file cannot carry as city, state and ZIP, and amounts too
// large for their fields, are told in the report's own lines under a
// "RECORD FORMAT ERROR REPORT" heading; a file that could not be opened or
// written is told by a warning line when the run ends.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "records/files.h"
#include "reports/kernel/report_frame.h"

namespace reports {

inline constexpr const char* kTaxRecordFile = "A:IRSTAX";
inline constexpr std::size_t kTaxRecordLength = 420;

enum class TaxForm { k1099B, k1099Div };

// What the payee records take of an account.
struct TaxPayee {
    std::string id = std::string(8, ' ');
    std::array<std::string, 4> address{};              // ACCOUNT.REC R1: four 32-character lines
    std::string tax_id = std::string(12, ' ');         // R2 bytes 85-96
    std::string payer_account = std::string(32, ' ');  // R3 bytes 33-64; its first 20 go to the file
};

// The address analysis of a payee's four lines.
struct PayeeAddress {
    std::string name_control = std::string(4, ' ');
    std::string second_name = std::string(32, ' ');  // line 2 when it holds no digit, else blank
    std::string street = std::string(32, ' ');
    std::string city_line = std::string(32, ' ');  // the last address line
    std::string city = std::string(29, ' ');
    std::string state = std::string(2, ' ');
    std::string zip = std::string(9, ' ');
    bool foreign = false;  // the state is not one of the 56 abbreviations
};
PayeeAddress AnalysePayeeAddress(const std::array<std::string, 4>& lines);

// What the payer record takes from the report's arguments.
struct TaxFileSetup {
    TaxForm form = TaxForm::k1099B;
    std::string transmitter;    // first 5 characters used
    std::string payer_control;  // 4
    bool correction = false;    // 1099-DIV only: "C" in the payer record, "G" in the payees
    int payment_year = 0;       // two-digit year of positions 2-3
};

class TaxRecordFile {
public:
    // Opens A:IRSTAX anew and writes the payer record (the payer's number
    // and name lines from the letterhead). Warnings go to the frame.
    TaxRecordFile(const TaxFileSetup& setup, ReportFrame& frame);
    ~TaxRecordFile();
    TaxRecordFile(const TaxRecordFile&) = delete;
    TaxRecordFile& operator=(const TaxRecordFile&) = delete;

    // The 1099-B payee record of a realised lot (proceeds and gain rounded
    // to cents). No record is written for an amount too large for its field;
    // the format error report says so.
    void WriteLot(const TaxPayee& payee, double proceeds, double gain, double quantity,
                  std::string_view symbol, std::string_view cusip, float sale_number);
    // The 1099-DIV payee record of an account's dividend income.
    void WriteDividends(const TaxPayee& payee, double amount);
    // Writes the end-of-payer and end-of-transmission records and closes the
    // file; a file that could not be opened or written adds the warning
    // line to the report. Done once; later calls do nothing.
    void Finish();

    long payee_count() const { return payees_; }

private:
    std::string Record() const;
    void Put(const std::string& record);
    void Warn(const std::string& line);
    void WriteAddress(std::string& record, const TaxPayee& payee, const PayeeAddress& address);

    TaxFileSetup setup_;
    ReportFrame& frame_;
    std::unique_ptr<records::TextFile> file_;
    bool failed_ = false;
    bool finished_ = false;
    long payees_ = 0;
    long long proceeds_cents_ = 0;
    long long gain_cents_ = 0;
    long long dividend_cents_ = 0;
    // The format error report's own page accounting.
    bool warned_ = false;
    int16_t page_ = 1;
    int16_t lines_ = 0;
    int16_t page_length_ = 0;
};

// The text of a whole number of cents in a field of the given width:
// zero-filled, a negative amount with "-" in the first position. Empty when
// the amount does not fit.
std::string TaxAmountField(long long cents, std::size_t width);

}  // namespace reports
