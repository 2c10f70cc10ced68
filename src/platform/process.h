#pragma once

// Ending the process. Output streams are flushed first, so everything
// written before a fatal error reaches its file or the console.

namespace platform {

// Exit status -1 of the original platform is 255 here.
inline constexpr int kFatalExitStatus = -1;

// Registers a flush to run before ExitProcess ends the process (for example
// the open output files of a conversion). Returns an id for Unregister.
int RegisterFlushOnExit(void (*flush)(void* context), void* context);
void UnregisterFlushOnExit(int id);

[[noreturn]] void ExitProcess(int status);

// The command interpreter's "pause": waits for Enter only when standard
// input is a terminal, so a batch run never hangs.
void Pause();

}  // namespace platform
