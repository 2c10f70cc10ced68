#include "rawfile/native/read_ahead.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace rawfile::native {

namespace {

// Windows start on a page boundary, as the page cache hands out pages.
constexpr uint64_t kPageBytes = 4096;

// Reads up to `length` bytes at `offset`, fewer when the file ends first;
// the count read, or -1 on an error.
int64_t ReadUpToEnd(int fd, uint8_t* into, uint64_t length, uint64_t offset) {
    uint64_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, into + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<uint64_t>(got);
    }
    return static_cast<int64_t>(done);
}

}  // namespace

bool ReadFully(int fd, uint8_t* into, uint64_t length, uint64_t offset) {
    return ReadUpToEnd(fd, into, length, offset) == static_cast<int64_t>(length);
}

bool ReadAhead::Copy(uint64_t offset, uint64_t length, uint8_t* into) {
    Window* window = Holding(offset, length);
    if (window == nullptr) {
        window = &LeastRecentlyUsed();
        if (!Fill(*window, offset)) {
            Forget();
            return false;
        }
    }
    window->lastUse = ++uses_;
    if (length > 0) std::memcpy(into, window->bytes.get() + (offset - window->start), length);
    return true;
}

ReadAhead::Window* ReadAhead::Holding(uint64_t offset, uint64_t length) {
    for (Window& window : windows_) {
        if (offset >= window.start && offset + length <= window.start + window.filled) return &window;
    }
    return nullptr;
}

ReadAhead::Window& ReadAhead::LeastRecentlyUsed() {
    return *std::min_element(windows_.begin(), windows_.end(),
                             [](const Window& a, const Window& b) { return a.lastUse < b.lastUse; });
}

// Reads the window from the page holding `offset` on, up to the end of the
// file as it was opened; false when the file no longer holds all of that.
bool ReadAhead::Fill(Window& window, uint64_t offset) {
    if (!window.bytes) window.bytes = std::make_unique_for_overwrite<uint8_t[]>(kWindowBytes);  // not cleared
    window.start = offset - offset % kPageBytes;
    window.filled = 0;
    const uint64_t wanted = std::min(kWindowBytes, fileSize_ - window.start);
    if (ReadUpToEnd(fd_, window.bytes.get(), wanted, window.start) != static_cast<int64_t>(wanted)) return false;
    window.filled = wanted;
    return true;
}

// A file found shorter than when it was opened, or unreadable, has changed
// under the reader: what the windows hold is no longer trusted, and every
// later read goes to the file again, failing where the bytes are gone.
void ReadAhead::Forget() {
    for (Window& window : windows_) window.filled = 0;
}

}  // namespace rawfile::native
