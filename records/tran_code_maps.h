#pragma once

// The transaction-code maps of the download sources: for each broker or
// custodian whose transaction files are imported, the source's own code
// for each of the system's 21 transaction codes. One COMMON.FIL record per
// source: record 110 + index for sources 1 to 11; source 12 shares record
// 121 with source 11, which has no map of its own.
//
// Record layout: bytes 0-83 the 21 codes, 4 characters each, blank padded,
// in the slot order below; bytes 84-123 blanks; bytes 124-127 "VORN". A
// record that cannot be read or lacks the marker holds no map.

#include <array>
#include <string>

namespace records {

inline constexpr int kTranCodeSlots = 21;
inline constexpr const char* kTranCodeMapMarker = "VORN";

// The system codes of the slots, in slot order.
inline constexpr std::array<const char*, kTranCodeSlots> kTranCodeMapCodes = {
    "B",  "S",  "SS", "CS", "SP", "SI", "SO", "FI", "FO", "AI", "AO",
    "DI", "DE", "II", "IE", "MI", "ME", "IP", "IS", "MF", "BC"};

struct TranCodeMapRecord {
    std::array<std::string, kTranCodeSlots> codes;  // 4 characters each
};

// The COMMON.FIL record of a source's map.
int TranCodeMapRecordNumber(int source_index);
// The source's map; every slot blank when the record holds none.
TranCodeMapRecord ReadTranCodeMap(int source_index);
// Writes the source's map as a whole record; false when it could not be
// written. No other record is touched.
bool WriteTranCodeMap(int source_index, const TranCodeMapRecord& map);

}  // namespace records
