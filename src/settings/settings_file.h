#pragma once
// The settings file <data root>/Obrix38/Obrix38_215.INI: load, save and delete of the whole settings record.
#include <functional>

namespace obrix {

enum SettingsMode { Load = 0, Save = 1, Delete = 2 };

// Load: reads the file into the settings (a missing file, or one of another version, is written from the
//       current values instead).
// Save: writes the whole file from the current values.
// Delete: removes the file; when there is none, writes it from the current values.
// Reports nothing: a file that cannot be opened or created leaves the values in memory as they are.
void SaveLoadSettings(SettingsMode mode);

// Reads the file into the settings without writing anything (for tools beside the program); false, with the
// values left as they are, when there is no file or it is of another version.
bool ReadSettingsFile();

// Called while loading, once the scale limits (conductivity and inphase) have been read, so that the factors
// that depend on them are recomputed. Empty until the panes set it.
extern std::function<void()> OnScaleLimitsLoaded;

}  // namespace obrix
