#pragma once
// The data root and the fixed paths below it. Paths are native byte strings (UTF-8), absolute.
#include <string>

namespace obrix {

// $OBRIX38_HOME when set (a trailing "/" added), else ~/.local/share/Wendral/.
std::string DataRoot();
// Override for tests and tools; an empty string restores the environment rule.
void SetDataRoot(const std::string& root);

std::string SettingsFolder();   // <root>/Obrix38/
std::string SettingsPath();     // <root>/Obrix38/Obrix38_215.INI
std::string ScratchFolder();    // <root>/Temp/
std::string PortsFolder();      // <root>/ports/
std::string HomeFolder();       // the user's home folder with a trailing "/"

// Creates a folder and its parents; an existing folder is fine. Returns false on failure.
bool MakeFolders(const std::string& path);

}  // namespace obrix
