#include "spexor/driver/command_line_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "default_settings.h"
#include "spexor/driver/settings_error.h"
#include "spexor/driver/usage_texts.h"

namespace {

ConfigurationInput Read(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "spexor");
    return ReadOptions(static_cast<int>(arguments.size()), arguments.data());
}

void ExpectOptionError(const std::vector<std::string>& arguments) {
    try {
        Read(arguments);
        ADD_FAILURE() << "no option error for " << testing::PrintToString(arguments);
    } catch (const SettingsError& error) {
        EXPECT_EQ(error.what(), OptionErrorText()) << testing::PrintToString(arguments);
    }
}

struct Kinds {
    bool ms1, ms2, ms3, mgf, ksd;
};

void ExpectKinds(const OutputKinds& kinds, Kinds expected) {
    EXPECT_EQ(kinds.ms1, expected.ms1);
    EXPECT_EQ(kinds.ms2, expected.ms2);
    EXPECT_EQ(kinds.ms3, expected.ms3);
    EXPECT_EQ(kinds.mgf, expected.mgf);
    EXPECT_EQ(kinds.ksd, expected.ksd);
}

TEST(ReadOptions, InputsOnlyGiveTheDefaults) {
    const ConfigurationInput input = Read({"a.raw", "/data/folder/", "b.RAW"});
    EXPECT_EQ(input.inputs, (std::vector<std::string>{"a.raw", "/data/folder/", "b.RAW"}));
    ExpectDefaultConversionSettings(input.settings);
    EXPECT_TRUE(input.settings.rawFiles.empty());
}

TEST(ReadOptions, OutputKindsComeFromTheOptionsAlone) {
    ExpectKinds(Read({"-ms"}).settings.outputKinds, {true, true, false, false, false});
    ExpectKinds(Read({"-mgf", "-ms3"}).settings.outputKinds, {false, false, true, true, false});
    ExpectKinds(Read({"-ms1", "-ms2", "-ksd"}).settings.outputKinds, {true, true, false, false, true});
    ExpectKinds(Read({"-a"}).settings.outputKinds, {false, false, false, true, false});
    // mzML alone: no MGF.
    const RunSettings mzml = Read({"-mzml"}).settings;
    ExpectKinds(mzml.outputKinds, {false, false, false, false, false});
    EXPECT_TRUE(mzml.outputKinds.mzml);
    EXPECT_TRUE(mzml.mzmlCompression);
    EXPECT_FALSE(Read({"-mzml", "-mzml-nozlib"}).settings.mzmlCompression);
    EXPECT_FALSE(Read({"-mgf"}).settings.outputKinds.mzml);
}

TEST(ReadOptions, SwitchesAndInputsMixFreely) {
    const ConfigurationInput input = Read({"x.raw", "-a", "-p", "y.raw", "-h"});
    EXPECT_EQ(input.inputs, (std::vector<std::string>{"x.raw", "y.raw"}));
    EXPECT_EQ(input.settings.activationMode, ActivationMode::merged);
    EXPECT_FALSE(input.settings.centroided);
    EXPECT_FALSE(input.settings.isotopeMode);
    EXPECT_TRUE(Read({"-p", "-c"}).settings.centroided);
}

TEST(ReadOptions, DecimalValues) {
    const RunSettings s = Read({"-m", "3", "-i", "2"}).settings;
    EXPECT_EQ(s.mzDecimals, 3);
    EXPECT_EQ(s.intensityDecimals, 2);
    EXPECT_EQ(Read({"-m", "0"}).settings.mzDecimals, 0);          // no range check
    EXPECT_EQ(Read({"-m", "x"}).settings.mzDecimals, 0);          // a non-digit reads as 0
    EXPECT_EQ(Read({"-i", "x"}).settings.intensityDecimals, 72);  // code of x minus code of 0
    EXPECT_EQ(Read({"-i", "9"}).settings.intensityDecimals, 9);
}

TEST(ReadOptions, ChargeRangeIsReadFromTheOuterCharacters) {
    RunSettings s = Read({"-z", "3-2"}).settings;
    EXPECT_EQ(s.chargeMin, 3);
    EXPECT_EQ(s.chargeMax, 2);
    s = Read({"-z", "2x5"}).settings;
    EXPECT_EQ(s.chargeMin, 2);
    EXPECT_EQ(s.chargeMax, 5);
}

TEST(ReadOptions, ValuesAreTakenWhateverTheyLookLike) {
    const ConfigurationInput input = Read({"-o", "-ms1"});
    EXPECT_EQ(input.settings.outputDirectory, "-ms1");
    ExpectKinds(input.settings.outputKinds, {false, false, false, true, false});
    EXPECT_EQ(Read({"-o", "/out dir/", "-o", "/later"}).settings.outputDirectory, "/later");
}

TEST(ReadOptions, BadOptionsAndValuesAreOptionErrors) {
    ExpectOptionError({"-MS1"});
    ExpectOptionError({"-x", "a.raw"});
    ExpectOptionError({"-"});
    ExpectOptionError({"-m", "12"});
    ExpectOptionError({"-i", "12"});
    ExpectOptionError({"-m", ""});
    ExpectOptionError({"-z", "2-10"});
    ExpectOptionError({"-z", "2"});
}

TEST(ReadOptions, MissingValueIsAnOptionError) {
    ExpectOptionError({"a.raw", "-m"});
    ExpectOptionError({"-i"});
    ExpectOptionError({"-ms1", "-z"});
    ExpectOptionError({"-o"});
}

TEST(ReadOptions, DecimalsBelowZeroAreOptionErrors) {
    ExpectOptionError({"-m", "/"});
    ExpectOptionError({"-m", "-"});  // a value is taken even when it looks like an option
    ExpectOptionError({"-i", "!"});
    ExpectOptionError({"-i", " "});
}

TEST(ReadOptions, HelpIsPrintedWhereItStandsAndTheRunGoesOn) {
    testing::internal::CaptureStdout();
    const ConfigurationInput input = Read({"--help", "file.raw"});
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("NAME\n\tspexor.exe - extract text-plain spectra\n", 0), 0u);
    EXPECT_EQ(input.inputs, (std::vector<std::string>{"file.raw"}));
}

}  // namespace
