// The demo RAW file converts as the README's "What the demo writes" says.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "output_listing.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

namespace {

const std::string kDemo = std::string(EXAMPLES_DIR) + "/demo.raw";

std::vector<std::string> SplitNames(const std::vector<std::string>& kinds) {
    std::vector<std::string> names;
    for (const char* activation : {"CID", "ETD", "HCD"})
        for (const char* analyzer : {"FTMS", "ITMS"})
            for (const std::string& kind : kinds)
                names.push_back(std::string("demo.") + activation + "." + analyzer + "." + kind);
    return names;
}

std::set<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it)
        found.insert((*it)[1].str());
    return found;
}

}  // namespace

TEST(Demo, QuickStartCommandWritesMs1AndSplitMs2AndMgf) {
    TempDir dir;
    const auto result = RunProgram(SPEXOR_BIN, {"-ms1", "-ms2", "-mgf", "-o", "out", kDemo}, dir.path().string());
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> expected = SplitNames({"mgf", "ms2"});
    expected.push_back("demo.ms1");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(dir.path() / "out"), expected);
}

TEST(Demo, EveryKindSplitAndMerged) {
    TempDir dir;
    auto result =
        RunProgram(SPEXOR_BIN, {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-o", "out/split", kDemo}, dir.path().string());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::vector<std::string> split = SplitNames({"ksd", "mgf", "ms2"});
    split.push_back("demo.HCD.FTMS.ms3");
    split.push_back("demo.ms1");
    std::sort(split.begin(), split.end());
    EXPECT_EQ(FilesIn(dir.path() / "out/split"), split);

    result = RunProgram(SPEXOR_BIN, {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-a", "-o", "out/merged", kDemo},
                        dir.path().string());
    ASSERT_EQ(result.status, 0) << result.err;
    const fs::path merged = dir.path() / "out/merged";
    EXPECT_EQ(FilesIn(merged),
              (std::vector<std::string>{"demo.ksd", "demo.mgf", "demo.ms1", "demo.ms2", "demo.ms3", "demo.spexor"}));
    // What the demo holds: 5 MS1, 20 MS2 and 3 MS3 scans, with and without
    // charge states and monoisotopic m/z, profile MS1 peaks picked.
    const std::string ms2 = ReadFile(merged / "demo.ms2");
    EXPECT_EQ(Matches(ReadFile(merged / "demo.ms1"), "\nS\t(\\d+)\t").size(), 5u);
    EXPECT_EQ(Matches(ms2, "\nS\t(\\d+)\t").size(), 20u);
    EXPECT_EQ(Matches(ReadFile(merged / "demo.ms3"), "\nS\t(\\d+)\t").size(), 3u);
    EXPECT_EQ(Matches(ms2, "I\tActivationType\t(\\w+)\n"), (std::set<std::string>{"CID", "ETD", "HCD"}));
    EXPECT_EQ(Matches(ReadFile(merged / "demo.mgf"), "CHARGE=(\\d)\\+"), (std::set<std::string>{"2", "3", "4"}));
    EXPECT_NE(ms2.find("I\tMonoiosotopicMz\t0\n"), std::string::npos);
    EXPECT_GT(Matches(ms2, "I\tMonoiosotopicMz\t([1-9][0-9.]*)\n").size(), 5u);
}
