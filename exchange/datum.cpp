#include "exchange/datum.h"

#include <dlfcn.h>
#include <proj.h>

#include <cmath>

// PROJ is loaded when a datum shift is first asked for, not linked: the library and the many
// it depends on take several milliseconds to load, longer than a whole export without them.
struct DatumShift::Proj {
  void* library = nullptr;
  decltype(&proj_context_create) contextCreate = nullptr;
  decltype(&proj_context_destroy) contextDestroy = nullptr;
  decltype(&proj_create) create = nullptr;
  decltype(&proj_destroy) destroy = nullptr;
  decltype(&proj_trans) trans = nullptr;
  decltype(&proj_context_errno) contextErrno = nullptr;
  decltype(&proj_context_errno_string) errnoString = nullptr;
  PJ_CONTEXT* context = nullptr;
  PJ* pipeline = nullptr;

  ~Proj() {
    if (pipeline) destroy(pipeline);
    if (context) contextDestroy(context);
    if (library) dlclose(library);
  }

  template <typename F>
  bool Find(F& function, const char* name) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
  }
};

std::unique_ptr<DatumShift> DatumShift::Create(std::string& error) {
  auto proj = std::make_unique<Proj>();
  proj->library = dlopen(OSTREL_PROJ_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!proj->library) {
    error = std::string("cannot load the PROJ library (") + dlerror() + ")";
    return nullptr;
  }
  if (!proj->Find(proj->contextCreate, "proj_context_create") ||
      !proj->Find(proj->contextDestroy, "proj_context_destroy") ||
      !proj->Find(proj->create, "proj_create") || !proj->Find(proj->destroy, "proj_destroy") ||
      !proj->Find(proj->trans, "proj_trans") || !proj->Find(proj->contextErrno, "proj_context_errno") ||
      !proj->Find(proj->errnoString, "proj_context_errno_string")) {
    error = "the PROJ library lacks a function pnt needs";
    return nullptr;
  }
  proj->context = proj->contextCreate();
  proj->pipeline = proj->context ? proj->create(proj->context, kTokyoToWgs84Pipeline) : nullptr;
  if (!proj->pipeline) {
    error = "PROJ refused the Tokyo to WGS 84 pipeline";
    if (proj->context) {
      error += std::string(": ") + proj->errnoString(proj->context, proj->contextErrno(proj->context));
    }
    return nullptr;
  }
  return std::unique_ptr<DatumShift>(new DatumShift(std::move(proj)));
}

DatumShift::DatumShift(std::unique_ptr<Proj> proj) : m_proj(std::move(proj)) {}
DatumShift::~DatumShift() = default;

bool DatumShift::TokyoToWgs84(double& longitude, double& latitude) const {
  return Transform(true, longitude, latitude);
}

bool DatumShift::Wgs84ToTokyo(double& longitude, double& latitude) const {
  return Transform(false, longitude, latitude);
}

bool DatumShift::Transform(bool forward, double& longitude, double& latitude) const {
  // Heights are not known; both ends take the point on the ellipsoid, which moves the
  // horizontal result by far less than a file unit.
  PJ_COORD in;
  in.xyzt = {longitude, latitude, 0, 0};
  PJ_COORD out = m_proj->trans(m_proj->pipeline, forward ? PJ_FWD : PJ_INV, in);
  if (out.xyzt.x == HUGE_VAL || out.xyzt.y == HUGE_VAL) return false;
  longitude = out.lpzt.lam;
  latitude = out.lpzt.phi;
  return true;
}
