// Both programs on the real RAW files through the native backend: every
// file converts, and damaged copies convert or fail with the programs' own
// messages, never with a crash.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/real_files.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

const fs::path kDataDir = SHARED_DATA_DIR;

std::set<std::string> FileNames(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

bool HasRealData() { return fs::exists(kDataDir / "small.RAW"); }

TEST(NativePrograms, SpexorConvertsEveryRealFileSplitAndMerged) {
    if (!HasRealData()) {
        GTEST_SKIP() << "real RAW data not available";
    }
    TempDir dir;
    const fs::path split = dir.path() / "split";
    auto result = RunProgram(SPEXOR_BIN, {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-o", split.string(), kDataDir.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::set<std::string> expected = {
        "Angiotensin_325-CID.CID.FTMS.ksd", "Angiotensin_325-CID.CID.FTMS.mgf", "Angiotensin_325-CID.CID.FTMS.ms2",
        "Angiotensin_325-HCD.HCD.FTMS.ksd", "Angiotensin_325-HCD.HCD.FTMS.mgf", "Angiotensin_325-HCD.HCD.FTMS.ms2",
        "RP240K_01.ms1",                    "ScanDescriptionTestData.ms1",      "sample.HCD.FTMS.ksd",
        "sample.HCD.FTMS.mgf",              "sample.HCD.FTMS.ms2",              "sample.ms1",
        "small.CID.ITMS.ksd",               "small.CID.ITMS.mgf",               "small.CID.ITMS.ms2",
        "small.ms1",                        "small2.CID.ITMS.ksd",              "small2.CID.ITMS.mgf",
        "small2.CID.ITMS.ms2",              "small2.ms1",                       "tsq_quantum.ms1",
    };
    EXPECT_EQ(FileNames(split), expected);
    // The file without scans is converted too, quietly: its empty range asks
    // for no scan, and it leaves no output file (the set above).
    EXPECT_NE(result.out.find("[Morvane] Begin to extract " + (kDataDir / "thermo.raw").string()), std::string::npos)
        << result.out;
    EXPECT_EQ(result.err.find("scan number 0!"), std::string::npos) << result.err;

    // One MS2 spectrum of sample.raw: precursor, activation and analyzer come
    // from the native filter text, the charge from its trailer values.
    const std::string ms2 = ReadFile(split / "sample.HCD.FTMS.ms2");
    EXPECT_NE(ms2.find("S\t000002\t000002\t487.2567\n"), std::string::npos);
    EXPECT_NE(ms2.find("I\tActivationType\tHCD\n"), std::string::npos);
    EXPECT_NE(ms2.find("I\tInstrumentType\tFTMS\n"), std::string::npos);

    const fs::path merged = dir.path() / "merged";
    result = RunProgram(SPEXOR_BIN, {"-a", "-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-o", merged.string(), kDataDir.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::set<std::string> names = FileNames(merged);
    for (const char* name : {"small.ms1", "small.ms2", "small.mgf", "small.ksd", "sample.ms2", "tsq_quantum.ms1",
                             "Angiotensin_325-HCD.mgf", "RP240K_01.ms1"}) {
        EXPECT_TRUE(names.count(name)) << name;
    }
}

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
    for (const char* stem : {"small", "small2", "sample", "ScanDescriptionTestData", "RP240K_01", "tsq_quantum"}) {
        const std::string ms1 = ReadFile(dir.path() / (std::string(stem) + ".MS1"));
        EXPECT_NE(ms1.find("\nS\t"), std::string::npos) << stem;
    }
    // Only MS2 scans: a header without scans.
    EXPECT_EQ(ReadFile(dir.path() / "Angiotensin_325-HCD.MS1").find("\nS\t"), std::string::npos);
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
            const auto spexor = RunProgram(SPEXOR_BIN, {"-ms1", "-ms2", "-mgf", "-o", (dir.path() / "out").string(),
                                                        copy.string()});
            ASSERT_TRUE(spexor.status == 0 || spexor.status == 255) << spexor.status << spexor.err;
            if (spexor.status == 255) {
                ++refused;
                EXPECT_NE(spexor.err.find("Failed to open file " + copy.string() + ", check if your file is corrupt!"),
                          std::string::npos)
                    << spexor.err;
            }
            fs::remove(dir.path() / "damaged.MS1");
            const auto brisel = RunProgram(BRISEL_BIN, {copy.string()});
            EXPECT_EQ(brisel.status, 0) << brisel.err;
        }
    }
    EXPECT_GE(refused, 9);  // at least every cut in half
}

}  // namespace
