// Scene builders shared by the scene tests, the solver tests and the scene
// benchmark: the 24 x 24 house/tour graphic the program registers, and the
// program's worst-case scene of 200 houses and 45 parked candidates.
#pragma once

#include <vector>

#include "scene/scene.h"

namespace scene_fixtures {

constexpr float CELL = 24.0f;
constexpr float HOT_X = 12.0f, HOT_Y = 14.0f;

// A graphic like the program's house and tour graphics: a 24 x 24 frame (no
// texture needed) with its hot spot at (12, 14) and one collision circle.
inline TARN_GRAPHICS* AddCellGraphic(TARN& scene, const char* name, float sheetWidth = 0,
                                     float sheetHeight = 0, HTEXTURE texture = 0) {
  TARN_GRAPHICS* graphic =
      scene.AddGraphics(name, texture, 0, 0, CELL, CELL, sheetWidth, sheetHeight, 0);
  if (graphic) {
    graphic->sprite->SetHotSpot(HOT_X, HOT_Y);
    graphic->circles.AddCircle(HOT_X, HOT_Y, 14);
  }
  return graphic;
}

struct TourScene {
  std::vector<TARN_OBJECT*> houses;
  std::vector<TARN_OBJECT*> candidates;
};

// Houses on a grid over the 960 x 960 map, 32 pixels apart, at depth 10 as
// the tour world places them; candidates parked off the map and hidden.
inline TourScene BuildTourScene(TARN& scene, int houseCount = 200, int candidateCount = 45) {
  TARN_GRAPHICS* house = scene.FindGraphics("qbuilding");
  if (!house) house = AddCellGraphic(scene, "qbuilding");
  TARN_GRAPHICS* path = scene.FindGraphics("qpath");
  if (!path) path = AddCellGraphic(scene, "qpath");
  TourScene built;
  for (int i = 0; i < houseCount; ++i) {
    float x = 40.0f + 32.0f * static_cast<float>(i % 28);
    float y = 40.0f + 32.0f * static_cast<float>(i / 28);
    TARN_OBJECT* object = scene.CreateObject("qbuilding", house, x, y, 0);
    object->rotation = 0;
    scene.SetObjectDepth(object, 10);
    built.houses.push_back(object);
  }
  for (int i = 0; i < candidateCount; ++i) {
    TARN_OBJECT* object = scene.CreateObject("qpath", path, -100, -100, 0);
    object->visible = false;
    built.candidates.push_back(object);
  }
  return built;
}

}  // namespace scene_fixtures
