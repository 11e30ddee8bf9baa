#include "util/random.h"

#include <random>

namespace {
std::mt19937& Generator() {
  static std::mt19937 generator(1u);
  return generator;
}
}  // namespace

void SeedRandom(uint32_t seed) { Generator().seed(seed); }

int32_t RandomDraw() { return static_cast<int32_t>(Generator()() >> 1); }

int32_t RandomBelow(int32_t n) {
  if (n <= 0) return 0;
  return RandomDraw() % n;
}

int32_t RandomBits(int width) {
  uint32_t result = 0;
  int remaining = width;
  for (;;) {
    uint32_t r = static_cast<uint32_t>(Generator()() >> 24);  // one byte, 0..255
    uint32_t kept = remaining >= 8 ? r : (remaining > 0 ? (r & (255u >> (8 - remaining))) : 0u);
    result += kept;
    remaining -= 8;
    if (remaining > 0) {
      // Make room for exactly the bits the next draw contributes, so a width
      // that is not a multiple of 8 still gives a value of that many bits.
      result <<= (remaining >= 8 ? 8 : remaining);
    } else {
      return static_cast<int32_t>(result);
    }
  }
}
