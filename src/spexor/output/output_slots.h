#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "spexor/driver/run_settings.h"

// The five text formats and mzML.
enum class OutputFormat { MS1, MS2, MGF, KSD, MS3, MZML };

// Activation types that have files of their own in split mode.
enum class ActivationClass { HCD, CID, ETD };

// Analyzers that have files of their own in split mode.
enum class Analyzer { ITMS, FTMS };

// One of the files that can be written per RAW file: a format's merged file
// (no activation and analyzer; MS1 has only this one) or one of its six
// split files.
struct OutputSlot {
    OutputFormat format = OutputFormat::MS1;
    std::optional<ActivationClass> activation;
    std::optional<Analyzer> analyzer;
    std::string suffix;  // ".ms1", ".HCD.ITMS.ms2", ".ms2" ...

    bool IsMerged() const { return !activation; }
};

inline constexpr int kOutputSlotCount = 30;

// Every slot, in the order files are created and removed: the MS1 file,
// then for MS2, MGF, KSD and MS3 the six split files (HCD-ITMS, HCD-FTMS,
// CID-ITMS, CID-FTMS, ETD-ITMS, ETD-FTMS) and the merged file, then the
// mzML file, which holds every scan whatever the activation mode.
const std::array<OutputSlot, kOutputSlotCount>& OutputSlots();

// The position in OutputSlots() of a format's merged file, or of its split
// file for an activation and analyzer.
int MergedSlot(OutputFormat format);
int SplitSlot(OutputFormat format, ActivationClass activation, Analyzer analyzer);

// The analyzer named by "ITMS" or "FTMS" (whole, case-sensitive); none for any other.
std::optional<Analyzer> AnalyzerNamed(std::string_view name);

// Whether a run with these settings writes the slot: its format is asked
// for, and it is the merged file in merged mode (and for MS1 and mzML) or
// a split file in split mode.
bool SlotWanted(const OutputSlot& slot, const ConversionSettings& settings);
