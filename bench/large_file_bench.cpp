// Converts RAW files of about a gigabyte with the built spexor and sets every
// run beside the I/O floor of the same machine, measured in the same run.
//
// Two files are synthesised from real ones: a centroid-heavy one (from
// sample.raw, FT centroid packets) and a profile-heavy one (from small2.RAW,
// FT profile survey scans and ion-trap centroid MS2 scans). The source's
// scans are repeated in rounds until the file reaches the size asked for;
// every scan gets its own copy of its packet, its own index entry pointing
// at it, its own scan event and trailer record, and the run header is
// pointed at the new structures. The synthetic file is read back through the
// native reader (every scan, some in full) before anything is timed.
//
// Each file is converted four times: every kind split by activation and
// analyzer (-ms1 -ms2 -ms3 -mgf -ksd), every kind merged (-a), MGF alone
// (-mgf) and mzML alone (-mzml), whose wall time is then set beside MGF
// alone's (the mzML file holds every scan, compressed; the target is at
// most twice the time, with a peak RSS below 64 MB). A last run converts a folder of copies of the real files
// (those that spexor -mgf converts to the end on their own), MGF only.
//
// For each run: GB/s of RAW input by wall time and by CPU time, CPU
// microseconds per scan, peak RSS (VmHWM) and the peak of its anonymous
// memory (RssAnon), both from /proc/<pid>/status sampled every 10 ms. (wait4's
// ru_maxrss is not used: it counts the bench's own peak too, since the child
// was the bench until its exec.)
// Beside it the I/O floor: the input read from the page cache with 1 MiB
// read() calls after a warm-up read, plus writing as many bytes as spexor
// wrote with 1 MiB write() calls to one file in the output's folder. The
// fsync of that file is not part of the floor; its time is shown apart.
// Apart too, the file-system work of the output files spexor must make:
// creating as many empty files as it creates, and removing as many as it
// removes (each RAW file's output files exist from the start of its
// conversion; those that stay empty are removed at its end).
// Before every timed step the file system is synced, so no step pays for the
// write-back of the one before.
//
//   large_file_bench [--gigabytes G] [--data DIR] [--spexor PATH] [-j N]
//                    [--copies N] [--work DIR] [--keep]
//                    [--centroid FILE] [--profile FILE] [--cases LIST]
//                    [--baseline PATH] [--repeat N]
//
// Defaults: 1 GB per synthetic file, the shared data folder, the spexor of
// this build, 20 copies of each real file, a fresh folder under /tmp, all
// cases (LIST: any of centroid,profile,folder). -j N is handed to spexor
// only when given. --keep leaves the synthetic files and the copies in the
// work folder; the conversion outputs are always removed once measured.
// --baseline PATH converts every input again with another spexor (an older
// build) right after each run, so the two are compared under the same load;
// --repeat N keeps the fastest of N runs of each, which on a shared machine
// is the figure least disturbed by others.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "byte_fields.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/file_header.h"
#include "rawfile/native/generic_data.h"
#include "rawfile/native/native_raw_file.h"
#include "rawfile/native/raw_file_info.h"
#include "rawfile/native/run_header.h"
#include "rawfile/native/scan_event_stream.h"
#include "rawfile/native/scan_index.h"
#include "rawfile/native/sequencer_row.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace native = rawfile::native;

using Clock = std::chrono::steady_clock;

constexpr uint64_t kMiB = 1024 * 1024;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// ---- Options ----------------------------------------------------------------

struct Options {
    double gigabytes = 1.0;
    fs::path data = SHARED_DATA_DIR;
    std::string spexor = SPEXOR_BIN;
    std::string jobs;  // empty: spexor gets no -j
    int copies = 20;
    fs::path work = "/tmp";
    bool keep = false;
    std::string centroidSource = "sample.raw";
    std::string profileSource = "small2.RAW";
    std::string cases = "centroid,profile,folder";
    std::string baseline;  // another spexor measured beside it in every run; empty: none
    std::string baselineJobs;  // -j for the baseline (an older build may not take it); empty: none
    int repeat = 1;        // runs of each conversion, the fastest kept
};

void PrintUsage() {
    std::printf(
        "large_file_bench [--gigabytes G] [--data DIR] [--spexor PATH] [-j N] [--copies N]\n"
        "                 [--work DIR] [--keep] [--centroid FILE] [--profile FILE] [--cases LIST]\n"
        "                 [--baseline PATH] [--baseline-j N] [--repeat N]\n"
        "\n"
        "  --gigabytes G    size of each synthetic RAW file, in GB (10^9 bytes); default 1\n"
        "  --data DIR       folder of the real RAW files; default %s\n"
        "  --spexor PATH    the spexor to measure; default %s\n"
        "  -j N             hand -j N to spexor (only when given)\n"
        "  --copies N       copies of each real file in the folder run; default 20\n"
        "  --work DIR       where the work folder is made (the floors are measured there); default /tmp\n"
        "  --keep           leave the synthetic files and the copies in the work folder\n"
        "  --centroid FILE  source of the centroid-heavy file (in DIR, or a path); default sample.raw\n"
        "  --profile FILE   source of the profile-heavy file; default small2.RAW\n"
        "  --cases LIST     which runs, of centroid,profile,folder; default all three\n"
        "  --baseline PATH  another spexor (an older build, with the same -j) converting the same inputs right\n"
        "                   after it, each with its own floors; its rows say [baseline]\n"
        "  --baseline-j N   hand -j N to the baseline (only when given: -j is not handed to it)\n"
        "  --repeat N       convert each input N times and keep the fastest run (and, apart, the fastest\n"
        "                   floors); default 1\n",
        SHARED_DATA_DIR, SPEXOR_BIN);
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--keep") {
            options->keep = true;
            continue;
        }
        if (name == "--help" || name == "-h") {
            return false;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "%s needs a value\n", name.c_str());
            return false;
        }
        const std::string value = argv[++i];
        if (name == "--gigabytes") {
            options->gigabytes = std::atof(value.c_str());
        } else if (name == "--data") {
            options->data = value;
        } else if (name == "--spexor") {
            options->spexor = value;
        } else if (name == "-j") {
            options->jobs = value;
        } else if (name == "--copies") {
            options->copies = std::atoi(value.c_str());
        } else if (name == "--work") {
            options->work = value;
        } else if (name == "--centroid") {
            options->centroidSource = value;
        } else if (name == "--profile") {
            options->profileSource = value;
        } else if (name == "--cases") {
            options->cases = value;
        } else if (name == "--baseline") {
            options->baseline = value;
        } else if (name == "--baseline-j") {
            options->baselineJobs = value;
        } else if (name == "--repeat") {
            options->repeat = std::atoi(value.c_str());
        } else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            return false;
        }
    }
    if (options->gigabytes <= 0 || options->copies < 1 || options->repeat < 1) {
        std::fprintf(stderr, "--gigabytes, --copies and --repeat must be positive\n");
        return false;
    }
    return true;
}

bool WantsCase(const Options& options, const std::string& name) {
    const std::string list = "," + options.cases + ",";
    return list.find("," + name + ",") != std::string::npos;
}

// ---- Small file helpers -------------------------------------------------------

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsRawName(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".raw";
}

// Flushes everything written to the file system of `folder`, so the next
// timed step does not share the disk with earlier write-back.
void SyncFolder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        syncfs(fd);
        close(fd);
    }
}

struct FolderSize {
    uint64_t bytes = 0;
    int files = 0;
};

FolderSize SizeOfFolder(const fs::path& folder) {
    FolderSize size;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        if (entry.is_regular_file()) {
            size.bytes += entry.file_size();
            ++size.files;
        }
    }
    return size;
}

uint64_t FreeBytes(const fs::path& folder) {
    struct statvfs info {};
    if (statvfs(folder.c_str(), &info) != 0) return 0;
    return static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
}

// Buffered sequential writes to a new file, with the position written so far.
class Writer {
public:
    explicit Writer(const fs::path& path) : fd_(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {
        buffer_.reserve(kBufferSize);
    }
    ~Writer() { Close(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool ok() const { return fd_ >= 0 && ok_; }
    uint64_t position() const { return position_; }

    void Append(const void* data, uint64_t size) {
        const auto* bytes = static_cast<const char*>(data);
        if (buffer_.size() + size > kBufferSize) Flush();
        if (size >= kBufferSize) {
            WriteAll(bytes, size);
        } else {
            buffer_.insert(buffer_.end(), bytes, bytes + size);
        }
        position_ += size;
    }
    void Append(const std::string& bytes) { Append(bytes.data(), bytes.size()); }

    // Overwrites bytes already written (and flushed).
    void PatchAt(uint64_t offset, const void* data, uint64_t size) {
        Flush();
        if (pwrite(fd_, data, size, static_cast<off_t>(offset)) != static_cast<ssize_t>(size)) ok_ = false;
    }

    bool Close() {
        if (fd_ >= 0) {
            Flush();
            if (close(fd_) != 0) ok_ = false;
            fd_ = -1;
        }
        return ok_;
    }

private:
    static constexpr uint64_t kBufferSize = 8 * kMiB;

    void Flush() {
        WriteAll(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
    void WriteAll(const char* data, uint64_t size) {
        while (size > 0 && ok()) {
            const ssize_t done = write(fd_, data, size);
            if (done <= 0) {
                ok_ = false;
                return;
            }
            data += done;
            size -= static_cast<uint64_t>(done);
        }
    }

    int fd_;
    bool ok_ = true;
    uint64_t position_ = 0;
    std::vector<char> buffer_;
};

// ---- The source file, as the native reader reads it ----------------------------

const char* PacketTypeName(uint32_t type) {
    switch (type) {
        case 18: return "ion-trap centroid";
        case 19: return "ion-trap profile";
        case 20: return "FT centroid";
        case 21: return "FT profile";
        default: return "other";
    }
}

struct SourceFile {
    fs::path path;
    std::string bytes;
    uint32_t version = 0;
    uint64_t runHeaderAddress = 0;
    uint64_t runHeaderSize = 0;
    native::RunHeader run;
    uint64_t scans = 0;
    uint64_t entrySize = 0;
    std::vector<native::ScanIndexEntry> entries;
    native::ScanEventTable events;
    std::vector<native::EventSpan> eventSpans;  // each scan's event in the stream
    uint64_t recordSize = 0;
    uint64_t packetBytes = 0;  // of one round
    std::unique_ptr<native::NativeRawFile> reader;
};

// Where each scan's event lies: the walk at open keeps where each block of
// events starts; the events of a block are stepped over one by one.
std::vector<native::EventSpan> EventSpans(const std::string& bytes, const native::ScanEventTable& events,
                                          uint64_t scans) {
    std::vector<native::EventSpan> spans;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    for (uint64_t block = 0; block + 1 < events.blockStarts.size(); ++block) {
        const native::EventSpan blockSpan = events.BlockSpan(block);
        native::ByteReader in(data + blockSpan.offset, blockSpan.size);
        for (uint64_t i = 0; i < native::ScanEventTable::kEventsPerBlock && spans.size() < scans; ++i) {
            const uint64_t start = in.position();
            native::SkipScanEvent(in, events.layout);
            spans.push_back({blockSpan.offset + start, in.position() - start});
        }
    }
    return spans;
}

// The index entry of scan ordinal `k`; a default entry when it cannot be read.
native::ScanIndexEntry EntryOf(native::ScanIndex& index, uint64_t k) {
    const native::ScanIndexEntry* entry = nullptr;
    return index.Entry(k, &entry) == rawfile::kOk ? *entry : native::ScanIndexEntry();
}

// Reads `path` with the native reader's own structure readers: the header
// chain down to the mass spectrometer's run header, the scan index, the
// event stream's per-scan spans and the trailer record size. Only standard
// packets (types 18 to 21, exactly the index entry's size in bytes) and
// per-scan event streams can be repeated.
bool LoadSource(const fs::path& path, SourceFile* source, std::string* why) {
    source->path = path;
    source->bytes = ReadWhole(path);
    const auto* data = reinterpret_cast<const uint8_t*>(source->bytes.data());
    const uint64_t size = source->bytes.size();
    const native::MemoryBytes file(data, size);

    native::ByteReader in(data, size);
    native::FileHeader header;
    native::RawFileInfo info;
    if (size == 0 || native::ReadFileHeader(in, &header) != rawfile::kOk ||
        !native::SkipSequencerRow(in, header.version) || !native::SkipAutosamplerInfo(in) ||
        native::ReadRawFileInfo(in, header.version, &info) != rawfile::kOk) {
        *why = "the header chain does not read";
        return false;
    }
    source->version = header.version;
    bool found = false;
    for (uint64_t address : info.runHeaderAddresses) {
        native::RunHeader run;
        if (native::ReadRunHeader(file, address, header.version, &run) != rawfile::kOk) break;
        if (run.scanEventAddress != 0) {
            source->run = run;
            source->runHeaderAddress = address;
            source->runHeaderSize = run.instrumentAddress - address;
            found = true;
            break;
        }
    }
    if (!found || native::CountScans(source->run, &source->scans) != rawfile::kOk || source->scans == 0) {
        *why = "no mass spectrometer run header with scans";
        return false;
    }
    native::ScanIndex index;
    if (index.Open(file, source->run.scanIndexAddress, source->scans, header.version) != rawfile::kOk) {
        *why = "the scan index does not read";
        return false;
    }
    source->entrySize = native::ScanIndexEntrySize(header.version);
    for (uint64_t k = 0; k < source->scans; ++k) {
        const native::ScanIndexEntry entry = EntryOf(index, k);
        const uint32_t type = entry.PacketType();
        if (type < 18 || type > 21) {
            *why = "scan " + std::to_string(k) + " has a packet of type " + std::to_string(type) +
                   " (only the standard packets, types 18 to 21, are repeated)";
            return false;
        }
        const uint64_t start = source->run.dataAddress + entry.packetOffset;
        if (start > size || entry.packetSize > size - start) {
            *why = "a packet lies outside the file";
            return false;
        }
        source->packetBytes += entry.packetSize;
        source->entries.push_back(entry);
    }
    if (native::IndexScanEvents(file, source->run, source->scans, header.version, &source->events) != rawfile::kOk ||
        !source->events.perScan) {
        *why = "the file holds no event per scan";
        return false;
    }
    source->eventSpans = EventSpans(source->bytes, source->events, source->scans);
    std::string reason;
    if (native::NativeRawFile::OpenBytes(std::make_unique<native::MemoryBytes>(data, size), &source->reader, &reason) !=
        rawfile::kOk) {
        *why = "the native reader does not open it: " + reason;
        return false;
    }
    source->recordSize = source->reader->trailerHeader().recordSize;
    return true;
}

// ---- The synthetic file ------------------------------------------------------------

// Run header fields rewritten (offsets within the header). What the reader
// reads back from them is checked after writing, so a wrong offset stops the
// bench instead of timing a file the reader sees differently.
constexpr uint64_t kLastScanField = 12;
constexpr uint64_t kScanEventCountField = 7376;
constexpr uint64_t kTrailerCountField = 7380;
constexpr uint64_t kScanIndexAddress32 = 28;
constexpr uint64_t kScanEventAddress32 = 7368;
constexpr uint64_t kTrailerAddress32 = 7372;
constexpr uint64_t kScanIndexAddress64 = 7408;
constexpr uint64_t kScanEventAddress64 = 7448;
constexpr uint64_t kTrailerAddress64 = 7456;
// Index entry fields rewritten; checked the same way through ScanIndex.
constexpr uint64_t kEntryPacketOffset32 = 0;
constexpr uint64_t kEntryOrdinal = 4;
constexpr uint64_t kEntryNextOrdinal = 12;
constexpr uint64_t kEntryRetentionTime = 24;
constexpr uint64_t kEntryPacketOffset64 = 72;

struct SyntheticPlan {
    uint64_t scans = 0;
    double roundMinutes = 0;             // retention time added per round
    uint64_t packetsAddress = 0;         // where the copied packets start
    std::vector<uint64_t> packetPrefix;  // bytes of the round's packets before each scan
    uint64_t indexAddress = 0;
    uint64_t eventsAddress = 0;
    uint64_t trailerAddress = 0;
    uint64_t fileSize = 0;
};

bool Wide(const SourceFile& source) { return source.version >= native::kFirstVersionWithWideAddresses; }

// The packet offset (from the data address) of synthetic scan k.
uint64_t PacketOffset(const SourceFile& source, const SyntheticPlan& plan, uint64_t k) {
    const uint64_t round = k / source.scans;
    const uint64_t scan = k % source.scans;
    return plan.packetsAddress - source.run.dataAddress + round * source.packetBytes + plan.packetPrefix[scan];
}

double RetentionTime(const SourceFile& source, const SyntheticPlan& plan, uint64_t k) {
    return source.entries[k % source.scans].retentionTime + static_cast<double>(k / source.scans) * plan.roundMinutes;
}

uint64_t EventBytes(const SourceFile& source) {
    return source.events.blockStarts.back() - source.events.blockStarts.front();
}

SyntheticPlan PlanSynthesis(const SourceFile& source, uint64_t targetBytes) {
    SyntheticPlan plan;
    const uint64_t n = source.scans;
    const uint64_t perRound = source.packetBytes + n * source.entrySize + EventBytes(source) + n * source.recordSize;
    const uint64_t original = source.bytes.size();
    const uint64_t wanted = targetBytes > original ? targetBytes - original : 0;
    const double perScan = static_cast<double>(perRound) / static_cast<double>(n);
    plan.scans = std::max<uint64_t>(n, static_cast<uint64_t>(std::ceil(static_cast<double>(wanted) / perScan)));
    const double firstMinutes = source.entries.front().retentionTime;
    const double lastMinutes = source.entries.back().retentionTime;
    plan.roundMinutes =
        n > 1 ? (lastMinutes - firstMinutes) * static_cast<double>(n) / static_cast<double>(n - 1) : 1.0;
    if (plan.roundMinutes <= 0) plan.roundMinutes = 1.0;
    uint64_t prefix = 0;
    for (const auto& entry : source.entries) {
        plan.packetPrefix.push_back(prefix);
        prefix += entry.packetSize;
    }
    const uint64_t rounds = plan.scans / n;
    const uint64_t rest = plan.scans % n;
    uint64_t packets = rounds * source.packetBytes + (rest > 0 ? plan.packetPrefix[rest] : 0);
    uint64_t events = 0;
    for (uint64_t k = 0; k < n; ++k) {
        const uint64_t times = rounds + (k < rest ? 1 : 0);
        events += times * source.eventSpans[k].size;
    }
    plan.packetsAddress = original;
    plan.indexAddress = plan.packetsAddress + packets;
    plan.eventsAddress = plan.indexAddress + plan.scans * source.entrySize;
    const uint64_t leading = source.events.blockStarts.front() - source.run.scanEventAddress;
    plan.trailerAddress = plan.eventsAddress + leading + events;
    plan.fileSize = plan.trailerAddress + plan.scans * source.recordSize;
    return plan;
}

// Writes the source file whole, then the copied packets, the scan index,
// the event stream and the trailer records of every synthetic scan, and
// points the run header at them.
bool WriteSynthetic(const SourceFile& source, const SyntheticPlan& plan, const fs::path& path, std::string* why) {
    const uint64_t n = source.scans;
    const bool wide = Wide(source);
    if (!wide && plan.fileSize > UINT32_MAX) {
        *why = "a version " + std::to_string(source.version) + " file holds 32-bit addresses: make it smaller";
        return false;
    }
    if (static_cast<int64_t>(source.run.firstScan) + static_cast<int64_t>(plan.scans) - 1 > INT32_MAX) {
        *why = "too many scans for 32-bit scan numbers";
        return false;
    }
    Writer out(path);
    out.Append(source.bytes);
    for (uint64_t k = 0; k < plan.scans; ++k) {
        const native::ScanIndexEntry& entry = source.entries[k % n];
        out.Append(source.bytes.data() + source.run.dataAddress + entry.packetOffset, entry.packetSize);
    }
    if (out.position() != plan.indexAddress) {
        *why = "packets do not end where planned";
        return false;
    }
    std::string entry;
    for (uint64_t k = 0; k < plan.scans; ++k) {
        const uint64_t scan = k % n;
        const uint64_t round = k / n;
        entry = source.bytes.substr(source.run.scanIndexAddress + scan * source.entrySize, source.entrySize);
        const uint64_t shift = round * n;
        Put<uint32_t>(&entry, kEntryOrdinal, static_cast<uint32_t>(Get<uint32_t>(entry, kEntryOrdinal) + shift));
        Put<uint32_t>(&entry, kEntryNextOrdinal,
                      static_cast<uint32_t>(Get<uint32_t>(entry, kEntryNextOrdinal) + shift));
        Put<double>(&entry, kEntryRetentionTime, RetentionTime(source, plan, k));
        const uint64_t offset = PacketOffset(source, plan, k);
        if (wide) {
            // The narrow field keeps the low half of the offset where the source does so.
            if (Get<uint32_t>(entry, kEntryPacketOffset32) ==
                static_cast<uint32_t>(source.entries[scan].packetOffset)) {
                Put<uint32_t>(&entry, kEntryPacketOffset32, static_cast<uint32_t>(offset));
            }
            Put<uint64_t>(&entry, kEntryPacketOffset64, offset);
        } else {
            Put<uint32_t>(&entry, kEntryPacketOffset32, static_cast<uint32_t>(offset));
        }
        out.Append(entry);
    }
    // The stream's leading bytes (before the first event), with the scan
    // count in them where the source keeps its count there.
    std::string leading = source.bytes.substr(source.run.scanEventAddress,
                                              source.events.blockStarts.front() - source.run.scanEventAddress);
    if (leading.size() == 4 && Get<uint32_t>(leading, 0) == n) {
        Put<uint32_t>(&leading, 0, static_cast<uint32_t>(plan.scans));
    }
    if (out.position() != plan.eventsAddress) {
        *why = "the index does not end where planned";
        return false;
    }
    out.Append(leading);
    for (uint64_t k = 0; k < plan.scans; ++k) {
        const native::EventSpan span = source.eventSpans[k % n];
        out.Append(source.bytes.data() + span.offset, span.size);
    }
    if (out.position() != plan.trailerAddress) {
        *why = "the event stream does not end where planned";
        return false;
    }
    for (uint64_t k = 0; k < plan.scans; ++k) {
        out.Append(source.bytes.data() + source.run.trailerExtraAddress + (k % n) * source.recordSize,
                   source.recordSize);
    }

    std::string header = source.bytes.substr(source.runHeaderAddress, source.runHeaderSize);
    const uint64_t highest = wide ? kTrailerAddress64 + 8 : kTrailerCountField + 4;
    if (header.size() < highest) {
        *why = "the run header is shorter than the fields to rewrite";
        return false;
    }
    Put<int32_t>(&header, kLastScanField,
                 static_cast<int32_t>(source.run.firstScan + static_cast<int64_t>(plan.scans) - 1));
    for (uint64_t field : {kScanEventCountField, kTrailerCountField}) {
        if (Get<uint32_t>(header, field) == n) Put<uint32_t>(&header, field, static_cast<uint32_t>(plan.scans));
    }
    if (wide) {
        Put<uint64_t>(&header, kScanIndexAddress64, plan.indexAddress);
        Put<uint64_t>(&header, kScanEventAddress64, plan.eventsAddress);
        Put<uint64_t>(&header, kTrailerAddress64, plan.trailerAddress);
    } else {
        Put<uint32_t>(&header, kScanIndexAddress32, static_cast<uint32_t>(plan.indexAddress));
        Put<uint32_t>(&header, kScanEventAddress32, static_cast<uint32_t>(plan.eventsAddress));
        Put<uint32_t>(&header, kTrailerAddress32, static_cast<uint32_t>(plan.trailerAddress));
    }
    out.PatchAt(source.runHeaderAddress, header.data(), header.size());
    if (!out.Close() || fs::file_size(path) != plan.fileSize) {
        *why = "writing " + path.string() + " failed";
        return false;
    }
    return true;
}

// Reads the synthetic file back: its run header and scan index through the
// reader's structure readers (every field that was rewritten must read as
// planned), then every scan through the native reader, against the source
// scan it copies: filter text, MS order, retention time and point count for
// all, and the points and every trailer value for the first two rounds, the
// last one and every 1009th scan.
bool VerifySynthetic(SourceFile& source, const SyntheticPlan& plan, const fs::path& path, std::string* why,
                     uint64_t* comparedInFull) {
    const uint64_t n = source.scans;
    {
        const auto file = native::DescriptorBytes::Open(path.string());
        native::RunHeader run;
        if (!file || native::ReadRunHeader(*file, source.runHeaderAddress, source.version, &run) != rawfile::kOk) {
            *why = "the run header does not read";
            return false;
        }
        uint64_t scans = 0;
        if (native::CountScans(run, &scans) != rawfile::kOk || scans != plan.scans ||
            run.firstScan != source.run.firstScan || run.scanIndexAddress != plan.indexAddress ||
            run.scanEventAddress != plan.eventsAddress || run.trailerExtraAddress != plan.trailerAddress ||
            run.dataAddress != source.run.dataAddress || run.errorLogAddress != source.run.errorLogAddress ||
            run.errorLogCount != source.run.errorLogCount ||
            run.filterMassPrecision != source.run.filterMassPrecision) {
            *why = "the run header reads back otherwise than written";
            return false;
        }
        native::ScanIndex index;
        if (index.Open(*file, run.scanIndexAddress, scans, source.version) != rawfile::kOk) {
            *why = "the scan index does not read";
            return false;
        }
        for (uint64_t k = 0; k < scans; ++k) {
            const native::ScanIndexEntry got = EntryOf(index, k);
            const native::ScanIndexEntry& copied = source.entries[k % n];
            if (got.packetOffset != PacketOffset(source, plan, k) ||
                got.retentionTime != RetentionTime(source, plan, k) || got.packetTypeWord != copied.packetTypeWord ||
                got.packetSize != copied.packetSize || got.eventNumber != copied.eventNumber ||
                got.segmentNumber != copied.segmentNumber) {
                *why = "index entry " + std::to_string(k) + " reads back otherwise than written";
                return false;
            }
        }
    }

    // What the source answers, scan by scan.
    struct Answer {
        std::string filter;
        int32_t order = 0;
        size_t values = 0;
    };
    std::vector<Answer> answers(n);
    std::vector<double> points;
    for (uint64_t s = 0; s < n; ++s) {
        const auto scan = static_cast<int32_t>(source.run.firstScan + static_cast<int64_t>(s));
        source.reader->GetFilterText(scan, &answers[s].filter);
        source.reader->GetMsOrder(scan, &answers[s].order);
        source.reader->GetMassList(scan, &points);
        answers[s].values = points.size();
    }

    std::unique_ptr<native::NativeRawFile> file;
    std::string reason;
    if (native::NativeRawFile::Open(path.string(), &file, &reason) != rawfile::kOk) {
        *why = "the native reader does not open it: " + reason;
        return false;
    }
    int32_t first = 0;
    int32_t last = 0;
    file->GetFirstScan(&first);
    file->GetLastScan(&last);
    if (first != source.run.firstScan || static_cast<uint64_t>(last - first + 1) != plan.scans) {
        *why = "the native reader answers another scan range";
        return false;
    }
    std::string filter;
    std::vector<double> expected;
    *comparedInFull = 0;
    for (uint64_t k = 0; k < plan.scans; ++k) {
        const uint64_t s = k % n;
        const auto scan = static_cast<int32_t>(first + static_cast<int64_t>(k));
        const auto sourceScan = static_cast<int32_t>(first + static_cast<int64_t>(s));
        int32_t order = 0;
        double minutes = 0;
        const bool same = file->GetFilterText(scan, &filter) == rawfile::kOk && filter == answers[s].filter &&
                          file->GetMsOrder(scan, &order) == rawfile::kOk && order == answers[s].order &&
                          file->GetRetentionTime(scan, &minutes) == rawfile::kOk &&
                          minutes == RetentionTime(source, plan, k) &&
                          file->GetMassList(scan, &points) == rawfile::kOk && points.size() == answers[s].values;
        if (!same) {
            *why = "scan " + std::to_string(scan) + " does not answer as source scan " + std::to_string(sourceScan);
            return false;
        }
        if (k < 2 * n || k + n >= plan.scans || k % 1009 == 0) {
            source.reader->GetMassList(sourceScan, &expected);
            if (expected.size() != points.size() ||
                std::memcmp(expected.data(), points.data(), points.size() * sizeof(double)) != 0) {
                *why = "the points of scan " + std::to_string(scan) + " differ from its source's";
                return false;
            }
            for (const native::FieldDescriptor& field : file->trailerHeader().fields) {
                rawfile::TrailerValue got;
                rawfile::TrailerValue want;
                const rawfile::Status a = file->GetTrailerValue(scan, field.label, &got);
                const rawfile::Status b = source.reader->GetTrailerValue(sourceScan, field.label, &want);
                if (a != b || !(got == want)) {
                    *why = "trailer value \"" + field.label + "\" of scan " + std::to_string(scan) +
                           " differs from its source's";
                    return false;
                }
            }
            ++*comparedInFull;
        }
    }
    return true;
}

// ---- Measured runs --------------------------------------------------------------

struct ChildMeasure {
    int status = -1;  // exit status, 128 + signal, -1 when it could not be started
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long peakRssKilobytes = -1;   // largest VmHWM sampled; -1: never sampled
    long peakAnonKilobytes = -1;  // largest RssAnon sampled
};

// RssAnon and VmHWM of a running process, when it already runs `name`
// (before the exec the process is still the bench).
bool SampleMemory(pid_t pid, const std::string& name, long* anon, long* hwm) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    const int fd = open(path, O_RDONLY);
    if (fd < 0) return false;
    char text[4096];
    const ssize_t size = read(fd, text, sizeof text - 1);
    close(fd);
    if (size <= 0) return false;
    text[size] = '\0';
    const std::string status(text);
    const std::string comm = name.substr(0, 15);
    if (status.rfind("Name:\t" + comm + "\n", 0) != 0) return false;
    const auto field = [&status](const char* label) -> long {
        const size_t at = status.find(label);
        return at == std::string::npos ? -1 : std::strtol(status.c_str() + at + std::strlen(label), nullptr, 10);
    };
    *anon = field("RssAnon:");
    *hwm = field("VmHWM:");
    return *anon >= 0;
}

// Starts `program` with `args` (standard input from /dev/null, standard
// output and error into `log`) and samples its memory until it ends.
ChildMeasure RunSampled(const std::string& program, const std::vector<std::string>& args, const fs::path& log) {
    ChildMeasure measure;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const std::string name = fs::path(program).filename().string();

    const auto start = Clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return measure;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) break;
        if (done < 0) return measure;
        long anon = 0;
        long hwm = 0;
        if (SampleMemory(pid, name, &anon, &hwm)) {
            measure.peakAnonKilobytes = std::max(measure.peakAnonKilobytes, anon);
            measure.peakRssKilobytes = std::max(measure.peakRssKilobytes, hwm);
        }
        const timespec pause{0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    measure.wallSeconds = Seconds(start);
    measure.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    measure.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return measure;
}

// Reads every file whole with 1 MiB read() calls; answers the seconds, or -1.
double ReadFiles(const std::vector<fs::path>& files) {
    std::vector<char> buffer(kMiB);
    const auto start = Clock::now();
    for (const fs::path& path : files) {
        const int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0) return -1;
        while (true) {
            const ssize_t got = read(fd, buffer.data(), buffer.size());
            if (got < 0) {
                close(fd);
                return -1;
            }
            if (got == 0) break;
        }
        close(fd);
    }
    return Seconds(start);
}

struct WriteFloor {
    double writeSeconds = -1;
    double fsyncSeconds = -1;
};

// Writes `bytes` bytes of text with 1 MiB write() calls to a new file in
// `folder`, then fsyncs it (timed apart) and removes it.
WriteFloor MeasureWrite(const fs::path& folder, uint64_t bytes) {
    WriteFloor floor;
    const fs::path path = folder / "write_floor.tmp";
    std::vector<char> buffer(kMiB);
    const char line[] = "1234.56789 98765.4\n";
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = line[i % (sizeof line - 1)];
    SyncFolder(folder);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return floor;
    const auto start = Clock::now();
    uint64_t left = bytes;
    bool ok = true;
    while (left > 0 && ok) {
        const size_t piece = left < buffer.size() ? static_cast<size_t>(left) : buffer.size();
        ok = write(fd, buffer.data(), piece) == static_cast<ssize_t>(piece);
        left -= piece;
    }
    floor.writeSeconds = Seconds(start);
    const auto synced = Clock::now();
    ok = fsync(fd) == 0 && ok;
    floor.fsyncSeconds = Seconds(synced);
    close(fd);
    fs::remove(path);
    if (!ok) floor = WriteFloor();
    return floor;
}

// The output files spexor makes for each RAW file with these options: every
// file exists from the start of the file's conversion and the empty ones
// are removed at its end. One MS1 file; MS2, MS3, MGF and KSD each six
// files split by activation and analyzer, or one merged (-a).
int OutputFilesPerInput(const std::vector<std::string>& kinds) {
    const bool merged = std::find(kinds.begin(), kinds.end(), "-a") != kinds.end();
    int files = 0;
    for (const std::string& kind : kinds) {
        if (kind == "-ms1") files += 1;
        if (kind == "-ms2" || kind == "-ms3" || kind == "-mgf" || kind == "-ksd") files += merged ? 1 : 6;
        if (kind == "-mzml") files += 1;
    }
    return files;
}

// The file-system work of those files alone: creates `created` empty files
// in `folder`, one after the other as spexor does, then removes all but
// `kept` of them. Returns the seconds taken, -1 when a file cannot be made.
double MeasureFileLifecycle(const fs::path& folder, int created, int kept) {
    const auto path = [&folder](int i) { return folder / ("lifecycle_" + std::to_string(i) + ".mgf"); };
    SyncFolder(folder);
    const auto start = Clock::now();
    for (int i = 0; i < created; ++i) {
        const int fd = open(path(i).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return -1;
        close(fd);
    }
    for (int i = kept; i < created; ++i) unlink(path(i).c_str());
    return Seconds(start);
}

struct Row {
    std::string input;  // which input
    std::string run;    // which conversion
    uint64_t scans = 0;
    uint64_t inputBytes = 0;
    ChildMeasure child;
    FolderSize output;
    double readSeconds = -1;
    WriteFloor write;
    double filesSeconds = -1;  // MeasureFileLifecycle for the files of this run
};

std::vector<Row> g_rows;

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void PrintHeader() {
    std::printf(
        "| input | run | exit | scans | in GB | out GB | wall s | CPU s | GB/s wall | GB/s CPU | CPU us/scan | "
        "peak RSS MB | peak anon MB | read floor GB/s | write floor GB/s | I/O floor s | wall/floor | fsync s | "
        "files s | wall/(floor + files) |\n"
        "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
}

void PrintRow(const Row& row) {
    const double in = static_cast<double>(row.inputBytes);
    const double out = static_cast<double>(row.output.bytes);
    const ChildMeasure& c = row.child;
    const double floorSeconds = row.readSeconds + row.write.writeSeconds;
    std::printf(
        "| %s | %s | %d | %llu | %.3f | %.3f | %.2f | %.2f | %.4f | %.4f | %.1f | %s | %s | %s | %s | %s | %s | %s "
        "| %s | %s |\n",
        row.input.c_str(), row.run.c_str(), c.status, static_cast<unsigned long long>(row.scans), in / 1e9, out / 1e9,
        c.wallSeconds, c.cpuSeconds, in / c.wallSeconds / 1e9, in / c.cpuSeconds / 1e9,
        c.cpuSeconds * 1e6 / static_cast<double>(row.scans),
        c.peakRssKilobytes < 0 ? "n/a" : Fixed(static_cast<double>(c.peakRssKilobytes) / 1024.0, 1).c_str(),
        c.peakAnonKilobytes < 0 ? "n/a" : Fixed(static_cast<double>(c.peakAnonKilobytes) / 1024.0, 1).c_str(),
        row.readSeconds > 0 ? Fixed(in / row.readSeconds / 1e9, 2).c_str() : "n/a",
        row.write.writeSeconds > 0 ? Fixed(out / row.write.writeSeconds / 1e9, 2).c_str() : "n/a",
        row.readSeconds >= 0 && row.write.writeSeconds >= 0 ? Fixed(floorSeconds, 3).c_str() : "n/a",
        floorSeconds > 0 ? (Fixed(c.wallSeconds / floorSeconds, 1) + "x").c_str() : "n/a",
        row.write.fsyncSeconds >= 0 ? Fixed(row.write.fsyncSeconds, 2).c_str() : "n/a",
        row.filesSeconds >= 0 ? Fixed(row.filesSeconds, 3).c_str() : "n/a",
        floorSeconds > 0 && row.filesSeconds >= 0 ? (Fixed(c.wallSeconds / (floorSeconds + row.filesSeconds), 1) + "x").c_str()
                                                   : "n/a");
    std::fflush(stdout);
}

// One conversion of `inputs` (files or folders) into `work`/out, with the
// I/O floor measured around it.
Row ConvertOnce(const std::string& spexor, const std::string& jobs, const fs::path& work, const std::string& label,
                const std::string& run, const std::vector<std::string>& kinds, const std::vector<fs::path>& inputFiles,
                const std::vector<std::string>& inputs, uint64_t scans, uint64_t inputBytes) {
    Row row;
    row.input = label;
    row.run = run;
    row.scans = scans;
    row.inputBytes = inputBytes;
    const fs::path out = work / "out";
    fs::remove_all(out);
    fs::create_directories(out);

    SyncFolder(work);
    ReadFiles(inputFiles);  // warm-up: the input is in the page cache for the floor and for spexor alike
    row.readSeconds = ReadFiles(inputFiles);

    std::vector<std::string> args;
    if (!jobs.empty()) args.insert(args.end(), {"-j", jobs});
    args.insert(args.end(), kinds.begin(), kinds.end());
    args.insert(args.end(), {"-o", out.string()});
    args.insert(args.end(), inputs.begin(), inputs.end());
    SyncFolder(work);
    const fs::path log = work / "spexor.log";
    row.child = RunSampled(spexor, args, log);
    row.output = SizeOfFolder(out);
    if (row.child.status != 0) {
        std::printf("%s exited with status %d; the end of its output (%s):\n", spexor.c_str(), row.child.status,
                    log.c_str());
        std::string text = ReadWhole(log);
        std::printf("%s\n", text.substr(text.size() > 600 ? text.size() - 600 : 0).c_str());
    }
    fs::remove_all(out);
    fs::create_directories(out);
    row.write = MeasureWrite(out, row.output.bytes);
    fs::remove_all(out);
    fs::create_directories(out);
    row.filesSeconds = MeasureFileLifecycle(out, static_cast<int>(inputFiles.size()) * OutputFilesPerInput(kinds),
                                            row.output.files);
    fs::remove_all(out);
    fs::remove(log);
    return row;
}

// The fastest of `options.repeat` runs, beside the fastest read and write
// floors of those runs.
Row Fastest(const std::vector<Row>& rows) {
    Row best = rows.front();
    for (const Row& row : rows) {
        if (row.child.wallSeconds < best.child.wallSeconds) {
            const double read = best.readSeconds;
            const WriteFloor write = best.write;
            const double files = best.filesSeconds;
            best = row;
            best.readSeconds = read;
            best.write = write;
            best.filesSeconds = files;
        }
        best.readSeconds = std::min(best.readSeconds, row.readSeconds);
        if (row.write.writeSeconds >= 0 && (best.write.writeSeconds < 0 || row.write.writeSeconds < best.write.writeSeconds))
            best.write = row.write;
        if (row.filesSeconds >= 0 && (best.filesSeconds < 0 || row.filesSeconds < best.filesSeconds))
            best.filesSeconds = row.filesSeconds;
    }
    return best;
}

// Converts the inputs with spexor (and the baseline, when there is one,
// right after each of its runs), prints the row of each and keeps it with
// the I/O floor measured around it.
void Convert(const Options& options, const fs::path& work, const std::string& label, const std::string& run,
             const std::vector<std::string>& kinds, const std::vector<fs::path>& inputFiles,
             const std::vector<std::string>& inputs, uint64_t scans, uint64_t inputBytes) {
    std::vector<Row> runs;
    std::vector<Row> baselineRuns;
    for (int i = 0; i < options.repeat; ++i) {
        runs.push_back(ConvertOnce(options.spexor, options.jobs, work, label, run, kinds, inputFiles, inputs, scans,
                                   inputBytes));
        if (options.baseline.empty()) continue;
        baselineRuns.push_back(ConvertOnce(options.baseline, options.baselineJobs, work, label, run + " [baseline]",
                                           kinds, inputFiles, inputs, scans, inputBytes));
    }
    for (const std::vector<Row>* rows : {&runs, &baselineRuns}) {
        if (rows->empty()) continue;
        const Row row = Fastest(*rows);
        PrintRow(row);
        g_rows.push_back(row);
    }
}

// The last rows of an input's "mgf" and "mzml" runs.
const Row* LastRow(const std::string& input, const std::string& run) {
    for (auto it = g_rows.rbegin(); it != g_rows.rend(); ++it)
        if (it->input == input && it->run == run) return &*it;
    return nullptr;
}

// mzML alone against MGF alone on the same input: the wall-time ratio
// (target at most 2) and mzML's peak RSS (target below 64 MB).
void PrintMzmlAgainstMgf(const std::string& input) {
    const Row* mgf = LastRow(input, "mgf");
    const Row* mzml = LastRow(input, "mzml");
    if (mgf == nullptr || mzml == nullptr || mgf->child.wallSeconds <= 0) return;
    const double ratio = mzml->child.wallSeconds / mgf->child.wallSeconds;
    const double peakMegabytes = static_cast<double>(mzml->child.peakRssKilobytes) / 1024.0;
    std::printf("%s: mzML alone %.2f s wall, MGF alone %.2f s: %.2f times (target <= 2: %s); mzML peak RSS %.1f MB "
                "(target < 64: %s)\n\n",
                input.c_str(), mzml->child.wallSeconds, mgf->child.wallSeconds, ratio, ratio <= 2.0 ? "met" : "missed",
                peakMegabytes, mzml->child.peakRssKilobytes >= 0 && peakMegabytes < 64.0 ? "met" : "missed");
}

const std::vector<std::string> kEveryKind = {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd"};

void ConvertFourWays(const Options& options, const fs::path& work, const std::string& label, const fs::path& file,
                     uint64_t scans) {
    const uint64_t bytes = fs::file_size(file);
    std::vector<std::string> merged = kEveryKind;
    merged.insert(merged.begin(), "-a");
    PrintHeader();
    Convert(options, work, label, "split", kEveryKind, {file}, {file.string()}, scans, bytes);
    Convert(options, work, label, "merged", merged, {file}, {file.string()}, scans, bytes);
    Convert(options, work, label, "mgf", {"-mgf"}, {file}, {file.string()}, scans, bytes);
    Convert(options, work, label, "mzml", {"-mzml"}, {file}, {file.string()}, scans, bytes);
    PrintMzmlAgainstMgf(label);
}

fs::path SourcePath(const Options& options, const std::string& name) {
    const fs::path given = name;
    return fs::exists(given) && given.has_parent_path() ? given : options.data / given;
}

// Synthesises a file of the size asked for from `sourceName`, checks it
// reads, converts it four ways and removes it (unless --keep).
void SyntheticCase(const Options& options, const fs::path& work, const std::string& label,
                   const std::string& sourceName) {
    SourceFile source;
    std::string why;
    const fs::path sourcePath = SourcePath(options, sourceName);
    if (!LoadSource(sourcePath, &source, &why)) {
        std::printf("%s: %s cannot be repeated: %s\n\n", label.c_str(), sourcePath.c_str(), why.c_str());
        return;
    }
    const auto target = static_cast<uint64_t>(options.gigabytes * 1e9);
    const SyntheticPlan plan = PlanSynthesis(source, target);
    if (FreeBytes(work) < plan.fileSize * 3) {
        std::printf("%s: less than %.1f GB free in %s for the file and the outputs; skipped\n\n", label.c_str(),
                    static_cast<double>(plan.fileSize) * 3 / 1e9, work.c_str());
        return;
    }
    std::map<uint32_t, uint64_t> typeBytes;
    std::map<uint32_t, uint64_t> typeScans;
    for (const auto& entry : source.entries) {
        typeBytes[entry.PacketType()] += entry.packetSize;
        ++typeScans[entry.PacketType()];
    }
    std::string mix;
    for (const auto& [type, bytes] : typeBytes) {
        if (!mix.empty()) mix += ", ";
        mix += std::string(PacketTypeName(type)) + " (type " + std::to_string(type) + ") " +
               std::to_string(typeScans[type]) + " scans " +
               Fixed(100.0 * static_cast<double>(bytes) / static_cast<double>(source.packetBytes), 0) +
               "% of packet bytes";
    }
    std::printf("%s: from %s (version %u, %llu scans, %.2f MB; %s)\n", label.c_str(), sourcePath.filename().c_str(),
                source.version, static_cast<unsigned long long>(source.scans),
                static_cast<double>(source.bytes.size()) / 1e6, mix.c_str());

    const fs::path path = work / (label + "_" + sourcePath.stem().string() + ".raw");
    auto start = Clock::now();
    if (!WriteSynthetic(source, plan, path, &why)) {
        std::printf("%s: synthesis failed: %s\n\n", label.c_str(), why.c_str());
        fs::remove(path);
        return;
    }
    const double written = Seconds(start);
    std::printf(
        "%s: %s, %llu scans (%.1f rounds), %.3f GB: packets %.3f GB, index %.1f MB, events %.1f MB, trailer %.1f MB; "
        "written in %.1f s\n",
        label.c_str(), path.c_str(), static_cast<unsigned long long>(plan.scans),
        static_cast<double>(plan.scans) / static_cast<double>(source.scans), static_cast<double>(plan.fileSize) / 1e9,
        static_cast<double>(plan.indexAddress - plan.packetsAddress) / 1e9,
        static_cast<double>(plan.eventsAddress - plan.indexAddress) / 1e6,
        static_cast<double>(plan.trailerAddress - plan.eventsAddress) / 1e6,
        static_cast<double>(plan.fileSize - plan.trailerAddress) / 1e6, written);
    start = Clock::now();
    uint64_t compared = 0;
    if (!VerifySynthetic(source, plan, path, &why, &compared)) {
        std::printf("%s: the synthetic file does not read as its source: %s\n\n", label.c_str(), why.c_str());
        if (!options.keep) fs::remove(path);
        return;
    }
    std::printf(
        "%s: read back through the native reader in %.1f s: every scan's filter text, MS order, retention time "
        "and point count as its source scan's; points and trailer values compared in full on %llu scans\n",
        label.c_str(), Seconds(start), static_cast<unsigned long long>(compared));
    source.reader.reset();
    source.bytes.clear();
    source.bytes.shrink_to_fit();

    ConvertFourWays(options, work, label, path, plan.scans);
    if (!options.keep) fs::remove(path);
    std::printf("\n");
}

// Scans of a RAW file as the native reader counts them.
uint64_t ScanCount(const fs::path& path) {
    std::unique_ptr<native::NativeRawFile> file;
    if (native::NativeRawFile::Open(path.string(), &file) != rawfile::kOk) return 0;
    int32_t first = 0;
    int32_t last = 0;
    file->GetFirstScan(&first);
    file->GetLastScan(&last);
    return last >= first ? static_cast<uint64_t>(last - first + 1) : 0;
}

// A folder of copies of every real file that spexor -mgf converts to the
// end on its own (a file that cannot be opened, or a triple-quadrupole file
// in split mode, ends spexor's whole run), converted to MGF.
void FolderCase(const Options& options, const fs::path& work) {
    const fs::path folder = work / "copies";
    const fs::path probe = work / "probe";
    fs::create_directories(folder);
    std::vector<fs::path> real;
    for (const auto& entry : fs::directory_iterator(options.data)) {
        if (entry.is_regular_file() && IsRawName(entry.path())) real.push_back(entry.path());
    }
    std::sort(real.begin(), real.end());
    std::vector<fs::path> files;
    uint64_t scans = 0;
    uint64_t bytes = 0;
    int used = 0;
    std::string left;
    for (const fs::path& path : real) {
        const ChildMeasure alone =
            RunSampled(options.spexor, {"-mgf", "-o", probe.string(), path.string()}, work / "probe.log");
        fs::remove_all(probe);
        fs::remove(work / "probe.log");
        if (alone.status != 0) {
            left +=
                (left.empty() ? "" : ", ") + path.filename().string() + " (exit " + std::to_string(alone.status) + ")";
            continue;
        }
        ++used;
        const uint64_t fileScans = ScanCount(path);
        for (int copy = 0; copy < options.copies; ++copy) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "-%02d", copy);
            const fs::path target = folder / (path.stem().string() + suffix + path.extension().string());
            fs::copy_file(path, target, fs::copy_options::overwrite_existing);
            files.push_back(target);
            scans += fileScans;
            bytes += fs::file_size(target);
        }
    }
    std::printf("folder: %d copies of each of %d real files, %zu files, %llu scans, %.3f GB in %s\n", options.copies,
                used, files.size(), static_cast<unsigned long long>(scans), static_cast<double>(bytes) / 1e9,
                folder.c_str());
    if (!left.empty()) std::printf("folder: left out, as spexor -mgf does not convert them alone: %s\n", left.c_str());
    if (!files.empty()) {
        PrintHeader();
        Convert(options, work, "folder", "mgf", {"-mgf"}, files, {folder.string()}, scans, bytes);
    }
    if (!options.keep) fs::remove_all(folder);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        PrintUsage();
        return 2;
    }
    if (access(options.spexor.c_str(), X_OK) != 0) {
        std::printf("no spexor at %s\n", options.spexor.c_str());
        return 1;
    }
    if (!fs::is_directory(options.data)) {
        std::printf("no RAW files: %s is not a folder\n", options.data.c_str());
        return 1;
    }
    std::string pattern = (options.work / "large_file_bench.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::printf("cannot make a work folder in %s\n", options.work.c_str());
        return 1;
    }
    const fs::path work = pattern;
    std::printf("spexor %s%s; work folder %s; %.2f GB per synthetic file\n", options.spexor.c_str(),
                options.jobs.empty() ? "" : (" -j " + options.jobs).c_str(), work.c_str(), options.gigabytes);
    std::printf(
        "floor: read = the input from the page cache, 1 MiB read() calls after a warm-up read; write = as many "
        "bytes as spexor wrote, 1 MiB write() calls to one file in the output folder, fsync not included (its time "
        "is its own column); I/O floor s = read + write; wall/floor = spexor's wall time over it; files s = "
        "creating, one after the other, as many empty files as spexor makes (every output file of every RAW file "
        "exists from the start of its conversion) and removing those it removed; peak RSS = VmHWM and "
        "peak anon = RssAnon of spexor's /proc/<pid>/status, sampled every 10 ms\n\n");

    if (WantsCase(options, "centroid")) SyntheticCase(options, work, "centroid", options.centroidSource);
    if (WantsCase(options, "profile")) SyntheticCase(options, work, "profile", options.profileSource);
    if (WantsCase(options, "folder")) FolderCase(options, work);

    if (!g_rows.empty()) {
        std::printf("All runs:\n");
        PrintHeader();
        for (const Row& row : g_rows) PrintRow(row);
    }
    if (!options.keep) {
        fs::remove_all(work);
    } else {
        std::printf("kept: %s\n", work.c_str());
    }
    bool allConverted = true;
    for (const Row& row : g_rows) allConverted = allConverted && row.child.status == 0;
    return allConverted ? 0 : 1;
}
