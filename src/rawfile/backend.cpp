#include "rawfile/backend.h"

#include <filesystem>
#include <fstream>

#include "rawfile/fixture/fixture_backend.h"
#include "rawfile/native/native_backend.h"

namespace rawfile {

namespace {

// Enough of the file's start to tell a fixture from a Thermo RAW file.
constexpr size_t kLeadSize = 1024;

std::string ReadLead(const std::string& path, bool* readable) {
    std::error_code ignored;
    std::string lead;
    *readable = false;
    if (!std::filesystem::is_regular_file(path, ignored)) return lead;
    std::ifstream in(path, std::ios::binary);
    if (!in) return lead;
    lead.resize(kLeadSize);
    in.read(lead.data(), static_cast<std::streamsize>(lead.size()));
    lead.resize(static_cast<size_t>(in.gcount()));
    *readable = true;
    return lead;
}

// Why a file cannot be read: the system's reason, or what the entry is.
std::string UnreadableReason(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status entry = std::filesystem::status(path, error);
    if (error) return "cannot read the file (" + error.message() + ")";
    if (!std::filesystem::is_regular_file(entry)) return "not a regular file";
    return "cannot read the file";
}

bool IsFixtureLead(std::string_view lead) {
    std::string_view marker = kFixtureFirstLine;
    if (lead.substr(0, marker.size()) != marker) return false;
    std::string_view after = lead.substr(marker.size());
    return after.empty() || after.front() == '\n' || after.substr(0, 2) == "\r\n";
}

}  // namespace

std::unique_ptr<RawBackend> OpenBackend(const std::string& path, Status* status, std::string* error) {
    bool readable = false;
    std::string lead = ReadLead(path, &readable);
    if (!readable) {
        *status = kCannotRead;
        if (error != nullptr) *error = UnreadableReason(path);
        return nullptr;
    }
    if (IsFixtureLead(lead)) return OpenFixtureBackend(path, status, error);
    if (LooksLikeThermoRaw(reinterpret_cast<const unsigned char*>(lead.data()), lead.size())) {
        return OpenNativeBackend(path, status, error);
    }
    *status = kNotRawFile;
    if (error != nullptr) *error = "not a Thermo RAW file";
    return nullptr;
}

}  // namespace rawfile
