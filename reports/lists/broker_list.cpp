// The broker list and the broker sort file.

#include "reports/lists/broker_list.h"

#include <algorithm>
#include <numeric>

#include "records/amounts.h"
#include "records/files.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/parties.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

constexpr std::size_t kSortRecordLength = 128;
constexpr std::size_t kThirdPartLength = 60;

// IDs compare byte by byte as the record layer's text sorts do (signed
// character codes), so BRSORT.DAT keeps the order its readers expect.
bool IdBefore(const std::string& a, const std::string& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto x = static_cast<signed char>(a[i]);
        const auto y = static_cast<signed char>(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

void WriteSortFile(const BrokerTable& table) {
    const std::size_t count = table.ids.size();
    std::vector<unsigned char> bytes((count + 1) * kSortRecordLength, 0);
    records::Record rec(kSortRecordLength, 0);
    rec.SetI16(0, static_cast<int16_t>(count + 1));
    std::copy(rec.bytes().begin(), rec.bytes().end(), bytes.begin());
    records::Record third;
    for (std::size_t k = 0; k < count; ++k) {
        rec.Fill(0);
        rec.SetText(0, 8, table.ids[k]);
        if (ReadPartyRecord(Party::kBroker, table.first_records[k] + 2, third))
            std::copy_n(third.bytes().begin(), kThirdPartLength, rec.bytes().begin() + 8);
        else
            rec.SetText(8, kThirdPartLength, "");
        std::copy(rec.bytes().begin(), rec.bytes().end(), bytes.begin() + (k + 1) * kSortRecordLength);
    }
    records::ReplaceFile(kBrokerSortFile, bytes);
}

// The page heading: the 80-column firm heading, the title and the column
// heads; the first page has blank lines between them. Every heading counts
// 8 lines.
void BrokerHeading(ReportFrame& frame, bool first, int16_t& page, int16_t& lines, int16_t& limit) {
    int16_t page_length = 0;
    records::Hdr80(page, lines, page_length);
    frame.Write("(35X,'BROKER LIST')");
    if (first) frame.Blank();
    frame.Write("(5X,'BROKER',52X,'BROKER')");
    frame.Write("(5X,'IDENTIFIER',11X,'BROKER NAME & ADDRESS',16X,'TELEPHONE')");
    if (first) {
        frame.Blank();
        frame.Blank();
    }
    lines = static_cast<int16_t>(lines + 8);
    limit = static_cast<int16_t>(page_length - 10);
}

// The block of one broker: ID (6 characters), name and address, telephone
// and attention. Counts 11 lines whatever it writes.
void BrokerBlock(ReportFrame& frame, std::string_view id, const PartyEntry& broker, int16_t& lines) {
    std::string phone;
    records::Phone(broker.telephone, phone);
    const std::string key = records::Fixed(id, 8);
    frame.Write(
        "(5X,A4,A2,12X,8A4,4X,13A1)",
        Items().Text(key, 4, 1).Text(key.substr(4), 2, 1).Text(broker.lines[0], 4, 8).Text(phone, 1, 13));
    for (std::size_t i = 1; i < 5; ++i) frame.Write("(23X,8A4)", Items().Text(broker.lines[i], 4, 8));
    frame.Write("(5X,'ATTENTION: ',8A4)", Items().Text(broker.attention, 4, 8));
    lines = static_cast<int16_t>(lines + 11);
}

}  // namespace

BrokerTable Brksrt() {
    BrokerTable table;
    for (const PartyIndexEntry& e : ReadPartyIndex(Party::kBroker).entries) {
        if (IsUnusedPartyId(e.id)) continue;
        table.ids.push_back(e.id);
        table.first_records.push_back(PartyFirstRecord(e.entry));
    }
    std::vector<std::size_t> order(table.ids.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return IdBefore(table.ids[a], table.ids[b]); });
    BrokerTable sorted;
    for (std::size_t i : order) {
        sorted.ids.push_back(table.ids[i]);
        sorted.first_records.push_back(table.first_records[i]);
    }
    WriteSortFile(sorted);
    return sorted;
}

void Brkrlist(std::string_view selection, std::string_view broker_id, std::string_view output_name) {
    const bool one = records::Fixed(selection, 4) == "S   ";
    const std::string wanted = records::Fixed(broker_id, 8);

    // The one broker: its entry in the index ("$$$$" and blank entries
    // passed over).
    bool found = false;
    PartyEntry broker;
    if (one) {
        for (const PartyIndexEntry& e : ReadPartyIndex(Party::kBroker).entries) {
            if (IsUnusedPartyId(e.id) || e.id != wanted) continue;
            found = true;
            ReadPartyEntry(Party::kBroker, PartyFirstRecord(e.entry), broker);
            break;
        }
    }

    ReportFrame frame(output_name, /*copy=*/true);
    int16_t page = 1;
    int16_t lines = 0;
    int16_t limit = 0;
    BrokerHeading(frame, /*first=*/true, page, lines, limit);

    if (one) {
        if (!found) return;
        BrokerBlock(frame, wanted, broker, lines);
        for (int i = 0; i < 4; ++i) frame.Blank();
        return;
    }

    const BrokerTable table = Brksrt();
    for (std::size_t k = 0; k < table.ids.size(); ++k) {
        if (lines >= limit) BrokerHeading(frame, /*first=*/false, page, lines, limit);
        PartyEntry entry;
        const int read = ReadPartyEntry(Party::kBroker, table.first_records[k], entry);
        if (read < 2) {
            frame.Stop(UnreadableLine(PartyRecordFile(Party::kBroker), table.first_records[k] + read));
            return;
        }
        BrokerBlock(frame, table.ids[k], entry, lines);
    }
}

}  // namespace reports
