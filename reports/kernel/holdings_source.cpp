#include "reports/kernel/holdings_source.h"

#include "engine/replay.h"
#include "records/file_names.h"
#include "records/record.h"

namespace reports {

namespace {
constexpr std::size_t kHoldingsRecordLength = 128;
}

HoldingsSource PrepareHoldings(std::string_view account, float report_date, float program_date,
                               std::string_view label) {
    HoldingsSource source;
    if (report_date < program_date) {
        engine::Creatt(account, records::Fixed(label, 8), report_date, 0, 0, source.replay_status);
        source.file = records::TrimRight(engine::HoldingsWorkName());
        source.replayed = true;
    } else {
        source.file = records::TrimRight(records::Paknam(account, "HL", ".REC"));
    }
    return source;
}

LotIterator::LotIterator(std::string_view file) : file_(file, kHoldingsRecordLength, /*create=*/false) {
    records::Record rec;
    if (!file_.Read(1, rec)) {
        end_ = End::kReadFailed;
        return;
    }
    header_ = records::HoldingsHeader::Decode(rec);
    next_ = header_.first_lot;
    steps_left_ = file_.Count();
}

bool LotIterator::Next(int16_t& record, records::HoldingRecord& lot) {
    if (end_ != End::kNone) return false;
    if (next_ < 0) {
        end_ = End::kListEnd;
        return false;
    }
    if (steps_left_-- <= 0) {
        end_ = End::kLooped;
        return false;
    }
    if (!file_.Read(next_, record_)) {
        end_ = End::kReadFailed;
        return false;
    }
    record = next_;
    records::HoldingRecord::DecodeInto(record_, lot);
    next_ = lot.next;
    return true;
}

}  // namespace reports
