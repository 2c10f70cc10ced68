#include "spexor/output/output_paths.h"

#include <gtest/gtest.h>

TEST(OutputPaths, BaseNameIsTheFileNameWithoutItsExtension) {
    EXPECT_EQ(RawBaseName("/data/run.raw"), "run");
    EXPECT_EQ(RawBaseName("run.raw"), "run");
    EXPECT_EQ(RawBaseName("/data/run.2024.01.raw"), "run.2024.01");
    EXPECT_EQ(RawBaseName("/data/run"), "run");
    EXPECT_EQ(RawBaseName("/a.b/run"), "run");  // a dotted folder is no extension
    EXPECT_EQ(RawBaseName("/a.b/run.RAW"), "run");
    EXPECT_EQ(RawBaseName("/data/.raw"), "");
}

TEST(OutputPaths, OutputsGoBesideTheRawFileOrIntoTheOutputDirectory) {
    EXPECT_EQ(MakeOutputPath(".HCD.FTMS.mgf", "/data/run.raw", ""), "/data/run.HCD.FTMS.mgf");
    EXPECT_EQ(MakeOutputPath(".ms1", "/data/run.raw", "/out/"), "/out/run.ms1");
    EXPECT_EQ(MakeOutputPath(".ms2", "run.raw", ""), "run.ms2");
    EXPECT_EQ(MakeOutputPath(".ms2", "/data/run", ""), "/data/run.ms2");
    EXPECT_EQ(OutputBasePath("/data/run.raw", "/out/") + std::string(kMarkerSuffix), "/out/run.spexor");
}

TEST(OutputPaths, DottedFolderKeepsOutputsBesideAnExtensionlessRawFile) {
    // Outputs stay in the RAW file's folder and are named after it, never
    // after the folder (which would mix up the outputs of two such files).
    EXPECT_EQ(MakeOutputPath(".ms1", "/a.b/run", ""), "/a.b/run.ms1");
    EXPECT_EQ(MakeOutputPath(".mgf", "/a.b/other", ""), "/a.b/other.mgf");
    EXPECT_EQ(MakeOutputPath(".mgf", "/a.b/run.raw", ""), "/a.b/run.mgf");
    EXPECT_EQ(MakeOutputPath(".mgf", "/a.b/run", "/out.d/"), "/out.d/run.mgf");
}
