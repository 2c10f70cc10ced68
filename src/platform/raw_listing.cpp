#include "platform/raw_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/ascii_case.h"

namespace platform {

namespace {

bool HasRawExtension(const std::string& name) {
    constexpr std::string_view extension = ".RAW";
    return name.size() >= extension.size() && ToUpperAscii(name.substr(name.size() - extension.size())) == extension;
}

// Case-insensitive order; names that differ only in case keep a fixed order.
bool ListingOrder(const std::string& a, const std::string& b) {
    const std::string upperA = ToUpperAscii(a), upperB = ToUpperAscii(b);
    if (upperA != upperB) return upperA < upperB;
    return a < b;
}

}  // namespace

std::vector<std::string> ListRawFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return names;
    for (const auto& entry : entries) {
        std::error_code statusError;
        if (!entry.is_regular_file(statusError)) continue;
        std::string name = entry.path().filename().string();
        if (HasRawExtension(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), ListingOrder);
    return names;
}

}  // namespace platform
