// make_generated_firm: writes a generated firm (firm_generator.h) into a
// data directory, for the whole-firm process benchmarks and by hand.
//
//   make_generated_firm DATA_DIR ACCOUNTS [TRANSACTIONS [SEED]]
//
// DATA_DIR is made when missing and should be empty. Exit status 0 when
// the firm was written and its update of the data base warned of nothing.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/firm_generator.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fputs("usage: make_generated_firm DATA_DIR ACCOUNTS [TRANSACTIONS [SEED]]\n", stderr);
        return 2;
    }
    bench::GeneratedFirmShape shape;
    shape.accounts = std::atoi(argv[2]);
    if (argc > 3) shape.transactions = std::atoi(argv[3]);
    if (argc > 4) shape.seed = std::strtoull(argv[4], nullptr, 10);
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    std::filesystem::current_path(argv[1], error);
    if (error) {
        std::fprintf(stderr, "cannot enter %s\n", argv[1]);
        return 1;
    }
    const bench::GeneratedFirm firm = bench::WriteGeneratedFirm(shape);
    if (!firm.error.empty()) {
        std::fprintf(stderr, "%s\n", firm.error.c_str());
        return 1;
    }
    std::printf("%zu accounts, %ld transactions\n", firm.accounts.size(), firm.transactions);
    return 0;
}
