#include "maplink/map_object_list.h"

#include <algorithm>
#include <cstdio>

std::string MapObjectValueName(int index) {
  char name[24];
  std::snprintf(name, sizeof name, "MapObject%02d", index);
  return name;
}

void MapObjectList::LoadNames() {
  std::vector<std::string> names(kBuiltInMapObjects.begin(), kBuiltInMapObjects.end());
  // The count is unsigned: a stored 0xFFFFFFFF is a very large count, not -1, and reads
  // every name instead of none (which the rewrite below would then lose).
  const int stored = static_cast<int>(std::min<std::uint32_t>(m_store.ReadDword(kMapObjectCountValue), kMaxMapObjects));
  for (int i = 0; i < stored && names.size() < kMaxMapObjects; ++i) {
    std::string name = m_store.ReadString(MapObjectValueName(i));
    if (std::find(kBuiltInMapObjects.begin(), kBuiltInMapObjects.end(), name) != kBuiltInMapObjects.end()) continue;
    // A missing value is an empty name, kept in its place like any other.
    names.push_back(std::move(name));
  }
  for (int i = 0; i < kMaxMapObjects; ++i) m_store.DeleteValue(MapObjectValueName(i));
  WriteNames(names);
  names.erase(std::find(names.begin(), names.end(), std::string()), names.end());
  m_names = std::move(names);
}

bool MapObjectList::AddName(const std::string& name) {
  if (m_names.size() >= kMaxMapObjects) return false;
  if (name.empty()) return true;
  m_store.WriteString(MapObjectValueName(static_cast<int>(m_names.size())), name);
  m_names.push_back(name);
  m_store.WriteDword(kMapObjectCountValue, static_cast<std::uint32_t>(m_names.size()));
  return true;
}

void MapObjectList::DeleteName(int index) {
  for (int i = 0; i < kMaxMapObjects; ++i) m_store.DeleteValue(MapObjectValueName(i));
  m_store.WriteDword(kMapObjectCountValue, 0);
  if (index >= 0 && index < static_cast<int>(m_names.size())) m_names.erase(m_names.begin() + index);
  WriteNames(m_names);
}

void MapObjectList::WriteNames(const std::vector<std::string>& names) const {
  for (std::size_t i = 0; i < names.size(); ++i) m_store.WriteString(MapObjectValueName(static_cast<int>(i)), names[i]);
  m_store.WriteDword(kMapObjectCountValue, static_cast<std::uint32_t>(names.size()));
}

int MapObjectList::ChosenEntry() const {
  const auto chosen = std::find(m_names.begin(), m_names.end(), m_store.ReadString(kChosenMapObjectValue));
  return chosen == m_names.end() ? -1 : static_cast<int>(chosen - m_names.begin());
}

std::string MapObjectList::Choose(int index) const {
  if (index < 0 || index >= static_cast<int>(m_names.size())) return std::string();
  m_store.WriteString(kChosenMapObjectValue, m_names[index]);
  return m_names[index];
}
