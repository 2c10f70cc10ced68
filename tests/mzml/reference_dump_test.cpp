// spexor's mzML of every real RAW file with a reference dump, checked by
// compare_with_reference.py against what Thermo's library reads from the RAW
// file: the index and checksum, the file's description and, per scan, the
// filter, retention time, MS level, polarity, the scan header's values, the
// precursor and charge. The scans as stored (-p, zlib-compressed arrays) must
// give their points bit for bit. In the peak-picked file (-c, uncompressed
// arrays) every spectrum is centroid, centroid scans hold their points as
// stored (a repeated m/z merged into one peak) and profile scans the peaks of the MS1 and MS2 files written in the
// same run with nine decimals.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "mzml/mzml_output.h"
#include "support/real_files.h"

namespace {

using mzml_test::MzmlOutput;
using testing_support::ReferenceDump;

void ExpectAsTheDumpSays(const ReferenceDump& dump, const std::vector<std::string>& options, bool asStored) {
    const mzml_test::Reader python = mzml_test::FindReader(mzml_test::kDebianPython, "python3");
    ASSERT_TRUE(python.installed()) << python.Missing();
    const testing_support::FileCensus census = mzml_test::CensusOf(dump.rawName);
    const MzmlOutput output(dump.rawName, options);
    if (!mzml_test::MzmlToRead(census, output)) return;
    std::vector<std::string> args = {mzml_test::Script("compare_with_reference.py"), output.mzml().string(),
                                     dump.path.string(), (testing_support::DataDir() / dump.rawName).string()};
    if (asStored) args.push_back("--as-stored");
    const bool uncompressed =
        std::find(options.begin(), options.end(), mzml_test::kUncompressedOption) != options.end();
    args.insert(args.end(), {"--compression", uncompressed ? "none" : "zlib"});
    for (const char* extension : {".ms1", ".ms2"}) {
        if (std::filesystem::exists(output.file(extension)))
            args.insert(args.end(), {"--text", output.file(extension).string()});
    }
    const auto result = testing_support::RunProgram(python.path, args);
    EXPECT_EQ(result.status, 0) << result.out << mzml_test::Excerpt(result.err);
}

class MzmlAgainstReferenceDump : public testing::TestWithParam<ReferenceDump> {
protected:
    void SetUp() override {
        if (GetParam().rawName.empty()) GTEST_SKIP() << "no RAW file for the dump " << GetParam().name;
    }
};

TEST_P(MzmlAgainstReferenceDump, ScansAsStoredHoldTheStoredPoints) { ExpectAsTheDumpSays(GetParam(), {"-p"}, true); }

TEST_P(MzmlAgainstReferenceDump, PeakPickedScansSayWhatTheRawFileSaysWithTheTextFilesPeaks) {
    ExpectAsTheDumpSays(GetParam(), {"-ms1", "-ms2", "-a", "-m", "9", "-i", "9", mzml_test::kUncompressedOption},
                        false);
}

std::string DumpName(const testing::TestParamInfo<ReferenceDump>& dump) {
    return testing_support::TestNameOf(dump.param.name);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, MzmlAgainstReferenceDump, testing::ValuesIn(testing_support::ReferenceDumps()),
                         DumpName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MzmlAgainstReferenceDump);

}  // namespace
