#include "rawfile/native/regular_file.h"

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
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        ::close(fd);
        return -1;
    }
    *size = static_cast<uint64_t>(info.st_size);
    return fd;
}

}  // namespace rawfile::native
