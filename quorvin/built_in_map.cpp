#include "quorvin/built_in_map.h"

#include <windows.h>

#include <span>
#include <string>

#include "quorvin/quorvin_resource.h"

std::optional<BaseMap> LoadBuiltInBaseMap() {
  const HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_BASE_MAP), RT_RCDATA);
  const HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  std::string error;
  return BaseMap::Parse(std::span(static_cast<const std::uint8_t*>(bytes), ::SizeofResource(nullptr, found)), error);
}
