#include "spexor/driver/settings_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

SettingsRequest Request(const std::vector<std::string>& arguments) {
    return ObtainSettings(static_cast<int>(arguments.size()), arguments.data());
}

RunSettings Obtain(const std::vector<std::string>& arguments) {
    SettingsRequest request = Request(arguments);
    EXPECT_EQ(request.kind, SettingsRequest::Kind::run);
    return request.settings.value_or(RunSettings());
}

TEST(IsParameterFileArgument, LastThreeCharactersAreIniInAnyCase) {
    for (const char* name : {"run.ini", "RUN.INI", "Run.Ini", "xmini", "ini", "/data/conf.INI"}) {
        EXPECT_TRUE(IsParameterFileArgument(name)) << name;
    }
    for (const char* name : {"ab", "in", "", "run.ini ", "run.in", "run.raw", "-ms1"}) {
        EXPECT_FALSE(IsParameterFileArgument(name)) << name;
    }
}

TEST(ObtainSettings, SingleIniArgumentIsReadAsParameterFile) {
    TempDir dir;
    for (const char* name : {"run.ini", "RUN.INI", "Run.Ini", "xmini"}) {
        const std::string path = dir.Write(name, "[required]\nmz=8\n").string();
        EXPECT_EQ(Obtain({"spexor", path}).mzDecimals, 8) << name;
    }
}

TEST(ObtainSettings, WithFurtherArgumentsAnIniFileIsAnInput) {
    TempDir dir;
    const std::string path = dir.Write("conf.ini", "mz=8\n").string();
    const RunSettings settings = Obtain({"spexor", "-ms1", path});
    EXPECT_EQ(settings.rawFiles, std::vector<std::string>{path});
    EXPECT_EQ(settings.mzDecimals, 5);
    EXPECT_TRUE(settings.outputKinds.ms1);
}

TEST(ObtainSettings, UsageHelpAndVersionAloneEndWithoutARun) {
    testing::internal::CaptureStderr();
    const SettingsRequest usage = Request({"spexor"});
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(usage.kind, SettingsRequest::Kind::usage);
    EXPECT_FALSE(usage.settings);
    testing::internal::CaptureStdout();
    const SettingsRequest help = Request({"spexor", "--help"});
    EXPECT_NE(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(help.kind, SettingsRequest::Kind::help);
    EXPECT_FALSE(help.settings);
    testing::internal::CaptureStdout();
    const SettingsRequest version = Request({"spexor", "--version"});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "spexor " PROGRAM_VERSION "\n");
    EXPECT_EQ(version.kind, SettingsRequest::Kind::version);
    EXPECT_FALSE(version.settings);
}

TEST(ObtainSettings, SingleOptionGoesToTheOptionParser) {
    const RunSettings settings = Obtain({"spexor", "-ms2"});
    EXPECT_TRUE(settings.outputKinds.ms2);
    EXPECT_FALSE(settings.outputKinds.mgf);
    EXPECT_TRUE(settings.rawFiles.empty());
}

}  // namespace
