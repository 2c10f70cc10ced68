// libFuzzer target for FT packets (centroid type 20, profile type 21) read
// the way a scan's mass list is: through DecodeMassList, from an index
// entry into the bytes of a file held in memory. The input gives, in order: a byte whose
// low bit picks the type and whose other bits fill the high half of the
// type word; the number of coefficients (0 to 8) and the f64 coefficients;
// u16 data address, u16 packet offset (from the data address) and u32
// packet size; the rest is the file.
//
// Rules checked: a known status; no points unless it succeeds (whatever
// the list held before); whole pairs, bounded by the packet size; the high
// half of the type word does not matter; and the points are exactly those
// of the packet's own blocks decoded one by one.

#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/profile_points.h"
#include "rawfile/native/scan_packet.h"
#include "rawfile/native/standard_packet.h"

namespace {

using fuzz::Require;
using rawfile::Status;
using rawfile::native::ByteReader;
using rawfile::native::FileBytes;
using rawfile::native::MemoryBytes;
using rawfile::native::ReadBuffer;
using rawfile::native::ScanEvent;
using rawfile::native::ScanIndexEntry;

// Standard packets are laid out alike in every format version.
constexpr uint32_t kFormatVersion = 66;

// The mass list decoded step by step from the packet's blocks.
Status DecodeByBlocks(const FileBytes& file, uint64_t address, uint32_t packetSize, uint32_t type,
                      const ScanEvent& event, std::vector<double>* pairs) {
    ReadBuffer buffer;
    const ByteReader region = file.Read(address, packetSize, buffer);
    if (!region.ok()) {
        return rawfile::kDamaged;
    }
    rawfile::native::StandardPacket packet;
    if (const Status status = rawfile::native::ReadStandardPacket(region, &packet); status != rawfile::kOk) {
        return status;
    }
    if (type == rawfile::native::kFtCentroid) {
        return rawfile::native::AppendPeakList(packet.peaks, packet.PeakMassesAreDoubles(), packet.segmentCount,
                                               pairs);
    }
    if (packet.profile.size() == 0) {
        return rawfile::kOk;
    }
    if (packet.segmentCount > 1) {
        return rawfile::kUnsupported;
    }
    rawfile::native::ProfileBlock profile;
    if (const Status status = rawfile::native::ReadProfileBlock(packet.profile, packet.ChunksCarryFudge(), &profile);
        status != rawfile::kOk) {
        return status;
    }
    return rawfile::native::AppendFtProfile(profile, event.coefficients, pairs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Controls controls(data, size);
    const uint8_t selector = controls.U8();
    const uint32_t type = (selector & 1) != 0 ? rawfile::native::kFtProfile : rawfile::native::kFtCentroid;
    ScanEvent event;
    event.coefficients.resize(controls.U8() % 9);
    for (double& value : event.coefficients) {
        value = controls.F64();
    }
    const uint64_t dataAddress = controls.U16();
    ScanIndexEntry entry;
    entry.packetOffset = controls.U16();
    entry.packetSize = controls.U32();
    entry.packetTypeWord = type | (static_cast<uint32_t>(selector >> 1) << 16);
    const MemoryBytes file(controls.rest(), controls.restSize());
    ReadBuffer buffer;

    std::vector<double> pairs = {1.0, 2.0, 3.0};  // what a previous scan left
    const Status status = rawfile::native::DecodeMassList(file, kFormatVersion, dataAddress, entry, event, buffer, &pairs);
    Require(status == rawfile::kOk || status == rawfile::kDamaged || status == rawfile::kUnsupported,
            "mass list status is ok, damaged or unsupported");
    if (status != rawfile::kOk) {
        Require(pairs.empty(), "a failed mass list holds no points");
    }
    Require(pairs.size() % 2 == 0, "points come in (m/z, intensity) pairs");
    const uint64_t points = pairs.size() / 2;
    if (type == rawfile::native::kFtCentroid) {
        Require(points <= entry.packetSize / 8, "no more peaks than the packet holds");
    } else {
        Require(points <= entry.packetSize / 4 + 8 * (entry.packetSize / 8 + 1ull),
                "no more profile points than the packet's bins and padding");
    }

    ScanIndexEntry plain = entry;
    plain.packetTypeWord = type;
    std::vector<double> again;
    Require(rawfile::native::DecodeMassList(file, kFormatVersion, dataAddress, plain, event, buffer, &again) == status &&
                fuzz::SameBits(again, pairs),
            "the high half of the type word does not change the mass list");

    std::vector<double> expected;
    Status expectedStatus = rawfile::kDamaged;
    if (dataAddress <= file.size() && entry.packetOffset <= file.size() - dataAddress) {
        expectedStatus =
            DecodeByBlocks(file, dataAddress + entry.packetOffset, entry.packetSize, type, event, &expected);
    }
    if (expectedStatus != rawfile::kOk) {
        expected.clear();
    }
    Require(expectedStatus == status, "the mass list fails as its blocks do");
    Require(fuzz::SameBits(expected, pairs), "the mass list is its blocks' points");
    return 0;
}
