// spexor converts every real RAW file with every output kind, split and
// merged: exit status 0, exactly the output files each file's scans call
// for, and in each file every scan that has points. The expected counts
// come from the reference dumps beside the files (scans with at least one
// point, by level, activation and analyzer); no file has MS3 scans.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/real_files.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/text_lines.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Lines;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

struct RealFile {
    const char* stem;
    int ms1Scans;        // scans without "ms2"/"ms3" in the filter that have points
    int ms2Scans;        // MS2 scans that have points
    const char* ms2Split;  // activation and analyzer of those MS2 scans
};

const RealFile kRealFiles[] = {
    {"small", 14, 34, "CID.ITMS"},
    {"small2", 46, 49, "CID.ITMS"},
    {"sample", 27, 547, "HCD.FTMS"},
    {"Angiotensin_325-HCD", 0, 10, "HCD.FTMS"},
    {"Angiotensin_325-CID", 0, 10, "CID.FTMS"},
    {"ScanDescriptionTestData", 15, 0, ""},  // its 39 MS2 scans have no points
    {"RP240K_01", 55, 0, ""},
    {"tsq_quantum", 78, 0, ""},
    {"thermo", 0, 0, ""},
};

// The scan numbers of the spectra in an output file, whatever its format
// (a spectrum written for two charges counts once).
std::set<int> ScansIn(const fs::path& file) {
    std::set<int> scans;
    const std::vector<std::string> lines = Lines(ReadFile(file));
    const std::string suffix = file.extension().string();
    for (size_t i = 0; i < lines.size(); ++i) {
        int scan = 0;
        int again = 0;
        if (suffix == ".mgf") {
            const size_t dta = lines[i].rfind(".dta");
            if (lines[i].rfind("TITLE=", 0) == 0 && dta != std::string::npos) {
                // TITLE=<base>.<scan>.<scan>.<charge>.dta
                const std::string title = lines[i].substr(0, dta);
                const size_t charge = title.rfind('.');
                const size_t second = title.rfind('.', charge - 1);
                const size_t first = title.rfind('.', second - 1);
                scans.insert(std::stoi(title.substr(first + 1, second - first - 1)));
            }
        } else if (suffix == ".ksd") {
            if (lines[i] == "H" && i + 1 < lines.size() && std::sscanf(lines[i + 1].c_str(), "%d\t", &scan) == 1) {
                scans.insert(scan);
            }
        } else if (std::sscanf(lines[i].c_str(), "S\t%d\t%d", &scan, &again) == 2) {
            EXPECT_EQ(scan, again) << file;
            scans.insert(scan);
        }
    }
    return scans;
}

// The files in the folder named <stem>.<anything>.
std::set<std::string> OutputsOf(const fs::path& folder, const std::string& stem) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(stem + ".", 0) == 0) names.insert(name);
    }
    return names;
}

void ExpectOutputs(const fs::path& folder, const RealFile& file, bool merged) {
    const std::string stem = file.stem;
    std::set<std::string> expected;
    if (file.ms1Scans > 0) expected.insert(stem + ".ms1");
    const std::string ms2Base = merged ? stem : stem + "." + file.ms2Split;
    if (file.ms2Scans > 0) {
        for (const char* kind : {".ms2", ".mgf", ".ksd"}) expected.insert(ms2Base + kind);
    }
    if (merged) expected.insert(stem + ".spexor");  // the marker of a merged MS1 and MS2 run
    EXPECT_EQ(OutputsOf(folder, stem), expected) << stem << (merged ? " merged" : " split");

    if (file.ms1Scans > 0) {
        EXPECT_EQ(ScansIn(folder / (stem + ".ms1")).size(), static_cast<size_t>(file.ms1Scans)) << stem;
    }
    if (file.ms2Scans > 0) {
        const std::set<int> ms2 = ScansIn(folder / (ms2Base + ".ms2"));
        EXPECT_EQ(ms2.size(), static_cast<size_t>(file.ms2Scans)) << stem;
        EXPECT_EQ(ScansIn(folder / (ms2Base + ".mgf")), ms2) << stem;
        EXPECT_EQ(ScansIn(folder / (ms2Base + ".ksd")), ms2) << stem;
    }
}

TEST(RobustRealFiles, SpexorConvertsEveryRealFileWithEveryKindSplitAndMerged) {
    if (!testing_support::HasRealFiles()) GTEST_SKIP() << "real RAW data not available";
    TempDir dir;
    for (bool merged : {false, true}) {
        const fs::path out = dir.path() / (merged ? "merged" : "split");
        std::vector<std::string> args = {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-o", out.string()};
        if (merged) args.insert(args.begin(), "-a");
        for (const std::string& name : testing_support::RealFileNames()) {
            args.push_back((testing_support::DataDir() / name).string());
        }
        const auto result = RunProgram(SPEXOR_BIN, args);
        ASSERT_EQ(result.status, 0) << result.err;
        for (const RealFile& file : kRealFiles) {
            ExpectOutputs(out, file, merged);
        }
    }
}

}  // namespace
