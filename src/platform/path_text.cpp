#include "platform/path_text.h"

namespace platform {

std::string::size_type LastSeparator(std::string_view path) { return path.rfind(kPathSeparator); }

std::string FileNameOf(std::string_view path) {
    const auto separator = LastSeparator(path);
    return std::string(separator == std::string::npos ? path : path.substr(separator + 1));
}

std::string RemoveTrailingSeparators(std::string_view path) {
    const auto lastKept = path.find_last_not_of(kPathSeparator);
    if (lastKept == std::string_view::npos) return std::string(path.substr(0, path.empty() ? 0 : 1));
    return std::string(path.substr(0, lastKept + 1));
}

std::string WithTrailingSeparator(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != kPathSeparator) result += kPathSeparator;
    return result;
}

bool RemoveFileSpec(std::string& path) {
    if (path.empty()) return false;
    const auto separator = LastSeparator(path);
    if (separator == std::string::npos) {
        path.clear();
        return true;
    }
    if (separator == 0) {
        if (path.size() == 1) return false;
        path.resize(1);
        return true;
    }
    path.resize(separator);
    return true;
}

}  // namespace platform
