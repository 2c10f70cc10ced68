#pragma once

// The process command line split into arguments. The system hands them over
// already split, so they are kept exactly as given; element 0 is the
// program path.

#include <string>
#include <vector>

namespace platform {

// Called once by main with what it received.
void SetProcessArguments(int argc, const char* const* argv);

std::vector<std::string> ProcessArguments();

}  // namespace platform
