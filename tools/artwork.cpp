// Shapes are laid out on the pixel grid at whole or half pixels so the
// small icon keeps crisp edges where it can.
#include "tools/artwork.h"

#include <cmath>

#include "tools/canvas.h"

namespace {

std::u32string Widen(const std::string& text) {
  std::u32string wide;
  for (unsigned char c : text) wide += static_cast<char32_t>(c);
  return wide;
}

uint32_t Mix(uint32_t a, uint32_t b, float t) {
  auto channel = [&](int shift) {
    const float x = ((a >> shift) & 0xFF) * (1.0f - t) + ((b >> shift) & 0xFF) * t;
    return static_cast<uint32_t>(std::lround(x)) << shift;
  };
  return channel(24) | channel(16) | channel(8) | channel(0);
}

}  // namespace

Image DrawHouseIcon() {
  Canvas c(HOUSE_SIZE, HOUSE_SIZE);
  const uint32_t roof = 0xFFD8492E;
  const uint32_t roofShade = 0xFF9C2C1A;
  const uint32_t wall = 0xFFF4E8CC;
  const uint32_t wallShade = 0xFFD9C8A2;
  const uint32_t door = 0xFF7A4A26;
  const uint32_t window = 0xFFFFD04A;

  c.FillRect(16, 3, 19, 9, roofShade);  // chimney, behind the roof
  c.FillRect(4, 11, 20, 23, wall);
  c.FillRect(4, 21.5f, 20, 23, wallShade);  // a footing line grounds it
  c.FillPolygon({{12, 2}, {23.5f, 12.5f}, {0.5f, 12.5f}}, roof);
  c.FillPolygon({{0.5f, 12.5f}, {23.5f, 12.5f}, {22.4f, 13.5f}, {1.6f, 13.5f}}, roofShade);
  c.FillRect(10, 16, 14, 23, door);
  c.FillRect(5.5f, 15, 8.5f, 18, window);
  c.FillRect(15.5f, 15, 18.5f, 18, window);
  Image icon = c.ToImage();
  BleedColour(&icon);
  return icon;
}

bool DrawLogo(Typeface& wordFace, Typeface& tagFace, const std::string& name,
              const std::string& tagline, Image* logo, std::string* error) {
  if (!logo) return false;
  Canvas c(LOGO_WIDTH, LOGO_HEIGHT);
  const uint32_t ringColour = 0xFF3CC6F0;
  const uint32_t routeColour = 0xFFFFFFFF;
  const uint32_t houseColour = 0xFFFFB23C;

  // Emblem: a closed tour over seven houses inside a ring; one house lies
  // inside the others so the tour bends like a real route.
  const float cx = 72, cy = 83, radius = 62;
  c.StrokeRing(cx, cy, radius, 5, ringColour);
  const Point stops[] = {{-36, -16}, {-8, -40}, {30, -30}, {6, -2}, {38, 18}, {2, 38}, {-34, 24}};
  constexpr int kStops = sizeof stops / sizeof stops[0];
  for (int i = 0; i < kStops; ++i) {
    const Point a{cx + stops[i].x, cy + stops[i].y};
    const Point b{cx + stops[(i + 1) % kStops].x, cy + stops[(i + 1) % kStops].y};
    c.StrokeLine(a, b, 3, routeColour);
  }
  for (const Point& p : stops) {
    c.FillDisc(cx + p.x, cy + p.y, 7, 0xFF1A1A1A);  // a dark collar keeps the dots apart
    c.FillDisc(cx + p.x, cy + p.y, 5.5f, houseColour);
  }

  // Word mark: the largest size that fits right of the emblem.
  const int textLeft = 150, textRight = LOGO_WIDTH - 10;
  GlyphBitmap word;
  bool fitted = false;
  for (float size = 64; size >= 16; size -= 1) {
    if (!wordFace.SetPixelSize(size, error)) return false;
    if (!wordFace.RenderLine(Widen(name), &word)) break;
    if (word.width <= textRight - textLeft) {
      fitted = true;
      break;
    }
  }
  if (!fitted) {
    if (error) *error = "the name cannot be set in the logo: " + name;
    return false;
  }
  GlyphBitmap tag;
  bool hasTag = false;
  if (!tagline.empty()) {
    for (float size = 18; size >= 9; size -= 1) {
      if (!tagFace.SetPixelSize(size, error)) return false;
      if (!tagFace.RenderLine(Widen(tagline), &tag)) break;
      if (tag.width <= word.width) {
        hasTag = true;
        break;
      }
    }
  }

  // Word, rule and tagline stacked and centred on the emblem's middle.
  const int gap = 10, ruleHeight = 2;
  const int block = word.rows + (hasTag ? gap + ruleHeight + gap + tag.rows : 0);
  const int top = static_cast<int>(cy) - block / 2;
  const int left = textLeft + (textRight - textLeft - word.width) / 2;
  const uint32_t wordTop = 0xFFFFFFFF, wordBottom = 0xFFA8E6FF;
  c.DrawMask(word, left, top, [&](int row) {
    return Mix(wordTop, wordBottom, word.rows > 1 ? static_cast<float>(row) / (word.rows - 1) : 0);
  });
  if (hasTag) {
    const float ruleY = static_cast<float>(top + word.rows + gap);
    c.FillRect(static_cast<float>(left), ruleY, static_cast<float>(left + word.width),
               ruleY + ruleHeight, ringColour);
    const int tagLeft = left + (word.width - tag.width) / 2;
    c.DrawMask(tag, tagLeft, static_cast<int>(ruleY) + ruleHeight + gap,
               [](int) { return 0xFFC8D2DC; });
  }
  *logo = c.ToImage();
  BleedColour(logo);
  return true;
}
