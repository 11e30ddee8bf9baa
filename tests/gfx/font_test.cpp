#include "gfx/font.h"

#include <gtest/gtest.h>

#include "tests/support/engine_test.h"
#include "tests/support/font_fixtures.h"

namespace {

class FontTest : public EngineTest {};

TEST_F(FontTest, TestFontFixtureLoads) {
  hgeFont* font = MakeTestFont(fake);
  EXPECT_FLOAT_EQ(font->MeasureLine("abc"), 24);
  EXPECT_FLOAT_EQ(font->GetLineHeight(), 15);
  EXPECT_EQ(fake.LiveTextureCount(), 1);
  delete font;
  EXPECT_EQ(fake.LiveTextureCount(), 0);
}

}  // namespace
