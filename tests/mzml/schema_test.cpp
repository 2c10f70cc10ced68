// spexor's mzML of every real RAW file against the PSI schema of indexed
// mzML 1.1, with xmllint (Debian package libxml2-utils): the default file
// (peak-picked, zlib-compressed arrays) and the file of the scans as stored
// with uncompressed arrays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mzml/mzml_output.h"
#include "support/real_files.h"

namespace {

using mzml_test::MzmlOutput;

void ExpectValid(const std::string& rawName, const std::vector<std::string>& options) {
    const mzml_test::Reader xmllint = mzml_test::FindReader("xmllint", "libxml2-utils");
    ASSERT_TRUE(xmllint.installed()) << xmllint.Missing();
    const testing_support::FileCensus census = mzml_test::CensusOf(rawName);
    const MzmlOutput output(rawName, options);
    if (!mzml_test::MzmlToRead(census, output)) return;
    const auto result = testing_support::RunProgram(
        xmllint.path, {"--stream", "--noout", "--schema", mzml_test::IndexedMzmlSchema(), output.mzml().string()});
    EXPECT_EQ(result.status, 0) << mzml_test::Excerpt(result.err);
    EXPECT_NE(result.err.find(" validates"), std::string::npos) << mzml_test::Excerpt(result.err);
}

class MzmlSchema : public testing::TestWithParam<std::string> {};

TEST_P(MzmlSchema, DefaultFileIsValid) { ExpectValid(GetParam(), {}); }

TEST_P(MzmlSchema, UncompressedFileOfStoredScansIsValid) {
    ExpectValid(GetParam(), {"-p", mzml_test::kUncompressedOption});
}

INSTANTIATE_TEST_SUITE_P(RealFiles, MzmlSchema, testing::ValuesIn(mzml_test::OpenableRealFiles()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MzmlSchema);

}  // namespace
