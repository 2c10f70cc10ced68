#pragma once

// A small file system for disk-full tests: a tmpfs of a given size mounted
// in a private mount namespace (unshare), where the programs run and whose
// listing is taken before it goes away with the namespace.

#include <string>
#include <vector>

#include "support/run_program.h"

namespace testing_support {

// True when this machine lets a test mount a private tmpfs.
bool SmallFileSystemAvailable();

struct SmallFileSystemRun {
    ProgramResult result;            // of the program
    std::vector<std::string> files;  // "name size" of each file left in the file system, sorted
};

// Mounts a tmpfs of `kilobytes` at `mountPoint` (an empty folder), copies
// the files `copies` into it, runs `program` with `args` (use `mountPoint`
// in them to name places inside), and lists what is left there.
SmallFileSystemRun RunInSmallFileSystem(int kilobytes, const std::string& mountPoint,
                                        const std::vector<std::string>& copies, const std::string& program,
                                        const std::vector<std::string>& args);

}  // namespace testing_support
