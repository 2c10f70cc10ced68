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
    PutMzmlHeader(out(), run_, settings(), FileSha1(run_.rawPath), spectra > 0 ? spectra : 0);
}

void MzmlWriter::WriteBlock(const SpectrumRecord& record, int32_t /*charge*/) {
    if (record.description == nullptr) return;
    PutHeaderOnce();
    out().Put("        ");
    notes_.spectra.push_back({record.scanNumber, out().Position()});
    const ScanDescription& scan = *record.description;
    const double minutes = scan.header ? scan.header->startTime : record.retentionTime / kSecondsPerMinute;
    notes_.chromatogram.push_back({minutes, scan.header ? scan.header->totalIonCurrent : 0.0});
    spectrum_.Put(out(), record);
}

std::unique_ptr<PartNotes> MzmlWriter::TakePartNotes() {
    auto part = std::make_unique<Notes>();
    std::swap(part->spectra, notes_.spectra);
    std::swap(part->chromatogram, notes_.chromatogram);
    return part;
}

void MzmlWriter::AppendPart(std::string_view text, const PartNotes* notes) {
    const auto* part = dynamic_cast<const Notes*>(notes);
    if (part == nullptr || part->spectra.empty()) return;
    PutHeaderOnce();
    const uint64_t start = out().Position();
    out().Put(text);
    for (const SpectrumStart& spectrum : part->spectra) notes_.spectra.push_back({spectrum.scan, start + spectrum.offset});
    notes_.chromatogram.insert(notes_.chromatogram.end(), part->chromatogram.begin(), part->chromatogram.end());
}

void MzmlWriter::PutChromatogram() {
    OutputFile& file = out();
    file.Put("      <chromatogramList count=\"1\" defaultDataProcessingRef=\"");
    file.Put(kConversionProcessingId);
    file.Put("\">\n        ");
    chromatogramOffset_ = file.Position();
    file.Put("<chromatogram index=\"0\" id=\"");
    file.Put(kChromatogramId);
    file.Put("\" defaultArrayLength=\"");
    PutInteger(file, static_cast<int64_t>(notes_.chromatogram.size()));
    file.Put("\">\n");
    PutCvParam(file, 10, cv::kTotalIonCurrentChromatogram);
    std::vector<double> values(2 * notes_.chromatogram.size());
    const std::size_t count = notes_.chromatogram.size();
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = notes_.chromatogram[i].minutes;
        values[count + i] = notes_.chromatogram[i].totalIonCurrent;
    }
    file.Put("          <binaryDataArrayList count=\"2\">\n");
    arrays_.PutArray(file, 12, values.data(), count, cv::kTimeArray, cv::kUnitMinute);
    arrays_.PutArray(file, 12, values.data() + count, count, cv::kIntensityArray, cv::kUnitDetectorCounts);
    file.Put("          </binaryDataArrayList>\n        </chromatogram>\n      </chromatogramList>\n");
}

void MzmlWriter::PutIndex() {
    OutputFile& file = out();
    file.Put("  ");
    const uint64_t indexListOffset = file.Position();
    file.Put("<indexList count=\"2\">\n    <index name=\"spectrum\">\n");
    for (const SpectrumStart& spectrum : notes_.spectra) {
        file.Put("      <offset idRef=\"");
        PutNativeId(file, spectrum.scan);
        file.Put("\">");
        PutInteger(file, static_cast<int64_t>(spectrum.offset));
        file.Put("</offset>\n");
    }
    file.Put("    </index>\n    <index name=\"chromatogram\">\n      <offset idRef=\"");
    file.Put(kChromatogramId);
    file.Put("\">");
    PutInteger(file, static_cast<int64_t>(chromatogramOffset_));
    file.Put("</offset>\n    </index>\n  </indexList>\n  <indexListOffset>");
    PutInteger(file, static_cast<int64_t>(indexListOffset));
    file.Put("</indexListOffset>\n  <fileChecksum>");
}

void MzmlWriter::Finish() {
    if (!header_) return;  // no spectrum: the file is removed
    out().Put("      </spectrumList>\n");
    PutChromatogram();
    out().Put("    </run>\n  </mzML>\n");
    PutIndex();
    // The checksum covers every byte up to and including "<fileChecksum>".
    out().Flush();
    out().Watch(nullptr);
    out().Put(checksum_.digest.HexDigest());
    out().Put("</fileChecksum>\n</indexedmzML>\n");
}
