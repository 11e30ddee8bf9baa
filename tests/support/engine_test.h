// A GoogleTest fixture that resets the fake engine around every test and
// checks that nothing was left holding an engine reference, a texture or a
// loaded resource it did not give back.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/fake_engine.h"

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeEngine::Get().Reset();
    refsAtStart = FakeEngine::Get().refCount;
  }
  void TearDown() override {
    EXPECT_EQ(FakeEngine::Get().OutstandingResources(), 0) << "a loaded resource was not freed";
  }
  FakeEngine& fake = FakeEngine::Get();
  int refsAtStart = 0;
};
