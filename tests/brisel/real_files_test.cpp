// brisel on every real Thermo RAW file of the shared data folder, read by our
// component's native backend, all in one run. Each file but the one damaged
// beyond opening (which gives the open-failure box and no MS1 file) gets an
// MS1 file whose header names its creation date (Thermo's, from the file's
// reference dump, to the nearest second) and scan range, and which holds
// every scan whose MS order is not 2 and that has points, in scan order,
// each record well formed; no mass-list fetch fails, so no log file.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "brisel/ms1_text.h"
#include "support/real_files.h"
#include "support/run_program.h"
#include "support/scan_census.h"
#include "support/temp_dir.h"
#include "support/text_lines.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Lines;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

const fs::path kDataDir = SHARED_DATA_DIR;

const std::string kOpenBox =
    "XCalibur in this system is not installed correctly: For Thermo RAW format, program requires access to library "
    "files supplied as part of the instrument data system. Please reinstall Thermo Scientific Xcalibur to continue. ";

// The RAW files are linked, not copied, into the folder where brisel writes.
fs::path LinkInto(const TempDir& dir, const std::string& name) {
    const fs::path link = dir.path() / name;
    fs::create_symlink(fs::absolute(kDataDir / name), link);
    return link;
}

// The creation date as brisel writes it, to the nearest second, from the
// file's reference dump ("creation_date_iso":"2005-07-20T14:44:22.3770000",
// in the dump's first few kilobytes); empty when the file has no dump.
std::string ReferenceCreationDate(const std::string& rawName) {
    const testing_support::ReferenceDump* dump = testing_support::ReferenceDumpOf(rawName);
    if (dump == nullptr) return "";
    gzFile file = gzopen(dump->path.c_str(), "rb");
    if (file == nullptr) return "";
    std::string head(8192, '\0');
    const int got = gzread(file, head.data(), static_cast<unsigned>(head.size()));
    gzclose(file);
    head.resize(got > 0 ? static_cast<size_t>(got) : 0);
    static const std::regex iso(R"x("creation_date_iso":"(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)(\.\d+)?")x");
    std::smatch found;
    if (!std::regex_search(head, found, iso)) return "";
    std::tm time{};
    time.tm_year = std::stoi(found[1]) - 1900;
    time.tm_mon = std::stoi(found[2]) - 1;
    time.tm_mday = std::stoi(found[3]);
    time.tm_hour = std::stoi(found[4]);
    time.tm_min = std::stoi(found[5]);
    time.tm_sec = std::stoi(found[6]);
    std::time_t seconds = timegm(&time);
    if (found[7].matched && found[7].str()[1] >= '5') ++seconds;
    gmtime_r(&seconds, &time);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &time);
    return text;
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
// each with its S line, three I lines and well-formed peak lines, and that
// they are exactly the scans that are not MS2 and have points.
void ExpectMs1File(const testing_support::FileCensus& census, const std::string& date, const std::string& content) {
    const std::string& name = census.name;
    const std::vector<std::string> lines = Lines(content);
    ASSERT_GE(lines.size(), 6u) << name << ": a header of six lines";
    if (!date.empty()) {
        const std::string header = brisel_test::Header(date, census.first, census.last);
        ASSERT_EQ(content.substr(0, header.size()), header) << name;
    } else {
        static const std::regex dated(R"(H\tCreationDate\t\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
        EXPECT_TRUE(std::regex_match(lines[0], dated)) << name << ": " << lines[0];
        const std::string header = brisel_test::Header("", census.first, census.last);
        const std::string rest = header.substr(header.find('\n'));  // the lines after the date
        ASSERT_EQ(content.substr(lines[0].size(), rest.size()), rest) << name;
    }
    std::set<int> written;
    int previousScan = census.first - 1;
    for (size_t i = 6; i < lines.size();) {
        int scan = 0, again = 0;
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "S\t%d\t%d", &scan, &again), 2) << name << ": " << lines[i];
        EXPECT_EQ(scan, again) << name;
        EXPECT_GT(scan, previousScan) << name;
        EXPECT_LE(scan, census.last) << name;
        previousScan = scan;
        written.insert(scan);
        ASSERT_LT(i + 3, lines.size()) << name << ": scan " << scan;
        EXPECT_EQ(lines[i + 1].rfind("I\tRetTime\t", 0), 0u) << name << ": scan " << scan;
        EXPECT_EQ(lines[i + 2], "I\tIonInjectionTime\t0") << name << ": scan " << scan;
        EXPECT_EQ(lines[i + 3].rfind("I\tInstrumentType\t", 0), 0u) << name << ": scan " << scan;
        for (i += 4; i < lines.size() && lines[i].rfind("S\t", 0) != 0; ++i) {
            ASSERT_TRUE(IsPeakLine(lines[i])) << name << ": scan " << scan << ": " << lines[i];
        }
    }
    const std::set<int> expected = testing_support::NonMs2ScansWithPoints(census);
    if (written != expected) {
        ADD_FAILURE() << name << ": the MS1 file holds " << written.size() << " scans instead of " << expected.size()
                      << "; missing scans " << testing_support::FirstScans(testing_support::Without(expected, written))
                      << "; extra scans " << testing_support::FirstScans(testing_support::Without(written, expected));
    }
}

TEST(BriselRealFiles, WritesAnMs1FileForEachRealFileWithoutErrors) {
    if (!testing_support::HasRealFiles()) GTEST_SKIP() << "no shared RAW files";
    TempDir dir;
    std::vector<std::string> arguments;
    std::string expectedBoxes;
    for (const std::string& name : testing_support::RealFileNames()) {
        arguments.push_back(LinkInto(dir, name).string());
        if (name == testing_support::kUnopenableFile) {
            expectedBoxes += kOpenBox + "\n" + arguments.back() +
                             ": no mass spectrometer controller (no run header with scan events)\n";
        }
    }

    const auto result = RunProgram(BRISEL_BIN, arguments);

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, expectedBoxes) << "an open-failure box for " << testing_support::kUnopenableFile
                                         << " alone (a refused file is one left without an MS1 file below)";
    for (const std::string& name : testing_support::RealFileNames()) {
        const fs::path ms1 = dir.path() / (name.substr(0, name.size() - 3) + "MS1");
        const fs::path log = fs::path(ms1.string() + ".Log");
        if (name == testing_support::kUnopenableFile) {
            EXPECT_FALSE(fs::exists(ms1)) << name;
            continue;
        }
        const testing_support::FileCensus census = testing_support::TakeCensus(name);
        for (const std::string& gap : census.gaps) ADD_FAILURE() << gap;
        if (!fs::exists(ms1)) {
            ADD_FAILURE() << name << ": no MS1 file";
            continue;
        }
        ExpectMs1File(census, ReferenceCreationDate(name), ReadFile(ms1));
        if (fs::exists(log)) {
            const std::vector<std::string> entries = Lines(ReadFile(log));
            ADD_FAILURE() << name << ": " << entries.size() / 3
                          << " mass-list fetches failed, the first: " << (entries.empty() ? "" : entries[0])
                          << (entries.size() > 1 ? ", " + entries[1] : "");
        }
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
