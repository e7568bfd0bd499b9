#pragma once
// The list of background files laid under the map: up to ten entries in load order, each with its source name,
// the name of its temporary record file in the scratch folder, its positions style and its file type.
#include <array>
#include <string>
#include <string_view>

namespace obrix {

inline constexpr int MaxBackgroundFiles = 10;
inline constexpr size_t kBgNameChars = 64;  // characters kept of a display or temporary name

struct BackgroundEntry {
  std::string displayName;    // source file name without folder (UTF-8)
  std::string temporaryName;  // temporary file name without folder
  int positionsStyle = 0;     // 0..11
  int fileType = 0;           // 0 program data file, 1 ASCII, 2 ASCII with labels
};

struct BackgroundListState {
  std::array<BackgroundEntry, MaxBackgroundFiles> BackgroundList;
  int BackgroundCount = 0;
  int BgRecordCount = 0;  // records written for the file being loaded (break records included)
};

BackgroundListState& Backgrounds();
// Opening of the logging screen: no entries, every name cleared.
void ResetBackgrounds();

// The file name after the last "/".
std::string_view BgFileNameOf(std::string_view path);

// The temporary name for a source file name loaded with slot number `slot` (0..99): a name ending in a dot and
// a three-character extension gives the stem, the extension, ".$" and the number in two digits
// ("LINES.TXT", 3 -> "LINESTXT.$03"); any other name keeps its characters before ".$". Cut to 64 characters.
std::string BgTemporaryName(std::string_view sourceName, int slot);
// The name for the next load into slot BackgroundCount: the slot number unless another entry already holds that
// name (possible after a removal moved entries down), then the lowest free number.
std::string NextBgTemporaryName(std::string_view sourceName);
// Full path of a temporary file in the scratch folder.
std::string BgTemporaryPath(std::string_view temporaryName);

// Deletes the temporary files of the entries flagged in `remove` (indexes 0..BackgroundCount-1), drops those
// entries and moves the rest down in order. Returns the number removed.
int RemoveBackgroundEntries(const std::array<bool, MaxBackgroundFiles>& remove);
// Leaving the logging screen: every temporary file deleted, the list emptied.
void DeleteAllBackgroundFiles();
// Start of the program: takes a lock on the scratch folder for the life of the process and, when no other
// running program holds it, deletes the temporary files an earlier run left there (names ending in ".$" and two
// digits). Returns the number deleted.
int ClaimScratchFolder();

}  // namespace obrix
