#include "gfx/sprite.h"

#include <cmath>
#include <utility>

hgeEngine* hgeSprite::engine = nullptr;

void FloatColor::FromARGB(uint32_t argb) {
  a = static_cast<float>(argb >> 24) / 255.0f;
  r = static_cast<float>((argb >> 16) & 255) / 255.0f;
  g = static_cast<float>((argb >> 8) & 255) / 255.0f;
  b = static_cast<float>(argb & 255) / 255.0f;
}

static uint32_t ChannelByte(float value) {
  // Truncation toward zero; values outside 0..1 are clamped so the parts
  // cannot spill into each other.
  float scaled = value * 255.0f;
  if (!(scaled > 0.0f)) return 0;
  if (scaled >= 255.0f) return 255;
  return static_cast<uint32_t>(scaled);
}

uint32_t FloatColor::ToARGB() const {
  return (ChannelByte(a) << 24) + (ChannelByte(r) << 16) + (ChannelByte(g) << 8) + ChannelByte(b);
}

hgeSprite::hgeSprite(HTEXTURE texture, float x, float y, float w, float h)
    : frameX(x), frameY(y), width(w), height(h) {
  engine = hgeCreate(ENGINE_VERSION);
  if (texture && engine) {
    texWidth = static_cast<float>(engine->Texture_GetWidth(texture));
    texHeight = static_cast<float>(engine->Texture_GetHeight(texture));
  } else {
    texWidth = 1.0f;
    texHeight = 1.0f;
  }
  // A texture of no size would divide by zero below.
  if (texWidth <= 0.0f) texWidth = 1.0f;
  if (texHeight <= 0.0f) texHeight = 1.0f;
  quad.texture = texture;
  ApplyTextureCoords();
  for (hgeVertex& v : quad.v) {
    v.z = 0.5f;
    v.colour = 0xFFFFFFFF;
    v.x = v.y = 0.0f;
  }
  quad.blend = BLEND_DEFAULT;
}

hgeSprite::~hgeSprite() {
  if (engine) engine->Release();
}

void hgeSprite::ApplyTextureCoords() {
  float uMin = frameX / texWidth, vMin = frameY / texHeight;
  float uMax = (frameX + width) / texWidth, vMax = (frameY + height) / texHeight;
  quad.v[0].u = uMin;
  quad.v[0].v = vMin;
  quad.v[1].u = uMax;
  quad.v[1].v = vMin;
  quad.v[2].u = uMax;
  quad.v[2].v = vMax;
  quad.v[3].u = uMin;
  quad.v[3].v = vMax;
}

static void SwapCoords(hgeVertex& a, hgeVertex& b) {
  std::swap(a.u, b.u);
  std::swap(a.v, b.v);
}

void hgeSprite::ApplyFlipX() {
  SwapCoords(quad.v[0], quad.v[1]);
  SwapCoords(quad.v[3], quad.v[2]);
  flipX = !flipX;
}

void hgeSprite::ApplyFlipY() {
  SwapCoords(quad.v[0], quad.v[3]);
  SwapCoords(quad.v[1], quad.v[2]);
  flipY = !flipY;
}

void hgeSprite::SetFlip(bool x, bool y) {
  if (x != flipX) ApplyFlipX();
  if (y != flipY) ApplyFlipY();
}

void hgeSprite::SetTextureRect(float x, float y, float w, float h) {
  frameX = x;
  frameY = y;
  width = w;
  height = h;
  ApplyTextureCoords();
  bool wasX = flipX, wasY = flipY;
  flipX = flipY = false;
  if (wasX) ApplyFlipX();
  if (wasY) ApplyFlipY();
}

void hgeSprite::GetTextureRect(float* x, float* y, float* w, float* h) const {
  if (x) *x = frameX;
  if (y) *y = frameY;
  if (w) *w = width;
  if (h) *h = height;
}

void hgeSprite::RenderTransformed(float x, float y, float rotation, float h, float v) {
  if (v == 0.0f) v = h;
  float left = -hotX * h, top = -hotY * v;
  float right = (width - hotX) * h, bottom = (height - hotY) * v;
  if (rotation != 0.0f) {
    float c = std::cos(rotation), s = std::sin(rotation);
    quad.v[0].x = left * c - top * s + x;
    quad.v[0].y = left * s + top * c + y;
    quad.v[1].x = right * c - top * s + x;
    quad.v[1].y = right * s + top * c + y;
    quad.v[2].x = right * c - bottom * s + x;
    quad.v[2].y = right * s + bottom * c + y;
    quad.v[3].x = left * c - bottom * s + x;
    quad.v[3].y = left * s + bottom * c + y;
  } else {
    quad.v[0].x = left + x;
    quad.v[0].y = top + y;
    quad.v[1].x = right + x;
    quad.v[1].y = top + y;
    quad.v[2].x = right + x;
    quad.v[2].y = bottom + y;
    quad.v[3].x = left + x;
    quad.v[3].y = bottom + y;
  }
  if (engine) engine->Gfx_RenderQuad(&quad);
}

void hgeSprite::SetColor(uint32_t colour, int index) {
  if (index == -1) {
    for (hgeVertex& v : quad.v) v.colour = colour;
  } else if (index >= 0 && index < 4) {
    quad.v[index].colour = colour;
  }
}

uint32_t hgeSprite::GetColor(int index) const {
  return (index >= 0 && index < 4) ? quad.v[index].colour : 0;
}

hgeRect* hgeSprite::GetBoundingBox(float x, float y, hgeRect* rect) const {
  if (rect) rect->Set(x - hotX, y - hotY, x - hotX + width, y - hotY + height);
  return rect;
}
