// TARN_GRAPHICS and its shape lists: the sprite every object of a graphic
// shares, the sheet size its cells are cut from, and the circle records.
#include "scene/graphics.h"

#include <new>

int TARN_COLLISIONCIRCLE::AddCircle(float x, float y, float radius) {
  TARN_CIRCLE* circle = new (std::nothrow) TARN_CIRCLE{x, y, radius};
  if (!circle) return -1;
  int index = records.Count();
  records.Add("", circle);
  return index;
}

TARN_GRAPHICS::TARN_GRAPHICS(const std::string& graphicName, int graphicId, HTEXTURE texture,
                             float frameX, float frameY, float width, float height, float sheetW,
                             float sheetH, TARN* owner)
    : name(graphicName),
      id(graphicId),
      sprite(new (std::nothrow) hgeSprite(texture, frameX, frameY, width, height)),
      sheetWidth(sheetW > width ? sheetW : width),
      sheetHeight(sheetH > height ? sheetH : height),
      scene(owner) {
  // Without a sprite the graphic still registers; its objects just never draw.
  if (sprite) {
    sprite->SetColor(0xFFFFFFFF, -1);
    sprite->SetBlendMode(BLEND_DEFAULT);
  }
}

TARN_GRAPHICS::~TARN_GRAPHICS() {
  delete sprite;
  circles.Clear();
  nodePoints.Clear();
}
