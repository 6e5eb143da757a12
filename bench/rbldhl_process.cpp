// Rbldhl as a process of its own, for the replay bench's comparison with
// the ledger program and with a read of the transaction file: rebuilds the
// holdings of the account named by its argument in the data directory it
// is started in. Exit status: the rebuild's flag (0 when done).

#include <cstdio>
#include <string>

#include "engine/rebuild.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: rbldhl_process ACCOUNT (run in the data directory)\n", stderr);
        return 2;
    }
    int16_t flag = 0;
    engine::Rbldhl(argv[1], flag);
    return flag;
}
