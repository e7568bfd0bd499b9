#pragma once
// GDAL set-up shared by the GIS writers: drivers registered once, GDAL's messages collected instead of printed,
// and the spatial reference of a UTM zone.
#include <string>

#include <ogr_spatialref.h>

namespace obrix {

// Registers GDAL's drivers (once per process).
void InitGdal();

// While alive, GDAL's errors and warnings are collected here instead of being printed.
class GdalMessages {
 public:
  GdalMessages();
  ~GdalMessages();
  GdalMessages(const GdalMessages&) = delete;
  GdalMessages& operator=(const GdalMessages&) = delete;
  // The collected messages joined by "; ", or `fallback` when there are none.
  std::string Text(const std::string& fallback = "GDAL reported a failure") const;
  bool failed() const { return failed_; }  // an error (not only warnings) was reported

 private:
  static void Collect(int level, int number, const char* message);
  std::string text_;
  bool failed_ = false;
};

// EPSG code of WGS 84 / UTM: 326zz north, 327zz south.
int UtmEpsg(int zone, bool north);
// The spatial reference of that code; false when GDAL cannot build it.
bool UtmSpatialReference(int zone, bool north, OGRSpatialReference& srs);

}  // namespace obrix
