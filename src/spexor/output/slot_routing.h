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

// The enabled slots a spectrum goes to. MS1 goes to slot 0; MS2 to the MS2,
// MGF and KSD groups and MS3 to the MS3 group, either to their merged slots
// or, in split mode, to the slot of its activation class and analyzer
// (nowhere when the analyzer is neither "ITMS" nor "FTMS").
std::array<bool, kOutputSlotCount> RouteSpectrum(ScanLevel level, ActivationMode mode, ActivationClass activation,
                                                 std::string_view analyzer,
                                                 const std::array<bool, kOutputSlotCount>& enabled);
