// The datum shift between the Tokyo datum, which many older units store their coordinates
// on, and WGS 84, which exchanged files and the map use: EPSG:15484 "Tokyo to WGS 84 (108)",
// a geocentric translation of (-146.414, +507.337, +680.507) m from the Bessel 1841
// ellipsoid to WGS 84. The editor, its map helper and pnt all shift through this one
// implementation, which needs no library or grid file at run time. The points are taken on
// the ellipsoid (height 0) at both ends. Degrees in, degrees out.
#pragma once

struct GeoPosition {
  double longitude;
  double latitude;
};

GeoPosition TokyoToWgs84(GeoPosition tokyo);
GeoPosition Wgs84ToTokyo(GeoPosition wgs84);
