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

LevelFormats FormatsOf(ScanLevel level) {
    switch (level) {
        case ScanLevel::MS1: return {{OutputFormat::MS1, OutputFormat::MZML}, 2};
        case ScanLevel::MS2: return {{OutputFormat::MS2, OutputFormat::MGF, OutputFormat::KSD, OutputFormat::MZML}, 4};
        case ScanLevel::MS3: return {{OutputFormat::MS3, OutputFormat::MZML}, 2};
    }
    return {};
}

SpectrumRoute RouteSpectrum(ScanLevel level, ActivationMode mode, ActivationClass activation,
                            std::string_view analyzer) {
    SpectrumRoute route;
    const LevelFormats formats = FormatsOf(level);
    const bool merged = level == ScanLevel::MS1 || mode == ActivationMode::merged;
    const std::optional<Analyzer> named = AnalyzerNamed(analyzer);
    for (int i = 0; i < formats.count; ++i) {
        const OutputFormat format = formats.formats[i];
        if (merged || format == OutputFormat::MZML) {
            route.slots[route.count++] = MergedSlot(format);
        } else if (named) {
            route.slots[route.count++] = SplitSlot(format, activation, *named);
        }
    }
    return route;
}
