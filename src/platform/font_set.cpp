#include "platform/font_set.h"

namespace obrix {

FontSet ComputeFonts(bool largeScreen) {
  FontSet f;
  f.label = {largeScreen ? 16 : 14, 400, false};
  f.value = {largeScreen ? 16 : 14, 700, false};
  return f;
}

}  // namespace obrix
