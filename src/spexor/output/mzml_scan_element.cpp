#include "spexor/output/mzml_scan_element.h"

#include <charconv>
#include <string_view>

#include "spexor/output/mzml_header.h"
#include "spexor/output/mzml_vocabulary.h"
#include "spexor/output/mzml_xml.h"
#include "spexor/output/scan_description.h"

namespace {

constexpr double kSecondsPerMinute = 60.0;

// The SPS masses of a trailer text: numbers separated by commas.
void ReadMassList(std::string_view text, std::vector<double>& masses) {
    masses.clear();
    while (!text.empty()) {
        while (!text.empty() && (text.front() == ' ' || text.front() == ',')) text.remove_prefix(1);
        double mass = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), mass);
        if (error != std::errc()) break;
        if (mass > 0) masses.push_back(mass);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    }
}

// The kind of spectrum: MS1, MSn, or one of the triple-quadrupole scans
// that have a level of two without a single precursor.
const CvTerm& SpectrumKindOf(const ScanDescription& scan) {
    switch (TandemScanKindOf(scan.filter)) {
        case TandemScanKind::kNeutralLoss: return cv::kConstantNeutralLossSpectrum;
        case TandemScanKind::kPrecursorIon: return cv::kPrecursorIonSpectrum;
        case TandemScanKind::kNone: break;
    }
    return scan.msLevel > 1 ? cv::kMsnSpectrum : cv::kMs1Spectrum;
}

bool HasRepeatedMz(const Peak* peaks, std::size_t count) {
    for (std::size_t i = 1; i < count; ++i) {
        if (peaks[i].mz == peaks[i - 1].mz) return true;
    }
    return false;
}

// Peaks in a row at one m/z (a centroid scan can store a lock-mass or
// exception peak twice) as one peak with their intensities added: a
// centroided spectrum holds each m/z once, and readers refuse one that
// does not.
void MergeRepeatedMz(const Peak* peaks, std::size_t count, std::vector<Peak>& merged) {
    merged.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (!merged.empty() && merged.back().mz == peaks[i].mz) {
            merged.back().intensity += peaks[i].intensity;
        } else {
            merged.push_back(peaks[i]);
        }
    }
}

}  // namespace

SpectrumElementWriter::SpectrumElementWriter(const ConversionSettings& settings, const RunFacts& run)
    : settings_(settings), run_(run), arrays_(settings.mzmlCompression) {}

void SpectrumElementWriter::Put(OutputFile& out, const SpectrumRecord& record) {
    const ScanDescription& scan = *record.description;
    ReadFilterFacts(scan.filter, facts_);
    const bool picked = settings_.centroided && !scan.storedAsCentroid && scan.massListRead;
    const Peak* peaks = record.peaks.get();
    auto count = static_cast<std::size_t>(record.peakCount);
    if (settings_.centroided && scan.storedAsCentroid && HasRepeatedMz(peaks, count)) {
        MergeRepeatedMz(peaks, count, merged_);
        peaks = merged_.data();
        count = merged_.size();
    }
    out.Put("<spectrum index=\"");
    PutInteger(out, static_cast<int64_t>(record.scanNumber) - run_.firstScan);
    out.Put("\" id=\"");
    PutNativeId(out, record.scanNumber);
    out.Put("\" defaultArrayLength=\"");
    PutInteger(out, static_cast<int64_t>(count));
    if (picked) {
        out.Put("\" dataProcessingRef=\"");
        out.Put(kPeakPickingProcessingId);
    }
    out.Put("\">\n");
    PutSpectrumParams(out, scan);
    PutScan(out, record, scan);
    if (scan.msLevel > 1) PutPrecursors(out, scan);
    out.Put("<binaryDataArrayList count=\"2\">\n");
    arrays_.PutPeakArrays(out, peaks, count);
    out.Put("</binaryDataArrayList>\n</spectrum>\n");
}

void SpectrumElementWriter::PutSpectrumParams(OutputFile& out, const ScanDescription& scan) {
    PutCvParam(out, SpectrumKindOf(scan));
    PutCvParam(out, cv::kMsLevel, static_cast<double>(scan.msLevel));
    if (facts_.polarity != 0) PutCvParam(out, facts_.polarity == '-' ? cv::kNegativeScan : cv::kPositiveScan);
    // What the arrays hold: peaks when the run centroids or the scan was stored so.
    const bool centroid = settings_.centroided || scan.storedAsCentroid;
    PutCvParam(out, centroid ? cv::kCentroidSpectrum : cv::kProfileSpectrum);
    if (scan.header) {
        PutCvParam(out, cv::kBasePeakMz, scan.header->basePeakMz, &cv::kUnitMz);
        PutCvParam(out, cv::kBasePeakIntensity, scan.header->basePeakIntensity, &cv::kUnitDetectorCounts);
        PutCvParam(out, cv::kTotalIonCurrent, scan.header->totalIonCurrent);
        PutCvParam(out, cv::kLowestObservedMz, scan.header->lowMass, &cv::kUnitMz);
        PutCvParam(out, cv::kHighestObservedMz, scan.header->highMass, &cv::kUnitMz);
    }
    if (!scan.massListRead) {
        PutUserParam(out, "spexor: mass list", "could not be read from the RAW file; the arrays are empty");
    }
}

void SpectrumElementWriter::PutScan(OutputFile& out, const SpectrumRecord& record, const ScanDescription& scan) {
    out.Put("<scanList count=\"1\">\n");
    PutCvParam(out, cv::kNoCombination);
    out.Put("<scan");
    const int configuration = run_.AnalyzerIndex(AnalyzerWordOf(scan.filter));
    if (configuration >= 0) {
        out.Put(" instrumentConfigurationRef=\"");
        out.Put(InstrumentConfigurationId(configuration));
        out.Put("\"");
    }
    out.Put(">\n");
    const double minutes = scan.header ? scan.header->startTime : record.retentionTime / kSecondsPerMinute;
    PutCvParam(out, cv::kScanStartTime, minutes, &cv::kUnitMinute);
    if (!scan.filter.empty()) PutCvParam(out, cv::kFilterString, scan.filter);
    if (scan.ionInjectionTime) {
        PutCvParam(out, cv::kIonInjectionTime, *scan.ionInjectionTime, &cv::kUnitMillisecond);
    }
    if (scan.faimsCompensationVoltage) {
        PutCvParam(out, cv::kFaimsCompensationVoltage, *scan.faimsCompensationVoltage, &cv::kUnitVolt);
    }
    if (scan.monoisotopicMz > 0) {
        // Readers built on MSToolkit (Comet among them) take the precursor
        // m/z of a Thermo scan from this parameter, else from the isolation
        // target, which is only the filter's rounded m/z.
        out.Put("<userParam name=\"[Thermo Trailer Extra]Monoisotopic M/Z:\" value=\"");
        PutDouble(out, scan.monoisotopicMz);
        out.Put("\" type=\"xsd:double\"/>\n");
    }
    if (!facts_.windows.empty()) {
        out.Put("<scanWindowList count=\"");
        PutInteger(out, static_cast<int64_t>(facts_.windows.size()));
        out.Put("\">\n");
        for (const MzWindow& window : facts_.windows) {
            out.Put("<scanWindow>\n");
            PutCvParam(out, cv::kScanWindowLowerLimit, window.low, &cv::kUnitMz);
            PutCvParam(out, cv::kScanWindowUpperLimit, window.high, &cv::kUnitMz);
            out.Put("</scanWindow>\n");
        }
        out.Put("</scanWindowList>\n");
    }
    out.Put("</scan>\n</scanList>\n");
}

void SpectrumElementWriter::PutPrecursors(OutputFile& out, const ScanDescription& scan) {
    const PrecursorStage* stage = facts_.LastStage();
    if (stage == nullptr) return;
    spsMasses_.clear();
    if (facts_.sps) ReadMassList(scan.spsMasses, spsMasses_);
    out.Put("<precursorList count=\"");
    PutInteger(out, spsMasses_.empty() ? 1 : static_cast<int64_t>(spsMasses_.size()));
    out.Put("\">\n");
    if (spsMasses_.empty()) {
        PutPrecursor(out, scan, stage->mz, true);
    } else {
        for (double mass : spsMasses_) PutPrecursor(out, scan, mass, false);
    }
    out.Put("</precursorList>\n");
}

// One precursor at `target`; `own` for the scan's one precursor (not one
// of several SPS precursors), whose window, monoisotopic m/z and charge the
// trailer gives.
void SpectrumElementWriter::PutPrecursor(OutputFile& out, const ScanDescription& scan, double target, bool own) {
    out.Put("<precursor");
    if (scan.precursorScan > 0) {
        out.Put(" spectrumRef=\"");
        PutNativeId(out, scan.precursorScan);
        out.Put("\"");
    }
    out.Put(">\n<isolationWindow>\n");
    PutCvParam(out, cv::kIsolationWindowTarget, target, &cv::kUnitMz);
    const bool windowKnown = own && scan.isolationWidth;
    const double halfWidth = windowKnown ? *scan.isolationWidth / 2.0 : 0.0;
    if (windowKnown) {
        PutCvParam(out, cv::kIsolationWindowLowerOffset, halfWidth, &cv::kUnitMz);
        PutCvParam(out, cv::kIsolationWindowUpperOffset, halfWidth, &cv::kUnitMz);
    }
    out.Put(
        "</isolationWindow>\n<selectedIonList count=\"1\">\n"
        "<selectedIon>\n");
    // The monoisotopic m/z when it lies in the isolation window, else the target.
    const bool monoisotopicInWindow = windowKnown && scan.monoisotopicMz > 0 &&
                                      scan.monoisotopicMz >= target - halfWidth &&
                                      scan.monoisotopicMz <= target + halfWidth;
    PutCvParam(out, cv::kSelectedIonMz, monoisotopicInWindow ? scan.monoisotopicMz : target, &cv::kUnitMz);
    if (own && scan.chargeState > 0) PutCvParam(out, cv::kChargeState, static_cast<double>(scan.chargeState));
    out.Put("</selectedIon>\n</selectedIonList>\n");
    PutActivation(out, facts_.LastStage());
    out.Put("</precursor>\n");
}

void SpectrumElementWriter::PutActivation(OutputFile& out, const PrecursorStage* stage) {
    out.Put("<activation>\n");
    if (stage == nullptr || stage->activations.empty()) {
        PutCvParam(out, DissociationTermOf(""));
    } else {
        for (std::size_t i = 0; i < stage->activations.size(); ++i) {
            const FilterActivation& activation = stage->activations[i];
            const CvTerm* supplemental = i > 0 ? SupplementalDissociationTermOf(activation.name) : nullptr;
            PutCvParam(out, supplemental != nullptr ? *supplemental : DissociationTermOf(activation.name));
            if (!activation.hasEnergy || !ActivationHasCollisionEnergy(activation.name)) continue;
            PutCvParam(out, supplemental != nullptr ? cv::kSupplementalCollisionEnergy : cv::kCollisionEnergy,
                       activation.energy, &cv::kUnitElectronvolt);
        }
    }
    out.Put("</activation>\n");
}
