#include "spexor/output/scan_conversion.h"

#include <optional>
#include <string>
#include <utility>

#include "common/peak_picking.h"
#include "platform/fatal_error.h"
#include "spexor/console/console_lines.h"
#include "spexor/output/edge_shift.h"
#include "spexor/output/progress_line.h"
#include "spexor/reader/raw_extractor.h"

namespace {

// True when an open writer takes spectra of the level and its slot passes `test`.
template <typename SlotTest>
bool AnyWriterOf(const ScanSink& sink, ScanLevel level, SlotTest test) {
    const LevelFormats formats = FormatsOf(level);
    for (int i = 0; i < formats.count; ++i) {
        for (int slot = 0; slot < kOutputSlotCount; ++slot) {
            if (sink.writers[slot] != nullptr && OutputSlots()[slot].format == formats.formats[i] && test(slot))
                return true;
        }
    }
    return false;
}

}  // namespace

bool ScanSink::WritesLevel(ScanLevel level) const {
    return AnyWriterOf(*this, level, [](int) { return true; });
}

bool ScanSink::WritesSplitFilesOf(ScanLevel level) const {
    return AnyWriterOf(*this, level, [](int slot) { return !OutputSlots()[slot].IsMerged(); });
}

bool ScanSink::WritesTextOf(ScanLevel level) const {
    return AnyWriterOf(*this, level, [this](int slot) { return !writers[slot]->DescribesEveryScan(); });
}

bool ScanSink::DescribesScans() const {
    for (const FormatWriter* writer : writers) {
        if (writer != nullptr && writer->DescribesEveryScan()) return true;
    }
    return false;
}

void MemoryWriters::Open(const std::array<bool, kOutputSlotCount>& wanted, const ConversionSettings& settings,
                         const RunFacts& run, ScanSink& sink) {
    for (int slot = 0; slot < kOutputSlotCount; ++slot) {
        if (!wanted[slot]) continue;
        texts[slot] = OutputFile::InMemory();
        writers[slot] = MakeFormatWriter(OutputSlots()[slot].format, settings, *texts[slot], run);
        sink.writers[slot] = writers[slot].get();
    }
}

// The scan's level, or none when no open output takes that level. Follows
// every MS1 scan, written or not, as the precursor scan of later MS2 scans.
std::optional<ScanLevel> ClassifyScan(ScanSink& sink, int32_t scan, LoopState& state) {
    ScanLevel level = ScanLevel::MS3;
    if (sink.reader->IsScanKind(scan, 0)) {
        state.lastMs1Scan = scan;
        level = ScanLevel::MS1;
    } else if (sink.reader->IsScanKind(scan, 1)) {
        level = ScanLevel::MS2;
    }
    // The scan's description names the MS2 scan before an MS3 scan; the
    // level is then known from the filter text already asked for.
    if (level == ScanLevel::MS2 && sink.DescribesScans()) state.lastMs2Scan = scan;
    if (!sink.WritesLevel(level)) return std::nullopt;
    return level;
}

namespace {

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
void FillPrecursorFields(ScanSink& sink, int32_t scan, ScanLevel level, LoopState& state, SpectrumRecord& record) {
    RawExtractor& reader = *sink.reader;
    record.precursorScan = level == ScanLevel::MS2 ? state.lastMs1Scan : 0;
    std::pair<int, int> charges{0, 0};
    charges = reader.GetChargeRange(charges, scan);
    record.chargeMin = charges.first;
    record.chargeMax = charges.second;
    if (record.chargeMax == 0) {
        record.chargeMin = sink.settings->chargeMin;
        record.chargeMax = sink.settings->chargeMax;
    }
    record.activationCenter = reader.GetPrecursorMz(scan);
    record.monoisotopicMz = reader.GetMonoisotopicMz(scan);
    std::string activation;
    reader.GetActivation(activation, scan);
    record.activationType = UpperCase(std::move(activation));
    if (sink.settings->activationMode != ActivationMode::split || !sink.WritesSplitFilesOf(level)) return;
    const std::optional<ActivationClass> activationClass = ActivationClassOf(record.activationType);
    if (!activationClass) RaiseActivationTypeError();
    state.activation = *activationClass;
}

// The record's peaks: the mass list as stored, or picked from a profile
// scan when centroided output is asked for.
void TakePeaks(ScanSink& sink, int32_t scan, MassList& list, SpectrumRecord& record) {
    if (sink.settings->centroided && !sink.reader->IsCentroidScan(scan)) {
        record.peaks.reset(new Peak[list.count]);
        PickPeaks(record.peaks.get(), record.peakCount, list.peaks.get(), list.count, edgeShift);
    } else {
        record.peaks = std::move(list.peaks);
        record.peakCount = list.count;
    }
    list.peaks.reset();
}

// Writes the record to every open writer of its route; one whose mass list
// was empty or could not be read (`withMassList` false) only to the
// writers that describe every scan.
void WriteRecord(ScanSink& sink, ScanLevel level, const LoopState& state, const SpectrumRecord& record,
                 bool withMassList) {
    const SpectrumRoute route =
        RouteSpectrum(level, sink.settings->activationMode, state.activation, record.instrumentType);
    bool formatted = false;
    for (int i = 0; i < route.count; ++i) {
        const int slot = route.slots[i];
        if (sink.writers[slot] == nullptr) continue;
        if (!withMassList && !sink.writers[slot]->DescribesEveryScan()) continue;
        // The peak lines are the text formats'; mzML encodes the peaks itself.
        if (!formatted && !sink.writers[slot]->DescribesEveryScan()) {
            if (!sink.peakLines)
                sink.peakLines =
                    std::make_unique<PeakLines>(sink.settings->mzDecimals, sink.settings->intensityDecimals);
            sink.peakLines->Format(record);
            formatted = true;
        }
        sink.writers[slot]->WriteSpectrum(record, *sink.peakLines);
        ++sink.counts[slot];
    }
}

}  // namespace

bool ConvertScan(ScanSink& sink, int32_t scan, LoopState& state) {
    const std::optional<ScanLevel> level = ClassifyScan(sink, scan, state);
    if (!level) return false;
    RawExtractor& reader = *sink.reader;

    MassList list;  // count -1 and valid until the reader answers
    list.scan = scan;
    reader.GetMassList(list, std::string(LevelText(*level)));
    const bool withMassList = list.count > 0 && list.valid;
    const bool describing = sink.DescribesScans();
    if (!withMassList && !describing) return false;

    SpectrumRecord record;
    record.scanNumber = scan;
    // The text formats' fields, read as ever when such a file takes the scan.
    const bool forText = withMassList && sink.WritesTextOf(*level);
    if (forText && *level != ScanLevel::MS1) FillPrecursorFields(sink, scan, *level, state, record);
    if (withMassList) TakePeaks(sink, scan, list, record);
    reader.GetAnalyzer(record.instrumentType, scan);
    record.retentionTime = reader.GetRetentionTime(scan);
    if (forText) record.ionInjectionTime = reader.GetIonInjectionTime(scan);
    if (describing) {
        const PrecedingScans preceding{state.lastMs1Scan, state.lastMs2Scan};
        DescribeScan(reader, scan, preceding, list.valid && list.count >= 0, sink.description);
        record.description = &sink.description;
    }

    WriteRecord(sink, *level, state, record, withMassList);
    return true;
}

void ConvertScans(ScanSink& sink, int64_t from, int64_t to, int32_t last, LoopState& state) {
    // 64-bit, so a range ending at the largest scan number still ends.
    for (int64_t scan = from; scan <= to; ++scan) {
        const int32_t s = static_cast<int32_t>(scan);
        if (!ConvertScan(sink, s, state)) continue;
        if (s % 100 == 0 || s == last) console::Progress(ProgressText(s, last));
    }
}
