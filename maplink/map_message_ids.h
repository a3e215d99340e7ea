// The ids the twelve map-link names are registered under, on the Win32 side of either end.
// Every program that registers a name gets the same id for the session, so the editor and
// the helper (or any program in its place) know each other's messages by name alone.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "maplink/helper_protocol.h"

class MapMessageIds {
 public:
  // Registers the twelve names in the order of the table.
  void Register() {
    for (std::size_t i = 0; i < kMapMessageCount; ++i) {
      const std::string_view name = kMapMessageNames[i];  // ASCII
      m_ids[i] = ::RegisterWindowMessageW(std::wstring(name.begin(), name.end()).c_str());
    }
  }
  UINT Id(MapMessage message) const { return m_ids[static_cast<std::size_t>(message)]; }
  // The name an id stands for; nothing when it is none of the twelve.
  std::optional<MapMessage> Find(UINT id) const {
    for (std::size_t i = 0; i < kMapMessageCount; ++i) {
      if (m_ids[i] == id) return static_cast<MapMessage>(i);
    }
    return std::nullopt;
  }

 private:
  std::array<UINT, kMapMessageCount> m_ids{};
};
