#include "spexor/output/scan_description.h"

#include <cstdlib>
#include <string_view>

#include "spexor/output/filter_facts.h"
#include "spexor/reader/raw_extractor.h"

namespace {

// Made once: the trailer questions take the label as a string.
const std::string kIonInjectionTimeLabel = "Ion Injection Time (ms):";
const std::string kMonoisotopicMzLabel = "Monoisotopic M/Z:";
const std::string kChargeStateLabel = "Charge State:";
const std::string kMasterScanLabel = "Master Scan Number:";
const std::string kFaimsVoltageOnLabel = "FAIMS Voltage On:";
const std::string kFaimsCvLabel = "FAIMS CV:";
const std::string kSpsMassesLabel = "SPS Masses:";
const std::string kSpsMassesContinuedLabel = "SPS Masses Continued:";
const std::string kGenericIsolationWidthLabel = "MSn Isolation Width:";

// The isolation width label of a level: "MS2 Isolation Width:" ...
std::string IsolationWidthLabel(int32_t msLevel) { return "MS" + std::to_string(msLevel) + " Isolation Width:"; }

bool StoredAsCentroid(std::string_view filter) {
    return filter.find("+ c ") != std::string_view::npos || filter.find("- c ") != std::string_view::npos;
}

std::optional<double> IsolationWidth(RawExtractor& reader, int32_t scan, int32_t msLevel) {
    std::optional<double> width = reader.FindTrailerNumber(scan, IsolationWidthLabel(msLevel));
    if (!width) width = reader.FindTrailerNumber(scan, kGenericIsolationWidthLabel);
    if (width && *width <= 0) width.reset();
    return width;
}

std::optional<double> FaimsCompensationVoltage(RawExtractor& reader, int32_t scan) {
    const std::optional<double> on = reader.FindTrailerNumber(scan, kFaimsVoltageOnLabel);
    if (on && *on == 0) return std::nullopt;
    if (!on) {
        // Some instruments write the switch as text.
        const std::optional<std::string> text = reader.FindTrailerText(scan, kFaimsVoltageOnLabel);
        if (!text || (*text != "On" && *text != "Yes" && *text != "True")) return std::nullopt;
    }
    return reader.FindTrailerNumber(scan, kFaimsCvLabel);
}

std::string SpsMasses(RawExtractor& reader, int32_t scan) {
    std::string masses = reader.FindTrailerText(scan, kSpsMassesLabel).value_or("");
    const std::string more = reader.FindTrailerText(scan, kSpsMassesContinuedLabel).value_or("");
    if (!more.empty()) {
        if (!masses.empty() && masses.back() != ',') masses += ',';
        masses += more;
    }
    return masses;
}

// The scan the precursor was isolated from: the trailer's master scan when
// it is an earlier scan one level lower, else the last such scan before.
int32_t PrecursorScan(RawExtractor& reader, int32_t scan, int32_t msLevel, const PrecedingScans& preceding) {
    if (msLevel < 2) return 0;
    const std::optional<double> master = reader.FindTrailerNumber(scan, kMasterScanLabel);
    if (master && *master > 0 && *master < scan) {
        const int32_t masterScan = static_cast<int32_t>(*master);
        std::string filter;
        reader.GetFilter(masterScan, filter);
        if (!filter.empty() && MsLevelOfFilter(filter) == msLevel - 1) return masterScan;
    }
    return msLevel == 2 ? preceding.ms1 : msLevel == 3 ? preceding.ms2 : 0;
}

// The first blank-separated word of the filter for which `wanted` holds;
// empty when there is none.
template <typename Wanted>
std::string_view FirstWord(std::string_view filter, Wanted wanted) {
    while (!filter.empty()) {
        const std::size_t blank = filter.find(' ');
        const std::string_view word = filter.substr(0, blank);
        if (!word.empty() && wanted(word)) return word;
        filter.remove_prefix(blank == std::string_view::npos ? filter.size() : blank + 1);
    }
    return {};
}

bool HasWord(std::string_view filter, std::string_view word) {
    return !FirstWord(filter, [word](std::string_view candidate) { return candidate == word; }).empty();
}

}  // namespace

TandemScanKind TandemScanKindOf(const std::string& filter) {
    if (HasWord(filter, "cnl")) return TandemScanKind::kNeutralLoss;
    if (HasWord(filter, "pr")) return TandemScanKind::kPrecursorIon;
    return TandemScanKind::kNone;
}

int32_t MsLevelOfFilter(const std::string& filter) {
    const std::string_view word = FirstWord(filter, IsMsOrderWord);
    if (!word.empty()) return word.size() == 2 ? 1 : std::atoi(word.data() + 2);
    // Neutral-loss and precursor-ion scans name no "msN", yet are tandem scans.
    return TandemScanKindOf(filter) != TandemScanKind::kNone ? 2 : 1;
}

void DescribeScan(RawExtractor& reader, int32_t scan, const PrecedingScans& preceding, bool massListRead,
                  ScanDescription& description) {
    description.filter.clear();
    reader.GetFilter(scan, description.filter);
    description.msLevel = MsLevelOfFilter(description.filter);
    ScanHeader header;
    description.header.reset();
    if (reader.GetScanHeader(scan, header)) description.header = header;
    description.massListRead = massListRead;
    description.storedAsCentroid = StoredAsCentroid(description.filter);
    description.ionInjectionTime = reader.FindTrailerNumber(scan, kIonInjectionTimeLabel);
    description.monoisotopicMz = 0;
    description.chargeState = 0;
    description.isolationWidth.reset();
    description.spsMasses.clear();
    description.faimsCompensationVoltage = FaimsCompensationVoltage(reader, scan);
    description.precursorScan = 0;
    if (description.msLevel < 2) return;
    description.monoisotopicMz = reader.FindTrailerNumber(scan, kMonoisotopicMzLabel).value_or(0.0);
    description.chargeState = static_cast<int32_t>(reader.FindTrailerNumber(scan, kChargeStateLabel).value_or(0.0));
    description.isolationWidth = IsolationWidth(reader, scan, description.msLevel);
    description.spsMasses = SpsMasses(reader, scan);
    description.precursorScan = PrecursorScan(reader, scan, description.msLevel, preceding);
}
