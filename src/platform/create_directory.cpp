#include "platform/create_directory.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace platform {

bool CreateDirectory(const std::string& path, std::string* reason) {
    const bool created = !path.empty() && mkdir(path.c_str(), 0777) == 0;
    if (!created && reason != nullptr) *reason = std::strerror(path.empty() ? ENOENT : errno);
    return created;
}

}  // namespace platform
