// Loads arbitrary bytes as the settings file from a private data root. Saving what was loaded and loading it
// again must reproduce the same 83-line file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/files.h"
#include "platform/paths.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::string out;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return out;
  char buf[4096];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  ::close(fd);
  return out;
}

void Put(const std::string& path, const uint8_t* data, size_t size) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  if (size > 0 && !obrix::WriteAllOnce(fd, data, size)) std::abort();
  ::close(fd);
}

size_t CountLines(const std::string& image) {
  size_t n = 0;
  for (size_t i = 0; i < image.size(); ++i) {
    if (image[i] == '\n') {
      if (i == 0 || image[i - 1] != '\r') std::abort();  // every line ends with CR LF
      ++n;
    }
  }
  return n;
}

std::string g_root;

void RemoveRoot() {
  std::error_code ec;
  std::filesystem::remove_all(g_root, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/obrix-settings-fuzz-XXXXXX";
  if (!mkdtemp(tmpl)) std::abort();
  g_root = tmpl;
  std::atexit(RemoveRoot);
  obrix::SetDataRoot(g_root);
  if (!obrix::MakeFolders(obrix::SettingsFolder())) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace obrix;
  const std::string path = SettingsPath();
  ResetSettings();
  ApplyStartupValues();
  Drv().MapPaneWidth = 640;
  Put(path, data, size);
  SaveLoadSettings(Load);

  SaveLoadSettings(Save);
  const std::string first = ReadAll(path);
  if (CountLines(first) != 83 || first.size() < 2 || first.compare(first.size() - 2, 2, "\r\n") != 0) std::abort();
  ResetSettings();
  SaveLoadSettings(Load);
  SaveLoadSettings(Save);
  if (ReadAll(path) != first) std::abort();
  return 0;
}
