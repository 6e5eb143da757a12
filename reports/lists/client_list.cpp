// The account list: the list of accounts, the page heading and a client
// form per account.

#include "reports/lists/client_list.h"

#include <string>
#include <vector>

#include "records/account_lists.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/lists/account_reads.h"
#include "reports/lists/client_form.h"

namespace reports {

void Aclhdr(ReportFrame& frame, std::string_view program_date, int16_t sort_order, int16_t& page) {
    ++page;
    if (records::PageNumbersSuppressed())
        frame.Blank();
    else
        frame.Write("(117X,'Page ',I3)", {static_cast<long long>(page)});
    frame.Write("(42X,50A1)", Items().Text(records::FirmHeadingBlock().firm_name, 1, 50));
    frame.Write("(1X)");
    frame.Write("(61X,'CLIENT LIST')");
    switch (sort_order) {
        case 1:
            frame.Write("(57X,'Sorted By Account ID')");
            break;
        case 2:
            frame.Write("(52X,'Sorted By Account Short Name')");
            break;
        case 3:
            frame.Write("(49X,'Sorted By Custodian Account Number')");
            break;
        default:
            break;
    }
    std::string date = records::Fixed(program_date, 8);
    frame.Write("(' Date Printed: ',3A4)", Items().Text(records::H2000(date), 4, 3));
}

void Acclis(std::string_view selection, std::string_view account_id, std::string_view manager,
            std::string_view output_name) {
    ReportFrame frame(output_name, /*copy=*/true);
    records::Gcn();

    records::Record rec;
    records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
    if (!common.Read(records::kProgramDateRecord, rec)) {
        frame.Stop(UnreadableLine(records::kCommonFile, records::kProgramDateRecord));
        return;
    }
    const std::string program_date = rec.Text(0, 8);
    records::DirectFile index(records::kAccountIndex, 128, /*create=*/false);
    if (!index.Read(1, rec)) {
        frame.Stop(UnreadableLine(records::kAccountIndex, 1));
        return;
    }
    const int16_t sort_order = rec.I16(6);

    struct Listed {
        std::string id;
        long first_record;
    };
    std::vector<Listed> list;
    const bool all = records::Fixed(selection, 4) == "A   ";
    if (all) {
        std::vector<std::string> ids;
        std::vector<long> first_records;
        int count = 0;
        int16_t status = 0;
        int runs = 0;
        records::Bldacl(ids, count, first_records, sort_order, records::Rdopts(), status, runs);
        for (int i = 0; i < count; ++i)
            list.push_back({ids[static_cast<std::size_t>(i)], first_records[static_cast<std::size_t>(i)]});
    } else {
        // An account that is not in the index gets no page, nor does a
        // deleted or blank key that the index may hold.
        const AccountPlace place = IsUnusedKey(account_id) ? AccountPlace{} : Gtacnm(account_id);
        if (place.position > 0) list.push_back({records::Fixed(account_id, 8), place.first_record()});
    }

    int16_t page = 0;
    for (const Listed& entry : list) {
        const ClientData client = ReadClientData(entry.first_record);
        if (all && !ManagerMatches(manager, client.manager)) continue;
        Aclhdr(frame, program_date, sort_order, page);
        WriteClientForm(frame, entry.id, client);
    }
}

}  // namespace reports
