#include "platform/file_entry.h"

#include <filesystem>
#include <system_error>

namespace platform {

EntryKind LookUpEntry(const std::string& path) {
    if (path.empty()) return EntryKind::missing;
    std::error_code error;
    const auto target = std::filesystem::status(path, error);
    if (std::filesystem::is_directory(target)) return EntryKind::folder;
    if (std::filesystem::is_regular_file(target)) return EntryKind::archiveFile;
    if (std::filesystem::exists(target)) return EntryKind::otherEntry;
    // A link whose target is gone is still an entry of that name.
    const auto link = std::filesystem::symlink_status(path, error);
    return std::filesystem::exists(link) ? EntryKind::otherEntry : EntryKind::missing;
}

bool IsDirectory(const std::string& path) { return LookUpEntry(path) == EntryKind::folder; }

}  // namespace platform
