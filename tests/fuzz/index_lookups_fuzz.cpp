// The index and look-up files: ACCOUNT.IDX, ACCOUNT.REC, SECURITY.IDX and
// SECURITY.REC of arbitrary bytes (and a key to look for) through the
// index scans and the look-ups of accounts, securities and splits.

#include <string>

#include "records/common_file.h"
#include "records/files.h"
#include "records/index.h"
#include "records/lookups.h"
#include "records/stock_splits.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 5);
    fuzz::FreshDataDir();
    fuzz::WriteFile("ACCOUNT.IDX", parts[0]);
    fuzz::WriteFile("ACCOUNT.REC", parts[1]);
    fuzz::WriteFile("SECURITY.IDX", parts[2]);
    fuzz::WriteFile("SECURITY.REC", parts[3]);
    const std::string_view key = parts[4].substr(0, 12);

    for (std::string_view account : {key.substr(0, 8), std::string_view("ACCT1   ")}) {
        (void)records::Ckcltt(account);
        (void)records::Gtacct(account);
        (void)records::Ckclnt(account);
        (void)records::Jncltx(account);
        (void)records::Ckct75(account);
        (void)records::Getco(account, key, key.substr(0, 4));
    }
    const records::Options options = records::Rdopts();
    for (std::string_view symbol : {key, std::string_view("CASH        ")}) {
        (void)records::Ccksym(symbol);
        (void)records::Fndsym(symbol);
        (void)records::Cksym(symbol, options);
        std::string message;
        records::SplitList list;
        records::Rdsplt(symbol, 2001, message, list);
    }
    // Every account in index order, as the report loops walk them.
    int position = 0;
    for (int n = 0; n < 40; ++n) {
        const int before = position;
        (void)records::Gtclnt(position);
        if (position <= before) break;
    }
    position = 0;
    for (int n = 0; n < 40; ++n) {
        const int before = position;
        (void)records::Gtclt2(position);
        if (position <= before) break;
    }
    records::Open(7, "SECURITY.IDX");
    records::UnitGuard guard(7);
    std::string entry(12, ' ');
    for (int n = 0; n < 50; ++n) (void)records::Getadr(entry, n);
    return 0;
}
