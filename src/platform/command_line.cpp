#include "platform/command_line.h"

namespace platform {

namespace {
std::vector<std::string>& StoredArguments() {
    static std::vector<std::string> arguments;
    return arguments;
}
}  // namespace

void SetProcessArguments(int argc, const char* const* argv) {
    std::vector<std::string>& arguments = StoredArguments();
    arguments.clear();
    for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
}

std::vector<std::string> ProcessArguments() { return StoredArguments(); }

}  // namespace platform
