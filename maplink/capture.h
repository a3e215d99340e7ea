// Position capture's rule, which needs no window: the marker position the helper reported,
// the point taken there, and a point moved there.
#pragma once

#include <string>
#include <string_view>

#include "pointfile/point_insertion.h"

class PointFile;

// The marker's latitude and longitude as coordinate texts the DMS parser reads
// ("35.39.29.123"); empty until the helper has answered with a coordinate.
struct MarkerTexts {
  std::string latitude;
  std::string longitude;
  bool Known() const { return !latitude.empty() && !longitude.empty(); }
};

// The marker text a reply gives: the coordinate text, or empty for a reply that is no
// coordinate (nothing, an error text), so that capture adds no point at a made-up place.
std::string MarkerText(std::string_view reply);

inline constexpr char kCapturedPointName[] = "新しいポイント";

// The point taken at the marker: after the last point of the file (never past the leading
// run, so in a file with a gap it fills the gap), named kCapturedPointName, at the marker,
// and otherwise a fresh point (icon 1, the time of the capture, no texts).
Insertion CapturePoint(PointFile& file, const MarkerTexts& marker, int maxPoints);

// A point moved to the marker: the point in `slot` takes the marker's longitude and latitude,
// and its checksum follows; nothing else of it changes.
void MovePointToMarker(PointFile& file, int slot, const MarkerTexts& marker);
