#pragma once

// The run of a position report's script that the app tests of the
// position reports share.

#include <gtest/gtest.h>

#include <string>

#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace posscript {

// Runs script in the program of run, every step passing, and compares the
// file the script writes with its golden text. Call it under
// ASSERT_NO_FATAL_FAILURE: a program that does not start or a file that is
// not written ends the test.
inline void RunToGolden(tools::ProgramRun& run, const std::string& script, const char* file,
                        const char* golden) {
    ASSERT_TRUE(run.Started());
    EXPECT_TRUE(run.RunScript(script));
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    ASSERT_TRUE(fixtures::TempDataDir::Exists(file));
    fixtures::CompareWithGolden(golden, fixtures::ReportText(file));
}

}  // namespace posscript
