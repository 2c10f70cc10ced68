#include "rawfile/native/raw_file_info.h"

#include "rawfile/native/file_header.h"

namespace rawfile::native {

namespace {

constexpr uint32_t kFirstVersionWithLongestPreamble = 66;

constexpr uint64_t kControllerCountOffset = 28;

struct PreambleLayout {
    uint64_t size;
    uint64_t tableOffset;
    uint64_t entrySize;
    bool wideAddresses;
};

PreambleLayout PreambleFor(uint32_t version) {
    if (version < kFirstVersionWithWideAddresses) {
        return {804, 44, 12, false};
    }
    if (version < kFirstVersionWithLongestPreamble) {
        return {1840, 824, 16, true};
    }
    return {1856, 824, 16, true};
}

}  // namespace

Status ReadRawFileInfo(ByteReader& file, uint32_t version, RawFileInfo* info) {
    const PreambleLayout layout = PreambleFor(version);
    ByteReader preamble = file.Take(layout.size);
    if (!preamble.ok()) {
        return kDamaged;
    }
    preamble.Seek(kControllerCountOffset);
    const uint32_t controllers = preamble.U32();
    // The table must lie inside the preamble (at most 63 entries).
    if (controllers > (layout.size - layout.tableOffset) / layout.entrySize) {
        return kDamaged;
    }
    info->runHeaderAddresses.clear();
    for (uint32_t i = 0; i < controllers; ++i) {
        preamble.Seek(layout.tableOffset + i * layout.entrySize);
        const uint64_t address = layout.wideAddresses ? preamble.U64() : preamble.U32();
        info->runHeaderAddresses.push_back(address);
    }
    return preamble.ok() ? kOk : kDamaged;
}

}  // namespace rawfile::native
