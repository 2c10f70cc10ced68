#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/create_directory.h"
#include "platform/file_entry.h"
#include "platform/raw_listing.h"
#include "support/temp_dir.h"

namespace {

using platform::EntryKind;
using testing_support::TempDir;

TEST(FileEntry, TellsFoldersFilesAndMissingEntriesApart) {
    TempDir dir;
    const std::string folder = dir.path().string();
    const std::string file = dir.Write("run.raw", "x").string();
    EXPECT_EQ(platform::LookUpEntry(folder), EntryKind::folder);
    EXPECT_EQ(platform::LookUpEntry(file), EntryKind::archiveFile);
    EXPECT_EQ(platform::LookUpEntry(folder + "/missing.raw"), EntryKind::missing);
    EXPECT_EQ(platform::LookUpEntry(""), EntryKind::missing);
    EXPECT_TRUE(platform::IsDirectory(folder));
    EXPECT_FALSE(platform::IsDirectory(file));
}

TEST(FileEntry, OtherEntriesExistButAreNoFiles) {
    TempDir dir;
    const std::string pipe = (dir.path() / "pipe").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(platform::LookUpEntry(pipe), EntryKind::otherEntry);
    const auto dangling = dir.path() / "dangling";
    std::filesystem::create_symlink(dir.path() / "gone", dangling);
    EXPECT_EQ(platform::LookUpEntry(dangling.string()), EntryKind::otherEntry);
    const auto linkToFolder = dir.path() / "folder-link";
    std::filesystem::create_directory_symlink(dir.path(), linkToFolder);
    EXPECT_EQ(platform::LookUpEntry(linkToFolder.string()), EntryKind::folder);
}

TEST(CreateDirectory, CreatesOneLevelOnly) {
    TempDir dir;
    const std::string one = (dir.path() / "one").string();
    EXPECT_TRUE(platform::CreateDirectory(one));
    EXPECT_TRUE(platform::IsDirectory(one));
    EXPECT_FALSE(platform::CreateDirectory(one));  // already there
    EXPECT_FALSE(platform::CreateDirectory((dir.path() / "a" / "b").string()));
    EXPECT_FALSE(platform::CreateDirectory(""));
}

TEST(RawListing, ListsRawFilesInAnyCaseSortedWithoutRegardToCase) {
    TempDir dir;
    for (const char* name : {"b.raw", "A.RAW", "c.Raw", "notes.txt", "raw", "x.raw.bak", "d.rawx"}) dir.Write(name, "");
    std::filesystem::create_directory(dir.path() / "folder.raw");  // folders are not RAW files
    dir.Write("sub/e.raw", "");                                    // sub-folders are not searched
    EXPECT_EQ(platform::ListRawFiles(dir.path().string()), (std::vector<std::string>{"A.RAW", "b.raw", "c.Raw"}));
}

TEST(RawListing, MissingOrEmptyFolderListsNothing) {
    TempDir dir;
    EXPECT_TRUE(platform::ListRawFiles(dir.path().string()).empty());
    EXPECT_TRUE(platform::ListRawFiles((dir.path() / "missing").string()).empty());
}

}  // namespace
