// brisel on the real Thermo RAW files of the shared data folder, read by our
// component's native backend. The expected values come from the reference
// dumps beside the files: the scan range, the creation date, and the number
// of scans that are not MS2 scans and have points.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "brisel/ms1_text.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

struct RealFile {
    const char* name;
    const char* creationDate;
    int firstScan;
    int lastScan;
    int writtenScans;
};

const RealFile kRealFiles[] = {
    {"small.RAW", "2005-07-20 14:44:22", 1, 48, 14},
    {"small2.RAW", "2018-04-03 21:15:50", 1, 95, 46},
    {"sample.raw", "2018-02-13 11:09:04", 1, 574, 27},
    {"Angiotensin_325-HCD.raw", "2018-09-26 09:17:37", 1, 10, 0},
    {"Angiotensin_325-CID.raw", "2018-09-26 09:17:03", 1, 10, 0},
    {"ScanDescriptionTestData.raw", "2023-10-25 10:40:10", 1, 54, 15},
    {"RP240K_01.raw", "2011-10-06 14:24:05", 1, 55, 55},
    {"tsq_quantum.raw", "2016-02-03 19:37:00", 1, 78, 78},
};

const fs::path kDataDir = SHARED_DATA_DIR;

// The RAW files are linked, not copied, into the folder where brisel writes.
fs::path LinkInto(const TempDir& dir, const std::string& name) {
    const fs::path link = dir.path() / name;
    fs::create_symlink(fs::absolute(kDataDir / name), link);
    return link;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool IsPeakLine(const std::string& line) {
    double mz = 0, intensity = 0;
    char mzText[64], intensityText[64];
    if (std::sscanf(line.c_str(), "%lf %lf", &mz, &intensity) != 2) return false;
    std::snprintf(mzText, sizeof mzText, "%.5f", mz);
    std::snprintf(intensityText, sizeof intensityText, "%.1f", intensity);
    return line == std::string(mzText) + " " + intensityText;
}

// Checks the header and that the records follow one another in scan order,
// each with its S line, three I lines and well-formed peak lines.
void ExpectMs1File(const RealFile& file, const std::string& content) {
    const std::string header = brisel_test::Header(file.creationDate, file.firstScan, file.lastScan);
    ASSERT_EQ(content.substr(0, header.size()), header) << file.name;
    const std::vector<std::string> lines = Lines(content);
    int records = 0;
    int previousScan = file.firstScan - 1;
    for (size_t i = 6; i < lines.size();) {
        int scan = 0, again = 0;
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "S\t%d\t%d", &scan, &again), 2) << file.name << ": " << lines[i];
        EXPECT_EQ(scan, again);
        EXPECT_GT(scan, previousScan);
        EXPECT_LE(scan, file.lastScan);
        previousScan = scan;
        ++records;
        ASSERT_LT(i + 3, lines.size());
        EXPECT_EQ(lines[i + 1].rfind("I\tRetTime\t", 0), 0u);
        EXPECT_EQ(lines[i + 2], "I\tIonInjectionTime\t0");
        EXPECT_EQ(lines[i + 3].rfind("I\tInstrumentType\t", 0), 0u);
        for (i += 4; i < lines.size() && lines[i].rfind("S\t", 0) != 0; ++i) {
            ASSERT_TRUE(IsPeakLine(lines[i])) << file.name << ": " << lines[i];
        }
    }
    EXPECT_EQ(records, file.writtenScans) << file.name;
}

TEST(BriselRealFiles, WritesAnMs1FileForEachRealFileWithoutErrors) {
    if (!fs::is_directory(kDataDir)) GTEST_SKIP() << "no shared RAW files";
    TempDir dir;
    std::vector<std::string> arguments;
    for (const RealFile& file : kRealFiles) arguments.push_back(LinkInto(dir, file.name).string());

    const auto result = RunProgram(BRISEL_BIN, arguments);

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    for (const RealFile& file : kRealFiles) {
        const std::string name = file.name;
        const fs::path ms1 = dir.path() / (name.substr(0, name.size() - 3) + "MS1");
        ASSERT_TRUE(fs::exists(ms1)) << ms1;
        ExpectMs1File(file, ReadFile(ms1));
    }
}

// thermo.raw is an acquisition without scans: the component answers the
// empty range 1 to 0, so brisel reads no scan, shows no box and writes the
// header alone.
TEST(BriselRealFiles, AnAcquisitionWithoutScansGivesAHeaderOnlyFileWithoutBoxes) {
    if (!fs::exists(kDataDir / "thermo.raw")) GTEST_SKIP() << "no shared RAW files";
    TempDir dir;

    const auto result = RunProgram(BRISEL_BIN, {LinkInto(dir, "thermo.raw").string()});

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadFile(dir.path() / "thermo.MS1"), brisel_test::Header("2021-07-05 14:46:06", 1, 0));
    EXPECT_FALSE(fs::exists(dir.path() / "thermo.MS1.Log"));
}

}  // namespace
