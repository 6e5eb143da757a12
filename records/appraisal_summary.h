#pragma once

// TEMPHSUM.FIL, the appraisal summary work file: the group totals of the
// appraisal pages, already formatted as text, carried to the summary pages
// of the same run. Direct access, 256-byte records, fields little-endian
// and packed from offset 0; every record is encoded zero-filled to its 256
// bytes, as the other appraisal work files are.
//
// Writing order (`AppraisalSummaryWriter`): pass one's group records as
// records 2, 3, ...; then the portfolio totals record; then the header,
// record 1, whose count C covers the records written so far (the totals
// record is record C+1); then, beyond the count, the type 36 group at
// record C+2.
//
// Record 1, the header (99 bytes):
//    0 C (I2); 2 report date MM/DD/YY; 10 common stock records (I2);
//   12 common stocks market value (R8); 20 record index (record number - 1)
//   of the first industry category record (I2); 22 record index of the
//   common stocks total record (I2); 24 account name centred for the
//   heading 32; 56 the last word of the TEMP1.WRK header 4; 60 seven whole
//   percentages for ST, IT, LT, IG, CG, AG, IH; 67 account name 32.
// Group and total records (224 bytes):
//    0 kind (I2: the type code 1-37, 0 for an industry category, the
//   common stocks total and the portfolio totals, 40 for accrued interest);
//    2 name 28; 30 six texts of 32; 222 type code of the last holding read
//   (I2).

#include <array>
#include <cstdint>
#include <string>

#include "records/files.h"
#include "records/record.h"

namespace records {

inline constexpr const char* kAppraisalSummaryFile = "TEMPHSUM.FIL";
// Kind word of the accrued interest record.
inline constexpr int16_t kAccruedInterestKind = 40;
// The allocation codes whose shares the header carries, in order.
inline constexpr std::array<const char*, 7> kSummaryAllocationCodes = {"ST", "IT", "LT", "IG",
                                                                       "CG", "AG", "IH"};

struct AppraisalSummaryHeader {
    int16_t count = 0;  // C
    std::string report_date = std::string(8, ' ');
    int16_t stock_records = 0;
    double stock_market_value = 0;
    int16_t first_category_index = 0;
    int16_t stock_total_index = 0;
    std::string heading_name = std::string(32, ' ');
    std::array<unsigned char, 4> work_word{};
    std::array<unsigned char, 7> allocation{};  // whole percent 0-100
    std::string name = std::string(32, ' ');

    static AppraisalSummaryHeader Decode(const Record& rec);
    Record Encode() const;
};

struct AppraisalSummaryLine {
    int16_t kind = 0;
    std::string name = std::string(28, ' ');
    std::array<std::string, 6> texts{std::string(32, ' '), std::string(32, ' '), std::string(32, ' '),
                                     std::string(32, ' '), std::string(32, ' '), std::string(32, ' ')};
    int16_t last_type = 0;

    static AppraisalSummaryLine Decode(const Record& rec);
    Record Encode() const;
};

// Writes one appraisal's TEMPHSUM.FIL in its order. The file is opened
// (created when missing) for the writer's life. Kept: records beyond what
// this writing reaches keep what an earlier writing left, which the readers
// never read past the header's counts. Emptied: the file starts with no
// records, as a file deleted and created again would, without the deletion
// (a run over many accounts writes it once an account).
class AppraisalSummaryWriter {
public:
    enum class Start { Kept, Emptied };
    explicit AppraisalSummaryWriter(Start start = Start::Kept);

    bool ok() const { return file_.ok() && emptied_; }
    // Records written so far by `Add`: the next one goes to record count + 2.
    int16_t count() const { return count_; }
    // A group or totals record of pass one; false when the write failed.
    bool Add(const AppraisalSummaryLine& line);
    // The header as record 1, with C = the records added so far.
    bool WriteHeader(AppraisalSummaryHeader header);
    // The type 36 group, after the header: record C + 2.
    bool AddAfterHeader(const AppraisalSummaryLine& line);

private:
    DirectFile file_;
    bool emptied_ = true;  // false: the file could not be emptied as asked
    int16_t count_ = 0;
};

}  // namespace records
