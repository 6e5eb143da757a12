// The shell's tests run with the runner's whole table, as the program has
// it after start-up.

#include <gtest/gtest.h>

#include "tests/fixtures/report_table.h"

namespace {

class RegisteredReports : public ::testing::Environment {
public:
    void SetUp() override { fixtures::RegisterAllReports(); }
};

[[maybe_unused]] ::testing::Environment* const kRegisteredReports =
    ::testing::AddGlobalTestEnvironment(new RegisteredReports);

}  // namespace
