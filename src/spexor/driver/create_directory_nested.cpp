#include "platform/create_directory.h"
#include "platform/file_entry.h"
#include "platform/path_text.h"
#include "spexor/driver/output_directory.h"

bool CreateDirectoryNested(const std::string& path) {
    if (platform::IsDirectory(path)) return true;
    std::string parent = path;
    if (!platform::RemoveFileSpec(parent)) return false;
    // A parent that cannot be made shows when the directory itself fails.
    if (!platform::IsDirectory(parent)) CreateDirectoryNested(parent);
    // Another process may make the same folder in the meantime (runs
    // started together into one fresh folder): it is there, which is all
    // that is asked.
    return platform::CreateDirectory(path) || platform::IsDirectory(path);
}
