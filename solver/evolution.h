// One generation of the genetic algorithm over the world's candidate tours:
// rank by length, drop duplicates, keep the seven shortest and two chance
// survivors, breed a child from every pair by order crossover and mutation.
#pragma once

#include <cstdint>

class QPATH;
class QUEN_DATA;

void Evolve(QPATH* world);

// The breeding pieces, exposed for tests and benchmarks. d = gene count.
// Order crossover: the child keeps parent A's genes in positions t..v and
// takes the rest from parent B, in B's order, left to right.
void CrossoverSegment(const QUEN_DATA& parentA, QUEN_DATA& child, int t, int v);
void CrossoverFill(const QUEN_DATA& parentB, QUEN_DATA& child);
// Reverses the circular run of positions t..v (t != v; v < t wraps).
void InvertRun(QUEN_DATA& child, int t, int v);
