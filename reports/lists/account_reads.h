#pragma once

// What the list reports read of ACCOUNT.REC and SECURITY.REC, taken from
// the record layer's codecs and put into the shapes the reports print.

#include <cstdint>
#include <string>

#include "reports/lists/client_form.h"

namespace reports {

// The client form's data of the account whose first record is given,
// records 1 to 6 each read on its own: a record that cannot be read is
// marked unread and its fields stay blank.
ClientData ReadClientData(long first_record);

// The fields of the summary client list (records 2 to 4 of the account).
struct SummaryFields {
    bool read = false;  // every one of the three records read
    std::string manager = std::string(4, ' ');
    std::string short_name = std::string(32, ' ');
    std::string opened = std::string(8, ' ');
    std::string custodian_account = std::string(32, ' ');
    double opening_value = 0;
};
SummaryFields ReadSummaryFields(long first_record);

// The account short name (record 2) and custodian account number
// (record 3) of account entry k; false when that record cannot be read.
bool ReadShortName(int entry, std::string& short_name);
bool ReadCustodianAccount(int entry, std::string& custodian_account);

// The CUSIP and the two description lines of SECURITY.REC record k; false
// when it cannot be read.
struct SecurityText {
    std::string cusip = std::string(12, ' ');
    std::string description1 = std::string(32, ' ');
    std::string description2 = std::string(32, ' ');
};
bool ReadSecurityText(long record, SecurityText& security);

}  // namespace reports
