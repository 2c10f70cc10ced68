#pragma once

// Creates one directory whose parent already exists.

#include <string>

namespace platform {

// True when the directory was created; false when it could not be (missing
// parent, no permission, an entry of that name already there), with the
// system's reason in `reason` when it is given.
bool CreateDirectory(const std::string& path, std::string* reason = nullptr);

}  // namespace platform
