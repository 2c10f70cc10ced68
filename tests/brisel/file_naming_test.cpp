#include <gtest/gtest.h>

#include <limits>

#include "brisel/brisel_app.h"
#include "brisel/creation_date.h"
#include "brisel/output_paths.h"

namespace {

TEST(Ms1Path, ReplacesTheLastThreeCharactersWhateverTheyAre) {
    EXPECT_EQ(Ms1PathFor("D:/data/run07.raw"), "D:/data/run07.MS1");
    EXPECT_EQ(Ms1PathFor("C:/d/a.RAW"), "C:/d/a.MS1");
    EXPECT_EQ(Ms1PathFor("C:/d/sample"), "C:/d/samMS1");
    EXPECT_EQ(Ms1PathFor("run.raw2"), "run.rMS1");
    EXPECT_EQ(Ms1PathFor("abc"), "MS1");
}

TEST(Ms1Path, KeepsAPathShorterThanThreeCharactersWhole) {
    EXPECT_EQ(Ms1PathFor("ab"), "abMS1");
    EXPECT_EQ(Ms1PathFor("a"), "aMS1");
    EXPECT_EQ(Ms1PathFor(""), "MS1");
}

TEST(Ms1Path, CountsCharactersNotBytes) {
    EXPECT_EQ(Ms1PathFor("/d/probe.r\xC3\xA4w"), "/d/probe.MS1");
    EXPECT_EQ(Ms1PathFor("/d/\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"), "/d/MS1");
    EXPECT_EQ(Ms1PathFor("\xC3\xA4\xC3\xB6"), "\xC3\xA4\xC3\xB6MS1");
}

TEST(LogPath, FollowsTheMs1Path) {
    EXPECT_EQ(LogPathFor("D:/data/run07.MS1"), "D:/data/run07.MS1.Log");
    EXPECT_EQ(LogPathFor(Ms1PathFor("ab")), "abMS1.Log");
}

TEST(CreationDate, CountsDaysFromTheEndOf1899WithTheFractionAsTimeOfDay) {
    EXPECT_EQ(FormatCreationDate(0.0), "1899-12-30 00:00:00");
    EXPECT_EQ(FormatCreationDate(45000.5), "2023-03-15 12:00:00");
    EXPECT_EQ(FormatCreationDate(60.0), "1900-02-28 00:00:00");
    EXPECT_EQ(FormatCreationDate(61.0), "1900-03-01 00:00:00");
    EXPECT_EQ(FormatCreationDate(36585.0), "2000-02-29 00:00:00");
    EXPECT_EQ(FormatCreationDate(42403.81736378472), "2016-02-03 19:37:00");
    EXPECT_EQ(FormatCreationDate(38553.61414788194), "2005-07-20 14:44:22");
}

TEST(CreationDate, RoundsToTheNearestSecondAcrossMidnight) {
    const double second = 1.0 / 86400.0;
    EXPECT_EQ(FormatCreationDate(43193.885993414355), "2018-04-03 21:15:50");  // 21:15:49.831
    EXPECT_EQ(FormatCreationDate(100.0 + 0.4 * second), "1900-04-09 00:00:00");
    EXPECT_EQ(FormatCreationDate(100.0 + 0.6 * second), "1900-04-09 00:00:01");
    EXPECT_EQ(FormatCreationDate(100.0 - 0.4 * second), "1900-04-09 00:00:00");
    EXPECT_EQ(FormatCreationDate(44197.0 - 0.3 * second), "2021-01-01 00:00:00");
}

TEST(CreationDate, DatesBefore1899KeepTheFractionAsTimeOfDay) {
    EXPECT_EQ(FormatCreationDate(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(FormatCreationDate(-0.5), "1899-12-30 12:00:00");
    EXPECT_EQ(FormatCreationDate(-657434.0), "0100-01-01 00:00:00");
}

TEST(CreationDate, DatesThatCannotBeConvertedAreInvalid) {
    EXPECT_EQ(FormatCreationDate(2958465.0), "9999-12-31 00:00:00");
    EXPECT_EQ(FormatCreationDate(2958466.0), "Invalid DateTime");
    EXPECT_EQ(FormatCreationDate(-657435.0), "Invalid DateTime");
    EXPECT_EQ(FormatCreationDate(1e300), "Invalid DateTime");
    EXPECT_EQ(FormatCreationDate(std::numeric_limits<double>::quiet_NaN()), "Invalid DateTime");
    EXPECT_EQ(FormatCreationDate(std::numeric_limits<double>::infinity()), "Invalid DateTime");
}

TEST(ApplicationName, IsTheProgramFileNameWithoutExtension) {
    EXPECT_EQ(ApplicationNameOf("/usr/local/bin/brisel"), "brisel");
    EXPECT_EQ(ApplicationNameOf("C:/Tools/Brisel.exe"), "Brisel");
    EXPECT_EQ(ApplicationNameOf(""), "brisel");
}

}  // namespace
