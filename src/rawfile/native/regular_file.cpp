#include "rawfile/native/regular_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rawfile::native {

int OpenRegularFile(const std::string& path, uint64_t* size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(info.st_mode) || info.st_size < 0) {
        error = EINVAL;
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    *size = static_cast<uint64_t>(info.st_size);
    return fd;
}

}  // namespace rawfile::native
