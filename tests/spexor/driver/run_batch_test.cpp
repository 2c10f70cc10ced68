#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/xrawfile.h"
#include "platform/window.h"
#include "rawfile/component.h"
#include "spexor/driver/batch_summary.h"
#include "spexor/driver/elapsed_time.h"
#include "spexor/driver/spexor_app.h"
#include "support/fake_components.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

const char* const kFixture =
    "rawfixture 1\n"
    "scan 1\n"
    "filter FTMS + c NSI Full ms [350.00-1800.00]\n"
    "rt 0.5\n"
    "trailer R4 Ion Injection Time (ms):=12.5\n"
    "points 400.1 150 400.2 900\n";

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(RunBatch, InterfaceReaderTakesOverForEveryFileWhenNoControlCanBeHosted) {
    testing_support::ScopedRegistry restore;
    platform::ClearClassRegistry();
    testing_support::FakeClass component;
    component.name = "component";
    component.classId = xrawfile::kClassId;
    component.progIds = {xrawfile::kProgIdMsFileReader, xrawfile::kProgIdXRawfile};
    component.inner = rawfile::CreateComponent;
    testing_support::RegisterFake(component);
    testing_support::ClearFakeEvents();
    platform::AfxEnableControlContainer(false);

    TempDir dir;
    const std::string first = dir.Write("in/first.raw", kFixture).string();
    const std::string second = dir.Write("in/second.raw", kFixture).string();
    const std::string out = (dir.path() / "out").string();
    const std::vector<std::string> argv = {"spexor", "-ms1", "-o", out, (dir.path() / "in").string()};

    testing::internal::CaptureStdout();
    EXPECT_TRUE(SpexorApp().RunBatch(static_cast<int>(argv.size()), argv.data()));
    const std::string console = testing::internal::GetCapturedStdout();

    // Each file is announced, and the control is tried again for each.
    EXPECT_NE(console.find("[Morvane] Begin to extract " + first + "\n"), std::string::npos) << console;
    EXPECT_NE(console.find("[Morvane] Begin to extract " + second + "\n"), std::string::npos) << console;
    EXPECT_EQ(CountOf(console, "[Morvane] Morvane tries to use MSFileReader \n"), 2u) << console;
    EXPECT_EQ(CountOf(console, "[Morvane] == == == Time elapsed: "), 1u);
    // Both files were read through the component's reader interface: one
    // object per file, asked for an interface version, never as a control.
    const std::vector<std::string>& events = testing_support::FakeEvents();
    EXPECT_EQ(std::count(events.begin(), events.end(), "make component"), 2) << testing::PrintToString(events);
    EXPECT_EQ(std::count(events.begin(), events.end(), "release component"), 2) << testing::PrintToString(events);
    EXPECT_EQ(std::count(events.begin(), events.end(), "query component IDispatch"), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "out" / "first.ms1"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "out" / "second.ms1"));
}

TEST(RunBatch, RunWithoutRawFilesEndsWithTheElapsedTime) {
    const std::vector<std::string> argv = {"spexor", "-ksd"};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(SpexorApp().RunBatch(static_cast<int>(argv.size()), argv.data()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Morvane] <Exception>: Warning: No raw files.\n");
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string summary = "[Morvane] Summary: 0 RAW files converted, 0 output files written.\n";
    EXPECT_EQ(out.rfind(summary + "[Morvane] == == == Time elapsed: ", 0), 0u) << out;
}

TEST(ElapsedTimeText, SecondsInTheDefaultFloatingPointForm) {
    EXPECT_EQ(ElapsedTimeText(1000, 84062), "== == == Time elapsed: 83.062s. == == ==");
    EXPECT_EQ(ElapsedTimeText(0, 1234568), "== == == Time elapsed: 1234.57s. == == ==");
    EXPECT_EQ(ElapsedTimeText(5, 5), "== == == Time elapsed: 0s. == == ==");
    EXPECT_EQ(ElapsedTimeText(0, 2500), "== == == Time elapsed: 2.5s. == == ==");
}

}  // namespace

TEST(BatchSummaryText, CountsWhatWasConvertedAndWhatWasNot) {
    struct Row {
        BatchTally tally;
        const char* text;
    };
    const Row rows[] = {
        {{}, "Summary: 0 RAW files converted, 0 output files written."},
        {{1, 0, 1, 0, 0, 0}, "Summary: 1 RAW file converted, 1 output file written."},
        {{3, 1, 12, 0, 2, 1},
         "Summary: 3 RAW files converted, 12 output files written; 1 RAW file without any spectrum, 2 inputs not "
         "found, 1 input without RAW files."},
        {{2, 0, 5, 3, 0, 0}, "Summary: 2 RAW files converted, 5 output files written; 3 output files failed."},
        {{4, 0, 6, 0, 1, 0, 2, 17, 1},
         "Summary: 4 RAW files converted, 6 output files written; 2 RAW files failed, 17 scans unreadable, 1 RAW "
         "file skipped for a name taken, 1 input not found."},
    };
    for (const Row& row : rows) EXPECT_EQ(BatchSummaryText(row.tally), row.text);
}

TEST(IncompleteRunTexts, OneLinePerCauseThatLeavesTheRunIncomplete) {
    EXPECT_TRUE(IncompleteRunTexts({}).empty());
    BatchTally skippedOnly;
    skippedOnly.rawFilesOfTakenNames = 2;
    skippedOnly.inputsWithoutRawFiles = 1;
    EXPECT_TRUE(IncompleteRunTexts(skippedOnly).empty());
    BatchTally incomplete;
    incomplete.missingInputs = 2;
    incomplete.failedRawFiles = 1;
    incomplete.outputsFailed = 3;
    EXPECT_EQ(IncompleteRunTexts(incomplete),
              (std::vector<std::string>{"2 inputs were not found; the run is incomplete.",
                                        "1 RAW file could not be converted; the run is incomplete.",
                                        "3 output files could not be written; the run is incomplete."}));
}
