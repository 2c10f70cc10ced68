#include "spexor/output/mzml_writer.h"

#include "spexor/output/mzml_header.h"
#include "spexor/output/mzml_vocabulary.h"
#include "spexor/output/mzml_xml.h"
#include "spexor/output/scan_description.h"

namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr std::string_view kChromatogramId = "TIC";

}  // namespace

MzmlWriter::MzmlWriter(const ConversionSettings& settings, OutputFile& out, const RunFacts& run)
    : FormatWriter(settings, out, false),
      run_(run),
      spectrum_(this->settings(), run),
      arrays_(settings.mzmlCompression) {
    // The checksum covers the file from its first byte.
    if (!out.HeldInMemory()) out.Watch(&checksum_);
}

MzmlWriter::~MzmlWriter() { out().Watch(nullptr); }

void MzmlWriter::PutHeaderOnce() {
    if (header_ || out().HeldInMemory()) return;
    header_ = true;
    const int64_t spectra = static_cast<int64_t>(run_.lastScan) - run_.firstScan + 1;
    const std::string rawSha1 = run_.rawSha1.valid() ? run_.rawSha1.get() : FileSha1(run_.rawPath);
    PutMzmlHeader(out(), run_, settings(), rawSha1, spectra > 0 ? spectra : 0);
}

void MzmlWriter::WriteBlock(const SpectrumRecord& record, int32_t /*charge*/) {
    if (record.description == nullptr) return;
    PutHeaderOnce();
    ReserveNotes();
    notes_.spectra.push_back({record.scanNumber, out().Position()});
    const ScanDescription& scan = *record.description;
    const double minutes = scan.header ? scan.header->startTime : record.retentionTime / kSecondsPerMinute;
    notes_.minutes.push_back(minutes);
    notes_.totalIonCurrents.push_back(scan.header ? scan.header->totalIonCurrent : 0.0);
    spectrum_.Put(out(), record);
}

void MzmlWriter::ReserveNotes() {
    // Room for every scan at once, so that memory does not grow in steps
    // of the vectors' doubling: 32 bytes a scan.
    if (out().HeldInMemory() || !notes_.spectra.empty()) return;
    const int64_t scans = static_cast<int64_t>(run_.lastScan) - run_.firstScan + 1;
    if (scans <= 0) return;
    notes_.spectra.reserve(static_cast<std::size_t>(scans));
    notes_.minutes.reserve(static_cast<std::size_t>(scans));
    notes_.totalIonCurrents.reserve(static_cast<std::size_t>(scans));
}

std::unique_ptr<PartNotes> MzmlWriter::TakePartNotes() {
    auto part = std::make_unique<Notes>();
    std::swap(part->spectra, notes_.spectra);
    std::swap(part->minutes, notes_.minutes);
    std::swap(part->totalIonCurrents, notes_.totalIonCurrents);
    return part;
}

void MzmlWriter::AppendPart(std::string_view text, const PartNotes* notes) {
    const auto* part = dynamic_cast<const Notes*>(notes);
    if (part == nullptr || part->spectra.empty()) return;
    PutHeaderOnce();
    ReserveNotes();
    const uint64_t start = out().Position();
    out().Put(text);
    for (const SpectrumStart& spectrum : part->spectra)
        notes_.spectra.push_back({spectrum.scan, start + spectrum.offset});
    notes_.minutes.insert(notes_.minutes.end(), part->minutes.begin(), part->minutes.end());
    notes_.totalIonCurrents.insert(notes_.totalIonCurrents.end(), part->totalIonCurrents.begin(),
                                   part->totalIonCurrents.end());
}

void MzmlWriter::PutChromatogram() {
    OutputFile& file = out();
    file.Put("<chromatogramList count=\"1\" defaultDataProcessingRef=\"");
    file.Put(kConversionProcessingId);
    file.Put("\">\n        ");
    chromatogramOffset_ = file.Position();
    file.Put("<chromatogram index=\"0\" id=\"");
    file.Put(kChromatogramId);
    file.Put("\" defaultArrayLength=\"");
    const std::size_t count = notes_.minutes.size();
    PutInteger(file, static_cast<int64_t>(count));
    file.Put("\">\n");
    PutCvParam(file, cv::kTotalIonCurrentChromatogram);
    file.Put("<binaryDataArrayList count=\"2\">\n");
    arrays_.PutArray(file, notes_.minutes.data(), count, cv::kTimeArray, cv::kUnitMinute);
    arrays_.PutArray(file, notes_.totalIonCurrents.data(), count, cv::kIntensityArray, cv::kUnitDetectorCounts);
    file.Put("</binaryDataArrayList>\n</chromatogram>\n</chromatogramList>\n");
}

void MzmlWriter::PutIndex() {
    OutputFile& file = out();
    const uint64_t indexListOffset = file.Position();
    file.Put("<indexList count=\"2\">\n<index name=\"spectrum\">\n");
    for (const SpectrumStart& spectrum : notes_.spectra) {
        file.Put("<offset idRef=\"");
        PutNativeId(file, spectrum.scan);
        file.Put("\">");
        PutInteger(file, static_cast<int64_t>(spectrum.offset));
        file.Put("</offset>\n");
    }
    file.Put("</index>\n<index name=\"chromatogram\">\n<offset idRef=\"");
    file.Put(kChromatogramId);
    file.Put("\">");
    PutInteger(file, static_cast<int64_t>(chromatogramOffset_));
    file.Put("</offset>\n</index>\n</indexList>\n<indexListOffset>");
    PutInteger(file, static_cast<int64_t>(indexListOffset));
    file.Put("</indexListOffset>\n<fileChecksum>");
}

void MzmlWriter::Finish() {
    if (!header_) return;  // no spectrum: the file is removed
    out().Put("</spectrumList>\n");
    PutChromatogram();
    out().Put("</run>\n</mzML>\n");
    PutIndex();
    // The checksum covers every byte up to and including "<fileChecksum>".
    out().Flush();
    out().Watch(nullptr);
    out().Put(checksum_.digest.HexDigest());
    out().Put("</fileChecksum>\n</indexedmzML>\n");
}
