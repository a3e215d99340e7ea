// The datum shift between the Tokyo datum, which older point files hold, and WGS 84, which
// every interchange file uses: EPSG:15484 "Tokyo to WGS 84 (108)", a three-parameter
// geocentric translation (-146.414, +507.337, +680.507 m) from the Bessel 1841 ellipsoid to
// WGS 84. The steps are spelled out as a PROJ pipeline, so no grid file or database lookup
// can choose another transformation.
#pragma once

#include <memory>
#include <string>

inline constexpr char kTokyoToWgs84Pipeline[] =
    "+proj=pipeline "
    "+step +proj=unitconvert +xy_in=deg +xy_out=rad "
    "+step +proj=cart +ellps=bessel "
    "+step +proj=helmert +x=-146.414 +y=507.337 +z=680.507 "
    "+step +inv +proj=cart +ellps=WGS84 "
    "+step +proj=unitconvert +xy_in=rad +xy_out=deg";

class DatumShift {
 public:
  // Sets up PROJ. On failure returns nothing and sets `error`.
  static std::unique_ptr<DatumShift> Create(std::string& error);
  ~DatumShift();
  DatumShift(const DatumShift&) = delete;
  DatumShift& operator=(const DatumShift&) = delete;

  // Degrees in, degrees out; false when PROJ could not transform the position.
  bool TokyoToWgs84(double& longitude, double& latitude) const;
  bool Wgs84ToTokyo(double& longitude, double& latitude) const;

 private:
  struct Proj;
  explicit DatumShift(std::unique_ptr<Proj> proj);
  bool Transform(bool forward, double& longitude, double& latitude) const;
  std::unique_ptr<Proj> m_proj;
};
