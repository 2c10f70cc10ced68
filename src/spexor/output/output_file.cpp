#include "spexor/output/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/staged_file.h"
#include "spexor/console/console_lines.h"

std::unique_ptr<OutputFile> OutputFile::Create(const std::string& path, std::string& reason) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<OutputFile>(new OutputFile(fd, path, kBufferSize));
}

std::unique_ptr<OutputFile> OutputFile::Staged(const std::string& path) {
    std::unique_ptr<OutputFile> file(new OutputFile(-1, path, kBufferSize));
    file->staged_ = true;
    return file;
}

bool OutputFile::MakeTemporaryFile() {
    if (fd_ >= 0) return true;
    if (!staged_ || writeFailed_ || closed_) return false;
    const std::string temporary = platform::TemporaryNameFor(path_);
    fd_ = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        ReportCreateFailure(errno);
        return false;
    }
    writingPath_ = temporary;
    return true;
}

bool OutputFile::Publish() {
    if (writingPath_.empty()) MakeTemporaryFile();  // a file that got no bytes at all
    Close();
    if (writeFailed_) {
        Discard();
        return false;
    }
    if (::rename(writingPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        Discard();
        ReportCreateFailure(error);
        return false;
    }
    writingPath_.clear();
    return true;
}

void OutputFile::Discard() {
    cursor_ = buffer_.get();
    closed_ = true;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!writingPath_.empty()) ::unlink(writingPath_.c_str());
    writingPath_.clear();
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

OutputFile::~OutputFile() {
    if (staged_) {
        Discard();  // not published: the file was not finished
    } else {
        Close();
    }
}

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
    if (left == 0) return;
    handedOut_ += left;
    if (watcher_ != nullptr) watcher_->Saw(std::string_view(at, left));
    if (fd_ < 0 && !MakeTemporaryFile()) return;
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
    if (closed_ || inMemory_) return;
    Flush();
    closed_ = true;
    if (fd_ < 0) return;
    if (::close(fd_) != 0) ReportWriteFailure(errno);
    fd_ = -1;
}

void OutputFile::ReportCreateFailure(int error) {
    if (writeFailed_) return;
    writeFailed_ = true;
    console::ReportException("Failed to create output file " + path_ + ": " + std::strerror(error));
}

void OutputFile::ReportWriteFailure(int error) {
    if (writeFailed_) return;
    writeFailed_ = true;
    console::ReportException("Failed to write " + path_ + ": " + std::strerror(error));
}
