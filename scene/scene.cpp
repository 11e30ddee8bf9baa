// TARN: numbering, indexing, drawing, deleting and querying the objects of
// one drawing layer, and the registry of its graphics.
#include "scene/scene.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "util/text.h"

namespace {

constexpr NamedListOptions HASHED{
    .sorted = false, .caseSensitive = true, .hashed = true, .owns = false};
constexpr NamedListOptions SORTED_BY_NAME{
    .sorted = true, .caseSensitive = true, .hashed = false, .owns = false};
constexpr NamedListOptions UNSORTED{
    .sorted = false, .caseSensitive = true, .hashed = false, .owns = false};

std::string IdText(int id) {
  return std::to_string(id);
}

// The next automatic number. At the top of the range it stays there (a
// duplicate number) rather than wrapping to negative ids.
int NextNumber(int& counter) {
  if (counter < INT_MAX) ++counter;
  return counter;
}

// An object's decimal id with its text packed big-endian into two words, so
// that comparing the words orders the keys exactly as comparing the texts
// byte by byte does (unused bytes are 0, below every digit and '-').
struct IdKey {
  explicit IdKey(TARN_OBJECT* o) : object(o) {
    length = static_cast<uint8_t>(std::to_chars(text, text + sizeof text, o->id).ptr - text);
    for (int i = 0; i < 16; ++i) {
      uint64_t byte = i < length ? static_cast<unsigned char>(text[i]) : 0;
      (i < 8 ? high : low) |= byte << (8 * (7 - (i % 8)));
    }
  }
  bool operator<(const IdKey& other) const {
    return high != other.high ? high < other.high : low < other.low;
  }
  std::string_view Text() const { return std::string_view(text, length); }

  uint64_t high = 0, low = 0;
  TARN_OBJECT* object;
  char text[16];  // "-2147483648" and its terminator, room to spare
  uint8_t length;
};

}  // namespace

TARN::TARN()
    : objectsById(HASHED),
      objectsByName(SORTED_BY_NAME),
      drawOrder(SORTED_BY_NAME),
      results(UNSORTED),
      graphicsById(HASHED),
      graphicsByName(HASHED) {}

TARN::~TARN() {
  DeleteAllObjects(false);
  results.Clear();
  for (int i = 0; i < graphicsById.Count(); ++i) delete graphicsById.Object(i);
  graphicsById.Clear();
  graphicsByName.Clear();
}

// ---- Graphics registry ------------------------------------------------------

TARN_GRAPHICS* TARN::AddGraphics(const std::string& name, HTEXTURE texture, float frameX,
                                 float frameY, float width, float height, float sheetWidth,
                                 float sheetHeight, int id) {
  if (id <= 0 || graphicsById.FindLast(IdText(id)) >= 0)
    id = NextNumber(nextGraphicsId);
  else if (nextGraphicsId < id)
    nextGraphicsId = id;
  TARN_GRAPHICS* graphic = new (std::nothrow) TARN_GRAPHICS(
      name, id, texture, frameX, frameY, width, height, sheetWidth, sheetHeight, this);
  if (!graphic) return nullptr;
  graphicsById.Add(IdText(id), graphic);
  graphicsByName.Add(name, graphic);
  return graphic;
}

TARN_GRAPHICS* TARN::FindGraphics(const std::string& name) const {
  return graphicsByName.Object(graphicsByName.FindLast(name));
}

// ---- Objects ----------------------------------------------------------------

TARN_OBJECT* TARN::CreateObject(const std::string& name, TARN_GRAPHICS* graphics, float x, float y,
                                int id) {
  if (id <= 0)
    id = NextNumber(nextObjectId);
  else if (nextObjectId < id)
    nextObjectId = id;
  TARN_OBJECT* object = new (std::nothrow) TARN_OBJECT(name, graphics, x, y, this, id);
  if (!object) return nullptr;
  std::string idText = IdText(id);
  object->drawKey = NumberKey(idText, object->depth);
  objectsById.Add(idText, object);
  objectsByName.Add(object->name, object);
  drawOrder.Add(object->drawKey, object);
  return object;
}

int TARN::FindEntry(const NamedList<TARN_OBJECT>& list, std::string_view key,
                    const TARN_OBJECT* object) const {
  if (!object) return -1;
  int position = list.FindIf(key, [&](int i) { return list.Object(i) == object; });
  // Only when the object's id, name or depth was changed behind the scene's
  // back (or it is not ours) does the keyed lookup miss.
  if (position < 0) position = list.FindObject(object);
  return position;
}

void TARN::Unlink(int idPosition, bool detachOnly) {
  TARN_OBJECT* object = objectsById.Take(idPosition);
  if (!object) return;
  int position = FindEntry(objectsByName, object->name, object);
  if (position >= 0) objectsByName.Take(position);
  position = FindEntry(drawOrder, object->drawKey, object);
  if (position >= 0) drawOrder.Take(position);
  // Result entries stay in place so positions keep their meaning; they just
  // stop pointing at the object.
  for (int i = 0; i < results.Count(); ++i)
    if (results.Object(i) == object) results.SetObject(i, nullptr);
  if (!detachOnly) delete object;
}

void TARN::DeleteObject(TARN_OBJECT* object, bool detachOnly) {
  if (!object) return;
  int position = FindEntry(objectsById, IdText(object->id), object);
  if (position >= 0) Unlink(position, detachOnly);
}

void TARN::DeleteAllObjects(bool detachOnly) {
  while (!objectsById.Empty()) Unlink(0, detachOnly);
  nextObjectId = 0;
}

void TARN::SetObjectDepth(TARN_OBJECT* object, float depth) {
  if (!object) return;
  int position = FindEntry(drawOrder, object->drawKey, object);
  if (position < 0) return;
  drawOrder.Take(position);
  object->depth = depth;
  object->drawKey = NumberKey(IdText(object->id), depth);
  drawOrder.Add(object->drawKey, object);
}

// ---- Drawing ----------------------------------------------------------------

void TARN::Render(float left, float top, float right, float bottom) {
  // The count is read at every step, as the list is the one source of truth.
  for (int i = 0; i < drawOrder.Count(); ++i) {
    TARN_OBJECT* object = drawOrder.Object(i);
    if (object) object->PrepareAndDraw(viewX, viewY, left, top, right, bottom);
  }
}

bool TARN::GetObjectBox(const TARN_OBJECT* object, hgeRect* rect) const {
  if (!rect) return false;
  rect->Clear();
  if (!object || !object->graphics || !object->graphics->sprite) return false;
  object->graphics->sprite->GetBoundingBox(object->x, object->y, rect);
  float k = 1.0f - object->scale;
  rect->x1 += (object->x - rect->x1) * k;
  rect->y1 += (object->y - rect->y1) * k;
  rect->x2 -= (rect->x2 - object->x) * k;
  rect->y2 -= (rect->y2 - object->y) * k;
  return true;
}

// ---- Queries ----------------------------------------------------------------
//
// Names starting with a prefix form one run of the sorted by-name list,
// beginning at the prefix's lower bound. A name that does not start with the
// prefix and sorts after it lies past that run, and so does every later name.

static bool PastRun(const std::string& name, const std::string& prefix, bool matches) {
  return !matches && CompareNames(name, prefix, true) > 0;
}

int TARN::CollectObjects(const std::string& prefix, bool firstOnly, TARN_OBJECT* excluded) {
  results.Clear();
  for (int i = objectsByName.LowerBound(prefix); i < objectsByName.Count(); ++i) {
    if (!StartsWith(objectsByName.Name(i), prefix)) break;
    TARN_OBJECT* object = objectsByName.Object(i);
    if (!object || object == excluded || !object->selectable) continue;
    results.Add(IdText(object->id), object);
    if (firstOnly) break;
  }
  return results.Count();
}

TARN_OBJECT* TARN::GetResult(int position) const {
  return results.Object(position);
}

NamedList<TARN_OBJECT>* TARN::CollectObjectsToList(const std::string& prefix, bool firstOnly,
                                                   TARN_OBJECT* excluded) {
  NamedList<TARN_OBJECT>* list = new (std::nothrow) NamedList<TARN_OBJECT>(SORTED_BY_NAME);
  if (!list) return nullptr;
  // Inserting the walk one by one would shift the sorted list on nearly
  // every insert (the walk meets ids newest first). Sorting the keys first
  // and adding them in ascending order gives the same list: equal keys keep
  // walk order here and then land before each other, as one-by-one adds do.
  std::vector<IdKey> found;
  for (int i = objectsByName.LowerBound(prefix); i < objectsByName.Count(); ++i) {
    if (!StartsWith(objectsByName.Name(i), prefix)) break;
    TARN_OBJECT* object = objectsByName.Object(i);
    if (!object || object == excluded || !object->selectable) continue;
    found.emplace_back(object);
    if (firstOnly) break;
  }
  std::stable_sort(found.begin(), found.end());
  for (const IdKey& key : found) list->Add(key.Text(), key.object);
  return list;
}

TARN_OBJECT* TARN::FindNearestObject(const std::string& prefix, bool nearest, float x, float y,
                                     float radius, int* position, TARN_OBJECT* excluded) {
  TARN_OBJECT* best = nullptr;
  float bestDistance = 3.4e38f;
  int hitPosition = -1;
  int start = (position && *position > 0) ? *position : objectsByName.LowerBound(prefix);
  for (int i = start; i < objectsByName.Count(); ++i) {
    const std::string& name = objectsByName.Name(i);
    bool matches = StartsWith(name, prefix);
    if (PastRun(name, prefix, matches)) break;
    TARN_OBJECT* object = objectsByName.Object(i);
    if (!object || object == excluded) continue;
    // Written so that a NaN coordinate or radius counts as outside.
    if (!(object->x >= x - radius && object->x <= x + radius)) continue;
    if (!(object->y >= y - radius && object->y <= y + radius)) continue;
    if (!matches) break;
    float dx = object->x - x, dy = object->y - y;
    float distance = std::sqrt(dx * dx + dy * dy);
    if (!(distance <= radius)) continue;
    if (!nearest) {
      best = object;
      hitPosition = i;
      break;
    }
    if (distance < bestDistance) {
      best = object;
      bestDistance = distance;
    }
  }
  if (position) *position = hitPosition;
  return best;
}

TARN_OBJECT* TARN::FindObjectInRect(const hgeRect* rect, const std::string& prefix,
                                    TARN_OBJECT* excluded) {
  if (!rect) return nullptr;
  hgeRect box;
  for (int i = objectsByName.LowerBound(prefix); i < objectsByName.Count(); ++i) {
    // The walk starts at the run, so the first name outside it is past it;
    // no object from there on can be the answer.
    if (!StartsWith(objectsByName.Name(i), prefix)) break;
    TARN_OBJECT* object = objectsByName.Object(i);
    if (!object || object == excluded || !object->selectable) continue;
    if (!GetObjectBox(object, &box)) continue;
    if (rect->x2 > box.x1 && rect->y2 > box.y1 && rect->x1 < box.x2 && rect->y1 < box.y2)
      return object;
  }
  return nullptr;
}
