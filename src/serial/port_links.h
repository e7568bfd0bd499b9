#pragma once
// The links <data root>/ports/COMn that name the serial devices or network sources, and the devices that can
// be linked.
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
  bool network = false;      // the target is a network address (tcp:// or gpsd://)
};
// The COMn links of the ports folder, by port number.
std::vector<PortLink> ListPortLinks();

// Serial devices under `devRoot`: the entries of serial/by-id/ and ttyUSB*, ttyACM*, rfcomm*, in name order.
// Legacy ttyS* names are left out (they exist without hardware).
std::vector<std::string> ListSerialDevices(const std::string& devRoot = "/dev");

// Creates or replaces the link of a port (the ports folder is created when missing). A target with a tcp:// or
// gpsd:// scheme must be a well-formed address with a numeric host (or localhost); it is stored in its plain
// form ("tcp://10.0.0.5:10110", the gpsd port written out). false with *error.
bool LinkPort(int index, const std::string& device, std::string* error);
// A network address whose host is a name, with the name looked up (blocking; for the command line only) and
// replaced by its first address. Other texts are returned as they are. false with *error when the address is
// malformed or the name cannot be found.
bool ResolveNetTarget(const std::string& target, std::string* resolved, std::string* error);
// Removes the link of a port; false with *error when there is none or it cannot be removed.
bool UnlinkPort(int index, std::string* error);

}  // namespace obrix
