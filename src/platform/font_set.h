#pragma once
// Font specifications of the screens: the font set of the system, chosen by the screen size.

namespace obrix {

struct FontSpec {
  int height;
  int weight;
  bool italic;
};
// The fonts of the system, created once at start.
struct FontSet {
  FontSpec large{20, 200, false};
  FontSpec largeButton{28, 600, false};
  FontSpec portraitButton{24, 600, false};
  FontSpec title{48, 800, false};
  FontSpec label{14, 400, false};
  FontSpec smallBold{14, 600, false};
  FontSpec value{14, 700, false};
  FontSpec button{18, 600, false};
  FontSpec smallSummary{16, 400, false};
  FontSpec italic{18, 400, true};
};
FontSet ComputeFonts(bool largeScreen);

}  // namespace obrix
