// Drawing through the real backend on the offscreen driver: the drawing
// area, lines and textured quads in a read-back frame, textures from PNG
// bytes, and handles that are bad or gone.
#include <SDL_image.h>

#include <cstring>
#include <fstream>

#include "engine_fixture.h"

namespace {

// A PNG of the given pixels (0xAARRGGBB, row by row), made with SDL_image.
std::string MakePng(int w, int h, const std::vector<uint32_t>& argb) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  for (int y = 0; y < h; ++y)
    std::memcpy(static_cast<char*>(s->pixels) + y * s->pitch, &argb[y * w], w * 4);
  std::vector<char> buffer(1 << 16);
  SDL_RWops* rw = SDL_RWFromMem(buffer.data(), static_cast<int>(buffer.size()));
  const int rc = IMG_SavePNG_RW(s, rw, 0);
  const Sint64 size = SDL_RWtell(rw);
  SDL_RWclose(rw);
  SDL_FreeSurface(s);
  EXPECT_EQ(rc, 0) << IMG_GetError();
  return std::string(buffer.data(), static_cast<size_t>(size > 0 ? size : 0));
}

hgeQuad QuadAt(float x, float y, float w, float h, HTEXTURE texture, uint32_t colour) {
  hgeQuad q{};
  const float xs[4] = {x, x + w, x + w, x}, ys[4] = {y, y, y + h, y + h};
  const float us[4] = {0, 1, 1, 0}, vs[4] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) q.v[i] = {xs[i], ys[i], 0.5f, colour, us[i], vs[i]};
  q.texture = texture;
  q.blend = BLEND_DEFAULT;
  return q;
}

uint32_t Channel(uint32_t c, int shift) {
  return (c >> shift) & 0xFF;
}

void ExpectColourNear(uint32_t got, uint32_t want, int tolerance, const std::string& where) {
  for (int shift : {16, 8, 0})
    EXPECT_NEAR(static_cast<int>(Channel(got, shift)), static_cast<int>(Channel(want, shift)),
                tolerance)
        << where << std::hex << ": got " << got << " want " << want;
}

// Both drawing paths: the CPU frame buffer, and SDL's accelerated renderer
// where this machine has one (OpenGL in any form, even a software one).
class RenderTest : public SdlEngineTest,
                   public ::testing::WithParamInterface<backend::RendererChoice> {
 protected:
  void Configure() override {
    backend::SetRendererChoice(GetParam());
    backend::SetFrameCapture(true);
    mayBeUnavailable = GetParam() == backend::RendererChoice::Accelerated;
  }
};

INSTANTIATE_TEST_SUITE_P(Renderers, RenderTest,
                         ::testing::Values(backend::RendererChoice::Software,
                                           backend::RendererChoice::Accelerated),
                         [](const auto& info) {
                           return info.param == backend::RendererChoice::Software
                                      ? std::string("Software")
                                      : std::string("Accelerated");
                         });

TEST_P(RenderTest, TheDrawingAreaIsTheScreenSizeAndClearsToTheColour) {
  renderBody = [this] {
    engine->Gfx_BeginScene();
    engine->Gfx_Clear(0xFF102030u);
    engine->Gfx_EndScene();
  };
  ASSERT_EQ(Run(), 1);
  int w = 0, h = 0;
  const auto pixels = ReadBack(&w, &h);
  EXPECT_EQ(w, 1200);
  EXPECT_EQ(h, 960);
  int lw = 0, lh = 0;
  SDL_RenderGetLogicalSize(TheBackend().renderer.WindowRenderer(), &lw, &lh);
  EXPECT_EQ(lw, 1200);
  EXPECT_EQ(lh, 960);
  for (size_t i : {size_t(0), pixels.size() / 2, pixels.size() - 1})
    ExpectColourNear(pixels[i], 0xFF102030u, 0, "pixel " + std::to_string(i));
}

TEST_P(RenderTest, LinesLandOnTheirPixelsBlendedByAlpha) {
  renderBody = [this] {
    engine->Gfx_BeginScene();
    engine->Gfx_Clear(0xFF000040u);
    engine->Gfx_RenderLine(100, 100, 200, 100, 0xFFFF0000u);
    engine->Gfx_RenderLine(300, 50, 300, 150, 0x80FFFFFFu);
    engine->Gfx_RenderLine(1100, 900, 1300, 900, 0xFF00FF00u);  // runs off the right edge
    engine->Gfx_EndScene();
  };
  ASSERT_EQ(Run(), 1);
  const auto px = ReadBack();
  auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * 1200 + x]; };
  ExpectColourNear(at(100, 100), 0xFFFF0000u, 0, "line start");
  ExpectColourNear(at(199, 100), 0xFFFF0000u, 0, "line end - 1");
  ExpectColourNear(at(150, 101), 0xFF000040u, 0, "below the line");
  ExpectColourNear(at(300, 100), 0xFF808080u + 0x20, 2, "half white over dark blue");
  ExpectColourNear(at(1199, 900), 0xFF00FF00u, 0, "clipped at the edge");
  ExpectColourNear(at(299, 100), 0xFF000040u, 0, "beside the vertical line");
}

TEST_P(RenderTest, TexturedQuadsMultiplyByVertexColourAndBlend) {
  // Left half red, right half blue, 8 x 4.
  std::vector<uint32_t> image(8 * 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) image[y * 8 + x] = x < 4 ? 0xFFFF0000u : 0xFF0000FFu;
  const std::string png = MakePng(8, 4, image);
  const HTEXTURE texture = engine->Texture_Load(png.data(), static_cast<uint32_t>(png.size()));
  ASSERT_NE(texture, 0u);
  EXPECT_EQ(engine->Texture_GetWidth(texture), 8);
  EXPECT_EQ(engine->Texture_GetHeight(texture), 4);

  renderBody = [&] {
    engine->Gfx_BeginScene();
    engine->Gfx_Clear(0xFF00FF00u);
    hgeQuad opaque = QuadAt(10, 10, 8, 4, texture, 0xFFFFFFFFu);
    engine->Gfx_RenderQuad(&opaque);
    hgeQuad half = QuadAt(40, 10, 8, 4, texture, 0x80FFFFFFu);
    engine->Gfx_RenderQuad(&half);
    hgeQuad tinted = QuadAt(70, 10, 8, 4, texture, 0xFF808080u);
    engine->Gfx_RenderQuad(&tinted);
    hgeQuad plain = QuadAt(100, 10, 8, 4, 0, 0xFFFFFF00u);  // no texture: colour only
    engine->Gfx_RenderQuad(&plain);
    // A line after the quads is drawn over them.
    engine->Gfx_RenderLine(10, 12, 18, 12, 0xFFFFFFFFu);
    engine->Gfx_EndScene();
  };
  ASSERT_EQ(Run(), 1);
  const auto px = ReadBack();
  auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * 1200 + x]; };
  ExpectColourNear(at(11, 11), 0xFFFF0000u, 2, "opaque left texel");
  ExpectColourNear(at(16, 11), 0xFF0000FFu, 2, "opaque right texel");
  ExpectColourNear(at(16, 12), 0xFFFFFFFFu, 0, "line over the quad");
  ExpectColourNear(at(41, 11), 0xFF807F00u, 3, "half red over green");
  ExpectColourNear(at(46, 11), 0xFF007F80u, 3, "half blue over green");
  ExpectColourNear(at(71, 11), 0xFF800000u, 3, "red times grey");
  ExpectColourNear(at(101, 11), 0xFFFFFF00u, 0, "untextured yellow");
  ExpectColourNear(at(9, 11), 0xFF00FF00u, 0, "left of the first quad");
  ExpectColourNear(at(11, 14), 0xFF00FF00u, 0, "below the first quad");
  engine->Texture_Free(texture);
}

TEST_P(RenderTest, TexturesComeFromResourcesAndBadImagesGiveNone) {
  TempDir dir;
  backend::SetResourceDirectory(dir.Path());
  const std::string png = MakePng(5, 3, std::vector<uint32_t>(15, 0xFFFFFFFFu));
  std::filesystem::create_directories(dir.File("graphics"));
  std::ofstream(dir.File("graphics/house.png"), std::ios::binary) << png;
  std::ofstream(dir.File("graphics/garbage.png"), std::ios::binary) << "this is not an image";

  const HTEXTURE house = engine->Texture_Load("graphics\\house.png");
  ASSERT_NE(house, 0u);
  EXPECT_EQ(engine->Texture_GetWidth(house), 5);
  EXPECT_EQ(engine->Texture_GetHeight(house), 3);

  const std::string truncated = png.substr(0, png.size() / 2);
  EXPECT_EQ(engine->Texture_Load("graphics/garbage.png"), 0u);
  EXPECT_EQ(engine->Texture_Load("graphics/missing.png"), 0u);
  EXPECT_EQ(engine->Texture_Load("garbage bytes", 13), 0u);
  EXPECT_EQ(engine->Texture_Load(truncated.data(), static_cast<uint32_t>(truncated.size())), 0u);
  EXPECT_EQ(engine->Texture_Load(nullptr), 0u);
  EXPECT_EQ(TheBackend().resources.Outstanding(), 0) << "a resource read for a texture was kept";
  engine->Texture_Free(house);
}

TEST_P(RenderTest, FreedAndUnknownTexturesAreHarmless) {
  const std::string png = MakePng(2, 2, std::vector<uint32_t>(4, 0xFFFF0000u));
  const HTEXTURE texture = engine->Texture_Load(png.data(), static_cast<uint32_t>(png.size()));
  ASSERT_NE(texture, 0u);
  engine->Texture_Free(texture);
  const HTEXTURE next = engine->Texture_Load(png.data(), static_cast<uint32_t>(png.size()));
  EXPECT_NE(next, texture) << "a freed handle must not come back for another texture";
  for (HTEXTURE bad : {texture, HTEXTURE(0), HTEXTURE(999), HTEXTURE(0xFFFFFFFFu)}) {
    engine->Texture_Free(bad);
    EXPECT_EQ(engine->Texture_GetWidth(bad), 0);
    EXPECT_EQ(engine->Texture_GetHeight(bad), 0);
  }
  renderBody = [&] {
    engine->Gfx_BeginScene();
    engine->Gfx_Clear(0);
    hgeQuad gone = QuadAt(0, 0, 2, 2, texture, 0xFFFFFFFFu);
    engine->Gfx_RenderQuad(&gone);
    hgeQuad unknown = QuadAt(4, 0, 2, 2, 777, 0xFFFFFFFFu);
    engine->Gfx_RenderQuad(&unknown);
    engine->Gfx_RenderQuad(nullptr);
    engine->Gfx_EndScene();
  };
  ASSERT_EQ(Run(), 1);
  const auto px = ReadBack();
  ExpectColourNear(px[1200 + 1], 0xFF000000u, 0, "freed texture drew");
  ExpectColourNear(px[1200 + 5], 0xFF000000u, 0, "unknown texture drew");
  engine->Texture_Free(next);
}

TEST_P(RenderTest, QuadsWithAbsurdCoordinatesAreSkipped) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  renderBody = [&] {
    engine->Gfx_BeginScene();
    engine->Gfx_Clear(0);
    hgeQuad bad = QuadAt(nan, 0, 10, 10, 0, 0xFFFFFFFFu);
    engine->Gfx_RenderQuad(&bad);
    hgeQuad huge = QuadAt(-3e30f, -3e30f, 6e30f, 6e30f, 0, 0xFFFFFFFFu);
    engine->Gfx_RenderQuad(&huge);
    engine->Gfx_EndScene();
  };
  ASSERT_EQ(Run(), 1);
  const auto px = ReadBack();
  ExpectColourNear(px[600 * 1200 + 600], 0xFF000000u, 0, "centre");
}

class UnchangedFrameTest : public SdlEngineTest {};

TEST_F(UnchangedFrameTest, OnlyChangedFramesAreDrawnAndShownAgain) {
  const std::string png = MakePng(4, 4, std::vector<uint32_t>(16, 0xFFFF0000u));
  const HTEXTURE texture = engine->Texture_Load(png.data(), static_cast<uint32_t>(png.size()));
  ASSERT_NE(texture, 0u);
  uint32_t lineColour = 0xFFFFFFFFu;
  HTEXTURE drawn = texture;
  renderBody = [&] {
    engine->Gfx_BeginScene();
    engine->Gfx_Clear(0);
    engine->Gfx_RenderLine(0, 50, 100, 50, lineColour);
    hgeQuad q = QuadAt(200, 200, 4, 4, drawn, 0xFFFFFFFFu);
    engine->Gfx_RenderQuad(&q);
    engine->Gfx_EndScene();
  };
  auto pixel = [&](int x, int y) { return ReadBack()[static_cast<size_t>(y) * 1200 + x]; };
  struct Step {
    const char* what;
    std::function<void()> change;
    bool shown;
  } steps[] = {
      {"the first frame", [] {}, true},
      {"the same frame", [] {}, false},
      {"the same again", [] {}, false},
      {"another line colour", [&] { lineColour = 0xFF00FF00u; }, true},
      {"unchanged after that", [] {}, false},
      {"the window exposed", [&] { PushWindowEvent(SDL_WINDOWEVENT_EXPOSED); }, true},
      {"its texture freed", [&] { engine->Texture_Free(texture); }, true},
      {"capture turned on", [] { backend::SetFrameCapture(true); }, true},
  };
  for (const Step& s : steps) {
    s.change();
    const long long shownBefore = backend::FramesShown();
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(backend::FramesShown() - shownBefore, s.shown ? 1 : 0) << s.what;
  }
  ExpectColourNear(pixel(10, 50), 0xFF00FF00u, 0, "the line as last drawn");
  ExpectColourNear(pixel(201, 201), 0xFF000000u, 0, "the freed texture's quad is gone");

  backend::SetSkipUnchangedFrames(false);
  const long long shownBefore = backend::FramesShown();
  ASSERT_EQ(Run(3), 3);
  EXPECT_EQ(backend::FramesShown() - shownBefore, 3) << "with skipping off every frame is drawn";
}

}  // namespace
