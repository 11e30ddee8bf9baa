// Fuzz target: arbitrary bytes served as a font description through the fake
// engine. The font must build, measure and draw without touching memory it
// does not own, log at most its one format line (and then be empty), and
// give back every texture and loaded resource when destroyed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gfx/font.h"
#include "tests/support/fake_engine.h"

namespace {

constexpr char DESCRIPTION[] = "graphics\\font.fnt";

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "font fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeEngine& fake = FakeEngine::Get();
  fake.Reset();
  fake.recordDrawing = false;
  // Sheets a Bitmap line can name: beside the description, and bare.
  fake.AddTexture("graphics\\font.png", 256, 256);
  fake.AddTexture("font.png", 64, 64);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  fake.AddResource(DESCRIPTION, bytes);

  hgeFont* font = new hgeFont(DESCRIPTION);
  Check(fake.OutstandingResources() == 0, "the description was not given back");
  Check(fake.logLines.size() <= 1, "more than one log line");
  if (!fake.logLines.empty()) {
    Check(font->GetTexture() == 0 && font->GetLineHeight() == 0.0f, "a rejected font is not empty");
    for (int code = 0; code < 256; ++code)
      Check(!font->GetGlyph(code), "a rejected font has glyphs");
  }

  // Every byte value once, with line feeds, in each alignment.
  char text[258];
  for (int i = 0; i < 256; ++i) text[i] = static_cast<char>(i == 0 ? '\n' : i);
  text[256] = 'A';
  text[257] = '\0';
  volatile float width = font->MeasureLine(text + 1);
  (void)width;
  for (int align = 0; align < 4; ++align) font->DrawString(10.0f, 20.0f, align, text);
  font->SetDrawScale(2.0f);
  font->DrawFormatted(0.0f, 0.0f, 10, "%s|%d", text + 1, static_cast<int>(size));
  font->SetTextColor(0x80FF00FFu);

  delete font;
  Check(fake.LiveTextureCount() == 0, "a texture outlived its font");
  Check(fake.OutstandingResources() == 0, "a resource outlived its font");
  return 0;
}
