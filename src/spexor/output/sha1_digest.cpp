#include "spexor/output/sha1_digest.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

void Sha1Digest::Add(std::string_view bytes) {
    sha1_update(&context_, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
}

std::string Sha1Digest::HexDigest() {
    uint8_t digest[SHA1_DIGEST_SIZE];
    sha1_digest(&context_, SHA1_DIGEST_SIZE, digest);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (uint8_t byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    return text;
}

std::string FileSha1(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::string();
    constexpr std::size_t kPiece = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[kPiece]);
    Sha1Digest digest;
    bool failed = false;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get(), kPiece);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failed = true;
        if (got <= 0) break;
        digest.Add(std::string_view(buffer.get(), static_cast<std::size_t>(got)));
    }
    ::close(fd);
    return failed ? std::string() : digest.HexDigest();
}
