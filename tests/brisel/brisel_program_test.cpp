// The built brisel run on RAW fixtures in temporary folders: the MS1 files,
// log files and boxes it leaves, byte for byte.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "brisel/ms1_text.h"
#include "support/folder_watch.h"
#include "support/run_program.h"
#include "support/small_file_system.h"
#include "support/temp_dir.h"

namespace {

using brisel_test::Header;
using brisel_test::ScanStart;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

// A profile curve at m/z 100.0, 100.1, ... that brisel reduces to the one
// peak "100.20000 30.0".
constexpr const char* kProfileCurve = "points 100.0 5 100.1 10 100.2 30 100.3 10 100.4 5 100.5 0 100.6 0 100.7 0\n";
constexpr const char* kCurveAsDelivered =
    "100.00000 5.0\n100.10000 10.0\n100.20000 30.0\n100.30000 10.0\n100.40000 5.0\n"
    "100.50000 0.0\n100.60000 0.0\n100.70000 0.0\n";

testing_support::ProgramResult RunBrisel(const std::vector<std::string>& arguments,
                                         const std::string& workingDirectory = "") {
    return RunProgram(BRISEL_BIN, arguments, workingDirectory);
}

// Every run ends with exit code 0 and writes nothing to standard output.
void ExpectQuietSuccess(const testing_support::ProgramResult& result) {
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
}

// Profile, MS2, MS3, empty, and centroid and profile scans of a file whose
// filter texts begin with the polarity sign.
const std::string kMixedRun = std::string(
                                  "rawfixture 1\n"
                                  "created 43193.885993414355\n"
                                  "scan 1\n"
                                  "filter FTMS + p NSI Full ms [350.00-1800.00]\n"
                                  "rt 0.5\n"
                                  "trailer R4 Ion Injection Time (ms):=12.5\n") +
                              kProfileCurve +
                              "scan 2\n"
                              "filter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]\n"
                              "rt 0.52\n"
                              "p 150.1 30\n"
                              "scan 3\n"
                              "filter ITMS + c NSI d Full ms3 445.12@cid35.00 300.20@cid35.00 [80.00-700.00]\n"
                              "rt 0.61\n"
                              "p 445.12003 10234.56\n"
                              "p 512.3 0\n"
                              "scan 4\n"
                              "filter FTMS + c NSI Full ms [350.00-1800.00]\n"
                              "rt 0.7\n"
                              "scan 5\n"
                              "filter + c ESI Full ms [100.000-1000.000]\n"
                              "rt 1.25\n" +
                              kProfileCurve +
                              "scan 6\n"
                              "filter + p ESI Q1MS [181.653-182.582]\n"
                              "rt 61.5\n" +
                              kProfileCurve;

TEST(BriselProgram, WritesEveryScanButMs2BesideTheRawFile) {
    TempDir dir;
    const auto raw = dir.Write("mixed.raw", kMixedRun);

    const auto result = RunBrisel({raw.string()});

    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "");
    // Scan 1: profile, picked. Scan 2: MS2, absent. Scan 3: MS3, centroid as
    // delivered. Scan 4: empty mass list, absent. Scan 5: centroid behind a
    // polarity sign, as delivered. Scan 6: profile behind a polarity sign,
    // picked; "+" names the ion trap.
    EXPECT_EQ(ReadFile(dir.path() / "mixed.MS1"),
              Header("2018-04-03 21:15:50", 1, 6) + ScanStart("000001", "0.500000", "FTMS") + "100.20000 30.0\n" +
                  ScanStart("000003", "0.610000", "ITMS") + "445.12003 10234.6\n512.30000 0.0\n" +
                  ScanStart("000005", "1.250000", "ITMS") + kCurveAsDelivered +
                  ScanStart("000006", "61.500000", "ITMS") + "100.20000 30.0\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "mixed.MS1.Log"));
}

TEST(BriselProgram, PadsScanNumbersToSixDigitsAndKeepsLongerOnes) {
    TempDir dir;
    const auto small = dir.Write("small.raw",
                                 "rawfixture 1\nrange 41 42\nscan 41\nfilter ITMS + c NSI d Full ms2 400.0@cid35.00\n"
                                 "scan 42\nfilter FTMS + c NSI Full ms\nrt 2\np 445.12003 10234.56\n");
    const auto large =
        dir.Write("large.raw", "rawfixture 1\nscan 1234567\nfilter FTMS + c NSI Full ms\nrt 3\np 300 1\n");

    const auto result = RunBrisel({small.string(), large.string()});

    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadFile(dir.path() / "small.MS1"),
              Header("1899-12-30 00:00:00", 41, 42) + ScanStart("000042", "2.000000", "FTMS") + "445.12003 10234.6\n");
    EXPECT_EQ(ReadFile(dir.path() / "large.MS1"), Header("1899-12-30 00:00:00", 1234567, 1234567) +
                                                      ScanStart("1234567", "3.000000", "FTMS") + "300.00000 1.0\n");
}

TEST(BriselProgram, LogsEveryFailedMassListAndASecondRunAppends) {
    TempDir dir;
    const auto raw = dir.Write("logged.raw",
                               "rawfixture 1\n"
                               "scan 1\nfilter FTMS + c NSI Full ms\nrt 1\np 300 1\n"
                               "scan 2\nfilter FTMS + c NSI Full ms\nrt 2\np 310 2\nfail masslist 7\n"
                               "scan 3\nfilter FTMS + c NSI Full ms\nrt 3\np 320 3\nfail masslist\n"
                               "scan 4\nfilter FTMS + c NSI Full ms\nrt 4\np 330 4\n");
    const std::string entries =
        "ScanNumber: 2\nError code: 7\nnbuffScanNumber: 2\n"
        "ScanNumber: 3\nError code: 0\nnbuffScanNumber: 3\n";
    const std::string ms1 = Header("1899-12-30 00:00:00", 1, 4) + ScanStart("000001", "1.000000", "FTMS") +
                            "300.00000 1.0\n" + ScanStart("000004", "4.000000", "FTMS") + "330.00000 4.0\n";

    const auto first = RunBrisel({raw.string()});
    ExpectQuietSuccess(first);
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(ReadFile(dir.path() / "logged.MS1"), ms1);
    EXPECT_EQ(ReadFile(dir.path() / "logged.MS1.Log"), entries);

    std::filesystem::remove(dir.path() / "logged.MS1");
    ExpectQuietSuccess(RunBrisel({raw.string()}));
    EXPECT_EQ(ReadFile(dir.path() / "logged.MS1"), ms1);
    EXPECT_EQ(ReadFile(dir.path() / "logged.MS1.Log"), entries + entries);
}

TEST(BriselProgram, LeavesAnExistingMs1FileUntouched) {
    TempDir dir;
    const auto raw =
        dir.Write("done.raw", "rawfixture 1\nscan 1\nfilter FTMS + c NSI Full ms\np 300 1\nfail masslist\n");
    dir.Write("done.MS1", "converted before\r\n");

    const auto result = RunBrisel({raw.string()});

    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadFile(dir.path() / "done.MS1"), "converted before\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "done.MS1.Log"));
}

TEST(BriselProgram, WithoutArgumentsSaysItIsNotToBeRunDirectly) {
    TempDir dir;

    const auto result = RunBrisel({}, dir.path().string());

    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "Illegal: Don't run this program directly.\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(BriselProgram, VersionAlonePrintsTheProgramAndItsVersion) {
    TempDir dir;

    const auto result = RunBrisel({"--version"}, dir.path().string());

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "brisel " PROGRAM_VERSION "\n");
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    // Beside another argument it is a RAW path like any other.
    const auto besideAnother = RunBrisel({"--version", "x.raw"}, dir.path().string());
    ExpectQuietSuccess(besideAnother);
    EXPECT_EQ(besideAnother.err, "brisel: Can't find the file --version\n");
}

TEST(BriselProgram, AMissingFileIsNamedAndTheArgumentsAfterItAreNotConverted) {
    TempDir dir;
    const char* fixture = "rawfixture 1\nscan 1\nfilter FTMS + c NSI Full ms\nrt 1\np 300 1\n";
    const auto before = dir.Write("before.raw", fixture);
    const auto after = dir.Write("after.raw", fixture);
    const std::string missing = (dir.path() / "missing.raw").string();

    const auto result = RunBrisel({before.string(), missing, after.string()});

    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "brisel: Can't find the file " + missing + "\n");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "before.MS1"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "after.MS1"));
}

TEST(BriselProgram, ARetentionTimeFailureEndsThatFileAndTheNextArgumentIsConverted) {
    TempDir dir;
    const auto broken = dir.Write("broken.raw",
                                  "rawfixture 1\n"
                                  "scan 1\nfilter FTMS + c NSI Full ms\nrt 1\np 300 1\n"
                                  "scan 2\nfilter FTMS + c NSI Full ms\nrt 2\np 310 2\nfail rt\n"
                                  "scan 3\nfilter FTMS + c NSI Full ms\nrt 3\np 320 3\n");
    const auto fine = dir.Write("fine.raw", "rawfixture 1\nscan 5\nfilter FTMS + c NSI Full ms\nrt 5\np 350 5\n");

    const auto result = RunBrisel({broken.string(), fine.string()});

    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "Error: Error getting retention time\n");
    EXPECT_EQ(ReadFile(dir.path() / "broken.MS1"),
              Header("1899-12-30 00:00:00", 1, 3) + ScanStart("000001", "1.000000", "FTMS") + "300.00000 1.0\n");
    EXPECT_EQ(ReadFile(dir.path() / "fine.MS1"),
              Header("1899-12-30 00:00:00", 5, 5) + ScanStart("000005", "5.000000", "FTMS") + "350.00000 5.0\n");
}

TEST(BriselProgram, NamesTheOutputByReplacingTheLastThreeCharacters) {
    TempDir dir;
    const char* fixture = "rawfixture 1\nscan 1\nfilter FTMS + c NSI Full ms\nrt 1\np 300 1\n";
    dir.Write("upper.RAW", fixture);
    dir.Write("sample", fixture);
    dir.Write("ab", fixture);

    const auto result = RunBrisel({"upper.RAW", (dir.path() / "sample").string(), "ab"}, dir.path().string());

    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "");
    const std::string ms1 =
        Header("1899-12-30 00:00:00", 1, 1) + ScanStart("000001", "1.000000", "FTMS") + "300.00000 1.0\n";
    EXPECT_EQ(ReadFile(dir.path() / "upper.MS1"), ms1);
    EXPECT_EQ(ReadFile(dir.path() / "samMS1"), ms1);
    EXPECT_EQ(ReadFile(dir.path() / "abMS1"), ms1);
}

TEST(BriselProgram, AFileTheComponentCannotOpenGivesTheInstallationBox) {
    TempDir dir;
    const auto notRaw = dir.Write("text.raw", "not a RAW file\n");
    const auto refused = dir.Write("refused.raw", "rawfixture 1\nfail open\nscan 1\nfilter FTMS + c NSI Full ms\n");
    const std::string box =
        "XCalibur in this system is not installed correctly: For Thermo RAW format, program requires access to "
        "library files supplied as part of the instrument data system. Please reinstall Thermo Scientific "
        "Xcalibur to continue. \n";

    const auto result = RunBrisel({notRaw.string(), refused.string()});

    ExpectQuietSuccess(result);
    // Each box names the file and the reason the reader gives.
    EXPECT_EQ(result.err, box + notRaw.string() + ": not a Thermo RAW file\n" + box + refused.string() +
                              ": the fixture scripts its open to fail\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "text.MS1"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "refused.MS1"));
}

TEST(BriselProgram, AnMs1FileThatCannotBeCreatedIsReported) {
    TempDir dir;
    const auto raw = dir.Write("run.raw", "rawfixture 1\nscan 1\nfilter FTMS + c NSI Full ms\np 300 1\n");
    // brisel inherits this descriptor and reaches the fixture through
    // /proc/self/fd/<n>; the MS1 file then belongs in /proc/self, where no
    // file can be made, whoever runs the test.
    const int descriptor = open(raw.c_str(), O_RDONLY);
    ASSERT_GE(descriptor, 0);
    const std::string path = "/proc/self/fd/" + std::to_string(descriptor);

    const auto result = RunBrisel({path});
    close(descriptor);

    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "brisel: Error: failed to save file.\nThe mass list data has not be saved.\n");
}

TEST(BriselProgram, AFullDiskLeavesNoCutOffMs1FileAndIsReported) {
    const std::filesystem::path sample = std::filesystem::path(SHARED_DATA_DIR) / "sample.raw";
    if (!std::filesystem::exists(sample)) GTEST_SKIP() << "real RAW data not available";
    if (!testing_support::SmallFileSystemAvailable()) GTEST_SKIP() << "no private file system can be mounted here";
    TempDir dir;
    const std::filesystem::path tiny = dir.path() / "tiny";
    std::filesystem::create_directory(tiny);
    // Room for the RAW file and 40 KB more: the MS1 file does not fit.
    const int kilobytes = static_cast<int>(std::filesystem::file_size(sample) / 1024) + 40;
    const auto run = testing_support::RunInSmallFileSystem(kilobytes, tiny.string(), {sample.string()}, BRISEL_BIN,
                                                           {(tiny / "sample.raw").string()});
    EXPECT_EQ(run.result.status, 0);  // callers rely on it whatever happened
    EXPECT_EQ(run.result.err, "brisel: Error: failed to save file.\nThe mass list data has not be saved.\n");
    EXPECT_EQ(run.files, std::vector<std::string>{"sample.raw " + std::to_string(std::filesystem::file_size(sample))});
}

bool IsMs1Name(const std::string& name) { return name.size() > 4 && name.compare(name.size() - 4, 4, ".MS1") == 0; }

TEST(BriselProgram, TheMs1FileAppearsWhole) {
    const std::filesystem::path source = std::filesystem::path(SHARED_DATA_DIR) / "RP240K_01.raw";
    if (!std::filesystem::exists(source)) GTEST_SKIP() << "real RAW data not available";
    TempDir dir;
    // A program waiting for run.MS1 reads it whole whenever it sees it.
    std::filesystem::create_symlink(source, dir.path() / "run.raw");
    testing_support::FolderWatch watch(dir.path(), IsMs1Name);
    const auto result = RunBrisel({(dir.path() / "run.raw").string()});
    watch.Stop();
    ExpectQuietSuccess(result);
    EXPECT_EQ(result.err, "");
    const std::string ms1 = ReadFile(dir.path() / "run.MS1");
    EXPECT_NE(ms1.find("H\tLastScan\t"), std::string::npos);
    EXPECT_EQ(watch.contents().at("run.MS1"), std::set<std::string>{ms1});
    // Until then it is there under a name that says it is unfinished.
    static const std::regex unfinished(R"(run\.MS1\.incomplete-[0-9]+)");
    for (const std::string& name : watch.names()) {
        EXPECT_TRUE(name == "run.raw" || name == "run.MS1" || std::regex_match(name, unfinished)) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 2);
}

}  // namespace
