// The broker/bank record and the lines of the cross reference extract.

#include "records/cross_reference_files.h"

#include <algorithm>

#include "records/common_file.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"

namespace records {
namespace {

constexpr std::size_t kRecordLength = 128;

std::string Padded(std::string_view text, std::size_t width) {
    std::string s(text.substr(0, std::min(text.size(), width)));
    s.resize(width, ' ');
    return s;
}

// A line of the extract: 80 characters, a byte below the blank (a damaged
// description or address, which could hold a line end) as a blank, so that
// each record stays one line of the text file.
std::string ExtractLine(std::string_view text) {
    std::string line = Padded(text, 80);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < ' ') c = ' ';
    return line;
}

// Characters not above the blank become "0".
std::string ZeroFilled(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) <= ' ') c = '0';
    return text;
}

void BlankWords(std::string& field) {
    for (std::size_t w = 0; w + 4 <= field.size(); w += 4) {
        const bool text =
            std::any_of(field.begin() + static_cast<long>(w), field.begin() + static_cast<long>(w) + 4,
                        [](char c) { return static_cast<unsigned char>(c) > ' '; });
        if (!text) field.replace(w, 4, "    ");
    }
}

}  // namespace

void Rdcom69(std::string& number, std::string& name, std::string& tag) {
    DirectFile common(kCommonFile, kRecordLength, false);
    Record rec;
    if (!common.Read(kBrokerBankRecordNumber, rec)) return;
    number = rec.Text(0, 4);
    name = rec.Text(4, 40);
    tag = rec.Text(44, 4);
}

void BlankEmptyWords(BrokerBankRecord& record) {
    record.number = Padded(record.number, 4);
    record.name = Padded(record.name, 40);
    record.tag = Padded(record.tag, 4);
    BlankWords(record.number);
    BlankWords(record.name);
    BlankWords(record.tag);
}

bool WriteBrokerBankRecord(const BrokerBankRecord& record) {
    DirectFile common(kCommonFile, kRecordLength);
    Record rec;
    if (!common.Read(kBrokerBankRecordNumber, rec)) rec = Record(kRecordLength, ' ');
    rec.SetText(0, 4, Padded(record.number, 4));
    rec.SetText(4, 40, Padded(record.name, 40));
    rec.SetText(44, 4, Padded(record.tag, 4));
    return common.Write(kBrokerBankRecordNumber, rec);
}

std::string ExtractQuantity(double quantity) {
    const std::string text = Write("(F10.0)", {quantity});
    if (text.find('*') != std::string::npos) return std::string(9, '*');
    return ZeroFilled(text.substr(0, 9));
}

std::string ExtractSecurityLine(std::string_view identifier, std::string_view description) {
    return ExtractLine("11 " + Padded(identifier, 9) + " " + Padded(description, 32));
}

std::string ExtractBrokerLine(std::string_view yymmdd, std::string_view number, std::string_view name) {
    return ExtractLine("12 " + Padded(yymmdd, 6) + Padded(number, 4) + Padded(name, 40));
}

std::string ExtractAccountLine(char tag, std::string_view tax_number, double quantity,
                               std::string_view line1) {
    return ExtractLine("21" + std::string(1, tag) + Padded(tax_number, 12) + ExtractQuantity(quantity) +
                       Padded(line1, 32));
}

std::string ExtractAddressLine(char marker, std::string_view line) {
    return ExtractLine("2" + std::string(1, marker) + std::string(22, ' ') + Padded(line, 32));
}

std::string ExtractTrailerLine(long accounts, double quantity) {
    return ExtractLine("31 " + ZeroFilled(Write("(I7)", {static_cast<long long>(accounts)})) +
                       ExtractQuantity(quantity));
}

}  // namespace records
