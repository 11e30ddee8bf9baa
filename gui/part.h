// TARNGUI_PART: the smallest GUI element — one text drawn with a bitmap font
// (a head, a caption, a label, or a small edit field) or one image — placed
// relative to its item, with three colours and its measured size.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/font.h"
#include "gfx/rect.h"
#include "gfx/sprite.h"

class TARNGUI_PART {
 public:
  TARNGUI_PART();
  ~TARNGUI_PART();  // destroys the image, if any
  TARNGUI_PART(const TARNGUI_PART&) = delete;
  TARNGUI_PART& operator=(const TARNGUI_PART&) = delete;

  // With no font nothing changes at all.
  void Setup(float x, float y, const std::string& text, hgeFont* font, int align,
             uint32_t colorNormal, uint32_t colorHighlight, uint32_t colorDisabled);
  // Size of a text of one or more lines (CR, LF, CR LF and LF CR break
  // lines; blanks at both ends of a line do not count). Returns the number
  // of lines; leaves the font at scale 1.
  int MeasureText(const std::string& text, hgeFont* font, float* width, float* height);
  void UpdateSize();
  // The part's rectangle in its item's coordinates.
  hgeRect GetBounds() const;
  void SetHighlight(bool flag) { highlighted = flag; }
  void SetFocus(bool flag) { focused = flag; }
  // dx, dy: the item's screen position; enabled: the item's flag.
  void Draw(float dx, float dy, bool enabled);

  float x = 0.0f;
  float y = 0.0f;
  bool highlighted = false;
  bool editable = false;
  bool focused = false;
  int align = 0;
  uint32_t colorNormal = 0x80FFFFFF;
  uint32_t colorHighlight = 0xFFFFFFFF;
  uint32_t colorDisabled = 0xFF808080;
  std::string text;
  hgeFont* font = nullptr;  // not owned
  float width = 0.0f;
  float height = 0.0f;
  std::string acceptedChars;  // codes 32..255 by default
  int maxLength = 0;          // 0: no limit
  hgeSprite* image = nullptr;  // owned
  float scale = 1.0f;
};
