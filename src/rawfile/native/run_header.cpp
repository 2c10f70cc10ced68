#include "rawfile/native/run_header.h"

#include "rawfile/native/file_header.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kNarrowSize = 7408;
constexpr uint64_t kWideSize = 7576;

constexpr uint64_t kFirstScanOffset = 8;
constexpr uint64_t kErrorLogCountOffset = 20;
constexpr uint64_t kScanIndexAddress32 = 28;
constexpr uint64_t kScanEventAddress32 = 7368;
constexpr uint64_t kTrailerExtraCountOffset = 7380;
constexpr uint64_t kFilterMassPrecisionOffset = 7404;
constexpr uint64_t kScanIndexAddress64 = 7408;
constexpr uint64_t kScanEventAddress64 = 7448;

// The addresses are 32-bit before the wide version and 64-bit from it on,
// at other places in the header.
void ReadAddresses(ByteReader& in, bool wide, RunHeader* header) {
    const auto address = [&in, wide]() -> uint64_t { return wide ? in.U64() : in.U32(); };
    in.Seek(wide ? kScanIndexAddress64 : kScanIndexAddress32);
    header->scanIndexAddress = address();
    header->dataAddress = address();
    address();  // instrument log
    header->errorLogAddress = address();
    in.Seek(wide ? kScanEventAddress64 : kScanEventAddress32);
    header->scanEventAddress = address();
    header->trailerExtraAddress = address();
}

}  // namespace

Status ReadRunHeader(const FileBytes& file, uint64_t address, uint32_t version, RunHeader* header) {
    const bool wide = version >= kFirstVersionWithWideAddresses;
    const uint64_t size = wide ? kWideSize : kNarrowSize;
    ReadBuffer buffer;
    ByteReader in = file.Read(address, size, buffer);
    if (!in.ok()) {
        return kDamaged;
    }
    header->instrumentAddress = address + size;
    in.Seek(kFirstScanOffset);
    header->firstScan = in.I32();
    header->lastScan = in.I32();
    in.Seek(kErrorLogCountOffset);
    header->errorLogCount = in.U32();
    in.Seek(kTrailerExtraCountOffset);
    header->trailerExtraCount = in.U32();
    in.Seek(kFilterMassPrecisionOffset);
    header->filterMassPrecision = in.U32();
    ReadAddresses(in, wide, header);
    return in.ok() ? kOk : kDamaged;
}

bool AddressesLieInFile(const RunHeader& header, uint64_t fileSize) {
    for (uint64_t at : {header.scanIndexAddress, header.dataAddress, header.errorLogAddress, header.scanEventAddress,
                        header.trailerExtraAddress}) {
        if (at > fileSize) {
            return false;
        }
    }
    return true;
}

Status CountScans(const RunHeader& header, uint64_t* count) {
    *count = 0;
    if (header.lastScan < header.firstScan) {
        return kOk;
    }
    if (header.firstScan < 1) {
        return header.lastScan == header.firstScan ? kOk : kDamaged;
    }
    *count = static_cast<uint64_t>(static_cast<int64_t>(header.lastScan) - header.firstScan + 1);
    return kOk;
}

}  // namespace rawfile::native
