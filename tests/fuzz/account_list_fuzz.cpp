// Transaction and account list files of arbitrary bytes through the
// account-list reader, and the list written back.

#include <string>
#include <vector>

#include "records/account_lists.h"
#include "records/groups.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FreshDataDir();
    fuzz::WriteFile("ACCOUNTS.LST", std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> identifiers;
    int count = 0;
    records::Rdaclst(identifiers, count, "ACCOUNTS.LST");
    fuzz::Require(count >= 0);
    for (const std::string& id : identifiers) fuzz::Require(id.size() == 8);
    records::WriteAccountLines(identifiers, "ACCOUNTS.LST");
    return 0;
}
