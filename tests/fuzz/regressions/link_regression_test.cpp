// Inputs the link fuzzer found. SetBufferField with a far position and a
// small capacity built the whole result (one separator per skipped field,
// gigabytes for a position near INT_MAX) before finding that it could not
// fit. The binary counts its largest allocation to catch that.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/link.h"

namespace {
std::atomic<size_t> largestAllocation{0};
}  // namespace

void* operator new(size_t size) {
  size_t seen = largestAllocation.load();
  while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// The pair is replaced together (new takes from malloc), which gcc cannot see.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}

namespace {

TEST(SetBufferFieldRegression, FarPositionIsRefusedWithoutBuildingIt) {
  const int positions[] = {INT_MAX, INT_MAX - 1, 1 << 30, 5000000};
  for (int position : positions) {
    char buf[16] = "a b";
    largestAllocation = 0;
    EXPECT_EQ(SetBufferField(buf, ' ', "x", position, sizeof buf, '"', true), FIELD_TOO_LONG)
        << position;
    EXPECT_STREQ(buf, "a b") << position;
    EXPECT_LT(largestAllocation.load(), 4096u) << "position " << position;
  }
  // Just within the capacity it still works.
  char fits[8] = "a";
  EXPECT_EQ(SetBufferField(fits, ' ', "x", 5, sizeof fits, '"', true), FIELD_DONE);
  EXPECT_STREQ(fits, "a     x");
}

}  // namespace
