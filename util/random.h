// The program's one pseudo-random source. The program seeds it from the
// clock; tests and tools seed it with a fixed value for reproducible runs.
#pragma once

#include <cstdint>

void SeedRandom(uint32_t seed);

// A uniform draw from 0 .. 2^31 - 1.
int32_t RandomDraw();

// A uniform draw reduced modulo n: 0 .. n-1, and 0 when n <= 0.
int32_t RandomBelow(int32_t n);

// A value of `width` random bits, built from byte draws, the first byte the
// most significant (a last partial byte fills only the low bits left). Width 8 gives 0..255; width 32 any 32-bit pattern.
int32_t RandomBits(int width);
