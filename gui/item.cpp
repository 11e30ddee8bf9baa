// TARNGUI_ITEM: the parts list, the bounds that enclose the parts, the
// pointer state machine and the text entry into focused edit parts.
#include "gui/item.h"

#include <algorithm>
#include <new>

namespace {

NamedListOptions PartListOptions() {
  NamedListOptions options;
  options.sorted = false;
  options.owns = true;
  return options;
}

bool IsClickKey(int key) {
  return key == KEY_LBUTTON || key == KEY_RBUTTON;
}

}  // namespace

TARNGUI_ITEM::TARNGUI_ITEM(const std::string& name) : name(name), parts(PartListOptions()) {
  Clear();
}

TARNGUI_ITEM::~TARNGUI_ITEM() {
  Clear();
}

void TARNGUI_ITEM::Clear() {
  x = 0.0f;
  y = 0.0f;
  visible = true;
  enabled = true;
  state = GUI_IDLE;
  // Zero coordinates as well as the flag: an item without parts is never hit.
  bounds = hgeRect();
  while (parts.Count() > 0) DeletePart(0);
}

TARNGUI_PART* TARNGUI_ITEM::AddPart(float x, float y, const std::string& text, hgeFont* font,
                                    int align, uint32_t colorNormal, uint32_t colorHighlight,
                                    uint32_t colorDisabled) {
  TARNGUI_PART* part = new (std::nothrow) TARNGUI_PART();
  if (!part) return nullptr;
  part->Setup(x, y, text, font, align, colorNormal, colorHighlight, colorDisabled);
  parts.Add("", part);
  bounds = ComputeBounds();
  return part;
}

void TARNGUI_ITEM::DeletePart(int index) {
  if (index < 0 || index >= parts.Count()) return;
  parts.RemoveAt(index);
  bounds = ComputeBounds();
}

void TARNGUI_ITEM::SetPosition(float x, float y) {
  this->x = x;
  this->y = y;
  bounds = ComputeBounds();
}

hgeRect TARNGUI_ITEM::ComputeBounds() const {
  hgeRect result;
  for (int i = 0; i < parts.Count(); ++i) {
    const TARNGUI_PART* part = parts.Object(i);
    if (!part) continue;
    hgeRect r = part->GetBounds();
    r.x1 += x;
    r.x2 += x;
    r.y1 += y;
    r.y2 += y;
    if (result.empty) {
      result.Set(r.x1, r.y1, r.x2, r.y2);
    } else {
      result.x1 = std::min(result.x1, r.x1);
      result.y1 = std::min(result.y1, r.y1);
      result.x2 = std::max(result.x2, r.x2);
      result.y2 = std::max(result.y2, r.y2);
    }
  }
  return result;
}

void TARNGUI_ITEM::HighlightParts(bool flag) {
  for (int i = 0; i < parts.Count(); ++i)
    if (TARNGUI_PART* part = parts.Object(i)) part->SetHighlight(flag);
}

void TARNGUI_ITEM::FocusEditParts(bool flag) {
  for (int i = 0; i < parts.Count(); ++i) {
    TARNGUI_PART* part = parts.Object(i);
    if (part && part->editable) part->SetFocus(flag);
  }
}

void TARNGUI_ITEM::Draw(float dx, float dy) {
  for (int i = 0; i < parts.Count(); ++i)
    if (TARNGUI_PART* part = parts.Object(i)) part->Draw(x + dx, y + dy, enabled);
}

int TARNGUI_ITEM::HandleInput(int key, float mx, float my, float dx, float dy, int letter) {
  hgeRect point(mx, my, mx, my);
  hgeRect test(bounds.x1 + dx, bounds.y1 + dy, bounds.x2 + dx, bounds.y2 + dy);

  // A part without width (an empty caption) could never be hit; give its
  // box some room from the next frame on. An item without parts stays
  // unhittable.
  if (!bounds.empty) {
    if (bounds.x1 >= bounds.x2) {
      bounds.x1 -= 5.0f;
      bounds.x2 += 5.0f;
    }
    if (bounds.y1 >= bounds.y2) {
      bounds.y1 -= 5.0f;
      bounds.y2 += 5.0f;
    }
  }

  bool hit = test.Intersects(point);

  if (!enabled) {
    state = hit ? GUI_DISABLED_HOVER : GUI_IDLE;
    return state;
  }

  int next;
  if (hit) {
    HighlightParts(true);
    next = (state == GUI_IDLE) ? GUI_ENTER : GUI_HOVER;
    if (IsClickKey(key)) {
      next = GUI_CLICK;
      FocusEditParts(true);
    }
  } else {
    HighlightParts(false);
    next = (state == GUI_HOVER || state == GUI_CLICK) ? GUI_LEAVE : GUI_IDLE;
    if (IsClickKey(key)) FocusEditParts(false);
  }

  if ((letter >= 32 && letter <= 255) || key == KEY_BACKSPACE) {
    // Only a real character code can be appended; a NUL would cut the text.
    bool isChar = letter >= 1 && letter <= 255;
    for (int i = 0; i < parts.Count(); ++i) {
      TARNGUI_PART* part = parts.Object(i);
      if (!part || !part->editable || !part->focused || part->image) continue;
      if (isChar && part->acceptedChars.find(static_cast<char>(letter)) != std::string::npos) {
        if (part->maxLength > 0 && static_cast<int>(part->text.size()) >= part->maxLength) continue;
        part->text.push_back(static_cast<char>(letter));
      } else if (key == KEY_BACKSPACE) {
        if (!part->text.empty()) part->text.pop_back();
      } else {
        continue;
      }
      part->UpdateSize();
      bounds = ComputeBounds();
      next = GUI_EDIT;
    }
  }

  state = next;
  return state;
}
