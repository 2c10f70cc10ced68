#include "spexor/output/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "spexor/console/console_lines.h"

std::unique_ptr<OutputFile> OutputFile::Create(const std::string& path, std::string& reason) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<OutputFile>(new OutputFile(fd, path, kBufferSize));
}

std::unique_ptr<OutputFile> OutputFile::InMemory(std::size_t capacity) {
    std::unique_ptr<OutputFile> text(new OutputFile(-1, std::string(), capacity));
    text->inMemory_ = true;
    return text;
}

void OutputFile::SwapHeld(OutputFile& other) {
    std::swap(buffer_, other.buffer_);
    std::swap(capacity_, other.capacity_);
    std::swap(cursor_, other.cursor_);
    std::swap(limit_, other.limit_);
}

OutputFile::OutputFile(int fd, std::string path, std::size_t capacity)
    : fd_(fd),
      path_(std::move(path)),
      buffer_(new char[capacity]),
      capacity_(capacity),
      cursor_(buffer_.get()),
      limit_(buffer_.get() + capacity) {}

OutputFile::~OutputFile() { Close(); }

void OutputFile::Put(std::string_view text) {
    if (text.empty()) return;  // an empty view may hold no address at all
    if (!inMemory_ && text.size() >= kDirectWriteSize) {
        Flush();
        WriteOut(text.data(), text.size());
        return;
    }
    char* at = Reserve(text.size());
    std::memcpy(at, text.data(), text.size());
    cursor_ = at + text.size();
}

void OutputFile::MakeRoom(std::size_t size) {
    if (inMemory_) {
        const std::size_t held = static_cast<std::size_t>(cursor_ - buffer_.get());
        const std::size_t capacity = std::max(2 * capacity_, held + size);
        std::unique_ptr<char[]> grown(new char[capacity]);
        std::memcpy(grown.get(), buffer_.get(), held);
        buffer_ = std::move(grown);
        capacity_ = capacity;
        cursor_ = buffer_.get() + held;
        limit_ = buffer_.get() + capacity;
        return;
    }
    Flush();
    if (size <= capacity_) return;
    // A single piece larger than the whole buffer (only with absurd decimal
    // places): grow the buffer to hold it.
    buffer_.reset(new char[size]);
    capacity_ = size;
    cursor_ = buffer_.get();
    limit_ = buffer_.get() + size;
}

void OutputFile::Flush() {
    if (inMemory_) return;  // the text stays until it is taken
    const std::size_t held = static_cast<std::size_t>(cursor_ - buffer_.get());
    cursor_ = buffer_.get();
    WriteOut(buffer_.get(), held);
}

void OutputFile::WriteOut(const char* at, std::size_t left) {
    handedOut_ += left;
    if (watcher_ != nullptr) watcher_->Saw(std::string_view(at, left));
    if (fd_ < 0) return;
    while (left > 0) {
        const ssize_t written = ::write(fd_, at, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            ReportWriteFailure(written < 0 ? errno : ENOSPC);
            return;
        }
        at += written;
        left -= static_cast<std::size_t>(written);
    }
}

void OutputFile::Close() {
    if (fd_ < 0) return;
    Flush();
    if (::close(fd_) != 0) ReportWriteFailure(errno);
    fd_ = -1;
}

void OutputFile::ReportWriteFailure(int error) {
    if (writeFailed_) return;
    writeFailed_ = true;
    console::ReportException("Failed to write " + path_ + ": " + std::strerror(error));
}
