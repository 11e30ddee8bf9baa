// TARN_OBJECT: one placed instance of a graphic in a scene — position, kind
// name, number, drawing state and an untyped link back to its owner.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/rect.h"

class TARN;
class TARN_GRAPHICS;
template <typename T>
class NamedList;

class TARN_OBJECT {
 public:
  TARN_OBJECT(const std::string& name, TARN_GRAPHICS* graphics, float x, float y, TARN* scene,
              int id);

  // Selects the cell, culls, applies the colour override and draws the
  // object with the shared sprite (vx, vy: the scene's view offset).
  void PrepareAndDraw(float vx, float vy, float left, float top, float right, float bottom);

  float x, y;
  std::string name;
  TARN* scene;  // not owned
  int id;
  void* owner = nullptr;  // the owner's entry; the scene never reads it
  bool visible = true;
  bool selectable = true;
  float rotation = 0.0f;
  float scale = 1.0f;
  bool colorOverride = false;
  uint32_t overrideColor = 0xFFFFFFFF;
  bool perVertexOverride = false;
  uint32_t vertexColors[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  bool frozen = false;
  TARN_GRAPHICS* graphics;                 // not owned
  NamedList<void>* attachments = nullptr;  // nothing attaches effects here
  float drawOffsetX = 0.0f, drawOffsetY = 0.0f;
  float depth;  // changed only through TARN::SetObjectDepth
  int cellRow = 0, cellIndex = 0;
  // The key the scene's draw order holds the object under, kept by the scene
  // so that re-depthing and deletion find the entry without a scan.
  std::string drawKey;
  // Cell stepping over time; the delay stays 0, so cells never advance.
  int stepDelay = 0, stepTick = 0, stopCell = 0;
  bool stepBackwards = false, stepLoop = false;
};
