#pragma once

// SHA-1 digests (nettle), as lower-case hexadecimal text.

#include <nettle/sha1.h>

#include <string>
#include <string_view>

class Sha1Digest {
public:
    Sha1Digest() { sha1_init(&context_); }
    void Add(std::string_view bytes);
    // The digest of everything added; the digest starts afresh.
    std::string HexDigest();

private:
    sha1_ctx context_;
};

// The digest of a whole file, read piece by piece; empty when it cannot be read.
std::string FileSha1(const std::string& path);
