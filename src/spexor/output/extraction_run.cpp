#include "spexor/output/extraction_run.h"

#include <optional>
#include <utility>

#include "common/peak_picking.h"
#include "platform/fatal_error.h"
#include "spexor/console/console_lines.h"
#include "spexor/output/edge_shift.h"
#include "spexor/output/output_file_set.h"
#include "spexor/output/progress_line.h"
#include "spexor/output/raw_file_job.h"
#include "spexor/output/slot_routing.h"
#include "spexor/reader/raw_extractor.h"

namespace {

// What the scan loop carries from one scan to the next.
struct LoopState {
    int32_t lastMs1Scan = 0;
    ActivationClass activation = ActivationClass::HCD;
};

// True when any open output takes spectra of the level.
bool WritesLevel(const RawFileJob& job, ScanLevel level) {
    const LevelFormats formats = FormatsOf(level);
    for (int i = 0; i < formats.count; ++i) {
        if (job.Writes(formats.formats[i])) return true;
    }
    return false;
}

// The scan's level, or none when no open output takes that level. Follows
// every MS1 scan, written or not, as the precursor scan of later MS2 scans.
std::optional<ScanLevel> ClassifyScan(RawFileJob& job, int32_t scan, LoopState& state) {
    ScanLevel level = ScanLevel::MS3;
    if (job.reader->IsScanKind(scan, 0)) {
        state.lastMs1Scan = scan;
        level = ScanLevel::MS1;
    } else if (job.reader->IsScanKind(scan, 1)) {
        level = ScanLevel::MS2;
    }
    if (!WritesLevel(job, level)) return std::nullopt;
    return level;
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

[[noreturn]] void RaiseActivationTypeError() {
    console::ReportException("error to get activation type!");
    throw platform::FatalError();
}

// Precursor scan, charges, precursor m/z and activation of an MS2 or MS3
// scan. In split mode an activation that has no files of its own is fatal.
void FillPrecursorFields(RawFileJob& job, int32_t scan, ScanLevel level, LoopState& state, SpectrumRecord& record) {
    RawExtractor& reader = *job.reader;
    record.precursorScan = level == ScanLevel::MS2 ? state.lastMs1Scan : 0;
    std::pair<int, int> charges{0, 0};
    charges = reader.GetChargeRange(charges, scan);
    record.chargeMin = charges.first;
    record.chargeMax = charges.second;
    if (record.chargeMax == 0) {
        record.chargeMin = job.settings.chargeMin;
        record.chargeMax = job.settings.chargeMax;
    }
    record.activationCenter = reader.GetPrecursorMz(scan);
    record.monoisotopicMz = reader.GetMonoisotopicMz(scan);
    std::string activation;
    reader.GetActivation(activation, scan);
    record.activationType = UpperCase(std::move(activation));
    if (job.settings.activationMode != ActivationMode::split) return;
    const std::optional<ActivationClass> activationClass = ActivationClassOf(record.activationType);
    if (!activationClass) RaiseActivationTypeError();
    state.activation = *activationClass;
}

// The record's peaks: the mass list as stored, or picked from a profile
// scan when centroided output is asked for.
void TakePeaks(RawFileJob& job, int32_t scan, MassList& list, SpectrumRecord& record) {
    if (job.settings.centroided && !job.reader->IsCentroidScan(scan)) {
        record.peaks.reset(new Peak[list.count]);
        PickPeaks(record.peaks.get(), record.peakCount, list.peaks.get(), list.count, edgeShift);
    } else {
        record.peaks = std::move(list.peaks);
        record.peakCount = list.count;
    }
    list.peaks.reset();
}

void WriteRecord(RawFileJob& job, ScanLevel level, const LoopState& state, const SpectrumRecord& record) {
    const SpectrumRoute route =
        RouteSpectrum(level, job.settings.activationMode, state.activation, record.instrumentType);
    for (int i = 0; i < route.count; ++i) {
        std::optional<OpenOutput>& output = job.outputs[route.slots[i]];
        if (!output) continue;
        output->writer->WriteSpectrum(record);
        ++output->spectraWritten;
    }
}

// Reads one scan and writes it to every slot it is routed to. Returns false
// when the scan is skipped.
bool ConvertScan(RawFileJob& job, int32_t scan, LoopState& state) {
    const std::optional<ScanLevel> level = ClassifyScan(job, scan, state);
    if (!level) return false;
    RawExtractor& reader = *job.reader;

    MassList list;  // count -1 and valid until the reader answers
    list.scan = scan;
    reader.GetMassList(list, std::string(LevelText(*level)));
    if (list.count <= 0 || !list.valid) return false;

    SpectrumRecord record;
    record.scanNumber = scan;
    if (*level != ScanLevel::MS1) FillPrecursorFields(job, scan, *level, state, record);
    TakePeaks(job, scan, list, record);
    reader.GetAnalyzer(record.instrumentType, scan);
    record.retentionTime = reader.GetRetentionTime(scan);
    record.ionInjectionTime = reader.GetIonInjectionTime(scan);

    WriteRecord(job, *level, state, record);
    return true;
}

}  // namespace

void RunExtraction(RawFileJob& job) {
    RawExtractor& reader = *job.reader;
    reader.Open(job.rawPath);
    OpenOutputs(job);
    const int32_t first = reader.GetFirstScan();
    const int32_t last = reader.GetLastScan();

    LoopState state;
    // 64-bit, so a range ending at the largest scan number still ends.
    for (int64_t scan = first; scan <= last; ++scan) {
        const int32_t s = static_cast<int32_t>(scan);
        if (!ConvertScan(job, s, state)) continue;
        if (s % 100 == 0 || s == last) console::Progress(ProgressText(s, last));
    }

    console::Report(FinalProgressText());
    CloseOutputs(job);
    // The marker tells that the merged outputs are there: not when one failed.
    if (job.failedOutputs == 0) CreateMarkerFile(job);
    if (job.failedOutputs == 0) console::Report("Output Files Completed!");
    reader.Close();
}
