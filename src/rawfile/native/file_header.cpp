#include "rawfile/native/file_header.h"

#include <cstring>
#include <utility>

namespace rawfile::native {

namespace {

constexpr uint16_t kMagic = 0xA101;
constexpr uint64_t kSignatureOffset = 2;
// "Finnigan" in UTF-16LE.
constexpr uint8_t kSignature[16] = {'F', 0, 'i', 0, 'n', 0, 'n', 0, 'i', 0, 'g', 0, 'a', 0, 'n', 0};
constexpr uint64_t kVersionOffset = 36;
constexpr uint64_t kCreationTagOffset = 40;

// 1899-12-30 00:00 UTC in FILETIME ticks.
constexpr uint64_t kAutomationEpochTicks = 94353120000000000ULL;
constexpr uint64_t kTicksPerMillisecond = 10000;
constexpr double kMillisecondsPerDay = 86400000.0;

}  // namespace

bool HasThermoSignature(const uint8_t* bytes, uint64_t size) {
    if (bytes == nullptr || size < kSignatureOffset + sizeof(kSignature)) {
        return false;
    }
    const uint16_t magic = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    return magic == kMagic && std::memcmp(bytes + kSignatureOffset, kSignature, sizeof(kSignature)) == 0;
}

Status ReadFileHeader(ByteReader& file, FileHeader* header, std::string* reason) {
    const auto fail = [reason](Status status, std::string text) {
        if (reason != nullptr) {
            *reason = std::move(text);
        }
        return status;
    };
    if (!HasThermoSignature(file.data(), file.size())) {
        return fail(kNotRawFile, "not a Thermo RAW file");
    }
    if (file.size() < kFileHeaderSize) {
        return fail(kDamaged, "truncated or damaged header");
    }
    file.Seek(kVersionOffset);
    header->version = file.U32();
    file.Seek(kCreationTagOffset);
    header->creationFiletime = file.U64();
    file.Seek(kFileHeaderSize);
    if (!file.ok()) {
        return fail(kDamaged, "truncated or damaged header");
    }
    if (header->version < kOldestVersion || header->version > kNewestVersion) {
        return fail(kUnsupported, "format version " + std::to_string(header->version) + " is not supported (" +
                                      std::to_string(kOldestVersion) + " to " + std::to_string(kNewestVersion) +
                                      " are)");
    }
    return kOk;
}

double FiletimeToAutomationDate(uint64_t filetime) {
    // Signed arithmetic: dates before 1899-12-30 give negative days.
    const int64_t ticks = static_cast<int64_t>(filetime - kAutomationEpochTicks);
    const int64_t milliseconds = ticks / static_cast<int64_t>(kTicksPerMillisecond);
    return static_cast<double>(milliseconds) / kMillisecondsPerDay;
}

}  // namespace rawfile::native
