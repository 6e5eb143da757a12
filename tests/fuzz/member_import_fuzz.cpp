// The member import and the account extract over files of arbitrary bytes:
// a member file, ACCOUNT.IDX/REC, COMMON.FIL, SECURITY.IDX/REC and
// OFFLINET.DAT. Mdwnacct runs in member mode (new accounts) and in deposit
// mode (deposits appended to OFFLINET.DAT), then Mextract writes its
// extract. The counter of OFFLINET.DAT the import starts stays within
// its records.

#include <string>

#include "entry/account_extract.h"
#include "entry/member_import.h"
#include "records/files.h"
#include "records/record.h"
#include "records/store_counter.h"
#include "records/transaction_lines.h"
#include "reports/kernel/report_frame.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 8);
    fuzz::FreshDataDir();
    fuzz::WriteFile("MEMBERS.TXT", parts[0]);
    fuzz::WriteFile("ACCOUNT.IDX", parts[1]);
    fuzz::WriteFile("ACCOUNT.REC", parts[2]);
    fuzz::WriteFile("COMMON.FIL", fuzz::ShortPages(parts[3]));
    fuzz::WriteFile("SECURITY.IDX", parts[4]);
    fuzz::WriteFile("SECURITY.REC", parts[5]);
    fuzz::WriteFile(records::kOfflineTransactionFile, parts[6]);
    const std::string_view control = parts[7];
    const bool offline_existed = !parts[6].empty();

    for (int16_t mode = 0; mode <= 1; ++mode) {
        int16_t starting_id = static_cast<int16_t>(1 + fuzz::Byte(control, 0) * 37);
        entry::Mdwnacct(mode, records::Fixed("MEMBERS.TXT", 48), fuzz::Byte(control, 1) & 1 ? "SI  " : "B   ",
                        " 6/30/05", fuzz::Byte(control, 2) & 1 ? "Y   " : "N   ",
                        static_cast<int16_t>(fuzz::Byte(control, 3) % 4), starting_id, "IMPORT.RPT  ");
    }
    {
        const records::DirectFile offline(records::kOfflineTransactionFile, records::kTransactionLineLength,
                                          false);
        records::Record head;
        // A file the input left with a damaged counter may keep it; one the
        // import started, or a sound one, stays within its records.
        if (offline.ok() && offline.Read(1, head) && !offline_existed) {
            const long counter = head.I16(0);
            fuzz::Require(counter >= 1 && counter <= offline.Count());
        }
    }
    if (fuzz::Byte(control, 4) & 1) entry::Mextract();
    return 0;
}
