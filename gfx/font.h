// hgeFont: single-byte text measured and drawn with a bitmap font. The font
// is read from a "[HGEFONT]" description (a Bitmap line naming the glyph
// sheet, Char lines cutting glyphs out of it) through the engine's resource
// loader.
#pragma once

#include <cstdint>

#include "gfx/engine.h"
#include "gfx/rect.h"
#include "gfx/sprite.h"

class hgeFont {
 public:
  // Reads the description; an unreadable or malformed one gives an empty
  // font (it measures 0 and draws nothing). Any bytes are read safely:
  // lines are cut at 255 characters, texture paths over 259 characters are
  // not loaded, Char lines without six numbers make no glyph.
  explicit hgeFont(const char* filename);
  ~hgeFont();
  hgeFont(const hgeFont&) = delete;
  hgeFont& operator=(const hgeFont&) = delete;

  // Alignment: TEXT_LEFT, TEXT_RIGHT or TEXT_CENTER (the two low bits; 3
  // draws left-aligned). Line feeds start new lines, each aligned by itself.
  void DrawString(float x, float y, int align, const char* text);
  // printf-style; the formatted text is cut at 1,023 bytes.
  void DrawFormatted(float x, float y, int align, const char* format, ...)
      __attribute__((format(printf, 5, 6)));

  // Width of the text up to its first line feed, in screen pixels.
  float MeasureLine(const char* text) const;
  void SetTextColor(uint32_t colour);
  uint32_t GetTextColor() const { return colour; }
  void SetDrawScale(float s) { scale = s; }
  float GetDrawScale() const { return scale; }
  // The largest glyph height of the description, unscaled.
  float GetLineHeight() const { return height; }

  // Read access for tests and tools.
  HTEXTURE GetTexture() const { return texture; }
  const hgeSprite* GetGlyph(int code) const {
    return (code >= 0 && code < 256) ? glyphs[code] : nullptr;
  }
  float GetPreAdvance(int code) const { return (code >= 0 && code < 256) ? pre[code] : 0.0f; }
  float GetPostAdvance(int code) const { return (code >= 0 && code < 256) ? post[code] : 0.0f; }

 private:
  // Index of the glyph that draws `code`: its own, else "?", else -1.
  int GlyphIndex(unsigned char code) const;
  float LineStart(float x, int align, const char* line) const;
  void ReadDescription(const char* name, const char* text);
  // False when the texture cannot be loaded (reading stops there).
  bool LoadBitmap(const char* name, const char* file);
  void SetGlyph(int code, int x, int y, int w, int h, int before, int after);
  // Frees a texture replaced by a later Bitmap line once no glyph uses it.
  void DropTexture(HTEXTURE old);

  static hgeEngine* engine;

  char buffer[1024];
  HTEXTURE texture = 0;
  hgeSprite* glyphs[256] = {};
  float pre[256] = {};
  float post[256] = {};
  float height = 0.0f;
  float scale = 1.0f;
  float rotation = 0.0f;
  float tracking = 0.0f;
  float spacing = 1.0f;
  uint32_t colour = 0xFFFFFFFF;
  // Textures replaced by a later Bitmap line that glyphs still use; each
  // holds at least one glyph, so there are never more than 256.
  HTEXTURE retired[256] = {};
  int retiredCount = 0;
};
