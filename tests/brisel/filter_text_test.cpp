#include "brisel/filter_text.h"

#include <gtest/gtest.h>

namespace {

TEST(Ms2Filter, TheFirstMsDecidesAndOnlyATwoAfterItMakesAnMs2Scan) {
    EXPECT_TRUE(IsMs2Filter("ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]"));
    EXPECT_TRUE(IsMs2Filter("+ c ESI SRM ms2 445.120 [300.000-301.000]"));
    EXPECT_FALSE(IsMs2Filter("FTMS + p NSI Full ms [350.00-1800.00]"));
    EXPECT_FALSE(IsMs2Filter("ITMS + c NSI d Full ms3 445.12@cid35.00 300.20@cid35.00 [80.00-700.00]"));
    // Only the first "ms" counts.
    EXPECT_FALSE(IsMs2Filter("FTMS + p NSI Full ms [350.00-1800.00] ms2"));
}

TEST(Ms2Filter, TextsWithoutMsOrEndingInItAreNotMs2Scans) {
    EXPECT_FALSE(IsMs2Filter(""));
    EXPECT_FALSE(IsMs2Filter("+ p ESI Q1MS [181.653-182.582]"));
    EXPECT_FALSE(IsMs2Filter("FTMS + p NSI Full ms"));
    EXPECT_FALSE(IsMs2Filter("m"));
}

TEST(CentroidFilter, AnalyzerTextsCarryTheMarkAtIndexSeven) {
    EXPECT_TRUE(IsCentroidFilter("FTMS + c NSI Full ms [350.00-1800.00]"));
    EXPECT_TRUE(IsCentroidFilter("ITMS - c ESI Full ms"));
    EXPECT_FALSE(IsCentroidFilter("FTMS + p NSI Full ms [350.00-1800.00]"));
    EXPECT_TRUE(IsCentroidFilter("ABCDEFGc"));
    EXPECT_FALSE(IsCentroidFilter("c NSI Full ms"));
}

TEST(CentroidFilter, PolarityTextsCarryTheMarkInTheTokenAfterTheSign) {
    EXPECT_TRUE(IsCentroidFilter("+ c ESI SRM ms2 445.120 [300.000-301.000]"));
    EXPECT_TRUE(IsCentroidFilter("- c ESI Full ms [100.000-1000.000]"));
    EXPECT_TRUE(IsCentroidFilter("+  c"));
    EXPECT_FALSE(IsCentroidFilter("+ p ESI Q1MS [181.653-182.582, 507.779-508.708]"));
    // Index 7 would read the "c" of "cid" here; the mark says profile.
    EXPECT_FALSE(IsCentroidFilter("+ p NS c SRM"));
    EXPECT_FALSE(IsCentroidFilter("+ cv ESI"));
    EXPECT_FALSE(IsCentroidFilter("+"));
}

TEST(CentroidFilter, TextsTooShortForTheMarkAreProfile) {
    EXPECT_FALSE(IsCentroidFilter(""));
    EXPECT_FALSE(IsCentroidFilter("FTMS + "));
    EXPECT_FALSE(IsCentroidFilter("FTMS +c"));
}

TEST(InstrumentType, IsTheFirstTokenWithALonePlusForAnIonTrap) {
    EXPECT_EQ(InstrumentTypeOf("FTMS + p NSI Full ms [350.00-1800.00]"), "FTMS");
    EXPECT_EQ(InstrumentTypeOf("+ c ESI Full ms"), "ITMS");
    EXPECT_EQ(InstrumentTypeOf("- c ESI Full ms"), "-");
    EXPECT_EQ(InstrumentTypeOf("+c ESI"), "+c");
    EXPECT_EQ(InstrumentTypeOf("TOFMS"), "TOFMS");
    EXPECT_EQ(InstrumentTypeOf(""), "");
    EXPECT_EQ(InstrumentTypeOf(" leading blank"), "");
}

}  // namespace
