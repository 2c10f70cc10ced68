#include "platform/process.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {

namespace {

struct FlushEntry {
    int id;
    void (*flush)(void*);
    void* context;
};

std::vector<FlushEntry>& FlushEntries() {
    static std::vector<FlushEntry> entries;
    return entries;
}

int nextFlushId = 1;

}  // namespace

int RegisterFlushOnExit(void (*flush)(void* context), void* context) {
    int id = nextFlushId++;
    FlushEntries().push_back({id, flush, context});
    return id;
}

void UnregisterFlushOnExit(int id) {
    auto& entries = FlushEntries();
    std::erase_if(entries, [id](const FlushEntry& entry) { return entry.id == id; });
}

void ExitProcess(int status) {
    for (const FlushEntry& entry : FlushEntries()) entry.flush(entry.context);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status & 0xFF);
}

void Pause() {
    if (!isatty(STDIN_FILENO)) return;
    std::fputs("Press Enter to continue . . . ", stdout);
    std::fflush(stdout);
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
    }
}

}  // namespace platform
