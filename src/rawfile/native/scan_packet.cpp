#include "rawfile/native/scan_packet.h"

#include "rawfile/native/centroid_segment_packet.h"
#include "rawfile/native/profile_points.h"
#include "rawfile/native/segmented_profile.h"
#include "rawfile/native/standard_packet.h"

namespace rawfile::native {

namespace {

Status DecodeStandardPacket(const ByteReader& packetBytes, uint32_t type, const ScanEvent& event,
                            std::vector<double>* pairs) {
    StandardPacket packet;
    if (const Status status = ReadStandardPacket(packetBytes, &packet); status != kOk) {
        return status;
    }
    if (type == kIonTrapCentroid || type == kFtCentroid) {
        return AppendPeakList(packet.peaks, packet.PeakMassesAreDoubles(), packet.segmentCount, pairs);
    }
    if (packet.segmentCount > 1 && packet.profile.size() != 0) {
        return kUnsupported;  // how a profile of several segments is laid out is not known
    }
    if (packet.profile.size() == 0) {
        return kOk;  // no profile stored: no points
    }
    // Kept from scan to scan (one per thread, as every reader is used by
    // one thread at a time), so its list of chunks is not allocated anew.
    thread_local ProfileBlock profile;
    if (const Status status = ReadProfileBlock(packet.profile, packet.ChunksCarryFudge(), &profile); status != kOk) {
        return status;
    }
    if (type == kIonTrapProfile) {
        return AppendIonTrapProfile(profile, pairs);
    }
    return AppendFtProfile(profile, event.coefficients, pairs);
}

}  // namespace

Status DecodeMassList(const FileBytes& file, uint32_t formatVersion, uint64_t dataAddress, const ScanIndexEntry& entry,
                      const ScanEvent& event, ReadBuffer& buffer, std::vector<double>* pairs) {
    pairs->clear();
    if (entry.packetOffset > file.size() - dataAddress) {
        return kDamaged;
    }
    const uint64_t address = dataAddress + entry.packetOffset;
    const uint32_t type = entry.PacketType();
    Status status = kUnsupported;  // unknown packet layouts cannot be read
    switch (type) {
        case kSegmentedProfile:
            status = AppendSegmentedProfile(file, dataAddress, address, entry.packetSize, formatVersion, pairs);
            break;
        case kCentroidSegments:
            status = AppendCentroidSegments(file, dataAddress, address, entry.packetSize, formatVersion, pairs);
            break;
        case kIonTrapCentroid:
        case kIonTrapProfile:
        case kFtCentroid:
        case kFtProfile: {
            const ByteReader packet = file.Read(address, entry.packetSize, buffer);
            status = packet.ok() ? DecodeStandardPacket(packet, type, event, pairs) : kDamaged;
            break;
        }
        default: break;
    }
    if (status != kOk) {
        pairs->clear();
    }
    return status;
}

}  // namespace rawfile::native
