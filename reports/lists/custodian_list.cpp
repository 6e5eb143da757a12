// The custodian list.

#include "reports/lists/custodian_list.h"

#include "records/amounts.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/parties.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

// The same heading on every page; it counts 8 lines after the firm heading.
void CustodianHeading(ReportFrame& frame, int16_t& page, int16_t& lines, int16_t& limit) {
    int16_t page_length = 0;
    records::Pghead(page, lines, page_length);
    frame.Write("(33X,'CUSTODIAN LIST')");
    frame.Blank();
    frame.Blank();
    frame.Write("(5X,'CUSTODIAN',49X,'CUSTODIAN') ");
    frame.Write("(5X,'IDENTIFIER',11X,'CUSTODIAN NAME & ADDRESS',13X,'TELEPHONE') ");
    for (int i = 0; i < 3; ++i) frame.Blank();
    lines = static_cast<int16_t>(lines + 8);
    limit = static_cast<int16_t>(page_length - 10);
}

}  // namespace

void Csdnlist(std::string_view selection, std::string_view custodian_id, std::string_view output_name) {
    const bool one = records::Fixed(selection, 4) == "S   ";
    const std::string wanted = records::Fixed(custodian_id, 8);

    ReportFrame frame(output_name, /*copy=*/true);
    int16_t page = 1;
    int16_t lines = 0;
    int16_t limit = 0;
    CustodianHeading(frame, page, lines, limit);

    const PartyIndex index = ReadPartyIndex(Party::kCustodian);
    for (const PartyIndexEntry& e : index.entries) {
        if (IsUnusedPartyId(e.id)) continue;
        if (one && e.id != wanted) continue;
        PartyEntry custodian;
        const long first = PartyFirstRecord(e.entry);
        const int read = ReadPartyEntry(Party::kCustodian, first, custodian);
        if (read < 2) {
            frame.Stop(UnreadableLine(PartyRecordFile(Party::kCustodian), first + read));
            return;
        }
        std::string phone;
        records::Phone(custodian.telephone, phone);
        if (lines >= limit) CustodianHeading(frame, page, lines, limit);
        frame.Write("(5X,A4,A4,10X,8A4,8X,13A1)",
                    Items().Text(e.id, 4, 2).Text(custodian.lines[0], 4, 8).Text(phone, 1, 13));
        for (std::size_t i = 1; i < 5; ++i) frame.Write("(23X,8A4)", Items().Text(custodian.lines[i], 4, 8));
        frame.Write("(5X,'ATTENTION: ',8A4)", Items().Text(custodian.attention, 4, 8));
        for (int i = 0; i < 3; ++i) frame.Blank();
        lines = static_cast<int16_t>(lines + 9);
        if (one) return;
    }
    // An index record that could not be read ends the list; say so unless
    // the one custodian asked for was already listed.
    if (index.failed_record > 0)
        frame.Stop(UnreadableLine(PartyIndexFile(Party::kCustodian), index.failed_record));
}

}  // namespace reports
