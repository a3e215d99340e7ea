// The base map built into the program as a resource (IDR_BASE_MAP).
#pragma once

#include <optional>

#include "quorvin/base_map.h"

// Nothing when the resource is missing or damaged: the map then shows sea and grid only.
std::optional<BaseMap> LoadBuiltInBaseMap();
