#pragma once

// A scan's data packet, decoded into its mass list as stored: profile
// points for profile packets, peaks for centroid packets, reference and
// exception peaks included.

#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/scan_event.h"
#include "rawfile/native/scan_index.h"

namespace rawfile::native {

// Packet types (the low 16 bits of the index entry's type word).
enum PacketType : uint32_t {
    kSegmentedProfile = 16,
    kIonTrapCentroid = 18,
    kIonTrapProfile = 19,
    kFtCentroid = 20,
    kFtProfile = 21,
    kCentroidSegments = 24,
};

// Decodes the packet the index entry points at into consecutive (m/z,
// intensity) pairs; a standard packet is read into `buffer`. The event supplies the FT
// frequency conversion; the file's format version, the layout of the
// triple-quadrupole packets' segment tables.
Status DecodeMassList(const FileBytes& file, uint32_t formatVersion, uint64_t dataAddress, const ScanIndexEntry& entry,
                      const ScanEvent& event, ReadBuffer& buffer, std::vector<double>* pairs);

}  // namespace rawfile::native
