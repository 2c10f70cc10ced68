#include "platform/process.h"

#include <unistd.h>

#include <cstdio>

namespace platform {

void Pause() {
    if (!isatty(STDIN_FILENO)) return;
    std::fputs("Press Enter to continue . . . ", stdout);
    std::fflush(stdout);
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {}
}

}  // namespace platform
