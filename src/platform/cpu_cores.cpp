#include "platform/cpu_cores.h"

#include <sched.h>

namespace platform {

int UsableCores() {
    cpu_set_t cores;
    CPU_ZERO(&cores);
    if (sched_getaffinity(0, sizeof cores, &cores) != 0) return 1;
    const int count = CPU_COUNT(&cores);
    return count > 0 ? count : 1;
}

}  // namespace platform
