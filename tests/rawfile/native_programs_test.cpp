// Both programs on the real RAW files of the data folder through the native
// backend: spexor converts a folder of them, brisel all of them in one run,
// and damaged copies convert or fail with the programs' own messages, never
// with a crash.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "spexor_outcome.h"
#include "support/real_files.h"
#include "support/run_program.h"
#include "support/scan_census.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

const fs::path kDataDir = SHARED_DATA_DIR;

bool HasRealData() { return testing_support::HasRealFiles(); }

// spexor given a folder converts every RAW file in it, the file without
// scans quietly. The folder holds links to every real file whose conversion
// runs to its end in both modes: a file that cannot be opened, or in split
// mode one whose activation spexor cannot name, ends the whole run (those
// files are converted one by one in robustness_real_files_test.cpp).
TEST(NativePrograms, SpexorConvertsEveryRealFileOfAFolderSplitAndMerged) {
    if (!HasRealData()) {
        GTEST_SKIP() << "real RAW data not available";
    }
    TempDir dir;
    const fs::path folder = dir.path() / "raw";
    fs::create_directory(folder);
    std::vector<testing_support::FileCensus> linked;
    for (const std::string& name : testing_support::RealFileNames()) {
        testing_support::FileCensus census = testing_support::TakeCensus(name);
        const std::string path = (folder / name).string();
        if (rawfile_tests::ExpectedSpexorOutcome(census, path, false).status == 0 &&
            rawfile_tests::ExpectedSpexorOutcome(census, path, true).status == 0) {
            fs::create_symlink(fs::absolute(kDataDir / name), folder / name);
            linked.push_back(std::move(census));
        }
    }
    ASSERT_FALSE(linked.empty());

    for (bool merged : {false, true}) {
        const fs::path out = dir.path() / (merged ? "merged" : "split");
        std::vector<std::string> args = {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-o", out.string(), folder.string()};
        if (merged) args.insert(args.begin(), "-a");
        const auto result = RunProgram(SPEXOR_BIN, args);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err.find("scan number 0!"), std::string::npos) << result.err;
        for (const testing_support::FileCensus& census : linked) {
            const fs::path path = folder / census.name;
            const std::string what = census.name + (merged ? " merged" : " split") + " from a folder";
            EXPECT_NE(result.out.find("[Morvane] Begin to extract " + path.string() + "\n"), std::string::npos) << what;
            rawfile_tests::ExpectOutputs(out, path.stem().string(),
                                         rawfile_tests::ExpectedSpexorOutcome(census, path.string(), merged), what);
        }
    }

    // One MS2 spectrum of sample.raw: precursor, activation and analyzer come
    // from the native filter text, the charge from its trailer values.
    if (fs::exists(folder / "sample.raw")) {
        const std::string ms2 = ReadFile(dir.path() / "split" / "sample.HCD.FTMS.ms2");
        EXPECT_NE(ms2.find("S\t000002\t000002\t487.2567\n"), std::string::npos);
        EXPECT_NE(ms2.find("I\tActivationType\tHCD\n"), std::string::npos);
        EXPECT_NE(ms2.find("I\tInstrumentType\tFTMS\n"), std::string::npos);
    }
}

// brisel, given every real file in one run, writes an MS1 file beside each
// file but the one damaged beyond opening, holding every scan whose MS order
// is not 2 and that has points.
TEST(NativePrograms, BriselWritesTheMs1FileOfEveryRealFile) {
    if (!HasRealData()) {
        GTEST_SKIP() << "real RAW data not available";
    }
    TempDir dir;
    std::vector<std::string> paths;
    for (const std::string& name : testing_support::RealFileNames()) {
        const fs::path copy = dir.path() / name;
        fs::copy_file(kDataDir / name, copy);
        fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
        paths.push_back(copy.string());
    }
    const auto result = RunProgram(BRISEL_BIN, paths);
    EXPECT_EQ(result.status, 0);
    for (const std::string& name : testing_support::RealFileNames()) {
        const fs::path ms1 = dir.path() / (name.substr(0, name.size() - 3) + "MS1");
        if (name == testing_support::kUnopenableFile) {
            EXPECT_FALSE(fs::exists(ms1)) << name;
            continue;
        }
        if (!fs::exists(ms1)) {
            ADD_FAILURE() << name << ": no MS1 file";
            continue;
        }
        const std::string text = ReadFile(ms1);
        int records = 0;
        for (size_t at = text.find("\nS\t"); at != std::string::npos; at = text.find("\nS\t", at + 1)) ++records;
        const size_t expected = testing_support::NonMs2ScansWithPoints(testing_support::TakeCensus(name)).size();
        EXPECT_EQ(static_cast<size_t>(records), expected) << name << ": scans in the MS1 file";
    }
}

TEST(NativePrograms, DamagedCopiesConvertOrFailWithAMessage) {
    if (!HasRealData()) {
        GTEST_SKIP() << "real RAW data not available";
    }
    TempDir dir;
    std::mt19937_64 random(7);
    int refused = 0;
    for (const std::string& name : testing_support::RealFileNames()) {
        const std::string bytes = ReadFile(kDataDir / name);
        std::vector<std::string> variants = {bytes.substr(0, bytes.size() / 2), bytes.substr(0, bytes.size() - 100)};
        for (int flipped = 0; flipped < 2; ++flipped) {
            std::string damaged = bytes;
            for (int i = 0; i < 24; ++i) {
                const uint64_t at = damaged.size() - 1 - random() % (damaged.size() / 3);
                damaged[at] = static_cast<char>(random());
            }
            variants.push_back(damaged);
        }
        for (size_t v = 0; v < variants.size(); ++v) {
            SCOPED_TRACE(name + " variant " + std::to_string(v));
            const fs::path copy = dir.Write("damaged.raw", variants[v]);
            const auto spexor =
                RunProgram(SPEXOR_BIN, {"-ms1", "-ms2", "-mgf", "-o", (dir.path() / "out").string(), copy.string()});
            ASSERT_TRUE(spexor.status == 0 || spexor.status == 255) << spexor.status << spexor.err;
            if (spexor.status == 255) {
                // A copy that cannot be opened; or, for a triple-quadrupole
                // file split by activation, its first MS2 scan without one.
                const bool notOpened = spexor.err.find("Failed to open file " + copy.string() +
                                                       ", check if your file is corrupt!") != std::string::npos;
                refused += notOpened ? 1 : 0;
                EXPECT_TRUE(notOpened ||
                            spexor.err.find("[Morvane] <Exception>: error to get activation type of scan ") !=
                                std::string::npos)
                    << spexor.err;
            }
            fs::remove(dir.path() / "damaged.MS1");
            const auto brisel = RunProgram(BRISEL_BIN, {copy.string()});
            EXPECT_EQ(brisel.status, 0) << brisel.err;
        }
    }
    EXPECT_GE(refused, static_cast<int>(testing_support::RealFileNames().size()));  // at least every cut in half
}

}  // namespace
