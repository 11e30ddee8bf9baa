// TARNGUI: a panel's item list (owned, in insertion order, found by name
// without regard to case), drawing and polling of its items, and the
// head-and-three-buttons builder.
#include "gui/panel.h"

#include <cmath>
#include <new>

namespace {

NamedListOptions ItemListOptions() {
  NamedListOptions options;
  options.sorted = false;
  options.caseSensitive = false;
  options.hashed = true;  // the candidate labels look themselves up every frame
  options.owns = true;
  return options;
}

// Rows are whole pixels, cut towards zero; a font with absurd glyph heights
// must not overflow the counter.
int TruncRow(float value) {
  if (std::isnan(value)) return 0;
  if (value < -2147483520.0f) return -2147483520;
  if (value > 2147483520.0f) return 2147483520;
  return static_cast<int>(value);
}

}  // namespace

TARNGUI::TARNGUI() : items(ItemListOptions()) {}

TARNGUI::~TARNGUI() {
  Clear();
}

void TARNGUI::Clear() {
  x = 0.0f;
  y = 0.0f;
  visible = false;
  items.Clear();
}

void TARNGUI::AddItem(TARNGUI_ITEM* item) {
  if (!item) return;
  // Owning the same item twice would destroy it twice.
  if (items.FindObject(item) >= 0) return;
  items.Add(item->GetName(), item);
}

TARNGUI_ITEM* TARNGUI::CreateItem(float x, float y, const std::string& name, bool enabled,
                                  bool visible) {
  TARNGUI_ITEM* item = new (std::nothrow) TARNGUI_ITEM(name);
  if (!item) return nullptr;
  item->enabled = enabled;
  item->visible = visible;
  item->SetPosition(x, y);
  AddItem(item);
  return item;
}

TARNGUI_PART* TARNGUI::CreatePart(TARNGUI_ITEM* item, float x, float y, const std::string& text,
                                  hgeFont* font, int align, uint32_t colorNormal,
                                  uint32_t colorHighlight, uint32_t colorDisabled) {
  if (!item || items.FindObject(item) < 0) return nullptr;
  return item->AddPart(x, y, text, font, align, colorNormal, colorHighlight, colorDisabled);
}

TARNGUI_ITEM* TARNGUI::FindItem(const std::string& name) const {
  return items.Object(items.FindFirst(name));
}

void TARNGUI::DeleteItem(int index) {
  if (index < 0 || index >= items.Count()) return;
  items.RemoveAt(index);
}

void TARNGUI::RemoveItem(TARNGUI_ITEM* item) {
  if (!item) return;
  DeleteItem(items.FindObject(item));
}

void TARNGUI::Draw() {
  if (!visible) return;
  for (int i = 0; i < items.Count(); ++i) {
    TARNGUI_ITEM* item = items.Object(i);
    if (item && item->visible) item->Draw(x, y);
  }
}

int TARNGUI::HandleInput(int key, int mx, int my, std::string* name, int letter) {
  if (name) name->clear();
  if (!visible) return GUI_IDLE;

  int result = GUI_IDLE;
  for (int i = 0; i < items.Count(); ++i) {
    TARNGUI_ITEM* item = items.Object(i);
    if (!item || !item->visible) continue;
    int state =
        item->HandleInput(key, static_cast<float>(mx), static_cast<float>(my), x, y, letter);
    if (state != GUI_IDLE) {
      result = state;
      if (name) *name = item->GetName();
    }
  }
  return result;
}

bool TARNGUI::BuildPanel(float x, float y, const std::string& head, const std::string& text1,
                         const std::string& text2, const std::string& text3, hgeFont* font,
                         uint32_t colorNormal, uint32_t colorHighlight, uint32_t colorDisabled) {
  if (!font) return true;
  SetPosition(x, y);

  const int align = TEXT_MIDDLE | TEXT_CENTER;
  const float lineHeight = font->GetLineHeight();
  TARNGUI_ITEM* built[4] = {};
  bool complete = true;
  int row = 0;

  // The head is disabled, so it always shows in its one colour.
  built[0] = new (std::nothrow) TARNGUI_ITEM("Head");
  if (built[0]) {
    built[0]->enabled = false;
    built[0]->SetPosition(0.0f, 0.0f);
    TARNGUI_PART* part = built[0]->AddPart(0.0f, 0.0f, head, font, align, colorHighlight,
                                           colorHighlight, colorHighlight);
    if (part)
      row = TruncRow(lineHeight + part->height + static_cast<float>(row));
    else
      complete = false;
  } else {
    complete = false;
  }

  const char* names[3] = {"Button1", "Button2", "Button3"};
  const std::string* texts[3] = {&text1, &text2, &text3};
  for (int b = 0; b < 3 && complete; ++b) {
    TARNGUI_ITEM* item = new (std::nothrow) TARNGUI_ITEM(names[b]);
    built[b + 1] = item;
    if (!item) {
      complete = false;
      break;
    }
    item->enabled = !texts[b]->empty();
    item->SetPosition(0.0f, static_cast<float>(row));
    TARNGUI_PART* part = item->AddPart(0.0f, 0.0f, *texts[b], font, align, colorNormal,
                                       colorHighlight, colorDisabled);
    if (!part) {
      complete = false;
      break;
    }
    row = TruncRow(lineHeight * 0.5f + part->height + static_cast<float>(row));
  }

  if (!complete) {
    for (TARNGUI_ITEM* item : built) delete item;
    return false;
  }
  for (TARNGUI_ITEM* item : built) AddItem(item);
  return true;
}
