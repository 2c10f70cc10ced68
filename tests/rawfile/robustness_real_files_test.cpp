// spexor converts every real RAW file of the data folder with every output
// kind, split and merged, one test per file: it ends with the exit status
// the file calls for (never by a signal), with the fatal error's line last
// where it ends early, and leaves exactly the output files the file's scans
// call for, each holding exactly the scans routed to it. The expectations
// come from the native reader's answers for each scan (spexor_outcome.h); a
// scan the reader cannot answer fails the test too. So a file that cannot be
// opened ends the run with the open-failure line and no output file, and the
// triple-quadrupole SRM files, whose filter texts carry no '@', end a split
// run with the activation error at their first MS2 scan with points while a
// merged run writes them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "spexor_outcome.h"
#include "support/real_files.h"
#include "support/run_program.h"
#include "support/scan_census.h"
#include "support/temp_dir.h"
#include "support/text_lines.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Lines;
using testing_support::RunProgram;
using testing_support::TempDir;

// The last few lines of a long standard error, for a failure message.
std::string Tail(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = lines.size() > 3 ? lines.size() - 3 : 0; i < lines.size(); ++i) text += "\n  " + lines[i];
    return text;
}

class RobustRealFiles : public testing::TestWithParam<std::string> {};

TEST_P(RobustRealFiles, SpexorConvertsWithEveryKindSplitAndMerged) {
    const std::string& name = GetParam();
    const testing_support::FileCensus census = testing_support::TakeCensus(name);
    for (const std::string& gap : census.gaps) ADD_FAILURE() << gap;
    const fs::path raw = testing_support::DataDir() / name;
    const std::string stem = raw.stem().string();
    TempDir dir;
    for (bool merged : {false, true}) {
        const std::string what = name + (merged ? " merged" : " split");
        const fs::path out = dir.path() / (merged ? "merged" : "split");
        std::vector<std::string> args = {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-o", out.string(), raw.string()};
        if (merged) args.insert(args.begin(), "-a");
        const auto result = RunProgram(SPEXOR_BIN, args);
        const rawfile_tests::SpexorOutcome expected =
            rawfile_tests::ExpectedSpexorOutcome(census, raw.string(), merged);
        const std::vector<std::string> lines = Lines(result.err);
        EXPECT_EQ(result.status, expected.status)
            << what << ": exit status (128 and above but 255: a signal); standard error ends with" << Tail(lines);
        if (expected.status != 0) {
            ASSERT_FALSE(lines.empty()) << what << ": a fatal end is reported";
            EXPECT_EQ(rawfile_tests::LastFatalLine(lines), expected.fatalLine)
                << what << (expected.fatalScan != 0 ? " at scan " + std::to_string(expected.fatalScan) : "");
        } else {
            EXPECT_NE(result.out.find("[Morvane] Output Files Completed!\n"), std::string::npos) << what;
        }
        ExpectOutputs(out, stem, expected, what);
    }
}

INSTANTIATE_TEST_SUITE_P(RealFiles, RobustRealFiles, testing::ValuesIn(testing_support::RealFileNames()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RobustRealFiles);

}  // namespace
