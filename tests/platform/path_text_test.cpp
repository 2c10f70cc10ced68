#include "platform/path_text.h"

#include <gtest/gtest.h>

namespace {

std::string ParentOf(std::string path) {
    EXPECT_TRUE(platform::RemoveFileSpec(path)) << path;
    return path;
}

TEST(PathText, RemoveFileSpecDropsTheLastComponent) {
    EXPECT_EQ(ParentOf("/data/run/out"), "/data/run");
    EXPECT_EQ(ParentOf("/data"), "/");  // the root keeps its separator
    EXPECT_EQ(ParentOf("data/run"), "data");
    EXPECT_EQ(ParentOf("run"), "");  // a bare name has an empty parent
    EXPECT_EQ(ParentOf("/data/run/"), "/data/run");
}

TEST(PathText, RemoveFileSpecRemovesNothingFromEmptyOrRoot) {
    std::string empty, root = "/";
    EXPECT_FALSE(platform::RemoveFileSpec(empty));
    EXPECT_FALSE(platform::RemoveFileSpec(root));
    EXPECT_EQ(root, "/");
}

TEST(PathText, TrailingSeparators) {
    EXPECT_EQ(platform::RemoveTrailingSeparators("/data/out///"), "/data/out");
    EXPECT_EQ(platform::RemoveTrailingSeparators("/data/out"), "/data/out");
    EXPECT_EQ(platform::RemoveTrailingSeparators("out/"), "out");
    EXPECT_EQ(platform::RemoveTrailingSeparators("///"), "/");
    EXPECT_EQ(platform::RemoveTrailingSeparators(""), "");
    EXPECT_EQ(platform::WithTrailingSeparator("/data/out"), "/data/out/");
    EXPECT_EQ(platform::WithTrailingSeparator("/"), "/");
}

TEST(PathText, LastSeparatorAndFileName) {
    EXPECT_EQ(platform::LastSeparator("/a/bc"), 2u);
    EXPECT_EQ(platform::LastSeparator("abc"), std::string::npos);
    EXPECT_EQ(platform::FileNameOf("/data/Run1.RAW"), "Run1.RAW");
    EXPECT_EQ(platform::FileNameOf("Run1.raw"), "Run1.raw");
    EXPECT_EQ(platform::FileNameOf("/data/"), "");
}

}  // namespace
