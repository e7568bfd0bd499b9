#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace obrix {
namespace {

std::mutex g_mutex;
std::string g_override;

std::string WithSlash(std::string s) {
  if (s.empty() || s.back() != '/') s.push_back('/');
  return s;
}

}  // namespace

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return WithSlash(home);
  if (passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return WithSlash(pw->pw_dir);
  return "/";
}

std::string DataRoot() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_override.empty()) return g_override;
  }
  const char* env = std::getenv("OBRIX38_HOME");
  if (env && *env) return WithSlash(env);
  return HomeFolder() + ".local/share/Wendral/";
}

void SetDataRoot(const std::string& root) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_override = root.empty() ? std::string() : WithSlash(root);
}

std::string SettingsFolder() { return DataRoot() + "Obrix38/"; }
std::string SettingsPath() { return SettingsFolder() + "Obrix38_215.INI"; }
std::string ScratchFolder() { return DataRoot() + "Temp/"; }
std::string PortsFolder() { return DataRoot() + "ports/"; }

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  std::string partial;
  partial.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    partial.push_back(path[i]);
    if ((path[i] == '/' && i > 0) || i + 1 == path.size()) {
      if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace obrix
