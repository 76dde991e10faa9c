#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/ProcessHeap.h"

namespace braxel {
namespace {

// The flags line of the mapping of /proc/self/smaps that holds address, empty when none does.
std::string MappingFlags(const void* address) {
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  while (std::getline(smaps, line)) {
    std::uintptr_t from = 0;
    std::uintptr_t to = 0;
    char dash = 0;
    if (std::istringstream(line) >> std::hex >> from >> dash >> to && dash == '-') {
      inside = from <= at && at < to;
    } else if (inside && line.rfind("VmFlags:", 0) == 0) {
      return line + ' ';
    }
  }
  return "";
}

bool LargePagesOffered() {
  std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string text;
  return std::getline(setting, text) && text.find("[never]") == std::string::npos;
}

// Whether large pages help is measured in bench/; this keeps the placement from silently
// coming undone, which only a slower run would show.
TEST(ProcessHeapTest, TheBlocksOfTheRunLieInMemoryMarkedForLargePages) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's heap is its own";
#endif
  if (!LargePagesOffered()) GTEST_SKIP() << "the system offers no large pages";
  ASSERT_TRUE(PrepareProcessHeap());
  // Blocks larger than any that malloc keeps for reuse come from the heap's free end; the
  // first may begin on the small page of the headers below the large ones.
  for (const std::size_t size : {std::size_t{1} << 20, std::size_t{3} << 20}) {
    const std::unique_ptr<char[]> block(new char[size]);
    EXPECT_NE(MappingFlags(&block[size - 1]).find(" hg "), std::string::npos) << size;
  }
}

}  // namespace
}  // namespace braxel
