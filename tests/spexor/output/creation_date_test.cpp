#include "spexor/output/creation_date.h"

#include <gtest/gtest.h>

TEST(CreationDate, EnglishNamesAndZeroPaddedDay) {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 8;
    local.tm_wday = 2;
    local.tm_hour = 12;
    local.tm_min = 43;
    local.tm_sec = 58;
    EXPECT_EQ(FormatCreationDate(local), "Tue Dec 08 12:43:58 2026");
    local.tm_mon = 0;
    local.tm_wday = 0;
    local.tm_mday = 31;
    local.tm_hour = 3;
    EXPECT_EQ(FormatCreationDate(local), "Sun Jan 31 03:43:58 2026");
}
