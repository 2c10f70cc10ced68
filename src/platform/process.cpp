#include "platform/process.h"

#include <unistd.h>

#include <cstdio>

namespace platform {

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) != 0; }

void Pause() {
    if (!StandardInputIsTerminal()) return;
    std::fputs("Press Enter to continue . . . ", stdout);
    std::fflush(stdout);
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {}
}

}  // namespace platform
