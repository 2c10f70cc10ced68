#pragma once

// Lists the RAW files of one folder (not its sub-folders).

#include <string>
#include <vector>

namespace platform {

// Names (not paths) of the regular files in `folder` whose names end in
// ".raw" in any letter case, sorted by name without regard to case. Empty
// when the folder cannot be read.
std::vector<std::string> ListRawFiles(const std::string& folder);

}  // namespace platform
