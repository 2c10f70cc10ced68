#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "spexor/driver/run_settings.h"
#include "spexor/output/output_slots.h"

enum class ScanLevel { MS1, MS2, MS3 };

// The scan level text: the record's level and the mass-list scan filter.
std::string_view LevelText(ScanLevel level);

// The activation class named by an upper-cased activation text ("HCD",
// "CID", "ETD", whole and case-sensitive); none for any other text.
std::optional<ActivationClass> ActivationClassOf(std::string_view activationType);

// The formats a spectrum of a level is written in: MS1 in MS1; MS2 in MS2,
// MGF and KSD; MS3 in MS3; every level in mzML, which comes last.
struct LevelFormats {
    std::array<OutputFormat, 4> formats{};
    int count = 0;
};
LevelFormats FormatsOf(ScanLevel level);

// The slots (positions in OutputSlots()) a spectrum goes to, whether their
// files are open or not: for each format of its level, the merged file in
// merged mode (and for MS1 and mzML), else the split file of its activation
// class and analyzer (none when the analyzer is neither "ITMS" nor "FTMS").
struct SpectrumRoute {
    std::array<int, 4> slots{};
    int count = 0;
};
SpectrumRoute RouteSpectrum(ScanLevel level, ActivationMode mode, ActivationClass activation,
                            std::string_view analyzer);
