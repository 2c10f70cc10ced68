#pragma once

// The process's exit status and the command interpreter's "pause".

namespace platform {

// Exit status -1 of the original platform is 255 here.
inline constexpr int kFatalExitStatus = -1;

// The status a program's main returns for a status of the original
// platform: its low eight bits.
constexpr int ProcessExitStatus(int status) { return status & 0xFF; }

// The command interpreter's "pause": waits for Enter only when standard
// input is a terminal, so a batch run never hangs.
void Pause();

// True when standard input is a terminal (someone may be asked to press Enter).
bool StandardInputIsTerminal();

}  // namespace platform
