#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/ascii_case.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/fatal_error.h"
#include "platform/process.h"

namespace {

TEST(ProcessClock, CountsMillisecondsOfWallTime) {
    const int64_t before = platform::ProcessClockMs();
    EXPECT_GE(before, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(platform::ProcessClockMs() - before, 30);
}

TEST(ProcessArguments, KeptExactlyAsGiven) {
    const char* argv[] = {"/bin/spexor", "-o", "dir with blanks", "\"quoted\"", ""};
    platform::SetProcessArguments(5, argv);
    EXPECT_EQ(platform::ProcessArguments(),
              (std::vector<std::string>{"/bin/spexor", "-o", "dir with blanks", "\"quoted\"", ""}));
}

TEST(AsciiCase, OnlyAsciiLettersChange) {
    EXPECT_EQ(platform::ToUpperAscii("run.ini-Z9"), "RUN.INI-Z9");
    EXPECT_EQ(platform::ToUpperAscii("\xC3\xA9t\xC3\xA9"), "\xC3\xA9T\xC3\xA9");  // UTF-8 é stays
}

TEST(CodePage, NarrowTextKeepsEveryByte) {
    const std::string text =
        "/data/\xC3\xA9"
        "chantillon.raw";
    EXPECT_EQ(platform::ToNarrow(text), text);
    EXPECT_EQ(platform::FromNarrow(text), text);
}

TEST(Console, LinesEndInLineFeedAndProgressInCarriageReturn) {
    testing::internal::CaptureStdout();
    platform::WriteLine(platform::Stream::Out, "[Morvane] one");
    platform::WriteProgress("50.00%");
    platform::WriteLine(platform::Stream::Out, "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[Morvane] one\n50.00%\r\n");
    testing::internal::CaptureStderr();
    platform::WriteLine(platform::Stream::Err, "bad");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "bad\n");
}

TEST(FatalError, EndsWithStatus255AndCarriesItsMessageOnlyWhenGiven) {
    EXPECT_EQ(platform::ProcessExitStatus(platform::kFatalExitStatus), 255);
    EXPECT_EQ(platform::ProcessExitStatus(0), 0);
    const platform::FatalError written;
    EXPECT_FALSE(written.CarriesMessage());
    EXPECT_EQ(written.ExitStatus(), 255);
    const platform::FatalError carried("** Error in parameter file **");
    EXPECT_TRUE(carried.CarriesMessage());
    EXPECT_STREQ(carried.what(), "** Error in parameter file **");
}

}  // namespace
