#include "spexor/driver/output_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

// Prepares `directory` and returns what was written to standard output.
std::string Prepare(RunSettings& settings, const std::string& directory) {
    settings.outputDirectory = directory;
    testing::internal::CaptureStdout();
    PrepareOutputDirectory(settings);
    return testing::internal::GetCapturedStdout();
}

TEST(PrepareOutputDirectory, EmptyDirectoryStaysEmptyWithoutMessage) {
    RunSettings settings;
    EXPECT_EQ(Prepare(settings, ""), "");
    EXPECT_EQ(settings.outputDirectory, "");
}

TEST(PrepareOutputDirectory, ExistingDirectoryEndsInOneSeparator) {
    TempDir dir;
    const std::string path = dir.path().string();
    for (const std::string& given : {path, path + "/", path + "///"}) {
        RunSettings settings;
        EXPECT_EQ(Prepare(settings, given), "[Morvane] : Output path is " + path + "\n");
        EXPECT_EQ(settings.outputDirectory, path + "/");
    }
}

TEST(PrepareOutputDirectory, MissingLevelsAreCreated) {
    TempDir dir;
    const std::string path = (dir.path() / "one" / "two").string();
    RunSettings settings;
    EXPECT_EQ(Prepare(settings, path + "/"), "[Morvane] <Exception>: Failed to find directory " + path +
                                                 ", which will be created by default.\n"
                                                 "[Morvane] <Exception>: Create directory successufully!\n"
                                                 "[Morvane] : Output path is " +
                                                 path + "\n");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(settings.outputDirectory, path + "/");
}

TEST(PrepareOutputDirectory, ExistingFileCountsAsFound) {
    TempDir dir;
    const std::string file = dir.Write("taken", "x").string();
    RunSettings settings;
    EXPECT_EQ(Prepare(settings, file), "[Morvane] : Output path is " + file + "\n");
    EXPECT_EQ(settings.outputDirectory, file + "/");
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
}

TEST(CreateDirectoryNested, CreatesEveryMissingParent) {
    TempDir dir;
    const auto deep = dir.path() / "a" / "b" / "c";
    EXPECT_TRUE(CreateDirectoryNested(deep.string()));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_TRUE(CreateDirectoryNested(deep.string()));  // already there
    EXPECT_TRUE(CreateDirectoryNested("/"));
}

TEST(CreateDirectoryNested, FailsBelowAFileAndOnNothing) {
    TempDir dir;
    const auto file = dir.Write("file", "x");
    EXPECT_FALSE(CreateDirectoryNested((file / "a" / "b").string()));
    EXPECT_FALSE(CreateDirectoryNested(""));
}

}  // namespace
