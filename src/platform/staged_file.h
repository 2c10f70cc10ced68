#pragma once

// Files written under a temporary name beside their final one, and given
// the final name only when they are whole: whoever lists the folder or
// waits for the file never meets it half-written. A process that is killed
// leaves at most files whose names say they are unfinished.

#include <string>

namespace platform {

// "<path>.incomplete-<process id>": beside the file, in its folder (so the
// final rename stays on one file system), not matched by the final name's
// extension.
std::string TemporaryNameFor(const std::string& path);

// Gives the file at `from` the name `to` unless an entry of that name is
// already there. False with the system's error in `error` (EEXIST when
// something is there) when the file keeps its name.
bool MoveWithoutReplacing(const std::string& from, const std::string& to, int& error);

}  // namespace platform
