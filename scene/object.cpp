// TARN_OBJECT: construction with the record's defaults, and what drawing one
// object does each frame (cell selection, culling, colour override, quad).
#include "scene/object.h"

#include <cmath>

#include "scene/graphics.h"

TARN_OBJECT::TARN_OBJECT(const std::string& objectName, TARN_GRAPHICS* graphic, float px, float py,
                         TARN* owner, int objectId)
    : x(px), y(py), name(objectName), scene(owner), id(objectId), graphics(graphic), depth(py) {}

void TARN_OBJECT::PrepareAndDraw(float vx, float vy, float left, float top, float right,
                                 float bottom) {
  if (frozen || !graphics || !graphics->sprite) return;
  hgeSprite* sprite = graphics->sprite;
  float width = sprite->GetWidth(), height = sprite->GetHeight();

  // The sprite is shared, so every object selects its own cell before drawing.
  // A frame of no height has one row; a row outside the sheet falls back to 0.
  int rows = 1;
  if (height > 0.0f) {
    float whole = std::floor(graphics->sheetHeight / height);
    if (whole >= 2147483647.0f)
      rows = 2147483647;
    else if (whole >= 1.0f)  // also false for NaN
      rows = static_cast<int>(whole);
  }
  if (cellRow >= rows || cellRow < 0) cellRow = 0;
  sprite->SetTextureRect(width * static_cast<float>(cellIndex),
                         height * static_cast<float>(cellRow), width, height);
  if (!visible) return;

  float hotX, hotY;
  sprite->GetHotSpot(&hotX, &hotY);
  if (left < right) {
    float boxLeft = x - hotX * scale + drawOffsetX;
    if (boxLeft + width * scale < left || boxLeft > right) return;
  }
  if (top < bottom) {
    float boxTop = y - hotY * scale + drawOffsetY;
    if (boxTop + height * scale < top || boxTop > bottom) return;
  }

  if (colorOverride) {
    if (perVertexOverride) {
      for (int i = 0; i < 4; ++i) sprite->SetColor(vertexColors[i], i);
    } else {
      sprite->SetColor(overrideColor, -1);
    }
  }
  sprite->RenderTransformed(x + vx + drawOffsetX, y + vy + drawOffsetY, rotation, scale, 0.0f);
}
