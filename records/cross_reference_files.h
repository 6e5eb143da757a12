#pragma once

// The files of the security cross reference: the broker/bank record
// (COMMON.FIL record 69), which keeps the broker or bank the user typed for
// the extract, and the lines of the extract IECA.DAT, 80-character text
// records for an outside recipient.

#include <string>
#include <string_view>

namespace records {

inline constexpr int kBrokerBankRecordNumber = 69;
inline constexpr const char* kCrossReferenceExtractFile = "IECA.DAT";

// COMMON.FIL record 69, bytes counted from 0; bytes 48-127 are not used
// here and are kept as the file holds them.
struct BrokerBankRecord {
    std::string number = std::string(4, ' ');  // bytes 0-3: 3 characters and a blank
    std::string name = std::string(40, ' ');   // bytes 4-43
    std::string tag = std::string(4, ' ');     // bytes 44-47: 1 character and blanks
};

// Reads record 69 into the three fields in turn. A record that cannot be
// read leaves the fields as the caller set them.
void Rdcom69(std::string& number, std::string& name, std::string& tag);

// Each 4-byte word of the fields that holds no character above the blank
// (zero bytes, for instance) becomes four blanks.
void BlankEmptyWords(BrokerBankRecord& record);

// Writes bytes 0-47 of record 69 from the record (each field cut or blank
// padded to its width), keeping bytes 48-127 as read. A record not yet in
// the file is written with blanks there. False when the write fails.
bool WriteBrokerBankRecord(const BrokerBankRecord& record);

// ---- IECA.DAT lines (each 80 characters; a byte below the blank in a
// text given, which could end the line early, is written as a blank)

// Record 11: the first 9 characters of the security identifier and the
// security's first description line.
std::string ExtractSecurityLine(std::string_view identifier, std::string_view description);
// Record 12: the report date YYMMDD (6 characters), the broker/bank
// number word and name.
std::string ExtractBrokerLine(std::string_view yymmdd, std::string_view number, std::string_view name);
// Record 21: the tag character, tax number (12), the quantity and the
// first name-and-address line.
std::string ExtractAccountLine(char tag, std::string_view tax_number, double quantity,
                               std::string_view line1);
// Record 2n: marker '2' to '5' or '*', and a name-and-address line.
std::string ExtractAddressLine(char marker, std::string_view line);
// Record 31: the count of holding accounts and the long quantity sum.
std::string ExtractTrailerLine(long accounts, double quantity);
// A quantity as 9 characters: rounded to a whole number, zero-filled;
// nine asterisks when it does not fit (1,000,000,000 or more).
std::string ExtractQuantity(double quantity);

}  // namespace records
