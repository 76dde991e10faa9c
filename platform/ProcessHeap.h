#pragma once

namespace braxel {

// Sets up the heap of a process that runs one calculation after another and exits: memory one
// step frees is taken again by the next instead of going back to the system, and the first
// megabytes the heap hands out lie on large pages where the system offers them, so that they
// are mapped a few at a time rather than one small page per first touch. Call it once, at the
// start of main, before any thread is started. True when the blocks malloc hands out next lie
// in memory marked for large pages; where the C library does not allow it, the heap stays as
// it is.
bool PrepareProcessHeap();

}  // namespace braxel
