// Converts a folder of copies of the real Thermo RAW files with the built
// spexor (every output kind, split and merged) and reports scans per second,
// megabytes per second of RAW input and the child's peak memory. Then
// synthesises a RAW file with many scans from sample.raw (its scan index,
// scan events and trailer records repeated, the packets shared) and measures
// what opening it costs the native backend, and a walk of every scan's
// filter text and retention time.
//
//   raw_conversion_bench [--copies N] [--data DIR] [--scans N]
//
// Defaults: 20 copies of each file in the shared data folder, 100,000 scans.

#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "byte_fields.h"
#include "child_run.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_header.h"
#include "rawfile/native/native_backend.h"
#include "rawfile/native/native_raw_file.h"
#include "rawfile/native/raw_file_info.h"
#include "rawfile/native/run_header.h"
#include "rawfile/native/sequencer_row.h"

namespace {

namespace fs = std::filesystem;

struct Options {
    int copies = 20;
    fs::path data = SHARED_DATA_DIR;
    int64_t syntheticScans = 100000;
};

struct InputSet {
    int files = 0;
    int64_t scans = 0;
    uint64_t bytes = 0;
};

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWhole(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool IsRawName(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".raw";
}

// Scans of a RAW file as the native backend counts them (none below scan 1).
int64_t ScanCount(const fs::path& path) {
    rawfile::Status status = 0;
    const auto backend = rawfile::OpenNativeBackend(path.string(), &status);
    int32_t first = 0;
    int32_t last = 0;
    if (backend == nullptr || backend->GetFirstScan(&first) != rawfile::kOk ||
        backend->GetLastScan(&last) != rawfile::kOk || first < 1 || last < first) {
        return 0;
    }
    return static_cast<int64_t>(last) - first + 1;
}

// Copies every RAW file of `data` `copies` times into `folder`.
InputSet MakeCopies(const fs::path& data, const fs::path& folder, int copies) {
    InputSet set;
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(data)) {
        if (!entry.is_regular_file() || !IsRawName(entry.path())) continue;
        const int64_t scans = ScanCount(entry.path());
        const uint64_t size = entry.file_size();
        for (int copy = 0; copy < copies; ++copy) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "-%02d", copy);
            const fs::path target =
                folder / (entry.path().stem().string() + suffix + entry.path().extension().string());
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
            ++set.files;
            set.scans += scans;
            set.bytes += size;
        }
    }
    return set;
}

// Rates by wall time and, as the machine may be shared, by the child's CPU time.
void ReportConversion(const char* mode, const InputSet& set, const ChildRun& run) {
    const double megabytes = static_cast<double>(set.bytes) / 1e6;
    const double scans = static_cast<double>(set.scans);
    std::printf(
        "spexor %-6s exit %d: %.2f s wall, %.2f s CPU; %.0f scans/s and %.1f MB/s of RAW input by wall time, "
        "%.0f scans/s and %.1f MB/s by CPU time; peak memory %.1f MB\n",
        mode, run.status, run.wallSeconds, run.cpuSeconds, scans / run.wallSeconds, megabytes / run.wallSeconds,
        scans / run.cpuSeconds, megabytes / run.cpuSeconds, static_cast<double>(run.peakKilobytes) / 1024.0);
}

// ---- A RAW file with many scans ------------------------------------------

constexpr uint64_t kFirstScanField = 8;
constexpr uint64_t kLastScanField = 12;
constexpr uint64_t kScanEventCountField = 7376;
constexpr uint64_t kTrailerCountField = 7380;
constexpr uint64_t kScanIndexAddressField = 7408;
constexpr uint64_t kScanEventAddressField = 7448;
constexpr uint64_t kTrailerAddressField = 7456;
constexpr uint64_t kIndexEntrySize = 88;  // version 66
constexpr uint64_t kEntryOrdinal = 4;
constexpr uint64_t kEntryNextOrdinal = 12;
constexpr uint64_t kEntryRetentionTime = 24;

// The mass spectrometer's run header address of a version 66 file, or 0.
uint64_t RunHeaderAddress(const std::string& bytes) {
    using namespace rawfile::native;
    ByteReader in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    FileHeader header;
    RawFileInfo info;
    if (ReadFileHeader(in, &header) != rawfile::kOk || header.version != 66 || !SkipSequencerRow(in, header.version) ||
        !SkipAutosamplerInfo(in) || ReadRawFileInfo(in, header.version, &info) != rawfile::kOk ||
        info.runHeaderAddresses.size() != 1) {
        return 0;
    }
    return info.runHeaderAddresses[0];
}

// The size of one scan's trailer-extra record, as the backend reads it.
uint64_t TrailerRecordSize(const fs::path& path) {
    rawfile::Status status = 0;
    const auto backend = rawfile::OpenNativeBackend(path.string(), &status);
    const auto* native = dynamic_cast<const rawfile::native::NativeRawFile*>(backend.get());
    return native != nullptr ? native->trailerHeader().recordSize : 0;
}

// Appends `repeats` rounds of the file's scan index, scan event stream and
// trailer records and points the run header at them; the packets stay where
// they are, so scan k answers with the packet of scan k mod n.
bool SynthesiseManyScans(const fs::path& path, std::string* bytes, int64_t repeats) {
    const uint64_t run = RunHeaderAddress(*bytes);
    if (run == 0) return false;
    const auto first = Get<int32_t>(*bytes, run + kFirstScanField);
    const auto last = Get<int32_t>(*bytes, run + kLastScanField);
    const uint64_t scans = static_cast<uint64_t>(last - first + 1);
    const auto index = Get<uint64_t>(*bytes, run + kScanIndexAddressField);
    const auto events = Get<uint64_t>(*bytes, run + kScanEventAddressField);
    const auto trailer = Get<uint64_t>(*bytes, run + kTrailerAddressField);
    const std::string eventBlock = bytes->substr(events + 4, trailer - events - 4);
    const std::string indexBlock = bytes->substr(index, scans * kIndexEntrySize);
    const double runMinutes = Get<double>(indexBlock, (scans - 1) * kIndexEntrySize + kEntryRetentionTime);
    const uint64_t recordBytes = scans * TrailerRecordSize(path);
    const std::string trailerBlock = bytes->substr(trailer, recordBytes);

    const uint64_t newIndex = bytes->size();
    const uint64_t total = scans * static_cast<uint64_t>(repeats);
    bytes->reserve(bytes->size() + total * kIndexEntrySize + 4 + repeats * (eventBlock.size() + trailerBlock.size()));
    for (int64_t round = 0; round < repeats; ++round) {
        std::string block = indexBlock;
        for (uint64_t i = 0; i < scans; ++i) {
            const uint64_t ordinal = static_cast<uint64_t>(round) * scans + i;
            const uint64_t at = i * kIndexEntrySize;
            Put<uint32_t>(&block, at + kEntryOrdinal, static_cast<uint32_t>(ordinal));
            Put<uint32_t>(&block, at + kEntryNextOrdinal, static_cast<uint32_t>(ordinal + 1));
            Put<double>(&block, at + kEntryRetentionTime,
                        Get<double>(indexBlock, at + kEntryRetentionTime) + static_cast<double>(round) * runMinutes);
        }
        bytes->append(block);
    }
    const uint64_t newEvents = bytes->size();
    bytes->append(4, '\0');
    for (int64_t round = 0; round < repeats; ++round) bytes->append(eventBlock);
    const uint64_t newTrailer = bytes->size();
    for (int64_t round = 0; round < repeats; ++round) bytes->append(trailerBlock);

    Put<int32_t>(bytes, run + kLastScanField, static_cast<int32_t>(first + static_cast<int64_t>(total) - 1));
    Put<uint32_t>(bytes, run + kScanEventCountField, static_cast<uint32_t>(total));
    Put<uint32_t>(bytes, run + kTrailerCountField, static_cast<uint32_t>(total));
    Put<uint64_t>(bytes, run + kScanIndexAddressField, newIndex);
    Put<uint64_t>(bytes, run + kScanEventAddressField, newEvents);
    Put<uint64_t>(bytes, run + kTrailerAddressField, newTrailer);
    return true;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

void MeasureOpen(const fs::path& path, uint64_t fileBytes) {
    const size_t heapBefore = mallinfo2().uordblks;
    const long residentBefore = ResidentKilobytes();
    const auto start = std::chrono::steady_clock::now();
    rawfile::Status status = 0;
    const auto backend = rawfile::OpenNativeBackend(path.string(), &status);
    const double openSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (backend == nullptr) {
        std::printf("synthetic file: open failed with status %d\n", status);
        return;
    }
    const size_t heap = mallinfo2().uordblks - heapBefore;
    const long resident = ResidentKilobytes() - residentBefore;
    int32_t first = 0;
    int32_t last = 0;
    backend->GetFirstScan(&first);
    backend->GetLastScan(&last);
    const int64_t scans = static_cast<int64_t>(last) - first + 1;
    std::printf(
        "synthetic file: %lld scans, %.1f MB; open %.3f s, heap %.2f MB (%.2f MB per 10,000 scans), "
        "resident +%.1f MB\n",
        static_cast<long long>(scans), static_cast<double>(fileBytes) / 1e6, openSeconds,
        static_cast<double>(heap) / 1e6, static_cast<double>(heap) / 1e6 * 10000.0 / static_cast<double>(scans),
        static_cast<double>(resident) / 1024.0);

    const auto walk = std::chrono::steady_clock::now();
    size_t characters = 0;
    double minutes = 0;
    int failures = 0;
    std::string filter;
    for (int32_t scan = first; scan <= last; ++scan) {
        failures += backend->GetFilterText(scan, &filter) != rawfile::kOk;
        failures += backend->GetFilterText(scan, &filter) != rawfile::kOk;  // the cached answer
        failures += backend->GetRetentionTime(scan, &minutes) != rawfile::kOk;
        characters += filter.size();
    }
    const double walkSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - walk).count();
    std::printf(
        "synthetic file: filter text twice and retention time of every scan %.3f s (%.2f us per scan), "
        "%d failures, %zu filter characters, last RT %.1f min\n",
        walkSeconds, walkSeconds * 1e6 / static_cast<double>(scans), failures, characters, minutes);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--copies") options.copies = std::atoi(argv[i + 1]);
        if (name == "--data") options.data = argv[i + 1];
        if (name == "--scans") options.syntheticScans = std::atoll(argv[i + 1]);
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    if (!fs::is_directory(options.data)) {
        std::printf("no RAW files: %s is not a folder\n", options.data.c_str());
        return 1;
    }
    char pattern[] = "/tmp/raw_conversion_bench.XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    const fs::path work = pattern;

    const InputSet set = MakeCopies(options.data, work / "raw", options.copies);
    std::printf("input: %d RAW files (%d copies of each in %s), %lld scans, %.1f MB\n", set.files, options.copies,
                options.data.c_str(), static_cast<long long>(set.scans), static_cast<double>(set.bytes) / 1e6);
    const std::vector<std::string> kinds = {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd"};
    for (bool merged : {false, true}) {
        std::vector<std::string> args = kinds;
        if (merged) args.insert(args.begin(), "-a");
        const fs::path out = work / (merged ? "merged" : "split");
        args.insert(args.end(), {"-o", out.string(), (work / "raw").string()});
        ReportConversion(merged ? "merged" : "split", set, RunMeasured(SPEXOR_BIN, args, false));
        fs::remove_all(out);
    }
    fs::remove_all(work / "raw");

    std::string sample = ReadWhole(options.data / "sample.raw");
    const int64_t perRound = ScanCount(options.data / "sample.raw");
    if (perRound > 0 &&
        SynthesiseManyScans(options.data / "sample.raw", &sample, (options.syntheticScans + perRound - 1) / perRound)) {
        const fs::path many = work / "many_scans.raw";
        WriteWhole(many, sample);
        MeasureOpen(many, sample.size());
    } else {
        std::printf("synthetic file: sample.raw missing or not a version 66 file with one controller\n");
    }
    fs::remove_all(work);
    return 0;
}
