#pragma once

// The broker and custodian files, one pair each: BROKER.IDX with
// BROKER.REC and CUSTDN.IDX with CUSTDN.REC, 128-byte records.
//  - Index: record 1 bytes 1-2 hold the number of entries; from record 2 on,
//    16 keys of 8 characters a record, entry e in record 2 + (e-1) div 16.
//  - Record file: entry e owns records 3e-2, 3e-1 and 3e; the first holds
//    128 characters, the second 100 and the third 60 (the meaning of the
//    words belongs to the broker and custodian dialogs).
// Opnbrk or Opncus opens both files of a pair on units 6 and 7, the dialog
// reads and writes any number of index and entry records, and Clsbrk closes
// both. The transfers return status words that encode the record number,
// so a failure can be traced to its record; they are 2-byte words, computed
// modulo 65,536.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace records {

inline constexpr int kBrokerIndexUnit = 6;
inline constexpr int kBrokerRecordUnit = 7;
inline constexpr int kBrokerKeysPerRecord = 16;
inline constexpr std::size_t kBrokerKeyLength = 8;
inline constexpr std::size_t kBrokerPart1Length = 128;
inline constexpr std::size_t kBrokerPart2Length = 100;
inline constexpr std::size_t kBrokerPart3Length = 60;

// Opens BROKER.IDX (unit 6) and BROKER.REC (unit 7) and reads the entry
// count from index record 1. Returns 1 done, 2 when the files cannot be
// used (an open failed or the count cannot be read; count is then 0).
int16_t Opnbrk(int16_t& count);
// The same for CUSTDN.IDX and CUSTDN.REC.
int16_t Opncus(int16_t& count);
// Closes units 6 and 7.
void Clsbrk();

// Reads the first n keys (at most 16) of index record rec into keys.
// Returns (rec x 10 + n) x 10 + 1 done, + 2 failed (keys unchanged).
int16_t Rdbidx(int n, int rec, std::vector<std::string>& keys);
// Writes index record rec with 16 keys of 8 characters (keys not given are
// blank). Returns rec x 1000 + 1; a failed write is not reflected.
int16_t Wrbidx(int rec, const std::vector<std::string>& keys);
// Writes the entry count into index record 1, keeping the record's other
// bytes. Returns 1 done, 2 failed.
int16_t Wrbcnt(int16_t count);

// Reads the three records rec, rec+1 and rec+2 of an entry: 128, 100 and 60
// bytes. Returns rec x 100 + 1 done; + 2, + 3 or + 4 when the first, second
// or third read failed, reading stopping there (the parts already read are
// kept, the others unchanged).
int16_t Rdbrec(int rec, std::string& part1, std::string& part2, std::string& part3);
// Writes the three records of an entry, each write attempted. Returns
// 1 + 2 (first failed) + 4 (second failed) + 8 (third failed)
// + (rec + 2) x 1000. The second and third records keep their stored bytes
// after the 100 and 60 written.
int16_t Wrbrec(int rec, std::string_view part1, std::string_view part2, std::string_view part3);

}  // namespace records
