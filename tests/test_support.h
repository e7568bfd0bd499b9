#pragma once
// Shared test helpers: a private temporary folder used as the data root.
#include <string>

namespace obrix::test {

// Creates a fresh folder under $TMPDIR (or /tmp) and removes it with its contents on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // with a trailing "/"
  std::string file(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// A temporary data root: installs itself with SetDataRoot and resets the settings record.
class DataRootFixture {
 public:
  DataRootFixture();
  ~DataRootFixture();
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace obrix::test
