// spexor's mzML of every real RAW file read with pymzml (Debian package
// python3-pymzml) by read_with_pymzml.py: every scan once, in order, then
// spectra by scan number through the index.
#include <gtest/gtest.h>

#include <string>

#include "mzml/mzml_output.h"
#include "support/real_files.h"

namespace {

using mzml_test::MzmlOutput;

class Pymzml : public testing::TestWithParam<std::string> {};

TEST_P(Pymzml, IteratesEveryScanAndReadsScansByNumber) {
    const mzml_test::Reader python = mzml_test::FindReader(mzml_test::kDebianPython, "python3-pymzml");
    ASSERT_TRUE(python.installed()) << python.Missing();
    const testing_support::FileCensus census = mzml_test::CensusOf(GetParam());
    const MzmlOutput output(GetParam(), {});
    if (!mzml_test::MzmlToRead(census, output)) return;

    const auto result =
        testing_support::RunProgram(python.path, {mzml_test::Script("read_with_pymzml.py"), output.mzml().string(),
                                                  std::to_string(census.first), std::to_string(census.last)});
    EXPECT_EQ(result.status, 0) << result.out << mzml_test::Excerpt(result.err);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, Pymzml, testing::ValuesIn(mzml_test::OpenableRealFiles()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Pymzml);

}  // namespace
