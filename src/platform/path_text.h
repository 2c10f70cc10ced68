#pragma once

// Path texts on the native separator. Paths are treated as plain text: no
// lookup in the file system, no normalisation beyond what each helper says.

#include <string>
#include <string_view>

namespace platform {

inline constexpr char kPathSeparator = '/';

// Position of the last separator, or std::string::npos when there is none.
std::string::size_type LastSeparator(std::string_view path);

// The part after the last separator (the whole path when it has none).
std::string FileNameOf(std::string_view path);

// The path without its trailing separators. A path made only of separators
// is the root and keeps one, so it still names the root.
std::string RemoveTrailingSeparators(std::string_view path);

// The path with one separator appended, unless it already ends in one.
std::string WithTrailingSeparator(std::string_view path);

// Removes the last component and the separator before it: "/a/b" gives
// "/a", "/a" gives the root "/", a bare name gives "". Returns false, and
// leaves `path` alone, when nothing can be removed (empty path or root).
bool RemoveFileSpec(std::string& path);

}  // namespace platform
