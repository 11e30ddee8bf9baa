// The whole program at full load on the fake engine, for the frame
// benchmarks: the start-up sequence (pack files, LoadAssets, BuildStartScene,
// the two callbacks), 200 houses placed by the shared solver scenario, and
// the population grown by real frames with F held. Drawing is counted, not
// stored.
#pragma once

#include <string>

#include "tests/support/fake_engine.h"
#include "tests/support/world_fixtures.h"

class FullLoadApp {
 public:
  // False with *error set when the program did not reach the asked load.
  bool Start(int houses, uint32_t seed, std::string* error);
  void Stop();

  // One frame through the fake: FrameUpdate then FrameRender.
  bool Frame() { return FakeEngine::Get().RunFrame(); }
  static int CandidateCount();
  static int HouseCount();

 private:
  bool started_ = false;
};

// Where the mouse rests during the full-load frames: on the map, away from
// the panels, the links and the help label, with no button held.
inline constexpr float REST_X = 700.0f, REST_Y = 600.0f;

// The solver's scenario alone, without the program: n houses placed and the
// population grown by Evolve, drawing counted, not stored. False with *error
// set when it did not reach that many houses and candidates.
bool StartSolverScenario(SolverScenario& scenario, int houses, int candidates, uint32_t seed,
                         std::string* error);
void StopSolverScenario(SolverScenario& scenario);
