#include "spexor/output/output_slots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spexor/output/slot_routing.h"

namespace {

// The suffixes of the slots, in slot order.
std::vector<std::string> Suffixes(const std::vector<int>& slots) {
    std::vector<std::string> suffixes;
    for (int slot : slots) suffixes.push_back(OutputSlots()[slot].suffix);
    return suffixes;
}

std::vector<std::string> WantedSuffixes(const ConversionSettings& settings) {
    std::vector<int> slots;
    for (int slot = 0; slot < kOutputSlotCount; ++slot)
        if (SlotWanted(OutputSlots()[slot], settings)) slots.push_back(slot);
    return Suffixes(slots);
}

std::vector<std::string> Routed(ScanLevel level, ActivationMode mode, ActivationClass activation,
                                const char* analyzer) {
    const SpectrumRoute route = RouteSpectrum(level, mode, activation, analyzer);
    return Suffixes(std::vector<int>(route.slots.begin(), route.slots.begin() + route.count));
}

using Names = std::vector<std::string>;

}  // namespace

TEST(OutputSlots, FilesAreOrderedMs1ThenEachFormatsSplitFilesAndMergedFile) {
    Names expected = {".ms1"};
    for (const char* letters : {"ms2", "mgf", "ksd", "ms3"}) {
        for (const char* split : {".HCD.ITMS.", ".HCD.FTMS.", ".CID.ITMS.", ".CID.FTMS.", ".ETD.ITMS.", ".ETD.FTMS."})
            expected.push_back(split + std::string(letters));
        expected.push_back("." + std::string(letters));
    }
    expected.push_back(".mzML");
    std::vector<int> all;
    for (int slot = 0; slot < kOutputSlotCount; ++slot) all.push_back(slot);
    EXPECT_EQ(Suffixes(all), expected);
    // Every slot is found again by what it holds.
    for (int slot = 0; slot < kOutputSlotCount; ++slot) {
        const OutputSlot& s = OutputSlots()[slot];
        EXPECT_EQ(s.IsMerged() ? MergedSlot(s.format) : SplitSlot(s.format, *s.activation, *s.analyzer), slot)
            << s.suffix;
    }
}

TEST(OutputSlots, KindsAndModeChooseTheirFiles) {
    ConversionSettings settings;  // MGF, split
    EXPECT_EQ(WantedSuffixes(settings), (Names{".HCD.ITMS.mgf", ".HCD.FTMS.mgf", ".CID.ITMS.mgf", ".CID.FTMS.mgf",
                                               ".ETD.ITMS.mgf", ".ETD.FTMS.mgf"}));
    settings.activationMode = ActivationMode::merged;
    settings.outputKinds = {true, true, true, true, true};
    EXPECT_EQ(WantedSuffixes(settings), (Names{".ms1", ".ms2", ".mgf", ".ksd", ".ms3"}));
    settings.activationMode = ActivationMode::split;
    settings.outputKinds = {true, false, true, false, false};
    EXPECT_EQ(WantedSuffixes(settings), (Names{".ms1", ".HCD.ITMS.ms3", ".HCD.FTMS.ms3", ".CID.ITMS.ms3",
                                               ".CID.FTMS.ms3", ".ETD.ITMS.ms3", ".ETD.FTMS.ms3"}));
    // One mzML file in either mode.
    settings.outputKinds = {false, false, false, false, false, true};
    EXPECT_EQ(WantedSuffixes(settings), Names{".mzML"});
    settings.activationMode = ActivationMode::merged;
    EXPECT_EQ(WantedSuffixes(settings), Names{".mzML"});
}

TEST(SpectrumRouting, SpectraGoToTheFilesOfTheirLevelActivationAndAnalyzer) {
    const auto split = ActivationMode::split;
    const auto merged = ActivationMode::merged;
    EXPECT_EQ(Routed(ScanLevel::MS1, split, ActivationClass::ETD, "Q"), (Names{".ms1", ".mzML"}));
    EXPECT_EQ(Routed(ScanLevel::MS2, split, ActivationClass::CID, "FTMS"),
              (Names{".CID.FTMS.ms2", ".CID.FTMS.mgf", ".CID.FTMS.ksd", ".mzML"}));
    EXPECT_EQ(Routed(ScanLevel::MS2, split, ActivationClass::HCD, "ITMS"),
              (Names{".HCD.ITMS.ms2", ".HCD.ITMS.mgf", ".HCD.ITMS.ksd", ".mzML"}));
    EXPECT_EQ(Routed(ScanLevel::MS2, merged, ActivationClass::HCD, "Q"), (Names{".ms2", ".mgf", ".ksd", ".mzML"}));
    EXPECT_EQ(Routed(ScanLevel::MS3, split, ActivationClass::ETD, "FTMS"), (Names{".ETD.FTMS.ms3", ".mzML"}));
    EXPECT_EQ(Routed(ScanLevel::MS3, merged, ActivationClass::ETD, ""), (Names{".ms3", ".mzML"}));
    // The mzML file takes every scan, whatever its analyzer.
    EXPECT_EQ(Routed(ScanLevel::MS2, split, ActivationClass::HCD, "TOFMS"), Names{".mzML"});
    EXPECT_EQ(Routed(ScanLevel::MS3, split, ActivationClass::HCD, "ftms"), Names{".mzML"});
    EXPECT_EQ(ActivationClassOf("CID"), ActivationClass::CID);
    EXPECT_EQ(ActivationClassOf("cid"), std::nullopt);
    EXPECT_EQ(ActivationClassOf(""), std::nullopt);
}
