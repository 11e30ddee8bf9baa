// A GoogleTest fixture around SolverScenario: the fake engine is reset, the
// scenario set up with a fixed seed, and everything given back afterwards.
#pragma once

#include "tests/support/engine_test.h"
#include "tests/support/world_fixtures.h"

class WorldTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    scenario.SetUp(1);
  }
  void TearDown() override {
    scenario.TearDown();
    EngineTest::TearDown();
  }
  SolverScenario scenario;
};
