#include "platform/create_directory.h"
#include "platform/file_entry.h"
#include "platform/path_text.h"
#include "spexor/driver/output_directory.h"

bool CreateDirectoryNested(const std::string& path, std::string* reason) {
    if (platform::IsDirectory(path)) return true;
    std::string parent = path;
    if (!platform::RemoveFileSpec(parent)) {
        if (reason != nullptr) *reason = "no folder to create it in";
        return false;
    }
    // A parent that cannot be made shows when the directory itself fails.
    if (!platform::IsDirectory(parent)) CreateDirectoryNested(parent);
    // Another process may make the same folder in the meantime (runs
    // started together into one fresh folder): it is there, which is all
    // that is asked.
    std::string failure;
    if (platform::CreateDirectory(path, &failure) || platform::IsDirectory(path)) return true;
    if (reason != nullptr) *reason = failure;
    return false;
}
