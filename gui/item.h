// TARNGUI_ITEM: one entry of a panel (a head, a button, a label). It owns an
// ordered list of parts, hit-tests the pointer, runs the pointer state
// machine and feeds typed characters into its focused edit parts.
#pragma once

#include <string>

#include "gfx/rect.h"
#include "gui/part.h"
#include "util/named_list.h"

enum : int {
  GUI_IDLE = 0,
  GUI_ENTER = 1,
  GUI_HOVER = 2,
  GUI_CLICK = 3,
  GUI_LEAVE = 4,
  GUI_EDIT = 5,
  GUI_DISABLED_HOVER = 6,
};

class TARNGUI_ITEM {
 public:
  explicit TARNGUI_ITEM(const std::string& name);
  ~TARNGUI_ITEM();
  TARNGUI_ITEM(const TARNGUI_ITEM&) = delete;
  TARNGUI_ITEM& operator=(const TARNGUI_ITEM&) = delete;

  void Clear();
  TARNGUI_PART* AddPart(float x, float y, const std::string& text, hgeFont* font, int align,
                        uint32_t colorNormal, uint32_t colorHighlight, uint32_t colorDisabled);
  void DeletePart(int index);
  const std::string& GetName() const { return name; }
  void SetPosition(float x, float y);
  hgeRect ComputeBounds() const;
  void HighlightParts(bool flag);
  void FocusEditParts(bool flag);
  // dx, dy: the panel's screen position.
  void Draw(float dx, float dy);
  // key: this frame's key code (1, 2 buttons, 8 backspace); letter: the
  // character typed this frame, 0 if none. Returns the new state.
  int HandleInput(int key, float mx, float my, float dx, float dy, int letter);

  int PartCount() const { return parts.Count(); }
  TARNGUI_PART* GetPart(int index) const { return parts.Object(index); }

  float x = 0.0f;
  float y = 0.0f;
  std::string name;
  bool visible = true;
  bool enabled = true;
  int state = GUI_IDLE;
  hgeRect bounds;
  NamedList<TARNGUI_PART> parts;
};
