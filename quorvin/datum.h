// The datum shift between the Tokyo datum and WGS 84 that the helper offers for the
// coordinates it exchanges: EPSG:15484 "Tokyo to WGS 84 (108)", a geocentric translation
// of (-146.414, +507.337, +680.507) m from the Bessel 1841 ellipsoid to WGS 84, the same
// transformation as `pnt --datum tokyo`. The points are taken on the ellipsoid (height 0)
// at both ends. Degrees in, degrees out.
#pragma once

struct GeoPosition {
  double longitude;
  double latitude;
};

GeoPosition TokyoToWgs84(GeoPosition tokyo);
GeoPosition Wgs84ToTokyo(GeoPosition wgs84);
