#include "spexor/output/slot_routing.h"

std::string_view LevelText(ScanLevel level) {
    switch (level) {
        case ScanLevel::MS1: return "ms";
        case ScanLevel::MS2: return "ms2";
        case ScanLevel::MS3: return "ms3";
    }
    return "ms";
}

std::optional<ActivationClass> ActivationClassOf(std::string_view activationType) {
    if (activationType == "HCD") return ActivationClass::HCD;
    if (activationType == "CID") return ActivationClass::CID;
    if (activationType == "ETD") return ActivationClass::ETD;
    return std::nullopt;
}

std::array<bool, kOutputSlotCount> RouteSpectrum(ScanLevel level, ActivationMode mode, ActivationClass activation,
                                                 std::string_view analyzer,
                                                 const std::array<bool, kOutputSlotCount>& enabled) {
    std::array<bool, kOutputSlotCount> marked{};
    auto mark = [&](int slot) { marked[slot] = enabled[slot]; };
    if (level == ScanLevel::MS1) {
        mark(kMs1Slot);
        return marked;
    }
    const bool ms2 = level == ScanLevel::MS2;
    if (mode == ActivationMode::merged) {
        if (ms2) {
            mark(kMergedMs2Slot);
            mark(kMergedMgfSlot);
            mark(kMergedKsdSlot);
        } else {
            mark(kMergedMs3Slot);
        }
        return marked;
    }
    const std::optional<int> analyzerIndex = AnalyzerIndex(analyzer);
    if (!analyzerIndex) return marked;
    if (ms2) {
        mark(SplitSlot(kMs2GroupStart, activation, *analyzerIndex));
        mark(SplitSlot(kMgfGroupStart, activation, *analyzerIndex));
        mark(SplitSlot(kKsdGroupStart, activation, *analyzerIndex));
    } else {
        mark(SplitSlot(kMs3GroupStart, activation, *analyzerIndex));
    }
    return marked;
}
