#pragma once

// Small reads of a file served from a few windows read ahead with one pread
// each. A scan's packet, its trailer record and its event are a few hundred
// bytes to a few kilobytes each and follow the previous scan's in their own
// region of the file, so reading them one by one costs a system call per
// structure, which on a large file takes more time than decoding them. A
// window holds the bytes from where a read starts onward; the next reads of
// that region are copied out of it. Not for concurrent use: each reader of
// a file keeps its own.

#include <array>
#include <cstdint>
#include <memory>

namespace rawfile::native {

class ReadAhead {
public:
    // Reads longer than this go to the file directly.
    static constexpr uint64_t kLargestCachedRead = 64 * 1024;
    static constexpr uint64_t kWindowBytes = 256 * 1024;
    static constexpr std::size_t kWindowCount = 4;

    ReadAhead(int fd, uint64_t fileSize) : fd_(fd), fileSize_(fileSize) {}

    // Copies the `length` bytes at `offset` (length at most
    // kLargestCachedRead, the span inside the file's size) into `into`;
    // false when they cannot all be read (an error, or the file is shorter
    // now than when it was opened, which also drops every window).
    bool Copy(uint64_t offset, uint64_t length, uint8_t* into);

private:
    struct Window {
        uint64_t start = 0;
        uint64_t filled = 0;  // bytes read from `start` on
        uint64_t lastUse = 0;
        std::unique_ptr<uint8_t[]> bytes;  // kWindowBytes, once the window is first filled
    };

    Window* Holding(uint64_t offset, uint64_t length);
    Window& LeastRecentlyUsed();
    bool Fill(Window& window, uint64_t offset);
    void Forget();

    int fd_;
    uint64_t fileSize_;
    uint64_t uses_ = 0;
    std::array<Window, kWindowCount> windows_;
};

// Reads all `length` bytes at `offset` or fails (an error, or the file
// ended before them).
bool ReadFully(int fd, uint8_t* into, uint64_t length, uint64_t offset);

}  // namespace rawfile::native
