#pragma once
// Exported readings as a GeoPackage: a "readings" point layer with every export column typed (and the local
// date-time), and a "track" layer of the accepted antenna positions, one feature a line and session (a part for
// each stretch between pauses). Positions are in the survey's frame: its UTM zone with the EPSG code, or a local
// grid without a CRS. Readings without a position keep a null geometry.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "export/export_formats.h"
#include "export/survey_frame.h"

class GDALDataset;
class OGRFeature;
class OGRLayer;

namespace obrix {

class GeoPackageWriter : public ExportWriter {
 public:
  // `path` is replaced when it exists.
  explicit GeoPackageWriter(std::string path);
  ~GeoPackageWriter() override;

  void Begin() override;
  void Row(const ExportRow& row) override;
  void Fix(const ExportFix& fix) override;
  void End() override;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }  // the first failure
  const SurveyFrame& frame() const { return frame_; }
  int epsg() const;  // 0 without a CRS

 private:
  void Fail(const std::string& what);
  void CreateLayers();
  void WriteRow(const ExportRow& row);
  void FlushTrack();

  std::string path_;
  std::string error_;
  GDALDataset* dataset_ = nullptr;
  OGRLayer* readings_ = nullptr;
  OGRLayer* track_ = nullptr;
  std::unique_ptr<OGRFeature> feature_;
  SurveyFrame frame_;
  bool layers_ = false;
  std::deque<ExportRow> held_;  // rows before the frame is known

  // The track feature being gathered.
  bool trackOpen_ = false;
  int trackSegment_ = 0;
  std::string trackLine_;
  int64_t trackStretch_ = 0;
  std::vector<std::vector<std::pair<double, double>>> parts_;
  ExportFix first_, last_;
  int64_t trackFixes_ = 0;
};

}  // namespace obrix
