#pragma once
// The logging screen installs the full end of a session (ports, readers, data file, the question); until then
// EndLoggingSession only marks the session closed.
#include <functional>

namespace obrix {

using SessionEndHandler = std::function<int(int silent)>;
// Installs the handler EndLoggingSession runs (an empty one restores the plain end).
void SetSessionEndHandler(SessionEndHandler handler);

}  // namespace obrix
