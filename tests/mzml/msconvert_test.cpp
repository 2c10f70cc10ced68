// spexor's mzML of every real RAW file converted to MGF by ProteoWizard's
// msconvert (Debian package libpwiz-tools), as the pipelines built on
// ProteoWizard read it: a term it does not know refuses the file or, inside
// a spectrum, leaves the MGF empty; a bad spectrum can make it hang. Every
// MSn scan must reach the MGF.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "mzml/mzml_output.h"
#include "support/real_files.h"

namespace {

namespace fs = std::filesystem;
using mzml_test::MzmlOutput;

// Longer than msconvert takes on any real file by far.
const std::string kMsconvertTimeout = "120";

int CountBlocks(const std::string& mgf) {
    int blocks = 0;
    for (std::size_t at = mgf.find("BEGIN IONS"); at != std::string::npos; at = mgf.find("BEGIN IONS", at + 1))
        ++blocks;
    return blocks;
}

// msconvert names the MGF after the run's id, which cannot start with a
// digit as a RAW file's name can.
std::vector<fs::path> MgfFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".mgf") files.push_back(it->path());
    }
    return files;
}

class Msconvert : public testing::TestWithParam<std::string> {};

TEST_P(Msconvert, WritesEveryMsnScanToMgf) {
    const mzml_test::Reader msconvert = mzml_test::FindReader("msconvert", "libpwiz-tools");
    ASSERT_TRUE(msconvert.installed()) << msconvert.Missing();
    const mzml_test::Reader timeout = mzml_test::FindReader("timeout", "coreutils");
    ASSERT_TRUE(timeout.installed()) << timeout.Missing();
    const testing_support::FileCensus census = mzml_test::CensusOf(GetParam());
    const MzmlOutput output(GetParam(), {});
    if (!mzml_test::MzmlToRead(census, output)) return;

    const fs::path mgfFolder = output.folder() / "msconvert";
    const auto result = testing_support::RunProgram(
        timeout.path, {kMsconvertTimeout, msconvert.path, output.mzml().string(), "--mgf", "-o", mgfFolder.string()});
    const std::string all = result.out + result.err;
    ASSERT_NE(result.status, 124) << "msconvert did not end within " << kMsconvertTimeout << " s";
    EXPECT_TRUE(result.status == 0 && all.find("Error") == std::string::npos)
        << "msconvert exited with " << result.status << ":\n"
        << mzml_test::Excerpt(all);

    // An MGF holds the scans isolated from a precursor (MS order 2 and up);
    // neutral-loss and precursor-ion scans (negative orders) have none.
    int msnScans = 0;
    for (const testing_support::ScanFacts& scan : census.scans) {
        if (scan.msOrderRead && scan.msOrder > 1) ++msnScans;
    }
    const std::vector<fs::path> mgfs = MgfFiles(mgfFolder);
    ASSERT_EQ(mgfs.size(), 1u) << "MGF files written; " << mzml_test::Excerpt(all);
    EXPECT_EQ(CountBlocks(testing_support::ReadFile(mgfs.front())), msnScans) << "MSn scans in the MGF";
}

INSTANTIATE_TEST_SUITE_P(RealFiles, Msconvert, testing::ValuesIn(mzml_test::OpenableRealFiles()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Msconvert);

}  // namespace
