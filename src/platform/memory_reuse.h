#pragma once

// Large blocks (a scan's points, its peaks) are asked for and given back for
// every scan. By default the C library maps each block of 128 KB or more
// afresh and unmaps it when freed, so every scan pays for new pages; kept
// in the heap instead, a freed block is used again by the next scan.

namespace platform {

// Has blocks up to the C library's limit (32 MB) served from the heap and
// the heap kept, for the rest of the process.
void KeepLargeBlocksForReuse();

}  // namespace platform
