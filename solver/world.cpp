// The tour world: its entries, the population reset to random tours and the
// mouse editing of the houses.
#include "solver/world.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "app/config.h"
#include "gfx/os.h"
#include "solver/labels.h"
#include "util/random.h"

namespace {

constexpr NamedListOptions ENTRY_LIST{
    .sorted = true, .caseSensitive = true, .hashed = false, .owns = true};
constexpr int HOUSE_GENE_BITS = 8;
constexpr float HOUSE_DEPTH = 10.0f;

void CopyText(char (&buffer)[101], const std::string& text) {
  size_t n = text.size() < sizeof buffer - 1 ? text.size() : sizeof buffer - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

bool IsDecimalName(const std::string& name, int value) {
  char digits[16];
  auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::string_view(name) == std::string_view(digits, static_cast<size_t>(end - digits));
}

}  // namespace

QPATH::QPATH() : items(ENTRY_LIST) {}

QPATH::~QPATH() {
  Clear();
}

QPATHDATA* QPATH::AddEntry(const std::string& name, int id, bool drawGenes) {
  QPATHDATA* entry = new QPATHDATA();
  entry->id = id;
  entry->generation = 1;
  CopyText(entry->name, name);
  CopyText(entry->kind, "QPath");
  if (drawGenes)
    entry->genes.Fill(&TemplateGenome);
  else
    entry->genes.FillBlank(&TemplateGenome);
  items.Add(std::to_string(id), entry);
  return entry;
}

QPATHDATA* QPATH::AddBuilding(float x, float y) {
  QPATHDATA* entry = AddEntry("qbuilding", -1);
  TARN_GRAPHICS* graphics = MainScene ? MainScene->FindGraphics("qbuilding") : nullptr;
  if (!graphics) return entry;
  TARN_OBJECT* object = MainScene->CreateObject("qbuilding", graphics, x, y, 0);
  object->owner = entry;
  object->rotation = 0.0f;
  MainScene->SetObjectDepth(object, HOUSE_DEPTH);
  entry->object = object;
  return entry;
}

QPATHDATA* QPATH::AddPath(float x, float y, bool drawGenes) {
  QPATHDATA* entry = AddEntry("qpath", pathCount, drawGenes);
  ++pathCount;
  TARN_GRAPHICS* graphics = MainScene ? MainScene->FindGraphics("qpath") : nullptr;
  if (!graphics) return entry;
  TARN_OBJECT* object = MainScene->CreateObject("qpath", graphics, x, y, 0);
  object->owner = entry;
  object->rotation = 0.0f;
  object->visible = false;
  entry->object = object;
  return entry;
}

void QPATH::DeleteAt(int index) {
  QPATHDATA* entry = items.Object(index);
  if (!entry) return;
  // The highlight must never point at an object whose entry is gone.
  if (entry->object && entry->object == highlighted) highlighted = nullptr;
  items.RemoveAt(index);
}

void QPATH::Delete(QPATHDATA* entry) {
  if (!entry) return;
  int position = items.FindObject(entry);
  if (position >= 0) DeleteAt(position);
}

void QPATH::Clear() {
  while (!items.Empty()) DeleteAt(0);
  pathCount = 0;
  highlighted = nullptr;
}

void PrepareHouseGenome(int count) {
  if (count < 0) count = 0;
  bool same =
      TemplateGenome.GeneCount() == count && TemplateGenome.totalBits == HOUSE_GENE_BITS * count;
  for (int i = 0; same && i < count; ++i)
    same = TemplateGenome.GeneBits(i) == HOUSE_GENE_BITS &&
           IsDecimalName(TemplateGenome.GeneName(i), i);
  if (same) return;
  TemplateGenome.Clear();
  for (int i = 0; i < count; ++i) TemplateGenome.AddGene(HOUSE_GENE_BITS, std::to_string(i));
}

void CreatePaths(QPATH* world) {
  if (!world) return;
  for (int i = 0; i < START_PATHS; ++i) world->AddPath(PARKED_X, PARKED_Y);
  ResetPaths();
}

void ResetPaths() {
  if (!MainScene) return;
  const int n = MainScene->CollectObjects("qbuilding", false, nullptr);
  if (n <= 0) return;
  const int m = MainScene->CollectObjects("qpath", false, nullptr);
  PrepareHouseGenome(n);
  // Label, entry, object: the label is found by the entry's id, the entry
  // by itself, so the object goes last.
  for (int i = 0; i < m; ++i) {
    TARN_OBJECT* object = MainScene->GetResult(i);
    if (!object) continue;
    auto* entry = static_cast<QPATHDATA*>(object->owner);
    UpdatePathLabel(entry, -1);
    World.Delete(entry);
    MainScene->DeleteObject(object, false);
  }
  World.pathCount = 0;
  for (int i = 0; i < m; ++i) {
    QPATHDATA* entry = World.AddPath(PARKED_X, PARKED_Y);
    QUEN_DATA& genes = entry->genes;
    for (int j = 0; j < n; ++j) genes.SetGene(j, j);
    for (int k = 0; k < 2 * n; ++k) {
      int a = RandomBelow(n);
      int b = RandomBelow(n);
      int32_t held = genes.GetGene(a);
      genes.SetGene(a, genes.GetGene(b));
      genes.SetGene(b, held);
    }
  }
}

void EditBuildings(QPATH* world, float x, float y, bool leftAddsHouses) {
  if (!MainScene) return;
  if (world && Engine && x < MAP_WIDTH && y < MAP_HEIGHT) {
    if (leftAddsHouses && Engine->Input_GetKeyState(KEY_LBUTTON) && NextInputTime < FrameClock) {
      TARN_OBJECT* near =
          MainScene->FindNearestObject("qbuilding", true, x, y, BUILDING_SPACING, nullptr, nullptr);
      if (!near) {
        if (MainScene->CollectObjects("qbuilding", false, nullptr) >= MAX_BUILDINGS) {
          OS_MessageBox("Maximum number of buildings.", PROGRAM_NAME,
                        MB_FLAG_ICON_ERROR | MB_FLAG_OK);
        } else {
          world->AddBuilding(x, y);
          ResetPaths();
        }
      }
      NextInputTime = FrameClock + INPUT_DELAY;
    } else if (Engine->Input_GetKeyState(KEY_RBUTTON) && NextInputTime < FrameClock) {
      hgeRect pixel;
      pixel.Set(x, y, x + 1.0f, y + 1.0f);
      TARN_OBJECT* house = MainScene->FindObjectInRect(&pixel, "qbuilding", nullptr);
      if (house) {
        world->Delete(static_cast<QPATHDATA*>(house->owner));
        MainScene->DeleteObject(house, false);
        ResetPaths();
      }
      NextInputTime = FrameClock + INPUT_DELAY * 0.5f;
    }
  }
  // The labels follow the scene's order of the candidates, newest first.
  const int m = MainScene->CollectObjects("qpath", false, nullptr);
  for (int i = 0; i < m; ++i) {
    TARN_OBJECT* object = MainScene->GetResult(i);
    if (object && object->owner) UpdatePathLabel(static_cast<QPATHDATA*>(object->owner), i);
  }
}
