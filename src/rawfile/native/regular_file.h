#pragma once

// Opening a file for reading as a whole: only a regular file qualifies
// (not a folder, a device or a pipe), and its size is known up front.

#include <cstdint>
#include <string>

namespace rawfile::native {

// A read-only descriptor of the regular file at `path` (the caller closes
// it) and the file's size in *size; -1 when the path cannot be opened or
// does not name a regular file, with errno telling why (the system's reason,
// EISDIR for a folder, EINVAL for another kind of file).
int OpenRegularFile(const std::string& path, uint64_t* size);

}  // namespace rawfile::native
