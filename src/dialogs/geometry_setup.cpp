#include "dialogs/geometry_setup.h"

#include <cmath>

#include "dialogs/dialog_values.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {

double MetresPerGeometryUnit(int units) {
  if (units < 0 || units > 3) return 1.0;
  return kMetresPerGeometryUnit[units];
}

std::string OffsetText(double metres, int units) { return FormatC("%.2f", metres / MetresPerGeometryUnit(units)); }

double OffsetMetres(std::string_view text, int units) { return MetresPerGeometryUnit(units) * FieldNumber(text); }

GeometryForm OpenGeometryForm() {
  const Settings& s = Config();
  GeometryForm f;
  f.units = ListIndex(s.geometryUnits, 4);
  f.lateralOffset = OffsetText(s.lateralOffset, f.units);
  f.alongOffset = OffsetText(s.alongOffset, f.units);
  return f;
}

namespace {
// The offset on OK: the stored metres while the field and the unit are as shown at opening.
double TakenOffset(const std::string& now, const std::string& shown, bool sameUnits, int units, double stored) {
  if (sameUnits && now == shown && std::isfinite(stored)) return stored;
  return OffsetMetres(now, units);
}
}  // namespace

void ApplyGeometryForm(const GeometryForm& form, const GeometryForm& opened) {
  Settings& s = Config();
  const int units = ListIndex(form.units, 4);
  const bool sameUnits = units == opened.units;
  s.lateralOffset = TakenOffset(form.lateralOffset, opened.lateralOffset, sameUnits, units, s.lateralOffset);
  s.alongOffset = TakenOffset(form.alongOffset, opened.alongOffset, sameUnits, units, s.alongOffset);
  s.geometryUnits = units;
  Drv().AlongOffsetInUse = s.alongOffset;
  UpdateSwathEdges();
  SaveLoadSettings(Save);
}

}  // namespace obrix
