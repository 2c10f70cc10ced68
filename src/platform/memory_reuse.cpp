#include "platform/memory_reuse.h"

#include <malloc.h>

namespace platform {

namespace {
constexpr int kLargestHeapBlock = 32 * 1024 * 1024;
}  // namespace

void KeepLargeBlocksForReuse() {
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, 2 * kLargestHeapBlock);
}

}  // namespace platform
