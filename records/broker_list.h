#pragma once

// The broker and custodian lists as the set-up dialogs keep them: every
// entry of BROKER.IDX / BROKER.REC (or CUSTDN.IDX / CUSTDN.REC) as a record
// of eleven texts. The three records of entry k (3k-2, 3k-1, 3k) hold:
//   part 1 (128 bytes): address lines 1 to 4, 32 each
//   part 2 (100 bytes): 0-31 address line 5, 32-63 attention, 64-75 short
//                       name, 76-87 phone, 88-95 firm short name, 96-99
//                       reserved (blank)
//   part 3 (60 bytes):  the firm long name
// All texts are blank padded in the files and trimmed in memory.

#include <memory>
#include <string>
#include <vector>

namespace records {

// Which pair of files a list lives in.
enum class BrokerListKind { Brokers, Custodians };

struct CBrokerRecord {
    std::string identifier;       // index key, up to 8 characters
    std::string short_name;       // 12
    std::string address[5];       // 32 each
    std::string phone;            // 12
    std::string attention;        // 32
    std::string firm_long_name;   // 60
    std::string firm_short_name;  // 8
};

inline constexpr const char* kBrokerIndexFile = "BROKER.IDX";
inline constexpr const char* kBrokerRecordFile = "BROKER.REC";
inline constexpr const char* kCustodianIndexFile = "CUSTDN.IDX";
inline constexpr const char* kCustodianRecordFile = "CUSTDN.REC";

// Reads the list through Opnbrk or Opncus and closes the files again.
// Keys whose first word is "$$$$" (eight "$" among them) are deleted
// entries and blank keys name none: both are passed over with their
// records. A count larger than the index lists the keys that read; an
// entry whose records cannot be read keeps empty fields.
std::vector<std::unique_ptr<CBrokerRecord>> LoadBrokerList(BrokerListKind kind);

// Writes the list, in its order, as a compact pair of files: the count in
// index record 1 (its other bytes kept as they were, zeros in a new file),
// the keys 16 a record (the last one blank padded), and three records an
// entry (each record's bytes after its part are zeros). Both files are
// written beside their names and renamed over them only when both were
// written. Returns an empty text when done, else the name of the file that
// could not be written.
std::string SaveBrokerList(BrokerListKind kind, const std::vector<std::unique_ptr<CBrokerRecord>>& list);

}  // namespace records
