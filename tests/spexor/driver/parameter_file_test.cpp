#include "spexor/driver/parameter_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "default_settings.h"
#include "spexor/driver/parameter_text.h"
#include "spexor/driver/settings_error.h"
#include "support/temp_dir.h"

namespace {

ConfigurationInput Parse(const std::string& text) {
    std::istringstream stream(text);
    return ReadParameterText(stream);
}

// The message the file raises, or "" when it reads without error.
std::string ErrorOf(const std::string& text) {
    try {
        Parse(text);
    } catch (const SettingsError& error) {
        return error.what();
    }
    return "";
}

std::string LineError(int line, const std::string& description) {
    return "** Error in parameter file **\nLine " + std::to_string(line) + ": " + description + "\n";
}

TEST(ParameterText, TrimsBlanksAndControlCharactersFromBothEnds) {
    EXPECT_EQ(TrimParameterText(" \t\a\b\v\fmz=3 \r\n"), "mz=3");
    EXPECT_EQ(TrimParameterText(" \t\r\n"), "");
    EXPECT_EQ(TrimParameterText("a b"), "a b");
}

TEST(ParameterText, BarListsDropEmptyItems) {
    EXPECT_EQ(SplitBarList("|/a.raw||/data/|"), (std::vector<std::string>{"/a.raw", "/data/"}));
    EXPECT_TRUE(SplitBarList("").empty());
    EXPECT_TRUE(SplitBarList("|||").empty());
    EXPECT_EQ(SplitBarList(" a | b"), (std::vector<std::string>{" a ", " b"}));  // items are not trimmed
}

TEST(ParameterFile, LabelsCommentsAndBlankLinesLeaveTheDefaults) {
    const ConfigurationInput input = Parse("[required]\n# a comment\n\n   \t\n[optional]\n  # indented comment\n");
    EXPECT_TRUE(input.inputs.empty());
    ExpectDefaultConversionSettings(input.settings);
}

TEST(ParameterFile, EveryKeyInAnySectionOrNone) {
    const ConfigurationInput input = Parse(
        "mz=3\n"
        "[optional]\n"
        "intensity=2\n"
        "[required]\n"
        "extension=ms2|KSD\n"
        "activation=all\n"
        "centroided=Off\n"
        "isotope=OFF\n"
        "charge=1-4\n"
        "output_file_path=/out/put/\n"
        "[optional]\n"
        "input_file_path=/data/a.raw\n");
    const RunSettings& s = input.settings;
    EXPECT_EQ(s.mzDecimals, 3);
    EXPECT_EQ(s.intensityDecimals, 2);
    EXPECT_TRUE(s.outputKinds.ms2 && s.outputKinds.ksd);
    EXPECT_FALSE(s.outputKinds.mgf || s.outputKinds.ms1 || s.outputKinds.ms3);
    EXPECT_EQ(s.activationMode, ActivationMode::merged);
    EXPECT_FALSE(s.centroided);
    EXPECT_FALSE(s.isotopeMode);
    EXPECT_EQ(s.chargeMin, 1);
    EXPECT_EQ(s.chargeMax, 4);
    EXPECT_EQ(s.outputDirectory, "/out/put/");
    EXPECT_EQ(input.inputs, (std::vector<std::string>{"/data/a.raw"}));
    const RunSettings on = Parse("activation=NONE\ncentroided=on\nisotope=On\n").settings;
    EXPECT_EQ(on.activationMode, ActivationMode::split);
    EXPECT_TRUE(on.centroided);
    EXPECT_TRUE(on.isotopeMode);
}

TEST(ParameterFile, Extensions) {
    OutputKinds kinds = Parse("extension=mgf|ms1\n").settings.outputKinds;
    EXPECT_TRUE(kinds.mgf && kinds.ms1);
    EXPECT_FALSE(kinds.ms2 || kinds.ksd);
    // An empty list changes nothing.
    EXPECT_TRUE(Parse("extension=\n").settings.outputKinds.mgf);
    EXPECT_TRUE(Parse("extension=|\n").settings.outputKinds.mgf);
    // Each line with items removes MGF again before adding its own.
    kinds = Parse("extension=MGF\nextension=MS1\n").settings.outputKinds;
    EXPECT_TRUE(kinds.ms1);
    EXPECT_FALSE(kinds.mgf);
    kinds = Parse("extension=mzml|MS2\n").settings.outputKinds;
    EXPECT_TRUE(kinds.mzml && kinds.ms2);
    EXPECT_FALSE(kinds.mgf);
    EXPECT_FALSE(Parse("mzml_compression=off\n").settings.mzmlCompression);
    EXPECT_TRUE(Parse("mzml_compression=ON\n").settings.mzmlCompression);
    EXPECT_EQ(ErrorOf("mzml_compression=zlib\n"), LineError(1, "error mzml_compression value, only ON and OFF"));
    EXPECT_EQ(ErrorOf("extension=MS1|MS3\n"),
              LineError(1, "error extension type, supporting values are MS1, MS2, MGF, KSD, and MZML"));
    EXPECT_EQ(ErrorOf("EXTENSION=MGF\n"), LineError(1, "no such name EXTENSION"));
}

TEST(ParameterFile, InputsAddUpInFileOrderAndKeepTheirText) {
    const ConfigurationInput input =
        Parse("input_file_path=/d/a.raw||/data/\ninput_file_path=|/More/B.RAW| /blank start\n");
    EXPECT_EQ(input.inputs, (std::vector<std::string>{"/d/a.raw", "/data/", "/More/B.RAW", " /blank start"}));
}

TEST(ParameterFile, OnlyTheFirstEqualsSignSeparates) {
    EXPECT_EQ(Parse("output_file_path=/out=1/\n").settings.outputDirectory, "/out=1/");
    EXPECT_EQ(Parse("output_file_path=/first\noutput_file_path=/second\n").settings.outputDirectory, "/second");
}

TEST(ParameterFile, ChargeRanges) {
    RunSettings s = Parse("charge=1-9\n").settings;
    EXPECT_EQ(s.chargeMin, 1);
    EXPECT_EQ(s.chargeMax, 9);
    s = Parse("charge=5-2\n").settings;
    EXPECT_EQ(s.chargeMin, 5);
    EXPECT_EQ(s.chargeMax, 2);
    for (const char* bad : {"0-3", "2-10", "2:3", "2-0", "23", ""}) {
        EXPECT_EQ(ErrorOf(std::string("charge=") + bad + "\n"), LineError(1, "error charge range")) << bad;
    }
}

TEST(ParameterFile, DecimalPlacesAreOneDigitFromOneToNine) {
    EXPECT_EQ(Parse("mz=9\nintensity=1\n").settings.mzDecimals, 9);
    for (const char* bad : {"0", "10", "x", ""}) {
        EXPECT_EQ(ErrorOf(std::string("mz=") + bad), LineError(1, "error mz value")) << bad;
        EXPECT_EQ(ErrorOf(std::string("intensity=") + bad), LineError(1, "error intensity value")) << bad;
    }
}

TEST(ParameterFile, EveryValueErrorWithItsLineNumber) {
    const std::string lead = "[required]\n# comment\n\n";  // skipped lines count too
    EXPECT_EQ(ErrorOf(lead + "activation=SOME\n"),
              LineError(4, "error activation type, legal values are ALL and NONE"));
    EXPECT_EQ(ErrorOf(lead + "centroided=yes\n"), LineError(4, "error centroided value, only ON and OFF"));
    EXPECT_EQ(ErrorOf(lead + "isotope=1\n"), LineError(4, "error isotope mode value, only ON and OFF"));
    EXPECT_EQ(ErrorOf(lead + "mz=3\nsomething=1\nmz=0\n"), LineError(5, "no such name something"));
    EXPECT_EQ(ErrorOf(lead + "[section]\n"), LineError(4, "illegal label, only [required] and [optional] are allowed"));
    EXPECT_EQ(ErrorOf(lead + "no equals sign\n"), "Error: Not an appropriate parameter file!\n");
}

TEST(ParameterFile, CarriageReturnLineEndsAreRead) {
    EXPECT_EQ(ErrorOf("[required]\r\nmz=4\r\n\r\nintensity=0\r\n"), LineError(4, "error intensity value"));
    EXPECT_EQ(Parse("mz=4\r\noutput_file_path=/o\r\n").settings.outputDirectory, "/o");
}

TEST(ParameterFile, BlanksAroundTheLineAreTrimmedButNotBeforeTheEquals) {
    EXPECT_EQ(Parse("   mz=7 \t\n").settings.mzDecimals, 7);
    EXPECT_EQ(Parse("mz=  7\n").settings.mzDecimals, 7);
    EXPECT_EQ(ErrorOf("mz = 5\n"), LineError(1, "no such name mz "));
}

TEST(ParameterFile, LabelsMustStandAlone) {
    const std::string message = "illegal label, only [required] and [optional] are allowed";
    EXPECT_EQ(ErrorOf("[Required]\n"), LineError(1, message));
    EXPECT_EQ(ErrorOf("[required] # comment\n"), LineError(1, message));
    EXPECT_EQ(ErrorOf("  [optional]  \n[optional]\n"), "");
}

TEST(ParameterFile, ByteOrderMarkSpoilsTheFirstLine) {
    EXPECT_EQ(ErrorOf("\xEF\xBB\xBF[required]\nmz=3\n"), "Error: Not an appropriate parameter file!\n");
    EXPECT_EQ(ErrorOf("\xEF\xBB\xBFmz=3\n"), LineError(1, "no such name \xEF\xBB\xBFmz"));
}

TEST(ParameterFile, LongLinesAreReadWhole) {
    const std::string longPath = "/data/" + std::string(600, 'p') + "/run.raw";
    EXPECT_EQ(Parse("mz=2\ninput_file_path=" + longPath + "\n").inputs, std::vector<std::string>{longPath});
    // The long line counts as one line.
    EXPECT_EQ(ErrorOf("mz=2\ninput_file_path=" + longPath + "\nintensity=0\n"), LineError(3, "error intensity value"));
}

TEST(ParameterFile, LastLineNeedsNoLineBreak) { EXPECT_EQ(Parse("mz=2\nintensity=8").settings.intensityDecimals, 8); }

TEST(ReadParameterFile, ReadsTheFileButNoFolder) {
    testing_support::TempDir dir;
    const std::string good = dir.Write("good.ini", "[required]\nmz=6\nextension=MS1\n").string();
    testing::internal::CaptureStdout();
    const RunSettings settings = ReadParameterFile(good);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(settings.mzDecimals, 6);
    EXPECT_TRUE(settings.outputKinds.ms1);
    EXPECT_FALSE(settings.outputKinds.mgf);

    // A folder is no parameter file.
    try {
        ReadParameterFile(dir.path().string());
        ADD_FAILURE() << "a folder was read as a parameter file";
    } catch (const SettingsError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "[Morvane] <Exception>: Failed to open parameter file " + dir.path().string() + "! ");
    }
}

}  // namespace
