#include "spexor/output/output_slots.h"

#include <initializer_list>

namespace {

constexpr std::array<OutputFormat, 4> kSplitFormats = {OutputFormat::MS2, OutputFormat::MGF, OutputFormat::KSD,
                                                       OutputFormat::MS3};
constexpr std::array<ActivationClass, 3> kActivations = {ActivationClass::HCD, ActivationClass::CID,
                                                         ActivationClass::ETD};
constexpr std::array<Analyzer, 2> kAnalyzers = {Analyzer::ITMS, Analyzer::FTMS};

std::string_view FormatExtension(OutputFormat format) {
    switch (format) {
        case OutputFormat::MS1: return "ms1";
        case OutputFormat::MS2: return "ms2";
        case OutputFormat::MGF: return "mgf";
        case OutputFormat::KSD: return "ksd";
        case OutputFormat::MS3: return "ms3";
        case OutputFormat::MZML: return "mzML";
    }
    return "";
}

std::string_view ActivationName(ActivationClass activation) {
    switch (activation) {
        case ActivationClass::HCD: return "HCD";
        case ActivationClass::CID: return "CID";
        case ActivationClass::ETD: return "ETD";
    }
    return "";
}

std::string_view AnalyzerName(Analyzer analyzer) { return analyzer == Analyzer::ITMS ? "ITMS" : "FTMS"; }

// ".HCD.ITMS.ms2" from its parts; "." and the extension alone for a merged file.
std::string Suffix(std::initializer_list<std::string_view> parts) {
    std::string suffix;
    for (std::string_view part : parts) suffix.append(".").append(part);
    return suffix;
}

OutputSlot MergedSlotOf(OutputFormat format) {
    return {format, std::nullopt, std::nullopt, Suffix({FormatExtension(format)})};
}

OutputSlot SplitSlotOf(OutputFormat format, ActivationClass activation, Analyzer analyzer) {
    return {format, activation, analyzer,
            Suffix({ActivationName(activation), AnalyzerName(analyzer), FormatExtension(format)})};
}

std::array<OutputSlot, kOutputSlotCount> BuildSlots() {
    std::array<OutputSlot, kOutputSlotCount> slots;
    int next = 0;
    slots[next++] = MergedSlotOf(OutputFormat::MS1);
    for (OutputFormat format : kSplitFormats) {
        for (ActivationClass activation : kActivations) {
            for (Analyzer analyzer : kAnalyzers) slots[next++] = SplitSlotOf(format, activation, analyzer);
        }
        slots[next++] = MergedSlotOf(format);
    }
    slots[next++] = MergedSlotOf(OutputFormat::MZML);
    return slots;
}

bool FormatAskedFor(OutputFormat format, const OutputKinds& kinds) {
    switch (format) {
        case OutputFormat::MS1: return kinds.ms1;
        case OutputFormat::MS2: return kinds.ms2;
        case OutputFormat::MGF: return kinds.mgf;
        case OutputFormat::KSD: return kinds.ksd;
        case OutputFormat::MS3: return kinds.ms3;
        case OutputFormat::MZML: return kinds.mzml;
    }
    return false;
}

constexpr int kSlotsPerSplitFormat = static_cast<int>(kActivations.size() * kAnalyzers.size()) + 1;

constexpr int kMzmlSlot = 1 + static_cast<int>(kSplitFormats.size()) * kSlotsPerSplitFormat;

// Where a format's slots begin; MS1 and mzML have one slot each.
int FirstSlotOf(OutputFormat format) {
    for (size_t i = 0; i < kSplitFormats.size(); ++i) {
        if (kSplitFormats[i] == format) return 1 + static_cast<int>(i) * kSlotsPerSplitFormat;
    }
    return format == OutputFormat::MZML ? kMzmlSlot : 0;
}

// Formats with one file whatever the activation mode.
bool HasOneFile(OutputFormat format) { return format == OutputFormat::MS1 || format == OutputFormat::MZML; }

}  // namespace

const std::array<OutputSlot, kOutputSlotCount>& OutputSlots() {
    static const std::array<OutputSlot, kOutputSlotCount> slots = BuildSlots();
    return slots;
}

int MergedSlot(OutputFormat format) {
    return HasOneFile(format) ? FirstSlotOf(format) : FirstSlotOf(format) + kSlotsPerSplitFormat - 1;
}

int SplitSlot(OutputFormat format, ActivationClass activation, Analyzer analyzer) {
    return FirstSlotOf(format) + static_cast<int>(activation) * static_cast<int>(kAnalyzers.size()) +
           static_cast<int>(analyzer);
}

std::optional<Analyzer> AnalyzerNamed(std::string_view name) {
    if (name == "ITMS") return Analyzer::ITMS;
    if (name == "FTMS") return Analyzer::FTMS;
    return std::nullopt;
}

bool SlotWanted(const OutputSlot& slot, const ConversionSettings& settings) {
    if (!FormatAskedFor(slot.format, settings.outputKinds)) return false;
    if (HasOneFile(slot.format)) return true;
    return slot.IsMerged() == (settings.activationMode == ActivationMode::merged);
}
