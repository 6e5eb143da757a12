#include "records/appraisal_summary.h"

#include <cstring>

#include "records/appraisal_files.h"

namespace records {

AppraisalSummaryHeader AppraisalSummaryHeader::Decode(const Record& rec) {
    const Record r = rec.Widened(kWorkRecordLength);
    AppraisalSummaryHeader h;
    h.count = r.I16(0);
    h.report_date = r.Text(2, 8);
    h.stock_records = r.I16(10);
    h.stock_market_value = r.R8(12);
    h.first_category_index = r.I16(20);
    h.stock_total_index = r.I16(22);
    h.heading_name = r.Text(24, 32);
    std::memcpy(h.work_word.data(), r.data() + 56, 4);
    std::memcpy(h.allocation.data(), r.data() + 60, 7);
    h.name = r.Text(67, 32);
    return h;
}

Record AppraisalSummaryHeader::Encode() const {
    Record r(kWorkRecordLength, 0);
    r.SetI16(0, count);
    r.SetText(2, 8, report_date);
    r.SetI16(10, stock_records);
    r.SetR8(12, stock_market_value);
    r.SetI16(20, first_category_index);
    r.SetI16(22, stock_total_index);
    r.SetText(24, 32, heading_name);
    std::memcpy(r.data() + 56, work_word.data(), 4);
    std::memcpy(r.data() + 60, allocation.data(), 7);
    r.SetText(67, 32, name);
    return r;
}

AppraisalSummaryLine AppraisalSummaryLine::Decode(const Record& rec) {
    const Record r = rec.Widened(kWorkRecordLength);
    AppraisalSummaryLine l;
    l.kind = r.I16(0);
    l.name = r.Text(2, 28);
    for (std::size_t k = 0; k < l.texts.size(); ++k) l.texts[k] = r.Text(30 + 32 * k, 32);
    l.last_type = r.I16(222);
    return l;
}

Record AppraisalSummaryLine::Encode() const {
    Record r(kWorkRecordLength, 0);
    r.SetI16(0, kind);
    r.SetText(2, 28, name);
    for (std::size_t k = 0; k < texts.size(); ++k) r.SetText(30 + 32 * k, 32, texts[k]);
    r.SetI16(222, last_type);
    return r;
}

AppraisalSummaryWriter::AppraisalSummaryWriter(Start start)
    : file_(kAppraisalSummaryFile, kWorkRecordLength) {
    if (start == Start::Emptied && file_.ok()) emptied_ = file_.Truncate(0);
}

bool AppraisalSummaryWriter::Add(const AppraisalSummaryLine& line) {
    ++count_;
    return file_.Write(count_ + 1, line.Encode());
}

bool AppraisalSummaryWriter::WriteHeader(AppraisalSummaryHeader header) {
    header.count = count_;
    return file_.Write(1, header.Encode());
}

bool AppraisalSummaryWriter::AddAfterHeader(const AppraisalSummaryLine& line) {
    return file_.Write(count_ + 2, line.Encode());
}

}  // namespace records
