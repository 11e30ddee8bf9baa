// TARNGUI: one panel on the screen — an ordered, named collection of items
// placed relative to one position, shown or hidden as a whole — and the
// builder of the usual head-and-three-buttons panel.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/font.h"
#include "gui/item.h"
#include "util/named_list.h"

class TARNGUI {
 public:
  TARNGUI();
  ~TARNGUI();
  TARNGUI(const TARNGUI&) = delete;
  TARNGUI& operator=(const TARNGUI&) = delete;

  // Destroys every item, hides the panel and moves it to (0, 0).
  void Clear();
  void SetPosition(float x, float y) {
    this->x = x;
    this->y = y;
  }
  // The panel owns the item from now on.
  void AddItem(TARNGUI_ITEM* item);
  TARNGUI_ITEM* CreateItem(float x, float y, const std::string& name, bool enabled, bool visible);
  // Only for an item of this panel; otherwise null.
  TARNGUI_PART* CreatePart(TARNGUI_ITEM* item, float x, float y, const std::string& text,
                           hgeFont* font, int align, uint32_t colorNormal, uint32_t colorHighlight,
                           uint32_t colorDisabled);
  // First item with the name, compared without regard to case.
  TARNGUI_ITEM* FindItem(const std::string& name) const;
  void DeleteItem(int index);
  // Destroys the item if it belongs to this panel.
  void RemoveItem(TARNGUI_ITEM* item);
  void Draw();
  // Polls every visible item; reports the state and name of the last item
  // that was not idle.
  int HandleInput(int key, int mx, int my, std::string* name, int letter);
  bool BuildPanel(float x, float y, const std::string& head, const std::string& text1,
                  const std::string& text2, const std::string& text3, hgeFont* font,
                  uint32_t colorNormal, uint32_t colorHighlight, uint32_t colorDisabled);

  int ItemCount() const { return items.Count(); }
  TARNGUI_ITEM* GetItem(int index) const { return items.Object(index); }

  float x = 0.0f;
  float y = 0.0f;
  bool visible = false;
  NamedList<TARNGUI_ITEM> items;
};
