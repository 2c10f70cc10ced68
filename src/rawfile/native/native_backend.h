#pragma once

#include <memory>
#include <string>

#include "rawfile/backend.h"

namespace rawfile {

// True when the first bytes are those of a Thermo RAW file (the 0xA101 magic
// and the "Finnigan" signature).
bool LooksLikeThermoRaw(const unsigned char* bytes, size_t size);

// Opens a real Thermo RAW file. On failure returns null, sets *status and,
// when `reason` is given, a one-line reason.
std::unique_ptr<RawBackend> OpenNativeBackend(const std::string& path, Status* status, std::string* reason = nullptr);

}  // namespace rawfile
