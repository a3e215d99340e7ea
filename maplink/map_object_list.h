// The list of map objects (the automation ProgIDs of the map programs the helper can drive)
// and the choice among them, as the map-object dialog shows and edits them. The registry
// keeps the names in list order as "MapObject00" to "MapObject14", their number in "o-cnt"
// and the chosen name in "MapObject". While the dialog is open its list is the list; each
// opening puts the registry back in order, the four built-in names first.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "maplink/map_object_store.h"

inline constexpr int kMaxMapObjects = 15;
inline constexpr std::array<const char*, 4> kBuiltInMapObjects = {
    "ProAtlasW2.Map", "ProAtlasW3.Map", "ProAtlasSV.Map", "Mapple.Document"};
inline constexpr char kChosenMapObjectValue[] = "MapObject";
inline constexpr char kMapObjectCountValue[] = "o-cnt";
// "MapObject%02d".
std::string MapObjectValueName(int index);

class MapObjectList {
 public:
  explicit MapObjectList(const MapObjectStore& store) : m_store(store) {}

  // Reads the names: the built-in ones, then the user's in their order, without copies of
  // built-in names and at most 15 in all; then writes them back in that form. The list
  // holds the names up to the first empty one.
  void LoadNames();
  const std::vector<std::string>& Names() const { return m_names; }
  // Appends a name to the list and the registry; an empty name adds nothing. False when
  // the list is full (the caller keeps the name where it was typed).
  bool AddName(const std::string& name);
  // Removes entry `index` (-1: none) and writes the names again without a gap.
  void DeleteName(int index);
  // The entry of the chosen name ("MapObject"), or -1.
  int ChosenEntry() const;
  // Makes entry `index` the chosen one and returns its name; -1 returns an empty name and
  // leaves the choice as it was.
  std::string Choose(int index) const;

 private:
  void WriteNames(const std::vector<std::string>& names) const;

  const MapObjectStore& m_store;
  std::vector<std::string> m_names;
};
