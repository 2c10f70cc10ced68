// Comet (Debian package comet-ms), which reads indexed mzML only, searches
// spexor's mzML of every real RAW file with MS2 scans to search, and
// spexor's MGF of the same run, against one small protein database
// (comet_same_hits.py): each scan must get the same top hit at each charge
// from both files. The MGF is written with nine decimals, so that its
// rounding cannot tip a close call.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "mzml/mzml_output.h"
#include "support/real_files.h"

namespace {

using mzml_test::MzmlOutput;

// Comet leaves out spectra with fewer peaks (its minimum_peaks); spexor's
// MGF has no precursor m/z for the SRM scans, which have fewer.
const uint64_t kCometMinimumPeaks = 10;

bool HasSearchableScans(const testing_support::FileCensus& census) {
    for (const testing_support::ScanFacts& scan : census.scans) {
        if (scan.msOrderRead && scan.msOrder == 2 && scan.points >= kCometMinimumPeaks) return true;
    }
    return false;
}

class Comet : public testing::TestWithParam<std::string> {};

TEST_P(Comet, FindsTheSameTopHitsInTheMzmlAsInTheMgf) {
    const mzml_test::Reader comet = mzml_test::FindReader("comet-ms", "comet-ms");
    ASSERT_TRUE(comet.installed()) << comet.Missing();
    const mzml_test::Reader python = mzml_test::FindReader(mzml_test::kDebianPython, "python3");
    ASSERT_TRUE(python.installed()) << python.Missing();
    const testing_support::FileCensus census = mzml_test::CensusOf(GetParam());
    if (!HasSearchableScans(census))
        GTEST_SKIP() << "no MS2 scan with the " << kCometMinimumPeaks << " points Comet needs";

    const MzmlOutput output(GetParam(), {"-mgf", "-a", "-m", "9", "-i", "9"});
    if (!mzml_test::MzmlToRead(census, output)) return;
    const auto result =
        testing_support::RunProgram(python.path, {mzml_test::Script("comet_same_hits.py"), output.mzml().string(),
                                                  output.file(".mgf").string(), (output.folder() / "comet").string()});
    EXPECT_EQ(result.status, 0) << result.out << mzml_test::Excerpt(result.err);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, Comet, testing::ValuesIn(mzml_test::OpenableRealFiles()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Comet);

}  // namespace
