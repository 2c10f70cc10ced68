#include "spexor/output/output_slots.h"

#include <gtest/gtest.h>

#include <string>

#include "spexor/output/slot_routing.h"

namespace {

std::string Marked(const std::array<bool, kOutputSlotCount>& slots) {
    std::string text;
    for (int slot = 0; slot < kOutputSlotCount; ++slot)
        if (slots[slot]) text += (text.empty() ? "" : " ") + std::to_string(slot);
    return text;
}

std::array<bool, kOutputSlotCount> AllSlots() {
    std::array<bool, kOutputSlotCount> all;
    all.fill(true);
    return all;
}

}  // namespace

TEST(OutputSlots, EverySuffixNamesItsFormatActivationAndAnalyzer) {
    const char* const groupLetters[] = {"ms2", "mgf", "ksd", "ms3"};
    const char* const splits[] = {".HCD.ITMS.", ".HCD.FTMS.", ".CID.ITMS.", ".CID.FTMS.", ".ETD.ITMS.", ".ETD.FTMS."};
    EXPECT_EQ(kOutputSlots[0].suffix, ".ms1");
    EXPECT_EQ(FormatFromLetters(FormatLetters(kOutputSlots[0].suffix)), OutputFormat::MS1);
    for (int group = 0; group < 4; ++group) {
        const int start = 1 + 7 * group;
        for (int i = 0; i < 6; ++i) {
            const OutputSlot& slot = kOutputSlots[start + i];
            EXPECT_EQ(slot.suffix, std::string(splits[i]) + groupLetters[group]);
            EXPECT_EQ(std::string(slot.suffix), "." + std::string(slot.activation) + "." +
                                                    std::string(slot.analyzer) + "." + groupLetters[group]);
            EXPECT_EQ(slot.format, kOutputSlots[start + 6].format);
        }
        EXPECT_EQ(kOutputSlots[start + 6].suffix, std::string(".") + groupLetters[group]);
        EXPECT_EQ(FormatFromLetters(groupLetters[group]), kOutputSlots[start].format);
    }
    EXPECT_EQ(FormatFromLetters("MS2"), std::nullopt);
    EXPECT_EQ(FormatFromLetters("raw"), std::nullopt);
}


TEST(OutputSlots, KindsAndModeEnableTheirSlots) {
    ConversionSettings settings;  // MGF, split
    EXPECT_EQ(Marked(EnabledSlots(settings)), "8 9 10 11 12 13");
    settings.activationMode = ActivationMode::merged;
    settings.outputKinds = {true, true, true, true, true};
    EXPECT_EQ(Marked(EnabledSlots(settings)), "0 7 14 21 28");
    settings.activationMode = ActivationMode::split;
    settings.outputKinds = {true, false, true, false, false};
    EXPECT_EQ(Marked(EnabledSlots(settings)), "0 22 23 24 25 26 27");
}

TEST(SpectrumRouting, SpectraGoToTheEnabledSlotsOfTheirLevelActivationAndAnalyzer) {
    const auto all = AllSlots();
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS1, ActivationMode::split, ActivationClass::ETD, "Q", all)), "0");
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS2, ActivationMode::split, ActivationClass::CID, "FTMS", all)),
              "4 11 18");
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS2, ActivationMode::split, ActivationClass::HCD, "ITMS", all)),
              "1 8 15");
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS2, ActivationMode::merged, ActivationClass::HCD, "Q", all)),
              "7 14 21");
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS3, ActivationMode::split, ActivationClass::ETD, "FTMS", all)), "27");
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS3, ActivationMode::merged, ActivationClass::ETD, "", all)), "28");
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS2, ActivationMode::split, ActivationClass::HCD, "TOFMS", all)), "");
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS3, ActivationMode::split, ActivationClass::HCD, "ftms", all)), "");

    std::array<bool, kOutputSlotCount> mgfOnly{};
    mgfOnly[9] = true;
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS2, ActivationMode::split, ActivationClass::HCD, "FTMS", mgfOnly)),
              "9");
    EXPECT_EQ(Marked(RouteSpectrum(ScanLevel::MS1, ActivationMode::split, ActivationClass::HCD, "FTMS", mgfOnly)),
              "");
    EXPECT_EQ(ActivationClassOf("CID"), ActivationClass::CID);
    EXPECT_EQ(ActivationClassOf("cid"), std::nullopt);
    EXPECT_EQ(ActivationClassOf(""), std::nullopt);
}
