// The program state as JSON, in the orders the program itself uses: houses
// and candidates as the scene's queries list them, labels in panel order.
#include "tools/script/state_dump.h"

#include <cstdio>

#include "app/config.h"

namespace {

using Json = nlohmann::ordered_json;

Json RectJson(const hgeRect& r, float dx, float dy) {
  if (r.empty) return nullptr;
  return Json::array({r.x1 + dx, r.y1 + dy, r.x2 + dx, r.y2 + dy});
}

Json HousesJson() {
  Json houses = Json::array();
  if (!MainScene) return houses;
  const int n = MainScene->CollectObjects("qbuilding", false, nullptr);
  for (int i = 0; i < n; ++i) {
    const TARN_OBJECT* object = MainScene->GetResult(i);
    if (!object) continue;
    houses.push_back({{"id", object->id}, {"x", object->x}, {"y", object->y}});
  }
  return houses;
}

Json CandidatesJson() {
  Json candidates = Json::array();
  if (!MainScene) return candidates;
  const int m = MainScene->CollectObjects("qpath", false, nullptr);
  for (int i = 0; i < m; ++i) {
    const TARN_OBJECT* object = MainScene->GetResult(i);
    const auto* entry = object ? static_cast<const QPATHDATA*>(object->owner) : nullptr;
    if (!entry) continue;
    Json genes = Json::array();
    for (int g = 0; g < static_cast<int>(entry->genes.values.size()); ++g)
      genes.push_back(entry->genes.GetGene(g));
    candidates.push_back({{"id", entry->id},
                          {"generation", entry->generation},
                          {"length", entry->length},
                          {"best", entry->best != 0},
                          {"object", object->id},
                          {"genes", std::move(genes)}});
  }
  return candidates;
}

Json ItemJson(const TARNGUI& panel, const TARNGUI_ITEM& item) {
  const TARNGUI_PART* part = item.PartCount() > 0 ? item.GetPart(0) : nullptr;
  Json j = {{"name", item.GetName()},
            {"text", part ? Json(part->text) : Json(nullptr)},
            {"x", item.x},
            {"y", item.y},
            {"enabled", item.enabled},
            {"visible", item.visible},
            {"bounds", RectJson(item.bounds, panel.x, panel.y)}};
  j["color_normal"] = part ? Json(ColourText(part->colorNormal)) : Json(nullptr);
  j["color_highlight"] = part ? Json(ColourText(part->colorHighlight)) : Json(nullptr);
  return j;
}

Json ItemsJson(const TARNGUI& panel) {
  Json items = Json::array();
  for (int i = 0; i < panel.ItemCount(); ++i)
    if (const TARNGUI_ITEM* item = panel.GetItem(i)) items.push_back(ItemJson(panel, *item));
  return items;
}

Json PanelJson(const TARNGUI& panel, bool withItems) {
  Json j = {{"x", panel.x},
            {"y", panel.y},
            {"visible", panel.visible},
            {"item_count", panel.ItemCount()}};
  if (withItems) j["items"] = ItemsJson(panel);
  return j;
}

Json HighlightedJson() {
  if (!World.highlighted) return nullptr;
  const auto* entry = static_cast<const QPATHDATA*>(World.highlighted->owner);
  return entry ? Json(entry->id) : Json(nullptr);
}

}  // namespace

std::string ColourText(uint32_t colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
  return text;
}

nlohmann::ordered_json DescribeProgram(const RunRecord& run) {
  Json state;
  state["frame"] = run.frames;
  state["frame_clock"] = FrameClock;
  state["next_input_time"] = NextInputTime;
  state["logo_fade_step"] = LogoFadeStep;
  state["houses"] = HousesJson();
  state["candidates"] = CandidatesJson();
  state["path_count"] = World.pathCount;
  state["world_entries"] = World.items.Count();
  state["scene_objects"] = MainScene ? MainScene->ObjectCount() : 0;
  state["highlighted"] = HighlightedJson();
  state["labels"] = ItemsJson(CandidatePanel);
  state["candidate_panel"] = PanelJson(CandidatePanel, false);
  state["system_panel"] = PanelJson(SystemPanel, true);

  const hgeSprite* logo =
      LogoObject && LogoObject->graphics ? LogoObject->graphics->sprite : nullptr;
  state["logo_alpha"] = logo ? Json(logo->GetColor(0) >> 24) : Json(nullptr);
  state["logo_x"] = LogoObject ? Json(LogoObject->x) : Json(nullptr);
  state["logo_y"] = LogoObject ? Json(LogoObject->y) : Json(nullptr);

  Json boxes = Json::array();
  for (const RecordedBox& b : run.boxes)
    boxes.push_back(
        {{"frame", b.frame}, {"text", b.text}, {"caption", b.caption}, {"flags", b.flags}});
  state["message_boxes"] = std::move(boxes);
  Json starts = Json::array();
  for (const RecordedStart& s : run.starts)
    starts.push_back({{"frame", s.frame}, {"command", s.command}});
  state["started"] = std::move(starts);
  state["quit"] = run.quit;
  return state;
}
