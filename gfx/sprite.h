// hgeSprite: a frame cut out of a texture, with a hot spot, four vertex
// colours and a blend mode, drawn as one textured quad; and FloatColor, the
// four-float form of an ARGB colour.
#pragma once

#include <cstdint>

#include "gfx/engine.h"
#include "gfx/rect.h"

struct FloatColor {
  float r = 0, g = 0, b = 0, a = 0;

  void FromARGB(uint32_t argb);
  uint32_t ToARGB() const;
};

class hgeSprite {
 public:
  hgeSprite(HTEXTURE texture, float frameX, float frameY, float width, float height);
  ~hgeSprite();
  hgeSprite(const hgeSprite&) = delete;
  hgeSprite& operator=(const hgeSprite&) = delete;

  // Draws the sprite with its hot spot at (x, y). A vertical scale of 0 means
  // "the same as the horizontal one". Allocates nothing.
  void RenderTransformed(float x, float y, float rotation, float hscale, float vscale = 0.0f);

  // index -1 sets all four vertices.
  void SetColor(uint32_t colour, int index = -1);
  uint32_t GetColor(int index = 0) const;
  void SetHotSpot(float x, float y) {
    hotX = x;
    hotY = y;
  }
  void GetHotSpot(float* x, float* y) const {
    if (x) *x = hotX;
    if (y) *y = hotY;
  }
  float GetWidth() const { return width; }
  float GetHeight() const { return height; }
  HTEXTURE GetTexture() const { return quad.texture; }
  void SetBlendMode(int blend) { quad.blend = blend; }
  int GetBlendMode() const { return quad.blend; }
  void SetTextureRect(float frameX, float frameY, float width, float height);
  void GetTextureRect(float* x, float* y, float* w, float* h) const;
  // Mirrors the frame; flags that differ from the current state toggle it.
  void SetFlip(bool flipX, bool flipY);
  void GetFlip(bool* x, bool* y) const {
    if (x) *x = flipX;
    if (y) *y = flipY;
  }
  // Box of the sprite drawn at (x, y), ignoring rotation and scale.
  hgeRect* GetBoundingBox(float x, float y, hgeRect* rect) const;

  const hgeQuad& Quad() const { return quad; }

 private:
  void ApplyTextureCoords();
  void ApplyFlipX();
  void ApplyFlipY();

  static hgeEngine* engine;  // shared by all sprites; each holds one reference

  hgeQuad quad;
  float frameX, frameY;
  float width, height;
  float texWidth, texHeight;
  float hotX = 0, hotY = 0;
  bool flipX = false, flipY = false;
};
