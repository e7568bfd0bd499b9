#include "serial/port_links.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <netdb.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/net_source.h"
#include "platform/paths.h"
#include "platform/serial.h"

namespace obrix {
namespace fs = std::filesystem;

int ParsePortName(std::string_view name) {
  if (name.size() < 4 || name.size() > 5) return -1;
  for (size_t i = 0; i < 3; ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return -1;
  int n = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    n = n * 10 + (name[i] - '0');
  }
  if (name[3] == '0' || n < 1 || n > 99) return -1;
  return n - 1;
}

std::vector<PortLink> ListPortLinks() {
  std::vector<PortLink> links;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(PortsFolder(), ec)) {
    const int index = ParsePortName(entry.path().filename().string());
    if (index < 0 || !entry.is_symlink(ec)) continue;
    PortLink link;
    link.index = index;
    link.target = fs::read_symlink(entry.path(), ec).string();
    link.targetExists = fs::exists(entry.path(), ec);
    link.network = SplitNetAddress(link.target, nullptr) == NetParse::Valid;
    links.push_back(std::move(link));
  }
  std::sort(links.begin(), links.end(), [](const PortLink& a, const PortLink& b) { return a.index < b.index; });
  return links;
}

std::vector<std::string> ListSerialDevices(const std::string& devRoot) {
  std::vector<std::string> devices;
  std::error_code ec;
  const fs::path root(devRoot);
  for (const auto& entry : fs::directory_iterator(root / "serial" / "by-id", ec)) devices.push_back(entry.path());
  std::vector<std::string> plain;
  for (const auto& entry : fs::directory_iterator(root, ec)) {
    const std::string name = entry.path().filename().string();
    for (const char* prefix : {"ttyUSB", "ttyACM", "rfcomm"})
      if (name.rfind(prefix, 0) == 0) plain.push_back(entry.path());
  }
  std::sort(devices.begin(), devices.end());
  std::sort(plain.begin(), plain.end());
  devices.insert(devices.end(), plain.begin(), plain.end());
  return devices;
}

bool LinkPort(int index, const std::string& target, std::string* error) {
  if (index < 0 || index > 98 || target.empty()) {
    if (error) *error = "invalid port or device";
    return false;
  }
  std::string device = target;
  NetAddress address;
  std::string why;
  switch (ParseNetAddress(target, &address, &why)) {
    case NetParse::Invalid:
      if (error) *error = target + ": " + why;
      return false;
    case NetParse::Valid:
      device = NetAddressText(address);
      break;
    case NetParse::NotNetwork:
      break;
  }
  if (!MakeFolders(PortsFolder())) {
    if (error) *error = "cannot create " + PortsFolder();
    return false;
  }
  const std::string link = SerialLinkPath(index);
  const std::string temp = link + ".new";
  ::unlink(temp.c_str());
  // Made under a temporary name and renamed, so a reader never sees the port missing in between.
  if (::symlink(device.c_str(), temp.c_str()) != 0 || ::rename(temp.c_str(), link.c_str()) != 0) {
    if (error) *error = std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool ResolveNetTarget(const std::string& target, std::string* resolved, std::string* error) {
  NetAddress address;
  std::string why;
  const NetParse split = SplitNetAddress(target, &address, &why);
  if (split == NetParse::Invalid) {
    if (error) *error = target + ": " + why;
    return false;
  }
  if (split == NetParse::NotNetwork || ParseNetAddress(target, nullptr) == NetParse::Valid) {
    *resolved = target;
    return true;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int rc = ::getaddrinfo(address.host.c_str(), nullptr, &hints, &found);
  if (rc != 0 || !found) {
    if (error) *error = address.host + ": " + ::gai_strerror(rc);
    return false;
  }
  char text[INET6_ADDRSTRLEN] = {};
  const void* raw = found->ai_family == AF_INET6
                        ? static_cast<const void*>(&reinterpret_cast<sockaddr_in6*>(found->ai_addr)->sin6_addr)
                        : static_cast<const void*>(&reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr);
  const bool ok = ::inet_ntop(found->ai_family, raw, text, sizeof text) != nullptr;
  ::freeaddrinfo(found);
  if (!ok) {
    if (error) *error = address.host + ": no usable address";
    return false;
  }
  address.host = text;
  *resolved = NetAddressText(address);
  return true;
}

bool UnlinkPort(int index, std::string* error) {
  if (index < 0 || index > 98) {
    if (error) *error = "invalid port";
    return false;
  }
  if (::unlink(SerialLinkPath(index).c_str()) != 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace obrix
