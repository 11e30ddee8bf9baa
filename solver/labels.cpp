// The candidates' one-line labels in CandidatePanel: number, generation and
// tour length, the shortest in cyan.
#include "solver/labels.h"

#include <cstdio>

#include "app/config.h"
#include "solver/world.h"

namespace {

constexpr float ROW_HEIGHT = 16.0f;
constexpr uint32_t BEST_NORMAL = 0xA000FFFF;
constexpr uint32_t BEST_HIGHLIGHT = 0xFF00FFFF;
constexpr uint32_t OTHER_NORMAL = 0x80FFFF00;
constexpr uint32_t OTHER_HIGHLIGHT = 0xFFFFFF00;
constexpr uint32_t LABEL_DISABLED = 0xFF808080;

}  // namespace

std::string FormatPathLabel(const QPATHDATA& entry) {
  // kind holds at most 100 characters and a float at most 39 digits, so the
  // buffer always holds the whole text.
  char text[256];
  std::snprintf(text, sizeof text, "%.100s #%04d G=%02d L=%06.0f", entry.kind, entry.id,
                entry.generation, static_cast<double>(entry.length));
  return text;
}

void UpdatePathLabel(QPATHDATA* entry, int row) {
  if (!entry) return;
  const std::string name = std::to_string(entry->id);
  TARNGUI_ITEM* item = CandidatePanel.FindItem(name);
  if (row < 0) {
    // A candidate that never had a label ends with none: nothing to make.
    if (item) CandidatePanel.RemoveItem(item);
    return;
  }
  const std::string text = FormatPathLabel(*entry);
  if (!item) {
    item = new TARNGUI_ITEM(name);
    item->AddPart(0.0f, 0.0f, text, SmallFont, TEXT_MIDDLE, OTHER_NORMAL, OTHER_HIGHLIGHT,
                  LABEL_DISABLED);
    CandidatePanel.AddItem(item);
  }
  item->enabled = true;
  item->SetPosition(0.0f, ROW_HEIGHT * static_cast<float>(row));
  TARNGUI_PART* part = item->GetPart(0);
  if (!part) return;
  part->colorNormal = entry->best ? BEST_NORMAL : OTHER_NORMAL;
  part->colorHighlight = entry->best ? BEST_HIGHLIGHT : OTHER_HIGHLIGHT;
  part->text = text;
  part->UpdateSize();
}
