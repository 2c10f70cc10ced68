#pragma once

#include <string>
#include <vector>

namespace testing_support {

// The lines of a text without their "\n"; a last line without one counts too.
std::vector<std::string> Lines(const std::string& text);

}  // namespace testing_support
