// spexor on every real RAW file of the shared data folder, one test per
// file: every MS2 scan the component reads reaches the merged MS2 and MGF
// outputs with its points (profile output, so as stored) and charges; the
// file damaged beyond opening ends the run with the open-failure line.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "support/real_files.h"
#include "support/run_program.h"
#include "support/scan_census.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

namespace {

struct Ms2Scan {
    uint64_t points = 0;
    int charge = 0;
};

// The MS2 scans with points, as the native reader answers them.
std::map<int, Ms2Scan> ReadMs2Scans(const testing_support::FileCensus& census) {
    std::map<int, Ms2Scan> scans;
    for (const testing_support::ScanFacts& scan : census.scans) {
        if (!scan.msOrderRead || scan.msOrder != 2 || scan.points == 0) continue;
        scans[scan.scan] = {scan.points, scan.chargeState};
    }
    return scans;
}

class RealFile : public testing::TestWithParam<std::string> {};

TEST_P(RealFile, EveryMs2ScanIsWrittenWithItsPeaksAndCharges) {
    const std::string& name = GetParam();
    const fs::path raw = testing_support::DataDir() / name;
    TempDir dir;
    const auto result = RunProgram(SPEXOR_BIN, {"-ms2", "-mgf", "-a", "-p", "-o", dir.path().string(), raw.string()});
    if (name == testing_support::kUnopenableFile) {
        EXPECT_EQ(result.status, 255);
        EXPECT_EQ(result.err, "[Morvane] <Exception>: Failed to open file " + raw.string() +
                                  ", check if your file is corrupt!\n[Morvane] <Exception>: Reason: no mass "
                                  "spectrometer controller (no run header with scan events)\n");
        return;
    }
    const testing_support::FileCensus census = testing_support::TakeCensus(name);
    for (const std::string& gap : census.gaps) ADD_FAILURE() << gap;
    const std::map<int, Ms2Scan> expected = ReadMs2Scans(census);
    ASSERT_EQ(result.status, 0) << name << ": " << result.err.substr(0, 2000);
    EXPECT_TRUE(result.err.find("mass list") == std::string::npos)
        << name << ": mass lists spexor could not read: " << result.err.substr(0, 2000);
    const std::string stem = raw.stem().string();
    if (expected.empty()) {
        EXPECT_FALSE(fs::exists(dir.path() / (stem + ".ms2"))) << name << ": an MS2 file without MS2 scans";
        EXPECT_FALSE(fs::exists(dir.path() / (stem + ".mgf"))) << name << ": an MGF file without MS2 scans";
        return;
    }

    std::map<int, Ms2Scan> written;
    const std::string ms2 = ReadFile(dir.path() / (stem + ".ms2"));
    const std::regex block("\nS\t(\\d{6})\t\\d{6}\t[0-9.]+\nI\tNumberOfPeaks\t(\\d+)\n(?:[^\n]*\n){7}Z\t(\\d+)\t");
    int blocks = 0;
    for (auto it = std::sregex_iterator(ms2.begin(), ms2.end(), block); it != std::sregex_iterator(); ++it) {
        Ms2Scan& scan = written[std::stoi((*it)[1])];
        scan.points = std::stoull((*it)[2]);
        scan.charge = std::stoi((*it)[3]);  // the last charge written
        ++blocks;
    }
    int expectedBlocks = 0;
    for (const auto& [number, scan] : expected) {
        expectedBlocks += scan.charge == 0 ? 2 : 1;
        if (written.count(number) == 0) {
            ADD_FAILURE() << name << ": scan " << number << " is not in the MS2 file";
            continue;
        }
        EXPECT_EQ(written[number].points, scan.points) << name << ": scan " << number;
        EXPECT_EQ(written[number].charge, scan.charge == 0 ? 3 : scan.charge) << name << ": scan " << number;
    }
    EXPECT_EQ(written.size(), expected.size()) << name;
    EXPECT_EQ(blocks, expectedBlocks) << name;

    const std::string mgf = ReadFile(dir.path() / (stem + ".mgf"));
    int mgfBlocks = 0;
    for (std::size_t at = mgf.find("BEGIN IONS\n"); at != std::string::npos; at = mgf.find("BEGIN IONS\n", at + 1))
        ++mgfBlocks;
    EXPECT_EQ(mgfBlocks, expectedBlocks) << name;
}

INSTANTIATE_TEST_SUITE_P(RealFiles, RealFile, testing::ValuesIn(testing_support::RealFileNames()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RealFile);

}  // namespace
