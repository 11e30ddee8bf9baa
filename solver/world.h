// The tour world: the houses the user places and the candidate tours the
// genetic algorithm evolves, each a QPATHDATA entry tied to one scene object
// of MainScene; the mouse editing of the houses and the reset of the
// population to random tours.
#pragma once

#include <cstdint>
#include <string>

#include "scene/object.h"
#include "solver/genome.h"
#include "util/named_list.h"

struct QPATHDATA {
  int32_t id = -1;  // -1 for houses; the world's pathCount for candidates
  int32_t generation = 1;
  char name[101] = {};  // graphic and object name: "qbuilding" or "qpath"
  char kind[101] = {};  // always "QPath"
  QUEN_DATA genes;      // a candidate's tour: gene i = house visited i-th
  float length = 0.0f;  // closed tour length, measured by the tour drawing
  int32_t best = 0;     // set on the shortest candidate by the tour drawing
  TARN_OBJECT* object = nullptr;
};

class QPATH {
 public:
  QPATH();
  ~QPATH();
  QPATH(const QPATH&) = delete;
  QPATH& operator=(const QPATH&) = delete;

  // The entry's genes are filled from TemplateGenome; with drawGenes false
  // they get its shape with every value 0, for callers that set every gene
  // straight away.
  QPATHDATA* AddEntry(const std::string& name, int id, bool drawGenes = true);
  QPATHDATA* AddBuilding(float x, float y);
  QPATHDATA* AddPath(float x, float y, bool drawGenes = true);
  // Destroys the entry (not its scene object or label).
  void DeleteAt(int index);
  void Delete(QPATHDATA* entry);
  void Clear();

  // Entries keyed by the decimal id, sorted, case-sensitive, owned.
  NamedList<QPATHDATA> items;
  int32_t pathCount = 0;
  TARN_OBJECT* highlighted = nullptr;
};

// Where a candidate's scene object is parked: off the map, never drawn.
constexpr float PARKED_X = -100.0f;
constexpr float PARKED_Y = -100.0f;
constexpr int MAX_BUILDINGS = 200;
constexpr float BUILDING_SPACING = 32.0f;
constexpr int START_PATHS = 15;

// 15 candidates on the given world, then ResetPaths.
void CreatePaths(QPATH* world);
// Rebuilds every candidate of World as a random tour over the current houses.
void ResetPaths();
// Once per frame: adds or deletes a house under the mouse rules, then
// refreshes every candidate's label. With leftAddsHouses false the left
// button adds nothing (the pointer is on a link drawn over the map); a held
// right button still deletes.
void EditBuildings(QPATH* world, float x, float y, bool leftAddsHouses = true);

// Makes TemplateGenome hold exactly the genes "0" .. "count-1" of 8 bits, as
// a Clear and count AddGene calls would, skipping the work when it already
// does.
void PrepareHouseGenome(int count);
