#include "dialogs/survey_setup.h"

#include <cmath>

#include "dialogs/dialog_values.h"
#include "em38/reading_rate.h"
#include "platform/message_box.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {

namespace {
// A stored interval that the rate field can show and give back.
bool ValidInterval(double interval) {
  return interval > 0 && std::isfinite(interval) && std::isfinite(1.0 / interval);
}
}  // namespace

SurveyForm OpenSurveyForm() {
  const Settings& s = Config();
  Derived& d = Drv();
  SurveyForm f;
  f.readingsPerSecond = FormatC("%.2f", ValidInterval(s.readingInterval) ? 1.0 / s.readingInterval : 1.0);
  f.component = ListIndex(s.component, 2);
  f.dipoleMode = ListIndex(s.dipoleMode, 2);
  f.lineName = s.lineName;
  f.lineIncrement = FormatC("%.2f", s.lineIncrement);
  f.lineSequence = ListIndex(s.lineSequence, 2);
  f.lineDirection = ListIndex(s.lineDirection, 4);
  f.startStation = FormatC("%.3f", d.SurveyStartStation);
  d.StationIncrementInUse = d.SurveyStationIncrement;
  f.stationIncrement = FormatC("%.3f", d.SurveyStationIncrement);
  return f;
}

std::optional<double> ReadingsPerSecond(std::string_view text) {
  text = text.substr(0, kReadingsTextMaxChars);
  if (!IsNumberText(text)) return 1.0;
  const double rate = ParseRealC(text);
  if (std::isnan(rate) || rate == 0) return 1.0;
  if (rate < 0 || !std::isfinite(rate) || !ValidInterval(1.0 / rate)) return std::nullopt;
  return rate;
}

bool ApplySurveyForm(const SurveyForm& form, const SurveyForm& opened, const char** refusal) {
  Settings& s = Config();
  Derived& d = Drv();
  // The rate as shown keeps the stored interval exactly (the field has two decimals).
  const bool keepInterval = form.readingsPerSecond == opened.readingsPerSecond && ValidInterval(s.readingInterval);
  const std::optional<double> rate = keepInterval ? 1.0 / s.readingInterval : ReadingsPerSecond(form.readingsPerSecond);
  if (!rate || *rate > kMaxReadingsPerSecond * (1 + 1e-12)) {
    if (refusal) *refusal = rate ? kRateTooHighText : kRateRefusedText;
    return false;
  }

  s.loggingMode = 0;
  d.SurveyLoggingMode = 0;
  d.LoggingModeInUse = 0;

  if (!keepInterval) {
    s.readingInterval = 1.0 / *rate;
    d.readingIntervalMs = TruncToInt(1000.0 / *rate);
  }
  UpdateReadingsPerInterval();

  s.component = form.component;
  s.dipoleMode = form.dipoleMode;

  s.lineName = CutToChars(form.lineName, kSurveyLineMaxChars);
  s.lineIncrement = FieldValue(opened.lineIncrement, form.lineIncrement, s.lineIncrement);
  s.lineSequence = form.lineSequence;
  s.lineDirection = form.lineDirection;

  const double start = FieldValue(opened.startStation, form.startStation, d.SurveyStartStation);
  s.startStation = start;
  d.StartStationInUse = start;
  d.StationValue = start;
  d.StationStarted = 0;
  d.SurveyStartStation = start;

  double increment = FieldValue(opened.stationIncrement, form.stationIncrement, d.SurveyStationIncrement);
  if (increment == 0) increment = 1.0;
  d.StationIncrementInUse = increment;
  d.SurveyStationIncrement = increment;
  s.stationIncAuto = increment;

  SaveLoadSettings(Save);
  return true;
}

}  // namespace obrix
