// A RAW file that cannot be opened leaves no mzML behind: spexor reports it
// and ends with 255, as for every other kind of output.
#include <gtest/gtest.h>

#include <filesystem>

#include "mzml/mzml_output.h"
#include "support/real_files.h"

namespace {

TEST(MzmlOfDamagedFile, IsNotWritten) {
    if (!testing_support::HasRealFile(testing_support::kUnopenableFile)) GTEST_SKIP() << "no shared RAW files";
    const mzml_test::MzmlOutput output(testing_support::kUnopenableFile, {});
    EXPECT_EQ(output.run().status, 255) << output.run().err;
    EXPECT_NE(output.run().err.find("Failed to open file"), std::string::npos) << output.run().err;
    EXPECT_TRUE(std::filesystem::is_empty(output.folder())) << "files left in " << output.folder();
}

}  // namespace
