// The account and security searches.

#include "reports/lists/searches.h"

#include <string>
#include <vector>

#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/lists/account_reads.h"

namespace reports {

namespace {

constexpr std::size_t kSearchWidth = 32;

void SearchLine(ReportFrame& frame, std::string_view search) {
    frame.Write("('SEARCH: ',8A4) ", Items().Text(search, 4, 8));
    frame.Blank();
}

}  // namespace

bool Clntxt(std::string_view search, std::string_view target) {
    const std::string text = records::Fixed(search, kSearchWidth);
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) > ' ') length = i + 1;
    if (length == 0) length = 1;
    return records::Fixed(target, kSearchWidth).find(text.substr(0, length)) != std::string::npos;
}

void Clntnm(int16_t kind, std::string_view search, std::string_view output_name) {
    const bool by_name = kind < 1;
    ReportFrame frame(output_name, /*copy=*/true);
    SearchLine(frame, search);
    if (by_name) {
        frame.Write("(20X,'ACCOUNT ID',20X,'SHORT NAME')");
        frame.Write("(20X,'----------',20X,'----------')");
    } else {
        frame.Write("(2X,'ACCOUNT ID',2X,'CUSTODIAN ACCOUNT NUMBER',13X,'SHORT NAME') ");
        frame.Write("(2X,'----------',2X,'------------------------',13X,'----------') ");
    }

    // The identifiers come from the index: the key of entry k names the
    // account whose records the slot k belongs to.
    const AccountWalk walk = WalkAccounts();
    std::vector<const AccountEntry*> by_entry;
    for (const AccountEntry& a : walk.accounts) {
        if (by_entry.size() <= static_cast<std::size_t>(a.entry))
            by_entry.resize(static_cast<std::size_t>(a.entry) + 1);
        by_entry[static_cast<std::size_t>(a.entry)] = &a;
    }
    int found = 0;
    for (int slot = 1;; ++slot) {
        std::string field;
        const bool read = by_name ? ReadShortName(slot, field) : ReadCustodianAccount(slot, field);
        if (!read) break;
        if (!Clntxt(search, field)) continue;
        if (!walk.count_read) break;
        if (walk.failed_record > 0) {
            frame.Stop("ERROR IN ACCOUNT INFORMATION FILE.");
            break;
        }
        const AccountEntry* named = static_cast<std::size_t>(slot) < by_entry.size()
                                        ? by_entry[static_cast<std::size_t>(slot)]
                                        : nullptr;
        if (named == nullptr) continue;
        if (by_name) {
            frame.Write("(22X,2A4,11X,8A4)", Items().Text(named->id, 4, 2).Text(field, 4, 8));
        } else {
            std::string short_name(32, ' ');
            ReadShortName(slot, short_name);
            frame.Write("(4X,2A4,2X,8A4,1X,8A4)",
                        Items().Text(named->id, 4, 2).Text(field, 4, 8).Text(short_name, 4, 8));
        }
        ++found;
    }
    if (found == 0) {
        if (by_name)
            frame.Write("('No account id found from specified short name.')");
        else
            frame.Write("('No account id found from specified custodian account ','number.')");
    }
}

void Secrnm(std::string_view search, std::string_view output_name) {
    ReportFrame frame(output_name, /*copy=*/true);
    SearchLine(frame, search);
    frame.Write("(8X,'SYMBOL',20X,'DESCRIPTION',20X,'CUSIP')");
    frame.Write("(8X,'------',20X,'-----------',20X,'-----')");

    int found = 0;
    records::DirectFile index(records::kSecurityIndex, 128, /*create=*/false);
    records::Record rec;
    const int count = index.Read(1, rec) ? rec.I16(0) : 0;
    long keys_record = 0;
    for (int k = 1; k <= count; ++k) {
        const long r = 2 + (k - 1) / records::kSecurityKeysPerRecord;
        if (r != keys_record) {
            if (!index.Read(r, rec)) {
                frame.Stop(UnreadableLine(records::kSecurityIndex, r));
                break;
            }
            keys_record = r;
        }
        const std::string symbol = rec.Text(
            static_cast<std::size_t>((k - 1) % records::kSecurityKeysPerRecord) * records::kSecurityKeyWidth,
            records::kSecurityKeyWidth);
        if (records::IsDeletedKey(symbol)) continue;
        SecurityText security;
        if (!ReadSecurityText(k, security)) break;
        if (!Clntxt(search, security.description1) && !Clntxt(search, security.description2)) continue;
        frame.Write("(6X,3A4,11X,8A4,3X,3A4)",
                    Items().Text(symbol, 4, 3).Text(security.description1, 4, 8).Text(security.cusip, 4, 3));
        frame.Write("(29X,8A4)", Items().Text(security.description2, 4, 8));
        ++found;
    }
    if (found == 0) frame.Write("('No securities found from specified description.')");
}

}  // namespace reports
