#include "gis/geopackage_writer.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <unistd.h>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "gis/gdal_support.h"

namespace obrix {
namespace {

const char* UnitsText(int mapUnits) { return mapUnits == 1 ? "ft" : mapUnits == 2 ? "usft" : "m"; }

// The readings layer's fields: the export columns in their order, then the local date-time.
enum Field {
  kRecord, kSegment, kLine, kStation, kDate, kLocalTime, kUtcTime, kTick, kChannel, kComponent, kDipole, kValue,
  kMarker, kEasting, kNorthing, kUnits, kZone, kLatitude, kLongitude, kQuality, kSatellites, kDop, kFlags,
  kLocalDateTime, kFieldCount
};

struct ColumnDef {
  const char* name;
  OGRFieldType type;
  OGRFieldSubType subType;
};

constexpr ColumnDef kFields[kFieldCount] = {
    {"record", OFTInteger64, OFSTNone},  {"segment", OFTInteger, OFSTNone},   {"line", OFTString, OFSTNone},
    {"station", OFTReal, OFSTNone},      {"date", OFTDate, OFSTNone},         {"local_time", OFTString, OFSTNone},
    {"utc_time", OFTString, OFSTNone},   {"tick", OFTInteger64, OFSTNone},    {"channel", OFTInteger, OFSTNone},
    {"component", OFTString, OFSTNone},  {"dipole", OFTString, OFSTNone},     {"value", OFTReal, OFSTNone},
    {"marker", OFTInteger, OFSTBoolean}, {"easting", OFTReal, OFSTNone},      {"northing", OFTReal, OFSTNone},
    {"units", OFTString, OFSTNone},      {"zone", OFTInteger, OFSTNone},      {"latitude", OFTReal, OFSTNone},
    {"longitude", OFTReal, OFSTNone},    {"quality", OFTInteger, OFSTNone},   {"satellites", OFTInteger, OFSTNone},
    {"dop", OFTReal, OFSTNone},          {"flags", OFTString, OFSTNone},      {"local_datetime", OFTDateTime, OFSTNone},
};

// Local date-time fields of a feature (no time zone known).
void SetLocal(OGRFeature& f, int field, int64_t day, int64_t ms, bool withTime) {
  int64_t year = 0;
  int month = 0, dom = 0;
  CivilDate(day, year, month, dom);
  if (year < 1 || year > 9999) return;
  const int y = static_cast<int>(year);
  if (withTime)
    f.SetField(field, y, month, dom, static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
               static_cast<float>(ms % 60000) / 1000.0f, 1);
  else
    f.SetField(field, y, month, dom, 0, 0, 0.0f, 0);
}

std::string UtcText(double seconds) { return MillisText(static_cast<int64_t>(std::llround(seconds * 1000.0))); }

}  // namespace

GeoPackageWriter::GeoPackageWriter(std::string path) : path_(std::move(path)) {}

GeoPackageWriter::~GeoPackageWriter() {
  feature_.reset();
  if (dataset_) GDALClose(dataset_);
}

int GeoPackageWriter::epsg() const { return frame_.geographic ? UtmEpsg(frame_.zone, frame_.north) : 0; }

void GeoPackageWriter::Fail(const std::string& what) {
  if (error_.empty()) error_ = what;
}

void GeoPackageWriter::Begin() {
  InitGdal();
  GdalMessages messages;
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  if (!driver) return Fail("GDAL has no GeoPackage driver");
  if (::unlink(path_.c_str()) != 0 && errno != ENOENT) return Fail(path_ + ": " + std::strerror(errno));
  dataset_ = driver->Create(path_.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
  if (!dataset_) return Fail(messages.Text("cannot create " + path_));
  // Written like the text formats: no sync to the disk at every commit.
  dataset_->ExecuteSQL("PRAGMA synchronous = OFF", nullptr, nullptr);
}

void GeoPackageWriter::CreateLayers() {
  if (layers_ || !dataset_ || !ok()) return;
  layers_ = true;
  GdalMessages messages;
  OGRSpatialReference srs;
  const bool crs = frame_.geographic && UtmSpatialReference(frame_.zone, frame_.north, srs);
  if (frame_.geographic && !crs) return Fail(messages.Text("no spatial reference for EPSG:" + std::to_string(epsg())));
  // SQLite's R-tree would take twice as long as the whole export for a day of readings: the points go without
  // one (a GIS builds it on request); the few track features get theirs.
  char* noIndex[] = {const_cast<char*>("SPATIAL_INDEX=NO"), nullptr};
  readings_ = dataset_->CreateLayer("readings", crs ? &srs : nullptr, wkbPoint, noIndex);
  track_ = dataset_->CreateLayer("track", crs ? &srs : nullptr, wkbMultiLineString, nullptr);
  if (!readings_ || !track_) return Fail(messages.Text("cannot create the layers"));
  for (const ColumnDef& column : kFields) {
    OGRFieldDefn field(column.name, column.type);
    field.SetSubType(column.subType);
    if (readings_->CreateField(&field) != OGRERR_NONE) return Fail(messages.Text("cannot create the fields"));
  }
  const ColumnDef trackFields[] = {{"line", OFTString, OFSTNone},         {"session", OFTInteger, OFSTNone},
                                   {"start_time", OFTDateTime, OFSTNone}, {"end_time", OFTDateTime, OFSTNone},
                                   {"fixes", OFTInteger, OFSTNone}};
  for (const ColumnDef& column : trackFields) {
    OGRFieldDefn field(column.name, column.type);
    if (track_->CreateField(&field) != OGRERR_NONE) return Fail(messages.Text("cannot create the fields"));
  }
  if (dataset_->StartTransaction() != OGRERR_NONE) return Fail(messages.Text("cannot start a transaction"));
  while (!held_.empty() && ok()) {
    WriteRow(held_.front());
    held_.pop_front();
  }
  held_.clear();
}

void GeoPackageWriter::Row(const ExportRow& row) {
  if (!ok()) return;
  if (!layers_) {
    if (!row.positioned) {
      held_.push_back(row);
      return;
    }
    SetFrame(frame_, row.zone > 0, row.zone, row.north, row.mapUnits);
    CreateLayers();
  }
  WriteRow(row);
}

void GeoPackageWriter::WriteRow(const ExportRow& r) {
  if (!ok()) return;
  if (!feature_) feature_ = std::make_unique<OGRFeature>(readings_->GetLayerDefn());
  OGRFeature& f = *feature_;  // reused: every field is set or nulled below
  f.SetFID(OGRNullFID);
  for (Field k : {kStation, kDate, kLocalTime, kLocalDateTime, kUtcTime, kValue, kEasting, kNorthing, kZone, kLatitude,
                  kLongitude, kQuality, kSatellites, kDop})
    f.SetFieldNull(k);
  f.SetGeometryDirectly(nullptr);
  f.SetField(kRecord, static_cast<GIntBig>(r.record));
  f.SetField(kSegment, r.segment);
  f.SetField(kLine, r.line.c_str());
  if (std::isfinite(r.station)) f.SetField(kStation, r.station);
  if (r.hasLocal) {
    SetLocal(f, kDate, r.localDay, r.localMs, false);
    f.SetField(kLocalTime, MillisText(r.localMs).c_str());
    SetLocal(f, kLocalDateTime, r.localDay, r.localMs, true);
  }
  if (r.hasUtc) f.SetField(kUtcTime, UtcText(r.utcSeconds).c_str());
  f.SetField(kTick, static_cast<GIntBig>(r.tick));
  f.SetField(kChannel, r.channel);
  f.SetField(kComponent, r.conductivity ? "conductivity" : "inphase");
  const char dipole[2] = {r.dipole, 0};
  f.SetField(kDipole, dipole);
  if (std::isfinite(r.value)) f.SetField(kValue, r.value);
  f.SetField(kMarker, r.marker ? 1 : 0);
  if (r.positioned) {
    f.SetField(kEasting, std::round(r.easting * 1000.0) / 1000.0);
    f.SetField(kNorthing, std::round(r.northing * 1000.0) / 1000.0);
    if (r.zone > 0) f.SetField(kZone, r.zone);
  }
  f.SetField(kUnits, UnitsText(r.mapUnits));
  if (r.hasGeo) {
    f.SetField(kLatitude, r.latitude);
    f.SetField(kLongitude, r.longitude);
  }
  if (r.hasFix) {
    f.SetField(kQuality, r.quality);
    f.SetField(kSatellites, r.satellites);
    if (std::isfinite(r.dop)) f.SetField(kDop, r.dop);
  }
  f.SetField(kFlags, ExportFlagText(r.flags).c_str());
  double x = 0.0, y = 0.0;
  if (FramePosition(frame_, r, x, y)) f.SetGeometryDirectly(new OGRPoint(x, y));
  GdalMessages messages;
  if (readings_->CreateFeature(&f) != OGRERR_NONE) Fail(messages.Text("cannot write a reading to " + path_));
}

void GeoPackageWriter::Fix(const ExportFix& fix) {
  if (!ok()) return;
  if (!layers_) {
    SetFrame(frame_, fix.geographic && fix.zone > 0, fix.zone, fix.north, fix.mapUnits);
    CreateLayers();
  }
  if (trackOpen_ && (fix.segment != trackSegment_ || fix.line != trackLine_)) FlushTrack();
  double x = 0.0, y = 0.0;
  if (!FramePosition(frame_, fix, x, y)) return;
  if (!trackOpen_) {
    trackOpen_ = true;
    trackSegment_ = fix.segment;
    trackLine_ = fix.line;
    trackFixes_ = 0;
    parts_.clear();
    first_ = fix;
  }
  if (parts_.empty() || fix.stretch != trackStretch_) parts_.emplace_back();
  trackStretch_ = fix.stretch;
  parts_.back().emplace_back(x, y);
  last_ = fix;
  ++trackFixes_;
}

void GeoPackageWriter::FlushTrack() {
  if (!trackOpen_) return;
  trackOpen_ = false;
  if (!ok()) return;
  OGRFeature f(track_->GetLayerDefn());
  f.SetField(0, trackLine_.c_str());
  f.SetField(1, trackSegment_);
  if (first_.hasLocal) SetLocal(f, 2, first_.localDay, first_.localMs, true);
  if (last_.hasLocal) SetLocal(f, 3, last_.localDay, last_.localMs, true);
  f.SetField(4, static_cast<int>(std::min<int64_t>(trackFixes_, INT32_MAX)));
  auto* lines = new OGRMultiLineString;
  for (const auto& part : parts_) {
    if (part.size() < 2) continue;  // a lone fix draws no line
    OGRLineString line;
    line.setNumPoints(static_cast<int>(part.size()), FALSE);
    for (size_t i = 0; i < part.size(); ++i) line.setPoint(static_cast<int>(i), part[i].first, part[i].second);
    lines->addGeometry(&line);
  }
  f.SetGeometryDirectly(lines);
  parts_.clear();
  GdalMessages messages;
  if (track_->CreateFeature(&f) != OGRERR_NONE) Fail(messages.Text("cannot write the track to " + path_));
}

void GeoPackageWriter::End() {
  if (!dataset_) return;
  CreateLayers();  // no position at all: the layers without a CRS
  FlushTrack();
  GdalMessages messages;
  if (ok() && dataset_->CommitTransaction() != OGRERR_NONE) Fail(messages.Text("cannot commit " + path_));
  feature_.reset();
  GDALClose(dataset_);
  dataset_ = nullptr;
  if (messages.failed()) Fail(messages.Text("cannot close " + path_));
}

}  // namespace obrix
