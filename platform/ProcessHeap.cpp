#include "platform/ProcessHeap.h"

#include <cstdint>
#include <cstdlib>  // defines __GLIBC__ with the C library's

#ifdef __GLIBC__
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace braxel {

#ifdef __GLIBC__
namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
// Far more than a run at the engine's capacity holds; a large page is mapped only once touched.
constexpr std::uintptr_t kLargePages = 8;
constexpr std::uintptr_t kHeader = 64;  // room for malloc's block headers below the boundary

void* heldGap = nullptr;  // reachable to the end, as it is meant to be

// The heap is extended past the large pages, and what lies above the first large-page boundary
// is given back to malloc's free end untouched, so that the system can map each large page
// whole when it is first touched: a small page touched inside one first would make it small
// pages for good. The block below the boundary is never used or freed; malloc hands out its
// free end from the bottom, so the next blocks start at the boundary. A block shrunk by realloc
// stays where it is; should it move, the large pages are not asked for.
bool PlaceHeapOnLargePages() {
  const std::uintptr_t region = kLargePages * kLargePage;
  void* const probe = std::malloc(region + 2 * kLargePage);
  if (probe == nullptr) return false;
  const std::uintptr_t bottom = reinterpret_cast<std::uintptr_t>(probe);
  const std::uintptr_t boundary = (bottom + 2 * kHeader + kLargePage - 1) & ~(kLargePage - 1);
  heldGap = std::realloc(probe, boundary - bottom - kHeader);
  return heldGap == probe &&
         ::madvise(reinterpret_cast<void*>(boundary), region, MADV_HUGEPAGE) == 0;
}

}  // namespace
#endif

bool PrepareProcessHeap() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  return PlaceHeapOnLargePages();
#else
  return false;
#endif
}

}  // namespace braxel
