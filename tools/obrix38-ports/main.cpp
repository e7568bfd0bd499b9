// obrix38-ports: lists the serial devices and the COMn links of the data root, and links or unlinks a port to a
// device or a network source.
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/program_options.h"
#include "platform/serial.h"
#include "serial/port_links.h"

namespace {

const char kUsageText[] =
    "Usage: obrix38-ports [list]\n"
    "  or:  obrix38-ports link COMn DEVICE|ADDRESS\n"
    "  or:  obrix38-ports unlink COMn\n"
    "\n"
    "The program opens port COMn through the link <data root>/ports/COMn (data root: $OBRIX38_HOME,\n"
    "else ~/.local/share/Wendral/).\n"
    "  list     the serial devices found (/dev/serial/by-id, ttyUSB, ttyACM, rfcomm) and the links\n"
    "  link     points COMn (COM1..COM99) at DEVICE or at a network ADDRESS, replacing an earlier link\n"
    "  unlink   removes the link of COMn\n"
    "  --help   this text\n"
    "  --version  the version\n"
    "\n"
    "Network addresses (HOST: an IPv4 address, an IPv6 address in brackets or localhost; a host name is\n"
    "looked up when linking and its address is stored, so link again when it changes):\n"
    "  tcp://HOST:PORT     bytes over TCP both ways: a receiver streaming NMEA (10110 is the usual port) or\n"
    "                      an EM38 behind a serial device server\n"
    "  gpsd://HOST[:PORT]  the NMEA sentences of a receiver held by gpsd (port 2947 unless given); for the\n"
    "                      GNSS port only\n"
    "\n"
    "Examples:\n"
    "  obrix38-ports link COM6 /dev/serial/by-id/usb-...-if00-port0\n"
    "\n"
    "  obrix38-ports link COM6 tcp://192.168.1.20:10110\n"
    "\n"
    "  obrix38-ports link COM6 gpsd://127.0.0.1\n";

int List() {
  std::printf("Serial devices:\n");
  const auto devices = obrix::ListSerialDevices();
  if (devices.empty()) std::printf("  (none found)\n");
  for (const auto& d : devices) std::printf("  %s\n", d.c_str());
  std::printf("Links in %s:\n", obrix::PortsFolder().c_str());
  const auto links = obrix::ListPortLinks();
  if (links.empty()) std::printf("  (none)\n");
  for (const auto& l : links)
    std::printf("  %-6s -> %s%s\n", obrix::SerialPortName(l.index).c_str(), l.target.c_str(),
                l.network ? "  (network)" : l.targetExists ? "" : "  (missing)");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (auto code = obrix::AnswerHelpOrVersion(argc, argv, "obrix38-ports", kUsageText)) return *code;
  const std::string command = argc > 1 ? argv[1] : "list";
  if (command == "list" && argc <= 2) return List();
  if ((command == "link" && argc == 4) || (command == "unlink" && argc == 3)) {
    const int index = obrix::ParsePortName(argv[2]);
    if (index < 0) {
      std::fprintf(stderr, "obrix38-ports: '%s' is not a port name (COM1..COM99)\n", argv[2]);
      return 2;
    }
    std::string error;
    std::string target = argc > 3 ? argv[3] : "";
    bool ok = true;
    if (command == "link") {
      std::string resolved;
      ok = obrix::ResolveNetTarget(target, &resolved, &error);
      if (ok && resolved != target) {
        std::printf("%s: host name looked up, linked as %s (link again if its address changes)\n", target.c_str(),
                    resolved.c_str());
        target = resolved;
      }
      ok = ok && obrix::LinkPort(index, target, &error);
    } else {
      ok = obrix::UnlinkPort(index, &error);
    }
    if (!ok) {
      std::fprintf(stderr, "obrix38-ports: %s %s: %s\n", command.c_str(), argv[2], error.c_str());
      return 1;
    }
    if (command == "link") {
      char stored[512];
      const ssize_t n = ::readlink(obrix::SerialLinkPath(index).c_str(), stored, sizeof stored - 1);
      stored[n > 0 ? n : 0] = '\0';
      std::printf("%s -> %s\n", obrix::SerialLinkPath(index).c_str(), n > 0 ? stored : target.c_str());
    }
    return 0;
  }
  if (command != "list" && command != "link" && command != "unlink")
    obrix::ReportUsageError("obrix38-ports", (obrix::LooksLikeOption(command) ? "unknown option " : "unknown command ") + command);
  else
    obrix::ReportUsageError("obrix38-ports", "wrong number of arguments for " + command);
  return 2;
}
