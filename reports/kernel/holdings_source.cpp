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

LotIterator::LotIterator(std::string_view file) {
    // The file is read whole with one read and the lots decoded from its
    // bytes: a lot list visits most of its records.
    const records::DirectFile holdings(file, kHoldingsRecordLength, /*create=*/false);
    if (!holdings.ReadWhole(bytes_)) bytes_.clear();
    records_ = static_cast<long>(bytes_.size() / kHoldingsRecordLength);
    if (records_ == 0) {
        end_ = End::kReadFailed;
        return;
    }
    header_ = records::HoldingsHeader::Decode(RecordAt(1));
    next_ = header_.first_lot;
    steps_left_ = records_;
}

const records::Record& LotIterator::RecordAt(long n) {
    const unsigned char* at = bytes_.data() + static_cast<std::size_t>(n - 1) * kHoldingsRecordLength;
    record_.bytes().assign(at, at + kHoldingsRecordLength);
    return record_;
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
    if (next_ < 1 || next_ > records_) {
        end_ = End::kReadFailed;
        return false;
    }
    record = next_;
    records::HoldingRecord::DecodeInto(RecordAt(next_), lot);
    next_ = lot.next;
    return true;
}

}  // namespace reports
