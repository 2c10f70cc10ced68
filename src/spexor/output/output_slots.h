#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "spexor/driver/run_settings.h"

inline constexpr int kOutputSlotCount = 29;

// The five text formats; a slot's format follows from its suffix's last three letters.
enum class OutputFormat { MS1, MS2, MGF, KSD, MS3 };

// Activation types that have files of their own in split mode, numbered for
// the slot arithmetic.
enum class ActivationClass { HCD = 0, CID = 1, ETD = 2 };

// One of the files that can be written per RAW file. `activation` and
// `analyzer` are empty for the slots that take every spectrum of a kind.
struct OutputSlot {
    std::string_view suffix;
    OutputFormat format;
    std::string_view activation;
    std::string_view analyzer;
};

// Slot 0 is the MS1 file; then four groups of seven (MS2, MGF, KSD, MS3),
// each with six split slots (HCD-ITMS, HCD-FTMS, CID-ITMS, CID-FTMS,
// ETD-ITMS, ETD-FTMS) and the merged slot last.
extern const std::array<OutputSlot, kOutputSlotCount> kOutputSlots;

inline constexpr int kMs1Slot = 0;
inline constexpr int kMs2GroupStart = 1;
inline constexpr int kMgfGroupStart = 8;
inline constexpr int kKsdGroupStart = 15;
inline constexpr int kMs3GroupStart = 22;
inline constexpr int kSplitSlotsPerGroup = 6;
inline constexpr int kMergedMs2Slot = 7;
inline constexpr int kMergedMgfSlot = 14;
inline constexpr int kMergedKsdSlot = 21;
inline constexpr int kMergedMs3Slot = 28;

// The format named by a suffix's last three letters ("ms1", "ms2", "mgf",
// "ksd", "ms3"; whole and case-sensitive). None for anything else.
std::optional<OutputFormat> FormatFromLetters(std::string_view letters);

// The last three letters of a suffix (the whole suffix when it is shorter).
std::string_view FormatLetters(std::string_view suffix);

// 0 for "ITMS", 1 for "FTMS" (whole, case-sensitive); none for any other analyzer.
std::optional<int> AnalyzerIndex(std::string_view analyzer);

// The split slot of a group for an activation class and analyzer index:
// group start + 2 x activation class + analyzer index.
int SplitSlot(int groupStart, ActivationClass activation, int analyzerIndex);

// Which slots a run with these settings writes.
std::array<bool, kOutputSlotCount> EnabledSlots(const ConversionSettings& settings);
