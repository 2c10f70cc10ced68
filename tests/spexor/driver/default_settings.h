#pragma once

#include <gtest/gtest.h>

#include "spexor/driver/run_settings.h"

// Every conversion choice at its default: MGF only, output beside each RAW
// file, activations split, centroided, isotope mode, five m/z and one
// intensity decimal, charges 2 to 3.
inline void ExpectDefaultConversionSettings(const ConversionSettings& s) {
    EXPECT_FALSE(s.outputKinds.ms1);
    EXPECT_FALSE(s.outputKinds.ms2);
    EXPECT_FALSE(s.outputKinds.ms3);
    EXPECT_TRUE(s.outputKinds.mgf);
    EXPECT_FALSE(s.outputKinds.ksd);
    EXPECT_EQ(s.outputDirectory, "");
    EXPECT_EQ(s.activationMode, ActivationMode::split);
    EXPECT_TRUE(s.centroided);
    EXPECT_TRUE(s.isotopeMode);
    EXPECT_EQ(s.mzDecimals, 5);
    EXPECT_EQ(s.intensityDecimals, 1);
    EXPECT_EQ(s.chargeMin, 2);
    EXPECT_EQ(s.chargeMax, 3);
}
