// The files the set-up dialogs read and write back whole, of arbitrary
// bytes: ACCOUNT.IDX/ACCOUNT.REC, BROKER.IDX/REC and CUSTDN.IDX/REC as the
// account, broker and custodian lists load them, the fee table
// BILTABLE.DAT and the manager table of COMMON.FIL. What a dialog loads and
// saves unchanged loads back the same: no identifier changes or vanishes
// on a save; a refused account index lists nothing.

#include <memory>
#include <string>
#include <vector>

#include "records/account_file.h"
#include "records/broker_list.h"
#include "records/fee_table.h"
#include "records/manager_table.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

template <class List>
std::vector<std::string> Identifiers(const List& list) {
    std::vector<std::string> ids;
    for (const auto& entry : list) ids.push_back(entry->identifier);
    return ids;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 8);
    fuzz::FreshDataDir();
    fuzz::WriteFile("ACCOUNT.IDX", parts[0]);
    fuzz::WriteFile("ACCOUNT.REC", parts[1]);
    fuzz::WriteFile("BROKER.IDX", parts[2]);
    fuzz::WriteFile("BROKER.REC", parts[3]);
    fuzz::WriteFile("CUSTDN.IDX", parts[4]);
    fuzz::WriteFile("CUSTDN.REC", parts[5]);
    fuzz::WriteFile(records::kFeeTableFile, parts[6]);
    fuzz::WriteFile("COMMON.FIL", parts[7]);

    {
        records::AccountFileContents contents = records::LoadAccountFile();
        if (!contents.refused.empty()) {
            fuzz::Require(contents.accounts.empty());
        } else if (records::SaveAccountFile(contents.accounts, contents.flag).empty()) {
            const records::AccountFileContents again = records::LoadAccountFile();
            fuzz::Require(again.refused.empty());
            fuzz::Require(Identifiers(again.accounts) == Identifiers(contents.accounts));
        }
    }
    for (const records::BrokerListKind kind : {records::BrokerListKind::Brokers, records::BrokerListKind::Custodians}) {
        const auto list = records::LoadBrokerList(kind);
        if (records::SaveBrokerList(kind, list).empty())
            fuzz::Require(Identifiers(records::LoadBrokerList(kind)) == Identifiers(list));
    }
    {
        const records::FeeTable table = records::Inptab();
        records::Wrttab(table);
        const records::FeeTable back = records::Inptab();
        fuzz::Require(back.types == table.types);
    }
    {
        const records::ManagerSlots slots = records::ReadManagerTable();
        records::WriteManagerTable(slots);
        fuzz::Require(records::ReadManagerTable() == slots);
    }
    return 0;
}
