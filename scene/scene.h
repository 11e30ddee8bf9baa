// TARN: one drawing layer's graphics and objects. It numbers its objects,
// indexes them by id, by name and by draw order, draws them in draw order,
// deletes them and answers the name-prefix queries of the tour world.
#pragma once

#include <string>
#include <string_view>

#include "gfx/rect.h"
#include "scene/graphics.h"
#include "scene/object.h"
#include "util/named_list.h"

class TARN {
 public:
  TARN();
  ~TARN();
  TARN(const TARN&) = delete;
  TARN& operator=(const TARN&) = delete;

  // Graphics registry. id <= 0 (or one already taken) chooses the next id.
  TARN_GRAPHICS* AddGraphics(const std::string& name, HTEXTURE texture, float frameX, float frameY,
                             float width, float height, float sheetWidth, float sheetHeight,
                             int id);
  TARN_GRAPHICS* FindGraphics(const std::string& name) const;

  // Objects. id <= 0 chooses the next number; an explicit id is taken as is.
  TARN_OBJECT* CreateObject(const std::string& name, TARN_GRAPHICS* graphics, float x, float y,
                            int id);
  // Removes the object from every index; unless detachOnly, destroys it.
  // Result entries that held it stay, holding nothing.
  void DeleteObject(TARN_OBJECT* object, bool detachOnly);
  // Deletes every object, oldest first, and restarts the automatic ids.
  void DeleteAllObjects(bool detachOnly);
  void SetObjectDepth(TARN_OBJECT* object, float depth);

  // Draws every object in draw order; culling along an axis only when its
  // low bound is below its high bound (0, 0, 0, 0 draws everything).
  void Render(float left, float top, float right, float bottom);

  // Queries over the objects whose name starts with `prefix`, in by-name
  // order (among equal names, newest first).
  TARN_OBJECT* FindNearestObject(const std::string& prefix, bool nearest, float x, float y,
                                 float radius, int* position, TARN_OBJECT* excluded);
  int CollectObjects(const std::string& prefix, bool firstOnly, TARN_OBJECT* excluded);
  TARN_OBJECT* GetResult(int position) const;
  // A new sorted list keyed by the decimal ids; the caller deletes it.
  NamedList<TARN_OBJECT>* CollectObjectsToList(const std::string& prefix, bool firstOnly,
                                               TARN_OBJECT* excluded);
  TARN_OBJECT* FindObjectInRect(const hgeRect* rect, const std::string& prefix,
                                TARN_OBJECT* excluded);
  bool GetObjectBox(const TARN_OBJECT* object, hgeRect* rect) const;

  // Read access for tests, tools and invariant checks.
  int ObjectCount() const { return objectsById.Count(); }
  const NamedList<TARN_OBJECT>& ObjectsById() const { return objectsById; }
  const NamedList<TARN_OBJECT>& ObjectsByName() const { return objectsByName; }
  const NamedList<TARN_OBJECT>& DrawOrder() const { return drawOrder; }
  int ResultCount() const { return results.Count(); }
  int NextObjectId() const { return nextObjectId; }
  int NextGraphicsId() const { return nextGraphicsId; }

 private:
  // Position of the entry holding object, looked up under its key; -1 when
  // the list does not hold it.
  int FindEntry(const NamedList<TARN_OBJECT>& list, std::string_view key,
                const TARN_OBJECT* object) const;
  // Takes the object at this position of objectsById out of every index and,
  // unless detachOnly, destroys it.
  void Unlink(int idPosition, bool detachOnly);

  NamedList<TARN_OBJECT> objectsById;
  NamedList<TARN_OBJECT> objectsByName;
  NamedList<TARN_OBJECT> drawOrder;
  NamedList<TARN_OBJECT> results;
  NamedList<TARN_GRAPHICS> graphicsById;
  NamedList<TARN_GRAPHICS> graphicsByName;
  int nextObjectId = 0;
  int nextGraphicsId = 0;
  float viewX = 0.0f, viewY = 0.0f;
};
