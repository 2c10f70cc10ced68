#pragma once

// What a path names in the file system, as a directory lookup sees it.

#include <string>

namespace platform {

enum class EntryKind {
    missing,      // no entry of that name
    folder,       // a directory (or a link to one)
    archiveFile,  // a regular file: every regular file carries the archive flag here
    otherEntry,   // anything else that exists (device, socket, pipe, dangling link)
};

EntryKind LookUpEntry(const std::string& path);

// True when the path names an existing directory.
bool IsDirectory(const std::string& path);

}  // namespace platform
