#pragma once

// The process clock: milliseconds of wall time since the process started.

#include <cstdint>

namespace platform {

int64_t ProcessClockMs();

}  // namespace platform
