// libFuzzer target for the chain from the file header to the run header,
// and what the run header's addresses lead to. Each input is turned into a
// RAW file in memory: a valid file header of the version the input picks,
// a sequencer row, autosampler information and raw file information whose
// controller table points at the run header(s), then the run header filled
// from the input, its addresses pointing into the input's remaining bytes,
// which follow it. The file is opened from memory and, when it opens,
// every operation is asked of every scan (exercise_raw_file.h).
//
// The input gives, in order: the version byte (below 240: version 57 plus
// the byte mod 10; 240 to 254: versions 67 to 81; 255: version 56); a flag
// byte (bit 0: a controller without scan events comes first; bit 1: the
// bytes are read into the reader's buffers, as from a file, instead of
// being read in place); i32 first
// and last scan, u32 error log count, trailer-extra count and filter mass
// precision, u64 creation time; six u32 addresses (scan index, data,
// instrument log, error log, scan event, trailer extra) counted from the
// start of the remaining bytes; then those bytes.
//
// Rules checked, besides those of a whole file: a version outside 57 to 66
// is unsupported; any other file, its chain being sound, opens or is
// damaged (never "not a RAW file"; without a mass spectrometer only when
// its 32-bit scan event address wraps to 0);
// an open file tells the input's version, scan range and creation date.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "exercise_raw_file.h"
#include "fuzz_support.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/file_header.h"
#include "rawfile/native/native_raw_file.h"

namespace {

using fuzz::Require;
using rawfile::Status;

class FileWriter {
public:
    void Bytes(const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        out_.insert(out_.end(), bytes, bytes + size);
    }
    template <typename T>
    void Put(T value) {
        Bytes(&value, sizeof value);
    }
    void Zeros(size_t count) { out_.resize(out_.size() + count, 0); }
    void EmptyText() { Put<int32_t>(0); }
    template <typename T>
    void PutAt(size_t at, T value) {
        std::memcpy(out_.data() + at, &value, sizeof value);
    }
    size_t size() const { return out_.size(); }
    std::vector<uint8_t>& bytes() { return out_; }

private:
    std::vector<uint8_t> out_;
};

uint32_t VersionOf(uint8_t selector) {
    if (selector < 240) {
        return 57 + selector % 10;
    }
    return selector == 255 ? 56 : 67 + (selector - 240u);
}

struct RunValues {
    int32_t firstScan = 0;
    int32_t lastScan = 0;
    uint32_t errorLogCount = 0;
    uint32_t trailerCount = 0;
    uint32_t precision = 0;
    uint64_t addresses[6] = {};  // absolute
};

void WriteRunHeader(FileWriter& out, uint32_t version, const RunValues& values) {
    const bool wide = version >= rawfile::native::kFirstVersionWithWideAddresses;
    const size_t at = out.size();
    out.Zeros(wide ? 7576 : 7408);
    out.PutAt<uint32_t>(at, 1);
    out.PutAt(at + 8, values.firstScan);
    out.PutAt(at + 12, values.lastScan);
    out.PutAt(at + 20, values.errorLogCount);
    out.PutAt(at + 7380, values.trailerCount);
    out.PutAt(at + 7404, values.precision);
    const size_t places[6] = {wide ? 7408u : 28u, wide ? 7416u : 32u, wide ? 7424u : 36u,
                              wide ? 7432u : 40u, wide ? 7448u : 7368u, wide ? 7456u : 7372u};
    for (int i = 0; i < 6; ++i) {
        if (wide) {
            out.PutAt<uint64_t>(at + places[i], values.addresses[i]);
        } else {
            out.PutAt<uint32_t>(at + places[i], static_cast<uint32_t>(values.addresses[i]));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Controls controls(data, size);
    const uint32_t version = VersionOf(controls.U8());
    const uint8_t flags = controls.U8();
    const bool otherControllerFirst = (flags & 1) != 0;
    RunValues values;
    values.firstScan = controls.I32();
    values.lastScan = controls.I32();
    values.errorLogCount = controls.U32();
    values.trailerCount = controls.U32();
    values.precision = controls.U32();
    const uint64_t creation = controls.U64();
    uint32_t relative[6];
    for (uint32_t& address : relative) {
        address = controls.U32();
    }

    FileWriter out;
    // File header: magic, "Finnigan", version, creation time.
    out.Zeros(rawfile::native::kFileHeaderSize);
    out.PutAt<uint16_t>(0, 0xA101);
    const char16_t signature[] = u"Finnigan";
    std::memcpy(out.bytes().data() + 2, signature, 16);
    out.PutAt<uint32_t>(36, version);
    out.PutAt<uint64_t>(40, creation);
    // Sequencer row: injection data, 13 + 3 texts, a word, 15 more texts from version 60.
    out.Zeros(64);
    for (int i = 0; i < 16; ++i) {
        out.EmptyText();
    }
    out.Put<uint32_t>(0);
    if (version >= 60) {
        for (int i = 0; i < 15; ++i) {
            out.EmptyText();
        }
    }
    // Autosampler information: six words and a text.
    out.Zeros(24);
    out.EmptyText();
    // Raw file information: the controller table in its preamble.
    const bool wide = version >= rawfile::native::kFirstVersionWithWideAddresses;
    const size_t preamble = version < 64 ? 804 : (version < 66 ? 1840 : 1856);
    const size_t table = wide ? 824 : 44;
    const size_t entry = wide ? 16 : 12;
    const size_t info = out.size();
    out.Zeros(preamble);
    const uint32_t controllers = otherControllerFirst ? 2 : 1;
    out.PutAt<uint32_t>(info + 28, controllers);
    const size_t runHeaderSize = wide ? 7576 : 7408;
    const uint64_t firstRunHeader = out.size();
    const uint64_t base = firstRunHeader + controllers * runHeaderSize;
    for (uint32_t i = 0; i < controllers; ++i) {
        const uint64_t address = firstRunHeader + i * runHeaderSize;
        if (wide) {
            out.PutAt<uint64_t>(info + table + i * entry, address);
        } else {
            out.PutAt<uint32_t>(info + table + i * entry, static_cast<uint32_t>(address));
        }
    }
    if (otherControllerFirst) {
        WriteRunHeader(out, version, RunValues());  // no scan events: not the mass spectrometer
    }
    for (int i = 0; i < 6; ++i) {
        values.addresses[i] = base + relative[i];
    }
    WriteRunHeader(out, version, values);
    out.Bytes(controls.rest(), controls.restSize());

    // An exactly-sized copy, so that a read past the end meets the sanitizer.
    const size_t fileSize = out.size();
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[fileSize]);
    std::memcpy(bytes.get(), out.bytes().data(), fileSize);

    using rawfile::native::NativeRawFile;
    std::unique_ptr<NativeRawFile> file;
    std::string reason;
    std::unique_ptr<rawfile::native::FileBytes> source;
    if ((flags & 2) != 0) {
        source = std::make_unique<fuzz::CopyingBytes>(bytes.get(), fileSize);
    } else {
        source = std::make_unique<rawfile::native::MemoryBytes>(bytes.get(), fileSize);
    }
    const Status status = NativeRawFile::OpenBytes(std::move(source), &file, &reason);
    const bool supported = version >= rawfile::native::kOldestVersion && version <= rawfile::native::kNewestVersion;
    if (!supported) {
        Require(status == rawfile::kUnsupported && file == nullptr, "an unknown version is unsupported");
        Require(reason.find(std::to_string(version)) != std::string::npos, "the reason names the version");
        return 0;
    }
    // A 32-bit scan event address may wrap to 0: no mass spectrometer then.
    const uint64_t eventAddress = wide ? values.addresses[4] : static_cast<uint32_t>(values.addresses[4]);
    if (status == rawfile::kFailed) {
        Require(eventAddress == 0 && file == nullptr, "no mass spectrometer only without a scan event address");
        return 0;
    }
    if (status != rawfile::kOk) {
        Require(status == rawfile::kDamaged && file == nullptr, "a sound header chain opens or is damaged");
        Require(!reason.empty(), "a failed open gives a reason");
        return 0;
    }
    Require(file != nullptr && file->version() == version, "an open file tells its version");
    int32_t first = 0;
    int32_t last = 0;
    file->GetFirstScan(&first);
    file->GetLastScan(&last);
    if (values.firstScan >= 1 && values.lastScan >= values.firstScan) {
        Require(first == values.firstScan && last == values.lastScan, "an open file tells its scan range");
    } else {
        Require(first == 1 && last == 0, "a file without scans tells the empty range");
    }
    double created = 0;
    file->GetCreationDate(&created);
    Require(created == rawfile::native::FiletimeToAutomationDate(creation), "an open file tells its creation date");
    fuzz::ExerciseFile(*file, fileSize);
    return 0;
}
