#include "spexor/driver/raw_discovery.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

struct Discovery {
    std::vector<std::string> rawFiles;
    std::string out;
};

Discovery Discover(const std::vector<std::string>& inputs, std::vector<std::string> already = {}) {
    RunSettings settings;
    settings.rawFiles = std::move(already);
    testing::internal::CaptureStdout();
    DiscoverRawFiles(settings, inputs);
    return {settings.rawFiles, testing::internal::GetCapturedStdout()};
}

TEST(DiscoverRawFiles, FolderGivesItsRawFilesInAnyCase) {
    TempDir dir;
    for (const char* name : {"b.raw", "X.RAW", "a.Raw", "notes.txt", "sub/c.raw"}) dir.Write(name, "");
    const std::string folder = dir.path().string();
    const std::vector<std::string> expected = {folder + "/a.Raw", folder + "/b.raw", folder + "/X.RAW"};
    Discovery plain = Discover({folder});
    EXPECT_EQ(plain.rawFiles, expected);
    EXPECT_EQ(plain.out, "");
    EXPECT_EQ(Discover({folder + "/"}).rawFiles, expected);
    EXPECT_EQ(Discover({folder + "//"}).rawFiles, expected);
}

TEST(DiscoverRawFiles, FolderWithoutRawFilesIsReportedAsWritten) {
    TempDir dir;
    dir.Write("empty/readme.txt", "");
    const std::string folder = (dir.path() / "empty").string() + "/";
    const Discovery found = Discover({folder});
    EXPECT_TRUE(found.rawFiles.empty());
    EXPECT_EQ(found.out, "[Morvane] <Exception>: Find no raws in " + folder + "! \n");
}

TEST(DiscoverRawFiles, FirstFileOfEachNameWins) {
    TempDir dir;
    const std::string first = dir.Write("one/run1.raw", "").string();
    dir.Write("two/RUN1.raw", "");
    const std::string other = dir.Write("two/run2.raw", "").string();
    const Discovery found = Discover({(dir.path() / "one").string(), (dir.path() / "two").string()});
    EXPECT_EQ(found.rawFiles, (std::vector<std::string>{first, other}));
    // The file dropped is named with the one it collides with, and counted.
    EXPECT_EQ(found.out, "[Morvane] <Exception>: Skipped " + (dir.path() / "two" / "RUN1.raw").string() +
                             ": it has the name of " + first + ", converted instead.\n");
}

TEST(DiscoverRawFiles, SameFileGivenTwiceIsListedOnce) {
    TempDir dir;
    const std::string file = dir.Write("data/run.raw", "").string();
    EXPECT_EQ(Discover({file, (dir.path() / "data").string()}).rawFiles, std::vector<std::string>{file});
    EXPECT_EQ(Discover({file, file + "/"}).rawFiles, std::vector<std::string>{file});
    // Entries already listed take part in the rule.
    EXPECT_TRUE(Discover({file}, {"/elsewhere/RUN.RAW"}).rawFiles.size() == 1);
}

TEST(DiscoverRawFiles, AnyExistingFileIsTakenAsWritten) {
    TempDir dir;
    const std::string file = dir.Write("data.txt", "").string();
    EXPECT_EQ(Discover({file}).rawFiles, std::vector<std::string>{file});
    EXPECT_EQ(Discover({file + "/"}).rawFiles, std::vector<std::string>{file});  // less its trailing separators
}

TEST(DiscoverRawFiles, MissingInputsAreReportedAndTheOthersStillFound) {
    TempDir dir;
    const std::string file = dir.Write("run.raw", "").string();
    const std::string missing = (dir.path() / "gone.raw").string();
    const Discovery found = Discover({missing, file});
    EXPECT_EQ(found.rawFiles, std::vector<std::string>{file});
    EXPECT_EQ(found.out, "[Morvane] <Exception>: Failed to find file " + missing + "! \n");
}

TEST(DiscoverRawFiles, EntriesThatAreNoFilesAreReportedWithoutMark) {
    TempDir dir;
    const std::string pipe = (dir.path() / "pipe.raw").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const Discovery found = Discover({pipe});
    EXPECT_TRUE(found.rawFiles.empty());
    EXPECT_EQ(found.out, "[Morvane] <Exception>: Find no raws in " + pipe + "\n");
}

}  // namespace
