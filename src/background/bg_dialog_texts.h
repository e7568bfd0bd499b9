#pragma once
// Texts and control states of the background load and remove dialogs.
#include <string>

namespace obrix {

inline constexpr const char* kBgLoadCaption = "Load BackGround File";
inline constexpr const char* kBgRemoveCaption = "Remove BackGround Files";
inline constexpr int kBgColumnChoices = 24;

inline constexpr const char* kBgFileTypeTexts[3] = {
    "Data Files of Obrix38 and Its Sibling Programs", "Column Delimited ASCII Text File",
    "Column Delimited ASCII Text File with Labels"};
inline constexpr const char* kBgPositionsStyleTexts[12] = {
    "Display Positions as Separate Small Dots",      "Display Positions as Separate Medium Dots",
    "Display Positions as Separate Large Dots",      "Display Positions as Separate Small Squares",
    "Display Positions as Separate Medium Squares",  "Display Positions as Separate Large Squares",
    "Display Positions as Separate Small Triangles", "Display Positions as Separate Medium Triangles",
    "Display Positions as Separate Large Triangles", "Display Positions Joined by Thin Line",
    "Display Positions Joined by Medium Line",       "Display Positions Joined by Thick Line"};
inline constexpr const char* kBgCoordinatesTypeTexts[4] = {"Geodetic", "UTM meters", "UTM feet", "UTM US Feet"};
inline constexpr const char* kBgDelimiterTexts[4] = {"  Space", ", Comma", "  Tab", "; Semicolon"};
inline constexpr const char* kBgDatumNote = "Coordinates in ASCII file must be in WGS1984 Datum";
inline constexpr const char* kBgAsciiFilter = "ASCII Files (*.ASC,*.TXT,*.DAT,*.XYZ)";
inline constexpr const char* kBgAsciiPatterns = "*.TXT;*.ASC;*.DAT;*.XYZ";
// Further choices of the open-file dialog: spreadsheet exports (ASCII files only), then every file.
inline constexpr const char* kBgCsvFilter = "CSV Files (*.CSV)";
inline constexpr const char* kBgCsvPatterns = "*.CSV";
inline constexpr const char* kBgAllFilesFilter = "All Files (*.*)";
inline constexpr const char* kBgAllFilesPatterns = "*";

// "Column 1" .. "Column 24" for the 0-based index.
std::string BgColumnText(int index);
// The note under the file type list.
const char* BgFileTypeNote(int fileType);
// "  1." .. " 10." for the 0-based slot of the remove dialog.
std::string BgSlotText(int slot);

// Which controls of the load dialog are enabled for a file type.
struct BgLoadControls {
  bool coordinateLists = false;  // coordinates type, easting and northing columns, delimiter
  bool labelsList = false;
  bool datumNoteShown = false;
};
BgLoadControls BgLoadControlsFor(int fileType);

}  // namespace obrix
