#include "platform/create_directory.h"

#include <sys/stat.h>

namespace platform {

bool CreateDirectory(const std::string& path) {
    if (path.empty()) return false;
    return mkdir(path.c_str(), 0777) == 0;
}

}  // namespace platform
