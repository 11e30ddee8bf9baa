// TARN_GRAPHICS: a named, numbered image a scene knows — one sprite shared by
// every object of the graphic, the size of the sheet its frame belongs to,
// and two lists of shape records stored with it.
#pragma once

#include <string>

#include "gfx/engine.h"
#include "gfx/sprite.h"
#include "util/named_list.h"

class TARN;

struct TARN_CIRCLE {
  float x, y, radius;
};

// Node points: nothing in this program creates one; the record has a place
// and a name so the list has something to hold.
struct TARN_NODE {
  float x, y;
};

// A list of owned shape records, each under an empty name.
template <typename Record>
class TARN_SHAPELIST {
 public:
  TARN_SHAPELIST()
      : records({.sorted = false, .caseSensitive = true, .hashed = false, .owns = true}) {}
  int Count() const { return records.Count(); }
  Record* Get(int index) const { return records.Object(index); }
  // Frees the record at index; out-of-range indexes do nothing.
  void DeleteEntry(int index) { records.RemoveAt(index); }
  void Clear() {
    while (records.Count() > 0) records.RemoveAt(0);
  }

 protected:
  NamedList<Record> records;
};

class TARN_COLLISIONCIRCLE : public TARN_SHAPELIST<TARN_CIRCLE> {
 public:
  // Index of the new entry, or -1 when the record cannot be allocated.
  int AddCircle(float x, float y, float radius);
};

class TARN_NODEPOINT : public TARN_SHAPELIST<TARN_NODE> {};

class TARN_GRAPHICS {
 public:
  TARN_GRAPHICS(const std::string& name, int id, HTEXTURE texture, float frameX, float frameY,
                float width, float height, float sheetWidth, float sheetHeight, TARN* scene);
  ~TARN_GRAPHICS();
  TARN_GRAPHICS(const TARN_GRAPHICS&) = delete;
  TARN_GRAPHICS& operator=(const TARN_GRAPHICS&) = delete;

  std::string name;
  int id;
  hgeSprite* sprite;  // owned
  TARN_COLLISIONCIRCLE circles;
  TARN_NODEPOINT nodePoints;
  float sheetWidth;
  float sheetHeight;
  TARN* scene;  // not owned
};
