#pragma once
// The links <data root>/ports/COMn that name the serial devices, and the devices that can be linked.
#include <string>
#include <string_view>
#include <vector>

namespace obrix {

// "COMn" (any case, n 1..99) as the 0-based port index; -1 for anything else.
int ParsePortName(std::string_view name);

struct PortLink {
  int index = 0;
  std::string target;        // what the link points at
  bool targetExists = false;
};
// The COMn links of the ports folder, by port number.
std::vector<PortLink> ListPortLinks();

// Serial devices under `devRoot`: the entries of serial/by-id/ and ttyUSB*, ttyACM*, rfcomm*, in name order.
// Legacy ttyS* names are left out (they exist without hardware).
std::vector<std::string> ListSerialDevices(const std::string& devRoot = "/dev");

// Creates or replaces the link of a port (the ports folder is created when missing). false with *error.
bool LinkPort(int index, const std::string& device, std::string* error);
// Removes the link of a port; false with *error when there is none or it cannot be removed.
bool UnlinkPort(int index, std::string* error);

}  // namespace obrix
