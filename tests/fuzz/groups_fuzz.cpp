// Group files of arbitrary bytes: group.dat and super.dat loaded, every
// group and super group expanded, and the list saved again.

#include <string>
#include <vector>

#include "records/groups.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 2);
    fuzz::FreshDataDir();
    fuzz::WriteFile("group.dat", parts[0]);
    fuzz::WriteFile("super.dat", parts[1]);

    records::CGroupList groups, supers;
    groups.Load("group.dat");
    supers.Load("super.dat");
    std::vector<std::string> accounts, messages;
    std::string description;
    for (const std::string& name : groups.Names())
        records::ExpandGroup(accounts, name, description, messages);
    for (const std::string& name : supers.Names())
        records::ExpandSuperGroup(accounts, name, description, messages);
    records::ExpandGroup(accounts, "NOSUCH", description, messages);
    (void)records::GroupFileBytes(groups);
    groups.Save("group.dat");
    return 0;
}
