#pragma once
// Configuration checks of the Logging command, made before any port is touched.
#include <string>

#include "settings/settings.h"

namespace obrix {

struct ConfigProblem {
  std::string title;
  std::string text;
};

// Both devices disabled, or both enabled on one port: the message to show. Empty title when fine.
ConfigProblem CheckLoggingConfiguration(const Settings& s);

}  // namespace obrix
