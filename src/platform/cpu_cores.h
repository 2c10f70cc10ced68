#pragma once

// How many cores this process may run on: the cores of its affinity mask
// (so a cluster job limited to one core counts one), at least 1.

namespace platform {

int UsableCores();

}  // namespace platform
