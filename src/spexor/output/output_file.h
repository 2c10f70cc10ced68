#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Sees every byte of a file as it leaves the buffer for the file (to make a
// digest of the file, say).
class ByteWatcher {
public:
    virtual ~ByteWatcher() = default;
    virtual void Saw(std::string_view bytes) = 0;
};

// One output file written through a large buffer of its own: text goes to
// the file only when the buffer is full, on Flush and on Close, never per
// line. Destroying it flushes and closes it, so a fatal error travelling up
// the stack still writes out what the buffer holds.
class OutputFile {
public:
    static constexpr std::size_t kBufferSize = 256 * 1024;
    // A piece this long (a chunk of a file formatted on another thread) is
    // written straight from where it lies, after what the buffer holds.
    static constexpr std::size_t kDirectWriteSize = 64 * 1024;

    // Creates the file, or empties it when it exists. On failure returns
    // null and puts the system's reason into `reason`.
    static std::unique_ptr<OutputFile> Create(const std::string& path, std::string& reason);
    // Text held in memory only, growing as needed (a part of a file formatted
    // on another thread, to be put into the file later).
    static std::unique_ptr<OutputFile> InMemory(std::size_t capacity = 64 * 1024);

    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Put(std::string_view text);
    void Put(char c) {
        *Reserve(1) = c;
        ++cursor_;
    }

    // Room for at least `size` bytes at the returned position; write into it
    // and hand the end of what was written to Commit.
    char* Reserve(std::size_t size) {
        if (static_cast<std::size_t>(limit_ - cursor_) < size) MakeRoom(size);
        return cursor_;
    }
    void Commit(char* end) { cursor_ = end; }

    // Writes out the buffer. A failed write is reported once per file on
    // standard error; the run goes on.
    void Flush();
    // Flushes and closes the file. Further writes are dropped.
    void Close();
    // True once a write or the close has failed: the file does not hold
    // everything put into it.
    bool Failed() const { return writeFailed_; }

    const std::string& path() const { return path_; }

    // Bytes put into the file so far, from its first byte: the position the
    // next byte put takes (for an in-memory text, from the text's start).
    uint64_t Position() const { return handedOut_ + static_cast<uint64_t>(cursor_ - buffer_.get()); }

    // What an in-memory text holds.
    std::string_view Held() const {
        return std::string_view(buffer_.get(), static_cast<std::size_t>(cursor_ - buffer_.get()));
    }
    std::size_t capacity() const { return capacity_; }
    bool HeldInMemory() const { return inMemory_; }
    // From now on every byte that leaves for the file is shown to `watcher`
    // (null: none), which must outlive the file or be replaced first.
    void Watch(ByteWatcher* watcher) { watcher_ = watcher; }
    // Empties an in-memory text, keeping its buffer.
    void ClearHeld() { cursor_ = buffer_.get(); }
    // Exchanges what two in-memory texts hold, without copying it.
    void SwapHeld(OutputFile& other);

private:
    OutputFile(int fd, std::string path, std::size_t capacity);
    void MakeRoom(std::size_t size);
    void WriteOut(const char* at, std::size_t size);
    void ReportWriteFailure(int error);

    int fd_;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    char* cursor_;
    char* limit_;
    uint64_t handedOut_ = 0;  // bytes that left the buffer for the file
    ByteWatcher* watcher_ = nullptr;
    bool writeFailed_ = false;
    bool inMemory_ = false;
};
