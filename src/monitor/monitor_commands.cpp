#include "monitor/monitor_commands.h"

namespace obrix {

int MonitorMoveFocus(int focus, int step, bool running) {
  const int hidden = MonitorHiddenButton(running);
  int f = focus;
  for (int i = 0; i < kMonitorButtonCount; ++i) {
    f = ((f + step) % kMonitorButtonCount + kMonitorButtonCount) % kMonitorButtonCount;
    if (f != hidden) return f;
  }
  return focus;
}

int DecodeMonitorKey(int virtualKey, int* focus, bool running) {
  switch (virtualKey) {
    case VK_TAB:
    case VK_RIGHT:
    case VK_DOWN:
      *focus = MonitorMoveFocus(*focus, +1, running);
      return -1;
    case VK_LEFT:
    case VK_UP:
      *focus = MonitorMoveFocus(*focus, -1, running);
      return -1;
    case VK_RETURN:
      return *focus;
    case 'G': return kMonitorGo;
    case 'P': return kMonitorPause;
    case 'S': return kMonitorSend;
    case 'X': return kMonitorExit;
    default: return -1;
  }
}

bool MonitorCommandBytes(std::string_view text8, std::string* bytes) {
  if (text8.size() > kMonitorCommandMax) return false;
  *bytes = std::string(text8) + "\r\n";
  return true;
}

std::string MonitorCommandTooLongText(size_t length) {
  return "The message has " + std::to_string(length) + " characters; at most " + std::to_string(kMonitorCommandMax) +
         " characters can be sent. Nothing was sent.";
}

MonitorLayout ComputeMonitorLayout(int w, int h) {
  MonitorLayout l;
  const int y = h - 80;
  l.buttons[kMonitorGo] = {w / 2 - 274, y, w / 2 - 274 + 180, y + 65};
  for (int i = 1; i < kMonitorButtonCount; ++i) {
    const int x = w / 2 + 184 * i - 458;
    l.buttons[i] = {x, y, x + 180, y + 65};
  }
  l.list = {10, 10, 10 + (w - 30), 10 + (h - 140)};
  l.edit = {190, h - 122, 190 + (w - 210), h - 122 + 28};
  l.labelY = h - 120;
  return l;
}

}  // namespace obrix
