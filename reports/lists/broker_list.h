#pragma once

// The broker list (report code 183) and the broker sort file BRSORT.DAT.

#include <string>
#include <string_view>
#include <vector>

namespace reports {

inline constexpr const char* kBrokerSortFile = "BRSORT.DAT";

// The brokers of BROKER.IDX in ascending byte order of their 8-character
// IDs ("$$$$" and blank IDs left out), each with its first BROKER.REC
// record 3e - 2.
struct BrokerTable {
    std::vector<std::string> ids;
    std::vector<long> first_records;
};

// Builds the broker table and writes BRSORT.DAT anew, replacing the old
// file whole: record 1 bytes 0-1 hold count + 1; record k (2 to count + 1)
// holds the (k-1)-th broker's ID in bytes 0-7 and bytes 0-59 of its third
// BROKER.REC record in bytes 8-67 (60 blanks when that record cannot be
// read); bytes not named are zero. The file has exactly count + 1 records,
// so no broker deleted since the last run survives past the count. The
// commission reports call it before they read BRSORT.DAT.
BrokerTable Brksrt();

// The "BROKER LIST" on 80-column pages: selection "A   " every broker in
// ID order (and BRSORT.DAT rewritten), "S   " the one broker of the ID.
// The work file is always copied to output_name.
void Brkrlist(std::string_view selection, std::string_view broker_id, std::string_view output_name);

}  // namespace reports
