#include "platform/staged_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::string TemporaryNameFor(const std::string& path) {
    return path + ".incomplete-" + std::to_string(static_cast<long>(::getpid()));
}

bool MoveWithoutReplacing(const std::string& from, const std::string& to, int& error) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    error = errno;
    if (error != EINVAL && error != ENOSYS) return false;
    // A file system without the no-replace rename: a second link, which
    // fails when the name is taken, then the temporary name goes.
    if (::link(from.c_str(), to.c_str()) != 0) {
        error = errno;
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

}  // namespace platform
