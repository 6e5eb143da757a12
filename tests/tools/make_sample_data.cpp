// make_sample_data: writes the sample data directory that ./scripts/build
// starts the program on (sample-data/ in the repository): the sample firm
// of tests/tools/sample_firm.h.
//
//   make_sample_data DIR      (DIR must not exist yet)

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/tools/sample_firm.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_data DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    if (std::filesystem::exists(dir, error)) {
        std::fprintf(stderr, "make_sample_data: %s exists already; remove it first\n", argv[1]);
        return 1;
    }
    std::filesystem::create_directories(dir, error);
    std::filesystem::current_path(dir, error);
    if (error) {
        std::fprintf(stderr, "make_sample_data: cannot use %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    const std::string failure = sample::WriteSampleFirm();
    if (!failure.empty()) {
        std::fprintf(stderr, "make_sample_data: %s\n", failure.c_str());
        return 1;
    }
    return 0;
}
