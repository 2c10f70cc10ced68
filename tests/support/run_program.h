#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ProgramResult {
    int status = -1;  // exit status 0..255
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs a program with arguments (no shell), in `workingDirectory` when not
// empty, with standard input from /dev/null, and collects its output.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDirectory = "");

// The same with no file the program writes allowed past `bytes`: a write
// beyond fails (EFBIG) as on a full disk, without a file system of its own.
ProgramResult RunProgramWithFileSizeLimit(const std::string& program, const std::vector<std::string>& args, long bytes);

}  // namespace testing_support
