#include "gis/gdal_support.h"

#include <mutex>

#include <cpl_error.h>
#include <gdal.h>

namespace obrix {

void InitGdal() {
  static std::once_flag once;
  std::call_once(once, [] { GDALAllRegister(); });
}

void GdalMessages::Collect(int level, int, const char* message) {
  if (level < CE_Warning) return;
  auto* self = static_cast<GdalMessages*>(CPLGetErrorHandlerUserData());
  if (!self) return;
  if (level >= CE_Failure) self->failed_ = true;
  if (!self->text_.empty()) self->text_ += "; ";
  self->text_ += message ? message : "?";
}

GdalMessages::GdalMessages() {
  CPLPushErrorHandlerEx([](CPLErr level, CPLErrorNum number, const char* message) { Collect(level, number, message); },
                        this);
}

GdalMessages::~GdalMessages() { CPLPopErrorHandler(); }

std::string GdalMessages::Text(const std::string& fallback) const { return text_.empty() ? fallback : text_; }

int UtmEpsg(int zone, bool north) { return (north ? 32600 : 32700) + zone; }

bool UtmSpatialReference(int zone, bool north, OGRSpatialReference& srs) {
  if (zone < 1 || zone > 60) return false;
  if (srs.importFromEPSG(UtmEpsg(zone, north)) != OGRERR_NONE) return false;
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return true;
}

}  // namespace obrix
