#include "maplink/capture.h"

#include "maplink/helper_protocol.h"
#include "pointfile/point_file.h"

std::string MarkerText(std::string_view reply) {
  return IsHelperCoordinate(reply) ? FromHelperCoordinate(reply) : std::string();
}

Insertion CapturePoint(PointFile& file, const MarkerTexts& marker, int maxPoints) {
  return InsertPoints(file, file.GetPointCount(), 1, maxPoints, InsertionOrder::kInOrder, [&](int slot, int) {
    file.SetName(slot, kCapturedPointName);
    file.SetLongitudeText(slot, marker.longitude);
    file.SetLatitudeText(slot, marker.latitude);
  });
}

void MovePointToMarker(PointFile& file, int slot, const MarkerTexts& marker) {
  file.SetLongitudeText(slot, marker.longitude);
  file.SetLatitudeText(slot, marker.latitude);
  file.UpdateChecksum(slot);
}
