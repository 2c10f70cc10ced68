#include "spexor/output/output_slots.h"

const std::array<OutputSlot, kOutputSlotCount> kOutputSlots = {{
    {".ms1", OutputFormat::MS1, "", ""},
    {".HCD.ITMS.ms2", OutputFormat::MS2, "HCD", "ITMS"},
    {".HCD.FTMS.ms2", OutputFormat::MS2, "HCD", "FTMS"},
    {".CID.ITMS.ms2", OutputFormat::MS2, "CID", "ITMS"},
    {".CID.FTMS.ms2", OutputFormat::MS2, "CID", "FTMS"},
    {".ETD.ITMS.ms2", OutputFormat::MS2, "ETD", "ITMS"},
    {".ETD.FTMS.ms2", OutputFormat::MS2, "ETD", "FTMS"},
    {".ms2", OutputFormat::MS2, "", ""},
    {".HCD.ITMS.mgf", OutputFormat::MGF, "HCD", "ITMS"},
    {".HCD.FTMS.mgf", OutputFormat::MGF, "HCD", "FTMS"},
    {".CID.ITMS.mgf", OutputFormat::MGF, "CID", "ITMS"},
    {".CID.FTMS.mgf", OutputFormat::MGF, "CID", "FTMS"},
    {".ETD.ITMS.mgf", OutputFormat::MGF, "ETD", "ITMS"},
    {".ETD.FTMS.mgf", OutputFormat::MGF, "ETD", "FTMS"},
    {".mgf", OutputFormat::MGF, "", ""},
    {".HCD.ITMS.ksd", OutputFormat::KSD, "HCD", "ITMS"},
    {".HCD.FTMS.ksd", OutputFormat::KSD, "HCD", "FTMS"},
    {".CID.ITMS.ksd", OutputFormat::KSD, "CID", "ITMS"},
    {".CID.FTMS.ksd", OutputFormat::KSD, "CID", "FTMS"},
    {".ETD.ITMS.ksd", OutputFormat::KSD, "ETD", "ITMS"},
    {".ETD.FTMS.ksd", OutputFormat::KSD, "ETD", "FTMS"},
    {".ksd", OutputFormat::KSD, "", ""},
    {".HCD.ITMS.ms3", OutputFormat::MS3, "HCD", "ITMS"},
    {".HCD.FTMS.ms3", OutputFormat::MS3, "HCD", "FTMS"},
    {".CID.ITMS.ms3", OutputFormat::MS3, "CID", "ITMS"},
    {".CID.FTMS.ms3", OutputFormat::MS3, "CID", "FTMS"},
    {".ETD.ITMS.ms3", OutputFormat::MS3, "ETD", "ITMS"},
    {".ETD.FTMS.ms3", OutputFormat::MS3, "ETD", "FTMS"},
    {".ms3", OutputFormat::MS3, "", ""},
}};

std::optional<OutputFormat> FormatFromLetters(std::string_view letters) {
    if (letters == "ms1") return OutputFormat::MS1;
    if (letters == "ms2") return OutputFormat::MS2;
    if (letters == "mgf") return OutputFormat::MGF;
    if (letters == "ksd") return OutputFormat::KSD;
    if (letters == "ms3") return OutputFormat::MS3;
    return std::nullopt;
}

std::string_view FormatLetters(std::string_view suffix) {
    return suffix.size() <= 3 ? suffix : suffix.substr(suffix.size() - 3);
}

std::optional<int> AnalyzerIndex(std::string_view analyzer) {
    if (analyzer == "ITMS") return 0;
    if (analyzer == "FTMS") return 1;
    return std::nullopt;
}

int SplitSlot(int groupStart, ActivationClass activation, int analyzerIndex) {
    return groupStart + 2 * static_cast<int>(activation) + analyzerIndex;
}

namespace {

// Enables a kind's six split slots or its merged slot.
void EnableGroup(std::array<bool, kOutputSlotCount>& enabled, int groupStart, ActivationMode mode) {
    if (mode == ActivationMode::merged) {
        enabled[groupStart + kSplitSlotsPerGroup] = true;
        return;
    }
    for (int i = 0; i < kSplitSlotsPerGroup; ++i) enabled[groupStart + i] = true;
}

}  // namespace

std::array<bool, kOutputSlotCount> EnabledSlots(const ConversionSettings& settings) {
    std::array<bool, kOutputSlotCount> enabled{};
    const OutputKinds& kinds = settings.outputKinds;
    if (kinds.ms1) enabled[kMs1Slot] = true;
    if (kinds.ms2) EnableGroup(enabled, kMs2GroupStart, settings.activationMode);
    if (kinds.mgf) EnableGroup(enabled, kMgfGroupStart, settings.activationMode);
    if (kinds.ksd) EnableGroup(enabled, kKsdGroupStart, settings.activationMode);
    if (kinds.ms3) EnableGroup(enabled, kMs3GroupStart, settings.activationMode);
    return enabled;
}
