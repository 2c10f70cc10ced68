#include "rawfile/native/native_backend.h"

#include "rawfile/native/native_raw_file.h"

namespace rawfile {

bool LooksLikeThermoRaw(const unsigned char* bytes, size_t size) { return native::HasThermoSignature(bytes, size); }

std::unique_ptr<RawBackend> OpenNativeBackend(const std::string& path, Status* status, std::string* reason) {
    std::unique_ptr<native::NativeRawFile> file;
    const Status opened = native::NativeRawFile::Open(path, &file, reason);
    if (status != nullptr) {
        *status = opened;
    }
    if (opened != kOk) {
        return nullptr;
    }
    return file;
}

}  // namespace rawfile
